// Flows and rain: their records, their flow vectors and sprite axes, and
// the exact state of their particles stepped from a known generator state.
#include "objects/particles/DS_FlowConstructor.h"

#include "objects/particles/DS_RainConstructor.h"
#include "tests/support/ParticleTestSupport.h"
#include "tools/document/ParticleRecords.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

constexpr float Tolerance = 1e-3f;

FlowContent Flow(int32_t version, int32_t orientation)
{
    FlowContent c;
    c.version = version;
    c.angle = 250;
    c.driftSpeed = 40;
    c.driftChangeRate = 8;
    c.strength = 400.0f;
    c.orientation = orientation;
    c.edges[BottomEdge] = {1, 10, 20, 30, 40};
    c.edges[RightEdge] = {2, 0, 0, 1000, 2000};
    c.sprite.count = 60;
    c.sprite.baseSize = 16;
    c.sprite.mainPath = L"C:\\Art\\flake.png";
    c.sprite.mainStamp = 1;
    return c;
}

// A clone of the flow, as its runtime object holds it.
} // namespace

// Each version reads what it holds: version 1 stops after the strength,
// version 2 turns its flag into mode 1 or 0, version 3 reads the mode, and
// version 4 the four edge rules. Reading stores the values quietly; the
// copy a runtime object takes works out the drift and the vectors.
TEST(FlowConstructor, RecordsOfEveryVersion)
{
    struct Case {
        int32_t version, written, mode;
        bool edges;
    };
    const Case cases[] = {{1, 3, 0, false}, {2, 5, 1, false}, {2, 0, 0, false}, {3, 3, 3, false}, {4, 2, 2, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "version " << c.version << " mode " << c.written);
        const auto flow = ReadRecord<DS_FlowConstructor>(FlowRecordBytes(Flow(c.version, c.written)));
        ASSERT_TRUE(flow);
        EXPECT_EQ(250u, flow->angle.value);
        EXPECT_EQ(40u, flow->driftSpeed.value);
        EXPECT_EQ(8u, flow->driftChangeRate.value);
        EXPECT_EQ(400.0f, flow->strength);
        EXPECT_EQ(c.mode, flow->orientationMode.value);
        EXPECT_EQ(60u, flow->count.value);
        EXPECT_EQ(16u, flow->baseSize.value);
        EXPECT_EQ(c.edges ? 1 : 0, flow->edges[BottomEdge].rule.value);
        EXPECT_EQ(c.edges ? 40u : 0u, flow->edges[BottomEdge].maxHiddenTime.value);
        EXPECT_EQ(c.edges ? 2 : 0, flow->edges[RightEdge].rule.value);
        EXPECT_EQ(c.edges ? 1000u : 0u, flow->edges[RightEdge].minHiddenTime.value);
        EXPECT_EQ(0, flow->edges[TopEdge].rule.value);

        const auto clone = CloneOf(*flow);
        EXPECT_EQ(120.0f, clone->driftSpeed.result);
        EXPECT_EQ(2.0f, clone->driftChangeRate.result);
        EXPECT_NEAR(400.0f * std::cos(110.0 * 3.14159265358979 / 180.0), clone->flowVector.x, Tolerance);
        EXPECT_NEAR(400.0f * std::sin(110.0 * 3.14159265358979 / 180.0), clone->flowVector.y, Tolerance);
        EXPECT_EQ(c.edges ? 1 : 0, clone->edges[BottomEdge].rule.value);
        EXPECT_EQ(clone.get(), clone->edges[BottomEdge].owner);
        EXPECT_EQ(BottomEdge, clone->edges[BottomEdge].edge);
    }
}

// Rain reads the flow record nested in its own; its defaults are a fast
// fall turned along the flow.
TEST(FlowConstructor, RainRecordsAndDefaults)
{
    const DS_RainConstructor rain;
    EXPECT_EQ(270u, rain.angle.value);
    EXPECT_EQ(2000.0f, rain.strength);
    EXPECT_EQ(0u, rain.driftSpeed.value);
    EXPECT_EQ(0.5f, rain.sizeFactorMin);
    EXPECT_EQ(1.0f, rain.sizeFactorMax);
    EXPECT_EQ(DS_FlowConstructor::AlongFlow, rain.orientationMode.value);

    const auto read = ReadRecord<DS_RainConstructor>(RainRecordBytes(Flow(4, 0)));
    ASSERT_TRUE(read);
    EXPECT_EQ(250u, read->angle.value);
    EXPECT_EQ(0, read->orientationMode.value);
    EXPECT_EQ(2, read->edges[RightEdge].rule.value);
    const auto clone = CloneOf(*read);
    EXPECT_NEAR(-1.0f, clone->rainRotation._12, 1e-6f);
}

