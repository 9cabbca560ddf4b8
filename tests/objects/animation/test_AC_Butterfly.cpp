// The butterfly's flight: its world and its wings' after fixed steps from a
// known generator state, the wing beat, banking, steering back into the
// view, gliding and the random manoeuvres.
#include "objects/animation/AC_Butterfly.h"

#include "foundation/geometry/DS_Frame.h"
#include "objects/animation/AC_ButterflyWing.h"
#include "objects/models/DS_ButterflyConstructor.h"
#include "tests/support/ParticleTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

constexpr float Pi = 3.14159265358979f;
constexpr float Tolerance = 2e-3f;

D3DXMATRIX RotX(float degrees)
{
    D3DXMATRIX m;
    D3DXMatrixRotationX(&m, degrees * Pi / 180.0f);
    return m;
}

D3DXMATRIX RotY(float degrees)
{
    D3DXMATRIX m;
    D3DXMatrixRotationY(&m, degrees * Pi / 180.0f);
    return m;
}

D3DXMATRIX RotZ(float degrees)
{
    D3DXMATRIX m;
    D3DXMatrixRotationZ(&m, degrees * Pi / 180.0f);
    return m;
}

D3DXMATRIX Move(float x, float y, float z)
{
    D3DXMATRIX m;
    D3DXMatrixTranslation(&m, x, y, z);
    return m;
}

D3DXMATRIX Scale(float x, float y, float z)
{
    D3DXMATRIX m;
    D3DXMatrixScaling(&m, x, y, z);
    return m;
}

::testing::AssertionResult MatrixNear(const D3DXMATRIX& actual, const D3DXMATRIX& expected, float tolerance)
{
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            if (std::fabs(actual(r, c) - expected(r, c)) > tolerance * std::max(1.0f, std::fabs(expected(r, c))))
                return ::testing::AssertionFailure()
                       << "entry (" << r << ", " << c << ") is " << actual(r, c) << ", expected " << expected(r, c);
    return ::testing::AssertionSuccess();
}

// A butterfly of one instance over a 400 × 300 picture, flying in the middle
// half of it, stepped as its runtime object steps it.
class ButterflyTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        constructor.left = 0.25f;
        constructor.right = 0.75f;
        constructor.top = 0.25f;
        constructor.bottom = 0.75f;
        constructor.wingScale = 1.5f;
    }
    void TearDown() override
    {
        if (root)
            DestroyFrameTree(root);
    }

    void Create(uint32_t state)
    {
        ResetRandForTesting(state);
        root = constructor.CreateInstance();
        flight = dynamic_cast<AC_Butterfly*>(root->animation);
        ASSERT_NE(nullptr, flight);
    }

    void Step(float time)
    {
        constructor.StepViewTime(time);
        root->UpdateFrameTree(nullptr);
    }

    DS_Frame& Wing(int index) { return *(index == 0 ? root->children.front() : root->children.back()); }

    PictureSize picture{400, 300};
    DS_ButterflyConstructor constructor;
    DS_Frame* root = nullptr;
    AC_Butterfly* flight = nullptr;
};

} // namespace

// Three draws place the butterfly and give its heading; two steps of 0.1 s
// move it 5 pixels a step along the heading and 5 down (the climb), beat
// the wings up to 70° and back to -42°, and build its world in the order
// scale × bob × bank × tilt × pitch × heading × local × translation.
TEST_F(ButterflyTest, WorldsAfterFixedStepsFromAKnownGeneratorState)
{
    const std::vector<int> draws = DrawsFrom(11, 3);
    Create(11);
    const float x0 = Between(100.0f, 300.0f, draws[0]);
    const float y0 = Between(75.0f, 225.0f, draws[1]);
    const float heading = Unit(draws[2]) * 360.0f;
    EXPECT_NEAR(x0, flight->position.x, Tolerance);
    EXPECT_NEAR(y0, flight->position.y, Tolerance);
    EXPECT_NEAR(heading, flight->heading.value, Tolerance);

    Step(0.1f);
    EXPECT_NEAR(70.0f, flight->flapAngle, Tolerance);
    EXPECT_EQ(-160.0f, flight->flapSpeed);
    Step(0.2f);
    EXPECT_NEAR(-42.0f, flight->flapAngle, Tolerance);
    EXPECT_EQ(-160.0f, flight->flapSpeed);

    const float x2 = x0 + 10.0f * std::cos(heading * Pi / 180.0f);
    const float y2 = y0 + 10.0f;
    const D3DXMATRIX local = Scale(0.5f, 0.5f, 0.5f) * RotY(90.0f);
    // Speed 50 pitches the nose up by half of 15°.
    const D3DXMATRIX body = Scale(1.0f, 1.0f, 1.0f) * Move(0.0f, 2.8f, 0.0f) * RotZ(0.0f) * RotX(10.0f) * RotX(7.5f) *
                            RotY(heading) * local * Move(x2, y2, 0.0f);
    EXPECT_TRUE(MatrixNear(root->world, body, Tolerance));
    EXPECT_TRUE(MatrixNear(Wing(0).world, Scale(1.5f, 1.5f, 1.5f) * RotZ(-42.0f) * body, Tolerance));
    EXPECT_TRUE(MatrixNear(Wing(1).world, Scale(1.5f, 1.5f, 1.5f) * RotZ(-42.0f) * Scale(-1.0f, 1.0f, 1.0f) * body,
                           Tolerance));
    // The raised wings: the first winds counter-clockwise, its mirror image
    // clockwise.
    EXPECT_FALSE(Wing(0).clockwiseFront);
    EXPECT_TRUE(Wing(1).clockwiseFront);

    // The head leads: the body's +z (the mesh's head) points where it flies.
    D3DXVECTOR3 head(0.0f, 0.0f, 1.0f), flying;
    D3DXVec3TransformNormal(&head, &head, &root->world);
    flying = D3DXVECTOR3(std::cos(heading * Pi / 180.0f), 0.0f, -std::sin(heading * Pi / 180.0f));
    EXPECT_GT(D3DXVec3Dot(&head, &flying) / D3DXVec3Length(&head), 0.9f);
}

