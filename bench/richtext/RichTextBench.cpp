// The rich-text engine on the GUI library's headless renderer with a real
// font, each case beside the bare library doing the same job:
//  (a) a 200-line chat log of names, items, colours and commands parsed and
//      laid out at a width of 400 pixels, beside the library's own markup
//      parser and word wrapper on the same log written in its markup;
//  (b) hostile texts - "{{{{...{ x" and one unbroken word - at 10 KB and
//      100 KB: the time must grow in proportion (at most 12 times for ten
//      times the text); the library's parser and wrapper run the same texts;
//  (c) a mouse move over the laid-out 200-line log, beside the library's hit
//      test of a window with 200 child windows, one per line.
// Prints each pair's times and ratios.
#include <benchmark/benchmark.h>

#include <CEGUI/BasicRenderedStringParser.h>
#include <CEGUI/CEGUI.h>
#include <CEGUI/LeftAlignedRenderedString.h>
#include <CEGUI/RendererModules/Null/Renderer.h>
#include <CEGUI/RenderedStringWordWrapper.h>

#include <cstdio>
#include <string>

#include "../BenchTimes.h"
#include "RichTextStandIns.h"
#include "richtext/ColourTable.h"
#include "richtext/Document.h"
#include "richtext/ParserManager.h"
#include "richtext/RichTextServices.h"

namespace
{
using richtext_test::FakeMain;
using richtext_test::TestWindow;

constexpr float kWidth = 400.0f;
constexpr int kLogLines = 200;

struct Setup
{
    CEGUI::Font* font = nullptr;
    CEGUI::Window* window = nullptr; // the library's reference window
    QGUI::CFontMetrics metrics;
    TestWindow context;
    FakeMain main;

    Setup()
    {
        CEGUI::NullRenderer::bootstrapSystem();
        CEGUI::Logger::getSingleton().setLoggingLevel(CEGUI::Errors);
        font = &CEGUI::FontManager::getSingleton().createFreeTypeFont(
            "Bench-12", 12, true, "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf", "",
            CEGUI::ASM_Disabled, CEGUI::Sizef(1024, 768));
        window = CEGUI::WindowManager::getSingleton().createWindow("DefaultWindow", "bench");
        window->setFont(font);
        metrics.Reset(font);
        context.font = &metrics;
        context.cmdFont = &metrics;
        main.accept = false;
        main.itemColour = [](const char*, int) -> uint32_t { return 0xFFAABBCCu; };
        QGUI::TextBlocks::ServiceStandIns standIns{&main, nullptr, main.ItemColours()};
        QGUI::TextBlocks::SetServiceStandIns(&standIns);
        auto& colours = QGUI::TextParser::CColorPropertyManager::Instance();
        colours.RegisterColorByString("red", "FFFF0000", "FF000000");
        colours.SetClickColorByString("FF00FF00", "FF0000FF", "FFFFFF00");
        // Glyphs are made on first use; make them before anything is timed.
        metrics.GetTextExtent(ChatLog(), 0, ChatLog().length());
    }

