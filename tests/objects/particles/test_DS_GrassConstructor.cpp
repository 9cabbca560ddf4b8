// Grass: the record, a blade planted on the view's bottom edge from a known
// generator state, the wave that sways it about its root, and steep sways
// up to 90 degrees.
#include "objects/particles/DS_GrassConstructor.h"

#include "tests/support/ParticleTestSupport.h"
#include "tools/document/AmbientRecords.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

constexpr float Pi = 3.14159265358979323846f;

float Degrees(float shear) { return std::atan(shear) * 180.0f / Pi; }

} // namespace

TEST(GrassConstructor, RecordAndDefaults)
{
    GrassContent content;
    content.swayAmplitude = 7.5f;
    content.sprite.count = 300;
    const auto read = ReadRecord<DS_GrassConstructor>(GrassRecordBytes(content));
    ASSERT_TRUE(read);
    EXPECT_EQ(7.5f, read->swayAmplitude);
    EXPECT_EQ(300u, read->count.value);
    EXPECT_EQ(7.5f, CloneOf(*read)->swayAmplitude);
    EXPECT_EQ(3.0f, DS_GrassConstructor().swayAmplitude);
}

// After the size factor and phase sign: x along the bottom edge, the sway
// offset (0 to π/2) and the mirror's parity. The blade stands on the edge.
TEST(GrassConstructor, ABladeIsPlantedFromAKnownGeneratorState)
{
    const PictureSize picture(1000, 600);
    DS_GrassConstructor grass;
    grass.baseSize.value = 80;
    grass.left = 0.1f;
    grass.right = 0.9f;
    grass.bottom = 0.75f;
    const std::vector<int> d = DrawsFrom(1234, 5);
    ParticleRun run(CloneOf(grass).release());
    const ParticleItem& p = run.Item(0);
    EXPECT_FLOAT_EQ(Between(100, 900, d[2]), p.position.x);
    EXPECT_EQ(p.position.x, p.velocity.z);
    EXPECT_EQ(450.0f - 40.0f, p.position.y);
    EXPECT_FLOAT_EQ(Unit(d[3]) * Pi / 2, p.velocity.y);
    EXPECT_EQ((d[4] & 1) ? -1.0f : 1.0f, p.rightAxis.x);
}

// The lean is sin(clock + offset + 2π x / W) × the amplitude in degrees,
// the blade's bottom staying on its root; blades half a picture apart lean
// opposite ways, and none leans beyond the amplitude.
TEST(GrassConstructor, TheWaveSwaysBladesAboutTheirRoots)
{
    const PictureSize picture(1000, 600);
    DS_GrassConstructor grass;
    grass.count.value = 2;
    grass.baseSize.value = 100;
    ParticleRun run(CloneOf(grass).release());
    ParticleItem& a = run.Item(0);
    ParticleItem& b = run.Item(1);
    for (ParticleItem* blade : {&a, &b}) {
        blade->velocity.y = 0.3f;
        blade->rightAxis = D3DXVECTOR3(1, 0, 0);
    }
    a.position.x = a.velocity.z = 250.0f;
    b.position.x = b.velocity.z = 750.0f;

    run.Update(0.2f);
    const float lean = std::sin(0.2f + 0.3f + 0.25f * 2 * Pi) * 3.0f;
    EXPECT_NEAR(lean, Degrees(a.upAxis.x), 1e-4f);
    EXPECT_EQ(1.0f, a.upAxis.y);
    EXPECT_FLOAT_EQ(250.0f - a.upAxis.x * a.halfHeight, a.position.x);
    EXPECT_NEAR(-lean, Degrees(b.upAxis.x), 0.01f);
    // The root stays under the blade: its bottom edge's centre.
    EXPECT_FLOAT_EQ(250.0f, a.position.x + a.halfHeight * a.upAxis.x);

    for (int frame = 2; frame < 400; ++frame) {
        run.Update(frame * 0.05f);
        ASSERT_LE(std::fabs(Degrees(a.upAxis.x)), 3.0f + 1e-4f);
        ASSERT_LE(std::fabs(Degrees(b.upAxis.x)), 3.0f + 1e-4f);
    }
}

// The lean is tan(s × amplitude degrees) however far it goes: 89.5 degrees
// gives a shear of 114.6. At a sway of 90 degrees the wave's crest lays the
// blade flat: a huge shear, but a finite one.
TEST(GrassConstructor, SteepSwaysLeanAllTheWayAndStayFinite)
{
    const PictureSize picture(1000, 600);
    const struct {
        float amplitude, crest, shear;
    } cases[] = {{89.5f, Pi / 2, 114.5887f}, {89.5f, -Pi / 2, -114.5887f}, {60.0f, Pi / 2, 1.7320508f}};
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.amplitude << " at " << c.crest);
        DS_GrassConstructor grass;
        grass.swayAmplitude = c.amplitude;
        ParticleRun run(CloneOf(grass).release());
        ParticleItem& p = run.Item(0);
        p.velocity = D3DXVECTOR3(0, 0, 0);
        p.position.x = 0.0f;
        run.controller->clock = c.crest;
        run.controller->UpdateParticle(p);
        EXPECT_NEAR(c.shear, p.upAxis.x, 0.01f);
    }

    DS_GrassConstructor grass;
    grass.swayAmplitude = 90.0f;
    ParticleRun run(CloneOf(grass).release());
    ParticleItem& p = run.Item(0);
    for (float crest : {Pi / 2, -Pi / 2}) {
        p.velocity = D3DXVECTOR3(0, 0, 0);
        p.position.x = 0.0f;
        run.controller->clock = crest;
        run.controller->UpdateParticle(p);
        EXPECT_TRUE(std::isfinite(p.upAxis.x));
        EXPECT_TRUE(std::isfinite(p.position.x));
        EXPECT_GT(std::fabs(p.upAxis.x), 1.0e6f);
    }
}
