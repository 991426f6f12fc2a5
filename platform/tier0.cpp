#include "tier0.h"

#include <cassert>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "smallblocks.h"

namespace
{

MemAllocStats s_allocStats;

// Blocks up to SMALL_BLOCK_LIMIT bytes come from a small-block heap, one size
// class per multiple of SMALL_BLOCK_STEP (so they keep the C heap's 16-byte
// alignment); larger ones from the C heap. Value strings are small and many:
// the heap serves them densely and without the C heap's bookkeeping.
const size_t SMALL_BLOCK_STEP = 16;
const size_t SMALL_BLOCK_LIMIT = 256;
// Chunks of the small-block heap kept for reuse once all their blocks are
// back (256 chunks of 64 KB: 16 MB); beyond these they go back to the C heap.
const size_t KEEP_EMPTY_CHUNKS = 256;

class SmallBlocks
{
public:
    SmallBlocks() : m_heap(KEEP_EMPTY_CHUNKS)
    {
        for (size_t i = 0; i < CLASSES; ++i)
            m_classes[i] = m_heap.AddSizeClass((i + 1) * SMALL_BLOCK_STEP);
    }

    static bool IsSmall(size_t size) { return QPLATFORM_SMALL_BLOCKS && size <= SMALL_BLOCK_LIMIT; }
    void* Alloc(size_t size) { return m_heap.Alloc(m_classes[size ? (size - 1) / SMALL_BLOCK_STEP : 0]); }
    bool Owns(const void* memory) const { return m_heap.Owns(memory); }
    void Free(void* memory) { m_heap.Free(memory); }
    static size_t BlockSize(const void* memory) { return qplatform::SmallBlockHeap::BlockSize(memory); }

private:
    static const size_t CLASSES = SMALL_BLOCK_LIMIT / SMALL_BLOCK_STEP;
    qplatform::SmallBlockHeap m_heap;
    qplatform::SmallBlockHeap::SizeClass* m_classes[CLASSES];
};

SmallBlocks& Small()
{
    // Never destroyed: strings may be freed during static destruction.
    static SmallBlocks* blocks = new SmallBlocks;
    return *blocks;
}

bool IsSmallBlock(const void* memory)
{
    return QPLATFORM_SMALL_BLOCKS && Small().Owns(memory);
}

void* AllocBlock(size_t size)
{
    return SmallBlocks::IsSmall(size) ? Small().Alloc(size) : std::malloc(size);
}

// The allocator over the small-block heap and the C heap; source positions
// are not kept.
class CStdMemAlloc final : public IMemAlloc
{
public:
    constexpr CStdMemAlloc() {}

    void* Alloc(size_t size, const char*, int) override { return Alloc(size); }
    void* Alloc(size_t size) override
    {
        ++s_allocStats.allocations;
        s_allocStats.bytesRequested += size;
        return AllocBlock(size ? size : 1);
    }
    void* Realloc(void* memory, size_t size, const char*, int) override { return Realloc(memory, size); }
    void* Realloc(void* memory, size_t size) override
    {
        if (!memory)
            ++s_allocStats.allocations;
        s_allocStats.bytesRequested += size;
        if (!size)
            size = 1;
        if (!memory)
            return AllocBlock(size);
        if (!IsSmallBlock(memory))
            return std::realloc(memory, size);
        const size_t blockSize = SmallBlocks::BlockSize(memory);
        // Kept in place while the size stays in the block's class.
        if (size <= blockSize && size > blockSize - SMALL_BLOCK_STEP)
            return memory;
        void* moved = AllocBlock(size);
        if (!moved)
            return nullptr;
        std::memcpy(moved, memory, size < blockSize ? size : blockSize);
        Small().Free(memory);
        return moved;
    }
    void Free(void* memory, const char*, int) override { Free(memory); }
    void Free(void* memory) override
    {
        if (!memory)
            return;
        ++s_allocStats.frees;
        if (IsSmallBlock(memory))
            Small().Free(memory);
        else
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
