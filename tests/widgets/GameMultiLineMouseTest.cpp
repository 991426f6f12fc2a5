// The rich-text window under the mouse: clicks and hovering reach the
// document at the point shown, the wheel scrolls the box and its parent, and
// scripts or the game that change, clear or destroy the window while it
// works (a click's callback or message, an item's colour, an item
// reference) leave nothing dangling (the sanitizer build checks).
#include "RichTextWindowFixture.h"

#include "richtext/ColourTable.h"
#include "richtext/Document.h"

namespace
{
using richwindow::RichWindowTest;

const uint32_t kClickText = 0xFF00A000;
const uint32_t kClickHighlight = 0xFF00B000;
const uint32_t kClickHover = 0xFF00C000;

struct RichWindowMouseTest : RichWindowTest
{
    void SetUp() override
    {
        RichWindowTest::SetUp();
        QGUI::TextParser::CColorPropertyManager::Instance().SetClickColor(kClickText, kClickHighlight, kClickHover);
    }
    // Lua text that finds the test's window.
    static std::string window(const char* name = "box")
    {
        return std::string("CEGUI.System:getSingleton():getDefaultGUIContext():getRootWindow():getChild('") + name +
               "')";
    }
};

TEST_F(RichWindowMouseTest, ClicksReachTheBlockShownUnderTheMouse)
{
    std::string tall = "{C /first:First}";
    for (int i = 2; i <= 9; ++i)
        tall += "\n" + std::to_string(i);
    tall += "\n{N Bob:Bob} {C /last:Last}";
    struct Case
    {
        const char* name;
        std::string text;
        float scroll;      // vertical scroll position
        bool forbidBar;    // "ForceHideVertScrollbar"
        float x, y;        // window pixels
        harness::Button button;
        const char* content; // null: no click message
        const char* buttonType;
        const char* opcode;
    } cases[] = {
        {"left", "{C /go:Go} {N Bob:Bob}", 0, false, 9, 9, harness::Left, "/go", "_KeyVal_Cmd_MouseButton_Left", "0"},
        {"right", "{C /go:Go} {N Bob:Bob}", 0, false, 9, 9, harness::Right, "/go", "_KeyVal_Cmd_MouseButton_Right",
         "0"},
        // A middle press counts as held only with the right button down.
        {"middle", "{C /go:Go}", 0, false, 9, 9, harness::Middle, nullptr, nullptr, nullptr},
        {"name", "{C /go:Go} {N Bob:Bob}", 0, false, 4 + 24 + 5, 9, harness::Left, "Bob",
         "_KeyVal_Cmd_MouseButton_Left", "1"},
        {"no block", "{C /go:Go}", 0, false, 100, 60, harness::Left, nullptr, nullptr, nullptr},
        // Scrolled to the end: the last line shows at the bottom of the area.
        {"scrolled", tall, 1000, false, 4 + 36 + 5, 96 - 6, harness::Left, "/last", "_KeyVal_Cmd_MouseButton_Left",
         "0"},
        // A forbidden bar keeps its position, but the document shows from its
        // top, and the mouse finds what is shown.
        {"forbidden bar", tall, 24, true, 9, 9, harness::Left, "/first", "_KeyVal_Cmd_MouseButton_Left", "0"},
    };
    int n = 0;
    for (const Case& c : cases)
    {
        const std::string name = "w" + std::to_string(n++);
        QGUI::CGameMultiLine* w = box("", "H/GameMultiLine", name.c_str());
        if (c.forbidBar)
            w->setProperty("ForceHideVertScrollbar", "True");
        w->setText(c.text);
        vbar(w)->setScrollPosition(c.scroll);
        frame();
        game.clear();
        clickAt(w, c.x, c.y, c.button);
        const auto sent = clicks();
        if (!c.content)
        {
            EXPECT_TRUE(sent.empty()) << c.name;
        }
        else
        {
            ASSERT_EQ(sent.size(), 1u) << c.name;
            EXPECT_EQ(sent[0].value("_KeyVal_Cmd_Content"), c.content) << c.name;
            EXPECT_EQ(sent[0].value("_KeyVal_Cmd_MouseButton_Type"), c.buttonType) << c.name;
            EXPECT_EQ(sent[0].value("_KeyVal_Cmd_Opcode"), c.opcode) << c.name;
            EXPECT_EQ(sent[0].value("_KeyVal_Cmd_WholeText"), c.text) << c.name;
        }
        destroy(w);
        frame();
    }
}

TEST_F(RichWindowMouseTest, AMiddlePressWithTheRightButtonHeldClicks)
{
    QGUI::CGameMultiLine* w = box("{C /go:Go}");
    frame();
    moveTo(w, 9, 9);
    send(WM_RBUTTONDOWN, 0, MakeMouseLParam(109, 109));
    send(WM_MBUTTONDOWN, 0, MakeMouseLParam(109, 109));
    const auto sent = clicks();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].value("_KeyVal_Cmd_MouseButton_Type"), "_KeyVal_Cmd_MouseButton_Right");
    EXPECT_EQ(sent[1].value("_KeyVal_Cmd_MouseButton_Type"), "");
    EXPECT_EQ(sent[1].value("_KeyVal_Cmd_Content"), "/go");
}

