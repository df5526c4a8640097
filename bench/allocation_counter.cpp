// Replaces the global allocation functions in the benchmark binary so the
// tick can be shown to stay off the heap.
#include "allocation_counter.h"

#include <cstdlib>
#include <new>

namespace {
long g_allocations = 0;

void* Allocate(std::size_t size) {
    ++g_allocations;
    return std::malloc(size ? size : 1);
}
}  // namespace

long HeapAllocations() { return g_allocations; }

void* operator new(std::size_t size) {
    if (void* p = Allocate(size)) return p;
    throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }
