// A scaled float parameter whose result is a speed driving a clock of its own.
#pragma once

#include "foundation/params/UINTSclaleTo.h"

class MediaSpeedParam : public UINTSclaleTo<float> {
public:
    MediaSpeedParam() = default;
    // Copies value, scale, offset and the clock.
    MediaSpeedParam(const MediaSpeedParam&) = default;

    // One step per frame with the application time t in seconds: the elapsed
    // time since the last step, capped at MaxStep, times the speed.
    void AdvanceClock(float t);

    // A long stall (a dialog, a device reset) must not make the clock jump.
    static constexpr float MaxStep = 0.2f;

    float step = 0.0f; // the last scaled step
    float time = 0.0f; // the accumulated scaled time
    float last = 0.0f; // the application time of the last step
};
