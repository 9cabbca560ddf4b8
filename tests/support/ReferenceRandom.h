// The program's random generator written out again on its own, so that a
// test can predict the draws the code under test makes and check the
// generator itself against it. It shares no code with foundation/core: a
// mistake there does not carry over into the reference.
#pragma once

#include <cstdint>

class ReferenceRandom {
public:
    // A linear congruential generator wrapping in 32 bits.
    static constexpr uint32_t Multiplier = 214013u;
    static constexpr uint32_t Increment = 2531011u;
    // A draw is bits 16 to 30 of the state after the step.
    static constexpr int DrawShift = 16;
    static constexpr uint32_t DrawMask = 0x7FFFu;

    // The next draw is the one Rand() gives after ResetRandForTesting(start).
    explicit ReferenceRandom(uint32_t start) : state(start) {}

    int Next()
    {
        state = Step(state);
        return static_cast<int>((state >> DrawShift) & DrawMask);
    }
    uint32_t State() const { return state; }

    // The state one step after s.
    static constexpr uint32_t Step(uint32_t s) { return s * Multiplier + Increment; }
    // The state one step before s: the step undone with the multiplier's
    // inverse modulo 2^32 (the multiplier is odd, so it has one).
    static constexpr uint32_t StepBack(uint32_t s) { return (s - Increment) * MultiplierInverse(); }

private:
    // Newton's iteration for an inverse modulo 2^32: the multiplier is its
    // own inverse to 3 bits, and each step doubles the bits that are right.
    static constexpr uint32_t MultiplierInverse()
    {
        uint32_t inverse = Multiplier;
        for (int i = 0; i < 5; ++i)
            inverse *= 2u - Multiplier * inverse;
        return inverse;
    }

    uint32_t state;
};
