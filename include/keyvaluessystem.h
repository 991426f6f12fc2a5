// The key-values system: node memory and the process-wide table of key-name
// symbols shared by every module that builds KeyValues trees.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform_api.h"

typedef int32_t HKeySymbol;
#define INVALID_KEY_SYMBOL (-1)

struct KeyValuesSystemStats
{
    uint64_t nodeAllocations; // AllocNode calls since the start of the process
    uint64_t nodeBytes;       // bytes handed out by AllocNode (block size per node)
    uint64_t liveNodes;       // nodes allocated and not yet freed
    uint64_t symbolCount;     // distinct names in the symbol table
    uint64_t symbolBytes;     // bytes held by the symbol names
};

class QPLATFORM_API IKeyValuesSystem
{
public:
    // Memory for one node of the given size; FreeNode gives it back.
    virtual void* AllocNode(size_t size) = 0;
    virtual void FreeNode(void* node) = 0;
    // The symbol of a name: equal names (compared with letter case) get the
    // same symbol on every call; a null name gives INVALID_KEY_SYMBOL.
    virtual HKeySymbol SymbolForName(const char* name) = 0;
    // The name of a symbol, valid for the life of the process; "" for
    // INVALID_KEY_SYMBOL and for symbols never handed out.
    virtual const char* NameForSymbol(HKeySymbol symbol) = 0;
    virtual KeyValuesSystemStats GetStats() = 0;

protected:
    ~IKeyValuesSystem() {}
};

QPLATFORM_API IKeyValuesSystem* KeyValuesSystem();
