// Through the module's renderer, with the host's drawing stubbed to count
// quads:
// (a) pushing one rich-text line (a name, an item link and 60 characters
//     of text) into a chat box that holds 500 lines (its ring full, so the
//     oldest goes) and drawing the next frame, beside appending the same
//     line as plain text to a stock multi-line edit box that holds the same
//     500 lines (its first line going) and drawing the next frame;
// (b) an idle frame of the chat box holding 500 lines, beside an idle frame
//     of the stock edit box holding them;
// (c) one word without spaces, 10 KB and 100 KB long, set as the text of a
//     400 x 300 rich-text window whose vertical bar it brings up, and
//     pushed into a chat box, each followed by a frame: the time must grow
//     in proportion (at most 12 times for ten times the word), beside the
//     stock edit box of the same size given the same word (its own word
//     wrapping measures the rest of the word anew for each line); and the
//     rich-text window holding the word, its word wrapping turned off and
//     on through the edit box's own setters (which a script reaches by
//     casting the window to the edit box), then a frame, bound alike.
// Prints each pair, its ratio, the time per push and the error lines
// logged.
#include <benchmark/benchmark.h>

#include <CEGUI/CEGUI.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "../BenchHost.h"
#include "../BenchTimes.h"
#include "richtext/GameMultiLine.h"
#include "widgets/GameChatBox.h"

