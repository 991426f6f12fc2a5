// The stand-in host of the benchmarks that run the started module: a render
// interface that counts the quads it is handed instead of drawing them, the
// module started over the tests' fake engine client and file system, a host
// frame, and the count of error lines the GUI library logged.
#pragma once

#include <CEGUI/Logger.h>

#include <CEGUI/SchemeManager.h>
#include <CEGUI/WindowManager.h>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "FakeHost.h"
#include "RecordingLogger.h"
#include "core/QGUI.h"
#include "script/ScriptSystem.h"

namespace bench
{
// Counts quads instead of drawing them.
struct CountingRender : fake::Render
{
    size_t quads = 0;
    void DrawQuad(int, int, IQXHostTexture*, const float*, const float*, const float*, const uint32_t*,
                  float) override
    {
        ++quads;
    }
    void DrawQuadAlpha(int, int, IQXHostTexture*, const float*, const float*, const float*, const uint32_t*,
                       float) override
    {
        ++quads;
    }
};

// Starts the module over the stand-ins, with a logger that keeps every line
// from the start; a failed start ends the program.
inline QGUI::CQGUI* StartModule(fake::Render& render, fake::Engine& engine, fake::FileSystem& files,
                                HostGlobals& host, RecordingLogger*& logger)
{
    logger = new RecordingLogger; // the GUI system takes it over
    fake::Factories::render = &render;
    fake::Factories::engine = &engine;
    fake::Factories::fileSystem = &files;
    static CreateInterfaceFn factories[1] = {&fake::Factories::Serve};
    QGUI::CQGUI* gui = QGUI::CQGUI::GetGlobalObject();
    if (!gui->Init(factories, 1, &host))
        std::abort();
    return gui;
}

// Serves the font "BFont" (DejaVu Sans at 12 pixels, from fontPath) and its
// font file; ends the program when the file is missing.
inline void ServeBenchFont(fake::FileSystem& fs, const char* fontPath)
{
    fs.files["resource\\UI\\fonts\\BFont.font"] =
        "<?xml version=\"1.0\" ?><Font version=\"3\" name=\"BFont\" filename=\"DejaVuSans.ttf\" type=\"FreeType\" "
        "size=\"12\" autoScaled=\"false\" />";
    if (!fs.addDiskFile("resource\\UI\\fonts\\DejaVuSans.ttf", fontPath))
    {
        std::fprintf(stderr, "benchmark: %s is missing\n", fontPath);
        std::exit(1);
    }
}

// Starts the module with frames of 1/60 s, "BFont" as font 0 and the
// benchmark's scheme loaded (both served by the caller); ends the program
// on failure.
inline QGUI::CQGUI* StartModuleWithScheme(fake::Render& render, fake::Engine& engine,
                                          fake::FileSystem& files, HostGlobals& host,
                                          const char* scheme, RecordingLogger*& logger)
{
    host.frametime = 1.0f / 60;
    QGUI::CQGUI* gui = StartModule(render, engine, files, host, logger);
    if (!gui->LoadFont(0, "BFont"))
        std::abort();
    CEGUI::SchemeManager::getSingleton().createFromFile(scheme);
    return gui;
}

// Runs a chunk of Lua on the module's script state; a chunk that does not
// load or fails ends the program.
inline void RunScript(QGUI::CQGUI* gui, const char* chunk)
{
    lua_State* L = gui->GetScriptSystem()->GetLuaState();
    if (luaL_loadbuffer(L, chunk, std::strlen(chunk), "bench") != 0 || lua_pcall(L, 0, 0, 0) != 0)
        std::abort();
}

// A plain window over the whole of root, to hold one side's windows.
inline CEGUI::Window* FullWindowContainer(CEGUI::Window* root, const char* name)
{
    CEGUI::Window* w = CEGUI::WindowManager::getSingleton().createWindow("DefaultWindow", name);
    w->setArea(CEGUI::URect(CEGUI::UDim(0, 0), CEGUI::UDim(0, 0), CEGUI::UDim(1, 0), CEGUI::UDim(1, 0)));
    root->addChild(w);
    return w;
}

// One host frame: the clock moves on by the frame time, then the module's
// Update.
inline void Frame(QGUI::CQGUI* gui, HostGlobals& host)
{
    host.curtime += host.frametime;
    gui->Update();
}

// The error lines a logger kept; 0 without one.
inline size_t ErrorLines(const RecordingLogger* logger)
{
    size_t errors = 0;
    if (logger)
        for (const auto& line : logger->lines)
            errors += line.second == CEGUI::Errors;
    return errors;
}
// The module as a widget benchmark runs it, in one object: the counting
// render interface, the served files, the host record and the log.
struct Module
{
    CountingRender render;
    fake::FileSystem fs;
    HostGlobals host{};
    RecordingLogger* logger = nullptr; // the GUI system owns it
    QGUI::CQGUI* gui = nullptr;

    // Starts the module the first time, with the style "B.scheme" (in fs by
    // then) and "BFont" from fontPath, on a display of width x height;
    // later calls answer the started module.
    QGUI::CQGUI* start(fake::Engine* engine, const char* fontPath, unsigned width, unsigned height)
    {
        if (gui)
            return gui;
        ServeBenchFont(fs, fontPath);
        gui = StartModuleWithScheme(render, *engine, fs, host, "B.scheme", logger);
        render.viewport = QXViewport{static_cast<uint16_t>(width), static_cast<uint16_t>(height)};
        gui->UpdateDisplaySize();
        return gui;
    }
    void frame() { Frame(gui, host); }
    size_t errorLines() const { return ErrorLines(logger); }
};
} // namespace bench
