#include "filesearch.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <cstring>
#include <mutex>
#include <set>
#include <string>

#include "codepage.h"

namespace
{
struct Search
{
    DIR* dir;
    std::string filter; // the name pattern, in the local code page
};

// Open searches, so that a stale or foreign handle is refused.
std::mutex s_mutex;
std::set<Search*>& OpenSearches()
{
    static std::set<Search*>* searches = new std::set<Search*>; // kept for the process
    return *searches;
}

bool IsAscii(const char* text, size_t length)
{
    for (size_t i = 0; i < length; ++i)
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    return true;
}

// Converts text between two code pages through UTF-16. With strict, text
// that is not valid in its code page fails; otherwise it converts with
// replacement characters. False on failure.
bool Recode(const std::string& text, uint32_t from, uint32_t to, bool strict, std::string* out)
{
    if (IsAscii(text.data(), text.size()) && LocalCodePageKeepsAscii())
    {
        *out = text;
        return true;
    }
    if (text.empty())
    {
        out->clear();
        return true;
    }
    const int length = static_cast<int>(text.size());
    const uint32_t flags = strict ? MB_ERR_INVALID_CHARS : 0;
    const int units = MultiByteToWideChar(from, flags, text.data(), length, nullptr, 0);
    if (units <= 0)
        return false;
    std::u16string wide(static_cast<size_t>(units), u'\0');
    if (MultiByteToWideChar(from, flags, text.data(), length, &wide[0], units) != units)
        return false;
    const int bytes = WideCharToMultiByte(to, 0, wide.data(), units, nullptr, 0, nullptr, nullptr);
    if (bytes <= 0)
        return false;
    out->assign(static_cast<size_t>(bytes), '\0');
    return WideCharToMultiByte(to, 0, wide.data(), units, &(*out)[0], bytes, nullptr, nullptr) ==
           bytes;
}

char FoldAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Wildcard match: '*' any run, '?' one byte, ASCII letters in either case.
bool Matches(const char* pattern, const char* name)
{
    const char* star = nullptr;
    const char* resume = nullptr;
    while (*name)
    {
        if (*pattern == '*')
        {
            star = pattern++;
            resume = name;
        }
        else if (*pattern == '?' || (*pattern && FoldAscii(*pattern) == FoldAscii(*name)))
        {
            ++pattern;
            ++name;
        }
        else if (star)
        {
            pattern = star + 1;
            name = ++resume;
        }
        else
        {
            return false;
        }
    }
    while (*pattern == '*')
        ++pattern;
    return *pattern == '\0';
}

bool IsFolder(DIR* dir, const dirent* entry)
{
    if (entry->d_type == DT_DIR)
        return true;
    if (entry->d_type != DT_UNKNOWN && entry->d_type != DT_LNK)
        return false;
    // Links count as what they point to.
    struct stat info;
    return fstatat(dirfd(dir), entry->d_name, &info, 0) == 0 && S_ISDIR(info.st_mode);
}

// Reads entries up to the next one whose name matches; false at the end.
bool NextEntry(Search* search, WIN32_FIND_DATAA* data)
{
    while (const dirent* entry = readdir(search->dir))
    {
        std::string name;
        // Names that are not UTF-8, or hold characters the code page lacks,
        // come out with replacement characters, as the "A" calls give them.
        if (!Recode(entry->d_name, CP_UTF8, CP_ACP, false, &name) || name.size() >= FIND_NAME_SIZE)
            continue;
        if (search->filter != "*.*" && !Matches(search->filter.c_str(), name.c_str()))
            continue;
        std::memcpy(data->cFileName, name.c_str(), name.size() + 1);
        data->dwFileAttributes =
            IsFolder(search->dir, entry) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
        return true;
    }
    return false;
}

Search* OpenSearch(HANDLE handle)
{
    Search* search = static_cast<Search*>(handle);
    return OpenSearches().count(search) ? search : nullptr;
}
} // namespace

HANDLE FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* data)
{
    if (!pattern || !data)
        return INVALID_HANDLE_VALUE;
    std::string folder(pattern);
    const size_t cut = folder.find_last_of("\\/");
    std::string filter = cut == std::string::npos ? folder : folder.substr(cut + 1);
    if (cut == std::string::npos)
        folder = ".";
    else
        folder = cut == 0 ? std::string("/") : folder.substr(0, cut);
    if (filter.empty())
        return INVALID_HANDLE_VALUE;
    for (char& c : folder)
        if (c == '\\')
            c = '/';

    std::string native;
    if (!Recode(folder, CP_ACP, CP_UTF8, true, &native))
        return INVALID_HANDLE_VALUE;
    DIR* dir = opendir(native.c_str());
    if (!dir)
        return INVALID_HANDLE_VALUE;
    Search* search = new Search{dir, filter};
    if (!NextEntry(search, data))
    {
        closedir(dir);
        delete search;
        return INVALID_HANDLE_VALUE;
    }
    std::lock_guard<std::mutex> lock(s_mutex);
    OpenSearches().insert(search);
    return search;
}

int FindNextFileA(HANDLE handle, WIN32_FIND_DATAA* data)
{
    if (!data)
        return 0;
    Search* search = nullptr;
    {
        std::lock_guard<std::mutex> lock(s_mutex);
        search = OpenSearch(handle);
    }
    return search && NextEntry(search, data) ? 1 : 0;
}

int FindClose(HANDLE handle)
{
    Search* search = nullptr;
    {
        std::lock_guard<std::mutex> lock(s_mutex);
        search = OpenSearch(handle);
        if (!search)
            return 0;
        OpenSearches().erase(search);
    }
    closedir(search->dir);
    delete search;
    return 1;
}
