// For tests only: puts the random generator into a known state.
#pragma once

#include <cstdint>

// The next Rand() is drawn from state (1 is the state at start-up).
void ResetRandForTesting(uint32_t state = 1);
