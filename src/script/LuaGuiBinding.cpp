// Opening the GUI library's Lua binding: CEGUI's own binding, then the
// scripts' subscribeEvent in place of the binding's, with the connection
// object it hands back (QGUI.EventConnection), and the window manager's
// cleanDeadPool, which waits while an event is being delivered.
#include <cstdint>
#include <cstdio>
#include <exception>

#include <CEGUI/Element.h>
#include <CEGUI/EventSet.h>
#include <CEGUI/Exceptions.h>
#include <CEGUI/RenderTarget.h>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}
#include <tolua++.h>

#include "core/DispatchScope.h"
#include "script/LuaEventFunctor.h"
#include "script/LuaScriptInternal.h"
#include "script/ScriptSupport.h"

// CEGUI's own Lua binding, exported by libCEGUILuaScriptModule-0 (no header
// ships with it).
int tolua_CEGUI_open(lua_State* L);

using QGUI::ScriptSupport::ToInt32;
using QGUI::ScriptSupport::Utf8ToString;

namespace QGUI
{
// The connection object handed to scripts by subscribeEvent.
struct EventConnection
{
    CEGUI::Event::Connection connection;
    LuaEventFunctor::Handle handler;
};

namespace
{
const char* const kConnectionType = "QGUI::EventConnection";

// --- the scripts' subscribeEvent -------------------------------------------

struct SubscribeRequest
{
    bool grouped = false;
    CEGUI::Event::Group group = 0;
    const char* handlerName = nullptr;
    int functionRef = LUA_NOREF;
    int selfRef = LUA_NOREF;
    int errorRef = LUA_NOREF;
    const char* errorName = nullptr;
};

// The C++ half of subscribeEvent. Every C++ object lives inside the try
// block; a failure becomes a Lua error after they are gone.
int SubscribeOn(lua_State* L, CEGUI::EventSet* target, const char* eventName,
                const SubscribeRequest& request, const char* label)
{
    QGUI::EventConnection* box = nullptr;
    char failure[512];
    bool failed = false;
    try
    {
        // The module's own functor for every form (a name goes the way the
        // module's subscribeEvent takes it), so the connection can reach it.
        const CEGUI::String name = Utf8ToString(eventName);
        const QGUI::LuaEventFunctor functor(
            L, Utf8ToString(request.functionRef >= 0 ? label : request.handlerName),
            request.functionRef, request.selfRef, request.errorRef,
            Utf8ToString(request.errorName));
        CEGUI::Event::Connection connection =
            request.grouped
                ? target->subscribeEvent(name, request.group, CEGUI::Event::Subscriber(functor))
                : target->subscribeEvent(name, CEGUI::Event::Subscriber(functor));
        box = new QGUI::EventConnection{connection, functor.GetHandle()};
    }
    catch (const CEGUI::Exception& e)
    {
        CopyText(failure, sizeof(failure), e.getMessage().c_str());
        failed = true;
    }
    catch (const std::exception& e)
    {
        CopyText(failure, sizeof(failure), e.what());
        failed = true;
    }
    if (failed)
        return luaL_error(L, "%s", failure);
    tolua_pushusertype(L, box, kConnectionType);
    tolua_register_gc(L, lua_gettop(L));
    return 1;
}

// self:subscribeEvent(name, handler [, self value [, error handler]]) and
// self:subscribeEvent(name, group, handler name). handler is a function or
// a (dotted) function name; the error handler a function or a name.
int SubscribeEvent(lua_State* L, const char* selfType, CEGUI::EventSet* (*asEventSet)(void*))
{
    tolua_Error err;
    if (!tolua_isusertype(L, 1, selfType, 0, &err) || !tolua_isstring(L, 2, 0, &err))
    {
        tolua_error(L, "#ferror in function 'subscribeEvent'.", &err);
        return 0;
    }
    void* self = tolua_tousertype(L, 1, nullptr);
    if (!self)
    {
        tolua_error(L, "invalid 'self' in function 'subscribeEvent'", nullptr);
        return 0;
    }
    const char* eventName = lua_tostring(L, 2);
    if (!eventName)
    {
        err.index = 2;
        err.array = 0;
        err.type = "string";
        tolua_error(L, "#ferror in function 'subscribeEvent'.", &err);
        return 0;
    }

    const int argc = lua_gettop(L);
    const int kind = lua_type(L, 3);
    SubscribeRequest request;
    char label[256] = "";
    if (kind == LUA_TNUMBER && argc == 4 && lua_type(L, 4) == LUA_TSTRING)
    {
        request.grouped = true;
        request.group = static_cast<CEGUI::Event::Group>(
            static_cast<uint32_t>(ToInt32(lua_tonumber(L, 3))));
        request.handlerName = lua_tostring(L, 4);
    }
    else if (kind == LUA_TSTRING || kind == LUA_TFUNCTION)
    {
        const int errorKind = argc >= 5 ? lua_type(L, 5) : LUA_TNIL;
        if (errorKind != LUA_TNIL && errorKind != LUA_TFUNCTION && errorKind != LUA_TSTRING)
            return luaL_error(L, "bad error handler function passed to subscribe function. must "
                                 "be a real function, or a string for late binding");
        if (kind == LUA_TSTRING)
            request.handlerName = lua_tostring(L, 3);
        else
        {
            lua_Debug ar;
            lua_pushvalue(L, 3);
            if (lua_getinfo(L, ">S", &ar))
                std::snprintf(label, sizeof(label), "function <%s:%d>", ar.short_src,
                              ar.linedefined);
            lua_pushvalue(L, 3);
            request.functionRef = luaL_ref(L, LUA_REGISTRYINDEX);
        }
        if (argc >= 4 && !lua_isnil(L, 4))
        {
            lua_pushvalue(L, 4);
            request.selfRef = luaL_ref(L, LUA_REGISTRYINDEX);
        }
        if (errorKind == LUA_TFUNCTION)
        {
            lua_pushvalue(L, 5);
            request.errorRef = luaL_ref(L, LUA_REGISTRYINDEX);
        }
        else if (errorKind == LUA_TSTRING)
            request.errorName = lua_tostring(L, 5);
    }
    else
    {
        err.index = 3;
        err.array = 0;
        err.type = "function";
        tolua_error(L, "#ferror in function 'subscribeEvent'.", &err);
        return 0;
    }
    return SubscribeOn(L, asEventSet(self), eventName, request, label);
}

CEGUI::EventSet* EventSetAsEventSet(void* p)
{
    return static_cast<CEGUI::EventSet*>(p);
}

CEGUI::EventSet* ElementAsEventSet(void* p)
{
    return static_cast<CEGUI::Element*>(p);
}

CEGUI::EventSet* RenderTargetAsEventSet(void* p)
{
    return static_cast<CEGUI::RenderTarget*>(p);
}

int SubscribeEventSet(lua_State* L)
{
    return SubscribeEvent(L, "CEGUI::EventSet", &EventSetAsEventSet);
}

int SubscribeElement(lua_State* L)
{
    return SubscribeEvent(L, "CEGUI::Element", &ElementAsEventSet);
}

int SubscribeRenderTarget(lua_State* L)
{
    return SubscribeEvent(L, "CEGUI::RenderTarget", &RenderTargetAsEventSet);
}

// --- the connection object ---------------------------------------------------

QGUI::EventConnection* ConnectionSelf(lua_State* L, const char* function)
{
    tolua_Error err;
    if (!tolua_isusertype(L, 1, kConnectionType, 0, &err) || !tolua_isnoobj(L, 2, &err))
    {
        char message[64];
        std::snprintf(message, sizeof(message), "#ferror in function '%s'.", function);
        tolua_error(L, message, &err);
        return nullptr;
    }
    QGUI::EventConnection* self =
        static_cast<QGUI::EventConnection*>(tolua_tousertype(L, 1, nullptr));
    if (!self)
    {
        char message[64];
        std::snprintf(message, sizeof(message), "invalid 'self' in function '%s'", function);
        tolua_error(L, message, nullptr);
    }
    return self;
}

int ConnectionConnected(lua_State* L)
{
    QGUI::EventConnection* self = ConnectionSelf(L, "connected");
    const bool connected = self->connection.isValid() && self->connection->connected() &&
                           !QGUI::LuaEventFunctor::IsDisconnected(self->handler);
    lua_pushboolean(L, connected);
    return 1;
}

int ConnectionDisconnect(lua_State* L)
{
    QGUI::EventConnection* self = ConnectionSelf(L, "disconnect");
    char failure[512];
    try
    {
        QGUI::LuaEventFunctor::Disconnect(self->handler, self->connection);
        return 0;
    }
    catch (const std::exception& e)
    {
        CopyText(failure, sizeof(failure), e.what());
    }
    return luaL_error(L, "%s", failure);
}

int ConnectionCollect(lua_State* L)
{
    delete static_cast<QGUI::EventConnection*>(tolua_tousertype(L, 1, nullptr));
    return 0;
}

// --- the dead pool ------------------------------------------------------------

// wm:cleanDeadPool() in place of the binding's: the pool is emptied at once,
// or once the event being delivered is through.
int CleanDeadPool(lua_State* L)
{
    tolua_Error err;
    if (!tolua_isusertype(L, 1, "CEGUI::WindowManager", 0, &err) || !tolua_isnoobj(L, 2, &err))
    {
        tolua_error(L, "#ferror in function 'cleanDeadPool'.", &err);
        return 0;
    }
    if (!tolua_tousertype(L, 1, nullptr))
    {
        tolua_error(L, "invalid 'self' in function 'cleanDeadPool'", nullptr);
        return 0;
    }
    QGUI::CDispatchScope::RequestDeadPoolClean();
    return 0;
}
} // namespace

int OpenGuiBinding(lua_State* L)
{
    tolua_CEGUI_open(L);

    tolua_usertype(L, kConnectionType);
    tolua_module(L, nullptr, 0);
    tolua_beginmodule(L, nullptr);
    tolua_module(L, "QGUI", 0);
    tolua_beginmodule(L, "QGUI");
    tolua_cclass(L, "EventConnection", kConnectionType, "", &ConnectionCollect);
    tolua_beginmodule(L, "EventConnection");
    tolua_function(L, "connected", &ConnectionConnected);
    tolua_function(L, "disconnect", &ConnectionDisconnect);
    tolua_endmodule(L);
    tolua_endmodule(L);
    tolua_endmodule(L);

    static const struct
    {
        const char* type;
        lua_CFunction subscribe;
    } kTargets[] = {{"CEGUI::EventSet", &SubscribeEventSet},
                    {"CEGUI::Element", &SubscribeElement},
                    {"CEGUI::RenderTarget", &SubscribeRenderTarget}};
    for (const auto& target : kTargets)
    {
        luaL_getmetatable(L, target.type);
        if (lua_istable(L, -1))
        {
            lua_pushcfunction(L, target.subscribe);
            lua_setfield(L, -2, "subscribeEvent");
        }
        lua_pop(L, 1);
    }
    luaL_getmetatable(L, "CEGUI::WindowManager");
    if (lua_istable(L, -1))
    {
        lua_pushcfunction(L, &CleanDeadPool);
        lua_setfield(L, -2, "cleanDeadPool");
    }
    lua_pop(L, 1);
    return 0;
}
} // namespace QGUI
