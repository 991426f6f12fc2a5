// The small-block heap: chunks, their lists and the table of their addresses.

#include "smallblocks.h"

#include <cstdlib>

namespace qplatform
{

namespace
{

template <typename Node>
void Append(Node*& head, Node*& tail, Node* node)
{
    node->prev = tail;
    node->next = nullptr;
    if (tail)
        tail->next = node;
    else
        head = node;
    tail = node;
}

template <typename Node>
void Unlink(Node*& head, Node*& tail, Node* node)
{
    if (node->prev)
        node->prev->next = node->next;
    else
        head = node->next;
    if (node->next)
        node->next->prev = node->prev;
    else
        tail = node->prev;
    node->prev = node->next = nullptr;
}

} // namespace

SmallBlockHeap::SizeClass* SmallBlockHeap::AddSizeClass(size_t blockSize)
{
    SizeClass* sizeClass = new SizeClass;
    sizeClass->blockSize = static_cast<uint32_t>(blockSize);
    m_sizeClasses.push_back(sizeClass);
    return sizeClass;
}

void SmallBlockHeap::ChunkFilled(Chunk* chunk)
{
    Unlink(chunk->owner->roomHead, chunk->owner->roomTail, chunk);
    chunk->listed = false;
}

void SmallBlockHeap::ChunkRegainedRoom(Chunk* chunk)
{
    Append(chunk->owner->roomHead, chunk->owner->roomTail, chunk);
    chunk->listed = true;
}

size_t SmallBlockHeap::BlockSize(const void* block)
{
    return ChunkOf(block)->blockSize;
}

SmallBlockHeap::Chunk* SmallBlockHeap::NewChunk(SizeClass* sizeClass)
{
    static_assert(sizeof(Chunk) <= CHUNK_HEADER_BYTES, "chunk header too large");
    static_assert(CHUNK_HEADER_BYTES % 16 == 0, "blocks of 16-byte multiples keep 16-byte alignment");
    Chunk* chunk = m_emptyHead;
    if (chunk)
    {
        Unlink(m_emptyHead, m_emptyTail, chunk);
        --m_emptyCount;
    }
    else
    {
        chunk = static_cast<Chunk*>(std::aligned_alloc(CHUNK_BYTES, CHUNK_BYTES));
        if (!chunk)
            return nullptr;
        Register(reinterpret_cast<uintptr_t>(chunk));
    }
    const size_t blocks = (CHUNK_BYTES - CHUNK_HEADER_BYTES) / sizeClass->blockSize;
    chunk->bump = reinterpret_cast<char*>(chunk) + CHUNK_HEADER_BYTES;
    chunk->end = chunk->bump + blocks * sizeClass->blockSize;
    chunk->freeList = nullptr;
    chunk->owner = sizeClass;
    chunk->blockSize = sizeClass->blockSize;
    chunk->live = 0;
    Append(sizeClass->roomHead, sizeClass->roomTail, chunk);
    chunk->listed = true;
    return chunk;
}

void SmallBlockHeap::ChunkEmptied(Chunk* chunk)
{
    Unlink(chunk->owner->roomHead, chunk->owner->roomTail, chunk);
    chunk->listed = false;
    chunk->owner = nullptr;
    if (m_emptyCount >= m_keepEmptyChunks)
    {
        Unregister(reinterpret_cast<uintptr_t>(chunk));
        std::free(chunk);
        return;
    }
    Append(m_emptyHead, m_emptyTail, chunk);
    ++m_emptyCount;
}

bool SmallBlockHeap::Owns(const void* memory) const
{
    if (m_chunkCount == 0)
        return false;
    const uintptr_t base = reinterpret_cast<uintptr_t>(memory) & ~(uintptr_t(CHUNK_BYTES) - 1);
    const size_t mask = m_chunkTable.size() - 1;
    for (size_t i = Slot(base);; i = (i + 1) & mask)
    {
        if (m_chunkTable[i] == base)
            return true;
        if (m_chunkTable[i] == 0)
            return false;
    }
}

size_t SmallBlockHeap::Slot(uintptr_t base) const
{
    const uint64_t key = static_cast<uint64_t>(base / CHUNK_BYTES) * 0x9E3779B97F4A7C15ull;
    return static_cast<size_t>(key >> 32) & (m_chunkTable.size() - 1);
}

void SmallBlockHeap::Register(uintptr_t base)
{
    if ((m_chunkCount + 1) * 2 > m_chunkTable.size())
    {
        std::vector<uintptr_t> previous(m_chunkTable.size() ? m_chunkTable.size() * 2 : 64, 0);
        previous.swap(m_chunkTable);
        m_chunkCount = 0;
        for (uintptr_t entry : previous)
            if (entry)
                Register(entry);
    }
    const size_t mask = m_chunkTable.size() - 1;
    size_t i = Slot(base);
    while (m_chunkTable[i])
        i = (i + 1) & mask;
    m_chunkTable[i] = base;
    ++m_chunkCount;
}

void SmallBlockHeap::Unregister(uintptr_t base)
{
    const size_t mask = m_chunkTable.size() - 1;
    size_t hole = Slot(base);
    while (m_chunkTable[hole] != base)
        hole = (hole + 1) & mask;
    // Linear probing: entries after the hole that probed past it move back.
    for (size_t i = (hole + 1) & mask; m_chunkTable[i]; i = (i + 1) & mask)
    {
        const size_t home = Slot(m_chunkTable[i]);
        const bool reachable = hole <= i ? (home <= hole || home > i) : (home <= hole && home > i);
        if (reachable)
        {
            m_chunkTable[hole] = m_chunkTable[i];
            hole = i;
        }
    }
    m_chunkTable[hole] = 0;
    --m_chunkCount;
}

} // namespace qplatform
