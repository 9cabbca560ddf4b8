// Fog: the record and defaults, the order of a patch's random draws, its
// breathing phase, the bounce by its centre and the turn on every update.
#include "objects/particles/DS_FogConstructor.h"

#include "tests/support/ParticleTestSupport.h"
#include "tools/document/AmbientRecords.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

TEST(FogConstructor, RecordAndDefaults)
{
    FogContent content;
    content.speedX = 12.0f;
    content.speedY = 3.0f;
    const auto read = ReadRecord<DS_FogConstructor>(FogRecordBytes(content));
    ASSERT_TRUE(read);
    EXPECT_EQ(12.0f, read->speedX);
    EXPECT_EQ(3.0f, CloneOf(*read)->speedY);

    const DS_FogConstructor fog;
    EXPECT_EQ(40.0f, fog.speedX);
    EXPECT_EQ(40.0f, fog.speedY);
    EXPECT_EQ(0.2f, fog.phaseMin);
    EXPECT_EQ(1.0f, fog.phaseMax);
    EXPECT_EQ(127, fog.MaximalAlpha());
}

// Point x, point y, velocity x, velocity y, phase, spin: in that order after
// the size factor and the phase sign.
TEST(FogConstructor, APatchStartsFromAKnownGeneratorState)
{
    const PictureSize picture(1000, 500);
    DS_FogConstructor fog;
    const std::vector<int> d = DrawsFrom(2024, 8);
    ParticleRun run(CloneOf(fog).release());
    const ParticleItem& p = run.Item(0);
    EXPECT_FLOAT_EQ(Between(0, 1000, d[2]), p.position.x);
    EXPECT_FLOAT_EQ(Between(0, 500, d[3]), p.position.y);
    EXPECT_EQ(Between(-40, 40, d[4]), p.velocity.x);
    EXPECT_EQ(Between(-40, 40, d[5]), p.velocity.y);
    EXPECT_EQ(Unit(d[6]), p.phase);
    const float turn = Unit(d[7]) * 0.008f - 0.004f;
    EXPECT_FLOAT_EQ(std::cos(turn), p.spin._11);
    EXPECT_FLOAT_EQ(std::sin(turn), p.spin._12);
}

// A patch whose centre passes the right edge heads left at once, and it
// turns by its spin on every update, its phase breathing in place.
TEST(FogConstructor, PatchesBounceByTheirCentreAndTurn)
{
    const PictureSize picture(1000, 500);
    DS_FogConstructor fog;
    fog.phaseSpeed = 1.0f;
    ParticleRun run(CloneOf(fog).release());
    ParticleItem& p = run.Item(0);
    p.position = D3DXVECTOR3(998, 250, 0);
    p.velocity = D3DXVECTOR3(30, 0, 0);
    p.phase = 0.95f;
    p.phaseVelocity = 1.0f;
    D3DXMatrixRotationZ(&p.spin, 0.004f);

    run.Update(0.1f);
    EXPECT_FLOAT_EQ(1001.0f, p.position.x);
    EXPECT_EQ(-30.0f, p.velocity.x);
    EXPECT_EQ(1.0f, p.phase);
    EXPECT_EQ(-1.0f, p.phaseVelocity);
    EXPECT_NEAR(0.004f, std::atan2(p.rightAxis.y, p.rightAxis.x), 1e-6f);

    run.Update(0.2f);
    EXPECT_FLOAT_EQ(998.0f, p.position.x);
    EXPECT_FLOAT_EQ(0.9f, p.phase);
    EXPECT_NEAR(0.008f, std::atan2(p.rightAxis.y, p.rightAxis.x), 1e-6f);
    EXPECT_NEAR(0.008f, std::atan2(-p.upAxis.x, p.upAxis.y), 1e-6f);
}