namespace
{
constexpr int kLines = 500;
const char* const kText = "meet me at the north gate before the moon rises over the hil"; // 60 characters

bench::CountingRender g_render;
fake::Engine g_engine;
fake::FileSystem g_fs;
HostGlobals g_host{};
RecordingLogger* g_logger = nullptr;
QGUI::CGameChatBox* g_chat = nullptr;
CEGUI::MultiLineEditbox* g_stock = nullptr;
int g_pushed = 0;

std::string Area(const char* l, const char* t, const char* r, const char* b)
{
    return std::string("<Area><Dim type=\"LeftEdge\">") + l + "</Dim><Dim type=\"TopEdge\">" + t +
           "</Dim><Dim type=\"RightEdge\">" + r + "</Dim><Dim type=\"BottomEdge\">" + b + "</Dim></Area>";
}
std::string Abs(float v)
{
    return "<AbsoluteDim value=\"" + std::to_string(v) + "\" />";
}
// The window's edge (right or bottom) less v pixels.
std::string Less(const char* edge, float v)
{
    return std::string("<UnifiedDim scale=\"1\" offset=\"") + std::to_string(-v) + "\" type=\"" + edge + "\" />";
}
std::string Whole()
{
    return Area(Abs(0).c_str(), Abs(0).c_str(), Less("RightEdge", 0).c_str(), Less("BottomEdge", 0).c_str());
}
std::string Fill(const char* state)
{
    return std::string("<ImagerySection name=\"") + state + "_fill\"><ImageryComponent>" + Whole() +
           "<Image name=\"B/P\" /><VertFormat type=\"Stretched\" /><HorzFormat type=\"Stretched\" />"
           "</ImageryComponent></ImagerySection><StateImagery name=\"" + state + "\"><Layer><Section section=\"" +
           state + "_fill\" /></Layer></StateImagery>";
}
std::string Empty(const char* state)
{
    return std::string("<StateImagery name=\"") + state + "\" />";
}
std::string Child(const char* type, const char* suffix, const std::string& area, bool nonClient)
{
    return std::string("<Child type=\"") + type + "\" nameSuffix=\"" + suffix + "\">" + area +
           (nonClient ? "<Property name=\"NonClient\" value=\"true\" />" : "") + "</Child>";
}
// Scrollbars 12 pixels wide at the right and the bottom.
std::string Bars(bool nonClient)
{
    return Child("B/VBar", "__auto_vscrollbar__",
                 Area(Less("Width", 12).c_str(), Abs(0).c_str(), Less("RightEdge", 0).c_str(),
                      Less("BottomEdge", 12).c_str()),
                 nonClient) +
           Child("B/HBar", "__auto_hscrollbar__",
                 Area(Abs(0).c_str(), Less("Height", 12).c_str(), Less("RightEdge", 12).c_str(),
                      Less("BottomEdge", 0).c_str()),
                 nonClient);
}
std::string Bar(const char* name, bool vertical)
{
    std::string look = std::string("<WidgetLook name=\"") + name + "\">"
                       "<Property name=\"AutoRenderingSurface\" value=\"false\" />"
                       "<Property name=\"VerticalScrollbar\" value=\"" + (vertical ? "true" : "false") + "\" />"
                       "<NamedArea name=\"ThumbTrackArea\">" + Whole() + "</NamedArea>" +
                       Child("B/Button", "__auto_thumb__", Area(Abs(0).c_str(), Abs(0).c_str(), Abs(12).c_str(),
                                                                 Abs(12).c_str()), false) +
                       Child("B/Button", "__auto_incbtn__", Area(Abs(0).c_str(), Abs(0).c_str(), Abs(0).c_str(),
                                                                  Abs(0).c_str()), false) +
                       Child("B/Button", "__auto_decbtn__", Area(Abs(0).c_str(), Abs(0).c_str(), Abs(0).c_str(),
                                                                  Abs(0).c_str()), false) +
                       Fill("Enabled") + Fill("Disabled");
    return look + "</WidgetLook>";
}

// The named areas "<prefix>VScroll", "<prefix>HScroll" and
// "<prefix>HVScroll": the whole window less a 12-pixel bar at the right, at
// the bottom, or both.
std::string ScrollAreas(const std::string& prefix)
{
    const struct
    {
        const char* suffix;
        float right, bottom;
    } variants[] = {{"VScroll", 12, 0}, {"HScroll", 0, 12}, {"HVScroll", 12, 12}};
    std::string areas;
    for (const auto& v : variants)
        areas += "<NamedArea name=\"" + prefix + v.suffix + "\">" +
                 Area(Abs(0).c_str(), Abs(0).c_str(), Less("RightEdge", v.right).c_str(),
                      Less("BottomEdge", v.bottom).c_str()) +
                 "</NamedArea>";
    return areas;
}

void ServeStyle()
{
    const std::string textArea = "<NamedArea name=\"TextArea\">" + Whole() + "</NamedArea>";
    std::string looks;
    looks += "<WidgetLook name=\"B/Button\"><Property name=\"AutoRenderingSurface\" value=\"false\" />" +
             Fill("Normal") + Fill("Hover") + Fill("Pushed") + Fill("Disabled") + "</WidgetLook>";
    looks += Bar("B/VBar", true) + Bar("B/HBar", false);
    // The chat box's messages: no frame, the whole window for the text.
    looks += "<WidgetLook name=\"QXLook/GameMultiLine\"><Property name=\"AutoRenderingSurface\" value=\"false\" />" +
             textArea + "<NamedArea name=\"NoFrameTextArea\">" + Whole() + "</NamedArea>" + Fill("Framed") +
             Empty("NoFrame") + "</WidgetLook>";
    looks += "<WidgetLook name=\"B/ChatBox\"><Property name=\"AutoRenderingSurface\" value=\"false\" />"
             "<NamedArea name=\"ViewableArea\">" + Whole() + "</NamedArea>" + ScrollAreas("ViewableArea") +
             Bars(true) + Fill("Enabled") + Fill("Disabled") + "</WidgetLook>";
    const std::string scrollAreas = ScrollAreas("TextArea") + Bars(false);
    // A rich-text window with the stock edit box's bars and areas.
    looks += "<WidgetLook name=\"B/RichText\"><Property name=\"AutoRenderingSurface\" value=\"false\" />" +
             textArea + scrollAreas + Fill("Framed") + Empty("NoFrame") + "</WidgetLook>";
    looks += "<WidgetLook name=\"B/MultiLine\"><Property name=\"AutoRenderingSurface\" value=\"false\" />" + textArea +
             scrollAreas +
             "<ImagerySection name=\"Caret\"><ImageryComponent>" + Whole() + "<Image name=\"B/P\" />"
             "</ImageryComponent></ImagerySection>" +
             Fill("Enabled") + Fill("ReadOnly") + Fill("Disabled") + Empty("ActiveSelection") +
             Empty("InactiveSelection") + "</WidgetLook>";
    g_fs.files["resource\\UI\\looknfeel\\B.looknfeel"] =
        "<?xml version=\"1.0\" ?><Falagard version=\"7\">" + looks + "</Falagard>";
    g_fs.files["resource\\UI\\imagesets\\B.imageset"] =
        "<?xml version=\"1.0\" ?><Imageset version=\"2\" name=\"B\" imagefile=\"B.tga\" autoScaled=\"false\">"
        "<Image name=\"P\" xPos=\"0\" yPos=\"0\" width=\"8\" height=\"8\" /></Imageset>";
    auto map = [](const char* type, const char* target, const char* renderer, const char* look) {
        return std::string("<FalagardMapping windowType=\"") + type + "\" targetType=\"" + target +
               "\" renderer=\"" + renderer + "\" lookNFeel=\"" + look + "\" />";
    };
    g_fs.files["resource\\UI\\schemes\\B.scheme"] =
        "<?xml version=\"1.0\" ?><GUIScheme version=\"5\" name=\"B\"><Imageset filename=\"B.imageset\" />"
        "<LookNFeel filename=\"B.looknfeel\" /><WindowRendererSet filename=\"CEGUICoreWindowRendererSet\" />" +
        map("B/Button", "CEGUI/PushButton", "Core/Button", "B/Button") +
        map("B/VBar", "CEGUI/Scrollbar", "Core/Scrollbar", "B/VBar") +
        map("B/HBar", "CEGUI/Scrollbar", "Core/Scrollbar", "B/HBar") +
        map("QXLook/GameMultiLine", "QXGame/GameMultiLine", "QXGame/GameMultiLineRenderer", "QXLook/GameMultiLine") +
        map("B/ChatBox", "QXGame/GameChatBox", "Core/ScrollablePane", "B/ChatBox") +
        map("B/MultiLine", "CEGUI/MultiLineEditbox", "Core/MultiLineEditbox", "B/MultiLine") +
        map("B/RichText", "QXGame/GameMultiLine", "QXGame/GameMultiLineRenderer", "B/RichText") + "</GUIScheme>";
    bench::ServeBenchFont(g_fs, BENCH_FONT_PATH);
}

CEGUI::Window* Place(CEGUI::Window* root, const char* type, const char* name, float x)
{
    CEGUI::Window* w = CEGUI::WindowManager::getSingleton().createWindow(type, name);
    w->setArea(CEGUI::URect(CEGUI::UDim(0, x), CEGUI::UDim(0, 20), CEGUI::UDim(0, x + 420), CEGUI::UDim(0, 320)));
    root->addChild(w);
    return w;
}

std::string RichLine(int n)
{
    return "{N Aldric:Aldric} " + std::to_string(n) + ": {I 1001:[Short sword]} " + kText;
}
std::string PlainLine(int n)
{
    return "Aldric " + std::to_string(n) + ": [Short sword] " + kText;
}

QGUI::CQGUI* StartGui()
{
    static QGUI::CQGUI* gui = nullptr;
    if (gui)
        return gui;
    ServeStyle();
    gui = bench::StartModuleWithScheme(g_render, g_engine, g_fs, g_host, "B.scheme", g_logger);
    // The scripts give items their colour, count the lines that show each
    // and hear where the names were drawn.
    const char* items = "refs = {}\n"
                        "function FetchColourBySetFn(key, id) return 'FF60B0FF' end\n"
                        "function gFn_chatItem_add_ref(id) refs[id] = (refs[id] or 0) + 1 return 0 end\n"
                        "function gFn_chatItem_release_ref(id) refs[id] = (refs[id] or 1) - 1 return 0 end\n"
                        "function gFn_guide_cmd_text_draw_begin() return 0 end\n"
                        "function gFn_guide_cmd_text_draw_moni(a, b, x, y, kind) return 0 end\n"
                        "function gFn_guide_cmd_text_draw_end() return 0 end";
    bench::RunScript(gui, items);
    CEGUI::Window* root = gui->GetRootWindow();
    g_chat = dynamic_cast<QGUI::CGameChatBox*>(Place(root, "B/ChatBox", "chat", 10));
    g_stock = dynamic_cast<CEGUI::MultiLineEditbox*>(Place(root, "B/MultiLine", "stock", 450));
    if (!g_chat || !g_stock)
        std::abort();
    g_chat->setChatCapacity(kLines);
    g_chat->setDefaultColour(CEGUI::Colour(0xFFFFFFFF));
    CEGUI::String log;
    for (g_pushed = 0; g_pushed < kLines; ++g_pushed)
    {
        g_chat->PushChatText(RichLine(g_pushed));
        log += PlainLine(g_pushed) + "\n";
    }
    g_stock->setReadOnly(true);
    g_stock->setText(log);
    g_stock->setCaretIndex(log.length());
    bench::Frame(gui, g_host);
    return gui;
}

// Shows one of the two windows, so that a frame draws that one alone.
void Only(QGUI::CQGUI* gui, CEGUI::Window* shown)
{
    g_chat->setVisible(shown == g_chat);
    g_stock->setVisible(shown == g_stock);
    bench::Frame(gui, g_host);
}

void BM_ChatBox_PushAndFrame(benchmark::State& state)
{
    QGUI::CQGUI* gui = StartGui();
    Only(gui, g_chat);
    const size_t quads = g_render.quads;
    for (auto _ : state)
    {
        g_chat->PushChatText(RichLine(g_pushed++));
        bench::Frame(gui, g_host);
    }
    state.counters["quads"] = double(g_render.quads - quads) / double(state.iterations());
}

void BM_StockMultiLineEditbox_AppendAndFrame(benchmark::State& state)
{
    QGUI::CQGUI* gui = StartGui();
    Only(gui, g_stock);
    const size_t quads = g_render.quads;
    for (auto _ : state)
    {
        CEGUI::String text = g_stock->getText();
        text.erase(0, text.find('\n') + 1);
        text += PlainLine(g_pushed++) + "\n";
        g_stock->setText(text);
        g_stock->setCaretIndex(text.length());
        bench::Frame(gui, g_host);
    }
    state.counters["quads"] = double(g_render.quads - quads) / double(state.iterations());
}

// Idle frames of one of the two windows.
void IdleFrames(benchmark::State& state, bool chatBox)
{
    QGUI::CQGUI* gui = StartGui();
    Only(gui, chatBox ? static_cast<CEGUI::Window*>(g_chat) : g_stock);
    const size_t quads = g_render.quads;
    for (auto _ : state)
        bench::Frame(gui, g_host);
    state.counters["quads"] = double(g_render.quads - quads) / double(state.iterations());
}

void BM_ChatBox_IdleFrame(benchmark::State& state)
{
    IdleFrames(state, true);
}

void BM_StockMultiLineEditbox_IdleFrame(benchmark::State& state)
{
    IdleFrames(state, false);
}

// (c) -----------------------------------------------------------------------

constexpr size_t kWordSizes[] = {10000, 100000};
const char* const kWordSides[] = {"RichText", "ChatBox", "Stock", "RichTextStockSetters"};

// The windows of (c), made on first use: each 400 x 300, alone on screen.
struct LongWordWindows
{
    QGUI::CGameMultiLine* rich = nullptr;
    QGUI::CGameChatBox* chat = nullptr;
    CEGUI::MultiLineEditbox* stock = nullptr;
};

LongWordWindows& WordWindows(QGUI::CQGUI* gui)
{
    static LongWordWindows windows;
    if (windows.rich)
        return windows;
    CEGUI::Window* root = gui->GetRootWindow();
    auto make = [root](const char* type, const char* name) {
        CEGUI::Window* w = CEGUI::WindowManager::getSingleton().createWindow(type, name);
        w->setArea(CEGUI::URect(CEGUI::UDim(0, 10), CEGUI::UDim(0, 20), CEGUI::UDim(0, 410), CEGUI::UDim(0, 320)));
        w->hide();
        root->addChild(w);
        return w;
    };
    windows.rich = dynamic_cast<QGUI::CGameMultiLine*>(make("B/RichText", "wordrich"));
    windows.chat = dynamic_cast<QGUI::CGameChatBox*>(make("B/ChatBox", "wordchat"));
    windows.stock = dynamic_cast<CEGUI::MultiLineEditbox*>(make("B/MultiLine", "wordstock"));
    if (!windows.rich || !windows.chat || !windows.stock)
        std::abort();
    windows.chat->setChatCapacity(4);
    windows.stock->setReadOnly(true);
    return windows;
}

// Two words of the length, told apart by their last letter, so that each
// push differs from the one before.
CEGUI::String Word(size_t length, int n)
{
    return CEGUI::String(std::string(length - 1, 'w') + (n % 2 ? 'x' : 'y'));
}

void BM_LongWord(benchmark::State& state, int side, size_t length)
{
    QGUI::CQGUI* gui = StartGui();
    LongWordWindows& w = WordWindows(gui);
    g_chat->hide();
    g_stock->hide();
    CEGUI::Window* shown = side == 1   ? static_cast<CEGUI::Window*>(w.chat)
                           : side == 2 ? static_cast<CEGUI::Window*>(w.stock)
                                       : static_cast<CEGUI::Window*>(w.rich);
    w.rich->setVisible(shown == w.rich);
    w.chat->setVisible(shown == w.chat);
    w.stock->setVisible(shown == w.stock);
    const CEGUI::String words[2] = {Word(length, 0), Word(length, 1)};
    // The rich-text window as the edit box it derives from.
    CEGUI::MultiLineEditbox& editBox = *w.rich;
    if (side == 3)
        w.rich->setText(words[0]);
    int n = 0;
    for (auto _ : state)
    {
        const CEGUI::String& word = words[n++ % 2];
        if (side == 1)
        {
            w.chat->PushChatText(word);
        }
        else if (side == 3)
        {
            editBox.setWordWrapping(false);
            editBox.setWordWrapping(true);
        }
        else
        {
            // A short text first, so that the word brings the bar up.
            shown->setText("short");
            shown->setText(word);
        }
        bench::Frame(gui, g_host);
    }
    // The rich-text window's vertical bar is up: the layout ran beside it.
    if ((side == 0 || side == 3) && !w.rich->vertScrollbar()->isVisible())
        state.SkipWithError("the vertical bar is not shown");
    shown->hide();
}

// BM_LongWord<side><size>K; the stock edit box runs once, its 100 KB word
// taking seconds.
void RegisterLongWords()
{
    for (int side = 0; side < 4; ++side)
        for (size_t length : kWordSizes)
        {
            const std::string name =
                std::string("BM_LongWord") + kWordSides[side] + std::to_string(length / 1000) + "K";
            benchmark::internal::Benchmark* b =
                benchmark::RegisterBenchmark(name.c_str(), BM_LongWord, side, length)->Unit(benchmark::kMicrosecond);
            if (side == 2)
                b->Iterations(1);
            else
                b->Apply(BenchTimes::FastestOfFive);
        }
}

BENCHMARK(BM_ChatBox_PushAndFrame)->Unit(benchmark::kMicrosecond)->Apply(BenchTimes::FastestOfFive);
BENCHMARK(BM_StockMultiLineEditbox_AppendAndFrame)->Unit(benchmark::kMicrosecond)->Apply(BenchTimes::FastestOfFive);
BENCHMARK(BM_ChatBox_IdleFrame)->Unit(benchmark::kMicrosecond)->Apply(BenchTimes::FastestOfFive);
BENCHMARK(BM_StockMultiLineEditbox_IdleFrame)->Unit(benchmark::kMicrosecond)->Apply(BenchTimes::FastestOfFive);
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    RegisterLongWords();
    BenchTimes times;
    benchmark::RunSpecifiedBenchmarks(&times);
    std::printf("\npushing a rich line into a %d-line chat box, then a frame: %.1f us; appending it to a stock "
                "%d-line edit box, then a frame: %.1f us; ratio %.3f (the stock edit box takes %.1f times as "
                "long)\n",
                kLines, times.time("BM_ChatBox_PushAndFrame"), kLines,
                times.time("BM_StockMultiLineEditbox_AppendAndFrame"),
                times.ratio("BM_ChatBox_PushAndFrame", "BM_StockMultiLineEditbox_AppendAndFrame"),
                times.ratio("BM_StockMultiLineEditbox_AppendAndFrame", "BM_ChatBox_PushAndFrame"));
    std::printf("idle frame of the %d-line chat box: %.1f us; of the stock edit box: %.1f us; ratio %.3f\n", kLines,
                times.time("BM_ChatBox_IdleFrame"), times.time("BM_StockMultiLineEditbox_IdleFrame"),
                times.ratio("BM_ChatBox_IdleFrame", "BM_StockMultiLineEditbox_IdleFrame"));
    std::printf("the push beyond an idle frame: chat box %.1f us, stock edit box %.1f us\n",
                times.time("BM_ChatBox_PushAndFrame") - times.time("BM_ChatBox_IdleFrame"),
                times.time("BM_StockMultiLineEditbox_AppendAndFrame") - times.time("BM_StockMultiLineEditbox_IdleFrame"));
    for (const char* side : kWordSides)
    {
        const std::string small = std::string("BM_LongWord") + side + "10K";
        const std::string large = std::string("BM_LongWord") + side + "100K";
        std::printf("one long word, then a frame, %s: 10 KB %.0f us, 100 KB %.0f us, growth %.2f%s\n", side,
                    times.time(small), times.time(large), times.ratio(large, small),
                    std::strcmp(side, "Stock") == 0 ? " (the stock edit box)" : " (bound 12)");
    }
    std::printf("error lines logged: %zu\n", bench::ErrorLines(g_logger));
    benchmark::Shutdown();
    return 0;
}
