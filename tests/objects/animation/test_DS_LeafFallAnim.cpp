// The 3D sprites' motion: the stream's direction, a sprite's random start,
// its drift along the stream and across it, wrapping at the edges, stalled
// frames, and the tumble that scales and turns its mesh.
#include "objects/animation/DS_LeafFallAnim.h"

#include "foundation/core/Random.h"
#include "foundation/geometry/DS_Frame.h"
#include "objects/animation/StreamMotionSettings.h"
#include "tests/support/ParticleTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float Tolerance = 1e-3f;

// A sprite on a 400 × 300 picture, stepped at the given times.
class LeafFallTest : public ::testing::Test {
protected:
    void Step(DS_SreamAnim& sprite, float time)
    {
        StreamAnimationTime = time;
        sprite.Animate(frame);
    }

    PictureSize picture{400, 300};
    StreamMotionSettings motion;
    DS_Frame frame;
};

} // namespace

// Angle 0 runs toward larger x, 90 up the screen; the perpendicular is the
// direction turned a quarter further.
TEST(StreamMotionSettings, DirectionAndPerpendicular)
{
    struct Case {
        uint32_t angle;
        float dx, dy, px, py;
    };
    const Case cases[] = {{0, 1, 0, 0, -1}, {90, 0, -1, -1, 0}, {180, -1, 0, 0, 1}, {270, 0, 1, 1, 0}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        StreamMotionSettings motion;
        motion.SetDirection(c.angle);
        EXPECT_EQ(static_cast<int32_t>(c.angle), motion.angle);
        EXPECT_NEAR(c.dx, motion.direction.x, 1e-6f);
        EXPECT_NEAR(c.dy, motion.direction.y, 1e-6f);
        EXPECT_NEAR(c.px, motion.perpendicular.x, 1e-6f);
        EXPECT_NEAR(c.py, motion.perpendicular.y, 1e-6f);
    }
}

// From a known generator state: the place, drift and speed factor, then a
// sign and a speed for each tumble axis and, for each orbit axis, whether it
// turns, a sign and a speed. Each angle starts at its speed.
TEST_F(LeafFallTest, StartFromAKnownGeneratorState)
{
    const std::vector<int> d = DrawsFrom(5, 17);
    const DS_LeafFallAnim sprite(&motion);
    EXPECT_NEAR(Unit(d[0]) * 400.0f, sprite.position._41, Tolerance);
    EXPECT_NEAR(Unit(d[1]) * 300.0f, sprite.position._42, Tolerance);
    EXPECT_NEAR(Unit(d[2]) * 2.0f - 1.0f, sprite.drift, 1e-6f);
    EXPECT_NEAR(Unit(d[3]) * 0.06f + 0.07f, sprite.speedFactor, 1e-6f);
    const DS_LeafFallAnim::Spin* tumbles[] = {&sprite.tumbleX, &sprite.tumbleY, &sprite.tumbleZ};
    for (int i = 0; i < 3; ++i) {
        const float sign = d[4 + 2 * i] & 1 ? -1.0f : 1.0f;
        const float speed = (Unit(d[5 + 2 * i]) * 3.0f + 7.0f) * sign;
        EXPECT_NEAR(speed, tumbles[i]->speed, 1e-5f) << i;
        EXPECT_EQ(tumbles[i]->speed, tumbles[i]->angle);
    }
    const DS_LeafFallAnim::Spin* orbits[] = {&sprite.orbitY, &sprite.orbitX};
    for (int i = 0; i < 2; ++i) {
        const float turns = static_cast<float>(d[10 + 3 * i] & 1);
        const float sign = d[11 + 3 * i] & 1 ? -1.0f : 1.0f;
        const float speed = (Unit(d[12 + 3 * i]) * 4.0f + 3.0f) * turns * sign;
        EXPECT_NEAR(speed, orbits[i]->speed, 1e-5f) << i;
        EXPECT_EQ(orbits[i]->speed, orbits[i]->angle);
    }
    // Nothing else was drawn.
    EXPECT_EQ(d[16], Rand());
}

