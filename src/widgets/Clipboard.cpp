// Copy and paste of text through the system clipboard. The clipboard's
// memory may come from another program: its length is taken from the block's
// size, never from a terminator that may be missing.
#include "widgets/Clipboard.h"

#include <cstring>
#include <string>
#include <vector>

#include "clipboard.h"
#include "codepage.h"
#include "render/GuiString.h"
#include "strtools.h"

namespace QGUI
{
namespace
{
// Closes the clipboard when it goes out of scope.
struct OpenedClipboard
{
    bool open = OpenClipboard(nullptr);
    ~OpenedClipboard()
    {
        if (open)
            CloseClipboard();
    }
};

// A locked clipboard block, unlocked when it goes out of scope.
struct LockedBlock
{
    explicit LockedBlock(HANDLE h) : handle(h), bytes(h ? static_cast<const char*>(GlobalLock(h)) : nullptr) {}
    ~LockedBlock()
    {
        if (bytes)
            GlobalUnlock(handle);
    }
    size_t size() const { return bytes ? GlobalSize(handle) : 0; }

    HANDLE handle;
    const char* bytes;
};

// UTF-16 clipboard text in the local code page; false when there is none.
bool ReadWideText(HANDLE data, CEGUI::String& out)
{
    LockedBlock block(data);
    if (!block.bytes)
        return false;
    const size_t capacity = block.size() / sizeof(char16_t);
    std::vector<char16_t> wide(capacity + 1, u'\0');
    std::memcpy(wide.data(), block.bytes, capacity * sizeof(char16_t));
    const char* local = Utf16ToMultiByte(wide.data(), CP_ACP);
    const size_t length = std::strlen(local);
    return length < kClipboardTextLimit && NormaliseClipboardText(local, length, out);
}

bool ReadLocalText(HANDLE data, CEGUI::String& out)
{
    LockedBlock block(data);
    if (!block.bytes)
        return false;
    const size_t length = strnlen(block.bytes, block.size());
    return length < kClipboardTextLimit && NormaliseClipboardText(block.bytes, length, out);
}
} // namespace

bool SetClipboardText(const CEGUI::String& text)
{
    if (text.empty())
        return false;
    const std::string local = Utf8ToAnsi(text.c_str(), "");
    if (local.empty())
        return false;
    OpenedClipboard clipboard;
    if (!clipboard.open || !EmptyClipboard())
        return false;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, local.size() + 1);
    if (!block)
        return false;
    char* bytes = static_cast<char*>(GlobalLock(block));
    if (!bytes)
    {
        GlobalFree(block);
        return false;
    }
    std::memcpy(bytes, local.c_str(), local.size() + 1);
    GlobalUnlock(block);
    if (!SetClipboardData(CF_TEXT, block))
    {
        GlobalFree(block);
        return false;
    }
    return true;
}

bool GetClipboardText(CEGUI::String& out)
{
    if (!IsClipboardFormatAvailable(CF_TEXT))
        return false;
    OpenedClipboard clipboard;
    if (!clipboard.open)
        return false;
    if (HANDLE wide = GetClipboardData(CF_UNICODETEXT))
        return ReadWideText(wide, out);
    HANDLE local = GetClipboardData(CF_TEXT);
    return local && ReadLocalText(local, out);
}

bool NormaliseClipboardText(const char* text, size_t length, CEGUI::String& out)
{
    // The kept bytes get a buffer of their own: the code-page conversion
    // below writes the shared buffer that text may point into.
    std::string kept;
    kept.reserve(length < kClipboardKeptBytes ? length : kClipboardKeptBytes);
    for (size_t i = 0; i < length && kept.size() < kClipboardKeptBytes && text[i]; ++i)
        if (text[i] != '\n')
            kept.push_back(text[i]);
    CEGUI::String converted = StringFromUtf8(AnsiToUtf8(kept.c_str(), ""));
    if (converted.empty())
        return false;
    out = converted;
    return true;
}
} // namespace QGUI
