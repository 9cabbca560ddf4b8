// Fish, birds and ghosts: their records, and the exact state of their
// particles stepped from a known generator state: placement, turning at the
// sides with the picture mirrored, the change of pace, the birds' least
// speeds and the ghosts' fading and reappearing.
#include "objects/particles/DS_FishConstructor.h"

#include "objects/particles/DS_BirdConstructor.h"
#include "objects/particles/DS_GhostConstructor.h"
#include "tests/support/ParticleTestSupport.h"
#include "tools/document/ParticleRecords.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

FishContent Fish()
{
    FishContent c;
    c.speedX = 120.0f;
    c.speedY = 30.0f;
    c.sprite.count = 7;
    c.sprite.transparency = 10;
    c.sprite.phaseSpeed = 0.5f;
    c.sprite.mainPath = L"C:\\Art\\fish.png";
    return c;
}

} // namespace

// Birds and ghosts read the fish record nested in their own.
TEST(FishConstructor, RecordsOfFishBirdsAndGhosts)
{
    const auto fish = ReadRecord<DS_FishConstructor>(FishRecordBytes(Fish()));
    const auto bird = ReadRecord<DS_BirdConstructor>(BirdRecordBytes(Fish()));
    const auto ghost = ReadRecord<DS_GhostConstructor>(GhostRecordBytes(Fish()));
    for (const DS_FishConstructor* read : {fish.get(), static_cast<DS_FishConstructor*>(bird.get()),
                                           static_cast<DS_FishConstructor*>(ghost.get())}) {
        ASSERT_NE(nullptr, read);
        EXPECT_EQ(120.0f, read->speedX);
        EXPECT_EQ(30.0f, read->speedY);
        EXPECT_EQ(7u, read->count.value);
        EXPECT_EQ(229, read->MaximalAlpha());
        EXPECT_EQ(0.5f, read->phaseSpeed);
        EXPECT_EQ(L"C:\\Art\\fish.png", read->mainImage.value.path);
        EXPECT_EQ(read->speedX, CloneOf(*read)->speedX);
    }

    const DS_FishConstructor plain;
    EXPECT_EQ(80.0f, plain.speedX);
    EXPECT_EQ(50.0f, plain.speedY);
    const DS_GhostConstructor ghostly;
    EXPECT_EQ(50.0f, ghostly.speedX);
    EXPECT_EQ(50.0f, ghostly.speedY);
    EXPECT_EQ(0.66f, ghostly.phaseSpeed);
    EXPECT_EQ(127, ghostly.MaximalAlpha());
    EXPECT_EQ(1.0f, ghostly.sizeFactorMin);
    EXPECT_EQ(1.0f, ghostly.sizeFactorMax);
}

// A fish draws its size factor, phase sign, velocity x, velocity y, then x
// and y in the view; its picture faces the way it swims.
TEST(FishConstructor, FishStartFromAKnownGeneratorState)
{
    const PictureSize picture(640, 480);
    DS_FishConstructor fish;
    fish.count.value = 3;
    fish.baseSize.value = 30;
    fish.top = 0.5f;
    const auto clone = CloneOf(fish);

    const std::vector<int> d = DrawsFrom(808, 18);
    ParticleRun run(CloneOf(*clone).release());
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const int* draws = &d[6 * i];
        const ParticleItem& p = run.Item(i);
        const float vx = Between(-80, 80, draws[2]);
        EXPECT_EQ(vx, p.velocity.x);
        EXPECT_EQ(Between(-50, 50, draws[3]), p.velocity.y);
        EXPECT_EQ(Between(0, 640, draws[4]), p.position.x);
        EXPECT_EQ(Between(240, 480, draws[5]), p.position.y);
        EXPECT_EQ(vx < 0 ? -15.0f : 15.0f, p.halfWidth);
        EXPECT_EQ(15.0f, p.halfHeight);
    }
}

// A fish swims on past the side until it has left the view wholly, then
// turns with its picture mirrored; at the top and bottom it turns as soon
// as it reaches over the edge. Its speed never exceeds the largest speed.
TEST(FishConstructor, FishTurnAtTheSidesAndKeepInsideVertically)
{
    const PictureSize picture(400, 400);
    DS_FishConstructor fish;
    fish.baseSize.value = 20;
    ParticleRun run(CloneOf(fish).release());
    ParticleItem& p = run.Item(0);
    p.position = D3DXVECTOR3(395, 200, 0);
    p.velocity = D3DXVECTOR3(80, 0, 0);
    p.halfWidth = 10.0f;

    const float xs[] = {405, 415, 405, 395};
    for (int i = 0; i < 4; ++i) {
        run.Update(0.125f * static_cast<float>(i + 1));
        EXPECT_EQ(xs[i], p.position.x) << i;
    }
    // Turned at the second update, once wholly right of 400.
    EXPECT_EQ(-80.0f, p.velocity.x);
    EXPECT_EQ(-10.0f, p.halfWidth);

    p.position = D3DXVECTOR3(200, 12, 0);
    p.velocity = D3DXVECTOR3(0, -40, 0);
    run.Update(0.625f);
    EXPECT_EQ(7.0f, p.position.y);
    EXPECT_EQ(40.0f, p.velocity.y);

    DS_FishConstructor many;
    many.count.value = 50;
    ParticleRun school(CloneOf(many).release());
    for (int frame = 1; frame <= 300; ++frame) {
        school.Update(frame / 20.0f);
        for (std::size_t i = 0; i < school.Size(); ++i) {
            ASSERT_LE(std::fabs(school.Item(i).velocity.x), 80.0f);
            ASSERT_LE(std::fabs(school.Item(i).velocity.y), 50.0f);
        }
    }
}

