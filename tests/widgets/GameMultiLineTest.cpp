// The rich-text window: layout of its text, scrollbars, properties, the XML
// round trip and drawing.
#include "RichTextWindowFixture.h"

#include <CEGUI/XMLSerializer.h>

#include <sstream>

#include "richtext/ColourTable.h"
#include "richtext/Document.h"
#include "richtext/ParserManager.h"

namespace
{
using richwindow::RichWindowTest;

TEST_F(RichWindowTest, EmptyAndUnsetTextsLayOutAsTheyShould)
{
    QGUI::CGameMultiLine* unset = box();
    EXPECT_EQ(unset->getText(), "");
    EXPECT_EQ(unset->getDocSize(), CEGUI::Sizef(4, 4));
    EXPECT_EQ(unset->getDocWidth(), 4.0f);
    EXPECT_EQ(unset->getDocHeight(), 4.0f);

    // An empty text becomes one line break: a line of the font's height.
    QGUI::CGameMultiLine* empty = box("", "H/GameMultiLine", "empty");
    empty->setText("");
    EXPECT_EQ(empty->getText(), "\n");
    EXPECT_EQ(empty->getDocHeight(), 12.0f + 4.0f);

    QGUI::CGameMultiLine* w = box("hello {C /go:Go} world", "H/GameMultiLine", "w");
    EXPECT_EQ(w->getDocSize(), CEGUI::Sizef(14 * 8 + 4, 12 + 4));
    EXPECT_EQ(w->getProperty("EncodedText"), "hello Go world");
    // "EncodedText" only reads.
    w->setProperty("EncodedText", "other");
    EXPECT_EQ(w->getText(), "hello {C /go:Go} world");
    EXPECT_EQ(w->getProperty("EncodedText"), "hello Go world");
    // The edit box sees one line: the whole text.
    ASSERT_EQ(w->getFormattedLines().size(), 1u);
    EXPECT_EQ(w->getFormattedLines()[0].d_length, w->getText().length());
}

TEST_F(RichWindowTest, ScrollbarsShowByTheDocumentAndTheFlags)
{
    const std::string tall = "1\n2\n3\n4\n5\n6\n7\n8\n9\n10";                 // 120 px high
    const std::string wraps = std::string(22, 'x') + "\n2\n3\n4\n5\n6\n7\n8"; // 22 wide
    const std::string wide = std::string(30, 'w');                                    // 240 px wide
    struct Case
    {
        const char* name;
        std::string text;
        std::vector<std::pair<const char*, const char*>> properties;
        bool vert, horz;
        float docWidth, docHeight; // without the margin
    } cases[] = {
        {"short", "short", {}, false, false, 40, 12},
        // 22 characters fit the plain area (190) but not the area beside the
        // bar (174): the second layout splits them, the first part filling
        // the line.
        {"tall", wraps, {}, true, false, 174, 9 * 12},
        {"tall unwrapped", tall, {}, true, false, 16, 120},
        {"vertical forbidden", wraps, {{"ForceHideVertScrollbar", "True"}}, false, false, 176, 8 * 12},
        {"vertical forced", "short", {{"ForceVertScrollbar", "true"}}, true, false, 40, 12},
        {"vertical forced and forbidden", tall,
         {{"ForceVertScrollbar", "true"}, {"ForceHideVertScrollbar", "True"}}, false, false, 16, 120},
        // Without word wrapping the window measures the edit box's widest
        // line as the edit box would: wider than the area, the bottom bar shows and shortens
        // the area, so that 7 lines fit and 8 do not.
        {"wide", wide, {{"WordWrap", "false"}}, false, true, 190, 24},
        {"wide and tall", wide + "\n3\n4\n5\n6\n7\n8", {{"WordWrap", "false"}}, true, true, 174, 8 * 12},
        {"wide, forbidden", wide, {{"WordWrap", "false"}, {"ForceHideHorzScrollbar", "True"}}, false, false, 190,
         24},
    };
    int n = 0;
    for (const Case& c : cases)
    {
        QGUI::CGameMultiLine* w = box(c.text, "H/GameMultiLine", ("w" + std::to_string(n++)).c_str());
        for (const auto& p : c.properties)
            w->setProperty(p.first, p.second);
        w->setText(c.text);
        EXPECT_EQ(vbar(w)->isVisible(), c.vert) << c.name;
        EXPECT_EQ(hbar(w)->isVisible(), c.horz) << c.name;
        EXPECT_EQ(w->getDocSize(), CEGUI::Sizef(c.docWidth + 4, c.docHeight + 4)) << c.name;
        // The bars' ranges follow the document and the text area.
        const CEGUI::Rectf area = w->textArea();
        EXPECT_EQ(area.getWidth(), c.vert ? 176.0f : 192.0f) << c.name;
        EXPECT_EQ(area.getHeight(), c.horz ? 76.0f : 92.0f) << c.name;
        EXPECT_EQ(vbar(w)->getDocumentSize(), c.docHeight) << c.name;
        EXPECT_EQ(vbar(w)->getPageSize(), area.getHeight()) << c.name;
        EXPECT_EQ(vbar(w)->getStepSize(), area.getHeight() / 10) << c.name;
        EXPECT_EQ(hbar(w)->getPageSize(), area.getWidth()) << c.name;
        // The edit box sees one line.
        EXPECT_EQ(w->getFormattedLines().size(), 1u) << c.name;
    }
}

// The edit box's own word wrapping measures the rest of a long word anew for
// each line it fills; no way into the window runs it: the text stays one
// edit box line whatever brings the bar up or changes the layout.
TEST_F(RichWindowTest, ALongWordIsNeverWrappedByTheEditBox)
{
    const std::string word(100000, 'w');
    QGUI::CGameMultiLine* w = box();
    // What the edit box's lines are while a bar comes or goes.
    size_t linesSeen = 0;
    for (CEGUI::Scrollbar* bar : {vbar(w), hbar(w)})
        for (const CEGUI::String& event : {CEGUI::Window::EventShown, CEGUI::Window::EventHidden})
            bar->subscribeEvent(event, [&](const CEGUI::EventArgs&) {
                linesSeen = std::max(linesSeen, w->getFormattedLines().size());
                return true;
            });
    w->setText(word);
    ASSERT_TRUE(vbar(w)->isVisible());
    auto laidOut = [&](const char* step, size_t perLine) {
        EXPECT_EQ(linesSeen, 1u) << step;
        EXPECT_EQ(w->getFormattedLines().size(), 1u) << step;
        EXPECT_TRUE(vbar(w)->isVisible()) << step;
        const size_t length = w->getText().length();
        EXPECT_EQ(w->getDocHeight(), 12.0f * ((length + perLine - 1) / perLine) + 4) << step;
    };
    laidOut("text", 21); // 174 pixels beside the bar
    w->setHeight(CEGUI::UDim(0, 120)); // the look's areas keep their size
    laidOut("size", 21);
    w->setFont("HWide");
    laidOut("font", 10);
    w->setFont("HFont");
    // The edit box's setters, which a script reaches by a cast, and the
    // window's own; subscribers hear every change.
    int heard = 0;
    for (const CEGUI::String& event :
         {CEGUI::MultiLineEditbox::EventWordWrapModeChanged, CEGUI::MultiLineEditbox::EventVertScrollbarModeChanged})
        w->subscribeEvent(event, [&](const CEGUI::EventArgs&) {
            ++heard;
            return true;
        });
    for (const char* type : {"CEGUI::MultiLineEditbox", "QGUI::CGameMultiLine"})
    {
        ASSERT_EQ(run(std::string("local w = tolua.cast(CEGUI.System:getSingleton():getDefaultGUIContext()"
                                  ":getRootWindow():getChild('box'), '") +
                      type + "')\nassert(tolua.type(w) == '" + type +
                      "')\n"
                      "w:setWordWrapping(false) w:setShowVertScrollbar(true)\n"
                      "w:setWordWrapping(true) w:setShowVertScrollbar(false)"),
                  "");
        laidOut(type, 21);
    }
    EXPECT_EQ(heard, 8);
    for (const char* value : {"false", "true"})
    {
        w->setProperty("WordWrap", value);
        w->setProperty("ForceVertScrollbar", value);
        EXPECT_EQ(w->getProperty("WordWrap"), value);
        laidOut("properties", 21);
    }
    // Bars hidden and shown again by a short text and the long one.
    w->setText("short");
    w->setText(word);
    laidOut("text again", 21);
    // A lower capacity cuts the text.
    w->setMaxTextLength(50000);
    ASSERT_EQ(w->getText().length(), 50000u);
    laidOut("capacity", 21);
}

TEST_F(RichWindowTest, ASizeChangeLaysOutAgainAndTheBarGoes)
{
    QGUI::CGameMultiLine* w = box("1\n2\n3\n4\n5\n6\n7\n8\n9\n10");
    ASSERT_TRUE(vbar(w)->isVisible());
    vbar(w)->setScrollPosition(20);
    // Taller than the text: the bar goes and the position comes back to 0.
    w->setSize(CEGUI::USize(CEGUI::UDim(0, 200), CEGUI::UDim(0, 100)));
    auto* lines = static_cast<const QGUI::TextBlocks::CRichTextDoc*>(w->getDocument());
    ASSERT_EQ(lines->GetLines().size(), 10u);
    EXPECT_EQ(lines->GetRightEdge(), 174.0f);
    // The areas of the test look are fixed, so widening the window changes
    // only where the bar-free area applies; a shorter text drops the bar.
    w->setText("1\n2");
    EXPECT_FALSE(vbar(w)->isVisible());
    EXPECT_EQ(vbar(w)->getScrollPosition(), 0.0f);
    EXPECT_EQ(static_cast<const QGUI::TextBlocks::CRichTextDoc*>(w->getDocument())->GetRightEdge(), 190.0f);
}

TEST_F(RichWindowTest, PropertiesReadAndWriteTheirTexts)
{
    QGUI::CGameMultiLine* w = box("text");
    struct Case
    {
        const char* name;
        const char* initial;
        bool atDefault;
        const char* set;
        const char* after;
    } cases[] = {
        {"FrameEnabled", "True", true, "False", "False"},
        {"ForceHideVertScrollbar", "False", true, "True", "True"},
        {"ForceHideHorzScrollbar", "False", true, "true", "True"},
        {"DefaultColour", "FFFFFFFF", true, "FF102030", "FF102030"},
        {"Picked", "False", true, "True", "True"},
        {"CmdFont", "", false, "HWide", "HWide"},
        {"IndentRestLine", "0", false, "12", "12"},
        {"Indent1stLine", "0", false, "-3", "-3"},
        // Anything but "True" and "true" reads as false.
        {"ForceHideVertScrollbar", "True", false, "yes", "False"},
        {"DefaultColour", "FF102030", false, "not a colour", "FF000000"},
    };
    for (const Case& c : cases)
    {
        ASSERT_TRUE(w->isPropertyPresent(c.name)) << c.name;
        EXPECT_EQ(w->getProperty(c.name), c.initial) << c.name;
        EXPECT_EQ(w->isPropertyDefault(c.name), c.atDefault) << c.name;
        w->setProperty(c.name, c.set);
        EXPECT_EQ(w->getProperty(c.name), c.after) << c.name;
    }
    EXPECT_EQ(w->getPropertyDefault("CmdFont"), "False");
    EXPECT_EQ(w->getPropertyDefault("Indent1stLine"), "False");
    EXPECT_EQ(w->getPropertyDefault("EncodedText"), "");
    EXPECT_EQ(w->getCmdFont(), &CEGUI::FontManager::getSingleton().get("HWide"));

    // An unknown font throws; the name is kept, the font is not.
    EXPECT_THROW(w->setProperty("CmdFont", "NoSuchFont"), CEGUI::UnknownObjectException);
    EXPECT_EQ(w->getProperty("CmdFont"), "NoSuchFont");
    EXPECT_EQ(w->getCmdFont(), &CEGUI::FontManager::getSingleton().get("HWide"));
    w->setProperty("CmdFont", "");
    EXPECT_EQ(w->getCmdFont(), nullptr);

    // The shared set in its order, and the writer of the shared properties:
    // the three whose default is no value they read are always written.
    const char* order[] = {"FrameEnabled", "ForceHideVertScrollbar", "ForceHideHorzScrollbar", "EncodedText",
                           "DefaultColour", "Picked", "CmdFont", "IndentRestLine", "Indent1stLine"};
    for (const char* name : order)
        EXPECT_NE(w->FindSharePros(name), nullptr) << name;
    EXPECT_EQ(w->FindSharePros("Text"), nullptr);
    QGUI::CGameMultiLine* fresh = box("", "H/GameMultiLine", "fresh");
    std::ostringstream out;
    CEGUI::XMLSerializer xml(out);
    int count = 0;
    fresh->WriteSharePropToXML(xml, count);
    EXPECT_EQ(count, 3);
}

TEST_F(RichWindowTest, FrameAndPickedRedrawOnlyOnAChange)
{
    QGUI::CGameMultiLine* w = box("text");
    countRedraws(w);
    frame();
    EXPECT_EQ(redraws, 1);
    EXPECT_EQ(quadsOfColour(richwindow::kFramed).size(), 1u);
    EXPECT_TRUE(quadsOfColour(richwindow::kPickedFrame).empty());

    w->setProperty("FrameEnabled", "True");
    w->setProperty("Picked", "False");
    frame();
    EXPECT_EQ(redraws, 1);

    w->setProperty("FrameEnabled", "False");
    w->setProperty("Picked", "True");
    frame();
    EXPECT_EQ(redraws, 2);
    EXPECT_TRUE(quadsOfColour(richwindow::kFramed).empty());
    EXPECT_EQ(quadsOfColour(richwindow::kNoFrame).size(), 1u);
    EXPECT_EQ(quadsOfColour(richwindow::kPickedFrame).size(), 1u);
    // The next layout uses the frameless text area.
    w->setText("text");
    EXPECT_EQ(w->textArea(), CEGUI::Rectf(0, 0, 200, 100));
}

TEST_F(RichWindowTest, SavedLayoutsLoadBackTheSameWindow)
{
    QGUI::CGameMultiLine* w = box();
    w->setProperty("DefaultColour", "FF112233");
    w->setProperty("Indent1stLine", "16");
    w->setProperty("IndentRestLine", "8");
    w->setProperty("CmdFont", "HWide");
    w->setProperty("ForceHideVertScrollbar", "True");
    w->setProperty("Picked", "True");
    w->setProperty("FrameEnabled", "False");
    w->setText("one {C /two:two} three four five six seven eight nine ten");

    std::ostringstream out;
    CEGUI::XMLSerializer xml(out);
    w->writeXMLToStream(xml);
    std::string saved = out.str();
    saved = saved.substr(saved.find("?>") + 2);
    const std::string layout = "<?xml version=\"1.0\" ?><GUILayout version=\"4\">" + saved + "</GUILayout>";
    CEGUI::Window* loaded = CEGUI::WindowManager::getSingleton().loadLayoutFromString(layout);
    auto* copy = dynamic_cast<QGUI::CGameMultiLine*>(loaded);
    ASSERT_NE(copy, nullptr);
    copy->setName("copy");
    root->addChild(copy);
    for (const char* name : {"DefaultColour", "Indent1stLine", "IndentRestLine", "CmdFont", "ForceHideVertScrollbar",
                             "ForceHideHorzScrollbar", "Picked", "FrameEnabled", "Text"})
        EXPECT_EQ(copy->getProperty(name), w->getProperty(name)) << name;
    // Laid out again with everything in place, the two documents agree.
    copy->setText(w->getText());
    w->setText(w->getText());
    EXPECT_EQ(copy->getDocSize(), w->getDocSize());
    EXPECT_EQ(copy->getProperty("EncodedText"), w->getProperty("EncodedText"));
}

TEST_F(RichWindowTest, IndentsColourAndFontsShapeTheLayout)
{
    QGUI::CGameMultiLine* w = box();
    w->setProperty("Indent1stLine", "16");
    w->setProperty("IndentRestLine", "8");
    w->setProperty("DefaultColour", "FF00FF00");
    w->setText(std::string(30, 'a'));
    auto lines = [&] { return static_cast<const QGUI::TextBlocks::CRichTextDoc*>(w->getDocument())->GetLines(); };
    ASSERT_EQ(lines().size(), 2u);
    EXPECT_EQ(lines()[0]->GetRect().left(), 16.0f);
    EXPECT_EQ(lines()[1]->GetRect().left(), 8.0f);
    frame();
    ASSERT_FALSE(glyphs().empty());
    EXPECT_EQ(glyphs()[0].colour, 0xFF00FF00u);
    EXPECT_EQ(glyphs()[0].x, 100 + 4 + 16 - 1); // drawn half a pixel up and left

    // A new window font lays the text out again at once.
    const float narrow = w->getDocHeight();
    w->setFont("HWide");
    EXPECT_GT(w->getDocHeight(), narrow);
    EXPECT_EQ(lines().size(), 3u);

    // Command texts are drawn in the command font only.
    w->setFont("HFont");
    w->setText("{C /go:Go}");
    frame();
    EXPECT_TRUE(glyphs().empty());
    w->setProperty("CmdFont", "HFont");
    frame();
    EXPECT_EQ(glyphs().size(), 2u);
}

TEST_F(RichWindowTest, DrawingShowsTheScrolledPartUnlessTheBarIsForbidden)
{
    std::string text;
    for (int i = 0; i < 20; ++i)
        text += "line" + std::to_string(i) + "\n";
    QGUI::CGameMultiLine* w = box(text);
    frame();
    auto rows = glyphRows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front().first, 100 + 4 - 1);
    EXPECT_EQ(rows.front().second, 5); // "line0"

