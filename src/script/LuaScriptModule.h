// The GUI library's script module over the script system's Lua state: runs
// script files, globals, chunks and event handlers for CEGUI, logs every
// script failure instead of throwing, and opens CEGUI's own Lua binding on
// the state. Also the event functor used for scripted subscriptions and the
// guard that keeps C++ exceptions out of the Lua interpreter.
#pragma once

#include "core/ModuleMemory.h"
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

// An event subscriber that calls a Lua function: either one held by registry
// reference, or one named by a (possibly dotted) global name that is looked
// up when the event first fires. An optional self value is passed before the
// event arguments, and an optional error handler runs as the protected
// call's message handler. A failing handler is logged at error level and
// counts as handled; the functor never throws.
class LuaEventFunctor
{
public:
    LuaEventFunctor(lua_State* L, const CEGUI::String& functionName);
    // Takes over the registry references (LUA_NOREF for none). Without a
    // function reference the function is looked up by functionName;
    // otherwise functionName only names the handler in log lines.
    LuaEventFunctor(lua_State* L, const CEGUI::String& functionName, int functionRef,
                    int selfRef, int errorHandlerRef, const CEGUI::String& errorHandlerName);

    bool operator()(const CEGUI::EventArgs& args) const;

    struct Data;
    typedef std::weak_ptr<Data> Handle;
    Handle GetHandle() const;

    // Disconnects the subscription of this functor. When the handler is
    // running (it disconnects itself), it stops at once and its slot is
    // removed once no call of it is under way: the GUI library's event must
    // not lose the slot it is dispatching.
    static void Disconnect(const Handle& handle, CEGUI::Event::Connection& connection);
    static bool IsDisconnected(const Handle& handle);

private:
    std::shared_ptr<Data> m_Data;
};

class LuaScriptModule : public CEGUI::ScriptModule, public CModuleObject
{
public:
    // Borrows the state; it is never closed here. Should the owner close the
    // state first, the operations find no state and do nothing.
    explicit LuaScriptModule(lua_State* luaState);
    ~LuaScriptModule() override;

    // As executeScriptFile; false when the file failed (the failure is
    // logged). A file that is not found runs as an empty chunk.
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

// lua_pcall with a C++ backstop: an exception that escapes the call (only
// possible through a C function that bypassed the guard) is logged and
// reported as an error with its message on the stack.
int ProtectedLuaCall(lua_State* L, int nargs, int nresults, int errfunc);

// Runs a binding package's opener protected, then guards the bound
// functions. False (and the error logged) when the opener fails.
bool OpenLuaPackage(lua_State* L, int (*open)(lua_State*));

// Wraps every C function of the tolua type tables and of the module tables
// "CEGUI", "QGUI" and "SHELL" in a closure that turns a C++ exception into a
// Lua error. Functions already wrapped are left alone. Returns the number of
// functions wrapped.
int GuardLuaBindings(lua_State* L);
} // namespace QGUI
