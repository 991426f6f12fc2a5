// Localisable texts of the GUI library build: a text that begins with "#"
// names a script global that holds its text.
#pragma once

#include <CEGUI/String.h>

namespace QGUI
{
class LuaScriptModule;

// The script module whose globals hold the texts; null (the start) leaves
// every text unchanged.
void SetLocalizeScriptModule(LuaScriptModule* module);
LuaScriptModule* GetLocalizeScriptModule();
} // namespace QGUI

namespace CEGUI
{
// A text beginning with "#": the text of the script global named by the rest
// (when it holds a string or a number), else the text unchanged. Any other
// text is returned unchanged.
String LocalizeString(const String& text);
} // namespace CEGUI
