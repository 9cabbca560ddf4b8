// The shear of a leaning sprite: the sideways step of its up axis per unit of
// height, for god rays, grass blades and flowers.
#pragma once

#include "foundation/core/Numeric.h"

#include <cmath>

// 1 / tan θ for θ in radians, in single precision. A sprite near horizontal
// gets a huge shear and lies edge-on, covering no pixel. tan θ is exactly 0
// only at θ = 0 (no other multiple of π is a float), where the quotient would
// be infinite and the sprite's corners not numbers at all: there, as for an
// angle that is not a number, the shear of the half turn is taken, which lies
// just as flat and stays finite.
inline float ShearFromRadians(float theta)
{
    const float shear = 1.0f / std::tan(theta);
    return std::isfinite(shear) ? shear : 1.0f / std::tan(Pi);
}

// θ given in degrees from the +x axis (90 is upright).
inline float ShearFromAngle(float thetaDegrees)
{
    return ShearFromRadians(thetaDegrees * 2.0f * Pi / 360.0f);
}

// The shear of a sprite swayed by `leanDegrees` from upright (positive leans
// its top to the left on screen: the up axis points down the screen): the
// sprite's angle is 90 + lean and its shear 1 / tan(180 - that), so
// tan(lean).
inline float ShearFromLean(float leanDegrees)
{
    const float angle = leanDegrees + 90.0f;
    return ShearFromAngle(180.0f - angle);
}
