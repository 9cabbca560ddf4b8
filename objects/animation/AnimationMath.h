// Angle conversion that the animations share.
#pragma once

#include "foundation/core/Numeric.h"

#include <windows.h>
#include <d3dx9math.h>

// Angles are kept in degrees; rotations take radians.
inline float Radians(float degrees) { return degrees * 2.0f * Pi / 360.0f; }
