#include "LocalizeString.h"

#include "script/LuaScriptModule.h"
#include "script/ScriptSupport.h"

namespace QGUI
{
namespace
{
LuaScriptModule* g_localizeModule = nullptr;
}

void SetLocalizeScriptModule(LuaScriptModule* module)
{
    g_localizeModule = module;
}

LuaScriptModule* GetLocalizeScriptModule()
{
    return g_localizeModule;
}
} // namespace QGUI

namespace CEGUI
{
String LocalizeString(const String& text)
{
    QGUI::LuaScriptModule* module = QGUI::GetLocalizeScriptModule();
    if (!module || text.empty() || text[0] != '#')
        return text;
    const char* key = text.c_str();
    const char* result = module->getGlobalString(key);
    if (result == key)
        return text;
    return QGUI::ScriptSupport::Utf8ToString(result);
}
} // namespace CEGUI
