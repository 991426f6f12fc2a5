#include "script/ScriptSupport.h"

#include <climits>
#include <cmath>
#include <cstring>

extern "C" {
#include <lauxlib.h>
}
#include <tolua++.h>

#include "render/GuiString.h"

namespace QGUI
{
namespace ScriptSupport
{
namespace
{
int GetGlobalProtected(lua_State* L)
{
    lua_gettable(L, LUA_GLOBALSINDEX);
    return 1;
}

// Runs protected (see PushNamedFunction). Raises plain Lua errors only and
// holds no C++ objects, so a raised error leaves nothing behind.
int ResolveNamedFunction(lua_State* L)
{
    size_t length = 0;
    const char* name = lua_tolstring(L, 1, &length);
    const char* end = name + length;
    if (!std::memchr(name, '.', length))
    {
        lua_pushvalue(L, 1);
        lua_gettable(L, LUA_GLOBALSINDEX);
    }
    else
    {
        bool first = true;
        const char* p = name;
        while (p < end)
        {
            while (p < end && *p == '.')
                ++p;
            if (p >= end)
                break;
            const char* q = p;
            while (q < end && *q != '.')
                ++q;
            if (first)
            {
                lua_pushlstring(L, p, q - p);
                lua_gettable(L, LUA_GLOBALSINDEX);
                first = false;
            }
            else
            {
                if (!lua_istable(L, -1))
                {
                    // The part before this one did not give a table.
                    const char* prevEnd = p;
                    while (prevEnd > name && prevEnd[-1] == '.')
                        --prevEnd;
                    const char* prevStart = prevEnd;
                    while (prevStart > name && prevStart[-1] != '.')
                        --prevStart;
                    lua_pushlstring(L, prevStart, prevEnd - prevStart);
                    lua_pushfstring(L,
                                    "Unable to get the Lua event handler: '%s' as part of the "
                                    "name '%s' is not a table",
                                    name, lua_tostring(L, -1));
                    return lua_error(L);
                }
                lua_pushlstring(L, p, q - p);
                lua_gettable(L, -2);
                lua_remove(L, -2);
            }
            p = q;
        }
        if (first)
            lua_pushnil(L);
    }
    if (!lua_isfunction(L, -1))
    {
        lua_pushfstring(L, "The Lua event handler: '%s' does not represent a Lua function",
                        name);
        return lua_error(L);
    }
    return 1;
}
} // namespace

CEGUI::String Utf8ToString(const char* text, size_t length)
{
    return StringFromUtf8(text, length);
}

CEGUI::String Utf8ToString(const char* text)
{
    return StringFromUtf8(text);
}

const char* ErrorText(lua_State* L, int idx)
{
    const char* text = lua_tostring(L, idx);
    return text ? text : "(error object is not a string)";
}

CEGUI::String LogErrorText(lua_State* L, int idx)
{
    size_t length = 0;
    const char* text = lua_tolstring(L, idx, &length);
    if (!text)
        return ErrorText(L, idx);
    return LogText(text, length);
}

CEGUI::String LogText(const char* text, size_t length)
{
    return Utf8ToString(text, length < kMaxLogText ? length : kMaxLogText);
}

CEGUI::String LogText(const CEGUI::String& text)
{
    return text.length() <= kMaxLogText ? text : text.substr(0, kMaxLogText);
}

int ToInt32(lua_Number value)
{
    if (!(value > -2147483649.0 && value < 2147483648.0))
        return INT_MIN;
    return static_cast<int>(value);
}

bool PushGlobal(lua_State* L, const char* name)
{
    if (!name)
        name = "";
    if (!lua_getmetatable(L, LUA_GLOBALSINDEX))
    {
        // Without a metatable a look-up cannot fail.
        lua_getfield(L, LUA_GLOBALSINDEX, name);
        return true;
    }
    lua_pop(L, 1);
    lua_pushcfunction(L, GetGlobalProtected);
    lua_pushstring(L, name);
    return lua_pcall(L, 1, 1, 0) == 0;
}

bool PushNamedFunction(lua_State* L, const char* name, size_t length)
{
    lua_pushcfunction(L, ResolveNamedFunction);
    lua_pushlstring(L, name ? name : "", name ? length : 0);
    return lua_pcall(L, 1, 1, 0) == 0;
}

void PushUserType(lua_State* L, const void* ptr, const char* type)
{
    if (!ptr || !type)
    {
        lua_pushnil(L);
        return;
    }
    luaL_getmetatable(L, type);
    const bool registered = lua_istable(L, -1);
    lua_pop(L, 1);
    if (registered)
        tolua_pushusertype(L, const_cast<void*>(ptr), type);
    else
        lua_pushnil(L);
}
} // namespace ScriptSupport
} // namespace QGUI
