#include "core/ModuleMemory.h"

#include <cstdlib>
#include <new>

namespace QGUI
{
namespace
{
size_t g_poolBytes = 0;

// Each block carries its size in front so the pool can count frees.
struct alignas(std::max_align_t) BlockHeader
{
    size_t size;
};
} // namespace

size_t ModulePoolBytes()
{
    return g_poolBytes;
}

void* ModulePoolAlloc(size_t size)
{
    void* raw = std::malloc(sizeof(BlockHeader) + size);
    if (!raw)
        throw std::bad_alloc();
    BlockHeader* header = static_cast<BlockHeader*>(raw);
    header->size = size;
    g_poolBytes += size;
    return header + 1;
}

void ModulePoolFree(void* p)
{
    if (!p)
        return;
    BlockHeader* header = static_cast<BlockHeader*>(p) - 1;
    g_poolBytes -= header->size;
    std::free(header);
}
} // namespace QGUI
