// The widget and colour script package: the rich-text colour table, image
// list items, the caret offset of the game edit box, the document size of
// the rich-text window, the target id of item icons and the file browser
// ("SHELL"). Opened after the GUI library's own binding, whose classes are
// the bases of the package's.
#pragma once

struct lua_State;

namespace QGUI
{
// Registers the package's script types on the state, in a fixed order.
void RegisterWidgetScriptTypes(lua_State* L);

// Registers the package on the state; the data-provider map has the main
// object open it once, at start-up. Returns 1.
int OpenWidgetScriptPackage(lua_State* L);
} // namespace QGUI
