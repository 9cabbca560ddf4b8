#include "foundation/params/MediaSpeedParam.h"

void MediaSpeedParam::AdvanceClock(float t)
{
    // A clock that went backwards restarts from the new time instead of
    // running the step negative.
    if (last > t)
        last = t;
    float elapsed = t - last;
    if (elapsed > MaxStep)
        elapsed = MaxStep;
    step = elapsed * result;
    time += step;
    last = t;
}
