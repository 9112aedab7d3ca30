// The counting operator new and delete behind allocation_counter.h. They hand out malloc'd memory, so
// GCC, which cannot see that the replaced delete matches, is told not to warn (see the CMake files).
#include "bench/system/allocation_counter.h"

#include <cstdlib>
#include <new>

namespace {
long allocations = 0;
thread_local bool countingThread = false;
} // namespace

void countAllocationsOnThisThread() {
    countingThread = true;
}

long countedAllocations() {
    return allocations;
}

void* operator new(std::size_t size) {
    if (countingThread) {
        ++allocations;
    }
    if (void* memory = std::malloc(size == 0 ? 1 : size)) {
        return memory;
    }
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
