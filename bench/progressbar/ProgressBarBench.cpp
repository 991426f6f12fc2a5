// Through the module's renderer, with the host's drawing stubbed to count
// quads: a frame of 50 game progress bars that advance by their speed
// (each steps once and is drawn again) beside a frame of 50 of the GUI
// library's own progress bars whose values are set by hand to the same
// values before the frame. Both looks draw the same pieces: a trough, the
// fill and a rim; the game bars draw no text. Prints the pair, its ratio,
// the steps the game bars took per frame and the error lines logged.
#include <benchmark/benchmark.h>

#include <CEGUI/CEGUI.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../BenchHost.h"
#include "../BenchTimes.h"
#include "widgets/GameProgressBar.h"

namespace
{
constexpr int kBars = 50;
// Large enough that no bar runs full during a run: a bar moves one unit a
// frame.
constexpr float kMaximum = 1.0e6f;
constexpr float kFrameTime = 1.0f / 60;
constexpr float kSpeed = 1.0f / kFrameTime;

bench::CountingRender g_render;
fake::Engine g_game;
fake::FileSystem g_fs;
HostGlobals g_host{};
RecordingLogger* g_logger = nullptr;
CEGUI::Window* g_gameBars = nullptr;
CEGUI::Window* g_stockBars = nullptr;
// The values the stock bars are set to, one per bar.
std::vector<float> g_stockValues;

std::string Section(const char* name, const char* image)
{
    return std::string("<ImagerySection name=\"") + name +
           "\"><ImageryComponent><Area>"
           "<Dim type=\"LeftEdge\"><AbsoluteDim value=\"0\" /></Dim>"
           "<Dim type=\"TopEdge\"><AbsoluteDim value=\"0\" /></Dim>"
           "<Dim type=\"Width\"><UnifiedDim scale=\"1\" type=\"Width\" /></Dim>"
           "<Dim type=\"Height\"><UnifiedDim scale=\"1\" type=\"Height\" /></Dim></Area>"
           "<Image name=\"" + image + "\" /><VertFormat type=\"Stretched\" /><HorzFormat type=\"Stretched\" />"
           "</ImageryComponent></ImagerySection>";
}

const char* kRim = "<ImagerySection name=\"rim\"><FrameComponent><Area>"
                   "<Dim type=\"LeftEdge\"><AbsoluteDim value=\"0\" /></Dim>"
                   "<Dim type=\"TopEdge\"><AbsoluteDim value=\"0\" /></Dim>"
                   "<Dim type=\"Width\"><UnifiedDim scale=\"1\" type=\"Width\" /></Dim>"
                   "<Dim type=\"Height\"><UnifiedDim scale=\"1\" type=\"Height\" /></Dim></Area>"
                   "<Image component=\"TopLeftCorner\" name=\"B/P\" /><Image component=\"TopRightCorner\" name=\"B/P\" />"
                   "<Image component=\"BottomLeftCorner\" name=\"B/P\" /><Image component=\"BottomRightCorner\" name=\"B/P\" />"
                   "<Image component=\"LeftEdge\" name=\"B/P\" /><Image component=\"RightEdge\" name=\"B/P\" />"
                   "<Image component=\"TopEdge\" name=\"B/P\" /><Image component=\"BottomEdge\" name=\"B/P\" />"
                   "</FrameComponent></ImagerySection>";

const char* kProgressArea = "<NamedArea name=\"ProgressArea\"><Area>"
                            "<Dim type=\"LeftEdge\"><AbsoluteDim value=\"4\" /></Dim>"
                            "<Dim type=\"TopEdge\"><AbsoluteDim value=\"4\" /></Dim>"
                            "<Dim type=\"RightEdge\"><UnifiedDim scale=\"1\" offset=\"-4\" type=\"RightEdge\" /></Dim>"
                            "<Dim type=\"BottomEdge\"><UnifiedDim scale=\"1\" offset=\"-4\" type=\"BottomEdge\" /></Dim>"
                            "</Area></NamedArea>";

std::string State(const char* name, std::initializer_list<const char*> sections)
{
    std::string xml = std::string("<StateImagery name=\"") + name + "\"><Layer>";
    for (const char* s : sections)
        xml += std::string("<Section section=\"") + s + "\" />";
    return xml + "</Layer></StateImagery>";
}

void ServeStyle()
{
    const std::string pieces = Section("trough", "B/P") + Section("fill", "B/Q") + kRim + kProgressArea;
    const std::string looks =
        "<?xml version=\"1.0\" ?><Falagard version=\"7\">"
        "<WidgetLook name=\"B/GameBar\"><Property name=\"AutoRenderingSurface\" value=\"false\" />" +
        pieces + State("BackGround", {"trough"}) + State("Lights", {"fill"}) + State("Frame", {"rim"}) +
        "</WidgetLook>"
        "<WidgetLook name=\"B/StockBar\"><Property name=\"AutoRenderingSurface\" value=\"false\" />" +
        pieces + State("Enabled", {"trough", "rim"}) + State("Disabled", {"trough", "rim"}) +
        State("EnabledProgress", {"fill"}) + State("DisabledProgress", {"fill"}) + "</WidgetLook></Falagard>";
    g_fs.files["resource\\UI\\looknfeel\\B.looknfeel"] = looks;
    g_fs.files["resource\\UI\\imagesets\\B.imageset"] =
        "<?xml version=\"1.0\" ?><Imageset version=\"2\" name=\"B\" imagefile=\"B.tga\" autoScaled=\"false\">"
        "<Image name=\"P\" xPos=\"0\" yPos=\"0\" width=\"8\" height=\"8\" />"
        "<Image name=\"Q\" xPos=\"8\" yPos=\"0\" width=\"8\" height=\"8\" /></Imageset>";
    g_fs.files["resource\\UI\\schemes\\B.scheme"] =
        "<?xml version=\"1.0\" ?><GUIScheme version=\"5\" name=\"B\"><Imageset filename=\"B.imageset\" />"
        "<LookNFeel filename=\"B.looknfeel\" /><WindowRendererSet filename=\"CEGUICoreWindowRendererSet\" />"
        "<FalagardMapping windowType=\"B/GameBar\" targetType=\"QXGame/GameProgressBar\" "
        "renderer=\"QXGame/GameProgressBarRenderer\" lookNFeel=\"B/GameBar\" />"
        "<FalagardMapping windowType=\"B/StockBar\" targetType=\"CEGUI/ProgressBar\" "
        "renderer=\"Core/ProgressBar\" lookNFeel=\"B/StockBar\" />"
        "</GUIScheme>";
}

// Bar i starts at 1000 x i.
float StartValue(int i)
{
    return 1000.0f * float(i);
}

CEGUI::Window* Column(CEGUI::Window* root, const char* type, const char* name, bool game)
{
    CEGUI::WindowManager& wm = CEGUI::WindowManager::getSingleton();
    CEGUI::Window* column = bench::FullWindowContainer(root, name);
    for (int i = 0; i < kBars; ++i)
    {
        CEGUI::Window* w = wm.createWindow(type, name + std::to_string(i));
        const float x = float(i % 2) * 400.0f, y = float(i / 2) * 24.0f;
        w->setArea(CEGUI::URect(CEGUI::UDim(0, x), CEGUI::UDim(0, y), CEGUI::UDim(0, x + 380),
                                CEGUI::UDim(0, y + 20)));
        if (game)
        {
            w->setProperty("NeedText", "False");
            w->setProperty("MaxValue", CEGUI::PropertyHelper<float>::toString(kMaximum));
            w->setProperty("CurValue", CEGUI::PropertyHelper<float>::toString(StartValue(i)));
        }
        else
        {
            g_stockValues.push_back(StartValue(i));
            static_cast<CEGUI::ProgressBar*>(w)->setProgress(StartValue(i) / kMaximum);
        }
        column->addChild(w);
    }
    return column;
}

QGUI::CQGUI* StartGui()
{
    static QGUI::CQGUI* gui = nullptr;
    if (gui)
        return gui;
    ServeStyle();
    g_host.curtime = 10.0f;
    g_host.frametime = kFrameTime;
    gui = bench::StartModule(g_render, g_game, g_fs, g_host, g_logger);
    CEGUI::SchemeManager::getSingleton().createFromFile("B.scheme");
    g_gameBars = Column(gui->GetRootWindow(), "B/GameBar", "game", true);
    g_stockBars = Column(gui->GetRootWindow(), "B/StockBar", "stock", false);
    return gui;
}

void Frame(QGUI::CQGUI* gui)
{
    bench::Frame(gui, g_host);
}

// Shows one column; the game bars run only while theirs is shown. A few
// frames settle it (first draw, the bars' first noted time).
void Show(QGUI::CQGUI* gui, CEGUI::Window* shown)
{
    g_gameBars->setVisible(shown == g_gameBars);
    g_stockBars->setVisible(shown == g_stockBars);
    const CEGUI::String speed = shown == g_gameBars ? CEGUI::PropertyHelper<float>::toString(kSpeed) : "0";
    for (size_t i = 0; i < g_gameBars->getChildCount(); ++i)
        g_gameBars->getChildAtIdx(i)->setProperty("Speed", speed);
    for (int i = 0; i < 3; ++i)
        Frame(gui);
}

float FirstGameValue()
{
    return static_cast<const QGUI::GameProgressBar*>(g_gameBars->getChildAtIdx(0))->getCurValue();
}

void BM_Frame_AdvancingGameProgressBars(benchmark::State& state)
{
    QGUI::CQGUI* gui = StartGui();
    Show(gui, g_gameBars);
    const size_t quads = g_render.quads;
    const float value = FirstGameValue();
    for (auto _ : state)
        Frame(gui);
    const double n = double(state.iterations());
    state.counters["quads"] = double(g_render.quads - quads) / n;
    // One unit a frame when every frame steps.
    state.counters["steps"] = double(FirstGameValue() - value) / n;
    state.SetItemsProcessed(state.iterations() * kBars);
}

void BM_Frame_StockProgressBarsSetByHand(benchmark::State& state)
{
    QGUI::CQGUI* gui = StartGui();
    Show(gui, g_stockBars);
    const size_t quads = g_render.quads;
    for (auto _ : state)
    {
        for (int i = 0; i < kBars; ++i)
        {
            g_stockValues[i] += 1.0f;
            static_cast<CEGUI::ProgressBar*>(g_stockBars->getChildAtIdx(i))->setProgress(g_stockValues[i] / kMaximum);
        }
        Frame(gui);
    }
    state.counters["quads"] = double(g_render.quads - quads) / double(state.iterations());
    state.SetItemsProcessed(state.iterations() * kBars);
}

BENCHMARK(BM_Frame_AdvancingGameProgressBars)->Unit(benchmark::kMicrosecond)->Apply(BenchTimes::FastestOfFive);
BENCHMARK(BM_Frame_StockProgressBarsSetByHand)->Unit(benchmark::kMicrosecond)->Apply(BenchTimes::FastestOfFive);
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    BenchTimes times;
    benchmark::RunSpecifiedBenchmarks(&times);
    std::printf("\nframe of 50 advancing game progress bars: %.1f us; 50 stock progress bars set by hand: %.1f us; "
                "ratio %.2f\n",
                times.time("BM_Frame_AdvancingGameProgressBars"), times.time("BM_Frame_StockProgressBarsSetByHand"),
                times.ratio("BM_Frame_AdvancingGameProgressBars", "BM_Frame_StockProgressBarsSetByHand"));
    std::printf("error lines logged: %zu\n", bench::ErrorLines(g_logger));
    benchmark::Shutdown();
    return 0;
}
