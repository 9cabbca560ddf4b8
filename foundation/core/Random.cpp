#include "foundation/core/Random.h"
#include "foundation/core/RandomForTesting.h"

#include <algorithm>
#include <cstdint>

namespace {

// Linear congruential generator, wrapping in 32 bits.
constexpr uint32_t Multiplier = 214013u;
constexpr uint32_t Increment = 2531011u;

uint32_t state = 1;

} // namespace

int Rand()
{
    state = state * Multiplier + Increment;
    // The low bits of such a generator repeat quickly; bits 16 to 30 do not.
    return static_cast<int>((state >> 16) & 0x7FFFu);
}

void ResetRandForTesting(uint32_t newState)
{
    state = newState;
}

float RandomRange(float a, float b)
{
    const int draw = Rand();
    const float span = b - a;
    const float product = static_cast<float>(static_cast<double>(draw) / RandMax * span);
    const float value = a + product;
    // When a and b differ greatly in size, rounding b - a to float can carry
    // the sum past b; the result is kept inside the range.
    return std::clamp(value, std::min(a, b), std::max(a, b));
}
