// The guard that keeps C++ exceptions out of the Lua interpreter: protected
// calls with a C++ backstop, and bound C functions wrapped to raise Lua
// errors instead.
#pragma once

struct lua_State;

namespace QGUI
{
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
// functions wrapped. tolua.cast is replaced by the checked one
// (script/CheckedCast.h).
int GuardLuaBindings(lua_State* L);
} // namespace QGUI
