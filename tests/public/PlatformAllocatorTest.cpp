// The platform's allocators as their users see them: g_pMemAlloc's sizes,
// alignment, reallocation and counts, and the key-values system's nodes,
// under churn that empties and refills their memory.
#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "KeyValues.h"
#include "keyvaluessystem.h"
#include "tier0.h"

namespace
{

bool Aligned(const void* memory, uintptr_t alignment)
{
    return reinterpret_cast<uintptr_t>(memory) % alignment == 0;
}

unsigned char Pattern(size_t block, size_t byte)
{
    return static_cast<unsigned char>(block * 31 + byte * 7 + 1);
}

void Fill(void* memory, size_t size, size_t block)
{
    for (size_t i = 0; i < size; ++i)
        static_cast<unsigned char*>(memory)[i] = Pattern(block, i);
}

bool Holds(const void* memory, size_t size, size_t block)
{
    for (size_t i = 0; i < size; ++i)
        if (static_cast<const unsigned char*>(memory)[i] != Pattern(block, i))
            return false;
    return true;
}

TEST(PlatformAllocator, EverySizeIsWritableAndAlignedLikeTheCHeap)
{
    const size_t sizes[] = {0, 1, 8, 15, 16, 17, 31, 32, 33, 100, 255, 256, 257, 1000, 70000};
    std::vector<void*> blocks;
    for (size_t i = 0; i < sizeof(sizes) / sizeof(sizes[0]); ++i)
    {
        void* memory = g_pMemAlloc->Alloc(sizes[i]);
        ASSERT_NE(memory, nullptr) << sizes[i];
        EXPECT_TRUE(Aligned(memory, alignof(std::max_align_t))) << sizes[i];
        Fill(memory, sizes[i], i);
        blocks.push_back(memory);
    }
    for (size_t i = 0; i < blocks.size(); ++i)
    {
        EXPECT_TRUE(Holds(blocks[i], sizes[i], i)) << sizes[i];
        g_pMemAlloc->Free(blocks[i]);
    }
}

TEST(PlatformAllocator, ReallocKeepsTheBytesThatFitAcrossBlockSizes)
{
    // Up and down through the small block sizes and the C heap's.
    const size_t steps[] = {1, 16, 17, 200, 256, 257, 5000, 100, 3, 0, 40, 300000, 24};
    void* memory = g_pMemAlloc->Realloc(nullptr, 1, __FILE__, __LINE__);
    ASSERT_NE(memory, nullptr);
    Fill(memory, 1, 0);
    size_t size = 1;
    for (size_t next : steps)
    {
        memory = g_pMemAlloc->Realloc(memory, next);
        ASSERT_NE(memory, nullptr) << next;
        EXPECT_TRUE(Aligned(memory, alignof(std::max_align_t))) << next;
        const size_t kept = next < size ? next : size;
        EXPECT_TRUE(Holds(memory, kept, 0)) << size << " -> " << next;
        Fill(memory, next, 0);
        size = next;
    }
    g_pMemAlloc->Free(memory, __FILE__, __LINE__);
}

TEST(PlatformAllocator, CountsCallsAsBefore)
{
    const MemAllocStats before = GetMemAllocStats();
    void* a = g_pMemAlloc->Alloc(10);
    void* b = g_pMemAlloc->Realloc(nullptr, 20);
    b = g_pMemAlloc->Realloc(b, 400);
    g_pMemAlloc->Free(nullptr);
    g_pMemAlloc->Free(a);
    g_pMemAlloc->Free(b);
    const MemAllocStats after = GetMemAllocStats();
    EXPECT_EQ(after.allocations - before.allocations, 2u);
    EXPECT_EQ(after.bytesRequested - before.bytesRequested, 430u);
    EXPECT_EQ(after.frees - before.frees, 2u);
}

// Enough blocks that whole runs of memory empty, get reused by other sizes
// and some go back to the C heap; no block may share bytes with another.
TEST(PlatformAllocator, ChurnOfMixedSizesKeepsEveryBlockIntact)
{
    const size_t count = 160000;
    std::vector<void*> blocks(count);
    std::vector<size_t> sizes(count);
    auto allocate = [&](size_t i, size_t round) {
        sizes[i] = (i * 37 + round * 11) % 300;
        blocks[i] = g_pMemAlloc->Alloc(sizes[i]);
        ASSERT_NE(blocks[i], nullptr);
        Fill(blocks[i], sizes[i], i + round);
    };
    for (size_t i = 0; i < count; ++i)
        allocate(i, 0);
    for (size_t i = 0; i < count; i += 2)
        g_pMemAlloc->Free(blocks[i]);
    for (size_t i = 0; i < count; i += 2)
        allocate(i, 1);
    for (size_t i = 0; i < count; ++i)
    {
        ASSERT_TRUE(Holds(blocks[i], sizes[i], i + (i % 2 ? 0 : 1))) << i;
        g_pMemAlloc->Free(blocks[i]);
    }
    for (size_t i = 0; i < count; ++i)
        allocate(i, 2);
    for (size_t i = count; i-- > 0;)
    {
        ASSERT_TRUE(Holds(blocks[i], sizes[i], i + 2)) << i;
        g_pMemAlloc->Free(blocks[i]);
    }
}

TEST(PlatformAllocator, NodesAreDistinctAlignedAndCounted)
{
    IKeyValuesSystem* system = KeyValuesSystem();
    const uint64_t liveBefore = system->GetStats().liveNodes;
    std::vector<void*> nodes;
    for (int round = 0; round < 2; ++round)
    {
        for (size_t i = 0; i < 50000; ++i)
        {
            void* node = system->AllocNode(sizeof(KeyValues));
            ASSERT_NE(node, nullptr);
            EXPECT_TRUE(Aligned(node, alignof(KeyValues)));
            Fill(node, sizeof(KeyValues), i);
            nodes.push_back(node);
        }
        // A request larger than a node is served too.
        void* large = system->AllocNode(4096);
        ASSERT_NE(large, nullptr);
        Fill(large, 4096, 7);
        EXPECT_EQ(system->GetStats().liveNodes, liveBefore + nodes.size() + 1);
        for (size_t i = 0; i < nodes.size(); ++i)
            ASSERT_TRUE(Holds(nodes[i], sizeof(KeyValues), i)) << i;
        EXPECT_TRUE(Holds(large, 4096, 7));
        system->FreeNode(large);
        for (void* node : nodes)
            system->FreeNode(node);
        nodes.clear();
        EXPECT_EQ(system->GetStats().liveNodes, liveBefore);
    }
}

} // namespace
