// The file browser scripts use for file and folder choosers: the contents of
// a folder, or the list of drives (here the file-system roots), as one
// result set of entries whose names the scripts read in UTF-8.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "core/Singleton.h"

struct ITEMIDLIST;
struct STRRET;

namespace SHELL
{
// One entry: display name and location in the local code page, and whether
// it is a folder.
class FileInfo
{
public:
    // The names in UTF-8, in the shared conversion buffer: valid until the
    // next conversion, so callers copy them at once.
    const char* getDspNameUtf8() const;
    const char* getLocationUtf8() const;
    bool isFolder() const { return m_bFolder; }

    const std::string& getDspName() const { return m_DspName; }
    const std::string& getLocation() const { return m_Location; }
    // A null text sets the empty one.
    void setDspName(const char* name) { m_DspName = name ? name : ""; }
    void setLocation(const char* location) { m_Location = location ? location : ""; }
    void setFolder(bool folder) { m_bFolder = folder; }

    // Folders first; then by display name, byte by byte.
    bool operator<(const FileInfo& other) const;

private:
    std::string m_DspName;
    std::string m_Location;
    bool m_bFolder = false;
};

// The entries of one search, in order.
class FileSet
{
public:
    int getFileNum() const { return static_cast<int>(m_Files.size()); }
    // The entry at index, or null when the index lies outside the set.
    const FileInfo* getFileAt(unsigned index) const
    {
        return index < m_Files.size() ? &m_Files[index] : nullptr;
    }

    void clear() { m_Files.clear(); }
    void add(FileInfo info) { m_Files.push_back(std::move(info)); }
    void sort();

private:
    std::vector<FileInfo> m_Files;
};

// The searches. Each replaces the last result; the set stays the same
// object, while its entries live until the next search.
class FileFolderMgr : public Singleton<FileFolderMgr>
{
public:
    const FileSet* getLastResult() const { return &m_LastResult; }
    // Lists the drives.
    void InitSearch();
    // Lists the folder's contents: path in the local code page, entries
    // located at path + "\" + name. A path that cannot be searched, or
    // none, lists the drives.
    void OpenPath(const char* path);

private:
    friend class Singleton<FileFolderMgr>;
    FileFolderMgr() {}

    FileSet m_LastResult;
};

// The text of a shell name record of an item, in the local code page: a
// wide name converted whole, narrow text at an offset inside the item's
// identifier, or the record's own narrow text; empty for anything else. A
// wide name is freed.
std::string NameRecordText(STRRET* name, const ITEMIDLIST* item);
} // namespace SHELL
