// Reads a generated KeyValues text of about 10 MB (nested blocks, ints,
// floats and strings) with LoadFromBuffer, and the same tree written as JSON
// with RapidJSON, then prints the time of each read, the rate of the
// KeyValues text, their ratio by time and the memory taken per node. Each
// benchmark runs five times; the fastest run counts.

#include <benchmark/benchmark.h>

#include "BenchTimes.h"

#include <rapidjson/document.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "KeyValues.h"
#include "keyvaluessystem.h"
#include "tier0.h"

namespace
{

const size_t kTargetBytes = 10 * 1000 * 1000;

// A small deterministic generator, so every run reads the same text.
struct Random
{
    uint64_t state = 0x9E3779B97F4A7C15ull;
    uint32_t Next()
    {
        state ^= state << 13;
        state ^= state >> 7;
        state ^= state << 17;
        return static_cast<uint32_t>(state);
    }
    uint32_t Below(uint32_t n) { return Next() % n; }
};

const char* const kWords[] = {"sword", "shield", "fire", "ice", "of the", "ancient", "guard", "swift",
                              "crimson", "stone", "wind", "hollow", "bright", "moon", "iron", "oak"};
const char* const kFields[] = {"name", "desc", "icon", "sound", "owner", "type"};

void Indent(std::string& out, int depth)
{
    out.append(static_cast<size_t>(depth), '\t');
}

void Pair(std::string& out, int depth, const std::string& key, const std::string& value)
{
    Indent(out, depth);
    out += '"' + key + "\"\t\t\"" + value + "\"\n";
}

std::string Words(Random& random, int count)
{
    std::string text;
    for (int i = 0; i < count; ++i)
    {
        if (i)
            text += ' ';
        text += kWords[random.Below(16)];
    }
    return text;
}

void Block(std::string& out, Random& random, int depth, const std::string& name)
{
    Indent(out, depth);
    out += '"' + name + "\"\n";
    Indent(out, depth);
    out += "{\n";
    char number[64];
    std::snprintf(number, sizeof(number), "%u", random.Next() % 1000000);
    Pair(out, depth + 1, "id", number);
    std::snprintf(number, sizeof(number), "%d", static_cast<int>(random.Below(2001)) - 1000);
    Pair(out, depth + 1, "level", number);
    std::snprintf(number, sizeof(number), "%.3f", random.Below(100000) / 1000.0);
    Pair(out, depth + 1, "scale", number);
    for (int i = 0, n = 1 + static_cast<int>(random.Below(3)); i < n; ++i)
        Pair(out, depth + 1, kFields[random.Below(6)], Words(random, 1 + static_cast<int>(random.Below(6))));
    if (depth < 4)
    {
        for (int i = 0, n = static_cast<int>(random.Below(4)); i < n; ++i)
            Block(out, random, depth + 1, "child" + std::to_string(i));
    }
    Indent(out, depth);
    out += "}\n";
}

std::string MakeKeyValuesText()
{
    Random random;
    std::string text = "\"root\"\n{\n";
    for (int entry = 0; text.size() < kTargetBytes; ++entry)
        Block(text, random, 1, "entry_" + std::to_string(entry));
    text += "}\n";
    return text;
}

void JsonString(std::string& out, const char* text)
{
    out += '"';
    for (const char* p = text; *p; ++p)
    {
        if (*p == '"' || *p == '\\')
            out += '\\';
        out += *p;
    }
    out += '"';
}

// The tree as JSON: blocks are objects, ints and floats numbers, the rest strings.
void WriteJson(std::string& out, KeyValues* node)
{
    out += '{';
    bool first = true;
    for (KeyValues* sub = node->GetFirstSubKey(); sub; sub = sub->GetNextKey())
    {
        if (!first)
            out += ',';
        first = false;
        JsonString(out, sub->GetName());
        out += ':';
        if (sub->GetFirstSubKey())
            WriteJson(out, sub);
        else if (sub->GetDataType() == KeyValues::TYPE_INT || sub->GetDataType() == KeyValues::TYPE_FLOAT)
            out += sub->GetString(); // the number's text as read (this stores it back as text)
        else
            JsonString(out, sub->GetString());
    }
    out += '}';
}

struct Inputs
{
    std::string keyValues;
    std::string json;
    Inputs()
    {
        keyValues = MakeKeyValuesText();
        KeyValues* kv = new KeyValues("root");
        kv->LoadFromBuffer(nullptr, keyValues.c_str());
        json.reserve(keyValues.size());
        WriteJson(json, kv);
        kv->deleteThis();
    }
};

const Inputs& GetInputs()
{
    static Inputs inputs;
    return inputs;
}

void BM_KeyValuesLoadFromBuffer(benchmark::State& state)
{
    const std::string& text = GetInputs().keyValues;
    for (auto _ : state)
    {
        KeyValues* kv = new KeyValues("root");
        bool ok = kv->LoadFromBuffer(nullptr, text.c_str());
        benchmark::DoNotOptimize(ok);
        state.PauseTiming();
        kv->deleteThis();
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_KeyValuesLoadFromBuffer)->Unit(benchmark::kMillisecond)->Apply(BenchTimes::FastestOfFive);

void BM_RapidJsonParse(benchmark::State& state)
{
    const std::string& json = GetInputs().json;
    for (auto _ : state)
    {
        auto* document = new rapidjson::Document;
        document->Parse(json.c_str(), json.size());
        benchmark::DoNotOptimize(document->HasParseError());
        state.PauseTiming();
        delete document;
        state.ResumeTiming();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(json.size()));
}
BENCHMARK(BM_RapidJsonParse)->Unit(benchmark::kMillisecond)->Apply(BenchTimes::FastestOfFive);

void PrintMemoryPerNode()
{
    const std::string& text = GetInputs().keyValues;
    KeyValuesSystemStats nodesBefore = KeyValuesSystem()->GetStats();
    MemAllocStats stringsBefore = GetMemAllocStats();
    KeyValues* kv = new KeyValues("root");
    kv->LoadFromBuffer(nullptr, text.c_str());
    KeyValuesSystemStats nodesAfter = KeyValuesSystem()->GetStats();
    MemAllocStats stringsAfter = GetMemAllocStats();

    // The staging node of the load is counted too; it is freed at once.
    double nodes = static_cast<double>(nodesAfter.liveNodes - nodesBefore.liveNodes);
    double nodeBytes = static_cast<double>(nodesAfter.nodeBytes - nodesBefore.nodeBytes);
    double stringBytes = static_cast<double>(stringsAfter.bytesRequested - stringsBefore.bytesRequested);
    double allocations = static_cast<double>(stringsAfter.allocations - stringsBefore.allocations);
    std::printf("KeyValues tree: %.0f nodes from %.2f MB of text (%.1f text bytes per node)\n", nodes,
                text.size() / 1e6, text.size() / nodes);
    std::printf("  node memory:   %.1f bytes per node (key-values system blocks)\n", nodeBytes / nodes);
    std::printf("  value strings: %.1f bytes per node requested from g_pMemAlloc (%.2f allocations per node)\n",
                stringBytes / nodes, allocations / nodes);
    std::printf("  total:         %.1f bytes per node; key-name symbols: %llu names, %llu bytes process-wide\n",
                (nodeBytes + stringBytes) / nodes, static_cast<unsigned long long>(nodesAfter.symbolCount),
                static_cast<unsigned long long>(nodesAfter.symbolBytes));
    kv->deleteThis();
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    const Inputs& inputs = GetInputs();
    std::printf("KeyValues text: %zu bytes; the same tree as JSON: %zu bytes\n", inputs.keyValues.size(),
                inputs.json.size());
    BenchTimes reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();

    const double kv = reporter.time("BM_KeyValuesLoadFromBuffer");
    const double json = reporter.time("BM_RapidJsonParse");
    if (kv > 0 && json > 0)
        std::printf("\nthe same tree read: LoadFromBuffer %.2f ms (%.1f MB/s of KeyValues text), RapidJSON Parse "
                    "%.2f ms\nKeyValues speed relative to RapidJSON (RapidJSON time / KeyValues time): %.2f "
                    "(goals: >= 300 MB/s, >= 0.8)\n",
                    kv, inputs.keyValues.size() / (kv / 1e3) / 1e6, json, json / kv);
    PrintMemoryPerNode();
    return 0;
}
