#include "keyvaluessystem.h"

#include <cstdlib>
#include <cstring>
#include <unordered_set>
#include <vector>

#include "smallblocks.h"

namespace
{

// Nodes come from a small-block heap with one block size, set by the first
// request; a larger request (never made by the module, whose nodes all have
// one size), or every request when the first was too large for the heap, is
// served by the C heap. Under AddressSanitizer every node comes from the C
// heap, so that use after free and leaks of nodes are reported.
class NodePool
{
public:
    void* Alloc(size_t size)
    {
        if (m_blockSize == 0)
        {
            m_blockSize = RoundUp(size ? size : 1);
            if (QPLATFORM_SMALL_BLOCKS && m_blockSize <= qplatform::SmallBlockHeap::MAX_BLOCK_BYTES)
                m_sizeClass = m_heap.AddSizeClass(m_blockSize);
        }
        if (!QPLATFORM_SMALL_BLOCKS)
            return std::malloc(size ? size : 1);
        if (size > m_blockSize || !m_sizeClass)
        {
            void* memory = std::malloc(size ? size : 1);
            if (memory)
                m_heapBlocks.insert(memory);
            return memory;
        }
        return m_heap.Alloc(m_sizeClass);
    }

    void Free(void* memory)
    {
        if (!memory)
            return;
        if (!QPLATFORM_SMALL_BLOCKS)
        {
            std::free(memory);
            return;
        }
        if (!m_heapBlocks.empty())
        {
            auto it = m_heapBlocks.find(memory);
            if (it != m_heapBlocks.end())
            {
                m_heapBlocks.erase(it);
                std::free(memory);
                return;
            }
        }
        m_heap.Free(memory);
    }

    size_t BlockSize() const { return m_blockSize; }

private:
    static size_t RoundUp(size_t size)
    {
        const size_t alignment = qplatform::SmallBlockHeap::BLOCK_ALIGNMENT;
        return (size + alignment - 1) & ~(alignment - 1);
    }

    size_t m_blockSize = 0;
    // Node memory is kept for the life of the process.
    qplatform::SmallBlockHeap m_heap{SIZE_MAX};
    qplatform::SmallBlockHeap::SizeClass* m_sizeClass = nullptr;
    std::unordered_set<void*> m_heapBlocks;
};

// Names interned in an open-addressing hash table. The texts live in large
// arena chunks that are never freed, so NameForSymbol stays valid.
class SymbolTable
{
public:
    SymbolTable() { m_slots.assign(1024, Slot{0, -1}); }

    HKeySymbol Find(const char* name)
    {
        uint32_t hash = 2166136261u;
        size_t length = 0;
        for (const unsigned char* p = reinterpret_cast<const unsigned char*>(name); *p; ++p, ++length)
            hash = (hash ^ *p) * 16777619u;

        size_t mask = m_slots.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask)
        {
            Slot& slot = m_slots[i];
            if (slot.symbol < 0)
                return Insert(i, hash, name, length);
            if (slot.hash == hash && std::strcmp(m_names[slot.symbol], name) == 0)
                return slot.symbol;
        }
    }

    const char* Name(HKeySymbol symbol) const
    {
        if (symbol < 0 || static_cast<size_t>(symbol) >= m_names.size())
            return "";
        return m_names[symbol];
    }

    size_t Count() const { return m_names.size(); }
    size_t Bytes() const { return m_nameBytes; }

private:
    struct Slot
    {
        uint32_t hash;
        HKeySymbol symbol;
    };

    HKeySymbol Insert(size_t slotIndex, uint32_t hash, const char* name, size_t length)
    {
        char* text = Store(name, length);
        HKeySymbol symbol = static_cast<HKeySymbol>(m_names.size());
        m_names.push_back(text);
        m_slots[slotIndex] = Slot{hash, symbol};
        if (m_names.size() * 2 > m_slots.size())
            Grow();
        return symbol;
    }

    void Grow()
    {
        std::vector<Slot> old;
        old.swap(m_slots);
        m_slots.assign(old.size() * 2, Slot{0, -1});
        size_t mask = m_slots.size() - 1;
        for (const Slot& slot : old)
        {
            if (slot.symbol < 0)
                continue;
            size_t i = slot.hash & mask;
            while (m_slots[i].symbol >= 0)
                i = (i + 1) & mask;
            m_slots[i] = slot;
        }
    }

    char* Store(const char* name, size_t length)
    {
        const size_t chunkSize = 64 * 1024;
        size_t need = length + 1;
        if (need > m_arenaLeft)
        {
            size_t size = need > chunkSize ? need : chunkSize;
            m_arena = static_cast<char*>(std::malloc(size));
            if (!m_arena)
                std::abort();
            m_arenaChunks.push_back(m_arena);
            m_arenaLeft = size;
        }
        char* text = m_arena;
        std::memcpy(text, name, need);
        m_arena += need;
        m_arenaLeft -= need;
        m_nameBytes += need;
        return text;
    }

    std::vector<Slot> m_slots;
    std::vector<const char*> m_names;
    std::vector<char*> m_arenaChunks; // kept for the life of the process
    char* m_arena = nullptr;
    size_t m_arenaLeft = 0;
    size_t m_nameBytes = 0;
};

class CKeyValuesSystem final : public IKeyValuesSystem
{
public:
    void* AllocNode(size_t size) override
    {
        void* node = m_pool.Alloc(size);
        if (node)
        {
            ++m_stats.nodeAllocations;
            m_stats.nodeBytes += size > m_pool.BlockSize() ? size : m_pool.BlockSize();
            ++m_stats.liveNodes;
        }
        return node;
    }

    void FreeNode(void* node) override
    {
        if (!node)
            return;
        --m_stats.liveNodes;
        m_pool.Free(node);
    }

    HKeySymbol SymbolForName(const char* name) override
    {
        if (!name)
            return INVALID_KEY_SYMBOL;
        return m_symbols.Find(name);
    }

    const char* NameForSymbol(HKeySymbol symbol) override { return m_symbols.Name(symbol); }

    KeyValuesSystemStats GetStats() override
    {
        KeyValuesSystemStats stats = m_stats;
        stats.symbolCount = m_symbols.Count();
        stats.symbolBytes = m_symbols.Bytes();
        return stats;
    }

private:
    NodePool m_pool;
    SymbolTable m_symbols;
    KeyValuesSystemStats m_stats{};
};

} // namespace

IKeyValuesSystem* KeyValuesSystem()
{
    // Never destroyed: names and nodes outlive every static object that holds them.
    static CKeyValuesSystem* system = new CKeyValuesSystem;
    return system;
}
