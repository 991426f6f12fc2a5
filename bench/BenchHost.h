// The stand-in host of the benchmarks that run the started module: a render
// interface that counts the quads it is handed instead of drawing them, the
// module started over the tests' fake engine client and file system, a host
// frame, and the count of error lines the GUI library logged.
#pragma once

#include <CEGUI/Logger.h>

#include <cstddef>
#include <cstdlib>

#include "FakeHost.h"
#include "RecordingLogger.h"
#include "core/QGUI.h"

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
} // namespace bench
