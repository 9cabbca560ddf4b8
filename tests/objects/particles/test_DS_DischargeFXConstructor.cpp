// The electric arc's controller: its records and defaults, the bolt
// generator from a known generator state, the new shape every 0.1 of the
// clock and the morph towards it, the texture strips and their flicker, and
// the bounds on the generator and on the segment a particle shows.
#include "objects/particles/DS_DischargeFXConstructor.h"

#include "foundation/core/Random.h"
#include "tests/support/ParticleTestSupport.h"
#include "tools/document/GlowRecords.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <utility>

namespace {

// A straight arc of `count` segments from (100, 100) to (500, 100).
std::unique_ptr<DS_DischargeFXConstructor> Arc(unsigned int count, unsigned int jitter)
{
    auto arc = std::make_unique<DS_DischargeFXConstructor>();
    arc->startPoint.value = D3DXVECTOR3(100, 100, 0);
    arc->endPoint.value = D3DXVECTOR3(500, 100, 0);
    arc->count.value = count;
    arc->jitter.SetValue(jitter, nullptr);
    return arc;
}

DS_DischargeFXConstructor& Controller(ParticleRun& run)
{
    return static_cast<DS_DischargeFXConstructor&>(*run.controller);
}

// One update as the glowing object runs it.
void Step(ParticleRun& run, float time)
{
    Controller(run).PreUpdate();
    run.Update(time);
}

bool Finite(const BoltPoint& p)
{
    for (float v : {p.position.x, p.position.y, p.position.z, p.direction.x, p.direction.y, p.direction.z, p.side.x,
                    p.side.y, p.side.z, p.width})
        if (!std::isfinite(v))
            return false;
    return true;
}

} // namespace

TEST(DischargeFXConstructor, RecordAndDefaults)
{
    GlowArcContent content;
    content.start[0] = 12.5f;
    content.end[1] = 640.0f;
    content.jitter = 30;
    content.glowVariant = 0;
    content.flicker = 50;
    content.morphSpeed = 80;
    content.glowColour = 0x0000FFFF;
    content.glowStrength = 60;
    content.effectPath = L"C:\\Effects\\arc.fxo";
    content.effectStamp = 12;
    content.sprite.count = 9;
    const auto read = ReadRecord<DS_DischargeFXConstructor>(GlowArcRecordBytes(content));
    ASSERT_TRUE(read);
    EXPECT_EQ(D3DXVECTOR3(12.5f, 100, 0), read->startPoint.value);
    EXPECT_EQ(D3DXVECTOR3(500, 640, 0), read->endPoint.value);
    EXPECT_FLOAT_EQ(0.3f, read->jitter.result);
    EXPECT_EQ(0, read->glowVariant.value);
    EXPECT_FLOAT_EQ(0.05f, read->flicker.result);
    EXPECT_FLOAT_EQ(8.0f, read->morphSpeed.result);
    EXPECT_EQ(0x0000FFFFu, read->glowColour.value);
    EXPECT_FLOAT_EQ(0.6f, read->glowStrength.result);
    EXPECT_EQ(L"C:\\Effects\\arc.fxo", read->effectLink.value.path);
    EXPECT_EQ(12, read->effectLink.value.stamp);
    EXPECT_EQ(9u, read->count.value);
    const auto copy = CloneOf(*read);
    EXPECT_EQ(read->endPoint.value, copy->endPoint.value);
    EXPECT_FLOAT_EQ(0.3f, copy->jitter.result);
    EXPECT_FLOAT_EQ(0.6f, copy->glowStrength.result);
    EXPECT_EQ(0x0000FFFFu, copy->glowColour.value);

    const DS_DischargeFXConstructor arc;
    EXPECT_EQ(L"common_res.dll", arc.effectLink.value.path);
    EXPECT_EQ(97, arc.effectLink.value.stamp);
    EXPECT_EQ(50u, arc.baseSize.value);
    EXPECT_EQ(1, arc.additive.value);
    EXPECT_EQ(0x00FFFFCCu, arc.colour.value);
    EXPECT_EQ(0x00FF9900u, arc.glowColour.value);
    EXPECT_FLOAT_EQ(0.5f, arc.jitter.result);
    EXPECT_FLOAT_EQ(5.0f, arc.morphSpeed.result);
    EXPECT_NEAR(0.0f, arc.flicker.result, 1e-6f);
    EXPECT_FLOAT_EQ(1.0f, arc.glowStrength.result);
    EXPECT_EQ(1, arc.glowVariant.value);
}

