#include "tier0.h"

#include <cassert>
#include <cstdlib>
#include <vector>

namespace
{

MemAllocStats s_allocStats;

// The allocator over the C heap; source positions are not kept.
class CStdMemAlloc final : public IMemAlloc
{
public:
    constexpr CStdMemAlloc() {}

    void* Alloc(size_t size, const char*, int) override { return Alloc(size); }
    void* Alloc(size_t size) override
    {
        ++s_allocStats.allocations;
        s_allocStats.bytesRequested += size;
        return std::malloc(size ? size : 1);
    }
    void* Realloc(void* memory, size_t size, const char*, int) override { return Realloc(memory, size); }
    void* Realloc(void* memory, size_t size) override
    {
        if (!memory)
            ++s_allocStats.allocations;
        s_allocStats.bytesRequested += size;
        return std::realloc(memory, size ? size : 1);
    }
    void Free(void* memory, const char*, int) override { Free(memory); }
    void Free(void* memory) override
    {
        if (memory)
            ++s_allocStats.frees;
        std::free(memory);
    }
};

CStdMemAlloc s_memAlloc;

// Buffers handed out by TempBufferAlloc and not yet released, innermost last.
std::vector<void*>& TempBufferStack()
{
    // Never destroyed: buffers may be released during static destruction.
    static std::vector<void*>* stack = new std::vector<void*>;
    return *stack;
}

} // namespace

IMemAlloc* g_pMemAlloc = &s_memAlloc;

MemAllocStats GetMemAllocStats()
{
    return s_allocStats;
}

void* TempBufferAlloc(size_t size)
{
    void* buffer = std::malloc(size ? size : 1);
    if (!buffer)
        return nullptr;
    TempBufferStack().push_back(buffer);
    return buffer;
}

void TempBufferRelease()
{
    std::vector<void*>& stack = TempBufferStack();
    if (stack.empty())
        return;
    std::free(stack.back());
    stack.pop_back();
}

void AssertValidStringPtr(const char* text, int maxLength)
{
    (void)text;
    (void)maxLength;
    assert(text != nullptr);
}

void _AssertValidWritePtr(void* buffer, int size)
{
    (void)buffer;
    (void)size;
    assert(buffer != nullptr || size == 0);
}
