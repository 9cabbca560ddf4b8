// Conversions and random fractions that the particle code shares.
#pragma once

#include "foundation/Random.h"

#include <cstdint>

// Toward zero, as the processor converts: NaN and values beyond the int32
// range give 0x80000000 instead of undefined behaviour.
inline int32_t TruncateToInt(float x)
{
    if (!(x > -2147483648.0f && x < 2147483648.0f))
        return INT32_MIN;
    return static_cast<int32_t>(x);
}

// One draw of the random generator as a fraction, 0 to 1 with both ends.
inline float RandomUnit() { return static_cast<float>(Rand()) / static_cast<float>(RandMax); }
