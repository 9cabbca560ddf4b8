// The program's one random generator. Every draw of every part comes from it
// on the one thread, in a fixed order, and it is never seeded, so every run
// plays the same sequence. It is the program's own so that nothing else (the
// C runtime, a library) can advance it.
#pragma once

// Largest value Rand() returns.
constexpr int RandMax = 32767;

// The next draw, 0 to RandMax.
int Rand();
