// The shear of a leaning sprite: the sideways step of its up axis per unit of
// height, for god rays, grass blades and flowers.
#pragma once

#include <cmath>

// The steepest lean drawn, in degrees from upright: a lean of 90 degrees
// would put the sprite's top infinitely far to the side, so the shear stops
// at about 57 times the height.
constexpr double MaxLeanDegrees = 89.0;

// 1 / tan θ for θ in degrees measured from the +x axis (90 is upright), the
// angle first brought into the range MaxLean allows. Angles a whole half
// turn apart shear alike, so only angles within a degree of horizontal
// change; the result is always finite.
inline float ShearFromAngle(double thetaDegrees)
{
    constexpr double Pi = 3.14159265358979323846;
    double t = std::fmod(thetaDegrees, 180.0);
    if (t < 0.0)
        t += 180.0;
    const double lowest = 90.0 - MaxLeanDegrees;
    if (t < lowest)
        t = lowest;
    else if (t > 180.0 - lowest)
        t = 180.0 - lowest;
    return static_cast<float>(1.0 / std::tan(static_cast<float>(t * 2.0 * Pi / 360.0)));
}

// The shear of a sprite swayed by `leanDegrees` from upright (positive leans
// its top to the left on screen: the up axis points down the screen), held
// within MaxLeanDegrees either way.
inline float ShearFromLean(double leanDegrees)
{
    if (leanDegrees > MaxLeanDegrees)
        leanDegrees = MaxLeanDegrees;
    else if (leanDegrees < -MaxLeanDegrees)
        leanDegrees = -MaxLeanDegrees;
    return ShearFromAngle(90.0 - leanDegrees);
}
