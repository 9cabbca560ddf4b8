// The edge rules of a flow at each of the four edges: leave, fade, wait and
// come back through the other side; bounce; and leave, pause and come back.
// A 400 × 400 view, particles 20 pixels wide moving 10 pixels an update
// straight at the edge under test.
#include "objects/particles/DS_BoundControl.h"

#include "objects/particles/DS_FlowConstructor.h"
#include "tests/support/ParticleTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr float Step = 0.125f;
constexpr float Tolerance = 1e-3f;

struct EdgeCase {
    ParticleEdge edge;
    const char* name;
    unsigned int angle; // moving straight at the edge
    float x, y;         // where the particle starts, just inside or on the edge
};

// The flow under test: no drift, the given rule at one edge.
class EdgeRun {
public:
    EdgeRun(const EdgeCase& c, int rule, float startX, float startY) : edge(c.edge)
    {
        flow.baseSize.value = 20;
        flow.strength = 80.0f;
        flow.angle.value = c.angle;
        flow.OnAngleChanged(c.angle);
        flow.edges[edge].rule.value = rule;
        InitParticleItem(p, flow);
        ResetParticleItem(p, flow);
        p.sign = D3DXVECTOR3(1, 1, 0);
        p.position = D3DXVECTOR3(startX, startY, 0);
    }

    void Update()
    {
        time += Step;
        flow.StepViewTime(time);
        flow.UpdateParticle(p);
    }

    DS_BoundControl& Control() { return flow.edges[edge]; }
    // The coordinate across the edge (y for top and bottom, x for the sides).
    float Across() const { return edge <= BottomEdge ? p.position.y : p.position.x; }
    float Along() const { return edge <= BottomEdge ? p.position.x : p.position.y; }

    PictureSize picture{400, 400};
    DS_FlowConstructor flow;
    ParticleItem p;
    ParticleEdge edge;
    float time = 0.0f;
};

const EdgeCase Edges[] = {
    {TopEdge, "top", 90, 200, -5},
    {BottomEdge, "bottom", 270, 200, 405},
    {LeftEdge, "left", 180, -5, 200},
    {RightEdge, "right", 0, 405, 200},
};

// Just inside the edge opposite this one, as a particle comes back.
float OppositeSide(ParticleEdge edge)
{
    switch (edge) {
    case TopEdge:
        return 399.0f;
    case BottomEdge:
        return 1.0f;
    case LeftEdge:
        return 399.0f;
    default:
        return 1.0f;
    }
}

// How far a particle moves outwards in one update (towards the edge).
float Outwards(ParticleEdge edge) { return edge == TopEdge || edge == LeftEdge ? -10.0f : 10.0f; }

} // namespace

// With all times 0, counted from the update in which the particle is wholly
// beyond the edge: 1 starts the fade-out, 2 sets the phase to 0, 3 hides it
// with its wait over at once, 4 moves it just inside the opposite edge at a
// random place, 5 shows it again at full phase, 6 frees it.
TEST(BoundControl, LeaveAndComeBackAtEachEdge)
{
    for (const EdgeCase& c : Edges) {
        SCOPED_TRACE(c.name);
        EdgeRun run(c, DS_BoundControl::RuleLeaveAndReenter, c.x, c.y);
        const float start = run.Across();
        const std::vector<int> draws = DrawsFrom(99 + c.edge, 2);

        run.Update();
        EXPECT_EQ(c.edge, run.p.edgeState);
        EXPECT_EQ(1.0f, run.p.phase);
        EXPECT_NEAR(start + Outwards(c.edge), run.Across(), Tolerance);

        run.Update();
        EXPECT_EQ(0.0f, run.p.phase);
        EXPECT_NEAR(start + 2 * Outwards(c.edge), run.Across(), Tolerance);
        EXPECT_EQ(0u, run.p.colour >> 24);

        run.Update();
        EXPECT_EQ(NoEdge, run.p.edgeState);
        EXPECT_EQ(1, run.p.hidden);
        EXPECT_EQ(run.flow.clock, run.p.resumeTime);
        EXPECT_NEAR(start + 3 * Outwards(c.edge), run.Across(), Tolerance);

        run.Update();
        EXPECT_EQ(c.edge, run.p.edgeState);
        EXPECT_EQ(1, run.p.reentry);
        EXPECT_EQ(1, run.p.hidden);
        EXPECT_EQ(OppositeSide(c.edge), run.Across());
        EXPECT_EQ(Between(0, 400, draws[1]), run.Along());

        run.Update();
        EXPECT_EQ(0, run.p.hidden);
        EXPECT_EQ(1.0f, run.p.phase);
        EXPECT_EQ(OppositeSide(c.edge), run.Across());
        EXPECT_EQ(c.edge, run.p.edgeState);

        run.Update();
        EXPECT_EQ(NoEdge, run.p.edgeState);
        EXPECT_EQ(0, run.p.reentry);
        EXPECT_NEAR(OppositeSide(c.edge) + Outwards(c.edge), run.Across(), Tolerance);
        EXPECT_EQ(0xFFu, run.p.colour >> 24);
    }
}

