// Creating and releasing a panel from a layout of 50 windows beside loading
// and destroying the same layout with the GUI library alone; posting a
// 20-key message through the code-page conversion beside building the same
// tree without it. Prints both pairs and their ratios.
#include <benchmark/benchmark.h>

#include <CEGUI/CEGUI.h>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}

#include <cstdio>
#include <string>

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
                      "<Window type=\"DefaultWindow\" name=\"Bench\">";
    for (int i = 1; i < 50; ++i)
        xml += "<Window type=\"DefaultWindow\" name=\"w" + std::to_string(i) +
               "\"><Property name=\"Area\" value=\"{{0," + std::to_string(i) + "},{0,0},{0,40},{0,20}}\" /></Window>";
    return xml + "</Window></GUILayout>";
}

QGUI::CQGUI* StartGui()
{
    static QGUI::CQGUI* gui = nullptr;
    if (gui)
        return gui;
    fake::Factories::render = &g_render;
    fake::Factories::fileSystem = &g_fs;
    fake::Factories::engine = &g_engine;
    g_fs.files["resource\\UI\\layouts\\Bench.layout"] = FiftyWindowLayout();
    g_fs.files["resource\\UI\\lua_scripts\\Bench.lua"] = "function Bench_on_create() end";
    static CreateInterfaceFn factories[1] = {&fake::Factories::Serve};
    gui = QGUI::CQGUI::GetGlobalObject();
    if (!gui->Init(factories, 1, &g_host))
        std::abort();
    lua_State* L = gui->GetScriptSystem()->GetLuaState();
    const char* globals = "function gFn_get_window_sound() return '' end";
    luaL_loadbuffer(L, globals, std::strlen(globals), "bench");
    lua_pcall(L, 0, 0, 0);
    return gui;
}

void BM_CreateReleasePanel(benchmark::State& state)
{
    QGUI::CQGUI* gui = StartGui();
    HandleBase handle;
    for (auto _ : state)
    {
        gui->CreatePanel(&handle, "Bench");
        gui->ReleasePanel(&handle);
        CEGUI::WindowManager::getSingleton().cleanDeadPool();
    }
}

void BM_LoadDestroyLayout(benchmark::State& state)
{
    StartGui();
    CEGUI::WindowManager& wm = CEGUI::WindowManager::getSingleton();
    for (auto _ : state)
    {
        CEGUI::Window* w = wm.loadLayoutFromFile("Bench.layout", "");
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
    QGUI::CQGUI* gui = StartGui();
    for (auto _ : state)
    {
        KeyValues* message = TwentyKeyMessage();
        gui->SendKeyVal(message);
        message->deleteThis();
        g_engine.received.clear();
    }
}

void BM_BuildTree20(benchmark::State& state)
{
    StartGui();
    for (auto _ : state)
    {
        KeyValues* message = TwentyKeyMessage();
        benchmark::DoNotOptimize(message);
        message->deleteThis();
    }
}

BENCHMARK(BM_CreateReleasePanel)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LoadDestroyLayout)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_SendKeyVal20)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BuildTree20)->Unit(benchmark::kMicrosecond);
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    BenchTimes times;
    benchmark::RunSpecifiedBenchmarks(&times);
    std::printf("\npanel create+release: %.1f us, layout load+destroy: %.1f us, ratio %.2f\n",
                times.time("BM_CreateReleasePanel"), times.time("BM_LoadDestroyLayout"),
                times.ratio("BM_CreateReleasePanel", "BM_LoadDestroyLayout"));
    std::printf("SendKeyVal of 20 keys: %.2f us, building the tree: %.2f us, ratio %.2f\n",
                times.time("BM_SendKeyVal20"), times.time("BM_BuildTree20"),
                times.ratio("BM_SendKeyVal20", "BM_BuildTree20"));
    benchmark::Shutdown();
    return 0;
}
