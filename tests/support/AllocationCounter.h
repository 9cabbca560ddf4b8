// Counts the blocks that operator new has handed out and operator delete has
// not yet taken back, in this test executable, so that a test can see that
// a failed load leaves nothing behind.
#pragma once

long long LiveAllocations();
// Every block handed out since the program started.
long long AllocationsMade();
