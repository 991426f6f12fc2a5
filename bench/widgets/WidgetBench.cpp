// Through the module's renderer, with the host's drawing stubbed to count
// quads:
// (a) an idle frame of 200 item icons beside 200 stock static images of the
//     same size and imagery (a framed slot);
// (b) a frame after RefreshWindowsByName invalidated the 200 icons (each
//     asks the fake game again) beside a frame after the 200 static images
//     were invalidated (redrawn only);
// (c) DrawText of a 200-character text wrapped to 10 lines beside the GUI
//     library's Font::drawText of the same 10 lines.
// Prints each pair, its ratio, and the game queries per idle frame.
#include <benchmark/benchmark.h>

#include <CEGUI/CEGUI.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "../BenchTimes.h"
#include "../BenchHost.h"
#include "KeyValues.h"
#include "render/QXRenderer.h"
#include "render/TextPlacement.h"

namespace
{
constexpr int kWindows = 200;

// Answers every slot with its index plus 1000, tooltips and comparisons
// with fixed values; counts queries and object quads.
struct CountingGame : fake::Engine
{
    size_t queries = 0;
    size_t objectQuads = 0;
    bool QueryKeyVal(KeyValues* request, KeyValues* reply) override
    {
        ++queries;
        const std::string name = request->GetName();
        if (name == "GamePackageManagerProxy")
            reply->SetInt("CellId", 1000 + request->GetInt("PackageIndex"));
        else if (name == "GameObjectTooltip")
            reply->SetString("GameObjectTooltipValue", "A sword");
        else if (name == "GameObjectCompare")
            reply->SetInt("GameObjectCompareId", 7);
        else
            return false;
        return true;
    }
    void RenderObjectQuad(uint32_t, int, int, int, int, float, uint32_t, const int*) override
    {
        ++objectQuads;
    }
};

bench::Module g_module;
CountingGame g_game;
CEGUI::Window* g_icons = nullptr;
CEGUI::Window* g_images = nullptr;

const char* kFrame = "<FrameComponent><Area>"
                     "<Dim type=\"LeftEdge\"><AbsoluteDim value=\"0\" /></Dim>"
                     "<Dim type=\"TopEdge\"><AbsoluteDim value=\"0\" /></Dim>"
                     "<Dim type=\"Width\"><UnifiedDim scale=\"1\" type=\"Width\" /></Dim>"
                     "<Dim type=\"Height\"><UnifiedDim scale=\"1\" type=\"Height\" /></Dim></Area>"
                     "<Image component=\"TopLeftCorner\" name=\"B/P\" /><Image component=\"TopRightCorner\" name=\"B/P\" />"
                     "<Image component=\"BottomLeftCorner\" name=\"B/P\" /><Image component=\"BottomRightCorner\" name=\"B/P\" />"
                     "<Image component=\"LeftEdge\" name=\"B/P\" /><Image component=\"RightEdge\" name=\"B/P\" />"
                     "<Image component=\"TopEdge\" name=\"B/P\" /><Image component=\"BottomEdge\" name=\"B/P\" />"
                     "<Image component=\"Background\" name=\"B/P\" /></FrameComponent>";

void ServeStyle()
{
    const std::string slot = std::string("<ImagerySection name=\"slot\">") + kFrame + "</ImagerySection>";
    auto layer = [](const char* state) {
        return std::string("<StateImagery name=\"") + state + "\"><Layer><Section look=\"B/Slot\" section=\"slot\" />"
               "</Layer></StateImagery>";
    };
    std::string looks = "<?xml version=\"1.0\" ?><Falagard version=\"7\">"
                        "<WidgetLook name=\"B/Slot\">" + slot + "</WidgetLook>"
                        "<WidgetLook name=\"B/Icon\"><Property name=\"AutoRenderingSurface\" value=\"false\" />" +
                        layer("Normal") + "</WidgetLook>"
                        "<WidgetLook name=\"B/StaticImage\"><Property name=\"AutoRenderingSurface\" value=\"false\" />"
                        "<Property name=\"FrameEnabled\" value=\"true\" /><Property name=\"BackgroundEnabled\" value=\"false\" />";
    for (const char* s : {"Enabled", "Disabled", "DisabledFrame", "WithFrameEnabledBackground",
                          "WithFrameDisabledBackground", "NoFrameEnabledBackground", "NoFrameDisabledBackground",
                          "WithFrameImage", "NoFrameImage"})
        looks += std::string("<StateImagery name=\"") + s + "\" />";
    looks += layer("EnabledFrame") + "</WidgetLook></Falagard>";
    g_module.fs.files["resource\\UI\\looknfeel\\B.looknfeel"] = looks;
    g_module.fs.files["resource\\UI\\imagesets\\B.imageset"] =
        "<?xml version=\"1.0\" ?><Imageset version=\"2\" name=\"B\" imagefile=\"B.tga\" autoScaled=\"false\">"
        "<Image name=\"P\" xPos=\"0\" yPos=\"0\" width=\"8\" height=\"8\" /></Imageset>";
    g_module.fs.files["resource\\UI\\schemes\\B.scheme"] =
        "<?xml version=\"1.0\" ?><GUIScheme version=\"5\" name=\"B\"><Imageset filename=\"B.imageset\" />"
        "<LookNFeel filename=\"B.looknfeel\" /><WindowRendererSet filename=\"CEGUICoreWindowRendererSet\" />"
        "<FalagardMapping windowType=\"B/Icon\" targetType=\"QXGame/ItemIcon\" renderer=\"QXGame/ItemIcon\" lookNFeel=\"B/Icon\" />"
        "<FalagardMapping windowType=\"B/StaticImage\" targetType=\"DefaultWindow\" renderer=\"Core/StaticImage\" lookNFeel=\"B/StaticImage\" />"
        "</GUIScheme>";
}

CEGUI::Window* Grid(CEGUI::Window* root, const char* type, const char* name, bool icons)
{
    CEGUI::WindowManager& wm = CEGUI::WindowManager::getSingleton();
    CEGUI::Window* grid = bench::FullWindowContainer(root, name);
    for (int i = 0; i < kWindows; ++i)
    {
        CEGUI::Window* w = wm.createWindow(type, name + std::to_string(i));
        const float x = float(i % 20) * 40.0f, y = float(i / 20) * 40.0f;
        w->setArea(CEGUI::URect(CEGUI::UDim(0, x), CEGUI::UDim(0, y), CEGUI::UDim(0, x + 40), CEGUI::UDim(0, y + 40)));
        if (icons)
        {
            w->setProperty("PackageName", "Bag");
            w->setProperty("PackageIndex", std::to_string(i));
        }
        grid->addChild(w);
    }
    return grid;
}

QGUI::CQGUI* StartGui()
{
    if (g_module.gui)
        return g_module.gui;
    ServeStyle();
    QGUI::CQGUI* gui = g_module.start(&g_game, BENCH_FONT_PATH, 800, 600);
    g_icons = Grid(gui->GetRootWindow(), "B/Icon", "icons", true);
    g_images = Grid(gui->GetRootWindow(), "B/StaticImage", "images", false);
    return gui;
}

void Frame(QGUI::CQGUI*)
{
    g_module.frame();
}

// Shows one grid; a few frames settle it (first draw, glyph pages).
void Show(QGUI::CQGUI* gui, CEGUI::Window* shown)
{
    g_icons->setVisible(shown == g_icons);
    g_images->setVisible(shown == g_images);
    for (int i = 0; i < 3; ++i)
        Frame(gui);
}

void BM_IdleFrame_ItemIcons(benchmark::State& state)
{
    QGUI::CQGUI* gui = StartGui();
    Show(gui, g_icons);
    const size_t quads = g_module.render.quads, objects = g_game.objectQuads, queries = g_game.queries;
    for (auto _ : state)
        Frame(gui);
    const double n = double(state.iterations());
    state.counters["quads"] = double(g_module.render.quads - quads) / n;
    state.counters["objects"] = double(g_game.objectQuads - objects) / n;
    state.counters["queries"] = double(g_game.queries - queries) / n;
}

void BM_IdleFrame_StaticImages(benchmark::State& state)
{
    QGUI::CQGUI* gui = StartGui();
    Show(gui, g_images);
    const size_t quads = g_module.render.quads;
    for (auto _ : state)
        Frame(gui);
    state.counters["quads"] = double(g_module.render.quads - quads) / double(state.iterations());
}

void BM_RefreshFrame_ItemIcons(benchmark::State& state)
{
    QGUI::CQGUI* gui = StartGui();
    Show(gui, g_icons);
    const size_t queries = g_game.queries;
    for (auto _ : state)
    {
        gui->RefreshWindowsByName("GamePackageManagerProxy");
        Frame(gui);
    }
    state.counters["queries"] = double(g_game.queries - queries) / double(state.iterations());
    state.SetItemsProcessed(state.iterations() * kWindows);
}

void BM_RedrawFrame_StaticImages(benchmark::State& state)
{
    QGUI::CQGUI* gui = StartGui();
    Show(gui, g_images);
    for (auto _ : state)
    {
        for (size_t i = 0; i < g_images->getChildCount(); ++i)
            g_images->getChildAtIdx(i)->invalidate();
        Frame(gui);
    }
    state.SetItemsProcessed(state.iterations() * kWindows);
}

std::string TwoHundredCharacters()
{
    std::string text;
    while (text.size() < 200)
        text += "The quick brown fox jumps over the lazy dog. ";
    return text.substr(0, 200);
}

// The width that wraps the text into ten lines, and those lines.
int g_wrapWidth = 0;
std::vector<CEGUI::String> g_lines;

void PrepareText(QGUI::CQGUI* gui)
{
    if (g_wrapWidth)
        return;
    const CEGUI::Font& font = CEGUI::FontManager::getSingleton().get("BFont");
    const CEGUI::String text(TwoHundredCharacters());
    g_wrapWidth = int(font.getTextExtent(text) / 10.0f) + 8;
    const QGUIColours white{0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
    const QGUIRect rect{10, 10, 10 + g_wrapWidth, 400};
    const int height = gui->DrawText(TwoHundredCharacters().c_str(), &rect, &white, nullptr, 4, 0, nullptr);
    // The same lines, cut where the wrapping cut them.
    size_t pos = 0;
    while (pos < text.length())
    {
        size_t n = font.getCharAtPixel(text.substr(pos), float(g_wrapWidth));
        n = n ? n : 1;
        g_lines.push_back(text.substr(pos, n));
        pos += n;
    }
    if (int(g_lines.size()) != 10 || height != int(10 * font.getLineSpacing()))
        std::fprintf(stderr, "bench_widgets: the text wraps to %zu lines (height %d), not 10\n", g_lines.size(),
                     height);
}

void BM_DrawText_Wrapped(benchmark::State& state)
{
    QGUI::CQGUI* gui = StartGui();
    PrepareText(gui);
    const std::string text = TwoHundredCharacters();
    const QGUIColours white{0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
    const QGUIRect rect{10, 10, 10 + g_wrapWidth, 400};
    const size_t quads = g_module.render.quads;
    for (auto _ : state)
        benchmark::DoNotOptimize(gui->DrawText(text.c_str(), &rect, &white, nullptr, 4, 0, nullptr));
    state.counters["quads"] = double(g_module.render.quads - quads) / double(state.iterations());
}

void BM_FontDrawText_Lines(benchmark::State& state)
{
    QGUI::CQGUI* gui = StartGui();
    PrepareText(gui);
    QXUI::CQXRenerder& renderer = *gui->GetRenderer();
    const CEGUI::Font& font = CEGUI::FontManager::getSingleton().get("BFont");
    CEGUI::GeometryBuffer& buffer = renderer.createGeometryBuffer();
    buffer.setClippingRegion(renderer.getRect());
    const CEGUI::ColourRect white(CEGUI::Colour(0xFFFFFFFF));
    const float spacing = font.getLineSpacing();
    const size_t quads = g_module.render.quads;
    renderer.setImmediateOverride(true);
    for (auto _ : state)
    {
        buffer.reset();
        float y = 10.0f;
        for (const CEGUI::String& line : g_lines)
        {
            font.drawText(buffer, line, CEGUI::Vector2f(10.0f, y), nullptr, white);
            y += spacing;
        }
        buffer.draw();
    }
    renderer.setImmediateOverride(false);
    renderer.destroyGeometryBuffer(buffer);
    state.counters["quads"] = double(g_module.render.quads - quads) / double(state.iterations());
}

BENCHMARK(BM_IdleFrame_ItemIcons)->Unit(benchmark::kMicrosecond)->Apply(BenchTimes::FastestOfFive);
BENCHMARK(BM_IdleFrame_StaticImages)->Unit(benchmark::kMicrosecond)->Apply(BenchTimes::FastestOfFive);
BENCHMARK(BM_RefreshFrame_ItemIcons)->Unit(benchmark::kMicrosecond)->Apply(BenchTimes::FastestOfFive);
BENCHMARK(BM_RedrawFrame_StaticImages)->Unit(benchmark::kMicrosecond)->Apply(BenchTimes::FastestOfFive);
BENCHMARK(BM_DrawText_Wrapped)->Unit(benchmark::kMicrosecond)->Apply(BenchTimes::FastestOfFive);
BENCHMARK(BM_FontDrawText_Lines)->Unit(benchmark::kMicrosecond)->Apply(BenchTimes::FastestOfFive);
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    BenchTimes times;
    benchmark::RunSpecifiedBenchmarks(&times);
    std::printf("\nidle frame, 200 item icons: %.1f us; 200 static images: %.1f us; ratio %.2f\n",
                times.time("BM_IdleFrame_ItemIcons"), times.time("BM_IdleFrame_StaticImages"),
                times.ratio("BM_IdleFrame_ItemIcons", "BM_IdleFrame_StaticImages"));
    std::printf("frame after refreshing 200 icons: %.1f us (%.2f us per icon); after redrawing 200 static "
                "images: %.1f us; ratio %.2f\n",
                times.time("BM_RefreshFrame_ItemIcons"), times.time("BM_RefreshFrame_ItemIcons") / kWindows,
                times.time("BM_RedrawFrame_StaticImages"),
                times.ratio("BM_RefreshFrame_ItemIcons", "BM_RedrawFrame_StaticImages"));
    std::printf("DrawText, 200 characters in 10 lines: %.2f us; Font::drawText of the lines: %.2f us; ratio %.2f\n",
                times.time("BM_DrawText_Wrapped"), times.time("BM_FontDrawText_Lines"),
                times.ratio("BM_DrawText_Wrapped", "BM_FontDrawText_Lines"));
    std::printf("error lines logged: %zu\n", g_module.errorLines());
    benchmark::Shutdown();
    return 0;
}
