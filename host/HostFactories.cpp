#include "HostFactories.h"

#include <cstring>

namespace QHost
{
namespace
{
IQXRender* s_render = nullptr;
IQEngineClient* s_engine = nullptr;
IBaseFileSystem* s_fileSystem = nullptr;

void* Answer(const char* name, const char* served, void* object, int32_t* returnCode)
{
    const bool found = object && name && std::strcmp(name, served) == 0;
    if (returnCode)
        *returnCode = found ? IFACE_OK : IFACE_FAILED;
    return found ? object : nullptr;
}

CreateInterfaceFn s_factories[kFactoryCount] = {&RenderFactory, &EngineClientFactory,
                                                &FileSystemFactory};
} // namespace

CreateInterfaceFn* HostFactories()
{
    return s_factories;
}

void InstallHostInterfaces(IQXRender* render, IQEngineClient* engine, IBaseFileSystem* fileSystem)
{
    s_render = render;
    s_engine = engine;
    s_fileSystem = fileSystem;
}

// Each object is handed out as a pointer to the interface named, so callers
// holding a void* convert it back to exactly that interface.
void* RenderFactory(const char* name, int32_t* returnCode)
{
    return Answer(name, QXRENDER_INTERFACE_VERSION, s_render, returnCode);
}

void* EngineClientFactory(const char* name, int32_t* returnCode)
{
    return Answer(name, QENGINECLIENT_INTERFACE_VERSION, s_engine, returnCode);
}

void* FileSystemFactory(const char* name, int32_t* returnCode)
{
    return Answer(name, FILESYSTEM_INTERFACE_VERSION, s_fileSystem, returnCode);
}

void HostClock::advance()
{
    ++d_frames;
    d_time += d_step;
    d_globals.curtime = float(d_time);
    d_globals.frametime = d_step;
}
} // namespace QHost
