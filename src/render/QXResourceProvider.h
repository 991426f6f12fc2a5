// The GUI library's resource provider: every file is read through the host
// file system under the path id "GAME", from the directories registered for
// its resource group, tried in registration order.
#pragma once

#include <CEGUI/DefaultResourceProvider.h>

#include <map>
#include <utility>
#include <vector>

#include "IBaseFileSystem.h"
#include "core/ModuleMemory.h"
#include "core/ReportedNames.h"

namespace QXUI
{
// A file found in no folder of its group is logged once per file name and
// group, as a warning: at most this many files, each name shown up to this
// many characters.
constexpr size_t MaxReportedMissingFiles = 256;
constexpr size_t MaxReportedFileNameLength = 260;

class CQXResourceProvider : public CEGUI::DefaultResourceProvider, public QGUI::CModuleObject
{
public:
    CQXResourceProvider(CreateInterfaceFn* factories, int count);
    ~CQXResourceProvider() override;

    void loadRawDataContainer(const CEGUI::String& filename, CEGUI::RawDataContainer& output,
                              const CEGUI::String& resourceGroup) override;
    void unloadRawDataContainer(CEGUI::RawDataContainer& data) override;

    // Appends (group, directory), both UTF-8, to the list and registers it
    // with the base. Not virtual in the base: call it through this type.
    void setResourceGroupDirectory(const char* group, const char* directory);
    // The directory as registered (last registration of the group wins);
    // textures build their paths from it.
    CEGUI::String getGroupDirectory(const CEGUI::String& group) const;

    IBaseFileSystem* getFileSystem() const { return d_fileSystem; }
    typedef std::pair<CEGUI::String, CEGUI::String> Directory; // (group, directory)
    const std::vector<Directory>& getDirectoryList() const { return d_directories; }

    // Whether the file opens in a folder of the group (of any group when the
    // group is empty).
    bool exists(const CEGUI::String& filename, const CEGUI::String& resourceGroup) const;
    // Where a file not found was looked for, for log lines: "in no folder
    // searched ('a\', 'b\')", and a file in one of them whose name differs
    // from it only in case.
    CEGUI::String describeSearch(const CEGUI::String& filename, const CEGUI::String& resourceGroup) const;

private:
    static bool tried(const Directory& entry, const CEGUI::String& resourceGroup);
    void reportMissing(const CEGUI::String& filename, const CEGUI::String& resourceGroup);

    IBaseFileSystem* d_fileSystem = nullptr;
    std::vector<Directory> d_directories;
    std::map<CEGUI::String, CEGUI::String, CEGUI::StringFastLessCompare> d_verbatim;
    QGUI::ReportedNames d_missing{MaxReportedMissingFiles, MaxReportedFileNameLength, "missing files"};
};
} // namespace QXUI