// Without drift a sprite moves along the stream at speed × its factor × 50
// pixels a second; a stalled frame counts as 0.2 s. The drift swerves it
// across the stream by up to 2 % of the speed per unit of drift amount.
TEST_F(LeafFallTest, DriftAlongAndAcrossTheStream)
{
    struct Case {
        uint32_t angle;
        uint32_t driftAmount;
        float dt;
    };
    for (const Case& c : {Case{0, 0, 0.05f}, Case{90, 0, 0.05f}, Case{0, 0, 1.5f}, Case{30, 40, 0.1f}}) {
        SCOPED_TRACE(testing::Message() << c.angle << " " << c.driftAmount << " " << c.dt);
        motion.SetDirection(c.angle);
        motion.speed.value = 60;
        motion.driftAmount.value = c.driftAmount;
        motion.size.value = 20;
        DS_SreamAnim sprite(&motion);
        sprite.position._41 = 200.0f;
        sprite.position._42 = 150.0f;
        Step(sprite, 0.0f);
        Step(sprite, c.dt);
        const float step = std::min(c.dt, 0.2f);
        EXPECT_NEAR(step, sprite.frameStep, 1e-6f);
        const float across = sprite.drift * c.driftAmount * 0.02f;
        const float w = 60.0f * sprite.speedFactor * step * 50.0f;
        const float vx = motion.direction.x + motion.perpendicular.x * across;
        const float vy = motion.direction.y + motion.perpendicular.y * across;
        EXPECT_NEAR(200.0f + vx * w, sprite.position._41, Tolerance);
        EXPECT_NEAR(150.0f + vy * w, sprite.position._42, Tolerance);
        // A drift step leaves the frame alone.
        EXPECT_EQ(1.0f, frame.world._11);
    }
}

// Half its size beyond the edge it moves toward, a sprite comes back half
// its size beyond the opposite edge at a random place along it (one draw),
// without moving in that frame.
TEST_F(LeafFallTest, WrapsToTheOppositeEdge)
{
    struct Case {
        uint32_t angle;
        float x, y;
        bool alongX; // the random place runs along x (a top or bottom edge)
        float fixed; // the other coordinate afterwards
    };
    const Case cases[] = {
        {270, 123.0f, 320.5f, true, -20.0f}, // down past H + 20: back at the top
        {90, 123.0f, -20.5f, true, 320.0f},  // up past -20: back at the bottom
        {0, 420.5f, 77.0f, false, -20.0f},   // right past W + 20: back at the left
        {180, -20.5f, 77.0f, false, 420.0f}, // left past -20: back at the right
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.angle);
        motion.SetDirection(c.angle);
        motion.size.value = 40;
        DS_SreamAnim sprite(&motion);
        sprite.position._41 = c.x;
        sprite.position._42 = c.y;
        Step(sprite, 0.0f);
        const int draw = DrawsFrom(21, 1)[0];
        StreamAnimationTime = 0.05f;
        ResetRandForTesting(21);
        sprite.Animate(frame);
        if (c.alongX) {
            EXPECT_NEAR(Between(0.0f, 400.0f, draw), sprite.position._41, Tolerance);
            EXPECT_EQ(c.fixed, sprite.position._42);
        } else {
            EXPECT_EQ(c.fixed, sprite.position._41);
            EXPECT_NEAR(Between(0.0f, 300.0f, draw), sprite.position._42, Tolerance);
        }
    }
}

// Without a change rate the drift keeps its first value for the whole slide;
// with one, a new drift is drawn (on an odd draw) once the interval
// 100 / rate has run at speed × 0.1 per second.
TEST_F(LeafFallTest, DriftChangesOnlyWithAChangeRate)
{
    motion.speed.value = 100;
    motion.driftAmount.value = 10;
    DS_SreamAnim steady(&motion);
    const float first = steady.drift;
    for (float t = 0.0f; t < 600.0f; t += 0.1f)
        Step(steady, t);
    EXPECT_EQ(first, steady.drift);

    motion.driftChangeRate.value = 50;
    DS_SreamAnim changing(&motion);
    changing.position._41 = 100.0f;
    changing.position._42 = 150.0f;
    // Interval: 100 / 50 = 2 at 10 a second, so a change is due after 0.2 s.
    Step(changing, 0.15f);
    EXPECT_EQ(0.0f, changing.lastDriftChange);
    uint32_t state = 1;
    while (!(DrawsFrom(state, 1)[0] & 1))
        ++state;
    const std::vector<int> d = DrawsFrom(state, 2);
    ResetRandForTesting(state);
    Step(changing, 0.25f);
    EXPECT_EQ(0.25f, changing.lastDriftChange);
    EXPECT_NEAR(Unit(d[1]) * 2.0f - 1.0f, changing.drift, 1e-6f);
}

