#include "script/LuaScriptModule.h"

#include <cstdio>
#include <cstring>
#include <exception>
#include <new>
#include <unordered_set>
#include <utility>
#include <vector>

#include <CEGUI/DataContainer.h>
#include <CEGUI/Element.h>
#include <CEGUI/EventArgs.h>
#include <CEGUI/EventSet.h>
#include <CEGUI/Exceptions.h>
#include <CEGUI/Logger.h>
#include <CEGUI/RenderTarget.h>
#include <CEGUI/ResourceProvider.h>
#include <CEGUI/System.h>
#include <CEGUI/Window.h>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}
#include <tolua++.h>

#include "script/ScriptSupport.h"
#include "script/ScriptSystem.h"

// CEGUI's own Lua binding, exported by libCEGUILuaScriptModule-0 (no header
// ships with it).
int tolua_CEGUI_open(lua_State* L);

using QGUI::ScriptSupport::ErrorText;
using QGUI::ScriptSupport::LogErrorText;
using QGUI::ScriptSupport::LogText;
using QGUI::ScriptSupport::PushGlobal;
using QGUI::ScriptSupport::PushNamedFunction;
using QGUI::ScriptSupport::PushUserType;
using QGUI::ScriptSupport::ToInt32;
using QGUI::ScriptSupport::Utf8ToString;

namespace QGUI
{
// Tells the event functors whether their Lua state still exists, and which
// thread of it is the main one. A userdata in the state's registry flips the
// flag from its finaliser when the state closes.
struct LuaStateLife
{
    bool alive = true;
    lua_State* main = nullptr;
};

// The connection object handed to scripts by subscribeEvent.
struct EventConnection
{
    CEGUI::Event::Connection connection;
    LuaEventFunctor::Handle handler;
};
} // namespace QGUI

