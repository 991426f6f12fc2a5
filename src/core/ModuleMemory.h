// The module's private memory pool: the module's own classes allocate
// through class-level operators that count what the pool holds, so the
// shut-down log line can report it. The process-wide operator new is left
// alone.
#pragma once

#include <cstddef>

namespace QGUI
{
// Bytes the module's own objects currently hold.
size_t ModulePoolBytes();

void* ModulePoolAlloc(size_t size);
void ModulePoolFree(void* p);

// Base of the module's own heap-allocated classes.
class CModuleObject
{
public:
    static void* operator new(size_t size) { return ModulePoolAlloc(size); }
    static void* operator new[](size_t size) { return ModulePoolAlloc(size); }
    static void operator delete(void* p) { ModulePoolFree(p); }
    static void operator delete[](void* p) { ModulePoolFree(p); }
};
} // namespace QGUI
