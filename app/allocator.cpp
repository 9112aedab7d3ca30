// The C allocator's thresholds. A software GL driver allocates and frees hundreds of buffers of 64 KB to
// 1 MB in every frame with many vertices. With glibc's defaults each such buffer is mapped fresh from
// the kernel and unmapped again when freed (or trimmed off the top of the heap), so every frame faults
// all of that memory in anew: millions of page faults, and a full-swarm frame two to three times slower
// than it needs to be. Raised thresholds keep the memory in the heap, where the next frame reuses it;
// resident memory stays about the same, since the driver needs that much in every frame anyway.
#include "app/allocator.h"

#include <cstdlib> // defines __GLIBC__ on glibc systems

#if defined(__GLIBC__)
#include <malloc.h>

namespace {
// The largest mmap threshold glibc accepts on 64-bit systems; blocks above it are rare and long-lived.
constexpr int kMmapThreshold = 32 * 1024 * 1024;
// Free memory at the top of the heap that is kept rather than given back.
constexpr int kTrimThreshold = 64 * 1024 * 1024;
} // namespace
#endif

bool raiseAllocatorThresholds() {
#if defined(__GLIBC__)
    const bool mmapSet = mallopt(M_MMAP_THRESHOLD, kMmapThreshold) == 1;
    const bool trimSet = mallopt(M_TRIM_THRESHOLD, kTrimThreshold) == 1;
    return mmapSet && trimSet;
#else
    return false;
#endif
}
