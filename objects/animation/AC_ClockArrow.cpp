#include "objects/animation/AC_ClockArrow.h"

#include "foundation/geometry/DS_Frame.h"
#include "objects/animation/AnimationMath.h"
#include "objects/animation/LocalClock.h"

namespace {

constexpr float DegreesPerHour = 30.0f;
constexpr float DegreesPerMinute = 6.0f;

} // namespace

AC_ClockArrow::AC_ClockArrow(bool hour) : hourHand(hour) {}

float AC_ClockArrow::HandAngle(const std::tm& time, bool hourHand)
{
    const float minute = static_cast<float>(time.tm_min);
    if (hourHand)
        return (static_cast<float>(time.tm_hour % 12) + minute / 60.0f) * DegreesPerHour;
    return (static_cast<float>(time.tm_sec) / 60.0f + minute) * DegreesPerMinute;
}

void AC_ClockArrow::Animate(DS_Frame& frame)
{
    std::tm now{};
    if (ReadLocalTime(now))
        angle = HandAngle(now, hourHand);
    D3DXMATRIX turn;
    D3DXMatrixRotationY(&turn, Radians(angle));
    D3DXMatrixMultiply(&frame.world, &frame.local, &turn);
}
