#include "foundation/core/Numeric.h"
#include "foundation/core/Random.h"
#include "foundation/core/RandomForTesting.h"
#include "tests/support/ReferenceRandom.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

namespace {

// The generator's state whose next draw is wanted: the state after the
// draw must hold the draw in bits 16 to 30, so step back from there.
uint32_t StateBeforeDraw(int draw)
{
    return ReferenceRandom::StepBack(static_cast<uint32_t>(draw) << ReferenceRandom::DrawShift);
}

// Lattice values worked out by hand from the noise's hash.
const double V0 = 1.0 - 1376312589.0 / 1073741824.0;
const double V1 = 1.0 - 1316808037.0 / 1073741824.0;
const double V2 = 1.0 - 758455919.0 / 1073741824.0;

} // namespace

TEST(RoundToInt, HalvesGoToTheEvenNeighbour)
{
    const struct {
        float x;
        int32_t expected;
    } cases[] = {
        {2.5f, 2},  {3.5f, 4},   {-1.5f, -2},  {-2.5f, -2},  {0.5f, 0},
        {1.5f, 2},  {2.4f, 2},   {2.6f, 3},    {-2.6f, -3},  {-0.4f, 0},
        {0.49999997f, 0}, {-0.49999997f, 0},   {8388609.0f, 8388609},
        {2147483520.0f, 2147483520}, {-2147483648.0f, INT32_MIN},
        {2147483648.0f, INT32_MIN},  {1e20f, INT32_MIN},
        {std::numeric_limits<float>::quiet_NaN(), INT32_MIN},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.expected, RoundToInt(c.x)) << c.x;
}

TEST(ValueNoise1D, EqualsTheLatticeAtNonNegativeIntegers)
{
    EXPECT_GT(ValueNoise1D(0.0), -0.29);
    EXPECT_LT(ValueNoise1D(0.0), -0.28);
    EXPECT_DOUBLE_EQ(V0, ValueNoise1D(0.0));
    EXPECT_DOUBLE_EQ(V1, ValueNoise1D(1.0));
    EXPECT_DOUBLE_EQ(V2, ValueNoise1D(2.0));
}

TEST(ValueNoise1D, EasesAlongAHalfCosineBetweenIntegers)
{
    // Halfway the ease weighs both neighbours equally (up to the rounded
    // constant in the cosine).
    EXPECT_NEAR((V0 + V1) / 2.0, ValueNoise1D(0.5), 1e-7);
    const double f = (1.0 - std::cos(0.25 * 3.1415927)) * 0.5;
    EXPECT_NEAR(V1 * (1.0 - f) + V2 * f, ValueNoise1D(1.25), 1e-12);
    // Negative x truncates toward zero: -0.5 eases from 0 toward 1 as well.
    EXPECT_NEAR((V0 + V1) / 2.0, ValueNoise1D(-0.5), 1e-7);
}

TEST(ValueNoise1D, StaysInRangeFarFromZero)
{
    for (double x : {1e12, -1e12, 2147483647.5, -2147483648.5, 1e300}) {
        const double v = ValueNoise1D(x);
        EXPECT_GT(v, -1.0) << x;
        EXPECT_LE(v, 1.0) << x;
    }
}

TEST(FractalNoise1D, SumsOctavesOfDoublingFrequency)
{
    EXPECT_EQ(ValueNoise1D(3.0 / 4.0), FractalNoise1D(3.0, 4.0, 0.5, 1));
    EXPECT_EQ(0.0, FractalNoise1D(3.0, 4.0, 0.5, 0));
    EXPECT_EQ(0.0, FractalNoise1D(3.0, 4.0, 0.5, -2));
    const double expected = ValueNoise1D(0.75) + 0.5 * ValueNoise1D(1.5) + 0.25 * ValueNoise1D(3.0);
    EXPECT_DOUBLE_EQ(expected, FractalNoise1D(3.0, 4.0, 0.5, 3));
}

TEST(RandomRange, SpansBothEndsOfTheRange)
{
    ResetRandForTesting(StateBeforeDraw(32767));
    EXPECT_EQ(1.0f, RandomRange(0.0f, 1.0f));
    ResetRandForTesting(StateBeforeDraw(32766));
    EXPECT_LT(RandomRange(0.0f, 1.0f), 1.0f);
    ResetRandForTesting(StateBeforeDraw(0));
    EXPECT_EQ(-3.0f, RandomRange(-3.0f, 7.0f));
    ResetRandForTesting(StateBeforeDraw(16384));
    EXPECT_FLOAT_EQ(-3.0f + 16384.0f / 32767.0f * 10.0f, RandomRange(-3.0f, 7.0f));

    ResetRandForTesting();
    for (int i = 0; i < 1000; ++i) {
        EXPECT_EQ(5.0f, RandomRange(5.0f, 5.0f));
        const float reversed = RandomRange(2.0f, 1.0f);
        EXPECT_GE(reversed, 1.0f);
        EXPECT_LE(reversed, 2.0f);
    }
}

TEST(RandomRange, StaysInsideWhenTheEndsDifferGreatlyInSize)
{
    // b - a rounds up to 100000008 here, which alone would give 8.
    ResetRandForTesting(StateBeforeDraw(32767));
    EXPECT_EQ(5.0f, RandomRange(-1e8f, 5.0f));
}

TEST(RandomRange, DrawsOnceFromTheGenerator)
{
    ResetRandForTesting();
    RandomRange(0.0f, 1.0f);
    const int next = Rand();
    ResetRandForTesting();
    Rand();
    EXPECT_EQ(Rand(), next);
}
