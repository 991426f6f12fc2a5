// Value texts and percent bars through the module's renderer, with the
// host's drawing stubbed to count quads:
// (a) an idle frame of 100 value texts and 100 percent bars bound to 20
//     game objects, beside 100 stock StaticText and 100 stock ProgressBar
//     windows showing the same texts and values;
// (b) RefreshObjectWindows of one object bound to 10 windows (5 value
//     texts, 5 bars), then one frame (each window asks the fake game again
//     and shows the new value), beside 10 stock windows set by hand to the
//     same values, then one frame.
// Each runs with its windows alone on the root window. Prints each pair,
// its ratio, the game queries per frame and the error lines logged.
#include <benchmark/benchmark.h>

#include <CEGUI/CEGUI.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "../BenchTimes.h"
#include "../BenchHost.h"
#include "KeyValues.h"

namespace
{
constexpr int kPerKind = 100;   // value texts, and as many bars
constexpr int kObjects = 20;    // the game objects they show
constexpr int kRefreshed = 10;  // windows bound to the refreshed object
constexpr int kRefreshedObject = 99;

// The game: creature "UnitN" is object N + 1 and "Boss" is object 99; each
// object's "Name" is "Unit N" and its "Health" a fraction. Counts queries.
struct CountingGame : fake::Engine
{
    size_t queries = 0;
    int bossHealth = 0; // percent
    bool QueryKeyVal(KeyValues* request, KeyValues* reply) override
    {
        ++queries;
        const std::string name = request->GetName();
        if (name == "GameCreatureProvider")
        {
            const std::string which = request->GetString("WhichOne");
            if (which == "Boss")
                reply->SetInt("CreatureId", kRefreshedObject);
            else if (which.compare(0, 4, "Unit") == 0)
                reply->SetInt("CreatureId", std::atoi(which.c_str() + 4) + 1);
            else
                return false;
            return true;
        }
        if (name != "GameObjectProperty")
            return false;
        const int id = request->GetInt("ObjectId");
        const std::string property = request->GetString("WhichProperty");
        if (property == "Name")
            reply->SetString("PropertyStringValue", ("Unit " + std::to_string(id)).c_str());
        else if (property == "Health")
            reply->SetString("PropertyStringValue",
                             std::to_string(id == kRefreshedObject ? bossHealth / 100.0 : id / 25.0).c_str());
        else
            return false;
        return true;
    }
};

bench::Module g_module;
CountingGame g_game;
CEGUI::Window* g_gameGrid = nullptr;
CEGUI::Window* g_stockGrid = nullptr;
CEGUI::Window* g_bossGrid = nullptr;
CEGUI::Window* g_handGrid = nullptr;

std::string Whole(const char* extra = "")
{
    return std::string("<Area><Dim type=\"LeftEdge\"><AbsoluteDim value=\"0\" /></Dim>"
                       "<Dim type=\"TopEdge\"><AbsoluteDim value=\"0\" /></Dim>"
                       "<Dim type=\"Width\"><UnifiedDim scale=\"1\" type=\"Width\" /></Dim>"
                       "<Dim type=\"Height\"><UnifiedDim scale=\"1\" type=\"Height\" /></Dim></Area>") +
           extra;
}

std::string Section(const char* name, const char* colour)
{
    return std::string("<ImagerySection name=\"") + name + "\"><ImageryComponent>" + Whole() +
           "<Image name=\"B/P\" /><Colours topLeft=\"" + colour + "\" topRight=\"" + colour + "\" bottomLeft=\"" +
           colour + "\" bottomRight=\"" + colour +
           "\" /><VertFormat type=\"Stretched\" /><HorzFormat type=\"Stretched\" /></ImageryComponent></ImagerySection>";
}

std::string State(const char* name, const char* section = nullptr)
{
    std::string s = std::string("<StateImagery name=\"") + name + "\">";
    if (section)
        s += std::string("<Layer><Section section=\"") + section + "\" /></Layer>";
    return s + "</StateImagery>";
}

std::string Area(const char* name)
{
    return std::string("<NamedArea name=\"") + name + "\">" + Whole() + "</NamedArea>";
}

const char* kText = "<ImagerySection name=\"text\"><TextComponent><Area>"
                    "<Dim type=\"LeftEdge\"><AbsoluteDim value=\"0\" /></Dim>"
                    "<Dim type=\"TopEdge\"><AbsoluteDim value=\"0\" /></Dim>"
                    "<Dim type=\"Width\"><UnifiedDim scale=\"1\" type=\"Width\" /></Dim>"
                    "<Dim type=\"Height\"><UnifiedDim scale=\"1\" type=\"Height\" /></Dim></Area>"
                    "</TextComponent></ImagerySection>";

// The same pictures for both sides: a trough, a lit part, a text.
void ServeStyle()
{
    const std::string noSurface = "<Property name=\"AutoRenderingSurface\" value=\"false\" />";
    const std::string buttonStates = State("Normal") + State("Hover") + State("Pushed") + State("Disabled");
    std::string looks = "<?xml version=\"1.0\" ?><Falagard version=\"7\">";
    // The module's windows.
    looks += "<WidgetLook name=\"B/ValueText\">" + noSurface + kText + State("Enabled", "text") + "</WidgetLook>";
    looks += "<WidgetLook name=\"B/PercentBar\">" + noSurface + Area("BroadProgressArea") +
             Section("trough", "FF101820") + Section("lit", "FFD03030") + State("BackGround", "trough") +
             State("BroadLights", "lit") + "</WidgetLook>";
    // The stock windows, with the parts their renderers need: a static
    // text keeps two scroll bars as hidden children.
    looks += "<WidgetLook name=\"B/Button\">" + noSurface + buttonStates + "</WidgetLook>";
    for (const char* bar : {"B/VScroll", "B/HScroll"})
        looks += std::string("<WidgetLook name=\"") + bar + "\">" + noSurface +
                 (bar[2] == 'V' ? "<Property name=\"VerticalScrollbar\" value=\"true\" />" : "") +
                 Area("ThumbTrackArea") +
                 "<Child type=\"B/Button\" nameSuffix=\"__auto_incbtn__\">" + Whole() + "</Child>"
                 "<Child type=\"B/Button\" nameSuffix=\"__auto_decbtn__\">" + Whole() + "</Child>"
                 "<Child type=\"B/Thumb\" nameSuffix=\"__auto_thumb__\">" + Whole() + "</Child>" +
                 State("Enabled") + State("Disabled") + "</WidgetLook>";
    looks += "<WidgetLook name=\"B/Thumb\">" + noSurface + buttonStates + "</WidgetLook>";
    looks += "<WidgetLook name=\"B/StaticText\">" + noSurface +
             "<Property name=\"FrameEnabled\" value=\"false\" /><Property name=\"BackgroundEnabled\" value=\"false\" />";
    for (const char* frame : {"WithFrame", "NoFrame"})
        for (const char* scroll : {"", "HScroll", "VScroll", "HVScroll"})
            looks += Area((std::string(frame) + "TextRenderArea" + scroll).c_str());
    looks += "<Child type=\"B/HScroll\" nameSuffix=\"__auto_hscrollbar__\">" + Whole() + "</Child>"
             "<Child type=\"B/VScroll\" nameSuffix=\"__auto_vscrollbar__\">" + Whole() + "</Child>";
    for (const char* s : {"Enabled", "Disabled", "EnabledFrame", "DisabledFrame", "WithFrameEnabledBackground",
                          "WithFrameDisabledBackground", "NoFrameEnabledBackground", "NoFrameDisabledBackground"})
        looks += State(s);
    looks += "</WidgetLook>";
    looks += "<WidgetLook name=\"B/ProgressBar\">" + noSurface + Area("ProgressArea") +
             Section("trough", "FF101820") + Section("lit", "FFD03030") + State("Enabled", "trough") +
             State("Disabled", "trough") + State("EnabledProgress", "lit") + State("DisabledProgress", "lit") +
             "</WidgetLook></Falagard>";
    g_module.fs.files["resource\\UI\\looknfeel\\B.looknfeel"] = looks;
    g_module.fs.files["resource\\UI\\imagesets\\B.imageset"] =
        "<?xml version=\"1.0\" ?><Imageset version=\"2\" name=\"B\" imagefile=\"B.tga\" autoScaled=\"false\">"
        "<Image name=\"P\" xPos=\"0\" yPos=\"0\" width=\"8\" height=\"8\" /></Imageset>";
    auto mapping = [](const char* type, const char* target, const char* renderer) {
        return std::string("<FalagardMapping windowType=\"") + type + "\" targetType=\"" + target + "\" renderer=\"" +
               renderer + "\" lookNFeel=\"" + type + "\" />";
    };
    g_module.fs.files["resource\\UI\\schemes\\B.scheme"] =
        "<?xml version=\"1.0\" ?><GUIScheme version=\"5\" name=\"B\"><Imageset filename=\"B.imageset\" />"
        "<LookNFeel filename=\"B.looknfeel\" /><WindowRendererSet filename=\"CEGUICoreWindowRendererSet\" />" +
        mapping("B/ValueText", "QXGame/GameValueText", "QXGame/GameValueText") +
        mapping("B/PercentBar", "QXGame/PercentBar", "QXGame/PercentBar") +
        mapping("B/Button", "CEGUI/PushButton", "Core/Button") + mapping("B/Thumb", "CEGUI/Thumb", "Core/Button") +
        mapping("B/VScroll", "CEGUI/Scrollbar", "Core/Scrollbar") +
        mapping("B/HScroll", "CEGUI/Scrollbar", "Core/Scrollbar") +
        mapping("B/StaticText", "DefaultWindow", "Core/StaticText") +
        mapping("B/ProgressBar", "CEGUI/ProgressBar", "Core/ProgressBar") + "</GUIScheme>";
}

CEGUI::Window* Grid(CEGUI::Window* root, const char* name)
{
    return bench::FullWindowContainer(root, name);
}

// Window i of a grid: texts in the left half, bars in the right.
CEGUI::Window* Cell(CEGUI::Window* grid, const char* type, int i, bool bar)
{
    CEGUI::Window* w = CEGUI::WindowManager::getSingleton().createWindow(type, std::to_string(i) + (bar ? "b" : "t"));
    const float x = (bar ? 400.0f : 0.0f) + float(i % 4) * 100.0f, y = float(i / 4) * 24.0f;
    w->setArea(CEGUI::URect(CEGUI::UDim(0, x), CEGUI::UDim(0, y), CEGUI::UDim(0, x + 96), CEGUI::UDim(0, y + 20)));
    grid->addChild(w);
    return w;
}

CEGUI::Window* Bound(CEGUI::Window* grid, const char* type, int i, bool bar, const std::string& whichOne)
{
    CEGUI::Window* w = Cell(grid, type, i, bar);
    w->setProperty("WhichOne", whichOne);
    w->setProperty("WhichProperty", bar ? "Health" : "Name");
    return w;
}

// The GUI library's own update mode for a stock window and its parts: the
// module updates every window it makes, hidden or not, and a static text's
// hidden scroll bars would weigh on its side only.
void LibraryUpdateMode(CEGUI::Window* w)
{
    w->setUpdateMode(CEGUI::WUM_VISIBLE);
    for (size_t i = 0; i < w->getChildCount(); ++i)
        LibraryUpdateMode(w->getChildAtIdx(i));
}

void Frame(QGUI::CQGUI*)
{
    g_module.frame();
}

QGUI::CQGUI* StartGui()
{
    if (g_module.gui)
        return g_module.gui;
    ServeStyle();
    QGUI::CQGUI* gui = g_module.start(&g_game, BENCH_FONT_PATH, 800, 800);
    CEGUI::System::getSingleton().getDefaultGUIContext().setDefaultFont("BFont");
    CEGUI::Window* root = gui->GetRootWindow();

    g_gameGrid = Grid(root, "game");
    g_stockGrid = Grid(root, "stock");
    for (int i = 0; i < kPerKind; ++i)
    {
        const std::string unit = "Unit" + std::to_string(i % kObjects);
        Bound(g_gameGrid, "B/ValueText", i, false, unit);
        Bound(g_gameGrid, "B/PercentBar", i, true, unit);
        // The values the game windows show for the same object.
        const int id = i % kObjects + 1;
        Cell(g_stockGrid, "B/StaticText", i, false)->setText("Unit " + std::to_string(id));
        Cell(g_stockGrid, "B/ProgressBar", i, true)->setProperty("CurrentProgress", std::to_string(id / 25.0));
    }
    for (size_t i = 0; i < g_stockGrid->getChildCount(); ++i)
        LibraryUpdateMode(g_stockGrid->getChildAtIdx(i));
    g_bossGrid = Grid(root, "boss");
    g_handGrid = Grid(root, "hand");
    for (int i = 0; i < kRefreshed / 2; ++i)
    {
        Bound(g_bossGrid, "B/ValueText", i, false, "Boss");
        Bound(g_bossGrid, "B/PercentBar", i, true, "Boss");
        Cell(g_handGrid, "B/StaticText", i, false);
        Cell(g_handGrid, "B/ProgressBar", i, true);
    }
    for (size_t i = 0; i < g_handGrid->getChildCount(); ++i)
        LibraryUpdateMode(g_handGrid->getChildAtIdx(i));
    return gui;
}

// Puts one grid alone on the root window (the others are neither drawn
// nor updated); a few frames settle it (first draw, glyph pages).
void Show(QGUI::CQGUI* gui, CEGUI::Window* shown)
{
    CEGUI::Window* root = gui->GetRootWindow();
    for (CEGUI::Window* grid : {g_gameGrid, g_stockGrid, g_bossGrid, g_handGrid})
        if (grid != shown && grid->getParent())
            root->removeChild(grid);
    if (!shown->getParent())
        root->addChild(shown);
    for (int i = 0; i < 3; ++i)
        Frame(gui);
}

void IdleFrames(benchmark::State& state, CEGUI::Window* grid)
{
    QGUI::CQGUI* gui = StartGui();
    Show(gui, grid);
    const size_t quads = g_module.render.quads, queries = g_game.queries;
    for (auto _ : state)
        Frame(gui);
    const double n = double(state.iterations());
    state.counters["quads"] = double(g_module.render.quads - quads) / n;
    state.counters["queries"] = double(g_game.queries - queries) / n;
}

void BM_IdleFrame_ValueTextsAndPercentBars(benchmark::State& state)
{
    IdleFrames(state, (StartGui(), g_gameGrid));
}

void BM_IdleFrame_StockTextsAndProgressBars(benchmark::State& state)
{
    IdleFrames(state, (StartGui(), g_stockGrid));
}

// The ten windows of the refreshed object, idle: what a frame costs them
// without a refresh.
void BM_IdleFrame_TenWindows(benchmark::State& state)
{
    IdleFrames(state, (StartGui(), g_bossGrid));
}

// Each pass the boss's health moves by one percent: every bar shows a new
// value, every text the same name.
void BM_RefreshObject_TenWindows(benchmark::State& state)
{
    QGUI::CQGUI* gui = StartGui();
    Show(gui, g_bossGrid);
    const size_t queries = g_game.queries;
    for (auto _ : state)
    {
        g_game.bossHealth = (g_game.bossHealth + 1) % 100;
        gui->RefreshObjectWindows(kRefreshedObject);
        Frame(gui);
    }
    state.counters["queries"] = double(g_game.queries - queries) / double(state.iterations());
    state.SetItemsProcessed(state.iterations() * kRefreshed);
}

void BM_SetByHand_TenStockWindows(benchmark::State& state)
{
    QGUI::CQGUI* gui = StartGui();
    Show(gui, g_handGrid);
    int health = 0;
    for (auto _ : state)
    {
        health = (health + 1) % 100;
        const CEGUI::String progress = std::to_string(health / 100.0);
        for (size_t i = 0; i < g_handGrid->getChildCount(); ++i)
        {
            CEGUI::Window* w = g_handGrid->getChildAtIdx(i);
            if (w->getType() == "B/ProgressBar")
                w->setProperty("CurrentProgress", progress);
            else
                w->setText("Unit " + std::to_string(kRefreshedObject));
        }
        Frame(gui);
    }
    state.SetItemsProcessed(state.iterations() * kRefreshed);
}

BENCHMARK(BM_IdleFrame_ValueTextsAndPercentBars)->Unit(benchmark::kMicrosecond)->Apply(BenchTimes::FastestOfFive);
BENCHMARK(BM_IdleFrame_StockTextsAndProgressBars)->Unit(benchmark::kMicrosecond)->Apply(BenchTimes::FastestOfFive);
BENCHMARK(BM_IdleFrame_TenWindows)->Unit(benchmark::kMicrosecond)->Apply(BenchTimes::FastestOfFive);
BENCHMARK(BM_RefreshObject_TenWindows)->Unit(benchmark::kMicrosecond)->Apply(BenchTimes::FastestOfFive);
BENCHMARK(BM_SetByHand_TenStockWindows)->Unit(benchmark::kMicrosecond)->Apply(BenchTimes::FastestOfFive);
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    BenchTimes times;
    benchmark::RunSpecifiedBenchmarks(&times);
    std::printf("\nidle frame, 100 value texts + 100 percent bars on %d objects: %.1f us; 100 StaticText + 100 "
                "ProgressBar: %.1f us; ratio %.2f\n",
                kObjects, times.time("BM_IdleFrame_ValueTextsAndPercentBars"),
                times.time("BM_IdleFrame_StockTextsAndProgressBars"),
                times.ratio("BM_IdleFrame_ValueTextsAndPercentBars", "BM_IdleFrame_StockTextsAndProgressBars"));
    const double refresh = times.time("BM_RefreshObject_TenWindows");
    std::printf("RefreshObjectWindows of one object on %d windows + a frame: %.1f us, %.2f us per window above "
                "an idle frame of them (%.1f us); the same values set by hand on %d stock windows + a frame: "
                "%.1f us; ratio %.2f\n",
                kRefreshed, refresh, (refresh - times.time("BM_IdleFrame_TenWindows")) / kRefreshed,
                times.time("BM_IdleFrame_TenWindows"), kRefreshed, times.time("BM_SetByHand_TenStockWindows"),
                times.ratio("BM_RefreshObject_TenWindows", "BM_SetByHand_TenStockWindows"));
    std::printf("error lines logged: %zu\n", g_module.errorLines());
    benchmark::Shutdown();
    return 0;
}
