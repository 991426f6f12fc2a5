// One run of the interface module inside the stand-in host: loads the
// module, serves it the host interfaces, and drives Init, frames and
// ShutDown.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "HostEngineClient.h"
#include "HostFactories.h"
#include "HostRender.h"
#include "HostWebPages.h"
#include "IQGUI.h"

namespace QHost
{
// One argument of a script call: a number, or a text in UTF-8.
struct ScriptArgument
{
    bool number = false;
    int value = 0;
    std::string text;
};

// The most arguments a script call of the host takes (the module's own
// calls take at most six).
constexpr size_t kMaxScriptArguments = 8;

class HostSession
{
public:
    // fileSystem: served as "FileSystem001" and used for texture files; the
    // caller keeps it alive for the session's life. The session's render
    // interface and engine client are installed in the host's factories
    // until the session ends.
    HostSession(IBaseFileSystem* fileSystem, uint16_t width = 1024, uint16_t height = 768);
    ~HostSession();

    HostSession(const HostSession&) = delete;
    HostSession& operator=(const HostSession&) = delete;

    // Opens the module and obtains "QGUI001" from its CreateInterface.
    // The module stays loaded until the process ends: the GUI system keeps
    // the module's renderer and factories after ShutDown.
    bool loadModule(const std::string& path, std::string* error);
    // Init with the host's factory list and clock record.
    bool init(std::string* error);
    // One host frame: clear the frame (and the frame's records of draws and
    // game objects), advance the clock, run beforeUpdate (when given; the
    // place to feed the frame's window messages), hand the game's messages
    // for the interface to RecvKeyVal (printing each as "engine sent: "),
    // Update, then the pages of the shown web controls over it.
    void frame(const std::function<void()>& beforeUpdate = nullptr);
    // One window message to the module's ProcessMessage, addressed to the
    // engine client's game window; false without an initialised module.
    bool feed(UINT message, WPARAM wParam, LPARAM lParam);
    // Sets a property of a game object in the engine client's data, then
    // tells the module the object changed (RefreshObjectWindows); false
    // when the data did not take it (no game data loaded).
    bool changeGameObject(int objectId, const std::string& property, const std::string& value);
    // Calls the script global through the module's CallScriptFunction,
    // texts converted from UTF-8 into the local code page the module takes;
    // its answer, or -1 without an initialised module, with more than
    // kMaxScriptArguments arguments, or when the call fails (the module
    // logs why). `format`, when given, receives the format passed ("%s%d").
    int callScript(const std::string& global, const std::vector<ScriptArgument>& arguments,
                   std::string* format = nullptr);
    // ShutDown, once, after a successful init.
    void shutDown();

    QGUI::IQGUI* gui() const { return d_gui; }
    bool initialised() const { return d_initialised; }

    HostRender render;
    HostEngineClient engine;
    HostClock clock;
    HostWebPages webPages;

private:
    void deliverGameMessages();

    void* d_module = nullptr;
    QGUI::IQGUI* d_gui = nullptr;
    bool d_initialised = false;
};
} // namespace QHost
