#include "host/framework/SaverClock.h"

#include <gtest/gtest.h>

namespace {

// Both sources: the performance counter and the millisecond clock.
class SaverClockTest : public ::testing::TestWithParam<bool> {};

TEST_P(SaverClockTest, CountsSecondsFromTheFirstStart)
{
    SaverClock clock(GetParam());
    EXPECT_EQ(GetParam(), clock.UsesCounter());
    Sleep(100);
    clock.Start();
    EXPECT_LT(clock.ApplicationTime(), 0.02f);
    Sleep(120);
    const float elapsed = clock.ElapsedTime();
    EXPECT_GT(elapsed, 0.1f);
    EXPECT_LT(elapsed, 0.5f);
    // A reading starts the next elapsed time afresh.
    EXPECT_LT(clock.ElapsedTime(), 0.02f);
    const float app = clock.ApplicationTime();
    EXPECT_GT(app, 0.1f);
    EXPECT_NEAR(app, elapsed, 0.03f);
    const double before = clock.AbsoluteTime();
    Sleep(30);
    EXPECT_GT(clock.AbsoluteTime(), before + 0.02);
}

INSTANTIATE_TEST_SUITE_P(Sources, SaverClockTest, ::testing::Bool());

} // namespace
