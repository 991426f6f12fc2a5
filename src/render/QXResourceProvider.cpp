#include "render/QXResourceProvider.h"

#include <new>

#include "core/InterfaceRegistry.h"
#include "render/GuiString.h"

namespace QXUI
{
CQXResourceProvider::CQXResourceProvider(CreateInterfaceFn* factories, int count)
{
    d_fileSystem = static_cast<IBaseFileSystem*>(
        QGUI::FindHostInterface(factories, count, FILESYSTEM_INTERFACE_VERSION));
}

CQXResourceProvider::~CQXResourceProvider() = default;

void CQXResourceProvider::setResourceGroupDirectory(const char* group, const char* directory)
{
    const CEGUI::String g = QGUI::StringFromUtf8(group);
    const CEGUI::String d = QGUI::StringFromUtf8(directory);
    d_directories.emplace_back(g, d);
    d_verbatim[g] = d;
    CEGUI::DefaultResourceProvider::setResourceGroupDirectory(g, d);
}

CEGUI::String CQXResourceProvider::getGroupDirectory(const CEGUI::String& group) const
{
    auto it = d_verbatim.find(group);
    return it == d_verbatim.end() ? CEGUI::String() : it->second;
}

void CQXResourceProvider::loadRawDataContainer(const CEGUI::String& filename,
                                               CEGUI::RawDataContainer& output,
                                               const CEGUI::String& resourceGroup)
{
    if (!d_fileSystem)
        return;
    for (const auto& entry : d_directories)
    {
        if (!resourceGroup.empty() && resourceGroup != entry.first)
            continue;
        const CEGUI::String path = entry.second + filename;
        FileHandle_t file = d_fileSystem->Open(path.c_str(), "rb", "GAME");
        if (!file)
            continue;
        // The first directory whose file opens decides; a failed read stops
        // the walk too.
        const int size = d_fileSystem->Size(file);
        if (size >= 0)
        {
            CEGUI::uint8* buffer = new (std::nothrow) CEGUI::uint8[size > 0 ? size : 1];
            if (buffer)
            {
                const int read = size > 0 ? d_fileSystem->Read(buffer, size, file) : 0;
                if (read == size)
                {
                    if (output.getDataPtr())
                        unloadRawDataContainer(output);
                    output.setData(buffer);
                    output.setSize(static_cast<size_t>(size));
                }
                else
                {
                    delete[] buffer;
                }
            }
        }
        d_fileSystem->Close(file);
        return;
    }
    reportMissing(filename, resourceGroup);
}

void CQXResourceProvider::reportMissing(const CEGUI::String& filename, const CEGUI::String& resourceGroup)
{
    // Remembered by group and name; "|" stands in no group name of the module.
    d_missing.WarnOnce(resourceGroup + "|" + filename, [&](const CEGUI::String&) {
        CEGUI::String folders;
        for (const auto& entry : d_directories)
        {
            if (!resourceGroup.empty() && resourceGroup != entry.first)
                continue;
            folders += (folders.empty() ? "'" : ", '") + entry.second + "'";
        }
        const CEGUI::String name = filename.length() <= MaxReportedFileNameLength
                                       ? filename
                                       : filename.substr(0, MaxReportedFileNameLength) + "...";
        return "QXUI::CQXResourceProvider: the file '" + name + "' of the resource group '" +
               resourceGroup + "' was found in no folder searched (" +
               (folders.empty() ? CEGUI::String("none is registered for the group") : folders) +
               "); it is read as empty.";
    });
}

void CQXResourceProvider::unloadRawDataContainer(CEGUI::RawDataContainer& data)
{
    delete[] data.getDataPtr();
    data.setData(nullptr);
    data.setSize(0);
}
} // namespace QXUI
