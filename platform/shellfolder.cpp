#include "shellfolder.h"

#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "codepage.h"

const IID IID_IShellFolder = {0x000214E6, 0, 0, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};

namespace
{
// An item identifier of this namespace: a kind and an index, then the
// empty identifier that ends the list.
enum : uint8_t
{
    kDrivesFolderItem = 'D',
    kRootItem = 'R'
};
struct ItemPayload
{
    uint8_t kind;
    uint8_t reserved;
    uint32_t index;
};
constexpr uint16_t kItemBytes = static_cast<uint16_t>(sizeof(uint16_t) + sizeof(ItemPayload));

struct Root
{
    std::string display;
    std::string parsing;
};
typedef std::vector<Root> Roots;

Roots& DriveRoots()
{
    static Roots* roots = new Roots{{"/", "/"}}; // kept for the process
    return *roots;
}

ITEMIDLIST* NewItem(uint8_t kind, uint32_t index)
{
    auto* bytes = static_cast<uint8_t*>(CoTaskMemAlloc(kItemBytes + sizeof(uint16_t)));
    if (!bytes)
        return nullptr;
    const ItemPayload payload{kind, 0, index};
    std::memcpy(bytes, &kItemBytes, sizeof(uint16_t));
    std::memcpy(bytes + sizeof(uint16_t), &payload, sizeof(payload));
    std::memset(bytes + kItemBytes, 0, sizeof(uint16_t));
    return reinterpret_cast<ITEMIDLIST*>(bytes);
}

// The payload of an item of this namespace; false for anything else.
bool ReadItem(const ITEMIDLIST* item, ItemPayload* payload)
{
    if (!item)
        return false;
    uint16_t cb = 0;
    std::memcpy(&cb, item, sizeof(cb));
    if (cb != kItemBytes)
        return false;
    std::memcpy(payload, reinterpret_cast<const uint8_t*>(item) + sizeof(uint16_t), sizeof(*payload));
    return true;
}

// A counted object that deletes itself at the last Release.
template <class Interface>
class Counted : public Interface
{
public:
    uint32_t AddRef() override { return ++m_count; }
    uint32_t Release() override
    {
        const uint32_t left = --m_count;
        if (left == 0)
            delete this;
        return left;
    }

private:
    uint32_t m_count = 1;
};

class RootEnumerator final : public Counted<IEnumIDList>
{
public:
    explicit RootEnumerator(size_t count) : m_count(count) {}
    HRESULT Next(uint32_t count, ITEMIDLIST** items, uint32_t* fetched) override
    {
        if (!items || (count > 1 && !fetched))
            return E_INVALIDARG;
        uint32_t given = 0;
        while (given < count && m_next < m_count)
        {
            ITEMIDLIST* item = NewItem(kRootItem, static_cast<uint32_t>(m_next));
            if (!item)
                break;
            items[given++] = item;
            ++m_next;
        }
        if (fetched)
            *fetched = given;
        return given == count ? S_OK : S_FALSE;
    }

private:
    size_t m_count;
    size_t m_next = 0;
};

class DrivesFolder final : public Counted<IShellFolder>
{
public:
    DrivesFolder() : m_roots(DriveRoots()) {}
    HRESULT BindToObject(const ITEMIDLIST*, void*, const IID&, void** out) override
    {
        if (out)
            *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT EnumObjects(HWND, uint32_t flags, IEnumIDList** out) override
    {
        if (!out)
            return E_INVALIDARG;
        // Every root is a folder.
        *out = new RootEnumerator((flags & SHCONTF_FOLDERS) ? m_roots.size() : 0);
        return S_OK;
    }
    HRESULT GetDisplayNameOf(const ITEMIDLIST* item, uint32_t flags, STRRET* name) override
    {
        ItemPayload payload;
        if (!name || !ReadItem(item, &payload) || payload.kind != kRootItem ||
            payload.index >= m_roots.size())
            return E_INVALIDARG;
        const Root& root = m_roots[payload.index];
        const std::string& text = (flags & SHGDN_FORPARSING) ? root.parsing : root.display;
        const int units = MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, nullptr, 0);
        if (units <= 0)
            return E_FAIL;
        auto* wide = static_cast<char16_t*>(CoTaskMemAlloc(sizeof(char16_t) * units));
        if (!wide)
            return E_FAIL;
        MultiByteToWideChar(CP_UTF8, 0, text.c_str(), -1, wide, units);
        name->uType = STRRET_WSTR;
        name->pOleStr = wide;
        return S_OK;
    }

private:
    Roots m_roots;
};

class DesktopFolder final : public IShellFolder
{
public:
    uint32_t AddRef() override { return 1; }
    uint32_t Release() override { return 1; }
    HRESULT BindToObject(const ITEMIDLIST* item, void*, const IID& iid, void** out) override
    {
        if (!out)
            return E_INVALIDARG;
        *out = nullptr;
        ItemPayload payload;
        if (!ReadItem(item, &payload) || payload.kind != kDrivesFolderItem)
            return E_INVALIDARG;
        if (std::memcmp(&iid, &IID_IShellFolder, sizeof(IID)) != 0)
            return E_NOINTERFACE;
        *out = static_cast<IShellFolder*>(new DrivesFolder);
        return S_OK;
    }
    HRESULT EnumObjects(HWND, uint32_t, IEnumIDList** out) override
    {
        if (out)
            *out = nullptr;
        return E_NOTIMPL;
    }
    HRESULT GetDisplayNameOf(const ITEMIDLIST*, uint32_t, STRRET*) override { return E_NOTIMPL; }
};

DesktopFolder s_desktop;
} // namespace

HRESULT SHGetDesktopFolder(IShellFolder** out)
{
    if (!out)
        return E_INVALIDARG;
    *out = &s_desktop;
    return S_OK;
}

HRESULT SHGetSpecialFolderLocation(HWND, int folder, ITEMIDLIST** out)
{
    if (!out)
        return E_INVALIDARG;
    *out = nullptr;
    if (folder != CSIDL_DRIVES)
        return E_INVALIDARG;
    *out = NewItem(kDrivesFolderItem, 0);
    return *out ? S_OK : E_FAIL;
}

void* CoTaskMemAlloc(size_t bytes)
{
    return std::malloc(bytes ? bytes : 1);
}

void CoTaskMemFree(void* memory)
{
    std::free(memory);
}

void SetShellDriveRoots(const char* const* displayNames, const char* const* parsingNames,
                        int count)
{
    Roots roots;
    for (int i = 0; i < count && displayNames && parsingNames; ++i)
        roots.push_back(Root{displayNames[i] ? displayNames[i] : "",
                             parsingNames[i] ? parsingNames[i] : ""});
    if (roots.empty())
        roots.push_back(Root{"/", "/"});
    DriveRoots() = std::move(roots);
}
