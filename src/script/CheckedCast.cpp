// The checked tolua.cast. A cast goes through when it is sound:
// - nil, and a cast without a type name, answer as tolua's own cast does;
// - the type asked for is one the packages registered, not one of tolua's
//   own bookkeeping types;
// - the object is one tolua made (a userdata whose metatable is a
//   registered type), and the two types are related: the same type, a base
//   or a derived one, const or not;
// - for a window class (CEGUI::Window and every class derived from it), the
//   object is a window not destroyed whose real class is that class or
//   derives from it.
#include "script/CheckedCast.h"

#include <cxxabi.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <typeinfo>

#include <CEGUI/Element.h>
#include <CEGUI/WindowManager.h>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}
#include <tolua++.h>

namespace QGUI
{
namespace
{
const char kWindowType[] = "CEGUI::Window";
const char kElementType[] = "CEGUI::Element";

std::string Plain(const char* type)
{
    return std::strncmp(type, "const ", 6) == 0 ? std::string(type + 6) : std::string(type);
}

// tolua's own types ("tolua_commonclass" and the like) are not the
// packages'.
bool IsInternal(const std::string& plain)
{
    return plain.compare(0, 6, "tolua_") == 0;
}

// Whether the name is a type registered with tolua on the state: tolua keeps
// registry[name] = metatable and registry[metatable] = name.
bool IsRegisteredType(lua_State* L, const char* name)
{
    lua_getfield(L, LUA_REGISTRYINDEX, name);
    bool registered = false;
    if (lua_istable(L, -1))
    {
        lua_rawget(L, LUA_REGISTRYINDEX);
        registered = lua_type(L, -1) == LUA_TSTRING && std::strcmp(lua_tostring(L, -1), name) == 0;
    }
    lua_pop(L, 1);
    return registered;
}

// The registered type of the value at idx; empty when tolua did not make it.
std::string ToluaTypeOf(lua_State* L, int idx)
{
    std::string type;
    if (lua_type(L, idx) != LUA_TUSERDATA || !lua_getmetatable(L, idx))
        return type;
    lua_rawget(L, LUA_REGISTRYINDEX);
    if (lua_type(L, -1) == LUA_TSTRING)
        type = lua_tostring(L, -1);
    lua_pop(L, 1);
    if (!type.empty() && !IsRegisteredType(L, type.c_str()))
        type.clear();
    return type;
}

// Whether tolua knows base as a base class of type (both without "const ").
bool HasBase(lua_State* L, const std::string& type, const char* base)
{
    const int top = lua_gettop(L);
    lua_getfield(L, LUA_REGISTRYINDEX, "tolua_super");
    bool found = false;
    if (lua_istable(L, -1))
    {
        lua_getfield(L, LUA_REGISTRYINDEX, type.c_str());
        lua_rawget(L, -2);
        if (lua_istable(L, -1))
        {
            lua_getfield(L, -1, base);
            found = lua_toboolean(L, -1) != 0;
        }
    }
    lua_settop(L, top);
    return found;
}

bool IsA(lua_State* L, const std::string& type, const char* base)
{
    return type == base || HasBase(L, type, base);
}

// The C++ name of a registered class (the binding knows one by a typedef).
std::string CppName(const std::string& type)
{
    return type == "CEGUI::GUISheet" ? std::string("CEGUI::DefaultWindow") : type;
}

std::string Demangled(const std::type_info& type)
{
    int status = 0;
    char* name = abi::__cxa_demangle(type.name(), nullptr, nullptr, &status);
    std::string result = status == 0 && name ? name : type.name();
    std::free(name);
    return result;
}

// Whether the class is the named one or derives from it.
bool DerivesFrom(const std::type_info& type, const std::string& name)
{
    if (Demangled(type) == name)
        return true;
    if (const auto* single = dynamic_cast<const abi::__si_class_type_info*>(&type))
        return DerivesFrom(*single->__base_type, name);
    if (const auto* multiple = dynamic_cast<const abi::__vmi_class_type_info*>(&type))
        for (unsigned i = 0; i < multiple->__base_count; ++i)
            if (DerivesFrom(*multiple->__base_info[i].__base_type, name))
                return true;
    return false;
}

// Whether the cast of the value at 1 to type is refused; if so, the
// object's real type goes into real.
bool Refused(lua_State* L, const char* type, char (&real)[256])
{
    if (lua_isnoneornil(L, 1))
        return false;
    const std::string source = ToluaTypeOf(L, 1);
    if (source.empty())
    {
        std::snprintf(real, sizeof(real), "%s", luaL_typename(L, 1));
        return true;
    }
    std::snprintf(real, sizeof(real), "%s", source.c_str());
    const std::string from = Plain(source.c_str());
    const std::string to = Plain(type);
    if (IsA(L, to, kWindowType))
    {
        // Every element class has the element at the start of the object.
        if (!IsA(L, from, kElementType))
            return true;
        const void* object = tolua_tousertype(L, 1, nullptr);
        if (!object)
            return false;
        // A window the script kept after it was destroyed is not read.
        const CEGUI::WindowManager* windows = CEGUI::WindowManager::getSingletonPtr();
        if (!windows || !windows->isAlive(static_cast<const CEGUI::Window*>(object)))
        {
            std::snprintf(real, sizeof(real), "a destroyed window");
            return true;
        }
        const std::type_info& actual = typeid(*static_cast<const CEGUI::Element*>(object));
        if (DerivesFrom(actual, CppName(to)))
            return false;
        std::snprintf(real, sizeof(real), "%s", Demangled(actual).c_str());
        return true;
    }
    return !(from == to || HasBase(L, from, to.c_str()) || HasBase(L, to, from.c_str()));
}

int CheckedCast(lua_State* L)
{
    const char* type = lua_isnoneornil(L, 2) ? nullptr : lua_tostring(L, 2);
    if (type)
    {
        if (IsInternal(Plain(type)) || !IsRegisteredType(L, type))
            return luaL_error(L, "tolua.cast: unknown type '%s'", type);
        char real[256];
        if (Refused(L, type, real))
            return luaL_error(L, "tolua.cast: cannot cast '%s' to '%s'", real, type);
    }
    lua_CFunction cast = lua_tocfunction(L, lua_upvalueindex(1));
    return cast(L);
}
} // namespace

void InstallCheckedCast(lua_State* L)
{
    lua_pushstring(L, "tolua");
    lua_rawget(L, LUA_GLOBALSINDEX);
    if (lua_istable(L, -1))
    {
        lua_pushstring(L, "cast");
        lua_rawget(L, -2);
        if (lua_iscfunction(L, -1) && lua_tocfunction(L, -1) != &CheckedCast)
        {
            lua_pushcclosure(L, &CheckedCast, 1);
            lua_pushstring(L, "cast");
            lua_insert(L, -2);
            lua_rawset(L, -3);
        }
        else
            lua_pop(L, 1);
    }
    lua_pop(L, 1);
}
} // namespace QGUI
