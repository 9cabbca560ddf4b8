#include "foundation/core/Random.h"
#include "foundation/core/RandomForTesting.h"
#include "tests/support/ReferenceRandom.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

namespace {

// Drawn while this executable starts, before any test can reset the state.
const int firstDrawAtStartUp = Rand();

} // namespace

TEST(Rand, StartsFromStateOne)
{
    EXPECT_EQ(41, firstDrawAtStartUp);
}

TEST(Rand, FollowsTheLinearCongruentialSequenceFromStateOne)
{
    ResetRandForTesting();
    EXPECT_EQ(41, Rand());
    EXPECT_EQ(18467, Rand());
    EXPECT_EQ(6334, Rand());
    EXPECT_EQ(26500, Rand());
    EXPECT_EQ(19169, Rand());

    ResetRandForTesting();
    ReferenceRandom reference(1);
    for (int i = 0; i < 100000; ++i) {
        const int expected = reference.Next();
        ASSERT_EQ(expected, Rand()) << "draw " << i;
    }
}

TEST(Rand, IsNotDisturbedByTheRuntimeGenerator)
{
    ResetRandForTesting();
    const int first = Rand();
    const int second = Rand();

    ResetRandForTesting();
    std::srand(12345);
    EXPECT_EQ(first, Rand());
    for (int i = 0; i < 10; ++i)
        (void)std::rand();
    EXPECT_EQ(second, Rand());
}
