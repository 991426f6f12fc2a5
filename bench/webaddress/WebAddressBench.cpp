// The address check per address, over a mix of allowed addresses and
// bypass attempts, against the plain search it replaces: the first
// occurrence of the domain suffix after the first "://" with no '/' in
// between, found with std::string::find.
#include <cstdio>
#include <string>
#include <vector>

#include <benchmark/benchmark.h>

#include "../BenchTimes.h"
#include "widgets/WebAddressCheck.h"

namespace
{
const std::vector<std::string>& Addresses()
{
    static const std::vector<std::string> addresses = {
        "http://www.qxgame.example/news/index.html?id=3#top",
        "https://shop.eu.qxgame.example/item?id=7",
        "http://help.partner.example/qxgame/faq.html",
        "https://pay.partner.example/checkout?note=10%20gold",
        "about:blank",
        "http://a.qxgame.example.evil.test/",
        "http://a.qxgame.example@evil.test/",
        "http://evil.test\\a.qxgame.example/",
        "javascript:alert(1);'://x.qxgame.example'",
        "http://www.example.org/some/longer/path/to/a/page.html?query=value&other=1",
    };
    return addresses;
}

// The suffix search: allowed when the suffix follows "://" with no '/'
// between them.
bool SuffixSearch(const std::string& address)
{
    const size_t suffix = address.find(QGUI::kAllowedWebDomain);
    const size_t scheme = address.find("://");
    if (suffix == std::string::npos || scheme == std::string::npos)
        return false;
    const size_t host = scheme + 3;
    return host < suffix && address.find('/', host) > suffix;
}

void BM_AddressCheck(benchmark::State& state)
{
    const std::vector<std::string>& addresses = Addresses();
    size_t i = 0;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(QGUI::IsWebAddressAllowed(addresses[i]));
        i = i + 1 == addresses.size() ? 0 : i + 1;
    }
}

void BM_SuffixSearch(benchmark::State& state)
{
    const std::vector<std::string>& addresses = Addresses();
    size_t i = 0;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(SuffixSearch(addresses[i]));
        i = i + 1 == addresses.size() ? 0 : i + 1;
    }
}

BENCHMARK(BM_AddressCheck)->Unit(benchmark::kNanosecond)->Apply(BenchTimes::FastestOfFive);
BENCHMARK(BM_SuffixSearch)->Unit(benchmark::kNanosecond)->Apply(BenchTimes::FastestOfFive);
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    BenchTimes reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    if (reporter.ratio("BM_AddressCheck", "BM_SuffixSearch") > 0)
        std::printf("address check: %.1f ns per address, suffix search: %.1f ns, ratio %.2f\n",
                    reporter.time("BM_AddressCheck"), reporter.time("BM_SuffixSearch"),
                    reporter.ratio("BM_AddressCheck", "BM_SuffixSearch"));
    benchmark::Shutdown();
    return 0;
}
