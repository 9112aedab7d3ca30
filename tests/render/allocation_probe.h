// Watches the sizes this test binary asks operator new for, so that a test can show that a hostile
// file does not make a loader allocate what its header claims.
#pragma once

#include <cstddef>

// Forgets the sizes seen so far.
void resetLargestAllocation();
// The largest single operator new request since the last reset.
size_t largestAllocation();