    vbar(w)->setScrollPosition(24);
    frame();
    rows = glyphRows();
    ASSERT_FALSE(rows.empty());
    // Clipped to the text area: line 2 ("line2") is the first whole row.
    EXPECT_EQ(rows.front().first, 100 + 4 - 1);

    // A forbidden bar keeps its position, but drawing starts at the top.
    w->setProperty("ForceHideVertScrollbar", "True");
    w->setText(text);
    vbar(w)->setScrollPosition(24);
    w->invalidate();
    frame();
    EXPECT_FALSE(vbar(w)->isVisible());
    EXPECT_EQ(vbar(w)->getScrollPosition(), 24.0f);
    rows = glyphRows();
    ASSERT_FALSE(rows.empty());
    EXPECT_EQ(rows.front().first, 100 + 4 - 1);
    EXPECT_EQ(rows.back().first - rows.front().first, 7 * 12);
}

TEST_F(RichWindowTest, PicturesAreDrawnByTheGameAtTheirPlace)
{
    QGUI::CGameMultiLine* w = box("ab{P 1:1}cd");
    frame();
    ASSERT_EQ(game.objectQuads.size(), 1u);
    const fake::ObjectQuad& q = game.objectQuads[0];
    EXPECT_EQ(q.id, 900u);
    EXPECT_EQ(q.op, (1u << 16) | 1u);
    // The picture's place: the window, the text area, two characters in.
    EXPECT_EQ(q.left, 100 + 4 + 16 - 1);
    EXPECT_EQ(q.top, 100 + 4 - 1);
    // Drawn every frame, redrawn or not, and gone with the text.
    frame();
    EXPECT_EQ(game.objectQuads.size(), 1u);
    w->setText("none");
    frame();
    EXPECT_TRUE(game.objectQuads.empty());
}

