// The module's interface registry (what CreateInterface hands out) and the
// look-up of interfaces in the host's factory list.
#pragma once

#include "interface.h"

// One record per interface the module serves, linked in front of the list
// at library load and never removed.
class InterfaceRegistration
{
public:
    typedef void* (*InstantiateInterfaceFn)();

    InterfaceRegistration(InstantiateInterfaceFn createFn, const char* name);

    InstantiateInterfaceFn m_CreateFn;
    const char* m_pName;
    InterfaceRegistration* m_pNext;

    static InterfaceRegistration* s_pInterfaceRegs;
};

QGUI_EXPORT void* CreateInterface(const char* name, int32_t* returnCode);

namespace QGUI
{
// Asks each factory in order for the interface; an answer counts only when
// the factory reports return code 0. Null entries are skipped.
void* FindHostInterface(CreateInterfaceFn* factories, int count, const char* name);

// The CreateInterface export of a module the host file system loaded, or
// null when the module is null or does not export one.
CreateInterfaceFn GetModuleFactory(CSysModule module);
} // namespace QGUI
