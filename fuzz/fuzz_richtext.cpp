// Feeds arbitrary markup through the rich-text engine as a document widget
// would use it: layout, drawing, mouse moves and clicks, the document's text.
// The stand-in scripts answer item colours, and some of them start a parse
// of their own or lay the window out again from a click, so re-entrant runs
// are fuzzed too. Every click message is refused, so the engine must delete
// it. Any crash, sanitizer report or overlong input is a finding.
//
// Input: four bytes of settings (right edge, indents, fonts), then the text,
// one code point per byte (bytes above 0x7F become code points from U+0080).

#include <cstddef>
#include <cstdint>

#include "RichTextStandIns.h"
#include "richtext/ColourTable.h"
#include "richtext/Document.h"
#include "richtext/ParserManager.h"
#include "richtext/RichTextServices.h"

namespace
{
using namespace richtext_test;

struct Harness
{
    FixedFont font;
    FixedFont cmdFont;
    TestWindow window;
    TestWindow nested;
    FakeMain main;
    FakePictures pictures;
    QGUI::TextParser::CSimpleParserManager& manager = QGUI::TextParser::CSimpleParserManager::Instance();
    QGUI::IDoc* doc = manager.CreateDoc();
    QGUI::IDoc* nestedDoc = manager.CreateDoc();
    int depth = 0;

    Harness()
    {
        QGUI::TextBlocks::ServiceStandIns standIns{&main, &pictures, main.ItemColours()};
        QGUI::TextBlocks::SetServiceStandIns(&standIns);
        auto& colours = QGUI::TextParser::CColorPropertyManager::Instance();
        colours.RegisterColorByString("red", "FFFF0000", "FF000000");
        colours.SetClickColorByString("FF00FF00", "FF0000FF", "FFFFFF00");
        pictures.add(1, 1, 30, 40);
        pictures.add(2, 0, 5000, 5);
        pictures.add(4, 14500, 20, 20);
        pictures.add(4, 14699, 1, 300);
        main.accept = false;
        nested.font = &font;
        nested.text = "{I 1:a}{T red:b}{N n:c}{P 2:}";
        main.itemColour = [this](const char*, int id) -> uint32_t {
            if (id % 7 == 3 && depth++ < 2)
                layout(nested, nestedDoc, 200.0f);
            if (id % 11 == 5 && depth++ < 2)
                layout(window, doc, 150.0f);
            return static_cast<uint32_t>(id) * 0x01010101u;
        };
        main.onCall = [this](const FakeMain::ScriptCall& call) {
            if (call.name == "gFn_guide_cmd_text_on_click" && call.number == 5 && depth++ < 2)
            {
                window.text = "{M m:clicked}";
                layout(window, doc, 300.0f);
            }
        };
    }

    void layout(TestWindow& w, QGUI::IDoc* d, float rightEdge)
    {
        d->Clear();
        d->SetLineSpacing(0.0f);
        d->SetRightEdge(rightEdge);
        if (!w.text.empty())
        {
            d->CommitItemRefs(&w);
            manager.Parse(&w, w.text, d);
            d->UpdateItemRefs();
        }
    }
};

Harness& TheHarness()
{
    static Harness* harness = new Harness;
    return *harness;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    Harness& h = TheHarness();
    h.depth = 0;
    h.main.calls.clear();
    h.main.guides.clear();
    h.main.statuses.clear();
    h.font.drawn.clear();
    h.cmdFont.drawn.clear();

    const float rightEdge = static_cast<float>(static_cast<int>(data[0]) * 4 - 16);
    h.window.indent1st = data[1] % 64;
    h.window.indentRest = data[1] / 64 * 20;
    h.window.font = (data[2] & 1) ? nullptr : &h.font;
    h.window.cmdFont = (data[2] & 2) ? nullptr : &h.cmdFont;
    h.window.underMouse = (data[2] & 4) == 0;
    const uint8_t buttonSeed = data[3];
    CEGUI::String text;
    for (size_t i = 4; i < size; ++i)
        text += static_cast<CEGUI::utf32>(data[i]);
    h.window.text = text;
    h.layout(h.window, h.doc, rightEdge);

    RecordingSink sink;
    NullBuffer buffer;
    const CEGUI::Rectf rect = h.doc->GetDocRect();
    h.doc->Draw(&h.window, QGUI::DrawContext{&buffer, &sink, rect, CEGUI::Rectf(3, 4, 3 + rect.getWidth(), 4 + rect.getHeight())});
    h.doc->Draw(&h.window, QGUI::DrawContext{&buffer, &sink, CEGUI::Rectf(40, 10, 90, 30), CEGUI::Rectf(0, 0, 50, 20)});
    h.doc->GetText(&h.window);

    // The mouse over the middle of each line and a click on it; a click
    // may lay the document out again, so the points are taken first.
    std::vector<CEGUI::Vector2f> points;
    for (const auto* line : static_cast<QGUI::TextBlocks::CRichTextDoc*>(h.doc)->GetLines())
        for (const QGUI::ITextBlock* block : line->GetBlocks())
            points.emplace_back(block->GetRect().getPosition() + CEGUI::Vector2f(0.5f, 0.5f));
    if (points.size() > 64)
        points.resize(64);
    int button = buttonSeed % 3;
    for (const CEGUI::Vector2f& p : points)
    {
        h.doc->OnMouseMove(&h.window, p.d_x, p.d_y, 0);
        h.doc->OnMouseButton(&h.window, p.d_x, p.d_y, button, (buttonSeed & 8) == 0);
        button = (button + 1) % 3;
    }
    h.doc->OnMouseMove(&h.window, -1.0f, -1.0f, 0);
    return 0;
}
