#include "HostFileSystem.h"

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace
{

bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

std::string AbsolutePath(const std::string& path)
{
    if (!path.empty() && path[0] == '/')
        return path;
    char cwd[PATH_MAX];
    if (!getcwd(cwd, sizeof(cwd)))
        return path;
    std::string result(cwd);
    if (!path.empty() && path != ".")
        result += "/" + path;
    return result;
}

// True when the canonical form of the existing part of full stays below root.
bool StaysBelow(const std::string& canonicalRoot, const std::string& full)
{
    // Symbolic links are followed for the part of the path that exists.
    std::string probe = full;
    for (;;)
    {
        char resolved[PATH_MAX];
        if (realpath(probe.c_str(), resolved))
        {
            std::string r(resolved);
            return r == canonicalRoot || r.compare(0, canonicalRoot.size() + 1, canonicalRoot + "/") == 0;
        }
        size_t slash = probe.find_last_of('/');
        if (slash == std::string::npos || slash == 0)
            return false;
        probe.erase(slash);
    }
}

} // namespace

HostFileSystem::HostFileSystem(const std::string& root) : m_root(AbsolutePath(root))
{
    while (m_root.size() > 1 && m_root.back() == '/')
        m_root.pop_back();
}

HostFileSystem::~HostFileSystem()
{
    for (void* file : m_files)
        std::fclose(static_cast<FILE*>(file));
    for (void* module : m_modules)
        dlclose(module);
}

bool HostFileSystem::ResolvePath(const char* path, const char* pathId, std::string* relative,
                                 std::string* full) const
{
    if (!path || !*path)
        return false;
    if (pathId && std::strcmp(pathId, "GAME") != 0)
        return false;
    if (IsSeparator(path[0]))
        return false;
    if (((path[0] >= 'a' && path[0] <= 'z') || (path[0] >= 'A' && path[0] <= 'Z')) && path[1] == ':')
        return false;

    std::vector<std::string> pieces;
    std::string piece;
    for (const char* p = path;; ++p)
    {
        if (*p && !IsSeparator(*p))
        {
            piece += *p;
            continue;
        }
        if (piece == "..")
        {
            if (pieces.empty())
                return false; // would leave the root
            pieces.pop_back();
        }
        else if (!piece.empty() && piece != ".")
        {
            pieces.push_back(piece);
        }
        piece.clear();
        if (!*p)
            break;
    }
    if (pieces.empty())
        return false;
    std::string rel;
    for (const std::string& p : pieces)
    {
        if (!rel.empty())
            rel += '/';
        rel += p;
    }
    std::string absolute = m_root + "/" + rel;

    char canonicalRoot[PATH_MAX];
    if (!realpath(m_root.c_str(), canonicalRoot) || !StaysBelow(canonicalRoot, absolute))
        return false;
    if (relative)
        *relative = rel;
    if (full)
        *full = absolute;
    return true;
}

FileHandle_t HostFileSystem::Open(const char* path, const char* mode, const char* pathId)
{
    OpenRecord record{path ? path : "", pathId ? pathId : "", mode ? mode : "", "", false};
    std::string relative, full;
    FILE* file = nullptr;
    if (mode && (mode[0] == 'r' || mode[0] == 'w' || mode[0] == 'a') && ResolvePath(path, pathId, &relative, &full))
    {
        record.resolved = relative;
        struct stat info;
        // Directories are not files.
        if (stat(full.c_str(), &info) != 0 || !S_ISDIR(info.st_mode))
            file = std::fopen(full.c_str(), mode);
    }
    record.opened = file != nullptr;
    m_openLog.push_back(record);
    if (file)
        m_files.insert(file);
    return file;
}

void HostFileSystem::Close(FileHandle_t file)
{
    auto it = m_files.find(file);
    if (it == m_files.end())
        return;
    m_files.erase(it);
    std::fclose(static_cast<FILE*>(file));
}

int HostFileSystem::Read(void* output, int size, FileHandle_t file)
{
    if (!output || size <= 0 || !m_files.count(file))
        return 0;
    return static_cast<int>(std::fread(output, 1, static_cast<size_t>(size), static_cast<FILE*>(file)));
}

int HostFileSystem::Write(const void* input, int size, FileHandle_t file)
{
    if (!input || size <= 0 || !m_files.count(file))
        return 0;
    return static_cast<int>(std::fwrite(input, 1, static_cast<size_t>(size), static_cast<FILE*>(file)));
}

int HostFileSystem::Size(FileHandle_t file)
{
    if (!m_files.count(file))
        return -1;
    FILE* f = static_cast<FILE*>(file);
    std::fflush(f);
    struct stat info;
    if (fstat(fileno(f), &info) != 0 || info.st_size > INT_MAX)
        return -1;
    return static_cast<int>(info.st_size);
}

CSysModule HostFileSystem::LoadModule(const char* name, const char* pathId)
{
    if (!name || !*name)
        return nullptr;
    std::string path;
    auto registered = m_modulePaths.find(name);
    if (registered != m_modulePaths.end())
        path = registered->second;
    else if (!ResolvePath(name, pathId, nullptr, &path))
        return nullptr;
    void* module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module)
        m_modules.insert(module);
    return module;
}

void HostFileSystem::UnloadModule(CSysModule module)
{
    auto it = m_modules.find(module);
    if (it == m_modules.end())
        return;
    m_modules.erase(it);
    dlclose(module);
}

void HostFileSystem::RegisterModulePath(const std::string& name, const std::string& absolutePath)
{
    m_modulePaths[name] = absolutePath;
}

std::vector<std::string> HostFileSystem::OpenedPaths() const
{
    std::vector<std::string> paths;
    for (const OpenRecord& record : m_openLog)
        if (record.opened)
            paths.push_back(record.resolved);
    return paths;
}
