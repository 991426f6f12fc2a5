// tolua.cast, checked. tolua's own cast reinterprets any userdata as any
// type it is told, so a script could make the module call a chat box's
// functions on a static text, a window's on a file handle, or hand one of
// tolua's own internal types to its collector. The checked cast refuses
// such casts with a script error naming the object's real type and the
// type asked for.
#pragma once

struct lua_State;

namespace QGUI
{
// Puts the checked cast in place of tolua's own (kept as its upvalue), once.
void InstallCheckedCast(lua_State* L);
} // namespace QGUI
