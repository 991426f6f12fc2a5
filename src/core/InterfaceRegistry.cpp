#include "core/InterfaceRegistry.h"

#include <cstring>
#include <dlfcn.h>

InterfaceRegistration* InterfaceRegistration::s_pInterfaceRegs = nullptr;

InterfaceRegistration::InterfaceRegistration(InstantiateInterfaceFn createFn, const char* name)
    : m_CreateFn(createFn), m_pName(name)
{
    m_pNext = s_pInterfaceRegs;
    s_pInterfaceRegs = this;
}

void* CreateInterface(const char* name, int32_t* returnCode)
{
    if (name)
    {
        for (InterfaceRegistration* reg = InterfaceRegistration::s_pInterfaceRegs; reg;
             reg = reg->m_pNext)
        {
            if (std::strcmp(reg->m_pName, name) == 0)
            {
                if (returnCode)
                    *returnCode = IFACE_OK;
                return reg->m_CreateFn();
            }
        }
    }
    if (returnCode)
        *returnCode = IFACE_FAILED;
    return nullptr;
}

namespace QGUI
{
void* FindHostInterface(CreateInterfaceFn* factories, int count, const char* name)
{
    if (!factories)
        return nullptr;
    for (int i = 0; i < count; ++i)
    {
        if (!factories[i])
            continue;
        int32_t rc = IFACE_FAILED;
        void* found = factories[i](name, &rc);
        if (rc == IFACE_OK)
            return found;
    }
    return nullptr;
}

CreateInterfaceFn GetModuleFactory(CSysModule module)
{
    if (!module)
        return nullptr;
    return reinterpret_cast<CreateInterfaceFn>(dlsym(module, "CreateInterface"));
}
} // namespace QGUI
