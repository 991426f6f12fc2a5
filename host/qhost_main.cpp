// qhost: the stand-in host. Loads the interface module, serves it the host
// interfaces, renders frames and writes them as PNG files.
//
//   qhost --module <libqgui.so> --root <resource root> --frames N --out <dir>
//         [--width W --height H] [--all-frames] [--demo-scene]
//         [--script <file>] [--events <file>] [--strict]
//
// At exit it prints how many error and warning lines the GUI log (CEGUI.log
// in the working folder) gained during the run, and the first few of them;
// with --strict any makes the exit status 1.
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "EventScript.h"
#include "HostFileSystem.h"
#include "HostSession.h"
#include "demo_scene.h"

namespace
{
struct Options
{
    std::string module;
    std::string root;
    std::string out;
    long frames = 1;
    long width = 1600;
    long height = 1000;
    bool allFrames = false;
    bool demoScene = false;
    std::string script;
    std::string events;
    bool strict = false;
};

// The GUI library's log, in the working folder.
const char* const kGuiLog = "CEGUI.log";
// What the library writes on each line of a message at the error and the
// warning level.
const char* const kErrorTag = "(Error)";
const char* const kWarningTag = "(Warn)";
// How many of the run's error and warning lines are printed.
const size_t kShownLogLines = 5;

// The line the library writes at the top of a run's log, when the module
// creates the GUI system.
const char* const kRunBanner = "Crazy Eddie's GUI System - Event log";

// The error and warning lines of the last run in the log.
struct LogFindings
{
    long errors = 0;
    long warnings = 0;
    std::vector<std::string> first; // the first few of either, in order
};

// The library starts the log afresh with its banner; should a log be
// appended to, the last banner begins the last run.
LogFindings FindingsOfLastRun(const char* path)
{
    std::ifstream in(path, std::ios::binary);
    LogFindings found;
    for (std::string line; std::getline(in, line);)
    {
        if (line.find(kRunBanner) != std::string::npos)
        {
            found = LogFindings();
            continue;
        }
        const bool error = line.find(kErrorTag) != std::string::npos;
        const bool warning = !error && line.find(kWarningTag) != std::string::npos;
        found.errors += error;
        found.warnings += warning;
        if ((error || warning) && found.first.size() < kShownLogLines)
            found.first.push_back(line);
    }
    return found;
}

void Usage()
{
    std::fprintf(stderr,
                 "usage: qhost --module <libqgui.so> --root <resource root> --frames N --out <dir>\n"
                 "             [--width W --height H] [--all-frames] [--demo-scene]\n"
                 "             [--script <file>] [--events <file>] [--strict]\n"
                 "  --all-frames  write every frame, not only the last\n"
                 "  --demo-scene  build the host's demonstration windows after Init\n"
                 "  --script      run a script of the \"lua_scripts\" resource group after Init\n"
                 "  --events      feed the window messages of an event script, each before\n"
                 "                the Update of its frame (see host/EventScript.h)\n"
                 "  --strict      exit with 1 when the GUI log (CEGUI.log) gained error or\n"
                 "                warning lines\n");
}

bool ParseNumber(const char* text, long low, long high, long& out)
{
    char* end = nullptr;
    const long v = std::strtol(text, &end, 10);
    if (!*text || *end || v < low || v > high)
        return false;
    out = v;
    return true;
}

bool Parse(int argc, char** argv, Options& o)
{
    for (int i = 1; i < argc; ++i)
    {
        const std::string arg = argv[i];
        auto value = [&]() -> const char* { return i + 1 < argc ? argv[++i] : nullptr; };
        const char* v = nullptr;
        if (arg == "--all-frames")
            o.allFrames = true;
        else if (arg == "--demo-scene")
            o.demoScene = true;
        else if (arg == "--strict")
            o.strict = true;
        else if (arg == "--module" && (v = value()))
            o.module = v;
        else if (arg == "--root" && (v = value()))
            o.root = v;
        else if (arg == "--script" && (v = value()))
            o.script = v;
        else if (arg == "--events" && (v = value()))
            o.events = v;
        else if (arg == "--out" && (v = value()))
            o.out = v;
        else if (arg == "--frames" && (v = value()))
        {
            if (!ParseNumber(v, 1, 1000000, o.frames))
                return false;
        }
        else if (arg == "--width" && (v = value()))
        {
            if (!ParseNumber(v, 1, 8192, o.width))
                return false;
        }
        else if (arg == "--height" && (v = value()))
        {
            if (!ParseNumber(v, 1, 8192, o.height))
                return false;
        }
        else
        {
            std::fprintf(stderr, "qhost: bad or incomplete argument '%s'\n", arg.c_str());
            return false;
        }
    }
    return !o.module.empty() && !o.root.empty() && !o.out.empty();
}
} // namespace

