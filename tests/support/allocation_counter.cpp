// Every operator new of a test program passes here and is counted.
#include "support/allocation_counter.h"

#include <cstdlib>
#include <new>

namespace {

long s_allocations = 0;

}  // namespace

long heapAllocations() {
    return s_allocations;
}

void* operator new(std::size_t size) {
    ++s_allocations;
    if (void* p = std::malloc(size ? size : 1)) return p;
    throw std::bad_alloc();
}

// The nothrow form too (the GL driver uses it), so that every block our delete frees came
// from malloc: a sanitizer reports a mismatch otherwise.
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++s_allocations;
    return std::malloc(size ? size : 1);
}

void operator delete(void* p) noexcept {
    std::free(p);
}

void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}

void operator delete(void* p, const std::nothrow_t&) noexcept {
    std::free(p);
}
