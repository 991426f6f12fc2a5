// The cost of CScriptSystem::CallGlobal2Strings2Numbers (two texts, two
// numbers, a text result) against the same call made directly with the Lua
// C API, in one run; prints both in ns and their ratio.
#include <cstdio>
#include <map>
#include <set>
#include <string>

#include <benchmark/benchmark.h>

#include "../BenchTimes.h"
#include "FakeHost.h"
#include "core/QGUI.h"

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}

#include "script/ScriptSystem.h"

namespace
{
const char* const kChunk =
    "function describe(a, b, x, y)\n"
    "  if x > y then return a end\n"
    "  return b\n"
    "end\n";

void BM_ScriptSystemCall(benchmark::State& state)
{
    QGUI::CScriptSystem scripts;
    lua_State* L = scripts.GetLuaState();
    luaL_dostring(L, kChunk);
    unsigned n = 0;
    for (auto _ : state)
    {
        const char* result =
            scripts.CallGlobal2Strings2Numbers("describe", "item name", "other name", n, 7);
        benchmark::DoNotOptimize(result);
        n = (n + 1) & 15;
    }
}

void BM_PlainLuaCall(benchmark::State& state)
{
    QGUI::CScriptSystem scripts;
    lua_State* L = scripts.GetLuaState();
    luaL_dostring(L, kChunk);
    unsigned n = 0;
    for (auto _ : state)
    {
        lua_getglobal(L, "describe");
        lua_pushstring(L, "item name");
        lua_pushstring(L, "other name");
        lua_pushnumber(L, static_cast<lua_Number>(n));
        lua_pushnumber(L, 7);
        const char* result = nullptr;
        if (lua_pcall(L, 4, 1, 0) == 0)
            result = lua_tostring(L, -1);
        benchmark::DoNotOptimize(result);
        lua_pop(L, 1);
        n = (n + 1) & 15;
    }
}

// The same call through the main object, which converts both texts from
// the local code page and the result back.
void BM_MainObjectCall(benchmark::State& state)
{
    static fake::Render render;
    static HostGlobals host{};
    static CreateInterfaceFn factories[1] = {&fake::Factories::Serve};
    fake::Factories::render = &render;
    QGUI::CQGUI* gui = QGUI::CQGUI::GetGlobalObject();
    if (!gui->IsInitialised() && !gui->Init(factories, 1, &host))
    {
        state.SkipWithError("the main object did not start");
        return;
    }
    luaL_dostring(gui->GetScriptSystem()->GetLuaState(), kChunk);
    int n = 0;
    for (auto _ : state)
    {
        const char* result =
            gui->CallScriptGlobal2Strings2Numbers("describe", "item name", "other name", n, 7);
        benchmark::DoNotOptimize(result);
        n = (n + 1) & 15;
    }
}

// As above with double-byte texts, which take the full conversion.
void BM_MainObjectCallDoubleByte(benchmark::State& state)
{
    QGUI::CQGUI* gui = QGUI::CQGUI::GetGlobalObject();
    if (!gui->IsInitialised())
    {
        state.SkipWithError("runs after BM_MainObjectCall");
        return;
    }
    int n = 0;
    for (auto _ : state)
    {
        const char* result = gui->CallScriptGlobal2Strings2Numbers(
            "describe", "\xD6\xD0\xCE\xC4 item", "\xB0\xA1 other", n, 7);
        benchmark::DoNotOptimize(result);
        n = (n + 1) & 15;
    }
}

// Five runs each; the fastest counts.
BENCHMARK(BM_ScriptSystemCall)->Unit(benchmark::kNanosecond)->Apply(BenchTimes::FastestOfFive);
BENCHMARK(BM_MainObjectCall)->Unit(benchmark::kNanosecond)->Apply(BenchTimes::FastestOfFive);
BENCHMARK(BM_MainObjectCallDoubleByte)->Unit(benchmark::kNanosecond)->Apply(BenchTimes::FastestOfFive);
BENCHMARK(BM_PlainLuaCall)->Unit(benchmark::kNanosecond)->Apply(BenchTimes::FastestOfFive);

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    BenchTimes reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (reporter.ratio("BM_ScriptSystemCall", "BM_PlainLuaCall") > 0)
        std::printf("script system call: %.1f ns, plain Lua C API call: %.1f ns, ratio %.2f "
                    "(goal <= 1.5)\n",
                    reporter.time("BM_ScriptSystemCall"), reporter.time("BM_PlainLuaCall"),
                    reporter.ratio("BM_ScriptSystemCall", "BM_PlainLuaCall"));
    if (reporter.ratio("BM_MainObjectCall", "BM_PlainLuaCall") > 0)
        std::printf("main object call (code-page conversion included): %.1f ns, ratio to the plain "
                    "call %.2f (goal <= 1.5)\n",
                    reporter.time("BM_MainObjectCall"),
                    reporter.ratio("BM_MainObjectCall", "BM_PlainLuaCall"));
    if (reporter.ratio("BM_MainObjectCallDoubleByte", "BM_PlainLuaCall") > 0)
        std::printf("main object call with double-byte texts: %.1f ns, ratio to the plain call %.2f\n",
                    reporter.time("BM_MainObjectCallDoubleByte"),
                    reporter.ratio("BM_MainObjectCallDoubleByte", "BM_PlainLuaCall"));
    benchmark::Shutdown();
    return 0;
}
