#include "objects/animation/SmoothedValue.h"

#include <cmath>

void SmoothedValue::Approach(float dt)
{
    if (value == target)
        return;
    value += dt * rate;
    if (rate > 0.0f && value > target)
        value = target;
    if (rate < 0.0f && value < target)
        value = target;
}

void SmoothedValue::Retarget(float newTarget, float newRate)
{
    if (newRate != 0.0f)
        rate = newRate;
    target = newTarget;
    rate = newTarget > value ? std::fabs(rate) : -std::fabs(rate);
}