TEST_F(RichWindowTest, WindowsWithoutBarsOrAreasStillWork)
{
    QGUI::CGameMultiLine* w = box(std::string(60, 'b'), "H/BareMultiLine");
    EXPECT_EQ(w->vertScrollbar(), nullptr);
    EXPECT_EQ(w->textArea(), CEGUI::Rectf(0, 0, 200, 100));
    // 24 characters to a line of 198 pixels.
    EXPECT_EQ(w->getDocHeight(), 3 * 12 + 4.0f);
    frame();
    // Keys move the edit box's caret, also in a box a script made writable.
    w->setProperty("ReadOnly", "false");
    click(w);
    const UINT keys[] = {0x28 /* down */, 0x24 /* home */, 0x23 /* end */, 0x08 /* backspace */};
    for (UINT key : keys)
    {
        send(WM_KEYDOWN, key, 1);
        send(WM_KEYUP, key, 0xC0000001);
    }
    send(WM_MOUSEWHEEL, MakeWheelWParam(-120), MakeMouseLParam(150, 150));
    w->setText("");
    w->setFont("HWide");
    frame();
    EXPECT_FALSE(logger->hasPrefix("QGUI::CQGUI::"));

    // The renderer on a stock edit box draws the look only.
    CEGUI::Window* stock = create("H/StockMultiLine", "stock", 300, 300, 200, 100);
    stock->setText("{C /x:y}");
    frame();
    EXPECT_EQ(quadsOfColour(richwindow::kFramed).size(), 1u);
}

