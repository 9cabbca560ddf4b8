// Angle conversion and random fractions that the animations share.
#pragma once

#include "foundation/Random.h"

#include <windows.h>
#include <d3dx9math.h>

// Angles are kept in degrees; rotations take radians.
inline float Radians(float degrees) { return degrees * 2.0f * D3DX_PI / 360.0f; }

// One draw of the random generator as a fraction, 0 to 1 with both ends.
inline float DrawFraction() { return static_cast<float>(Rand()) / static_cast<float>(RandMax); }

// -1 when a draw is odd, else +1.
inline float DrawSign() { return (Rand() & 1) ? -1.0f : 1.0f; }
