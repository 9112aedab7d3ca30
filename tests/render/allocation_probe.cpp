// Replacement global operators new and delete that remember the largest request. They live in a file
// of their own, away from any caller, so that the compiler never pairs their malloc with a caller's
// delete. Every form is replaced together, so that memory from any of them (libraries use the nothrow
// forms too) goes back through the matching free.
#include "tests/render/allocation_probe.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<size_t> largest{0};

void* probedAllocation(size_t size) {
    size_t seen = largest.load();
    while (size > seen && !largest.compare_exchange_weak(seen, size)) {
    }
    return std::malloc(size == 0 ? 1 : size);
}
} // namespace

void resetLargestAllocation() {
    largest = 0;
}

size_t largestAllocation() {
    return largest.load();
}

void* operator new(size_t size) {
    if (void* p = probedAllocation(size)) {
        return p;
    }
    throw std::bad_alloc();
}

void* operator new[](size_t size) {
    return operator new(size);
}
void* operator new(size_t size, const std::nothrow_t&) noexcept {
    return probedAllocation(size);
}
void* operator new[](size_t size, const std::nothrow_t&) noexcept {
    return probedAllocation(size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, size_t) noexcept {
    std::free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