TEST_F(RichWindowTest, AGuideBoxIsAMultiLineWithItsStateImageUnderneath)
{
    const char* text = "Go {C /next:next page} and {N Bob:Bob}";
    QGUI::CGameMultiLine* multi = box(text);
    auto* guide = dynamic_cast<QGUI::GuideBox*>(box(text, "H/GuideBox", "guide", 400, 100));
    ASSERT_NE(guide, nullptr);
    EXPECT_EQ(guide->getDocSize(), multi->getDocSize());
    EXPECT_EQ(guide->getProperty("EncodedText"), multi->getProperty("EncodedText"));

    guide->setProperty("Picked", "True");
    frame();
    auto order = [&] {
        std::vector<uint32_t> colours;
        for (const harness::Quad& q : quads())
            if (q.x == 400 - 1 && q.width == 200)
                colours.push_back(q.colour);
        return colours;
    };
    EXPECT_EQ(order(), (std::vector<uint32_t>{richwindow::kGuide1, richwindow::kFramed, richwindow::kPickedFrame}));
    // The imagery follows the property at the next drawing.
    guide->setProperty("StateImage", "Guide2");
    guide->invalidate();
    frame();
    EXPECT_EQ(order(), (std::vector<uint32_t>{richwindow::kGuide2, richwindow::kFramed, richwindow::kPickedFrame}));
    // An imagery the look lacks is skipped, with one log line.
    guide->setProperty("StateImage", "Missing");
    guide->invalidate();
    frame();
    guide->invalidate();
    frame();
    EXPECT_EQ(order(), (std::vector<uint32_t>{richwindow::kFramed, richwindow::kPickedFrame}));
    size_t warnings = 0;
    for (const auto& l : logger->lines)
        warnings += l.first.find("GuideBoxRenderer") != std::string::npos;
    EXPECT_EQ(warnings, 1u);
}