// The wing beat turns at its limits; a heading exactly 5° off its target
// does not bank, one further off banks into the turn.
TEST_F(ButterflyTest, WingBeatAndBanking)
{
    Create(1);
    flight->flapAngle = 54.0f;
    flight->flapSpeed = 100.0f;
    constructor.step = 0.01f;
    flight->Animate(*root);
    EXPECT_NEAR(61.0f, flight->flapAngle, Tolerance);
    EXPECT_EQ(-160.0f, flight->flapSpeed);

    struct Case {
        float error;
        float bankTarget;
    };
    for (const Case& c : {Case{5.0f, 0.0f}, Case{-5.0f, 0.0f}, Case{5.5f, -25.0f}, Case{-5.5f, 25.0f}}) {
        SCOPED_TRACE(c.error);
        flight->heading.value = 30.0f;
        flight->heading.target = 30.0f - c.error;
        flight->bank = SmoothedValue{0.0f, 0.0f, 50.0f};
        constructor.step = 0.0f;
        flight->Animate(*root);
        EXPECT_EQ(c.bankTarget, flight->bank.target);
    }
}

// Above the view it starts a glide and sinks, below it climbs flapping; to
// either side it turns back toward the view and speeds up. The glide begins
// only once the wings have swung up past half their beat, and ends with
// the full beat again.
TEST_F(ButterflyTest, SteeringBackIntoTheViewAndGliding)
{
    Create(1);
    constructor.step = 0.0f;
    flight->position = D3DXVECTOR3(50.0f, 40.0f, 0.0f);
    flight->Animate(*root);
    EXPECT_EQ(AC_Butterfly::Gliding, flight->requestedMode);
    EXPECT_EQ(100.0f, flight->climb.target);
    EXPECT_EQ(0.0f, flight->heading.target);
    EXPECT_EQ(350.0f, std::fabs(flight->heading.rate));
    EXPECT_EQ(300.0f, flight->speed.target);
    // The wings are level: the glide waits for them.
    EXPECT_EQ(AC_Butterfly::Flapping, flight->currentMode);
    EXPECT_EQ(0.0f, flight->flapMaximum);

    flight->flapAngle = -30.0f;
    flight->flapSpeed = -160.0f;
    flight->Animate(*root);
    EXPECT_EQ(AC_Butterfly::Gliding, flight->currentMode);
    EXPECT_NEAR(-1.6f, flight->flapSpeed, 1e-6f);

    flight->position = D3DXVECTOR3(350.0f, 260.0f, 0.0f);
    flight->Animate(*root);
    EXPECT_EQ(AC_Butterfly::Flapping, flight->requestedMode);
    EXPECT_EQ(AC_Butterfly::Flapping, flight->currentMode);
    EXPECT_EQ(-190.0f, flight->climb.target);
    EXPECT_EQ(-180.0f, flight->heading.target);
    EXPECT_EQ(55.0f, flight->flapMaximum);
}

// Once the view clock has run 0.25 past the last manoeuvre the butterfly
// draws one of five: dive, glide, change speed, or (twice as likely) turn
// about or away when it is flapping on a steady heading.
TEST_F(ButterflyTest, ManoeuvresFromKnownDraws)
{
    for (int n = 0; n < 5; ++n) {
        SCOPED_TRACE(n);
        // A state whose fourth draw picks manoeuvre n.
        uint32_t state = 1;
        while (DrawsFrom(state, 4)[3] % 5 != n)
            ++state;
        const std::vector<int> draws = DrawsFrom(state, 7);
        Create(state);
        // Right in the middle, so that no steering interferes.
        flight->position = D3DXVECTOR3(200.0f, 150.0f, 0.0f);
        const float heading = flight->heading.value;
        constructor.clock = 0.3f;
        constructor.step = 0.0f;
        flight->Animate(*root);

        EXPECT_EQ(0.3f, flight->lastManoeuvre);
        switch (n) {
        case 0:
            EXPECT_EQ(AC_Butterfly::Flapping, flight->requestedMode);
            EXPECT_NEAR(Between(-190.0f, 0.0f, draws[4]), flight->climb.target, Tolerance);
            break;
        case 1:
            EXPECT_EQ(AC_Butterfly::Gliding, flight->requestedMode);
            EXPECT_NEAR(Between(100.0f, 150.0f, draws[4]), flight->climb.target, Tolerance);
            break;
        case 2:
            EXPECT_NEAR(Between(-25.0f, 300.0f, draws[4]), flight->speed.target, Tolerance);
            break;
        default: {
            const float rate = Between(50.0f, 350.0f, draws[5]);
            const float target =
                draws[4] % 2 == 0 ? Between(155.0f, 205.0f, draws[6]) : Between(-25.0f, 25.0f, draws[6]);
            EXPECT_NEAR(target, flight->heading.target, Tolerance);
            EXPECT_NEAR(target > heading ? rate : -rate, flight->heading.rate, Tolerance);
        }
        }
        DestroyFrameTree(root);
        root = nullptr;
    }
}

// The scale follows the constructor's size, through its binder.
TEST_F(ButterflyTest, ScaleFollowsTheSize)
{
    Create(1);
    EXPECT_EQ(1.0f, flight->scale._11);
    constructor.size.SetValue(250, nullptr);
    EXPECT_EQ(2.5f, flight->scale._11);
    EXPECT_EQ(2.5f, flight->scale._33);
}
