// The opener of the widget and colour script package.
#include "script/WidgetPackage.h"

extern "C" {
#include <lua.h>
}
#include <tolua++.h>

#include "script/ScriptObjects.h"

// The generated binding's opener.
int tolua_WidgetPackage_open(lua_State* tolua_S);

namespace QGUI
{
namespace
{
// The package's script types. Registering a type the GUI library's binding
// has already registered changes nothing. "CEGUI::Size" is the GUI library's
// old name of its size type; sizes travel as "CEGUI::Size<float>".
const char* const kWidgetScriptTypes[] = {
    "CEGUI::MultiLineEditbox", "CEGUI::Size",
    "SHELL::FileSet",          "QGUI::QXWindow",
    "CEGUI::Editbox",          "CEGUI::ScrollablePane",
    "CEGUI::Window",           "QGUI::CGameChatBox",
    "SHELL::FileInfo",         "QGUI::CItemIcon",
    "QGUI::CGameMultiLine",    "QGUI::TextParser::CColorPropertyManager",
    "SHELL::FileFolderMgr",    "CEGUI::ListboxItem",
    "QGUI::CGameEditBox",      "CEGUI::ListboxImageItem",
};
} // namespace

void RegisterWidgetScriptTypes(lua_State* L)
{
    for (const char* type : kWidgetScriptTypes)
        tolua_usertype(L, type);
}

int OpenWidgetScriptPackage(lua_State* L)
{
    ScriptObjects::Attach(L);
    tolua_open(L);
    RegisterWidgetScriptTypes(L);
    return tolua_WidgetPackage_open(L);
}
} // namespace QGUI