TEST_F(RichWindowTest, ScriptsFillTheColourTable)
{
    ASSERT_EQ(run("local t = QGUI.TextParser.CColorPropertyManager:Instance() "
                  "t:RegisterColorByString('gold', 'FFFFD700', 'FF000000') "
                  "t:SetClickColorByString('FF00FF00', 'FF004000', 'FF80FF80') "
                  "t:RegisterColorByString(nil, nil, nil) t:SetClickColorByString(nil, 'x', nil) "
                  "t:SetClickColorByString('FF00FF00', 'FF004000', 'FF80FF80') "
                  "same = tostring(QGUI.TextParser.CColorPropertyManager:Instance() == t)"),
              "");
    EXPECT_EQ(text("same"), "true");
    EXPECT_NE(run("QGUI.TextParser.CColorPropertyManager.RegisterColorByString(nil, 'a', 'b', 'c')"), "");
    QGUI::CGameMultiLine* w = box("{T gold:ab}{C /c:cd}{T none:ef}");
    w->setProperty("CmdFont", "HFont");
    frame();
    std::vector<uint32_t> colours;
    for (const harness::Quad& q : glyphs())
        colours.push_back(q.colour);
    EXPECT_EQ(colours, (std::vector<uint32_t>{0xFFFFD700, 0xFFFFD700, 0xFF00FF00, 0xFF00FF00, 0xFFFFFFFF,
                                              0xFFFFFFFF}));
}

