// The stand-in host's file system, "FileSystem001": files below one resource
// root, and modules of the host loaded as shared objects.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "IBaseFileSystem.h"

class HostFileSystem : public IBaseFileSystem
{
public:
    // One call of Open, as the module made it.
    struct OpenRecord
    {
        std::string path;     // as passed
        std::string pathId;   // "" for a null path id
        std::string mode;
        std::string resolved; // the path below the root with '/' separators; "" when refused
        bool opened;
    };

    // root: the resource root directory (made absolute).
    explicit HostFileSystem(const std::string& root);
    virtual ~HostFileSystem();
    HostFileSystem(const HostFileSystem&) = delete;
    HostFileSystem& operator=(const HostFileSystem&) = delete;

    // Paths under the path id "GAME" or a null path id resolve below the
    // root; '\' separates like '/'. Absolute paths, drive names and ".."
    // pieces that leave the root are refused (null).
    FileHandle_t Open(const char* path, const char* mode, const char* pathId = 0) override;
    void Close(FileHandle_t file) override;
    int Read(void* output, int size, FileHandle_t file) override;
    int Write(const void* input, int size, FileHandle_t file) override;
    int Size(FileHandle_t file) override;
    // A registered name loads its registered path; any other name is looked
    // for below the root. Null when it cannot be loaded.
    CSysModule LoadModule(const char* name, const char* pathId = 0) override;
    void UnloadModule(CSysModule module) override;

    // Loads the shared object at absolutePath whenever LoadModule asks for name.
    void RegisterModulePath(const std::string& name, const std::string& absolutePath);

    const std::string& Root() const { return m_root; }
    // The file-system path for a path and path id; false when refused.
    bool ResolvePath(const char* path, const char* pathId, std::string* relative, std::string* full) const;

    const std::vector<OpenRecord>& OpenLog() const { return m_openLog; }
    // The resolved paths of the files opened successfully, in order.
    std::vector<std::string> OpenedPaths() const;
    void ClearOpenLog() { m_openLog.clear(); }
    // Files and modules currently open.
    size_t OpenFileCount() const { return m_files.size(); }
    size_t LoadedModuleCount() const { return m_modules.size(); }

private:
    std::string m_root;
    std::set<void*> m_files;
    std::multiset<void*> m_modules; // one entry per successful load
    std::map<std::string, std::string> m_modulePaths;
    std::vector<OpenRecord> m_openLog;
};
