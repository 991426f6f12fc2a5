#include "script/FileBrowser.h"

#include <algorithm>
#include <cstring>

#include "codepage.h"
#include "filesearch.h"
#include "shellfolder.h"
#include "strtools.h"

namespace SHELL
{
namespace
{
// Releases a shell object at the end of a scope.
template <class T>
struct Held
{
    T* object = nullptr;
    ~Held()
    {
        if (object)
            object->Release();
    }
};

struct HeldItem
{
    ITEMIDLIST* item = nullptr;
    ~HeldItem() { CoTaskMemFree(item); }
};

std::string WideToLocal(const char16_t* wide)
{
    const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1)
        return std::string();
    std::string text(static_cast<size_t>(bytes), '\0');
    if (WideCharToMultiByte(CP_ACP, 0, wide, -1, &text[0], bytes, nullptr, nullptr) != bytes)
        return std::string();
    text.resize(static_cast<size_t>(bytes) - 1);
    return text;
}

std::string ItemName(IShellFolder* folder, const ITEMIDLIST* item, uint32_t flags)
{
    STRRET name;
    std::memset(&name, 0, sizeof(name));
    if (folder->GetDisplayNameOf(item, flags, &name) != S_OK)
        return std::string();
    return NameRecordText(&name, item);
}
} // namespace

std::string NameRecordText(STRRET* name, const ITEMIDLIST* item)
{
    if (!name)
        return std::string();
    switch (name->uType)
    {
    case STRRET_WSTR:
    {
        std::string text = name->pOleStr ? WideToLocal(name->pOleStr) : std::string();
        CoTaskMemFree(name->pOleStr);
        name->pOleStr = nullptr;
        return text;
    }
    case STRRET_OFFSET:
    {
        // The text lies inside the item's first identifier, which it may
        // not run past.
        if (!item)
            return std::string();
        uint16_t size = 0;
        std::memcpy(&size, item, sizeof(size));
        if (name->uOffset >= size)
            return std::string();
        const char* text = reinterpret_cast<const char*>(item) + name->uOffset;
        const size_t room = size - name->uOffset;
        return std::string(text, strnlen(text, room));
    }
    case STRRET_CSTR:
        return std::string(name->cStr, strnlen(name->cStr, sizeof(name->cStr)));
    default:
        return std::string();
    }
}

const char* FileInfo::getDspNameUtf8() const
{
    return AnsiToUtf8(m_DspName.c_str(), "");
}

const char* FileInfo::getLocationUtf8() const
{
    return AnsiToUtf8(m_Location.c_str(), "");
}

bool FileInfo::operator<(const FileInfo& other) const
{
    if (m_bFolder != other.m_bFolder)
        return m_bFolder;
    return m_DspName < other.m_DspName; // unsigned byte order
}

void FileSet::sort()
{
    std::sort(m_Files.begin(), m_Files.end());
}

void FileFolderMgr::InitSearch()
{
    m_LastResult.clear();
    Held<IShellFolder> desktop;
    if (SHGetDesktopFolder(&desktop.object) != S_OK || !desktop.object)
        return;
    HeldItem drivesItem;
    if (SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drivesItem.item) != S_OK)
        return;
    Held<IShellFolder> drives;
    void* bound = nullptr;
    if (desktop.object->BindToObject(drivesItem.item, nullptr, IID_IShellFolder, &bound) != S_OK ||
        !bound)
        return;
    drives.object = static_cast<IShellFolder*>(bound);
    Held<IEnumIDList> items;
    if (drives.object->EnumObjects(nullptr, SHCONTF_FOLDERS, &items.object) != S_OK ||
        !items.object)
        return;
    for (;;)
    {
        HeldItem item;
        uint32_t fetched = 0;
        if (items.object->Next(1, &item.item, &fetched) != S_OK || !item.item)
            break;
        FileInfo info;
        info.setDspName(ItemName(drives.object, item.item, SHGDN_NORMAL).c_str());
        info.setLocation(ItemName(drives.object, item.item, SHGDN_FORPARSING).c_str());
        info.setFolder(true);
        m_LastResult.add(std::move(info));
    }
    m_LastResult.sort();
}

void FileFolderMgr::OpenPath(const char* path)
{
    m_LastResult.clear();
    if (!path)
    {
        InitSearch();
        return;
    }
    const std::string folder(path);
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA((folder + "\\*.*").c_str(), &data);
    if (search == INVALID_HANDLE_VALUE)
    {
        InitSearch();
        return;
    }
    std::string location = folder + "\\";
    const size_t stem = location.size();
    do
    {
        FileInfo info;
        info.setDspName(data.cFileName);
        location.resize(stem);
        location += data.cFileName;
        info.setLocation(location.c_str());
        info.setFolder((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
        m_LastResult.add(std::move(info));
    } while (FindNextFileA(search, &data));
    m_LastResult.sort();
    FindClose(search);
}
} // namespace SHELL
