// The clock's animations: the hands' angles for given local times (midnight,
// noon, both daylight saving changes), where the whole tree puts the hands'
// tips, what a hand shows when the time cannot be read, and the placement
// that keeps the clock's rectangle around its centre.
#include "objects/animation/AC_ClockArrow.h"

#include "foundation/geometry/DS_Frame.h"
#include "objects/animation/AC_Static.h"
#include "objects/animation/LocalClock.h"
#include "objects/models/DS_ClockConstructor.h"
#include "tests/support/ParticleTestSupport.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cmath>

namespace {

// The time the hands read; failing makes every reading fail.
std::tm givenTime{};
bool failing = false;

bool GivenTime(std::tm& out)
{
    if (failing)
        return false;
    out = givenTime;
    return true;
}

std::tm Time(int hour, int minute, int second, int daylightSaving = 0)
{
    std::tm t{};
    t.tm_year = 124;
    t.tm_mon = 2;
    t.tm_mday = 31;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = daylightSaving;
    return t;
}

// Gives the clock the test's time for each test.
class ClockTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        failing = false;
        previous = SetLocalTimeSource(GivenTime);
    }
    void TearDown() override { SetLocalTimeSource(previous); }

    LocalTimeSource previous = nullptr;
};

// Where a point of the plate lands on the picture.
D3DXVECTOR3 Place(const DS_Frame& frame, float x, float z)
{
    D3DXVECTOR3 p(x, 0.0f, z), out;
    D3DXVec3TransformCoord(&out, &p, &frame.world);
    return out;
}

} // namespace

// The hour hand moves with the minutes, the minute hand with the seconds;
// the hands show the wall clock, so a change to or from daylight saving time
// moves them by the hour the clock jumps, and the repeated hour shows the
// same twice.
TEST_F(ClockTest, HandAnglesForGivenTimes)
{
    struct Case {
        const char* what;
        std::tm time;
        float hour;
        float minute;
    };
    const Case cases[] = {
        {"midnight", Time(0, 0, 0), 0.0f, 0.0f},
        {"noon", Time(12, 0, 0), 0.0f, 0.0f},
        {"three", Time(3, 0, 0), 90.0f, 0.0f},
        {"half past nine", Time(9, 30, 0), 285.0f, 180.0f},
        {"03:30:30", Time(3, 30, 30), 105.0f, 183.0f},
        {"a second before midnight", Time(23, 59, 59), 359.5f, 359.9f},
        {"before the spring change", Time(1, 59, 30, 0), 59.5f, 357.0f},
        {"after the spring change", Time(3, 0, 30, 1), 90.0f, 3.0f},
        {"the repeated hour, summer time", Time(1, 30, 0, 1), 45.0f, 180.0f},
        {"the repeated hour, winter time", Time(1, 30, 0, 0), 45.0f, 180.0f},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        givenTime = c.time;
        for (bool hourHand : {true, false}) {
            AC_ClockArrow hand(hourHand);
            DS_Frame frame;
            hand.Animate(frame);
            const float expected = hourHand ? c.hour : c.minute;
            EXPECT_NEAR(expected, hand.angle, 1e-3f);
            D3DXMATRIX turn;
            D3DXMatrixRotationY(&turn, expected * 3.14159265f / 180.0f);
            for (int i = 0; i < 16; ++i)
                EXPECT_NEAR(turn.m[i / 4][i % 4], frame.world.m[i / 4][i % 4], 1e-5f);
        }
    }
}

// The whole tree of a clock of size 400 centred at (200, 150): the face spans
// 400 pixels, the hour hand's tip lies 100 pixels from the centre and the
// minute hand's 128, pointing where the time says (y runs down the picture).
TEST_F(ClockTest, TheTreePutsTheHandsWhereTheTimeSays)
{
    PictureSize picture(400, 300);
    DS_ClockConstructor clock;
    ASSERT_EQ(200, clock.rectangle.pointX.value);
    ASSERT_EQ(150, clock.rectangle.pointY.value);
    DS_Frame* root = clock.CreateInstance();
    DS_Frame& hour = *root->children.front();
    DS_Frame& minute = *root->children.back();

    struct Case {
        std::tm time;
        float hourX, hourY, minuteX, minuteY;
    };
    const Case cases[] = {
        {Time(3, 0, 0), 300.0f, 150.0f, 200.0f, 22.0f},
        {Time(9, 30, 0), 200.0f - 100.0f * std::sin(75.0f * 3.14159265f / 180.0f),
         150.0f - 100.0f * std::cos(75.0f * 3.14159265f / 180.0f), 200.0f, 278.0f},
    };
    for (const Case& c : cases) {
        givenTime = c.time;
        root->UpdateFrameTree(nullptr);
        const D3DXVECTOR3 faceTop = Place(*root, 0.0f, 50.0f);
        EXPECT_NEAR(200.0f, faceTop.x, 1e-3f);
        EXPECT_NEAR(-50.0f, faceTop.y, 1e-3f);
        const D3DXVECTOR3 faceRight = Place(*root, 50.0f, 0.0f);
        EXPECT_NEAR(400.0f, faceRight.x, 1e-3f);
        const D3DXVECTOR3 hourTip = Place(hour, 0.0f, 50.0f);
        EXPECT_NEAR(c.hourX, hourTip.x, 1e-2f);
        EXPECT_NEAR(c.hourY, hourTip.y, 1e-2f);
        const D3DXVECTOR3 minuteTip = Place(minute, 0.0f, 50.0f);
        EXPECT_NEAR(c.minuteX, minuteTip.x, 1e-2f);
        EXPECT_NEAR(c.minuteY, minuteTip.y, 1e-2f);
        // Both hands are 4 pixels wide: the plate squeezed to a hundredth.
        const D3DXVECTOR3 side = Place(minute, 50.0f, 0.0f) - Place(minute, -50.0f, 0.0f);
        EXPECT_NEAR(4.0f, D3DXVec3Length(&side), 1e-3f);
    }
    DestroyFrameTree(root);
}

