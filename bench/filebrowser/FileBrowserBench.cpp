// OpenPath of a folder of 1,000 entries (search, code-page names,
// locations, sort) against a bare opendir/readdir listing of the same
// folder that keeps each name and whether it is a folder.
#include <dirent.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

#include "../BenchTimes.h"
#include "script/FileBrowser.h"

namespace
{
constexpr int kEntries = 1000;

// A folder of 900 files and 100 sub-folders, made once for the run.
const std::string& Folder()
{
    static std::string folder = [] {
        char pattern[] = "/tmp/qgui_bench_browse_XXXXXX";
        if (!mkdtemp(pattern))
            return std::string();
        const std::filesystem::path root = pattern;
        for (int i = 0; i < kEntries; ++i)
        {
            char name[32];
            std::snprintf(name, sizeof name, "entry_%04d%s", (i * 7919) % kEntries,
                          i % 10 == 0 ? "" : ".dat");
            if (i % 10 == 0)
                std::filesystem::create_directory(root / name);
            else
                std::ofstream(root / name) << "x";
        }
        return root.string();
    }();
    return folder;
}

void BM_OpenPath(benchmark::State& state)
{
    const std::string& folder = Folder();
    SHELL::FileFolderMgr* mgr = &SHELL::FileFolderMgr::Instance();
    for (auto _ : state)
    {
        mgr->OpenPath(folder.c_str());
        benchmark::DoNotOptimize(mgr->getLastResult()->getFileNum());
    }
    if (mgr->getLastResult()->getFileNum() != kEntries + 2)
        state.SkipWithError("the folder did not list");
}

void BM_Readdir(benchmark::State& state)
{
    const std::string& folder = Folder();
    std::vector<std::pair<std::string, bool>> names;
    for (auto _ : state)
    {
        names.clear();
        DIR* dir = opendir(folder.c_str());
        while (const dirent* entry = readdir(dir))
            names.emplace_back(entry->d_name, entry->d_type == DT_DIR);
        closedir(dir);
        benchmark::DoNotOptimize(names.data());
    }
    if (names.size() != kEntries + 2)
        state.SkipWithError("the folder did not list");
}

BENCHMARK(BM_OpenPath)->Unit(benchmark::kMicrosecond)->Apply(BenchTimes::FastestOfFive);
BENCHMARK(BM_Readdir)->Unit(benchmark::kMicrosecond)->Apply(BenchTimes::FastestOfFive);
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    BenchTimes reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (reporter.ratio("BM_OpenPath", "BM_Readdir") > 0)
        std::printf("OpenPath of %d entries: %.1f us, bare readdir: %.1f us, ratio %.2f\n",
                    kEntries, reporter.time("BM_OpenPath"), reporter.time("BM_Readdir"),
                    reporter.ratio("BM_OpenPath", "BM_Readdir"));
    std::error_code ec;
    std::filesystem::remove_all(Folder(), ec);
    benchmark::Shutdown();
    return 0;
}