// The flow runs along its angle, counter-clockwise as seen (90 up the
// screen); the drift runs across it. Smaller particles move slower.
TEST(FlowConstructor, ParticlesMoveAlongTheAngleAndDriftAcrossIt)
{
    struct Case {
        unsigned int angle;
        float drift;
        float sizeFactor;
        float vx, vy;
    };
    const Case cases[] = {
        {270, 0.5f, 1.0f, -60, 400}, {270, 0.5f, 0.5f, -30, 200}, {0, 0.0f, 1.0f, 400, 0},
        {90, 0.0f, 1.0f, 0, -400},   {180, 0.0f, 1.0f, -400, 0},  {180, -1.0f, 1.0f, -400, 120},
    };
    const PictureSize picture(4000, 4000);
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "angle " << c.angle << " drift " << c.drift);
        DS_FlowConstructor flow;
        flow.strength = 400.0f;
        flow.driftSpeed.SetValue(40, nullptr);
        flow.angle.value = c.angle;
        flow.OnAngleChanged(c.angle);
        ParticleItem p;
        p.sign = D3DXVECTOR3(1, 1, 0);
        p.velocity.z = c.drift;
        p.sizeFactor = c.sizeFactor;
        p.position = D3DXVECTOR3(2000, 2000, 0);
        p.phase = 1.0f;
        flow.StepViewTime(1.0f / 8.0f);
        flow.UpdateParticle(p);
        EXPECT_NEAR(2000.0f + c.vx / 8.0f, p.position.x, Tolerance);
        EXPECT_NEAR(2000.0f + c.vy / 8.0f, p.position.y, Tolerance);
    }
}

