// The opener of the widget and colour script package.
#include "script/WidgetPackage.h"

// The generated binding's opener.
int tolua_WidgetPackage_open(lua_State* tolua_S);

namespace QGUI
{
int OpenWidgetScriptPackage(lua_State* L)
{
    return tolua_WidgetPackage_open(L);
}
} // namespace QGUI
