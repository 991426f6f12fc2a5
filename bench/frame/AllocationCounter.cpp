// Counts every heap allocation of the process: malloc, calloc and realloc
// are replaced by forwards to the C library's own that count each call
// (operator new and the GUI library's allocator end up here too).
#include "AllocationCounter.h"

#include <atomic>
#include <cstddef>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* memory, size_t size);
}

namespace
{
std::atomic<unsigned long long> g_allocations{0};
}

unsigned long long HeapAllocations()
{
    return g_allocations.load(std::memory_order_relaxed);
}

extern "C" {
void* malloc(size_t size)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_malloc(size);
}

void* calloc(size_t count, size_t size)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_calloc(count, size);
}

void* realloc(void* memory, size_t size)
{
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    return __libc_realloc(memory, size);
}
}
