// The in-process clipboard and its global memory blocks.
#include "clipboard.h"

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "codepage.h"

namespace
{
struct Block
{
    std::vector<char> bytes;
    int locks = 0;
};

// Live global blocks, by handle (the handle is the block's address).
std::map<HGLOBAL, std::unique_ptr<Block>>& Blocks()
{
    static std::map<HGLOBAL, std::unique_ptr<Block>> blocks;
    return blocks;
}

// The clipboard: one block per format.
std::map<uint32_t, HGLOBAL>& Formats()
{
    static std::map<uint32_t, HGLOBAL> formats;
    return formats;
}

bool g_open = false;
int g_failOpen = 0;
int g_failAlloc = 0;
int g_failLock = 0;
int g_failSetData = 0;

bool TakeFailure(int& count)
{
    if (count <= 0)
        return false;
    --count;
    return true;
}

Block* Find(HGLOBAL handle)
{
    auto it = Blocks().find(handle);
    return it == Blocks().end() ? nullptr : it->second.get();
}

HGLOBAL NewBlock(const void* bytes, size_t size)
{
    std::unique_ptr<Block> block(new Block);
    block->bytes.assign(size ? size : 1, '\0');
    if (bytes && size)
        std::memcpy(block->bytes.data(), bytes, size);
    HGLOBAL handle = block.get();
    Blocks()[handle] = std::move(block);
    return handle;
}

void FreeBlock(HGLOBAL handle)
{
    Blocks().erase(handle);
}

void DropFormat(uint32_t format)
{
    auto it = Formats().find(format);
    if (it == Formats().end())
        return;
    FreeBlock(it->second);
    Formats().erase(it);
}

void DropAll()
{
    for (auto& f : Formats())
        FreeBlock(f.second);
    Formats().clear();
}

bool IsText(uint32_t format)
{
    return format == CF_TEXT || format == CF_UNICODETEXT;
}

// Text of one format made from the other's block, as a new block the
// clipboard keeps; null when the source holds nothing convertible.
HGLOBAL Synthesise(uint32_t format)
{
    const uint32_t other = format == CF_TEXT ? CF_UNICODETEXT : CF_TEXT;
    auto it = Formats().find(other);
    if (it == Formats().end())
        return nullptr;
    const std::vector<char>& src = Find(it->second)->bytes;
    if (src.empty())
        return nullptr;
    if (format == CF_UNICODETEXT)
    {
        // The source text ends at its first zero byte or at the block's end.
        const size_t length = strnlen(src.data(), src.size());
        std::vector<char16_t> wide(length + 1, u'\0');
        const int units = length ? MultiByteToWideChar(CP_ACP, 0, src.data(), static_cast<int>(length),
                                                       wide.data(), static_cast<int>(length))
                                 : 0;
        if (length && units == 0)
            return nullptr;
        wide[static_cast<size_t>(units)] = u'\0';
        return NewBlock(wide.data(), (static_cast<size_t>(units) + 1) * sizeof(char16_t));
    }
    size_t units = 0;
    const size_t capacity = src.size() / sizeof(char16_t);
    std::vector<char16_t> wide(capacity + 1, u'\0');
    std::memcpy(wide.data(), src.data(), capacity * sizeof(char16_t));
    while (units < capacity && wide[units])
        ++units;
    std::string narrow;
    if (units)
    {
        const int bytes =
            WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(units), nullptr, 0, nullptr, nullptr);
        if (bytes <= 0)
            return nullptr;
        narrow.resize(static_cast<size_t>(bytes));
        WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(units), &narrow[0], bytes, nullptr,
                            nullptr);
    }
    return NewBlock(narrow.c_str(), narrow.size() + 1);
}
} // namespace

bool OpenClipboard(void*)
{
    if (g_open || TakeFailure(g_failOpen))
        return false;
    g_open = true;
    return true;
}

bool CloseClipboard()
{
    if (!g_open)
        return false;
    g_open = false;
    return true;
}

bool EmptyClipboard()
{
    if (!g_open)
        return false;
    DropAll();
    return true;
}

HANDLE SetClipboardData(uint32_t format, HANDLE data)
{
    if (!g_open || format == 0 || !Find(data) || TakeFailure(g_failSetData))
        return nullptr;
    DropFormat(format);
    // A text set in one format replaces what was offered in the other.
    if (IsText(format))
        DropFormat(format == CF_TEXT ? CF_UNICODETEXT : CF_TEXT);
    Formats()[format] = data;
    return data;
}

bool IsClipboardFormatAvailable(uint32_t format)
{
    if (Formats().count(format))
        return true;
    return IsText(format) && Formats().count(format == CF_TEXT ? CF_UNICODETEXT : CF_TEXT);
}

HANDLE GetClipboardData(uint32_t format)
{
    if (!g_open)
        return nullptr;
    auto it = Formats().find(format);
    if (it != Formats().end())
        return it->second;
    if (!IsText(format))
        return nullptr;
    HGLOBAL made = Synthesise(format);
    if (made)
        Formats()[format] = made;
    return made;
}

HGLOBAL GlobalAlloc(uint32_t, size_t size)
{
    if (TakeFailure(g_failAlloc))
        return nullptr;
    return NewBlock(nullptr, size);
}

HGLOBAL GlobalFree(HGLOBAL block)
{
    if (!Find(block))
        return block;
    for (auto& f : Formats())
        if (f.second == block)
            return block; // the clipboard's own
    FreeBlock(block);
    return nullptr;
}

void* GlobalLock(HGLOBAL block)
{
    Block* b = Find(block);
    if (!b || b->bytes.empty() || TakeFailure(g_failLock))
        return nullptr;
    ++b->locks;
    return b->bytes.data();
}

bool GlobalUnlock(HGLOBAL block)
{
    Block* b = Find(block);
    if (!b || b->locks == 0)
        return false;
    return --b->locks > 0;
}

size_t GlobalSize(HGLOBAL block)
{
    Block* b = Find(block);
    return b ? b->bytes.size() : 0;
}

void ClipboardReset()
{
    DropAll();
    g_open = false;
    g_failOpen = g_failAlloc = g_failLock = g_failSetData = 0;
}

void ClipboardFailOpen(int count)
{
    g_failOpen = count;
}

void ClipboardFailGlobalAlloc(int count)
{
    g_failAlloc = count;
}

void ClipboardFailGlobalLock(int count)
{
    g_failLock = count;
}

void ClipboardFailSetData(int count)
{
    g_failSetData = count;
}

void ClipboardPutRaw(uint32_t format, const void* bytes, size_t size)
{
    DropFormat(format);
    if (IsText(format))
        DropFormat(format == CF_TEXT ? CF_UNICODETEXT : CF_TEXT);
    std::unique_ptr<Block> block(new Block);
    block->bytes.assign(static_cast<const char*>(bytes), static_cast<const char*>(bytes) + size);
    HGLOBAL handle = block.get();
    Blocks()[handle] = std::move(block);
    Formats()[format] = handle;
}

size_t GlobalLiveBlocks()
{
    return Blocks().size();
}