TEST_F(RichWindowMouseTest, HoveringACommandHighlightsItUntilTheMouseLeaves)
{
    QGUI::CGameMultiLine* w = box("{C /go:Go} text");
    w->setProperty("SelectionBrushImage", "H/White");
    w->setProperty("CmdFont", "HFont");
    countRedraws(w);
    frame();
    auto colourOfFirstGlyph = [&] { return glyphs().empty() ? 0u : glyphs()[0].colour; };
    EXPECT_EQ(colourOfFirstGlyph(), kClickText);
    EXPECT_TRUE(quadsOfColour(kClickHighlight).empty());
    const int before = redraws;

    moveTo(w, 9, 9);
    frame();
    EXPECT_EQ(redraws, before + 1);
    EXPECT_EQ(colourOfFirstGlyph(), kClickHover);
    ASSERT_EQ(quadsOfColour(kClickHighlight).size(), 1u);
    EXPECT_EQ(quadsOfColour(kClickHighlight)[0].width, 16.0f);

    // Moving within the block changes nothing.
    moveTo(w, 10, 10);
    frame();
    EXPECT_EQ(redraws, before + 1);

    // Out of the window: nothing stays hovered.
    send(WM_MOUSEMOVE, 0, MakeMouseLParam(700, 500));
    frame();
    EXPECT_EQ(redraws, before + 2);
    EXPECT_EQ(colourOfFirstGlyph(), kClickText);
    EXPECT_TRUE(quadsOfColour(kClickHighlight).empty());
}

TEST_F(RichWindowMouseTest, TheWheelScrollsTheBoxThenItsParent)
{
    CEGUI::Window* parent = create("DefaultWindow", "parent", 50, 50, 400, 300);
    std::string tall;
    for (int i = 0; i < 20; ++i)
        tall += std::to_string(i) + "\n";
    QGUI::CGameMultiLine* w = box(tall, "H/GameMultiLine", "box", 50, 50, parent);
    QGUI::CGameMultiLine* bare = box(tall, "H/BareMultiLine", "bare", 50, 160, parent);
    int parentWheels = 0;
    parent->subscribeEvent(CEGUI::Window::EventMouseWheel, [&](const CEGUI::EventArgs&) {
        ++parentWheels;
        return true;
    });
    frame();
    send(WM_MOUSEMOVE, 0, MakeMouseLParam(150, 150));
    send(WM_MOUSEWHEEL, MakeWheelWParam(-120), MakeMouseLParam(150, 150));
    EXPECT_EQ(vbar(w)->getScrollPosition(), vbar(w)->getStepSize());
    EXPECT_EQ(parentWheels, 1);
    send(WM_MOUSEMOVE, 0, MakeMouseLParam(150, 260));
    send(WM_MOUSEWHEEL, MakeWheelWParam(-120), MakeMouseLParam(150, 260));
    EXPECT_EQ(parentWheels, 2);
    EXPECT_EQ(bare->getDocument() != nullptr, true);
}

TEST_F(RichWindowMouseTest, AClickWhoseScriptClearsOrDestroysTheWindowIsSafe)
{
    ASSERT_EQ(run("function gFn_guide_cmd_text_on_click(op, cmd) last = cmd; " + window() +
                  ":setText('') end"),
              "");
    QGUI::CGameMultiLine* w = box("{C /go:Go} and {C /more:More}");
    frame();
    clickAt(w, 9, 9);
    EXPECT_EQ(text("last"), "/go");
    ASSERT_EQ(clicks().size(), 1u);
    EXPECT_EQ(clicks()[0].value("_KeyVal_Cmd_Content"), "/go");
    EXPECT_EQ(w->getText(), "\n");
    EXPECT_EQ(w->getProperty("EncodedText"), "\n");
    frame();
    clickAt(w, 9, 9);
    EXPECT_EQ(clicks().size(), 1u);

    // Destroyed from the click's callback, mid-click.
    ASSERT_EQ(run("function gFn_guide_cmd_text_on_click(op, cmd) last = cmd; "
                  "CEGUI.WindowManager:getSingleton():destroyWindow(" +
                  window() + ") end"),
              "");
    w->setText("{C /bye:Bye}");
    frame();
    clickAt(w, 9, 9);
    EXPECT_EQ(text("last"), "/bye");
    EXPECT_EQ(w->getDocument(), nullptr);
    EXPECT_EQ(w->getDocSize(), CEGUI::Sizef(4, 4));
    frame();
    moveTo(root, 109, 109);
    frame();
    EXPECT_FALSE(logger->hasPrefix("QGUI::CQGUI::"));
}