// The tumble scales the mesh's sphere to the stream's size and swings it on
// a sphere of 50 pixels about the drifting place: the mesh's centre (which
// the frame's local puts at the origin) lands there. Without drift the orbit
// does not turn; an empty mesh (radius 0) or size 0 draws at no size at all,
// never at an infinite one.
TEST_F(LeafFallTest, TumbleScalesTurnsAndOrbits)
{
    motion.size.value = 60;
    motion.tumble.value = 50;
    DS_LeafFallAnim sprite(&motion);
    frame.boundingRadius = 12.0f;
    frame.boundingCentre = D3DXVECTOR3(1.0f, 2.0f, 3.0f);
    D3DXMatrixTranslation(&frame.local, -1.0f, -2.0f, -3.0f);
    const float tumbleX = sprite.tumbleX.angle;
    const float orbitY = sprite.orbitY.angle;
    const float orbitX = sprite.orbitX.angle;
    Step(sprite, 0.0f);
    Step(sprite, 0.1f);
    EXPECT_NEAR(tumbleX + sprite.tumbleX.speed * 0.1f * 50.0f * 0.4f, sprite.tumbleX.angle, 1e-3f);
    EXPECT_EQ(orbitY, sprite.orbitY.angle);
    EXPECT_EQ(orbitX, sprite.orbitX.angle);

    D3DXVECTOR3 centre, offset(0.0f, 0.0f, 50.0f);
    D3DXVec3TransformCoord(&centre, &frame.boundingCentre, &frame.world);
    D3DXMATRIX orbit, turn;
    D3DXMatrixRotationY(&orbit, orbitY * 3.14159265f / 180.0f);
    D3DXMatrixRotationX(&turn, orbitX * 3.14159265f / 180.0f);
    orbit *= turn;
    D3DXVec3TransformCoord(&offset, &offset, &orbit);
    EXPECT_NEAR(sprite.position._41 + offset.x, centre.x, Tolerance);
    EXPECT_NEAR(sprite.position._42 + offset.y, centre.y, Tolerance);
    // 60 pixels across a sphere of radius 12.
    D3DXVECTOR3 unit(1.0f, 0.0f, 0.0f), scaled;
    D3DXVec3TransformNormal(&scaled, &unit, &frame.world);
    EXPECT_NEAR(2.5f, D3DXVec3Length(&scaled), 1e-4f);

    for (const auto& [size, radius] : {std::pair{0u, 12.0f}, std::pair{60u, 0.0f}}) {
        motion.size.value = size;
        frame.boundingRadius = radius;
        Step(sprite, 0.2f);
        for (int i = 0; i < 16; ++i)
            EXPECT_TRUE(std::isfinite(frame.world.m[i / 4][i % 4]));
        D3DXVec3TransformNormal(&scaled, &unit, &frame.world);
        EXPECT_EQ(0.0f, D3DXVec3Length(&scaled));
    }
}

// The turns apply about x first, then z, then y (each in the sprite's frame
// as turned so far), and the orbit's 50 pixels are turned by the orbit, not
// before it: quarter turns whose order shows in where an axis ends up.
TEST_F(LeafFallTest, TumbleTurnsAboutXThenZThenY)
{
    motion.size.value = 60;
    DS_LeafFallAnim sprite(&motion);
    frame.boundingRadius = 12.0f; // 60 pixels across: scale 2.5
    D3DXMatrixIdentity(&frame.local);
    const struct {
        float x, z, y, orbitY;
        D3DXVECTOR3 axis, turned;
    } cases[] = {
        // x then z: y goes to z under x, and z stays under z.
        {90, 90, 0, 0, {0, 1, 0}, {0, 0, 1}},
        // z then y: x goes to y under z, and y stays under y.
        {0, 90, 90, 0, {1, 0, 0}, {0, 1, 0}},
        // x then y: z goes to -y under x, and stays under y.
        {90, 0, 90, 0, {0, 0, 1}, {0, -1, 0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.x << " " << c.z << " " << c.y);
        for (auto* spin : {&sprite.tumbleX, &sprite.tumbleY, &sprite.tumbleZ, &sprite.orbitX, &sprite.orbitY})
            spin->speed = spin->angle = 0.0f;
        sprite.tumbleX.angle = c.x;
        sprite.tumbleZ.angle = c.z;
        sprite.tumbleY.angle = c.y;
        Step(sprite, 0.0f);
        D3DXVECTOR3 turned;
        D3DXVec3TransformNormal(&turned, &c.axis, &frame.world);
        EXPECT_NEAR(2.5f * c.turned.x, turned.x, Tolerance);
        EXPECT_NEAR(2.5f * c.turned.y, turned.y, Tolerance);
        EXPECT_NEAR(2.5f * c.turned.z, turned.z, Tolerance);
    }

    // A quarter orbit about y carries the 50 pixels from z to x.
    for (auto* spin : {&sprite.tumbleX, &sprite.tumbleY, &sprite.tumbleZ, &sprite.orbitX, &sprite.orbitY})
        spin->speed = spin->angle = 0.0f;
    sprite.orbitY.angle = 90.0f;
    Step(sprite, 0.0f);
    D3DXVECTOR3 centre, origin(0.0f, 0.0f, 0.0f);
    D3DXVec3TransformCoord(&centre, &origin, &frame.world);
    EXPECT_NEAR(sprite.position._41 + 50.0f, centre.x, Tolerance);
    EXPECT_NEAR(sprite.position._42, centre.y, Tolerance);
    EXPECT_NEAR(sprite.position._43, centre.z, Tolerance);
}
