// The shell namespace as far as a drive listing walks it, with the
// contracts of the Windows calls: the desktop folder, the item list of the
// drives folder (special folder 17), that folder bound as a shell folder,
// its items and their names. This platform has no drive letters: the drives
// folder holds the file-system roots, "/" unless the host (or a test) names
// others with SetShellDriveRoots.
//
// Objects are counted references (Release when done); item lists and wide
// names handed out are freed with CoTaskMemFree.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform_api.h"
#include "winapi.h"

typedef int32_t HRESULT;
enum : HRESULT
{
    S_OK = 0,
    S_FALSE = 1,
    E_NOTIMPL = static_cast<HRESULT>(0x80004001),
    E_NOINTERFACE = static_cast<HRESULT>(0x80004002),
    E_FAIL = static_cast<HRESULT>(0x80004005),
    E_INVALIDARG = static_cast<HRESULT>(0x80070057)
};

enum
{
    CSIDL_DRIVES = 17
};
// What EnumObjects lists.
enum : uint32_t
{
    SHCONTF_FOLDERS = 0x20,
    SHCONTF_NONFOLDERS = 0x40
};
// Which name GetDisplayNameOf gives.
enum : uint32_t
{
    SHGDN_NORMAL = 0,
    SHGDN_FORPARSING = 0x8000
};

struct SHITEMID
{
    uint16_t cb; // bytes of this identifier, cb included; 0 ends a list
    uint8_t abID[1];
};
struct ITEMIDLIST
{
    SHITEMID mkid;
};

// A name record: a wide string (freed with CoTaskMemFree), an offset of
// narrow text inside the item's identifier, or narrow text.
enum : uint32_t
{
    STRRET_WSTR = 0,
    STRRET_OFFSET = 1,
    STRRET_CSTR = 2
};
constexpr int STRRET_CSTR_SIZE = 260;
struct STRRET
{
    uint32_t uType;
    union
    {
        char16_t* pOleStr;
        uint32_t uOffset;
        char cStr[STRRET_CSTR_SIZE];
    };
};

struct GUID
{
    uint32_t Data1;
    uint16_t Data2, Data3;
    uint8_t Data4[8];
};
typedef GUID IID;
QPLATFORM_API extern const IID IID_IShellFolder;

class IEnumIDList
{
public:
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;
    // Hands out up to count items (each freed with CoTaskMemFree); S_OK when
    // all were given, S_FALSE when fewer remained.
    virtual HRESULT Next(uint32_t count, ITEMIDLIST** items, uint32_t* fetched) = 0;

protected:
    virtual ~IEnumIDList() {}
};

class IShellFolder
{
public:
    virtual uint32_t AddRef() = 0;
    virtual uint32_t Release() = 0;
    // The folder named by an item list relative to this one.
    virtual HRESULT BindToObject(const ITEMIDLIST* item, void* bindContext, const IID& iid,
                                 void** out) = 0;
    // The items of this folder of the kinds the flags name.
    virtual HRESULT EnumObjects(HWND owner, uint32_t flags, IEnumIDList** out) = 0;
    // The name of one of this folder's items.
    virtual HRESULT GetDisplayNameOf(const ITEMIDLIST* item, uint32_t flags, STRRET* name) = 0;

protected:
    virtual ~IShellFolder() {}
};

QPLATFORM_API HRESULT SHGetDesktopFolder(IShellFolder** out);
// The item list of a special folder; only the drives folder is known here.
QPLATFORM_API HRESULT SHGetSpecialFolderLocation(HWND owner, int folder, ITEMIDLIST** out);
QPLATFORM_API void* CoTaskMemAlloc(size_t bytes);
QPLATFORM_API void CoTaskMemFree(void* memory);

// The roots the drives folder lists: display names and parsing names, in
// UTF-8, count of each. A count of 0 or less restores the one root "/".
QPLATFORM_API void SetShellDriveRoots(const char* const* displayNames,
                                      const char* const* parsingNames, int count);
