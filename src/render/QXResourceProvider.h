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
    const std::vector<std::pair<CEGUI::String, CEGUI::String>>& getDirectoryList() const
    {
        return d_directories;
    }

private:
    void reportMissing(const CEGUI::String& filename, const CEGUI::String& resourceGroup);

    IBaseFileSystem* d_fileSystem = nullptr;
    std::vector<std::pair<CEGUI::String, CEGUI::String>> d_directories;
    std::map<CEGUI::String, CEGUI::String, CEGUI::StringFastLessCompare> d_verbatim;
    QGUI::ReportedNames d_missing{MaxReportedMissingFiles, MaxReportedFileNameLength, "missing files"};
};
} // namespace QXUI
