// For tests only: how often the program has looked for a resource module, so
// that a test can see a module that does not load being looked for again.
#pragma once

#include <cstdint>

// Calls of LoadResourceModule that named a module (not the program itself)
// since the program started.
uint32_t ModuleSearchesForTesting();
