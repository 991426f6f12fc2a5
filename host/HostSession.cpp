#include "HostSession.h"

#include <dlfcn.h>

#include "winservices.h"

namespace QHost
{
HostSession::HostSession(IBaseFileSystem* fileSystem, uint16_t width, uint16_t height)
    : render(width, height, fileSystem), engine(&render)
{
    InstallHostInterfaces(&render, &engine, fileSystem);
    // The game runs full screen: the screen is the frame.
    SetScreenSize(width, height);
    // The game's objects and creatures, when the root has them.
    if (fileSystem)
        engine.LoadGameData(fileSystem, "game\\objects.txt");
}

HostSession::~HostSession()
{
    shutDown();
    InstallHostInterfaces(nullptr, nullptr, nullptr);
}

bool HostSession::loadModule(const std::string& path, std::string* error)
{
    auto fail = [&](const std::string& why) {
        if (error)
            *error = why;
        return false;
    };
    if (d_gui)
        return fail("a module is already loaded");
    d_module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!d_module)
    {
        const char* why = dlerror();
        return fail("cannot load " + path + ": " + (why ? why : "unknown error"));
    }
    auto factory = reinterpret_cast<CreateInterfaceFn>(dlsym(d_module, "CreateInterface"));
    if (!factory)
        return fail(path + " exports no CreateInterface");
    int32_t rc = IFACE_FAILED;
    void* object = factory(QGUI_INTERFACE_VERSION, &rc);
    if (rc != IFACE_OK || !object)
        return fail(path + " does not serve " QGUI_INTERFACE_VERSION);
    d_gui = static_cast<QGUI::IQGUI*>(object);
    return true;
}

bool HostSession::init(std::string* error)
{
    if (!d_gui)
    {
        if (error)
            *error = "no module loaded";
        return false;
    }
    if (!d_gui->Init(HostFactories(), kFactoryCount, clock.globals()))
    {
        if (error)
            *error = "the module's Init failed";
        return false;
    }
    d_initialised = true;
    return true;
}

void HostSession::frame(const std::function<void()>& beforeUpdate)
{
    render.clearFrame();
    engine.objectQuads.clear();
    clock.advance();
    if (beforeUpdate)
        beforeUpdate();
    if (d_initialised)
        d_gui->Update();
}

bool HostSession::feed(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!d_initialised)
        return false;
    return d_gui->ProcessMessage(engine.GetMainWindow()->hwnd, message, wParam, lParam);
}

bool HostSession::changeGameObject(int objectId, const std::string& property, const std::string& value)
{
    if (!engine.SetObjectProperty(objectId, property.c_str(), value.c_str()))
        return false;
    if (d_initialised)
        d_gui->RefreshObjectWindows(objectId);
    return true;
}

void HostSession::shutDown()
{
    if (!d_initialised)
        return;
    d_gui->ShutDown();
    d_initialised = false;
}
} // namespace QHost
