// The event functor behind scripted subscriptions, the life of the Lua state
// it calls into, and the disconnections a handler asks for while it runs.
#include "script/LuaEventFunctor.h"

#include <exception>
#include <new>
#include <utility>
#include <vector>

#include <CEGUI/EventArgs.h>
#include <CEGUI/Logger.h>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}

#include "core/DispatchScope.h"
#include "script/LuaBindingGuard.h"
#include "script/LuaScriptInternal.h"
#include "script/ScriptSupport.h"

using QGUI::ScriptSupport::LogErrorText;
using QGUI::ScriptSupport::LogText;
using QGUI::ScriptSupport::PushNamedFunction;
using QGUI::ScriptSupport::PushUserType;
using QGUI::ScriptSupport::Utf8ToString;

namespace QGUI
{
namespace
{
// --- state life ------------------------------------------------------------

char g_stateLifeKey;

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
} // namespace

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
    const CDispatchScope dispatch(CDispatchScope::Handler);
    ProcessPendingDisconnects();
    lua_State* L = data->life->main;
    const int top = lua_gettop(L);
    // A handler that could not run is logged with the reason; the event
    // counts as handled.
    const auto unable = [&](const CEGUI::String& reason) {
        lua_settop(L, top);
        LogLine("Unable to evaluate the Lua event handler: '" + LogText(data->name) + "'\n\n" +
                    reason + "\n",
                CEGUI::Errors);
        return true;
    };
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
            return unable(LogErrorText(L, -1));

        int nargs = 1;
        if (data->selfRef >= 0)
        {
            lua_rawgeti(L, LUA_REGISTRYINDEX, data->selfRef);
            ++nargs;
        }
        PushUserType(L, &args, kEventArgsType);
        if (ProtectedLuaCall(L, nargs, 1, handler) != 0)
            return unable(LogErrorText(L, -1));
        const bool result = lua_isboolean(L, -1) ? lua_toboolean(L, -1) != 0 : true;
        lua_settop(L, top);
        return result;
    }
    catch (const std::exception& e)
    {
        return unable(Utf8ToString(e.what()));
    }
}
} // namespace QGUI
