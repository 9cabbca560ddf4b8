// A clock's hand: it turns its frame about the face's axis to the local time,
// the hour hand once in 12 hours, the minute hand once an hour.
#pragma once

#include "foundation/geometry/DS_AnimationBase.h"

#include <ctime>

class AC_ClockArrow : public DS_AnimationBase {
public:
    explicit AC_ClockArrow(bool hourHand);

    // world := local × RotationY(the hand's angle for the local time now).
    // When the time cannot be read the hand stays at the last angle it
    // showed (12 o'clock before any), so the frame never keeps a matrix that
    // the tree update would multiply by its parent a second time.
    void Animate(DS_Frame& frame) override;

    // Degrees clockwise from 12 o'clock: the hour hand moves with the minutes,
    // the minute hand with the seconds.
    static float HandAngle(const std::tm& time, bool hourHand);

    bool hourHand;
    float angle = 0.0f;
};
