#include "render/QXResourceProvider.h"

#include <new>

#include "core/InterfaceRegistry.h"

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
    const CEGUI::String g(group ? group : "");
    const CEGUI::String d(directory ? directory : "");
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
}

void CQXResourceProvider::unloadRawDataContainer(CEGUI::RawDataContainer& data)
{
    delete[] data.getDataPtr();
    data.setData(nullptr);
    data.setSize(0);
}
} // namespace QXUI
