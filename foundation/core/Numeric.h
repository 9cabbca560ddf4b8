// Numeric helpers shared by the scene parts: pi, quotients, rounding,
// truncation and one-dimensional value noise.
#pragma once

#include <cmath>
#include <cstdint>

// pi to the precision of each type.
constexpr float Pi = 3.14159265358979323846f;
constexpr double PiDouble = 3.14159265358979323846;

// pi and 2 pi written to eight figures. The brushes' angles, the expanding
// brush's period and the noise's ease are computed in double with these
// values; they differ from PiDouble (and from Pi widened) in the eighth
// figure, which can change a rounded float result.
constexpr double PiToEightFigures = 3.1415927;
constexpr double TwoPiToEightFigures = 6.2831855;

// a / b where b is not 0, and whenZero where it is. The caller says what a
// zero size or extent stands for (no scale, no offset ...).
inline float QuotientOr(float a, float b, float whenZero) { return b != 0.0f ? a / b : whenZero; }

// v where it is finite, and otherwise where it is infinite or NaN.
inline float FiniteOr(float v, float otherwise) { return std::isfinite(v) ? v : otherwise; }

// x rounded to the nearest integer, halves to the even neighbour, whatever
// rounding mode the floating-point unit has been left in. NaN and values
// outside the int32 range give 0x80000000, as the processor's conversion does.
int32_t RoundToInt(float x);

// x toward zero, as the processor's conversion does it, without the undefined
// behaviour of a plain cast: NaN and values outside the int32 range give
// 0x80000000. Floats pass exactly, so they truncate as floats would.
int32_t TruncateToInt32(double x);

// Smooth noise in (-1, 1]: a pseudo-random value at each integer, eased
// between neighbours along a half cosine. The integers are taken by
// truncation toward zero, so the ease runs from the integer nearer zero.
double ValueNoise1D(double x);

// Sum over octaves i < count of p^i x ValueNoise1D(2^i x a / b); 0 when count
// is 0 or less.
double FractalNoise1D(double a, double b, double p, int32_t count);