namespace
{
const char* const kConnectionType = "QGUI::EventConnection";
const char* const kEventArgsType = "const CEGUI::EventArgs";
const char* const kWindowType = "const CEGUI::Window";

char g_stateLifeKey;

void LogLine(const CEGUI::String& text, CEGUI::LoggingLevel level)
{
    try
    {
        if (CEGUI::Logger* logger = CEGUI::Logger::getSingletonPtr())
            logger->logEvent(text, level);
    }
    catch (...)
    {
    }
}

void CopyText(char* buffer, size_t size, const char* text)
{
    std::snprintf(buffer, size, "%s", text ? text : "");
}

// --- state life ------------------------------------------------------------

typedef std::shared_ptr<QGUI::LuaStateLife> LifeHolder;

int CollectStateLife(lua_State* L)
{
    LifeHolder* holder = static_cast<LifeHolder*>(lua_touserdata(L, 1));
    if (holder && *holder)
    {
        (*holder)->alive = false;
        holder->reset();
    }
    return 0;
}

LifeHolder StateLifeOf(lua_State* L)
{
    lua_pushlightuserdata(L, &g_stateLifeKey);
    lua_rawget(L, LUA_REGISTRYINDEX);
    if (lua_type(L, -1) == LUA_TUSERDATA)
    {
        LifeHolder life = *static_cast<LifeHolder*>(lua_touserdata(L, -1));
        lua_pop(L, 1);
        if (!life)
        {
            // The state is closing.
            life = std::make_shared<QGUI::LuaStateLife>();
            life->alive = false;
        }
        return life;
    }
    lua_pop(L, 1);

    LifeHolder life = std::make_shared<QGUI::LuaStateLife>();
    life->main = L;
    lua_pushlightuserdata(L, &g_stateLifeKey);
    void* memory = lua_newuserdata(L, sizeof(LifeHolder));
    new (memory) LifeHolder(life);
    lua_newtable(L);
    lua_pushcfunction(L, &CollectStateLife);
    lua_setfield(L, -2, "__gc");
    lua_setmetatable(L, -2);
    lua_rawset(L, LUA_REGISTRYINDEX);
    return life;
}

// --- exception guard -------------------------------------------------------

// Calls the C function held as upvalue 1. A C++ exception is caught here and
// raised as a Lua error once the catch block (and every C++ object) is gone;
// Lua errors raised by the function pass through this frame, which holds no
// object that needs destruction.
int GuardedCall(lua_State* L)
{
    lua_CFunction original = lua_tocfunction(L, lua_upvalueindex(1));
    char message[512];
    try
    {
        return original(L);
    }
    catch (const CEGUI::Exception& e)
    {
        CopyText(message, sizeof(message), e.getMessage().c_str());
    }
    catch (const std::exception& e)
    {
        CopyText(message, sizeof(message), e.what());
    }
    catch (...)
    {
        CopyText(message, sizeof(message), "unknown C++ exception");
    }
    return luaL_error(L, "%s", message);
}

bool HasUpvalues(lua_State* L, int idx)
{
    if (!lua_getupvalue(L, idx, 1))
        return false;
    lua_pop(L, 1);
    return true;
}

bool IsGuardable(lua_State* L, int keyIdx, int valueIdx)
{
    if (lua_type(L, keyIdx) != LUA_TSTRING || !lua_iscfunction(L, valueIdx))
        return false;
    const char* key = lua_tostring(L, keyIdx);
    if (key[0] == '_' && key[1] == '_')
        return false;
    return !HasUpvalues(L, valueIdx);
}

// Replaces the guardable C functions of the table on top of the stack. When
// recurse is set, nested tables are walked as well (once each); otherwise
// only the ".get" and ".set" tables are.
int GuardTable(lua_State* L, bool recurse, std::unordered_set<const void*>& visited)
{
    const int table = lua_gettop(L);
    if (!visited.insert(lua_topointer(L, table)).second)
        return 0;
    int wrapped = 0;
    lua_pushnil(L);
    while (lua_next(L, table))
    {
        const int key = lua_gettop(L) - 1;
        const int value = key + 1;
        if (IsGuardable(L, key, value))
        {
            lua_pushvalue(L, key);
            lua_pushvalue(L, value);
            lua_pushcclosure(L, &GuardedCall, 1);
            lua_rawset(L, table); // an existing field: allowed during traversal
            ++wrapped;
        }
        else if (lua_istable(L, value))
        {
            bool walk = recurse;
            if (!walk && lua_type(L, key) == LUA_TSTRING)
            {
                const char* name = lua_tostring(L, key);
                walk = std::strcmp(name, ".get") == 0 || std::strcmp(name, ".set") == 0;
            }
            if (walk)
            {
                lua_pushvalue(L, value);
                wrapped += GuardTable(L, recurse, visited);
                lua_pop(L, 1);
            }
        }
        lua_pop(L, 1);
    }
    return wrapped;
}

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

// Runs protected: CEGUI's binding, the module's connection type, and the
// module's subscribeEvent in place of the binding's.
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
    return 0;
}
} // namespace

namespace QGUI
{
// ---------------------------------------------------------------------------
// LuaEventFunctor

struct LuaEventFunctor::Data
{
    std::shared_ptr<LuaStateLife> life;
    // Calls of this handler under way; while one is, its slot is the one
    // the event is dispatching and must not be removed.
    int running = 0;
    // Disconnected by a script while it ran; the slot goes later.
    bool disconnected = false;
    CEGUI::String name;
    std::string nameUtf8;
    int functionRef = LUA_NOREF;
    int selfRef = LUA_NOREF;
    int errorRef = LUA_NOREF;
    std::string errorNameUtf8;

