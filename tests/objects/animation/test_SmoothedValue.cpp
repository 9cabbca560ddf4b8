// The smoothed values of the butterfly's flight: approaching a target at a
// rate and stopping on it, and retargeting with the rate's sign turned
// toward the new target.
#include "objects/animation/SmoothedValue.h"

#include <gtest/gtest.h>

TEST(SmoothedValue, RetargetTurnsTheRateAndApproachStopsOnTheTarget)
{
    struct Case {
        SmoothedValue start;
        float target, newRate;
        float rate;        // after Retarget
        float dt, value;   // after one Approach
    };
    const Case cases[] = {
        {{20.0f, 20.0f, 350.0f}, 10.0f, 0.0f, -350.0f, 1.0f, 10.0f},     // overshoot clamped
        {{20.0f, 20.0f, 350.0f}, 10.0f, 0.0f, -350.0f, 0.01f, 16.5f},    // part of the way
        {{0.0f, 0.0f, -50.0f}, 25.0f, 0.0f, 50.0f, 0.1f, 5.0f},          // rate 0 keeps its size
        {{0.0f, 0.0f, 50.0f}, -25.0f, 200.0f, -200.0f, 1.0f, -25.0f},    // a new rate, turned
        {{30.0f, 0.0f, 10.0f}, 30.0f, 0.0f, -10.0f, 5.0f, 30.0f},        // already there
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.start.value << " -> " << c.target);
        SmoothedValue v = c.start;
        v.Retarget(c.target, c.newRate);
        EXPECT_EQ(c.target, v.target);
        EXPECT_EQ(c.rate, v.rate);
        v.Approach(c.dt);
        EXPECT_FLOAT_EQ(c.value, v.value);
        // Once on the target, further steps change nothing.
        if (v.value == v.target) {
            v.Approach(c.dt);
            EXPECT_EQ(c.target, v.value);
        }
    }
}
