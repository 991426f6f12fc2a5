// The script module of the GUI library over the script system's Lua state:
// script files, globals, chunks, named event handlers and their
// subscriptions, and the GUI library's binding on the state.
#include "script/LuaScriptModule.h"

#include <cstring>
#include <string>

#include <CEGUI/DataContainer.h>
#include <CEGUI/EventArgs.h>
#include <CEGUI/EventSet.h>
#include <CEGUI/Exceptions.h>
#include <CEGUI/Logger.h>
#include <CEGUI/ResourceProvider.h>
#include <CEGUI/System.h>
#include <CEGUI/Window.h>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}

#include "core/DispatchScope.h"
#include "script/LuaEventFunctor.h"
#include "script/LuaScriptInternal.h"
#include "script/ScriptSupport.h"

using QGUI::ScriptSupport::LogErrorText;
using QGUI::ScriptSupport::LogText;
using QGUI::ScriptSupport::PushGlobal;
using QGUI::ScriptSupport::PushNamedFunction;
using QGUI::ScriptSupport::PushUserType;
using QGUI::ScriptSupport::ToInt32;

namespace QGUI
{
namespace
{
const char* const kWindowType = "const CEGUI::Window";
} // namespace

LuaScriptModule::LuaScriptModule(lua_State* luaState)
    : d_ownsState(false), d_state(luaState)
{
    d_identifierString = "CEGUI::LuaScriptModule - Official Lua based scripting module for CEGUI";
    if (d_state)
        d_life = StateLifeOf(d_state);
}

lua_State* LuaScriptModule::state() const
{
    return d_life && d_life->alive ? d_state : nullptr;
}

LuaScriptModule::~LuaScriptModule()
{
    if (d_ownsState && d_state)
        lua_close(d_state);
}

void LuaScriptModule::executeScriptFile(const CEGUI::String& filename,
                                        const CEGUI::String& resourceGroup)
{
    runScriptFile(filename, resourceGroup);
}

bool LuaScriptModule::runScriptFile(const CEGUI::String& filename,
                                    const CEGUI::String& resourceGroup)
{
    lua_State* L = state();
    CEGUI::System* system = CEGUI::System::getSingletonPtr();
    if (!L || !system)
        return false;
    CEGUI::ResourceProvider* provider = system->getResourceProvider();
    CEGUI::RawDataContainer data;
    // Errors of the resource provider reach the caller. A file it does not
    // find leaves the container without data.
    provider->loadRawDataContainer(filename, data,
                                   resourceGroup.empty() ? d_defaultResourceGroup : resourceGroup);
    if (!data.getDataPtr())
        return false;
    const char* bytes = reinterpret_cast<const char*>(data.getDataPtr());

    const int top = lua_gettop(L);
    int status = luaL_loadbuffer(L, bytes, data.getSize(), filename.c_str());
    provider->unloadRawDataContainer(data);
    if (status == 0)
        status = ProtectedLuaCall(L, 0, 0, 0);
    if (status != 0)
    {
        const CEGUI::String error = LogErrorText(L, -1);
        lua_settop(L, top);
        LogLine("Unable to execute Lua script file: '" + LogText(filename) + "'\n\n" + error + "\n",
                CEGUI::Errors);
        return false;
    }
    lua_settop(L, top);
    return true;
}

int LuaScriptModule::executeScriptGlobal(const CEGUI::String& functionName)
{
    lua_State* L = state();
    if (!L)
        return -1;
    const int top = lua_gettop(L);
    if (!PushGlobal(L, functionName.c_str()))
    {
        const CEGUI::String error = LogErrorText(L, -1);
        lua_settop(L, top);
        LogLine("Unable to evaluate Lua global: '" + LogText(functionName) + "'\n\n" + error + "\n",
                CEGUI::Errors);
        return -1;
    }
    if (!lua_isfunction(L, -1))
    {
        lua_settop(L, top);
        LogLine("Unable to get Lua global: '" + LogText(functionName) +
                    "' as name not represent a global Lua function",
                CEGUI::Errors);
        return -1;
    }
    if (ProtectedLuaCall(L, 0, 1, 0) != 0)
    {
        const CEGUI::String error = LogErrorText(L, -1);
        lua_settop(L, top);
        LogLine("Unable to evaluate Lua global: '" + LogText(functionName) + "'\n\n" + error + "\n",
                CEGUI::Errors);
        return -1;
    }
    if (!lua_isnumber(L, -1))
    {
        lua_settop(L, top);
        LogLine("Unable to get Lua global : '" + LogText(functionName) +
                    "' return value as it's not a number",
                CEGUI::Errors);
        return -1;
    }
    const int result = ToInt32(lua_tonumber(L, -1));
    lua_settop(L, top);
    return result;
}

bool LuaScriptModule::runEventHandler(const CEGUI::String& handlerName, const void* argument,
                                      const char* argumentType)
{
    lua_State* L = state();
    if (!L)
        return true;
    const CDispatchScope dispatch(CDispatchScope::Handler);
    const int top = lua_gettop(L);
    const char* name = handlerName.c_str();
    if (!PushNamedFunction(L, name, std::strlen(name)))
    {
        const CEGUI::String error = LogErrorText(L, -1);
        lua_settop(L, top);
        throw CEGUI::ScriptException(error);
    }
    PushUserType(L, argument, argumentType);
    if (ProtectedLuaCall(L, 1, 0, 0) != 0)
    {
        const CEGUI::String error = LogErrorText(L, -1);
        lua_settop(L, top);
        LogLine("Unable to evaluate the Lua event handler: '" + LogText(handlerName) + "'\n\n" + error +
                    "\n",
                CEGUI::Errors);
    }
    lua_settop(L, top);
    return true;
}

bool LuaScriptModule::executeScriptedEventHandler(const CEGUI::String& handlerName,
                                                  const CEGUI::EventArgs& e)
{
    return runEventHandler(handlerName, &e, kEventArgsType);
}

bool LuaScriptModule::executeWindowEventHandler(const CEGUI::String& handlerName,
                                                const CEGUI::Window& window)
{
    return runEventHandler(handlerName, &window, kWindowType);
}

void LuaScriptModule::executeStringBuffer(const char* text, size_t length)
{
    lua_State* L = state();
    if (!L)
        return;
    if (!text)
    {
        text = "";
        length = 0;
    }
    // The chunk is named after its text; the copy ends the name (and the log
    // text) within the buffer.
    const std::string chunkName(text, length);
    const int top = lua_gettop(L);
    int status = luaL_loadbuffer(L, text, length, chunkName.c_str());
    if (status == 0)
        status = ProtectedLuaCall(L, 0, 0, 0);
    if (status != 0)
    {
        const CEGUI::String error = LogErrorText(L, -1);
        lua_settop(L, top);
        LogLine("Unable to execute Lua script string: '" + LogText(chunkName.data(), chunkName.size()) +
                    "'\n\n" + error + "\n",
                CEGUI::Standard);
        return;
    }
    lua_settop(L, top);
}

void LuaScriptModule::executeString(const CEGUI::String& str)
{
    const char* text = str.c_str();
    executeStringBuffer(text, std::strlen(text));
}

const char* LuaScriptModule::getGlobalString(const char* key)
{
    lua_State* L = state();
    if (!key || !key[0] || !L)
        return key;
    const int top = lua_gettop(L);
    if (PushGlobal(L, key + 1) && lua_isstring(L, -1))
    {
        size_t length = 0;
        const char* text = lua_tolstring(L, -1, &length);
        d_globalString.assign(text, length);
        lua_settop(L, top);
        return d_globalString.c_str();
    }
    lua_settop(L, top);
    return key;
}

void LuaScriptModule::createBindings()
{
    LogLine("---- Creating Lua bindings ----", CEGUI::Standard);
    if (lua_State* L = state())
        OpenLuaPackage(L, &OpenGuiBinding);
}

void LuaScriptModule::destroyBindings()
{
    LogLine("---- Destroying Lua bindings ----", CEGUI::Standard);
    if (lua_State* L = state())
    {
        lua_pushstring(L, "CEGUI");
        lua_pushnil(L);
        lua_rawset(L, LUA_GLOBALSINDEX);
    }
}

CEGUI::Event::Connection LuaScriptModule::subscribeEvent(CEGUI::EventSet* target,
                                                         const CEGUI::String& name,
                                                         CEGUI::Event::Group group,
                                                         const CEGUI::String& subscriberName)
{
    if (!target || !state())
        return CEGUI::Event::Connection();
    const LuaEventFunctor functor(d_state, subscriberName);
    return target->subscribeEvent(name, group, CEGUI::Event::Subscriber(functor));
}

CEGUI::Event::Connection LuaScriptModule::subscribeEvent(CEGUI::EventSet* target,
                                                         const CEGUI::String& name,
                                                         const CEGUI::String& subscriberName)
{
    if (!target || !state())
        return CEGUI::Event::Connection();
    const LuaEventFunctor functor(d_state, subscriberName);
    return target->subscribeEvent(name, CEGUI::Event::Subscriber(functor));
}
} // namespace QGUI
