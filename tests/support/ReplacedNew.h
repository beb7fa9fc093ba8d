// The program's allocation, refused where RefusedMemory.h says. Include it in exactly one source
// file of a test program: it defines the one allocation function of the whole program.
#pragma once

#include "RefusedMemory.h"

#include <cstdlib>
#include <new>

namespace refusedmemory {

/// Throws where this allocation is to fail.
inline void RefuseWhereAsked() {
    if (t_refused) throw std::bad_alloc();
    if (counting.load(std::memory_order_relaxed) && counted.fetch_add(1) + 1 == failAt.load()) throw std::bad_alloc();
}

}  // namespace refusedmemory

void* operator new(std::size_t bytes) {
    refusedmemory::RefuseWhereAsked();
    if (void* p = std::malloc(bytes ? bytes : 1)) return p;
    throw std::bad_alloc();
}
// What asks for more than the usual alignment (a digest's state) fails alike.
void* operator new(std::size_t bytes, std::align_val_t alignment) {
    refusedmemory::RefuseWhereAsked();
    const std::size_t align = static_cast<std::size_t>(alignment);
    if (void* p = std::aligned_alloc(align, (bytes + align - 1) / align * align + (bytes ? 0 : align))) return p;
    throw std::bad_alloc();
}
// GCC takes the free below for a mismatch with new, not knowing that this new is malloc.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, std::align_val_t) noexcept { std::free(p); }
void operator delete(void* p, std::size_t, std::align_val_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop
