// The global new and delete replaced, so that a test or benchmark sees the program's allocations:
// each is counted, and on a thread that sets a limit, one larger than it fails as when memory runs
// out. Defines the operators: include it in one source file of a program only.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace replaced_new {

// Allocations so far, on every thread.
inline std::atomic<long> gAllocations{0};
// Allocations larger than this fail on the thread that set it.
inline thread_local std::size_t tLargestAllocation = SIZE_MAX;

}  // namespace replaced_new

void* operator new(std::size_t size) {
    ++replaced_new::gAllocations;
    if (size > replaced_new::tLargestAllocation)
        throw std::bad_alloc();
    if (void* p = std::malloc(size == 0 ? 1 : size))
        return p;
    throw std::bad_alloc();
}
// GCC cannot see that these replace the global pair whose new above uses malloc.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
#pragma GCC diagnostic pop