// More than a second of application time after its last change, whatever
// the clock's speed, a fish draws a parity: odd gives it a new pace in the
// same direction (two draws), even keeps its pace.
TEST(FishConstructor, FishChangePaceEverySecond)
{
    const PictureSize picture(4000, 400);
    for (bool odd : {true, false}) {
        SCOPED_TRACE(odd ? "odd" : "even");
        DS_FishConstructor fish;
        fish.speed.value = 10; // a slow clock: the pace follows application time
        ParticleRun run(CloneOf(fish).release());
        ParticleItem& p = run.Item(0);
        p.position = D3DXVECTOR3(2000, 200, 0);
        p.velocity = D3DXVECTOR3(-30, 20, 0);

        run.Update(0.5f);
        run.Update(1.0f);
        EXPECT_EQ(0.0f, p.lastChange);
        const uint32_t state = StateWithParity(1, odd);
        const std::vector<int> d = DrawsFrom(state, 3);
        run.Update(1.25f);
        EXPECT_EQ(1.25f, p.lastChange);
        if (odd) {
            EXPECT_EQ(-std::fabs(Between(-80, 80, d[1])), p.velocity.x);
            EXPECT_EQ(Between(-50, 50, d[2]), p.velocity.y);
        } else {
            EXPECT_EQ(-30.0f, p.velocity.x);
            EXPECT_EQ(20.0f, p.velocity.y);
        }
        run.Update(2.0f);
        EXPECT_EQ(1.25f, p.lastChange);
    }
}

// Birds keep at least 70 % of their largest speeds: a slow climb is mapped
// onto the upper part of the range, a slow run across gets a new speed
// between 70 % and the largest, in the same direction.
TEST(FishConstructor, BirdsKeepFlying)
{
    const PictureSize picture(4000, 4000);
    DS_BirdConstructor bird;
    ParticleRun run(CloneOf(bird).release());
    ParticleItem& p = run.Item(0);
    p.position = D3DXVECTOR3(2000, 2000, 0);

    p.velocity = D3DXVECTOR3(70, -10, 0);
    run.Update(0.125f);
    EXPECT_NEAR(-(35.0f + 10.0f * 0.3f / 0.7f), p.velocity.y, 1e-4f);
    EXPECT_NEAR(-39.2857f, p.velocity.y, 1e-4f);
    EXPECT_EQ(70.0f, p.velocity.x);

    p.velocity = D3DXVECTOR3(-20, 40, 0);
    const std::vector<int> d = DrawsFrom(4242, 1);
    run.Update(0.25f);
    EXPECT_EQ(40.0f, p.velocity.y);
    EXPECT_EQ(-Between(56.0f, 80.0f, d[0]), p.velocity.x);
}

// A ghost starts with a random phase; its phase pulses, and once it falls
// below the phase minimum the ghost appears somewhere else at the minimum,
// fading in.
TEST(FishConstructor, GhostsFadeAndReappearElsewhere)
{
    const PictureSize picture(400, 400);
    DS_GhostConstructor ghost;
    ghost.phaseMin = 0.125f;
    const std::vector<int> d = DrawsFrom(90210, 7);
    ParticleRun run(CloneOf(ghost).release());
    ParticleItem& p = run.Item(0);
    EXPECT_EQ(Unit(d[6]), p.phase);
    EXPECT_EQ((d[1] & 1) ? -0.66f : 0.66f, p.phaseVelocity);

    p.phase = 0.2f;
    p.phaseVelocity = -0.66f;
    p.velocity = D3DXVECTOR3(0, 0, 0);
    const std::vector<int> again = DrawsFrom(17, 5);
    run.Update(0.125f);
    EXPECT_EQ(0.125f, p.phase);
    EXPECT_EQ(0.66f, p.phaseVelocity);
    EXPECT_EQ(Between(-50, 50, again[0]), p.velocity.x);
    EXPECT_EQ(Between(-50, 50, again[1]), p.velocity.y);
    EXPECT_EQ(Between(0, 400, again[2]), p.position.x);
    EXPECT_EQ(Between(0, 400, again[3]), p.position.y);
    EXPECT_EQ(15u, p.colour >> 24);

    run.Update(0.25f);
    EXPECT_FLOAT_EQ(0.125f + 0.125f * 0.66f, p.phase);
}