    // The chat log in the module's markup and in the library's.
    static const CEGUI::String& ChatLog()
    {
        static const CEGUI::String log = MakeLog(false);
        return log;
    }
    static const CEGUI::String& LibraryLog()
    {
        static const CEGUI::String log = MakeLog(true);
        return log;
    }
    static CEGUI::String MakeLog(bool library)
    {
        std::string log;
        for (int i = 0; i < kLogLines; ++i)
        {
            const std::string n = std::to_string(i);
            const std::string name = "Player" + n;
            const std::string item = "Sword of the Morning " + n;
            if (library)
                log += "[colour='FF00FF00']" + name + "[colour='FFFFFFFF']: hello [colour='FFFF0000']there[colour='FFFFFFFF'], "
                       "look at [colour='FFAABBCC']" + item + "[colour='FFFFFFFF'] and [colour='FF00FF00']join us[colour='FFFFFFFF'] "
                       "at the gate before the night falls on the town\n";
            else
                log += "{N x:" + name + "}: hello {T red:there}, look at {I " + n + ":" + item + "} and {C /join " + n +
                       ":join us} at the gate before the night falls on the town\n";
        }
        return CEGUI::String(log);
    }
};

Setup& TheSetup()
{
    static Setup* setup = new Setup;
    return *setup;
}

void LayOut(Setup& s, QGUI::IDoc* doc, const CEGUI::String& text)
{
    auto& manager = QGUI::TextParser::CSimpleParserManager::Instance();
    s.context.text = text;
    doc->Clear();
    doc->SetLineSpacing(0.0f);
    doc->SetRightEdge(kWidth);
    doc->CommitItemRefs(&s.context);
    manager.Parse(&s.context, s.context.text, doc);
    doc->UpdateItemRefs();
}

void LibraryLayOut(Setup& s, const CEGUI::String& text)
{
    CEGUI::BasicRenderedStringParser parser;
    const CEGUI::ColourRect colours(CEGUI::Colour(0xFFFFFFFFu));
    CEGUI::RenderedString rendered = parser.parse(text, s.font, &colours);
    CEGUI::RenderedStringWordWrapper<CEGUI::LeftAlignedRenderedString> wrapper(rendered);
    wrapper.format(s.window, CEGUI::Sizef(kWidth, 10000.0f));
    benchmark::DoNotOptimize(wrapper.getFormattedLineCount());
}

// (a) -----------------------------------------------------------------------

void BM_ChatLogLayout(benchmark::State& state)
{
    Setup& s = TheSetup();
    QGUI::IDoc* doc = QGUI::TextParser::CSimpleParserManager::Instance().CreateDoc();
    for (auto _ : state)
        LayOut(s, doc, Setup::ChatLog());
    state.SetItemsProcessed(state.iterations() * Setup::ChatLog().length());
    state.counters["lines"] = static_cast<double>(static_cast<QGUI::TextBlocks::CRichTextDoc*>(doc)->GetLines().size());
    QGUI::TextParser::CSimpleParserManager::Instance().DestroyDoc(doc);
}

void BM_ChatLogLibrary(benchmark::State& state)
{
    Setup& s = TheSetup();
    for (auto _ : state)
        LibraryLayOut(s, Setup::LibraryLog());
    state.SetItemsProcessed(state.iterations() * Setup::LibraryLog().length());
}

// (b) -----------------------------------------------------------------------

CEGUI::String Hostile(int kind, size_t length, bool library)
{
    std::string text;
    if (kind == 0)
        text = std::string(length - 2, library ? '[' : '{') + " x";
    else
        text = std::string(length, 'w');
    return CEGUI::String(text);
}

void BM_HostileLayout(benchmark::State& state, int kind, size_t length)
{
    Setup& s = TheSetup();
    const CEGUI::String text = Hostile(kind, length, false);
    QGUI::IDoc* doc = QGUI::TextParser::CSimpleParserManager::Instance().CreateDoc();
    for (auto _ : state)
        LayOut(s, doc, text);
    state.SetItemsProcessed(state.iterations() * text.length());
    QGUI::TextParser::CSimpleParserManager::Instance().DestroyDoc(doc);
}

void BM_HostileLibrary(benchmark::State& state, int kind, size_t length)
{
    Setup& s = TheSetup();
    const CEGUI::String text = Hostile(kind, length, true);
    for (auto _ : state)
        LibraryLayOut(s, text);
    state.SetItemsProcessed(state.iterations() * text.length());
}

// (c) -----------------------------------------------------------------------

void BM_MouseMoveHitTest(benchmark::State& state)
{
    Setup& s = TheSetup();
    QGUI::IDoc* doc = QGUI::TextParser::CSimpleParserManager::Instance().CreateDoc();
    LayOut(s, doc, Setup::ChatLog());
    const float height = doc->GetDocHeight();
    float y = 0.0f;
    for (auto _ : state)
    {
        doc->OnMouseMove(&s.context, 37.0f, y, 0);
        y = y + 7.0f > height ? 0.0f : y + 7.0f;
    }
    QGUI::TextParser::CSimpleParserManager::Instance().DestroyDoc(doc);
}

void BM_MouseMoveLibrary(benchmark::State& state)
{
    TheSetup();
    CEGUI::WindowManager& wm = CEGUI::WindowManager::getSingleton();
    CEGUI::Window* root = wm.createWindow("DefaultWindow", "log");
    root->setArea(CEGUI::URect(CEGUI::UDim(0, 0), CEGUI::UDim(0, 0), CEGUI::UDim(0, kWidth),
                               CEGUI::UDim(0, kLogLines * 20.0f)));
    for (int i = 0; i < kLogLines; ++i)
    {
        CEGUI::Window* line = wm.createWindow("DefaultWindow", "line" + CEGUI::PropertyHelper<int>::toString(i));
        line->setArea(CEGUI::URect(CEGUI::UDim(0, 0), CEGUI::UDim(0, i * 20.0f), CEGUI::UDim(0, kWidth),
                                   CEGUI::UDim(0, i * 20.0f + 20.0f)));
        root->addChild(line);
    }
    const float height = kLogLines * 20.0f;
    float y = 0.0f;
    for (auto _ : state)
    {
        benchmark::DoNotOptimize(root->getChildAtPosition(CEGUI::Vector2f(37.0f, y)));
        y = y + 7.0f > height ? 0.0f : y + 7.0f;
    }
    wm.destroyWindow(root);
    wm.cleanDeadPool();
}

BENCHMARK(BM_ChatLogLayout)->Unit(benchmark::kMicrosecond)->Apply(BenchTimes::FastestOfFive);
BENCHMARK(BM_ChatLogLibrary)->Unit(benchmark::kMicrosecond)->Apply(BenchTimes::FastestOfFive);
BENCHMARK(BM_MouseMoveHitTest)->Unit(benchmark::kMicrosecond)->Apply(BenchTimes::FastestOfFive);
BENCHMARK(BM_MouseMoveLibrary)->Unit(benchmark::kMicrosecond)->Apply(BenchTimes::FastestOfFive);

const char* const kHostileKinds[] = {"Braces", "Word"};

// The hostile cases under names of their own, so their times can be told
// apart: BM_Hostile<kind><size>, and BM_HostileLibrary<kind><size>.
void RegisterHostile()
{
    for (int kind = 0; kind < 2; ++kind)
        for (size_t length : {size_t(10000), size_t(100000)})
        {
            const std::string suffix = std::string(kHostileKinds[kind]) + std::to_string(length / 1000) + "K";
            benchmark::RegisterBenchmark(("BM_Hostile" + suffix).c_str(), BM_HostileLayout, kind, length)
                ->Unit(benchmark::kMicrosecond)
                ->Apply(BenchTimes::FastestOfFive);
            // The library runs once: its 100 KB word takes seconds.
            benchmark::RegisterBenchmark(("BM_HostileLibrary" + suffix).c_str(), BM_HostileLibrary, kind, length)
                ->Unit(benchmark::kMicrosecond);
        }
}
} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    TheSetup();
    RegisterHostile();
    BenchTimes times;
    benchmark::RunSpecifiedBenchmarks(&times);
    const double ours = times.time("BM_ChatLogLayout");
    const double library = times.time("BM_ChatLogLibrary");
    std::printf("\n(a) 200-line chat log: engine %.0f us, library %.0f us; library/engine time %.2f\n", ours,
                library, ours > 0 ? library / ours : 0.0);
    for (const char* kind : kHostileKinds)
    {
        const std::string k = kind;
        const std::string small = "BM_Hostile" + k + "10K", large = "BM_Hostile" + k + "100K";
        const std::string libSmall = "BM_HostileLibrary" + k + "10K", libLarge = "BM_HostileLibrary" + k + "100K";
        std::printf("(b) %s: engine 10 KB %.0f us, 100 KB %.0f us, growth %.2f (bound 12); "
                    "library 10 KB %.0f us, 100 KB %.0f us, growth %.2f\n",
                    kind, times.time(small), times.time(large), times.ratio(large, small),
                    times.time(libSmall), times.time(libLarge), times.ratio(libLarge, libSmall));
    }
    std::printf("(c) mouse move over 200 lines: engine %.2f us, library window hit test %.2f us, ratio %.2f\n",
                times.time("BM_MouseMoveHitTest"), times.time("BM_MouseMoveLibrary"),
                times.ratio("BM_MouseMoveHitTest", "BM_MouseMoveLibrary"));
    benchmark::Shutdown();
    return 0;
}
