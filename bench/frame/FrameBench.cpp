// Frames of one interface drawn by the GUI library's Null renderer and by
// the module's renderer over a host whose drawing only counts quads, in one
// run: a full frame (every window drawn again), an idle frame (nothing
// changed) and a frame in which a tenth of the windows change, for 1, 100
// and 1,000 image windows and 1,000 text windows. The limit case hands the
// quads of one idle frame, kept in an array, to the same counting host.
// Prints each pair's ratio (of the fastest of five runs) and the heap
// allocations per frame.
//
// The two systems differ in their renderer only (both read the sample style
// with the library's own resource provider). The GUI library allows one
// system at a time: each pair of benchmarks runs one after the other, the
// system of the one ended before the other's starts, so that both see the
// machine in the same state.
#include <benchmark/benchmark.h>

#include <CEGUI/CEGUI.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "../BenchGui.h"
#include "../BenchTimes.h"
#include "AllocationCounter.h"
#include "CountingHost.h"
#include "render/QXRenderer.h"

namespace
{
struct Scene
{
    const char* name;
    int windows;
    bool text;
};
const Scene kScenes[] = {{"images1", 1, false},
                         {"images100", 100, false},
                         {"images1000", 1000, false},
                         {"texts1000", 1000, true}};

enum class Frame
{
    Full,
    Idle,
    Changing
};
const char* const kFrameNames[] = {"full", "idle", "changing"};

bench::CountingRender g_render;
bench::CountingEngine g_engine;

void* ServeHost(const char* name, int32_t* rc)
{
    void* found = nullptr;
    if (std::strcmp(name, QXRENDER_INTERFACE_VERSION) == 0)
        found = static_cast<IQXRender*>(&g_render);
    else if (std::strcmp(name, QENGINECLIENT_INTERFACE_VERSION) == 0)
        found = static_cast<IQEngineClient*>(&g_engine);
    if (rc)
        *rc = found ? 0 : 1;
    return found;
}

std::string Label(int i, int version)
{
    char text[32];
    std::snprintf(text, sizeof(text), "Item %04d x%d", i, version);
    return text;
}

void DrawFrame()
{
    CEGUI::System::getSingleton().renderAllGUIContexts();
}

// The scene's windows under one holder window on the GUI sheet.
struct BuiltScene
{
    CEGUI::Window* holder = nullptr;
    std::vector<CEGUI::Window*> windows;

