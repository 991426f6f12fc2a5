#include "HostWebPages.h"

#include <dlfcn.h>

#include <algorithm>

#include "HostRender.h"
#include "WebCtrlRecord.h"
#include "interface.h"
#include "winservices.h"

namespace QHost
{
HostWebPages::HostWebPages(IBaseFileSystem* fileSystem) : d_fileSystem(fileSystem)
{
    if (!d_fileSystem)
        return;
    d_module = d_fileSystem->LoadModule("Beging.dat", nullptr);
    auto factory = d_module ? reinterpret_cast<CreateInterfaceFn>(dlsym(d_module, "CreateInterface")) : nullptr;
    if (factory)
        d_record = static_cast<WebCtrlRecord*>(factory(QHOST_WEBCTRL_RECORD_VERSION, nullptr));
}

HostWebPages::~HostWebPages()
{
    if (d_module)
        d_fileSystem->UnloadModule(d_module);
}

void HostWebPages::draw(HostRender& render) const
{
    if (!d_record)
        return;
    for (const WebCtrlLog* control : d_record->live())
    {
        if (!control->visible || control->rect.width <= 0 || control->rect.height <= 0)
            continue;
        const int left = control->rect.x;
        const int top = control->rect.y;
        const int right = left + control->rect.width;
        const int bottom = top + control->rect.height;
        render.fillRect(left, top, right, bottom, kBorderColour);
        render.fillRect(left + 1, top + 1, right - 1, bottom - 1, kPageColour);
        render.fillRect(left + 1, top + 1, right - 1, std::min(bottom - 1, top + kHeaderHeight), kHeaderColour);
        // Lines of text, each a little shorter than the one before.
        int line = 0;
        for (int y = top + kHeaderHeight + 10; y + 4 < bottom - 6; y += kLineSpacing, ++line)
        {
            const int width = (right - left - 20) * (10 - line % 4) / 10;
            render.fillRect(left + 10, y, left + 10 + width, y + 4, kLineColour);
        }
    }
}

namespace
{
void PrintBox(const MessageBoxRecord& box, void* user)
{
    std::fprintf(static_cast<std::FILE*>(user), "message box [%s]: %s\n", box.caption, box.text);
    std::fflush(static_cast<std::FILE*>(user));
}
} // namespace

void PrintMessageBoxes(std::FILE* out)
{
    SetMessageBoxHandler(out ? &PrintBox : nullptr, out);
}
} // namespace QHost
