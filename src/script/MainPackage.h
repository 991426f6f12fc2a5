// The main-object, panel and KeyValues script package: "KeyValues" and
// "HandleBase" in the scripts' global scope, "QGUI.IPanel", "QGUI.CQGUI" and
// the input-status constants in the module "QGUI".
#pragma once

struct lua_State;

namespace QGUI
{
// Registers the package on the state; the script system opens it once, at
// its start-up. Returns 1.
int OpenMainScriptPackage(lua_State* L);
} // namespace QGUI