TEST_F(RichWindowTest, AnItemWhoseColourFetchFailsKeepsTheClickColours)
{
    ASSERT_EQ(run("QGUI.TextParser.CColorPropertyManager:Instance():SetClickColorByString("
                  "'FF00FF00', 'FF004000', 'FF80FF80')"),
              "");
    const auto itemColour = [&](const char* fetch) {
        EXPECT_EQ(run(fetch), "");
        QGUI::CGameMultiLine* w = box("{I 5:ab}");
        w->setProperty("CmdFont", "HFont");
        frame();
        const std::vector<harness::Quad> drawn = glyphs();
        const uint32_t colour = drawn.empty() ? 0 : drawn.front().colour;
        destroy(w);
        frame();
        return colour;
    };
    // A failing or missing fetch, or one that gives no text: click colour 1.
    EXPECT_EQ(itemColour("function FetchColourBySetFn(key, id) error('no colours') end"), 0xFF00FF00u);
    EXPECT_EQ(itemColour("FetchColourBySetFn = nil"), 0xFF00FF00u);
    EXPECT_EQ(itemColour("function FetchColourBySetFn(key, id) end"), 0xFF00FF00u);
    // Other callers still get the colour of no text; a working script's
    // text that is no colour still reads as opaque black.
    EXPECT_EQ(gui->FetchColourBySet("item_color", 5), 0xFF000000u);
    EXPECT_EQ(itemColour("function FetchColourBySetFn(key, id) return 'zz' end"), 0xFF000000u);
    EXPECT_EQ(itemColour("function FetchColourBySetFn(key, id) return 'FFAABBCC' end"), 0xFFAABBCCu);
}

