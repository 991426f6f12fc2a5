// Adapters of the widget script package: image list items from UTF-8 text,
// and the file browser's searches with UTF-8 paths.
#include "script/WidgetPackageAdapters.h"

#include "widgets/GameChatBox.h"

#include <string>

#include "script/FileBrowser.h"
#include "script/ScriptObjects.h"
#include "script/ScriptSupport.h"
#include "strtools.h"
#include "widgets/ListImageItem.h"

namespace QGUI
{
namespace WidgetPackageAdapters
{
namespace
{
// The entries of the last result go with the next search.
void ForgetEntries(const SHELL::FileFolderMgr* browser)
{
    if (!ScriptObjects::AnyRecorded())
        return;
    const SHELL::FileSet* entries = browser->getLastResult();
    for (int i = 0; i < entries->getFileNum(); ++i)
        ScriptObjects::Forget(entries->getFileAt(static_cast<unsigned>(i)));
}
} // namespace

bool PushChatText(CGameChatBox* self, const char* text)
{
    return self->PushChatText(ScriptSupport::Utf8ToString(text ? text : ""));
}

CEGUI::ListboxImageItem* createListboxImageItem(const char* text, unsigned int item_id, void* item_data,
                                                bool disabled, bool auto_delete)
{
    return new CEGUI::ListboxImageItem(ScriptSupport::Utf8ToString(text ? text : ""), item_id, item_data,
                                       disabled, auto_delete);
}

void InitSearch(SHELL::FileFolderMgr* self)
{
    ForgetEntries(self);
    self->InitSearch();
}

void OpenPath(SHELL::FileFolderMgr* self, const char* path)
{
    ForgetEntries(self);
    if (!path)
    {
        self->InitSearch();
        return;
    }
    // The conversion's buffer is shared: the browser gets its own copy. A
    // path that does not convert names no folder.
    const std::string local = Utf8ToAnsi(path, "");
    if (local.empty() && *path)
        self->InitSearch();
    else
        self->OpenPath(local.c_str());
}
} // namespace WidgetPackageAdapters
} // namespace QGUI