// Mode 1 turns the sprite with the flow; mode 2 mirrors it while it moves
// left; mode 3 turns it upside down while it moves up; mode 0 keeps it
// upright.
TEST(FlowConstructor, TheOrientationModeTurnsTheSprite)
{
    const PictureSize picture(400, 400);
    struct Case {
        int mode;
        unsigned int angle;
        D3DXVECTOR3 right, up;
    };
    const Case cases[] = {
        {0, 180, {1, 0, 0}, {0, 1, 0}},  {1, 90, {0, -1, 0}, {1, 0, 0}},  {1, 270, {0, 1, 0}, {-1, 0, 0}},
        {2, 180, {-1, 0, 0}, {0, 1, 0}}, {2, 0, {1, 0, 0}, {0, 1, 0}},    {3, 90, {1, 0, 0}, {0, -1, 0}},
        {3, 270, {1, 0, 0}, {0, 1, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "mode " << c.mode << " angle " << c.angle);
        DS_FlowConstructor flow;
        flow.strength = 40.0f;
        flow.orientationMode.value = c.mode;
        flow.angle.value = c.angle;
        flow.OnAngleChanged(c.angle);
        ParticleRun run(CloneOf(flow).release());
        run.Update(0.125f);
        const ParticleItem& p = run.Item(0);
        for (int i = 0; i < 3; ++i) {
            EXPECT_NEAR(c.right[i], p.rightAxis[i], 1e-6f) << i;
            EXPECT_NEAR(c.up[i], p.upAxis[i], 1e-6f) << i;
        }
    }
}

// From a known generator state each particle draws, in this order, its size
// factor, the sign of its phase velocity, its drift factor, x and y; each
// update moves it by the step along its velocity, and after more than half a
// unit of clock (rate value 8) it may draw a new drift: a parity draw, then the
// drift when the parity draw is odd.
TEST(FlowConstructor, ExactStateFromAKnownGeneratorState)
{
    const PictureSize picture(400, 300);
    DS_FlowConstructor flow;
    flow.count.value = 2;
    flow.baseSize.value = 20;
    flow.sizeFactorMin = 0.5f;
    flow.sizeFactorMax = 1.5f;
    flow.phaseSpeed = 0.25f;
    // Slow enough that no particle leaves the view in these steps.
    flow.strength = 4.0f;
    flow.driftSpeed.SetValue(1, nullptr);
    flow.driftChangeRate.SetValue(8, nullptr);
    flow.angle.value = 270;
    flow.left = 0.25f;
    flow.right = 0.75f;
    flow.top = 0.5f;
    flow.bottom = 1.0f;
    auto clone = CloneOf(flow);

    const std::vector<int> d = DrawsFrom(2024, 16);
    ParticleRun run(clone.release());
    DS_FlowConstructor& f = static_cast<DS_FlowConstructor&>(*run.controller);
    ASSERT_EQ(2u, run.Size());
    for (std::size_t i = 0; i < 2; ++i) {
        SCOPED_TRACE(i);
        const int* draws = &d[5 * i];
        const ParticleItem& p = run.Item(i);
        const float size = Between(0.5f, 1.5f, draws[0]);
        EXPECT_EQ(size, p.sizeFactor);
        EXPECT_EQ((draws[1] & 1) ? -0.25f : 0.25f, p.phaseVelocity);
        EXPECT_EQ(Unit(draws[2]) * 2 - 1, p.velocity.z);
        EXPECT_EQ(Between(100, 300, draws[3]), p.position.x);
        EXPECT_EQ(Between(150, 300, draws[4]), p.position.y);
        EXPECT_EQ(size * 20 * 0.5f, p.halfWidth);
        EXPECT_EQ(p.halfWidth, p.halfHeight);
        EXPECT_EQ(D3DXVECTOR3(1, 1, 0), p.sign);
    }

    // Five eighth-unit steps: the drift may change at the fifth, the first
    // at which more than half a unit has passed since the start.
    struct Expected {
        float x, y, drift, lastChange;
    };
    std::vector<Expected> expected;
    int next = 10;
    for (std::size_t i = 0; i < 2; ++i)
        expected.push_back({run.Item(i).position.x, run.Item(i).position.y, run.Item(i).velocity.z, 0.0f});
    for (int update = 1; update <= 5; ++update) {
        const float clock = 0.125f * static_cast<float>(update);
        for (std::size_t i = 0; i < 2; ++i) {
            Expected& e = expected[i];
            const float sf = run.Item(i).sizeFactor;
            const float vx = (f.crossVector.x * e.drift * 3.0f + f.flowVector.x) * sf;
            const float vy = (f.flowVector.y + f.crossVector.y * e.drift * 3.0f) * sf;
            e.x += 0.125f * vx;
            e.y += 0.125f * vy;
            if (update == 5) {
                e.lastChange = clock;
                if (d[next++] & 1)
                    e.drift = Unit(d[next++]) * 2 - 1;
            }
        }
        run.Update(clock);
        for (std::size_t i = 0; i < 2; ++i) {
            SCOPED_TRACE(testing::Message() << "update " << update << " particle " << i);
            EXPECT_FLOAT_EQ(expected[i].x, run.Item(i).position.x);
            EXPECT_FLOAT_EQ(expected[i].y, run.Item(i).position.y);
            EXPECT_EQ(expected[i].drift, run.Item(i).velocity.z);
            EXPECT_EQ(expected[i].lastChange, run.Item(i).lastChange);
        }
    }
}

// A rain drop starts like a flow particle with a random phase and its streak
// turned a further three quarters; its phase then pulses between the phase
// minimum and maximum, and below the minimum the drop starts anew at the
// minimum, rising.
TEST(FlowConstructor, RainDropsPulseAndStartAnew)
{
    const PictureSize picture(400, 400);
    DS_RainConstructor rain;
    rain.count.value = 1;
    rain.strength = 40.0f;
    rain.phaseSpeed = 2.0f;
    rain.phaseMin = 0.25f;
    rain.phaseMax = 1.0f;
    rain.sizeFactorMin = rain.sizeFactorMax = 1.0f;

    const std::vector<int> d = DrawsFrom(31337, 12);
    ParticleRun run(CloneOf(rain).release());
    ParticleItem& p = run.Item(0);
    const float velocity = (d[1] & 1) ? -2.0f : 2.0f;
    EXPECT_EQ(velocity, p.phaseVelocity);
    EXPECT_EQ(Between(0, 400, d[3]), p.position.x);
    EXPECT_EQ(Between(0, 400, d[4]), p.position.y);
    EXPECT_EQ(Unit(d[5]), p.phase);
    // Turned with the fall (270 degrees: a quarter), then three quarters more.
    EXPECT_NEAR(1.0f, p.rightAxis.x, 1e-5f);
    EXPECT_NEAR(0.0f, p.rightAxis.y, 1e-5f);
    EXPECT_EQ(static_cast<uint32_t>(255 * Unit(d[5])), p.colour >> 24);

    // Drive the phase to each turning point.
    p.phase = 0.875f;
    p.phaseVelocity = 2.0f;
    run.Update(0.125f);
    EXPECT_EQ(1.0f, p.phase);
    EXPECT_EQ(-2.0f, p.phaseVelocity);
    run.Update(0.25f);
    EXPECT_EQ(0.75f, p.phase);

    p.phase = 0.375f;
    const std::vector<int> again = DrawsFrom(555, 4);
    run.Update(0.375f);
    EXPECT_EQ(0.25f, p.phase);
    EXPECT_EQ(2.0f, p.phaseVelocity);
    EXPECT_EQ(Unit(again[0]) * 2 - 1, p.velocity.z);
    EXPECT_EQ(Between(0, 400, again[1]), p.position.x);
    EXPECT_EQ(Between(0, 400, again[2]), p.position.y);
    EXPECT_EQ(63u, p.colour >> 24);
}
