// Process-wide services of the platform library: the string allocator, the
// temporary load buffers and the debug pointer checks.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform_api.h"

// The allocator behind value strings and growable memory. The located forms
// take the caller's source position for bookkeeping only.
class QPLATFORM_API IMemAlloc
{
public:
    virtual void* Alloc(size_t size, const char* fileName, int line) = 0;
    virtual void* Alloc(size_t size) = 0;
    virtual void* Realloc(void* memory, size_t size, const char* fileName, int line) = 0;
    virtual void* Realloc(void* memory, size_t size) = 0;
    virtual void Free(void* memory, const char* fileName, int line) = 0;
    virtual void Free(void* memory) = 0;

protected:
    ~IMemAlloc() {}
};

// Running totals of the allocator (since the start of the process).
struct MemAllocStats
{
    uint64_t allocations;    // Alloc calls and Realloc calls from null
    uint64_t bytesRequested; // sizes passed to Alloc and Realloc
    uint64_t frees;          // Free calls with a non-null pointer
};

extern QPLATFORM_API IMemAlloc* g_pMemAlloc;
QPLATFORM_API MemAllocStats GetMemAllocStats();

// Temporary buffers for loading files. Buffers nest: each release gives back
// the most recent buffer still held. Returns null when the memory cannot be had.
QPLATFORM_API void* TempBufferAlloc(size_t size);
QPLATFORM_API void TempBufferRelease();

// Debug checks of caller pointers; they return normally for valid arguments
// and have no effect on results.
QPLATFORM_API void AssertValidStringPtr(const char* text, int maxLength = 0xFFFFFF);
QPLATFORM_API void _AssertValidWritePtr(void* buffer, int size);