int main(int argc, char** argv)
{
    Options options;
    if (!Parse(argc, argv, options))
    {
        Usage();
        return 2;
    }

    std::error_code ec;
    std::filesystem::create_directories(options.out, ec);
    if (ec)
    {
        std::fprintf(stderr, "qhost: cannot create %s: %s\n", options.out.c_str(),
                     ec.message().c_str());
        return 1;
    }

    // Read before the module loads, so a bad script costs no start-up.
    std::vector<QHost::HostMessage> events;
    std::string error;
    if (!options.events.empty() && !QHost::LoadEventScript(options.events, &events, &error))
    {
        std::fprintf(stderr, "qhost: %s\n", error.c_str());
        return 1;
    }

    // The module's message boxes are printed, as the messages it posts are.
    QHost::PrintMessageBoxes(stdout);
    HostFileSystem fileSystem(options.root);
    QHost::HostSession session(&fileSystem, uint16_t(options.width), uint16_t(options.height));

    if (!session.loadModule(options.module, &error) || !session.init(&error))
    {
        std::fprintf(stderr, "qhost: %s\n", error.c_str());
        return 1;
    }
    if (options.demoScene && !QHost::BuildDemoScene(&error))
    {
        std::fprintf(stderr, "qhost: demo scene: %s\n", error.c_str());
        session.shutDown();
        return 1;
    }
    // A failing script is reported (the module logs why in CEGUI.log); the
    // frames are still rendered so they show what the script left.
    bool scriptFailed = false;
    if (!options.script.empty())
    {
        scriptFailed = !session.gui()->ExecuteScpritFile(options.script.c_str());
        if (scriptFailed)
            std::fprintf(stderr, "qhost: the script %s failed (see CEGUI.log)\n",
                         options.script.c_str());
    }

    QHost::EventPlayer player(std::move(events));
    std::vector<std::string> written;
    for (long frame = 1; frame <= options.frames; ++frame)
    {
        session.frame([&] { player.feedFrame(session, frame, stdout); });
        if (!options.allFrames && frame != options.frames)
            continue;
        char name[32];
        std::snprintf(name, sizeof name, "frame_%04ld.png", frame);
        const std::string path = (std::filesystem::path(options.out) / name).string();
        if (!session.render.writePNG(path, &error))
        {
            std::fprintf(stderr, "qhost: %s\n", error.c_str());
            session.shutDown();
            return 1;
        }
        written.push_back(path);
    }
    session.shutDown();
    if (player.pending())
        std::fprintf(stderr, "qhost: %zu events lie after the last frame and were not fed\n",
                     player.pending());

    for (const std::string& path : written)
        std::printf("%s\n", std::filesystem::absolute(path).string().c_str());
    // Init created the GUI system, so the log's last run is this one.
    const LogFindings found = FindingsOfLastRun(kGuiLog);
    std::printf("the GUI log %s gained %ld error line%s and %ld warning%s\n",
                std::filesystem::absolute(kGuiLog).string().c_str(), found.errors, found.errors == 1 ? "" : "s",
                found.warnings, found.warnings == 1 ? "" : "s");
    for (const std::string& line : found.first)
        std::printf("  %s\n", line.c_str());
    if (found.errors + found.warnings > static_cast<long>(found.first.size()))
        std::printf("  ...\n");
    if (options.strict && found.errors + found.warnings > 0)
    {
        std::fprintf(stderr, "qhost: --strict: the GUI log has errors or warnings\n");
        return 1;
    }
    return scriptFailed ? 1 : 0;
}