// Without jitter four segments of 100 pixels run along x, their midpoints at
// 150 to 450, the side across the whole arc (0, -1, 0); the jitter is drawn
// all the same, two draws for every segment but the last.
TEST(DischargeFXConstructor, AStraightBolt)
{
    const auto arc = Arc(4, 0);
    std::vector<BoltPoint> points(4);
    const std::vector<int> d = DrawsFrom(3, 7);
    GenerateBolt(points, *arc);
    for (std::size_t g = 0; g < 4; ++g) {
        SCOPED_TRACE(g);
        EXPECT_NEAR(150.0f + 100.0f * g, points[g].position.x, 1e-3f);
        EXPECT_NEAR(100.0f, points[g].position.y, 1e-4f);
        EXPECT_NEAR(100.0f, points[g].width, 1e-3f);
        EXPECT_NEAR(1.0f, points[g].direction.x, 1e-6f);
        EXPECT_EQ(D3DXVECTOR3(0, -1, 0), points[g].side);
    }
    EXPECT_EQ(d[6], Rand());

    // One segment runs straight from start to end, without a draw.
    const auto single = Arc(1, 50);
    std::vector<BoltPoint> one(1);
    const std::vector<int> next = DrawsFrom(3, 1);
    GenerateBolt(one, *single);
    EXPECT_EQ(D3DXVECTOR3(300, 100, 0), one[0].position);
    EXPECT_EQ(400.0f, one[0].width);
    EXPECT_EQ(next[0], Rand());
}

// The first segment of a jittered bolt heads for the end point turned by
// atan(j2) at most 26.6 degrees for jitter 0.5; every segment takes its
// share of what remains, and the last ends exactly on the end point.
TEST(DischargeFXConstructor, AJitteredBoltFromAKnownGeneratorState)
{
    const auto arc = Arc(5, 50);
    std::vector<BoltPoint> points(5);
    const std::vector<int> d = DrawsFrom(2718, 2);
    GenerateBolt(points, *arc);
    const float j2 = Between(-0.5f, 0.5f, d[1]);
    D3DXVECTOR3 heading(400, 400 * j2, 0);
    D3DXVec3Normalize(&heading, &heading);
    EXPECT_NEAR(heading.x, points[0].direction.x, 1e-6f);
    EXPECT_NEAR(heading.y, points[0].direction.y, 1e-6f);
    EXPECT_NEAR(80.0f, points[0].width, 1e-4f);
    EXPECT_NEAR(100.0f + 40.0f * heading.x, points[0].position.x, 1e-3f);

    for (uint32_t state = 1; state < 200; ++state) {
        ResetRandForTesting(state * 7919u);
        GenerateBolt(points, *arc);
        const float turn = std::atan2(std::fabs(points[0].direction.y), points[0].direction.x);
        ASSERT_LE(turn, std::atan(0.5f) + 1e-5f);
        const BoltPoint& last = points.back();
        const D3DXVECTOR3 end = last.position + last.direction * (last.width * 0.5f);
        ASSERT_NEAR(500.0f, end.x, 1e-2f);
        ASSERT_NEAR(100.0f, end.y, 1e-2f);
    }
}

// Each segment is drawn as its particle: along the segment, the base size
// across; the first shows the texture's rounded start, the last its rounded
// end, the middle ones only the part that tiles.
TEST(DischargeFXConstructor, EachParticleShowsItsSegment)
{
    const auto arc = Arc(4, 0);
    arc->baseSize.value = 30;
    ParticleRun run(CloneOf(*arc).release());
    Step(run, 0.05f);
    const float u[4][2] = {{0.0f, 0.805f}, {0.195f, 0.805f}, {0.195f, 0.805f}, {0.195f, 1.0f}};
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        const ParticleItem& p = run.Item(i);
        EXPECT_NEAR(150.0f + 100.0f * i, p.position.x, 1e-3f);
        EXPECT_NEAR(50.0f, p.halfWidth, 1e-3f);
        EXPECT_EQ(15.0f, p.halfHeight);
        EXPECT_NEAR(1.0f, p.rightAxis.x, 1e-6f);
        EXPECT_EQ(D3DXVECTOR3(0, -1, 0), p.upAxis);
        EXPECT_EQ(u[i][0], p.uRange[0]);
        EXPECT_EQ(u[i][1], p.uRange[1]);
        EXPECT_EQ(0xFFCCFFFFu, p.colour);
    }
    EXPECT_EQ(4, Controller(run).particleIndex);

    const auto single = Arc(1, 0);
    ParticleRun one(CloneOf(*single).release());
    Step(one, 0.05f);
    EXPECT_EQ(0.0f, one.Item(0).uRange[0]);
    EXPECT_EQ(1.0f, one.Item(0).uRange[1]);
}