// A time that cannot be read leaves each hand where it was: the tree update
// then gives the same world again instead of multiplying the last one by
// the face once more. Before any reading the hands stand at 12.
TEST_F(ClockTest, AnUnreadableTimeLeavesTheHandsWhereTheyWere)
{
    PictureSize picture(400, 300);
    DS_ClockConstructor clock;
    DS_Frame* root = clock.CreateInstance();
    DS_Frame& hour = *root->children.front();

    givenTime = Time(3, 0, 0);
    root->UpdateFrameTree(nullptr);
    const D3DXMATRIX shown = hour.world;
    failing = true;
    for (int frame = 0; frame < 3; ++frame) {
        root->UpdateFrameTree(nullptr);
        for (int i = 0; i < 16; ++i)
            EXPECT_NEAR(shown.m[i / 4][i % 4], hour.world.m[i / 4][i % 4], 1e-4f);
    }
    DestroyFrameTree(root);

    AC_ClockArrow fresh(true);
    DS_Frame frame;
    frame.world._41 = 1234.0f;
    fresh.Animate(frame);
    EXPECT_EQ(0.0f, fresh.angle);
    EXPECT_EQ(0.0f, frame.world._41);
}

// The system's own source reads a time the hands can show.
TEST_F(ClockTest, TheSystemClockGivesALocalTime)
{
    // Windows' own local time just before and just after: the clock's time
    // lies between them, on the same day (a run across midnight is not
    // judged).
    SYSTEMTIME before{};
    SYSTEMTIME after{};
    GetLocalTime(&before);
    std::tm now{};
    ASSERT_TRUE(SystemLocalTime(now));
    GetLocalTime(&after);
    const auto secondOfDay = [](int h, int m, int s) { return (h * 60 + m) * 60 + s; };
    const int first = secondOfDay(before.wHour, before.wMinute, before.wSecond);
    const int last = secondOfDay(after.wHour, after.wMinute, after.wSecond);
    if (before.wDay != after.wDay)
        return;
    EXPECT_GE(secondOfDay(now.tm_hour, now.tm_min, now.tm_sec), first);
    EXPECT_LE(secondOfDay(now.tm_hour, now.tm_min, now.tm_sec), last);
    EXPECT_EQ(before.wYear, now.tm_year + 1900);
    EXPECT_EQ(before.wMonth, now.tm_mon + 1);
    EXPECT_EQ(before.wDay, now.tm_mday);
    EXPECT_EQ(before.wDayOfWeek, now.tm_wday);
}

// The placement keeps the rectangle around the centre as the size changes
// (quietly: the rectangle's other listeners hear nothing) and follows a
// moved centre once the rectangle announces a change.
TEST_F(ClockTest, ThePlacementFramesTheFaceInItsRectangle)
{
    PictureSize picture(1023, 767);
    DS_ClockConstructor clock;
    EXPECT_EQ(511, clock.rectangle.pointX.value);
    EXPECT_EQ(383, clock.rectangle.pointY.value);
    clock.size.value = 101;
    AC_Static placement(clock.size, clock.rectangle);
    EXPECT_EQ(461, clock.rectangle.left.value);
    EXPECT_EQ(561, clock.rectangle.right.value);
    EXPECT_EQ(333, clock.rectangle.top.value);
    EXPECT_EQ(433, clock.rectangle.bottom.value);
    EXPECT_EQ(461, clock.rectangle.left.undo.copy);

    clock.size.SetValue(300, nullptr);
    EXPECT_EQ(361, clock.rectangle.left.value);
    EXPECT_EQ(533, clock.rectangle.bottom.value);
    EXPECT_EQ(300.0f, placement.scale._11);

    clock.rectangle.pointX.value = 100;
    clock.rectangle.pointY.value = 200;
    clock.rectangle.NotifyListeners(nullptr);
    EXPECT_EQ(-50, clock.rectangle.left.value);
    EXPECT_EQ(350, clock.rectangle.bottom.value);
    DS_Frame frame;
    placement.Animate(frame);
    EXPECT_EQ(100.0f, frame.world._41);
    EXPECT_EQ(200.0f, frame.world._42);
    EXPECT_EQ(300.0f, frame.world._11);
}
