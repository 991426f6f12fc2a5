#include "render/QXResourceProvider.h"

#include <strings.h>

#include <new>

#include "core/InterfaceRegistry.h"
#include "filesearch.h"
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
    for (const Directory& entry : d_directories)
    {
        if (!tried(entry, resourceGroup))
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

bool CQXResourceProvider::tried(const Directory& entry, const CEGUI::String& resourceGroup)
{
    return resourceGroup.empty() || resourceGroup == entry.first;
}

bool CQXResourceProvider::exists(const CEGUI::String& filename, const CEGUI::String& resourceGroup) const
{
    if (!d_fileSystem)
        return false;
    for (const Directory& entry : d_directories)
    {
        if (!tried(entry, resourceGroup))
            continue;
        const CEGUI::String path = entry.second + filename;
        if (FileHandle_t file = d_fileSystem->Open(path.c_str(), "rb", "GAME"))
        {
            d_fileSystem->Close(file);
            return true;
        }
    }
    return false;
}

CEGUI::String CQXResourceProvider::describeSearch(const CEGUI::String& filename,
                                                  const CEGUI::String& resourceGroup) const
{
    CEGUI::String folders;
    CEGUI::String twin;
    const bool pattern = filename.find_first_of("*?") != CEGUI::String::npos;
    for (const Directory& entry : d_directories)
    {
        if (!tried(entry, resourceGroup))
            continue;
        folders += (folders.empty() ? "'" : ", '") + entry.second + "'";
        // File names are case-sensitive on some systems: the folder's
        // file search, which is not, finds a name that differs only in case.
        if (!twin.empty() || pattern)
            continue;
        WIN32_FIND_DATAA found;
        const CEGUI::String path = entry.second + filename;
        HANDLE search = FindFirstFileA(path.c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        FindClose(search);
        if (strcasecmp(found.cFileName, filename.c_str()) == 0 && filename != found.cFileName)
            twin = entry.second + QGUI::StringFromUtf8(found.cFileName);
    }
    CEGUI::String text = "in no folder searched (" +
                         (folders.empty() ? CEGUI::String("none is registered for the group") : folders) + ")";
    if (!twin.empty())
        text += ", though '" + twin + "' differs from it only in case";
    return text;
}

void CQXResourceProvider::reportMissing(const CEGUI::String& filename, const CEGUI::String& resourceGroup)
{
    // Remembered by group and name; "|" stands in no group name of the module.
    d_missing.WarnOnce(resourceGroup + "|" + filename, [&](const CEGUI::String&) {
        return "QXUI::CQXResourceProvider: the file '" + d_missing.Shown(filename) + "' of the resource group '" +
               resourceGroup + "' was found " + describeSearch(filename, resourceGroup) + "; it is read as empty.";
    });
}

void CQXResourceProvider::unloadRawDataContainer(CEGUI::RawDataContainer& data)
{
    delete[] data.getDataPtr();
    data.setData(nullptr);
    data.setSize(0);
}
} // namespace QXUI