    ~Data()
    {
        if (!life || !life->alive)
            return;
        lua_State* L = life->main;
        for (int ref : {functionRef, selfRef, errorRef})
            if (ref >= 0)
                luaL_unref(L, LUA_REGISTRYINDEX, ref);
    }
};

LuaEventFunctor::LuaEventFunctor(lua_State* L, const CEGUI::String& functionName)
    : LuaEventFunctor(L, functionName, LUA_NOREF, LUA_NOREF, LUA_NOREF, CEGUI::String())
{
}

LuaEventFunctor::LuaEventFunctor(lua_State* L, const CEGUI::String& functionName,
                                 int functionRef, int selfRef, int errorHandlerRef,
                                 const CEGUI::String& errorHandlerName)
    : m_Data(std::make_shared<Data>())
{
    m_Data->functionRef = functionRef;
    m_Data->selfRef = selfRef;
    m_Data->errorRef = errorHandlerRef;
    m_Data->life = StateLifeOf(L);
    m_Data->name = functionName;
    m_Data->nameUtf8 = functionName.c_str();
    m_Data->errorNameUtf8 = errorHandlerName.c_str();
}

namespace
{
typedef std::pair<LuaEventFunctor::Handle, CEGUI::Event::Connection> PendingDisconnect;

// Disconnections asked for while the handler ran. Never destroyed: entries
// hold slots of the GUI library, which may be gone at exit.
std::vector<PendingDisconnect>& PendingDisconnects()
{
    static std::vector<PendingDisconnect>* pending = new std::vector<PendingDisconnect>;
    return *pending;
}

// Removes the slots of pending disconnections whose handler is not running:
// such a slot is not the one any event is dispatching right now.
void ProcessPendingDisconnects()
{
    std::vector<PendingDisconnect>& pending = PendingDisconnects();
    if (pending.empty())
        return;
    std::vector<PendingDisconnect> ready;
    for (auto it = pending.begin(); it != pending.end();)
    {
        const std::shared_ptr<LuaEventFunctor::Data> data = it->first.lock();
        if (data && data->running > 0)
        {
            ++it;
            continue;
        }
        ready.push_back(std::move(*it));
        it = pending.erase(it);
    }
    for (PendingDisconnect& entry : ready)
        if (entry.second.isValid())
            entry.second->disconnect();
}

struct RunningScope
{
    explicit RunningScope(int& counter) : m_Counter(counter) { ++m_Counter; }
    ~RunningScope() { --m_Counter; }
    int& m_Counter;
};
} // namespace

void LuaEventFunctor::Disconnect(const Handle& handle, CEGUI::Event::Connection& connection)
{
    const std::shared_ptr<Data> data = handle.lock();
    if (data && data->running > 0)
    {
        // The handler disconnects itself (or one that called it): removing
        // its slot now would pull it from under the event's dispatch.
        if (!data->disconnected)
        {
            data->disconnected = true;
            PendingDisconnects().emplace_back(handle, connection);
        }
    }
    else if (connection.isValid())
        connection->disconnect();
    ProcessPendingDisconnects();
}

bool LuaEventFunctor::IsDisconnected(const Handle& handle)
{
    const std::shared_ptr<Data> data = handle.lock();
    return data && data->disconnected;
}

LuaEventFunctor::Handle LuaEventFunctor::GetHandle() const
{
    return m_Data;
}

bool LuaEventFunctor::operator()(const CEGUI::EventArgs& args) const
{
    // Keeps the data alive should the handler disconnect itself.
    const std::shared_ptr<Data> data = m_Data;
    if (!data->life->alive || data->disconnected)
        return false; // nothing ran
    const RunningScope running(data->running);
    ProcessPendingDisconnects();
    lua_State* L = data->life->main;
    const int top = lua_gettop(L);
    try
    {
        int handler = 0;
        if (data->errorRef >= 0)
        {
            lua_rawgeti(L, LUA_REGISTRYINDEX, data->errorRef);
            handler = lua_gettop(L);
        }
        else if (!data->errorNameUtf8.empty())
        {
            if (PushNamedFunction(L, data->errorNameUtf8.c_str(), data->errorNameUtf8.size()))
                handler = lua_gettop(L);
            else
                lua_settop(L, top);
        }

        if (data->functionRef >= 0)
            lua_rawgeti(L, LUA_REGISTRYINDEX, data->functionRef);
        else if (PushNamedFunction(L, data->nameUtf8.c_str(), data->nameUtf8.size()))
        {
            // Found at the first event; kept from now on.
            lua_pushvalue(L, -1);
            data->functionRef = luaL_ref(L, LUA_REGISTRYINDEX);
        }
        else
        {
            const CEGUI::String error = LogErrorText(L, -1);
            lua_settop(L, top);
            LogLine("Unable to evaluate the Lua event handler: '" + LogText(data->name) + "'\n\n" +
                        error + "\n",
                    CEGUI::Errors);
            return true;
        }

        int nargs = 1;
        if (data->selfRef >= 0)
        {
            lua_rawgeti(L, LUA_REGISTRYINDEX, data->selfRef);
            ++nargs;
        }
        PushUserType(L, &args, kEventArgsType);
        if (ProtectedLuaCall(L, nargs, 1, handler) != 0)
        {
            const CEGUI::String error = LogErrorText(L, -1);
            lua_settop(L, top);
            LogLine("Unable to evaluate the Lua event handler: '" + LogText(data->name) + "'\n\n" +
                        error + "\n",
                    CEGUI::Errors);
            return true;
        }
        const bool result = lua_isboolean(L, -1) ? lua_toboolean(L, -1) != 0 : true;
        lua_settop(L, top);
        return result;
    }
    catch (const std::exception& e)
    {
        lua_settop(L, top);
        LogLine("Unable to evaluate the Lua event handler: '" + LogText(data->name) + "'\n\n" +
                    Utf8ToString(e.what()) + "\n",
                CEGUI::Errors);
        return true;
    }
}

// ---------------------------------------------------------------------------
// LuaScriptModule

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
    // find leaves the container empty, which runs as an empty chunk.
    provider->loadRawDataContainer(filename, data,
                                   resourceGroup.empty() ? d_defaultResourceGroup : resourceGroup);
    const char* bytes = data.getDataPtr() ? reinterpret_cast<const char*>(data.getDataPtr()) : "";

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

// ---------------------------------------------------------------------------
// Protected calls and the guard

int ProtectedLuaCall(lua_State* L, int nargs, int nresults, int errfunc)
{
    char message[512];
    try
    {
        return lua_pcall(L, nargs, nresults, errfunc);
    }
    catch (const CEGUI::Exception& e)
    {
        CopyText(message, sizeof(message), e.getMessage().c_str());
    }
    catch (const std::exception& e)
    {
        CopyText(message, sizeof(message), e.what());
    }
    catch (...)
    {
        CopyText(message, sizeof(message), "unknown C++ exception");
    }
    CScriptSystem::LogError("C++ exception escaped a Lua call: %s\n", message);
    lua_pushstring(L, message);
    return LUA_ERRRUN;
}

bool OpenLuaPackage(lua_State* L, int (*open)(lua_State*))
{
    if (!L || !open)
        return false;
    const int top = lua_gettop(L);
    if (lua_cpcall(L, open, nullptr) != 0)
    {
        CScriptSystem::LogError("Error: %s\n", ErrorText(L, -1));
        lua_settop(L, top);
        return false;
    }
    GuardLuaBindings(L);
    return true;
}

int GuardLuaBindings(lua_State* L)
{
    if (!L)
        return 0;
    const int top = lua_gettop(L);
    std::unordered_set<const void*> visited;
    int wrapped = 0;

    // The module tables, walked whole.
    for (const char* module : {"CEGUI", "QGUI", "SHELL"})
    {
        lua_pushstring(L, module);
        lua_rawget(L, LUA_GLOBALSINDEX);
        if (lua_istable(L, -1))
            wrapped += GuardTable(L, true, visited);
        lua_settop(L, top);
    }

    // The type tables of tolua: registry[name] = table with registry[table]
    // = name. Other registry tables (package.loaded, file handles) are left
    // alone.
    lua_pushnil(L);
    while (lua_next(L, LUA_REGISTRYINDEX))
    {
        if (lua_type(L, -2) == LUA_TSTRING && lua_istable(L, -1))
        {
            lua_pushvalue(L, -1);
            lua_rawget(L, LUA_REGISTRYINDEX);
            const bool isType = lua_type(L, -1) == LUA_TSTRING && lua_rawequal(L, -1, -3);
            lua_pop(L, 1);
            if (isType)
                wrapped += GuardTable(L, false, visited);
        }
        lua_pop(L, 1);
    }
    lua_settop(L, top);
    return wrapped;
}
} // namespace QGUI
