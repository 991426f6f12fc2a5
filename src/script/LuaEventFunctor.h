// The event functor behind scripted subscriptions, and the life of the Lua
// state it calls into.
#pragma once

#include <memory>

#include <CEGUI/Event.h>
#include <CEGUI/String.h>

struct lua_State;

namespace CEGUI
{
class EventArgs;
}

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

// The life of the state L, made and kept in its registry on first use. Seen
// from a state that is closing, a life that is no longer alive.
std::shared_ptr<LuaStateLife> StateLifeOf(lua_State* L);

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
} // namespace QGUI