struct MessageHandlerTest : RichWindowMouseTest
{
    // The game's handling of a message runs the test's code first.
    struct HookedGame : harness::Game
    {
        std::function<void()> onMessage;
        bool RecvKeyVal(KeyValues* m) override
        {
            if (onMessage)
                onMessage();
            return harness::Game::RecvKeyVal(m);
        }
    } hooked;
    fake::Engine* engineClient() override { return &hooked; }
};

TEST_F(MessageHandlerTest, AClickWhoseMessageChangesTheTextIsSafe)
{
    QGUI::CGameMultiLine* w = box("{C /go:Go}{E 3}");
    hooked.onMessage = [&] { w->setText("{C /new:New}"); };
    frame();
    clickAt(w, 9, 9);
    ASSERT_EQ(hooked.messages.size(), 1u);
    EXPECT_EQ(hooked.messages[0].value("_KeyVal_Cmd_Content"), "/go");
    EXPECT_EQ(w->getProperty("EncodedText"), "New");
    // An emote's message destroys the window.
    w->setText("ab{E 3}");
    hooked.onMessage = [&] { destroy(w); };
    frame();
    clickAt(w, 4 + 16 + 3, 9);
    ASSERT_EQ(hooked.messages.size(), 2u);
    EXPECT_EQ(hooked.messages[1].value("_KeyVal_Cmd_PicIdx"), "3");
    EXPECT_EQ(w->getDocument(), nullptr);
    hooked.onMessage = nullptr;
    frame();
}

TEST_F(RichWindowMouseTest, ScriptsRunDuringALayoutMayLayTheWindowOutAgain)
{
    // An item asks the scripts for its colour; the script gives the window
    // a new text in the middle of the layout. The first layout finishes
    // (and reports its item), then the new text is laid out.
    ASSERT_EQ(run("refs = '' function gFn_chatItem_add_ref(id) refs = refs .. '+' .. id end "
                  "function gFn_chatItem_release_ref(id) refs = refs .. '-' .. id end "
                  "function FetchColourBySetFn(key, id) "
                  "  if id == 5 then " + window() + ":setText('{I 6:Axe} new') end "
                  "  return 'FF00FFFF' end"),
              "");
    QGUI::CGameMultiLine* w = box("old {I 5:Sword} old");
    EXPECT_EQ(w->getText(), "{I 6:Axe} new");
    EXPECT_EQ(w->getProperty("EncodedText"), "Axe new");
    EXPECT_EQ(text("refs"), "+5+6-5");
    frame();

    // The scripts that hear of the references destroy the window.
    ASSERT_EQ(run("function gFn_chatItem_add_ref(id) refs = refs .. '+' .. id; "
                  "CEGUI.WindowManager:getSingleton():destroyWindow(" +
                  window() + ") end"),
              "");
    w->setText("{I 7:Bow}");
    EXPECT_EQ(w->getDocument(), nullptr);
    EXPECT_EQ(text("refs"), "+5+6-5+7-6-7");
    frame();
}

TEST_F(RichWindowMouseTest, AScriptThatChangesTheTextInEveryLayoutIsCutOff)
{
    ASSERT_EQ(run("n = 0 function FetchColourBySetFn(key, id) n = n + 1; " + window() +
                  ":setText('{I ' .. n .. ':x}') return 'FF00FFFF' end"),
              "");
    QGUI::CGameMultiLine* w = box("{I 0:x}");
    EXPECT_EQ(number("n"), 1 + QGUI::CGameMultiLine::MaxQueuedLayouts);
    EXPECT_TRUE(logger->hasPrefix("QGUI::CGameMultiLine: window 'box' was given new text during every layout"));
    ASSERT_EQ(run("function FetchColourBySetFn(key, id) return 'FF00FFFF' end"), "");
    w->setText("{I 1:y} done");
    EXPECT_EQ(w->getProperty("EncodedText"), "y done");
}

TEST_F(RichWindowMouseTest, ADestroyedWindowReleasesItsItems)
{
    ASSERT_EQ(run("refs = '' function gFn_chatItem_add_ref(id) refs = refs .. '+' .. id end "
                  "function gFn_chatItem_release_ref(id) refs = refs .. '-' .. id end"),
              "");
    QGUI::CGameMultiLine* w = box("{I 5:Sword} and {I 6:Axe}");
    w->setText("{I 6:Axe} only");
    EXPECT_EQ(text("refs"), "+5+6-5");
    destroy(w);
    EXPECT_EQ(text("refs"), "+5+6-5-6");
    frame();
}
} // namespace
