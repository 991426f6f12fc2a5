// The module's side of the widget script package: functions bound in place
// of a member where the member alone would not be safe from a script, and
// the hooks of the generated binding.
//
// Script text is UTF-8, and so is text inside the GUI library: texts a
// script hands to the GUI library are decoded as UTF-8. tolua lets nil
// through its string checks as a null pointer, which these functions take
// as the empty text (or, for a path, as no path).
//
// Objects the module may free while a script still holds them reach the
// scripts through ScriptObjects: the entries of a search result (freed by
// the next search) and image list items (freed by the list that took them).
#pragma once

#include "script/MainPackageAdapters.h"

namespace CEGUI
{
class ListboxImageItem;
}

namespace SHELL
{
class FileFolderMgr;
}

namespace QGUI
{
class CGameChatBox;

namespace WidgetPackageAdapters
{
// Pushes a UTF-8 chat line (nil is the empty line) into the chat box.
bool PushChatText(CGameChatBox* self, const char* text);

// A new image list item with the UTF-8 text; the script does not own it:
// a list it is added to with auto-delete set frees it.
CEGUI::ListboxImageItem* createListboxImageItem(const char* text, unsigned int item_id, void* item_data,
                                                bool disabled, bool auto_delete);

// The searches: the scripts' references to the entries of the last result
// die first. The path is UTF-8, converted to the local code page for the
// browser; nil, or a path the local code page cannot hold, lists the
// drives.
void InitSearch(SHELL::FileFolderMgr* self);
void OpenPath(SHELL::FileFolderMgr* self, const char* path);
} // namespace WidgetPackageAdapters
} // namespace QGUI

#if defined(QGUI_WIDGET_PACKAGE_BINDING)
// Only the generated binding defines QGUI_WIDGET_PACKAGE_BINDING; it has
// included tolua++.h already.

#include <CEGUI/widgets/MultiLineEditbox.h>
#include <CEGUI/widgets/ScrollablePane.h>

#include "richtext/ColourTable.h"
#include "richtext/GameMultiLine.h"
#include "script/FileBrowser.h"
#include "widgets/GameChatBox.h"
#include "widgets/GameEditBox.h"
#include "widgets/ItemIcon.h"
#include "widgets/ListImageItem.h"

// The adapters are called by their script names.
using namespace QGUI::WidgetPackageAdapters;
namespace CEGUI
{
using ::QGUI::WidgetPackageAdapters::createListboxImageItem;
}

// Every object reaches the scripts through the records of ScriptObjects.
#define tolua_pushusertype(L, value, type) ::QGUI::ScriptObjects::Push(L, value, type)
// The binding converts numbers with casts: (unsigned int) tolua_tonumber(...).
#define tolua_tonumber(L, narg, def) \
    ::QGUI::MainPackageAdapters::ScriptNumber { tolua_tonumber(L, narg, def) }
#endif
