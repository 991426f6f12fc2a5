// Through the module's renderer, with the host's drawing stubbed to count
// quads: typing 100 characters into a chat edit box that holds two item
// links (through the main object's window messages), then taking its
// encoded text (two calls of the link script) and drawing the frame, beside
// typing the same characters into a stock edit box of the same look and
// text through the GUI library's own input, taking its text and drawing the
// frame. Prints both, their ratio and the error lines logged.
#include <benchmark/benchmark.h>

#include <CEGUI/CEGUI.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "../BenchHost.h"
#include "../BenchTimes.h"
#include "FakeHost.h"
#include "RecordingLogger.h"
#include "core/QGUI.h"
#include "widgets/ChatEditBox.h"

namespace
{
constexpr int kTyped = 100;
const char* const kLinked = "[Sword] and [Shield] ";

bench::CountingRender g_render;
fake::Engine g_engine;
fake::FileSystem g_fs;
HostGlobals g_host{};
RecordingLogger* g_logger = nullptr;
QGUI::CChatEditBox* g_chat = nullptr;
CEGUI::Editbox* g_stock = nullptr;

std::string EditLook()
{
    auto state = [](const char* name, bool drawn) {
        std::string xml = std::string("<StateImagery name=\"") + name + "\">";
        if (drawn)
            xml += "<Layer><Section section=\"frame\" /></Layer>";
        return xml + "</StateImagery>";
    };
    const char* whole = "<Area><Dim type=\"LeftEdge\"><AbsoluteDim value=\"0\" /></Dim>"
                        "<Dim type=\"TopEdge\"><AbsoluteDim value=\"0\" /></Dim>"
                        "<Dim type=\"Width\"><UnifiedDim scale=\"1\" type=\"Width\" /></Dim>"
                        "<Dim type=\"Height\"><UnifiedDim scale=\"1\" type=\"Height\" /></Dim></Area>";
    std::string look = std::string("<WidgetLook name=\"B/Edit\">"
                                   "<PropertyDefinition name=\"NormalTextColour\" type=\"Colour\" initialValue=\"FFFFFFFF\" />"
                                   "<Property name=\"AutoRenderingSurface\" value=\"false\" />"
                                   "<NamedArea name=\"TextArea\">") +
                       whole + "</NamedArea><ImagerySection name=\"frame\"><ImageryComponent>" + whole +
                       "<Image name=\"B/P\" /><VertFormat type=\"Stretched\" /><HorzFormat type=\"Stretched\" />"
                       "</ImageryComponent></ImagerySection><ImagerySection name=\"Caret\"><ImageryComponent>" +
                       whole + "<Image name=\"B/P\" /></ImageryComponent></ImagerySection>";
    look += state("Enabled", true) + state("ReadOnly", true) + state("Disabled", true) +
            state("ActiveSelection", false) + state("InactiveSelection", false);
    return look + "</WidgetLook>";
}

void ServeStyle()
{
    g_fs.files["resource\\UI\\looknfeel\\B.looknfeel"] =
        "<?xml version=\"1.0\" ?><Falagard version=\"7\">" + EditLook() + "</Falagard>";
    g_fs.files["resource\\UI\\imagesets\\B.imageset"] =
        "<?xml version=\"1.0\" ?><Imageset version=\"2\" name=\"B\" imagefile=\"B.tga\" autoScaled=\"false\">"
        "<Image name=\"P\" xPos=\"0\" yPos=\"0\" width=\"8\" height=\"8\" /></Imageset>";
    g_fs.files["resource\\UI\\schemes\\B.scheme"] =
        "<?xml version=\"1.0\" ?><GUIScheme version=\"5\" name=\"B\"><Imageset filename=\"B.imageset\" />"
        "<LookNFeel filename=\"B.looknfeel\" /><WindowRendererSet filename=\"CEGUICoreWindowRendererSet\" />"
        "<FalagardMapping windowType=\"B/ChatEditBox\" targetType=\"QXGame/ChatEditBox\" renderer=\"Core/Editbox\" "
        "lookNFeel=\"B/Edit\" />"
        "<FalagardMapping windowType=\"B/Editbox\" targetType=\"CEGUI/Editbox\" renderer=\"Core/Editbox\" "
        "lookNFeel=\"B/Edit\" /></GUIScheme>";
    bench::ServeBenchFont(g_fs, BENCH_FONT_PATH);
}

CEGUI::Window* Box(CEGUI::Window* root, const char* type, const char* name, float y)
{
    CEGUI::Window* w = CEGUI::WindowManager::getSingleton().createWindow(type, name);
    w->setArea(CEGUI::URect(CEGUI::UDim(0, 10), CEGUI::UDim(0, y), CEGUI::UDim(0, 790), CEGUI::UDim(0, y + 24)));
    root->addChild(w);
    return w;
}

QGUI::CQGUI* StartGui()
{
    static QGUI::CQGUI* gui = nullptr;
    if (gui)
        return gui;
    ServeStyle();
    gui = bench::StartModuleWithScheme(g_render, g_engine, g_fs, g_host, "B.scheme", g_logger);
    const char* links = "local names = { [7] = 'Sword', [8] = 'Shield' }\n"
                        "function gFn_make_chat_item_text(id) return '{I ' .. id .. ':[' .. names[id] .. ']}' end";
    bench::RunScript(gui, links);
    g_chat = dynamic_cast<QGUI::CChatEditBox*>(Box(gui->GetRootWindow(), "B/ChatEditBox", "chat", 100));
    g_stock = dynamic_cast<CEGUI::Editbox*>(Box(gui->GetRootWindow(), "B/Editbox", "stock", 200));
    if (!g_chat || !g_stock)
        std::abort();
    return gui;
}

void Frame(QGUI::CQGUI* gui)
{
    g_host.curtime += g_host.frametime;
    gui->Update();
}

char Typed(int i)
{
    return "the quick brown fox jumps over the lazy dog "[i % 44];
}

void BM_ChatEditBox_TypeAndEncode(benchmark::State& state)
{
    QGUI::CQGUI* gui = StartGui();
    g_chat->activate();
    const size_t quads = g_render.quads;
    size_t length = 0;
    for (auto _ : state)
    {
        g_chat->setText("");
        g_chat->pushId(7);
        g_chat->pushText("[Sword]");
        g_chat->setText(g_chat->getText() + " and ");
        g_chat->pushId(8);
        g_chat->pushText("[Shield]");
        g_chat->setText(g_chat->getText() + " ");
        g_chat->setCaretIndex(g_chat->getText().length());
        for (int i = 0; i < kTyped; ++i)
            gui->ProcessMessage(nullptr, WM_CHAR, WPARAM(Typed(i)), 0);
        length = g_chat->getEncodedText().length();
        Frame(gui);

    }
    state.counters["quads"] = double(g_render.quads - quads) / double(state.iterations());
    state.counters["encoded"] = double(length);
}

void BM_StockEditbox_TypeAndText(benchmark::State& state)
{
    QGUI::CQGUI* gui = StartGui();
    g_stock->activate();
    CEGUI::GUIContext& ctx = CEGUI::System::getSingleton().getDefaultGUIContext();
    const CEGUI::String start(kLinked);
    const size_t quads = g_render.quads;
    size_t length = 0;
    for (auto _ : state)
    {
        g_stock->setText(start);
        g_stock->setCaretIndex(start.length());
        for (int i = 0; i < kTyped; ++i)
            ctx.injectChar(CEGUI::utf32(Typed(i)));
        length = g_stock->getText().length();
        Frame(gui);
    }
    state.counters["quads"] = double(g_render.quads - quads) / double(state.iterations());
    state.counters["text"] = double(length);
}

BENCHMARK(BM_ChatEditBox_TypeAndEncode)->Unit(benchmark::kMicrosecond)->Apply(BenchTimes::FastestOfFive);
BENCHMARK(BM_StockEditbox_TypeAndText)->Unit(benchmark::kMicrosecond)->Apply(BenchTimes::FastestOfFive);
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    BenchTimes times;
    benchmark::RunSpecifiedBenchmarks(&times);
    std::printf("\ntyping %d characters into a chat edit box with two links, then its encoded text: %.1f us; "
                "into a stock edit box, then its text: %.1f us; ratio %.2f\n",
                kTyped, times.time("BM_ChatEditBox_TypeAndEncode"), times.time("BM_StockEditbox_TypeAndText"),
                times.ratio("BM_ChatEditBox_TypeAndEncode", "BM_StockEditbox_TypeAndText"));
    std::printf("error lines logged: %zu\n", bench::ErrorLines(g_logger));
    benchmark::Shutdown();
    return 0;
}
