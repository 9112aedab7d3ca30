// The C allocator's thresholds, set once at the very start of the program.
#pragma once

// Keeps the allocator from handing the GL driver's large per-frame buffers back to the kernel after
// every frame (see allocator.cpp). True when the allocator took both settings.
bool raiseAllocatorThresholds();
