// The guard that keeps C++ exceptions out of the Lua interpreter: bound C
// functions are wrapped in a closure that turns an exception into a Lua
// error, packages are opened protected and guarded, and lua_pcall gets a C++
// backstop.
#include "script/LuaBindingGuard.h"

#include <cstring>
#include <exception>
#include <unordered_set>

#include <CEGUI/Exceptions.h>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}

#include "core/DispatchScope.h"
#include "script/CheckedCast.h"
#include "script/LuaScriptInternal.h"
#include "script/ScriptSupport.h"
#include "script/ScriptSystem.h"

using QGUI::ScriptSupport::ErrorText;

namespace QGUI
{
namespace
{
// Runs call and keeps what it returns in result; a C++ exception it throws
// is caught instead and its text kept in message. False when it threw.
template <class Call>
bool CatchCppException(Call call, int& result, char (&message)[512])
{
    try
    {
        result = call();
        return true;
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
    return false;
}

// Calls the C function held as upvalue 1. A C++ exception is caught here and
// raised as a Lua error once the catch block (and every C++ object) is gone;
// Lua errors raised by the function pass through this frame, which holds no
// object that needs destruction.
int GuardedCall(lua_State* L)
{
    lua_CFunction original = lua_tocfunction(L, lua_upvalueindex(1));
    char message[512];
    int results = 0;
    const auto call = [L, original] {
        const int n = original(L);
        // A script's request to empty the dead pool waited for the call
        // (say a fireEvent) to be through.
        CDispatchScope::CleanWaitingDeadPool();
        return n;
    };
    if (CatchCppException(call, results, message))
        return results;
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
} // namespace

int ProtectedLuaCall(lua_State* L, int nargs, int nresults, int errfunc)
{
    char message[512];
    int status = 0;
    if (CatchCppException([=] { return lua_pcall(L, nargs, nresults, errfunc); }, status, message))
        return status;
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
    InstallCheckedCast(L);
    return wrapped;
}
} // namespace QGUI
