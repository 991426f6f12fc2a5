// The widget and colour script package: so far the rich-text colour table,
// "QGUI.TextParser.CColorPropertyManager" (Instance, RegisterColorByString,
// SetClickColorByString).
#pragma once

struct lua_State;

namespace QGUI
{
// Registers the package on the state; the data-provider map has the main
// object open it once, at start-up. Returns 1.
int OpenWidgetScriptPackage(lua_State* L);
} // namespace QGUI
