// Counts heap allocations made through operator new on the threads that ask to be counted: the game's
// own code allocates that way on the game's thread. The GL driver's rasteriser and the mixer allocate on
// threads of their own, and the driver's C code allocates with malloc, so neither is counted (except
// where the driver's shader compiler, which is C++, compiles a new variant on the game's thread).
// A benchmark that links this file replaces the program's operator new and delete.
#pragma once

// From now on, operator new on the calling thread counts.
void countAllocationsOnThisThread();
// Allocations counted so far, on every counting thread together.
long countedAllocations();
