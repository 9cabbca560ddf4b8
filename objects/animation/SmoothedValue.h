// A value that follows its target at a fixed rate per second: the climb,
// heading, bank and speed of a butterfly.
#pragma once

struct SmoothedValue {
    // One step of dt seconds toward the target, stopping on it.
    void Approach(float dt);
    // A new target; a new rate of 0 keeps the rate's size. The rate's sign
    // then points from the value toward the target.
    void Retarget(float newTarget, float newRate);

    float value = 0.0f;
    float target = 0.0f;
    float rate = 0.0f;
};
