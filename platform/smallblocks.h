// Small fixed-size blocks carved out of chunks aligned to their own size, so
// that the chunk of a block is found from its address. Each chunk serves one
// block size at a time: it hands out its blocks in address order until it has
// handed them all out once, then those on its own free list. A chunk whose
// blocks are all back starts over in address order and may serve another
// size; so a tree freed as a whole and read again is laid out as densely as
// the first time, and the next reads walk memory forwards.
//
// Under AddressSanitizer the platform's allocators bypass these chunks and use
// the C heap, so that use after free and leaks are reported block by block.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
#define QPLATFORM_SMALL_BLOCKS 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define QPLATFORM_SMALL_BLOCKS 0
#endif
#endif
#ifndef QPLATFORM_SMALL_BLOCKS
#define QPLATFORM_SMALL_BLOCKS 1
#endif

namespace qplatform
{

class SmallBlockHeap
{
public:
    static constexpr size_t CHUNK_BYTES = 64 * 1024; // also the alignment of a chunk
    static constexpr size_t CHUNK_HEADER_BYTES = 64; // blocks start this far into a chunk
    static constexpr size_t BLOCK_ALIGNMENT = 8;     // block sizes are multiples of this
    static constexpr size_t MAX_BLOCK_BYTES = CHUNK_BYTES / 4;

    struct Chunk; // at the start of each chunk
    // One block size and the chunks serving it that have a block to spare.
    struct SizeClass
    {
        uint32_t blockSize;
        Chunk* roomHead = nullptr; // allocated from first
        Chunk* roomTail = nullptr;
    };

    // keepEmptyChunks: how many chunks with no block in use are kept for
    // later; further ones go back to the C heap. A heap has no destructor:
    // it lives to the end of the process, as blocks may be freed during
    // static destruction.
    explicit SmallBlockHeap(size_t keepEmptyChunks) : m_keepEmptyChunks(keepEmptyChunks) {}
    SmallBlockHeap(const SmallBlockHeap&) = delete;
    SmallBlockHeap& operator=(const SmallBlockHeap&) = delete;

    // A class of blocks of blockSize bytes (a multiple of BLOCK_ALIGNMENT, at
    // most MAX_BLOCK_BYTES); the class lives as long as the heap.
    SizeClass* AddSizeClass(size_t blockSize);

    // A block of the class, null when the C heap has no chunk to give.
    inline void* Alloc(SizeClass* sizeClass);
    // Gives back a block of this heap.
    inline void Free(void* block);
    // Whether the memory is a block of this heap.
    bool Owns(const void* memory) const;
    // The size of a block of this heap.
    static size_t BlockSize(const void* block);

    struct FreeBlock
    {
        FreeBlock* next;
    };

    struct Chunk
    {
        char* bump;          // the next block never handed out
        char* end;           // past the last whole block
        FreeBlock* freeList; // blocks given back
        SizeClass* owner;    // null while the chunk is empty and unassigned
        Chunk* prev;         // in the owner's list of chunks with room, or the empty list
        Chunk* next;
        uint32_t blockSize;
        uint32_t live; // blocks handed out and not given back
        bool listed;   // in the owner's list of chunks with room
    };

private:
    static Chunk* ChunkOf(const void* block)
    {
        return reinterpret_cast<Chunk*>(reinterpret_cast<uintptr_t>(block) & ~(uintptr_t(CHUNK_BYTES) - 1));
    }

    Chunk* NewChunk(SizeClass* sizeClass);
    // Moves between lists: a chunk that has handed out its last block, a
    // full chunk given a block back, a chunk given back its last block.
    void ChunkFilled(Chunk* chunk);
    void ChunkRegainedRoom(Chunk* chunk);
    void ChunkEmptied(Chunk* chunk);

    // The chunks' addresses in an open-addressing table, for Owns.
    void Register(uintptr_t base);
    void Unregister(uintptr_t base);
    size_t Slot(uintptr_t base) const;

    std::vector<SizeClass*> m_sizeClasses;
    Chunk* m_emptyHead = nullptr; // empty chunks, reused in the order they emptied
    Chunk* m_emptyTail = nullptr;
    size_t m_emptyCount = 0;
    size_t m_keepEmptyChunks;
    std::vector<uintptr_t> m_chunkTable; // 0 = free slot
    size_t m_chunkCount = 0;
};

void* SmallBlockHeap::Alloc(SizeClass* sizeClass)
{
    Chunk* chunk = sizeClass->roomHead;
    if (!chunk && !(chunk = NewChunk(sizeClass)))
        return nullptr;
    void* block;
    if (chunk->bump != chunk->end)
    {
        block = chunk->bump;
        chunk->bump += chunk->blockSize;
    }
    else
    {
        FreeBlock* freeBlock = chunk->freeList;
        chunk->freeList = freeBlock->next;
        block = freeBlock;
    }
    ++chunk->live;
    if (chunk->bump == chunk->end && !chunk->freeList)
        ChunkFilled(chunk);
    return block;
}

void SmallBlockHeap::Free(void* block)
{
    Chunk* chunk = ChunkOf(block);
    FreeBlock* freeBlock = static_cast<FreeBlock*>(block);
    freeBlock->next = chunk->freeList;
    chunk->freeList = freeBlock;
    if (!chunk->listed)
        ChunkRegainedRoom(chunk);
    if (--chunk->live == 0)
        ChunkEmptied(chunk);
}

} // namespace qplatform
