// The program's allocation, refused where RefusedMemory.h says. Include it in exactly one source
// file of a test program: it defines the one allocation function of the whole program.
#pragma once

#include "RefusedMemory.h"

#include <cstdlib>
#include <new>

void* operator new(std::size_t bytes) {
    using namespace refusedmemory;
    if (t_refused) throw std::bad_alloc();
    if (counting.load(std::memory_order_relaxed) && counted.fetch_add(1) + 1 == failAt.load()) throw std::bad_alloc();
    if (void* p = std::malloc(bytes ? bytes : 1)) return p;
    throw std::bad_alloc();
}
// GCC takes the free below for a mismatch with new, not knowing that this new is malloc.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop
