// Lightning: the record and defaults, a strike placed, turned and mirrored
// from a known generator state, and the timeline of a flash: the wait of a
// clock unit between strike attempts, the fade in a sixth of a step unit and
// the re-flash.
#include "objects/particles/DS_LightingConstructor.h"

#include "tests/support/ParticleTestSupport.h"
#include "tests/support/ReferenceRandom.h"
#include "tools/document/AmbientRecords.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

TEST(LightingConstructor, RecordAndDefaults)
{
    SpriteContent content;
    content.count = 3;
    content.additive = 0;
    const auto read = ReadRecord<DS_LightingConstructor>(LightningRecordBytes(content));
    ASSERT_TRUE(read);
    EXPECT_EQ(3u, read->count.value);
    EXPECT_EQ(0, read->additive.value);

    const DS_LightingConstructor lightning;
    EXPECT_EQ(1, lightning.additive.value);
    EXPECT_TRUE(lightning.viewFlag);
}

// A strike lies wholly inside the view (the point drawn inside the view
// shrunk by its half extents), turned by up to π/8 either way and mirrored
// on an odd draw; it starts dark.
TEST(LightingConstructor, AStrikeFromAKnownGeneratorState)
{
    const PictureSize picture(1000, 800);
    DS_LightingConstructor lightning;
    lightning.baseSize.value = 200;
    const std::vector<int> d = DrawsFrom(777, 6);
    ParticleRun run(CloneOf(lightning).release());
    const ParticleItem& p = run.Item(0);

    EXPECT_EQ(100.0f, p.halfWidth);
    EXPECT_EQ(100.0f, p.halfHeight);
    EXPECT_FLOAT_EQ(Between(100, 900, d[2]), p.position.x);
    EXPECT_FLOAT_EQ(Between(100, 700, d[3]), p.position.y);
    const float turn = Unit(d[4]) * 0.78539819f - 0.39269909f;
    const float mirror = (d[5] & 1) ? -1.0f : 1.0f;
    EXPECT_NEAR(mirror * std::cos(turn), p.rightAxis.x, 1e-6f);
    EXPECT_NEAR(mirror * std::sin(turn), p.rightAxis.y, 1e-6f);
    EXPECT_NEAR(-std::sin(turn), p.upAxis.x, 1e-6f);
    EXPECT_NEAR(std::cos(turn), p.upAxis.y, 1e-6f);
    EXPECT_EQ(0.0f, p.phase);
}

// Dark, a particle tries a strike once more than a clock unit has passed;
// an odd draw strikes (a new place) at full phase. A flash fades by 6 per
// step unit; more than 0.15 after its last change an odd draw flashes it
// again, an even one lets it go dark, and the wait starts anew.
TEST(LightingConstructor, StrikesFlickerAndFade)
{
    const PictureSize picture(1000, 800);
    DS_LightingConstructor lightning;
    ParticleRun run(CloneOf(lightning).release());
    ParticleItem& p = run.Item(0);

    for (float t : {0.2f, 0.4f, 0.6f, 0.8f, 0.95f})
        run.Update(t);
    EXPECT_EQ(0.0f, p.phase);
    EXPECT_EQ(0.0f, p.lastChange);

    const uint32_t strike = StateWithParity(10, true);
    const std::vector<int> place = DrawsFrom(ReferenceRandom::Step(strike), 4);
    ResetRandForTesting(strike);
    run.Update(1.1f);
    const float struck = run.controller->clock;
    EXPECT_EQ(1.0f, p.phase);
    EXPECT_EQ(struck, p.lastChange);
    EXPECT_FLOAT_EQ(Between(p.halfWidth, 1000 - p.halfWidth, place[0]), p.position.x);
    EXPECT_EQ(255u, p.colour >> 24);

    run.Update(1.2f);
    EXPECT_NEAR(0.4f, p.phase, 1e-5f);
    EXPECT_EQ(struck, p.lastChange);

    // More than 0.15 since the strike: an odd draw flashes again.
    ResetRandForTesting(StateWithParity(50, true));
    run.Update(1.27f);
    EXPECT_EQ(1.0f, p.phase);
    EXPECT_EQ(run.controller->clock, p.lastChange);

    run.Update(1.37f);
    EXPECT_NEAR(0.4f, p.phase, 1e-5f);
    // Faded below zero, an even draw: dark, and the wait starts here.
    ResetRandForTesting(StateWithParity(90, false));
    run.Update(1.47f);
    EXPECT_EQ(0.0f, p.phase);
    const float dark = run.controller->clock;
    EXPECT_EQ(dark, p.lastChange);

    for (float t : {1.6f, 1.8f, 2.0f, 2.2f, 2.4f})
        run.Update(t);
    EXPECT_EQ(0.0f, p.phase);
    EXPECT_EQ(dark, p.lastChange);
}