TEST_F(RichWindowTest, ColourNamesFromScriptsAreDecodedAsUtf8)
{
    // A lead byte with nothing after it, and U+4E2D.
    ASSERT_EQ(run("local t = QGUI.TextParser.CColorPropertyManager:Instance() "
                  "t:RegisterColorByString('\\240', 'FF00FF00', 'FF000000') "
                  "t:RegisterColorByString('\\228\\184\\173', 'FFFFD700', 'FF000000')"),
              "");
    const auto& table = QGUI::TextParser::CColorPropertyManager::Instance();
    EXPECT_EQ(table.FindColor(CEGUI::String(1, 0xFFFD)).text, 0xFF00FF00u);
    EXPECT_EQ(table.FindColor(CEGUI::String(1, 0x4E2D)).text, 0xFFFFD700u);
}

TEST_F(RichWindowTest, UnknownTagsAndColourNamesAreWarnedOncePerName)
{
    const auto count = [&](const std::string& prefix) {
        return std::count_if(logger->lines.begin(), logger->lines.end(), [&](const auto& l) {
            return l.first.compare(0, prefix.size(), prefix) == 0 && l.second == CEGUI::Warnings;
        });
    };
    const std::string tag = "QGUI::TextParser::CSimpleParserManager: the rich-text tag ";
    const std::string colour = "QGUI::TextParser::CColorPropertyManager: the colour ";
    QGUI::CGameMultiLine* w = box("{X a:b} {X c:d} {T nocolour:e} {T nocolour:f}");
    w->setText(w->getText() + " {X g:h}");
    frame();
    EXPECT_TRUE(logger->has(tag + "'{X' is not known; it is shown as text.", CEGUI::Warnings));
    EXPECT_TRUE(logger->has(colour + "'nocolour' is not registered; text in it is drawn in the default colours.",
                            CEGUI::Warnings));
    EXPECT_EQ(count(tag), 1);
    EXPECT_EQ(count(colour), 1);

    // Hostile text cannot grow the names kept without end.
    std::string many;
    for (int i = 0; i < 100; ++i)
        many += "{K" + std::to_string(i) + " x}";
    box(many, "H/GameMultiLine", "many");
    EXPECT_EQ(count(tag), static_cast<std::ptrdiff_t>(QGUI::TextParser::MaxReportedUnknownTags));
    EXPECT_TRUE(logger->has(tag + "'{K62' is not known; it is shown as text. Further unknown tags are not reported.",
                            CEGUI::Warnings));
}
} // namespace
