// Creating and releasing a panel from a layout of 50 windows of the sample
// style (images, texts and a frame, each with its look) beside loading and
// destroying the same layout with the bare GUI library (its Null renderer
// and its own resource provider); posting a 20-key message through the
// code-page conversion beside building the same tree without it. Prints
// both pairs, their ratios and the error lines the run logged.
//
// The GUI library allows one system per process: the bare library's phase
// runs first and ends its system; then the main object starts.
#include <benchmark/benchmark.h>

#include <CEGUI/CEGUI.h>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "../BenchGui.h"
#include "../BenchTimes.h"
#include "FakeHost.h"
#include "KeyValues.h"
#include "core/QGUI.h"
#include "script/ScriptSystem.h"

namespace
{
fake::Render g_render;
fake::Engine g_engine;
fake::FileSystem g_fs;
HostGlobals g_host{};

std::string FiftyWindowLayout()
{
    std::string xml = "<?xml version=\"1.0\" ?><GUILayout version=\"4\">"
                      "<Window type=\"QXLook/Frame\" name=\"Bench\">"
                      "<Property name=\"Size\" value=\"{{0,400},{0,300}}\" />";
    for (int i = 1; i < 50; ++i)
    {
        const std::string area = "<Property name=\"Area\" value=\"{{0," + std::to_string(i % 10 * 38) +
                                 "},{0," + std::to_string(i / 10 * 40) + "},{0," +
                                 std::to_string(i % 10 * 38 + 36) + "},{0," +
                                 std::to_string(i / 10 * 40 + 32) + "}}\" />";
        if (i % 2)
            xml += "<Window type=\"QXLook/StaticImage\" name=\"w" + std::to_string(i) + "\">" + area +
                   "<Property name=\"Image\" value=\"QXLook/Icon\" /></Window>";
        else
            xml += "<Window type=\"QXLook/StaticText\" name=\"w" + std::to_string(i) + "\">" + area +
                   "<Property name=\"Text\" value=\"Slot " + std::to_string(i) + "\" /></Window>";
    }
    return xml + "</Window></GUILayout>";
}

QGUI::CQGUI* StartGui(const std::string& root)
{
    fake::Factories::render = &g_render;
    fake::Factories::fileSystem = &g_fs;
    fake::Factories::engine = &g_engine;
    if (!bench::ServeStyle(g_fs, root))
        return nullptr;
    g_fs.files["resource\\UI\\layouts\\Bench.layout"] = FiftyWindowLayout();
    g_fs.files["resource\\UI\\lua_scripts\\Bench.lua"] = "function Bench_on_create() return 0 end";
    static CreateInterfaceFn factories[1] = {&fake::Factories::Serve};
    QGUI::CQGUI* gui = QGUI::CQGUI::GetGlobalObject();
    if (!gui->Init(factories, 1, &g_host))
        return nullptr;
    CEGUI::SchemeManager::getSingleton().createFromFile("QXLook.scheme");
    lua_State* L = gui->GetScriptSystem()->GetLuaState();
    const char* globals = "function gFn_get_window_sound() return '' end";
    luaL_loadbuffer(L, globals, std::strlen(globals), "bench");
    lua_pcall(L, 0, 0, 0);
    return gui;
}

QGUI::CQGUI* g_gui = nullptr;

void BM_CreateReleasePanel(benchmark::State& state)
{
    HandleBase handle;
    for (auto _ : state)
    {
        g_gui->CreatePanel(&handle, "Bench");
        g_gui->ReleasePanel(&handle);
        CEGUI::WindowManager::getSingleton().cleanDeadPool();
    }
}

void BM_LoadDestroyLayout(benchmark::State& state)
{
    CEGUI::WindowManager& wm = CEGUI::WindowManager::getSingleton();
    for (auto _ : state)
    {
        CEGUI::Window* w = wm.loadLayoutFromFile("Bench.layout");
        wm.destroyWindow(w);
        wm.cleanDeadPool();
    }
}

// Twenty keys of mixed ASCII and double-byte text, in UTF-8.
KeyValues* TwentyKeyMessage()
{
    KeyValues* message = new KeyValues("_KeyVal_Bench");
    char key[16];
    for (int i = 0; i < 20; ++i)
    {
        std::snprintf(key, sizeof(key), "key%02d", i);
        message->SetString(key, "item \xE4\xB8\xAD\xE6\x96\x87 text");
    }
    return message;
}

void BM_SendKeyVal20(benchmark::State& state)
{
    for (auto _ : state)
    {
        KeyValues* message = TwentyKeyMessage();
        g_gui->SendKeyVal(message);
        message->deleteThis();
        g_engine.received.clear();
    }
}

void BM_BuildTree20(benchmark::State& state)
{
    for (auto _ : state)
    {
        KeyValues* message = TwentyKeyMessage();
        benchmark::DoNotOptimize(message);
        message->deleteThis();
    }
}
// Five runs each; the fastest counts.
void Register(const char* name, void (*run)(benchmark::State&))
{
    benchmark::RegisterBenchmark(name, run)
        ->Unit(benchmark::kMicrosecond)
        ->Apply(BenchTimes::FastestOfFive);
}
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    const std::string root = QHOST_ROOT_DIR;
    bench::ErrorCountingLogger& logger = bench::CountLoggedErrors();
    BenchTimes times;

    // The bare library reads the layout from a folder of its own.
    const std::filesystem::path layouts =
        std::filesystem::temp_directory_path() / ("qgui-bench-layouts-" + std::to_string(getpid()));
    std::filesystem::create_directories(layouts);
    std::ofstream(layouts / "Bench.layout") << FiftyWindowLayout();
    bench::StartBareGui(root, layouts.string());
    Register("BM_LoadDestroyLayout", BM_LoadDestroyLayout);
    benchmark::RunSpecifiedBenchmarks(&times);
    benchmark::ClearRegisteredBenchmarks();
    bench::EndBareGui();
    std::filesystem::remove_all(layouts);

    g_gui = StartGui(root);
    if (!g_gui)
    {
        std::fprintf(stderr, "the main object did not start over %s\n", root.c_str());
        return 1;
    }
    Register("BM_CreateReleasePanel", BM_CreateReleasePanel);
    Register("BM_SendKeyVal20", BM_SendKeyVal20);
    Register("BM_BuildTree20", BM_BuildTree20);
    benchmark::RunSpecifiedBenchmarks(&times);
    benchmark::Shutdown();

    std::printf("\npanel create+release: %.1f us, bare library layout load+destroy: %.1f us, ratio %.2f\n",
                times.time("BM_CreateReleasePanel"), times.time("BM_LoadDestroyLayout"),
                times.ratio("BM_CreateReleasePanel", "BM_LoadDestroyLayout"));
    std::printf("SendKeyVal of 20 keys: %.2f us, building the tree: %.2f us, ratio %.2f\n",
                times.time("BM_SendKeyVal20"), times.time("BM_BuildTree20"),
                times.ratio("BM_SendKeyVal20", "BM_BuildTree20"));
    return bench::ReportLoggedErrors(logger);
}
