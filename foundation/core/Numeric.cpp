#include "foundation/core/Numeric.h"

#include <cmath>

namespace {

// The pseudo-random value at integer n, in (-1, 1], in wrapping 32-bit
// arithmetic.
double LatticeValue(int32_t n)
{
    const uint32_t u = static_cast<uint32_t>(n);
    const uint32_t h = u ^ (u << 13);
    const uint32_t k = (h * (h * h * 15731u + 789221u) - 771171059u) & 0x7FFFFFFFu;
    return 1.0 - static_cast<double>(k) / 1073741824.0;
}

// base^exponent by repeated squaring (exponent >= 0).
double PowerBySquaring(double base, int32_t exponent)
{
    double result = 1.0;
    while (exponent > 0) {
        if (exponent & 1)
            result *= base;
        base *= base;
        exponent >>= 1;
    }
    return result;
}

} // namespace

int32_t RoundToInt(float x)
{
    // Every float is exact in double, and so are floor and the difference.
    const double d = x;
    double r = std::floor(d);
    const double fraction = d - r;
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(r, 2.0) != 0.0))
        r += 1.0;
    if (!(r >= -2147483648.0 && r < 2147483648.0))
        return INT32_MIN;
    return static_cast<int32_t>(r);
}

int32_t TruncateToInt32(double x)
{
    if (!(x > -2147483649.0 && x < 2147483648.0))
        return INT32_MIN;
    return static_cast<int32_t>(x);
}

double ValueNoise1D(double x)
{
    const int32_t i0 = TruncateToInt32(x);
    // Wraps at the top of the range instead of overflowing.
    const int32_t i1 = static_cast<int32_t>(static_cast<uint32_t>(i0) + 1u);
    const double f = (1.0 - std::cos((x - i0) * PiToEightFigures)) * 0.5;
    return LatticeValue(i0) * (1.0 - f) + LatticeValue(i1) * f;
}

double FractalNoise1D(double a, double b, double p, int32_t count)
{
    double sum = 0.0;
    for (int32_t i = 0; i < count; ++i)
        sum += PowerBySquaring(p, i) * ValueNoise1D(PowerBySquaring(2.0, i) * a / b);
    return sum;
}
