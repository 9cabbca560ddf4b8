// The view constructor: its region snapped to whole pixels of the picture,
// its clock, its random points and what a copy takes.
#include "objects/base/DS_ViewObjCtrl.h"

#include "objects/particles/ParticleItem.h"
#include "tests/support/ParticleTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class TestView : public DS_ViewObjCtrl {
public:
    TestView() = default;
    TestView(const TestView&) = default;
    DS_ABObj* CreateObject() override { return nullptr; }
};

TestView Region(float left, float right, float top, float bottom)
{
    TestView view;
    view.left = left;
    view.right = right;
    view.top = top;
    view.bottom = bottom;
    return view;
}

} // namespace

// A copy snaps its region to the picture that is current: each pixel edge is
// the fraction times the size, truncated, and each fraction becomes its
// pixel edge over the size.
TEST(ViewObjCtrl, ACopySnapsTheRegionToWholePixels)
{
    const PictureSize picture(1000, 500);
    const TestView original = Region(0.25f, 0.7505f, 0.1013f, 0.9f);

    const TestView copy(original);

    EXPECT_EQ(250, copy.pixelRect.left.value);
    EXPECT_EQ(750, copy.pixelRect.right.value);
    EXPECT_EQ(50, copy.pixelRect.top.value);
    EXPECT_EQ(450, copy.pixelRect.bottom.value);
    EXPECT_EQ(0.25f, copy.left);
    EXPECT_EQ(0.75f, copy.right);
    EXPECT_EQ(0.1f, copy.top);
    EXPECT_EQ(0.9f, copy.bottom);
    EXPECT_EQ(750.0f, copy.GetPixelRight());

    // A change of a pixel edge moves its fraction.
    TestView moved(original);
    moved.pixelRect.left.SetValue(100, nullptr);
    EXPECT_EQ(0.1f, moved.left);
}

// Before any picture has a size (or with a picture of size 0) the region
// keeps its fractions: 0 / 0 would leave it without a place for good.
TEST(ViewObjCtrl, WithoutAPictureSizeTheFractionsStay)
{
    const PictureSize picture(0, 0);
    const TestView copy(Region(0.25f, 0.7505f, 0.125f, 0.5f));

    EXPECT_EQ(0.25f, copy.left);
    EXPECT_EQ(0.7505f, copy.right);
    EXPECT_EQ(0.125f, copy.top);
    EXPECT_EQ(0.5f, copy.bottom);

    const PictureSize later(800, 600);
    TestView synced(copy);
    synced.SyncPixelRect();
    EXPECT_EQ(200, synced.pixelRect.left.value);
    EXPECT_EQ(600, synced.pixelRect.right.value);
}

// The clock runs at the application's pace at speed 50, at twice it at 100;
// a pause counts as 0.2 s at most; a time that runs backwards counts forward;
// the first step sees the time since 0.
TEST(ViewObjCtrl, TheClockFollowsTheApplicationTimeAtItsSpeed)
{
    struct Case {
        unsigned int speed;
        float times[3];
        float clock;
        float step;
    };
    const Case cases[] = {
        {50, {0.125f, 0.25f, 0.375f}, 0.375f, 0.125f},
        {100, {0.125f, 0.25f, 0.375f}, 0.75f, 0.25f},
        {50, {0.125f, 1.125f, 1.25f}, 0.125f + 0.2f + 0.125f, 0.125f},
        {50, {0.5f, 0.375f, 0.25f}, 0.2f + 0.125f + 0.125f, 0.125f},
        {50, {5.0f, 5.0f, 5.0f}, 0.2f, 0.0f},
        {25, {0.125f, 0.25f, 1.25f}, 0.0625f + 0.0625f + 0.1f, 0.1f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.speed);
        TestView view;
        view.speed.value = c.speed;
        for (float t : c.times)
            view.StepViewTime(t);
        EXPECT_FLOAT_EQ(c.clock, view.clock);
        EXPECT_FLOAT_EQ(c.step, view.step);
        EXPECT_EQ(c.times[2], view.last);
    }

    // Sixty frames a second advance the clock by a sixtieth each.
    TestView view;
    for (int frame = 1; frame <= 60; ++frame)
        view.StepViewTime(frame / 60.0f);
    EXPECT_NEAR(1.0f, view.clock, 1e-5f);
}

// A random point draws x before y, each across its edge range; an empty
// range gives its edge; the inset range of a particle wider than the region
// runs backwards and is used as it is.
TEST(ViewObjCtrl, RandomPointsDrawXBeforeY)
{
    const PictureSize picture(400, 200);
    const TestView view(Region(0.25f, 0.75f, 0.5f, 1.0f));
    const std::vector<int> draws = DrawsFrom(4711, 6);

    const D3DXVECTOR3 p = view.RandomPointInView();
    EXPECT_EQ(Between(100.0f, 300.0f, draws[0]), p.x);
    EXPECT_EQ(Between(100.0f, 200.0f, draws[1]), p.y);
    EXPECT_EQ(0.0f, p.z);

    ParticleItem wide;
    wide.halfWidth = 150.0f;
    wide.halfHeight = 10.0f;
    const D3DXVECTOR3 q = view.RandomPointInViewInset(wide.halfWidth, wide.halfHeight);
    EXPECT_EQ(Between(250.0f, 150.0f, draws[2]), q.x);
    EXPECT_EQ(Between(110.0f, 190.0f, draws[3]), q.y);

    const TestView line(Region(0.5f, 0.5f, 0.0f, 1.0f));
    EXPECT_EQ(200.0f, line.RandomPointInView().x);
}

// A copy starts its own clock and does not take the rectangle's point.
TEST(ViewObjCtrl, ACopyStartsItsClockAtZero)
{
    const PictureSize picture(100, 100);
    TestView original;
    original.name = L"view";
    original.speed.value = 70;
    original.viewFlag = true;
    original.pixelRect.pointX.value = 12;
    original.pixelRect.pointY.value = 34;
    original.StepViewTime(0.1f);

    const TestView copy(original);

    EXPECT_EQ(L"view", copy.name);
    EXPECT_EQ(70u, copy.speed.value);
    EXPECT_TRUE(copy.viewFlag);
    EXPECT_EQ(0.0f, copy.clock);
    EXPECT_EQ(0.0f, copy.step);
    EXPECT_EQ(0.0f, copy.last);
    EXPECT_EQ(0, copy.pixelRect.pointX.value);
    EXPECT_EQ(0, copy.pixelRect.pointY.value);
}

// The region's quad runs in strip order: bottom left, top left, bottom
// right, top right.
TEST(ViewObjCtrl, TheScreenQuadIsTheRegionInPixels)
{
    const PictureSize picture(200, 100);
    TestView view(Region(0.25f, 0.5f, 0.25f, 0.75f));
    ScreenQuad quad;
    ASSERT_EQ(&quad, view.GetScreenQuad(quad));
    const float expected[4][2] = {{50, 75}, {50, 25}, {100, 75}, {100, 25}};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(expected[i][0], quad.corners[i].x);
        EXPECT_EQ(expected[i][1], quad.corners[i].y);
    }
    EXPECT_FALSE(view.HitTest(60, 50));
}
