// The module started once for a benchmark: the main object over the module
// tests' fake host, frames of 1/60 s, the font "BFont" (DejaVuSans at 12
// pixels, BENCH_FONT_PATH) as font 0, and the benchmark's scheme loaded.
#pragma once

#include <CEGUI/CEGUI.h>

#include <cstdio>
#include <cstdlib>

#include "FakeHost.h"
#include "RecordingLogger.h"
#include "core/QGUI.h"

// Serves "BFont" and its font file; ends the program when the file is
// missing.
inline void ServeBenchFont(fake::FileSystem& fs, const char* program)
{
    fs.files["resource\\UI\\fonts\\BFont.font"] =
        "<?xml version=\"1.0\" ?><Font version=\"3\" name=\"BFont\" filename=\"DejaVuSans.ttf\" type=\"FreeType\" "
        "size=\"12\" autoScaled=\"false\" />";
    if (!fs.addDiskFile("resource\\UI\\fonts\\DejaVuSans.ttf", BENCH_FONT_PATH))
    {
        std::fprintf(stderr, "%s: %s is missing\n", program, BENCH_FONT_PATH);
        std::exit(1);
    }
}

// Starts the main object and loads the scheme (served by the caller with
// the font); *logger gets the log the GUI system writes. Aborts on failure.
inline QGUI::CQGUI* StartBenchGui(fake::Render& render, fake::Engine& engine, fake::FileSystem& fs,
                                  HostGlobals& host, const char* scheme, RecordingLogger** logger)
{
    *logger = new RecordingLogger; // the GUI system takes it over
    fake::Factories::render = &render;
    fake::Factories::engine = &engine;
    fake::Factories::fileSystem = &fs;
    static CreateInterfaceFn factories[1] = {&fake::Factories::Serve};
    QGUI::CQGUI* gui = QGUI::CQGUI::GetGlobalObject();
    host.frametime = 1.0f / 60;
    if (!gui->Init(factories, 1, &host) || !gui->LoadFont(0, "BFont"))
        std::abort();
    CEGUI::SchemeManager::getSingleton().createFromFile(scheme);
    return gui;
}

// The lines the GUI system logged at error level; a benchmark's run logs
// none.
inline size_t ErrorLines(const RecordingLogger* logger)
{
    size_t errors = 0;
    if (logger)
        for (const auto& line : logger->lines)
            errors += line.second == CEGUI::Errors;
    return errors;
}
