// The program's one random generator. Every draw of every part comes from it
// on the one thread, in a fixed order, and it is never seeded, so every run
// plays the same sequence. It is the program's own so that nothing else (the
// C runtime, a library) can advance it.
#pragma once

// Largest value Rand() returns.
constexpr int RandMax = 32767;

// The next draw, 0 to RandMax.
int Rand();

// One draw as a fraction, 0 to 1 with both ends.
inline float RandomUnit() { return static_cast<float>(Rand()) / static_cast<float>(RandMax); }

// One draw as a sign: -1 when the draw is odd, else +1.
inline float RandomSign() { return (Rand() & 1) ? -1.0f : 1.0f; }

// One draw spread evenly over a span of range centred on 0: from -range / 2
// to +range / 2.
inline float RandomCentred(float range) { return RandomUnit() * range - range * 0.5f; }

// a + (draw / 32767) x (b - a) with one draw of Rand(): between a and b, both
// included, in either order.
float RandomRange(float a, float b);
