// The GUI library's script module over the script system's Lua state: runs
// script files, globals, chunks and event handlers for CEGUI, logs every
// script failure instead of throwing, and opens CEGUI's own Lua binding on
// the state. Its users also get, from LuaBindingGuard.h, the protected calls
// and the package opener that keep C++ exceptions out of the interpreter.
#pragma once

#include "core/ModuleMemory.h"
#include "script/LuaBindingGuard.h"
#include <cstddef>
#include <memory>
#include <string>

#include <CEGUI/Event.h>
#include <CEGUI/ScriptModule.h>
#include <CEGUI/String.h>

struct lua_State;

namespace CEGUI
{
class EventArgs;
class EventSet;
class Window;
}

namespace QGUI
{
struct LuaStateLife;

class LuaScriptModule : public CEGUI::ScriptModule, public CModuleObject
{
public:
    // Borrows the state; it is never closed here. Should the owner close the
    // state first, the operations find no state and do nothing.
    explicit LuaScriptModule(lua_State* luaState);
    ~LuaScriptModule() override;

    // As executeScriptFile; false when the file was not found (the resource
    // provider warns of it) or failed (the failure is logged). A file that
    // is not found runs nothing.
    bool runScriptFile(const CEGUI::String& filename, const CEGUI::String& resourceGroup);
    void executeScriptFile(const CEGUI::String& filename,
                           const CEGUI::String& resourceGroup = "") override;
    int executeScriptGlobal(const CEGUI::String& functionName) override;
    // A name that names no function raises CEGUI::ScriptException; a failing
    // handler is logged. True otherwise.
    bool executeScriptedEventHandler(const CEGUI::String& handlerName,
                                     const CEGUI::EventArgs& e) override;
    // As executeScriptedEventHandler with the window as the argument.
    virtual bool executeWindowEventHandler(const CEGUI::String& handlerName,
                                           const CEGUI::Window& window);
    virtual void executeStringBuffer(const char* text, size_t length);
    void executeString(const CEGUI::String& str) override;
    // The text of the global named by key less its first character ("#"),
    // when that global holds a string or a number; the key itself otherwise.
    // The returned text stays valid until the next call.
    virtual const char* getGlobalString(const char* key);
    void createBindings() override;
    void destroyBindings() override;
    CEGUI::Event::Connection subscribeEvent(CEGUI::EventSet* target, const CEGUI::String& name,
                                            CEGUI::Event::Group group,
                                            const CEGUI::String& subscriberName) override;
    CEGUI::Event::Connection subscribeEvent(CEGUI::EventSet* target, const CEGUI::String& name,
                                            const CEGUI::String& subscriberName) override;

    lua_State* getLuaState() const { return d_state; }

private:
    bool runEventHandler(const CEGUI::String& handlerName, const void* argument,
                         const char* argumentType);

    // The state, or null once it has been closed.
    lua_State* state() const;

    bool d_ownsState;
    lua_State* d_state;
    std::shared_ptr<LuaStateLife> d_life;
    std::string d_globalString;
};

} // namespace QGUI
