// What the benchmarks that compare the module with the bare GUI library
// share: a logger that counts error lines, the bare library started over
// its Null renderer and its own resource provider with the sample style,
// and the sample style's files served to the module by the stand-in host.
//
// The GUI library allows one system per process: a benchmark runs the bare
// library's phase first and ends it, then starts the main object.
#pragma once

#include <CEGUI/CEGUI.h>
#include <CEGUI/RendererModules/Null/Renderer.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

#include "FakeHost.h"

namespace bench
{
// Counts the error lines the GUI library logs and writes nothing.
struct ErrorCountingLogger : CEGUI::Logger
{
    int errors = 0;
    std::string first;
    void logEvent(const CEGUI::String& message, CEGUI::LoggingLevel level) override
    {
        if (level == CEGUI::Errors && errors++ == 0)
            first = message.c_str();
    }
    void setLogFilename(const CEGUI::String&, bool) override {}
};

// Installs the counting logger before any system starts; the systems use
// it, and it is never freed.
inline ErrorCountingLogger& CountLoggedErrors()
{
    return *new ErrorCountingLogger;
}

// Prints the error lines logged; the exit code of the run (1 when any was).
inline int ReportLoggedErrors(const ErrorCountingLogger& logger)
{
    std::printf("error lines logged: %d%s%s\n", logger.errors, logger.errors ? ", the first: " : "",
                logger.first.c_str());
    return logger.errors ? 1 : 0;
}

// The sample style under the stand-in host's resource root, by group
// folder and file name.
inline constexpr const char* kStyleFiles[5][2] = {{"schemes", "QXLook.scheme"},
                                                  {"imagesets", "QXLook.imageset"},
                                                  {"fonts", "QX.font"},
                                                  {"fonts", "DejaVuSans.ttf"},
                                                  {"looknfeel", "QXLook.looknfeel"}};

// The sample scheme less what needs the module: its window-renderer set, the
// mappings to the module's window types and renderers, and the looks files
// of the module's widgets. Both sides of a comparison load this.
inline std::string StockSchemeText(const std::string& root)
{
    std::ifstream in(root + "/resource/UI/schemes/QXLook.scheme");
    std::string line, text;
    while (std::getline(in, line))
    {
        const bool moduleLine = line.find("filename=\"qgui\"") != std::string::npos ||
                                line.find("QXGame/") != std::string::npos ||
                                (line.find("<LookNFeel ") != std::string::npos &&
                                 line.find("\"QXLook.looknfeel\"") == std::string::npos);
        if (!moduleLine)
            text += line + "\n";
    }
    return text;
}

// A folder of this process's with the stock scheme in it, removed when the
// process ends.
inline std::string StockSchemeFolder(const std::string& root)
{
    struct Folder
    {
        std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("qgui-bench-scheme-" + std::to_string(getpid()));
        ~Folder()
        {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    };
    static Folder folder;
    std::filesystem::create_directories(folder.path);
    std::ofstream(folder.path / "QXLook.scheme") << StockSchemeText(root);
    return folder.path.string() + "/";
}

// The library's system as started (over any renderer, with its own resource
// provider) set up on an 800 x 600 display: its resource groups in the
// folders of resource/UI under root (layouts in layoutDir when given), the
// sample style loaded and an empty sheet.
inline void SetUpBareGui(const std::string& root, const std::string& layoutDir = std::string())
{
    CEGUI::System& system = CEGUI::System::getSingleton();
    system.notifyDisplaySizeChanged(CEGUI::Sizef(800, 600));
    auto* provider = static_cast<CEGUI::DefaultResourceProvider*>(system.getResourceProvider());
    for (const char* group : {"imagesets", "fonts", "looknfeel"})
        provider->setResourceGroupDirectory(group, root + "/resource/UI/" + group + "/");
    provider->setResourceGroupDirectory("schemes", StockSchemeFolder(root));
    if (!layoutDir.empty())
        provider->setResourceGroupDirectory("layouts", layoutDir + "/");
    CEGUI::Scheme::setDefaultResourceGroup("schemes");
    CEGUI::ImageManager::setImagesetDefaultResourceGroup("imagesets");
    CEGUI::Font::setDefaultResourceGroup("fonts");
    CEGUI::WidgetLookManager::setDefaultResourceGroup("looknfeel");
    CEGUI::WindowManager::setDefaultResourceGroup("layouts");
    CEGUI::SchemeManager::getSingleton().createFromFile("QXLook.scheme");
    CEGUI::Window* sheet = CEGUI::WindowManager::getSingleton().createWindow("DefaultWindow");
    sheet->setSize(CEGUI::USize(CEGUI::UDim(1, 0), CEGUI::UDim(1, 0)));
    system.getDefaultGUIContext().setRootWindow(sheet);
}

// The bare library over its Null renderer, set up as above.
inline void StartBareGui(const std::string& root, const std::string& layoutDir = std::string())
{
    CEGUI::NullRenderer::bootstrapSystem();
    SetUpBareGui(root, layoutDir);
}

inline void EndBareGui()
{
    CEGUI::GUIContext& ctx = CEGUI::System::getSingleton().getDefaultGUIContext();
    CEGUI::WindowManager::getSingleton().destroyWindow(ctx.getRootWindow());
    ctx.setRootWindow(nullptr);
    CEGUI::NullRenderer::destroySystem();
}

// Serves the sample style to the module as the host's file system would.
inline bool ServeStyle(fake::FileSystem& files, const std::string& root)
{
    for (const auto& file : kStyleFiles)
    {
        const std::string path = std::string("resource\\UI\\") + file[0] + "\\" + file[1];
        if (std::string(file[0]) == "schemes")
            files.files[path] = StockSchemeText(root);
        else if (!files.addDiskFile(path, root + "/resource/UI/" + file[0] + "/" + file[1]))
            return false;
    }
    return true;
}
} // namespace bench