    explicit BuiltScene(const Scene& scene)
    {
        CEGUI::WindowManager& wm = CEGUI::WindowManager::getSingleton();
        holder = wm.createWindow("DefaultWindow");
        holder->setSize(CEGUI::USize(CEGUI::UDim(1, 0), CEGUI::UDim(1, 0)));
        for (int i = 0; i < scene.windows; ++i)
        {
            CEGUI::Window* w;
            if (scene.text)
            {
                w = wm.createWindow("QXLook/StaticText");
                w->setTextParsingEnabled(false);
                w->setPosition(CEGUI::UVector2(CEGUI::UDim(0, (i % 10) * 80.0f),
                                               CEGUI::UDim(0, (i / 10) * 5.0f)));
                w->setSize(CEGUI::USize(CEGUI::UDim(0, 80), CEGUI::UDim(0, 14)));
                w->setText(Label(i, 0));
            }
            else
            {
                w = wm.createWindow("QXLook/StaticImage");
                w->setPosition(CEGUI::UVector2(CEGUI::UDim(0, (i % 50) * 16.0f),
                                               CEGUI::UDim(0, (i / 50) * 16.0f)));
                w->setSize(CEGUI::USize(CEGUI::UDim(0, 16), CEGUI::UDim(0, 16)));
                w->setProperty("Image", "QXLook/Icon");
            }
            holder->addChild(w);
            windows.push_back(w);
        }
        CEGUI::System::getSingleton().getDefaultGUIContext().getRootWindow()->addChild(holder);
    }
    ~BuiltScene()
    {
        CEGUI::WindowManager::getSingleton().destroyWindow(holder);
        DrawFrame(); // empties the dead pool
    }
    // Every tenth window shows its other text or picture.
    void change(bool text, int version)
    {
        for (size_t i = 0; i < windows.size(); i += 10)
        {
            if (text)
                windows[i]->setText(Label(static_cast<int>(i), version));
            else
                windows[i]->setProperty("Image", version ? "QXLook/ButtonNormal" : "QXLook/Icon");
        }
    }
};

void RunFrames(benchmark::State& state, const Scene& scene, Frame frame, bool counting)
{
    BuiltScene built(scene);
    DrawFrame();
    DrawFrame();
    const uint64_t quads = g_render.quads;
    const unsigned long long allocations = HeapAllocations();
    int version = 0;
    for (auto _ : state)
    {
        if (frame == Frame::Full)
            built.holder->invalidate(true);
        else if (frame == Frame::Changing)
            built.change(scene.text, version ^= 1);
        DrawFrame();
    }
    const double frames = static_cast<double>(state.iterations());
    state.counters["allocs"] = static_cast<double>(HeapAllocations() - allocations) / frames;
    if (counting)
        state.counters["quads"] = static_cast<double>(g_render.quads - quads) / frames;
}

// The quads of one idle frame, handed to the counting host from an array.
void RunLimit(benchmark::State& state, const Scene& scene)
{
    std::vector<bench::QuadCall> calls;
    {
        BuiltScene built(scene);
        DrawFrame();
        g_render.capture = true;
        DrawFrame();
        g_render.capture = false;
        calls.swap(g_render.captured);
    }
    IQXRender* volatile host = &g_render;
    for (auto _ : state)
    {
        for (const bench::QuadCall& c : calls)
        {
            IQXDrawer* drawer = host->GetDrawer();
            if (c.alpha)
                drawer->DrawQuadAlpha(c.x, c.y, c.texture, c.scale, c.zero, c.src, c.colours, c.z);
            else
                drawer->DrawQuad(c.x, c.y, c.texture, c.scale, c.zero, c.src, c.colours, c.z);
        }
    }
    state.counters["quads"] = static_cast<double>(calls.size());
}

// Which system runs: none, the Null renderer's or the module renderer's.
enum class Gui
{
    None,
    Null,
    Module
};
Gui g_gui = Gui::None;
QXUI::CQXRenerder* g_renderer = nullptr;

void EndGui()
{
    if (g_gui == Gui::Null)
    {
        bench::EndBareGui();
    }
    else if (g_gui == Gui::Module)
    {
        CEGUI::GUIContext& ctx = CEGUI::System::getSingleton().getDefaultGUIContext();
        CEGUI::WindowManager::getSingleton().destroyWindow(ctx.getRootWindow());
        ctx.setRootWindow(nullptr);
        CEGUI::System::destroy();
        delete g_renderer;
        g_renderer = nullptr;
    }
    g_gui = Gui::None;
}

void UseGui(Gui gui)
{
    if (g_gui == gui)
        return;
    EndGui();
    const std::string root = QHOST_ROOT_DIR;
    if (gui == Gui::Null)
    {
        bench::StartBareGui(root);
    }
    else
    {
        // The module's renderer over the counting host.
        static CreateInterfaceFn factories[1] = {&ServeHost};
        g_renderer = new QXUI::CQXRenerder(factories, 1);
        CEGUI::System::create(*g_renderer);
        bench::SetUpBareGui(root);
    }
    g_gui = gui;
}

std::string Name(const char* renderer, const Scene& scene, int frame)
{
    return std::string(renderer) + "/" + scene.name + "/" + kFrameNames[frame];
}

void Register(const std::string& name, std::function<void(benchmark::State&)> run)
{
    benchmark::RegisterBenchmark(name.c_str(), std::move(run))
        ->Unit(benchmark::kMicrosecond)
        ->Apply(BenchTimes::FastestOfFive);
}

// Each frame through the Null renderer, then through the module's; the
// limit case beside the idle frames.
void RegisterAll()
{
    for (const Scene& scene : kScenes)
    {
        for (int f = 0; f < 3; ++f)
        {
            const Frame frame = static_cast<Frame>(f);
            Register(Name("null", scene, f), [&scene, frame](benchmark::State& state) {
                UseGui(Gui::Null);
                RunFrames(state, scene, frame, false);
            });
            Register(Name("module", scene, f), [&scene, frame](benchmark::State& state) {
                UseGui(Gui::Module);
                RunFrames(state, scene, frame, true);
            });
        }
        Register(std::string("limit/") + scene.name, [&scene](benchmark::State& state) {
            UseGui(Gui::Module);
            RunLimit(state, scene);
        });
    }
}

void PrintSummary(const BenchTimes& times)
{
    std::printf("\n%-11s %-9s %10s %10s %7s %10s %7s\n", "scene", "frame", "null us", "module us",
                "ratio", "limit us", "/limit");
    for (const Scene& scene : kScenes)
    {
        const std::string limit = std::string("limit/") + scene.name;
        for (int f = 0; f < 3; ++f)
        {
            const std::string null = Name("null", scene, f);
            const std::string module = Name("module", scene, f);
            std::printf("%-11s %-9s %10.2f %10.2f %7.2f", scene.name, kFrameNames[f], times.time(null),
                        times.time(module), times.ratio(module, null));
            if (static_cast<Frame>(f) == Frame::Idle)
                std::printf(" %10.2f %7.2f", times.time(limit), times.ratio(module, limit));
            std::printf("\n");
        }
    }
    std::printf("goals: full <= 1.2 x null; idle texts1000 <= 2 x limit; 0 allocations per idle frame "
                "(column allocs)\n");
}
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    bench::ErrorCountingLogger& logger = bench::CountLoggedErrors();
    BenchTimes times;
    RegisterAll();
    benchmark::RunSpecifiedBenchmarks(&times);
    benchmark::Shutdown();
    EndGui();

    PrintSummary(times);
    return bench::ReportLoggedErrors(logger);
}