// A new shape once more than 0.1 of the clock has passed since the last:
// the shape being approached becomes the one being left. At 0.05 after a new
// shape with morph speed 5 the drawn segments lie a quarter of the way from
// the old shape to the new.
TEST(DischargeFXConstructor, NewShapesAndTheMorphBetweenThem)
{
    const auto arc = Arc(3, 50);
    ParticleRun run(CloneOf(*arc).release());
    DS_DischargeFXConstructor& c = Controller(run);

    Step(run, 0.06f);
    Step(run, 0.12f);
    EXPECT_EQ(0.0f, c.lastRegeneration);
    const std::vector<BoltPoint> before = c.toPolyline;
    Step(run, 0.15f);
    EXPECT_FLOAT_EQ(0.12f, c.lastRegeneration);
    EXPECT_EQ(before[1].position, c.fromPolyline[1].position);
    EXPECT_NE(before[1].position, c.toPolyline[1].position);

    // From 0.12 the clock reaches 0.17: a quarter of the way.
    c.PreUpdate();
    run.Update(0.17f);
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const D3DXVECTOR3 expected = c.fromPolyline[i].position +
                                     0.25f * (c.toPolyline[i].position - c.fromPolyline[i].position);
        EXPECT_NEAR(expected.x, run.Item(i).position.x, 1e-3f);
        EXPECT_NEAR(expected.y, run.Item(i).position.y, 1e-3f);
    }
}

// The strip changes when more than the flicker's period of application
// time has passed: one of the two strips (an even draw the lower one),
// upside down on an odd second draw.
TEST(DischargeFXConstructor, TheStripFlickers)
{
    const auto arc = Arc(1, 0);
    arc->flicker.SetValue(0, nullptr);
    ParticleRun run(CloneOf(*arc).release());
    ParticleItem& p = run.Item(0);

    const std::vector<int> d = DrawsFrom(606, 2);
    Step(run, 0.12f);
    float top = (d[0] & 1) ? 0.0f : 0.5f;
    float bottom = top + 0.5f;
    if (d[1] & 1)
        std::swap(top, bottom);
    EXPECT_EQ(top, p.vRange[0]);
    EXPECT_EQ(bottom, p.vRange[1]);
    EXPECT_EQ(0.12f, p.lastChange);

    // Within the period of 0.1 s nothing is drawn.
    const std::vector<int> quiet = DrawsFrom(607, 1);
    Step(run, 0.2f);
    EXPECT_EQ(0.12f, p.lastChange);
    EXPECT_EQ(quiet[0], Rand());

    // With flicker 100 the period is nothing: every update that moves on.
    Controller(run).flicker.SetValue(100, nullptr);
    Step(run, 0.21f);
    EXPECT_EQ(0.21f, p.lastChange);
    Step(run, 0.22f);
    EXPECT_EQ(0.22f, p.lastChange);
}

// A start on the end point makes segments of no length, all zero and none
// NaN; a count lowered below the shapes' size makes only that many
// segments, the last ending on the end point; particles beyond the shapes
// show nothing.
TEST(DischargeFXConstructor, TheGeneratorAndTheSegmentsStayBounded)
{
    auto still = Arc(4, 50);
    still->endPoint.value = still->startPoint.value;
    ParticleRun run(CloneOf(*still).release());
    Step(run, 0.05f);
    Step(run, 0.2f);
    for (const BoltPoint& point : Controller(run).toPolyline) {
        EXPECT_TRUE(Finite(point));
        EXPECT_EQ(0.0f, point.width);
    }
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_TRUE(std::isfinite(run.Item(i).position.x));
        EXPECT_TRUE(std::isfinite(run.Item(i).halfWidth));
    }

    const auto arc = Arc(6, 50);
    ParticleRun shrunk(CloneOf(*arc).release());
    DS_DischargeFXConstructor& c = Controller(shrunk);
    const BoltPoint spare = c.toPolyline[5];
    c.count.value = 4;
    GenerateBolt(c.toPolyline, c);
    ASSERT_EQ(6u, c.toPolyline.size());
    for (const BoltPoint& point : c.toPolyline)
        EXPECT_TRUE(Finite(point));
    const BoltPoint& last = c.toPolyline[3];
    const D3DXVECTOR3 end = last.position + last.direction * (last.width * 0.5f);
    EXPECT_NEAR(500.0f, end.x, 1e-2f);
    EXPECT_EQ(spare.position, c.toPolyline[5].position);

    // Twelve updates of six particles without the step that starts each
    // update at segment 0: the second six lie beyond the shapes.
    shrunk.Update(0.05f);
    shrunk.Update(0.1f);
    for (std::size_t i = 0; i < 6; ++i) {
        EXPECT_EQ(0.0f, shrunk.Item(i).halfWidth);
        EXPECT_EQ(0.0f, shrunk.Item(i).halfHeight);
    }
}
