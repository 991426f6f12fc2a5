// The cost of CScriptSystem::CallGlobal2Strings2Numbers (two texts, two
// numbers, a text result) against the same call made directly with the Lua
// C API, in one run; prints both in ns and their ratio.
#include <cstdio>
#include <map>
#include <set>
#include <string>

#include <benchmark/benchmark.h>

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

BENCHMARK(BM_ScriptSystemCall)->Unit(benchmark::kNanosecond);
BENCHMARK(BM_PlainLuaCall)->Unit(benchmark::kNanosecond);

// Console output plus the time per iteration of each benchmark.
class RecordingReporter : public benchmark::ConsoleReporter
{
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        // One run gives the time; with repetitions their mean does.
        for (const Run& run : runs)
        {
            const std::string& name = run.run_name.function_name;
            if (run.run_type == Run::RT_Iteration && run.iterations > 0 && !means.count(name))
                nsPerCall[name] = run.GetAdjustedRealTime(); // in the benchmark's unit (ns)
            else if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "mean")
            {
                nsPerCall[name] = run.GetAdjustedRealTime();
                means.insert(name);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    std::map<std::string, double> nsPerCall;
    std::set<std::string> means;
};
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const auto typed = reporter.nsPerCall.find("BM_ScriptSystemCall");
    const auto plain = reporter.nsPerCall.find("BM_PlainLuaCall");
    if (typed != reporter.nsPerCall.end() && plain != reporter.nsPerCall.end() &&
        plain->second > 0)
        std::printf("script system call: %.1f ns, plain Lua C API call: %.1f ns, ratio %.2f "
                    "(goal <= 1.5)\n",
                    typed->second, plain->second, typed->second / plain->second);
    benchmark::Shutdown();
    return 0;
}