// With fades of 250 ms the phase falls and rises by 0.5 per eighth of a
// second of clock while the particle moves; the hidden wait of 250 ms runs
// from the end of the fade-out, and the fade-in starts only when the wait is
// over.
TEST(BoundControl, FadesAndTheHiddenWaitRunOnTheClock)
{
    EdgeRun run(Edges[BottomEdge], DS_BoundControl::RuleLeaveAndReenter, 200, 405);
    DS_BoundControl& bottom = run.Control();
    bottom.fadeOutTime.value = 250;
    bottom.fadeInTime.value = 250;
    bottom.minHiddenTime.value = 250;
    bottom.maxHiddenTime.value = 250;

    const float phases[] = {1.0f, 0.5f, 0.0f, 0.0f, 0.0f, 0.0f, 0.0f, 0.5f, 1.0f, 1.0f};
    const int hidden[] = {0, 0, 0, 1, 1, 1, 1, 0, 0, 0};
    const float ys[] = {415, 425, 435, 445, 1, 1, 1, 1, 11, 21};
    for (int i = 0; i < 10; ++i) {
        run.Update();
        EXPECT_EQ(phases[i], run.p.phase) << "update " << i + 1;
        EXPECT_EQ(hidden[i], run.p.hidden) << "update " << i + 1;
        EXPECT_NEAR(ys[i], run.p.position.y, Tolerance) << "update " << i + 1;
    }
    EXPECT_EQ(NoEdge, run.p.edgeState);
}

// A particle that reaches over the edge turns back; the next update pushes
// it one pixel inside the edge if it is still over it and frees it.
TEST(BoundControl, BounceAtEachEdge)
{
    for (const EdgeCase& c : Edges) {
        SCOPED_TRACE(c.name);
        const float inside = c.edge == TopEdge || c.edge == LeftEdge ? 2.0f : 398.0f;
        EdgeRun run(c, DS_BoundControl::RuleBounce, c.edge <= BottomEdge ? 200.0f : inside,
                    c.edge <= BottomEdge ? inside : 200.0f);

        run.Update();
        EXPECT_EQ(c.edge, run.p.edgeState);
        EXPECT_EQ(-1.0f, c.edge <= BottomEdge ? run.p.sign.y : run.p.sign.x);
        EXPECT_EQ(1.0f, c.edge <= BottomEdge ? run.p.sign.x : run.p.sign.y);
        EXPECT_NEAR(inside + Outwards(c.edge), run.Across(), Tolerance);

        run.Update();
        const float pushed = c.edge == TopEdge || c.edge == LeftEdge ? 11.0f : 389.0f;
        EXPECT_EQ(pushed, run.Across());
        EXPECT_EQ(NoEdge, run.p.edgeState);

        run.Update();
        EXPECT_NEAR(pushed - Outwards(c.edge), run.Across(), Tolerance);
        EXPECT_EQ(0, run.p.hidden);
        EXPECT_EQ(1.0f, run.p.phase);
    }
}

// A particle wholly beyond the edge turns back and waits hidden, held within
// a half extent of the edge, for a random 1 to 2 seconds of clock; then it
// moves back in and is freed.
TEST(BoundControl, PauseAtEachEdge)
{
    for (const EdgeCase& c : Edges) {
        SCOPED_TRACE(c.name);
        EdgeRun run(c, DS_BoundControl::RuleBounceWithPause, c.x, c.y);
        run.Control().minHiddenTime.value = 1000;
        run.Control().maxHiddenTime.value = 2000;
        const std::vector<int> draws = DrawsFrom(7 + c.edge, 1);
        const float wait = Between(1.0f, 2.0f, draws[0]);

        run.Update();
        EXPECT_EQ(c.edge, run.p.edgeState);
        EXPECT_EQ(1, run.p.hidden);
        EXPECT_EQ(run.flow.clock + wait, run.p.resumeTime);
        EXPECT_EQ(-1.0f, c.edge <= BottomEdge ? run.p.sign.y : run.p.sign.x);

        const float held = c.edge == TopEdge || c.edge == LeftEdge ? -9.0f : 409.0f;
        const int waiting = static_cast<int>(std::floor(wait / Step));
        for (int i = 0; i < waiting; ++i) {
            run.Update();
            EXPECT_EQ(1, run.p.hidden) << "update " << i + 2;
            EXPECT_NEAR(held, run.Across(), Tolerance);
        }
        run.Update();
        EXPECT_EQ(0, run.p.hidden);
        EXPECT_EQ(NoEdge, run.p.edgeState);
        EXPECT_NEAR(held, run.Across(), Tolerance);

        run.Update();
        EXPECT_NEAR(held - Outwards(c.edge), run.Across(), Tolerance);
    }
}

// The running rule of one edge is that edge's alone; a rule outside 0 to 2
// lets particles go wherever they go.
TEST(BoundControl, OtherEdgesPassOverARunningRuleAndUnknownRulesDoNothing)
{
    EdgeRun run(Edges[TopEdge], DS_BoundControl::RuleLeaveAndReenter, 200, -5);
    run.Update();
    ASSERT_EQ(TopEdge, run.p.edgeState);
    for (ParticleEdge other : {BottomEdge, LeftEdge, RightEdge})
        EXPECT_FALSE(run.flow.edges[other].Apply(run.flow, run.p)) << other;
    EXPECT_EQ(1.0f, run.p.phase);

    EdgeRun ignored(Edges[BottomEdge], 3, 200, 405);
    for (int i = 0; i < 5; ++i)
        ignored.Update();
    EXPECT_EQ(NoEdge, ignored.p.edgeState);
    EXPECT_EQ(0, ignored.p.hidden);
    EXPECT_NEAR(455.0f, ignored.p.position.y, Tolerance);

    // An edge number outside 0 to 3 takes the top edge's tests.
    DS_BoundControl stray;
    stray.BindEdge(9, &run.flow);
    EXPECT_EQ(&IsAboveView, stray.outsideTest);
    EXPECT_EQ(&CrossesTopEdge, stray.touchingTest);
}
