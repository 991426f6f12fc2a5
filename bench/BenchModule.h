// The interface module as the widget benchmarks run it: started once per
// program over a render interface that counts the quads it is handed
// instead of drawing them (the stubbed host drawing), a fake engine client
// of the program's, and an in-memory file system serving the program's
// style ("B.scheme") and the font "BFont" (DejaVu Sans, font 0).
#pragma once

#include <CEGUI/CEGUI.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "FakeHost.h"
#include "RecordingLogger.h"
#include "core/QGUI.h"

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

struct BenchModule
{
    CountingRender render;
    fake::FileSystem fs;
    HostGlobals host{};
    RecordingLogger* logger = nullptr; // the GUI system owns it
    QGUI::CQGUI* gui = nullptr;

    // Starts the module the first time (the style files must be in fs by
    // then) and loads the style; later calls answer the started module.
    // fontPath is the DejaVu Sans file served as the font's face.
    QGUI::CQGUI* start(fake::Engine* engine, const char* fontPath, unsigned width, unsigned height)
    {
        if (gui)
            return gui;
        fs.files["resource\\UI\\fonts\\BFont.font"] =
            "<?xml version=\"1.0\" ?><Font version=\"3\" name=\"BFont\" filename=\"DejaVuSans.ttf\" "
            "type=\"FreeType\" size=\"12\" autoScaled=\"false\" />";
        if (!fs.addDiskFile("resource\\UI\\fonts\\DejaVuSans.ttf", fontPath))
        {
            std::fprintf(stderr, "benchmark: %s is missing\n", fontPath);
            std::exit(1);
        }
        logger = new RecordingLogger;
        fake::Factories::render = &render;
        fake::Factories::engine = engine;
        fake::Factories::fileSystem = &fs;
        static CreateInterfaceFn factories[1] = {&fake::Factories::Serve};
        gui = QGUI::CQGUI::GetGlobalObject();
        host.frametime = 1.0f / 60;
        if (!gui->Init(factories, 1, &host) || !gui->LoadFont(0, "BFont"))
            std::abort();
        CEGUI::SchemeManager::getSingleton().createFromFile("B.scheme");
        render.viewport = QXViewport{static_cast<uint16_t>(width), static_cast<uint16_t>(height)};
        gui->UpdateDisplaySize();
        return gui;
    }
    // One host frame: time moves on, then Update.
    void frame()
    {
        host.curtime += host.frametime;
        gui->Update();
    }
    size_t errorLines() const
    {
        size_t errors = 0;
        if (logger)
            for (const auto& line : logger->lines)
                errors += line.second == CEGUI::Errors;
        return errors;
    }
};
