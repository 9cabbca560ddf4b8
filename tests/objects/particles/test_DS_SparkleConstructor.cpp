// Sparkles: the exact start from a known generator state, the growth with
// the phase, and the rebirth of a sparkle that faded out.
#include "objects/particles/DS_SparkleConstructor.h"

#include "tests/support/ParticleTestSupport.h"
#include "tools/document/AmbientRecords.h"

#include <gtest/gtest.h>

#include <memory>

TEST(SparkleConstructor, Record)
{
    SpriteContent content;
    content.count = 40;
    content.phaseSpeed = 1.5f;
    const auto read = ReadRecord<DS_SparkleConstructor>(SparkleRecordBytes(content));
    ASSERT_TRUE(read);
    EXPECT_EQ(40u, read->count.value);
    EXPECT_EQ(1.5f, read->phaseSpeed);
}

// Size factor and phase sign, then velocity x and y, the point in the view
// (x, y) and the phase.
TEST(SparkleConstructor, ASparkleStartsFromAKnownGeneratorState)
{
    const PictureSize picture(800, 600);
    DS_SparkleConstructor sparkles;
    sparkles.top = 0.5f;
    const std::vector<int> d = DrawsFrom(31337, 7);
    ParticleRun run(CloneOf(sparkles).release());
    const ParticleItem& p = run.Item(0);
    EXPECT_FLOAT_EQ(Unit(d[2]) * 50 - 25, p.velocity.x);
    EXPECT_FLOAT_EQ(Unit(d[3]) * 50 - 25, p.velocity.y);
    EXPECT_FLOAT_EQ(Between(0, 800, d[4]), p.position.x);
    EXPECT_FLOAT_EQ(Between(300, 600, d[5]), p.position.y);
    EXPECT_EQ(Unit(d[6]), p.phase);
}

// A sparkle is square whatever its picture, half its size at phase 0 and
// its full size at phase 1: base size 40 at phase 0.5 gives 15 each way.
// Below the phase minimum it comes back elsewhere, at the minimum.
TEST(SparkleConstructor, SparklesGrowWithTheirPhaseAndComeBack)
{
    const PictureSize picture(800, 600);
    DS_SparkleConstructor sparkles;
    sparkles.baseSize.value = 40;
    sparkles.phaseSpeed = 1.0f;
    ParticleRun run(CloneOf(sparkles).release());
    ParticleItem& p = run.Item(0);
    p.velocity = D3DXVECTOR3(10, -20, 0);
    p.position = D3DXVECTOR3(400, 300, 0);
    p.phase = 0.4f;
    p.phaseVelocity = 1.0f;

    run.Update(0.1f);
    EXPECT_FLOAT_EQ(401.0f, p.position.x);
    EXPECT_FLOAT_EQ(298.0f, p.position.y);
    EXPECT_FLOAT_EQ(0.5f, p.phase);
    EXPECT_FLOAT_EQ(15.0f, p.halfWidth);
    EXPECT_FLOAT_EQ(15.0f, p.halfHeight);

    p.phase = 0.05f;
    p.phaseVelocity = -1.0f;
    const std::vector<int> d = DrawsFrom(5, 5);
    run.Update(0.2f);
    EXPECT_EQ(0.0f, p.phase);
    EXPECT_EQ(1.0f, p.phaseVelocity);
    EXPECT_FLOAT_EQ(Between(0, 800, d[2]), p.position.x);
    EXPECT_FLOAT_EQ(10.0f, p.halfWidth);
}
