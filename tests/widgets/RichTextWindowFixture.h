// Test looks and a fixture for the rich-text window and the guide box.
//
// "H/GameMultiLine" is 200 x 100 pixels: its text areas are
//   TextArea          4,4 .. 196,96   (the document's right edge is 190)
//   NoFrameTextArea   0,0 .. 200,100
//   TextAreaVScroll   4,4 .. 180,96   (right edge 174)
//   TextAreaHScroll   4,4 .. 196,80
//   TextAreaHVScroll  4,4 .. 180,80
// with a vertical bar at the right and a horizontal one at the bottom.
// The test font draws 8 pixels per character and 12 per line, so a line
// of the plain text area holds 23 characters, 21 beside the vertical bar.
// "H/BareMultiLine" has no imagery, no areas and no bars; "H/GuideBox" draws
// the imagery its "StateImage" property names ("Guide1" at first).
#pragma once

#include "WidgetHarness.h"
#include "richtext/GameMultiLine.h"
#include "richtext/GuideBox.h"
#include "richtext/RichTextServices.h"

namespace richwindow
{
const uint32_t kFramed = 0xFF0000F1;
const uint32_t kNoFrame = 0xFF0000F2;
const uint32_t kPickedFrame = 0xFF0000F3;
const uint32_t kGuide1 = 0xFF0000F4;
const uint32_t kGuide2 = 0xFF0000F5;
const uint32_t kScrollbar = 0xFF0000F6;

inline std::string AbsArea(float l, float t, float w, float h)
{
    return "<Area>" + harness::Style::dim("LeftEdge", l) + harness::Style::dim("TopEdge", t) +
           harness::Style::dim("Width", w) + harness::Style::dim("Height", h) + "</Area>";
}

inline std::string Scrollbars()
{
    return "<Child type=\"H/VScroll\" nameSuffix=\"__auto_vscrollbar__\">" + AbsArea(184, 0, 16, 84) +
           "</Child><Child type=\"H/HScroll\" nameSuffix=\"__auto_hscrollbar__\">" + AbsArea(0, 84, 184, 16) +
           "</Child>";
}

// A game picture of the host's texture manager: 16 x 16 for (1, 1), 10 x 10
// for the emotes.
struct PictureTextures : fake::Render
{
    fake::Texture picture{16, 16, nullptr};
    fake::Texture emote{10, 10, nullptr};
    IQXHostTexture* GetPicture(uint32_t group, uint32_t number) override
    {
        if (group == 1 && number == 1)
            return &picture;
        return group == 4 && number >= 14500 && number < 14700 ? &emote : nullptr;
    }
};

struct RichWindowTest : harness::WidgetHarness
{
    PictureTextures pictures;

    void addLooks(harness::Style& s) override
    {
        const std::vector<std::pair<std::string, std::string>> areas = {
            {"TextArea", "4,4,196,96"},         {"NoFrameTextArea", "0,0,200,100"},
            {"TextAreaVScroll", "4,4,180,96"},  {"TextAreaHScroll", "4,4,196,80"},
            {"TextAreaHVScroll", "4,4,180,80"},
        };
        s.look("H/GameMultiLine", "QXGame/GameMultiLine", "QXGame/GameMultiLineRenderer",
               {{"Framed", kFramed}, {"NoFrame", kNoFrame}, {"PickedFrame", kPickedFrame}}, areas, {},
               Scrollbars());
        s.look("H/BareMultiLine", "QXGame/GameMultiLine", "QXGame/GameMultiLineRenderer", {});
        s.look("H/GuideBox", "QXGame/GuideBox", "QXGame/GuideBox",
               {{"Framed", kFramed}, {"PickedFrame", kPickedFrame}, {"Guide1", kGuide1}, {"Guide2", kGuide2}},
               areas, {},
               "<PropertyDefinition name=\"StateImage\" type=\"String\" initialValue=\"Guide1\" />" + Scrollbars());
        // The renderer on a stock edit box.
        s.look("H/StockMultiLine", "CEGUI/MultiLineEditbox", "QXGame/GameMultiLineRenderer",
               {{"Framed", kFramed}}, areas, {}, Scrollbars());
        // Scrollbars: a track, two buttons and a thumb.
        s.look("H/VScroll", "CEGUI/Scrollbar", "Core/Scrollbar", {{"Enabled", kScrollbar}},
               {{"ThumbTrackArea", "0,16,16,68"}}, {{"VerticalScrollbar", "true"}},
               "<Child type=\"H/SBButton\" nameSuffix=\"__auto_decbtn__\">" + AbsArea(0, 0, 16, 16) +
                   "</Child><Child type=\"H/SBButton\" nameSuffix=\"__auto_incbtn__\">" + AbsArea(0, 68, 16, 16) +
                   "</Child><Child type=\"H/SBThumb\" nameSuffix=\"__auto_thumb__\">" + AbsArea(0, 16, 16, 16) +
                   "</Child>");
        s.look("H/HScroll", "CEGUI/Scrollbar", "Core/Scrollbar", {{"Enabled", kScrollbar}},
               {{"ThumbTrackArea", "16,0,168,16"}}, {{"VerticalScrollbar", "false"}},
               "<Child type=\"H/SBButton\" nameSuffix=\"__auto_decbtn__\">" + AbsArea(0, 0, 16, 16) +
                   "</Child><Child type=\"H/SBButton\" nameSuffix=\"__auto_incbtn__\">" + AbsArea(168, 0, 16, 16) +
                   "</Child><Child type=\"H/SBThumb\" nameSuffix=\"__auto_thumb__\">" + AbsArea(16, 0, 16, 16) +
                   "</Child>");
        s.look("H/SBButton", "CEGUI/PushButton", "Core/Button", {{"Normal", kScrollbar}});
        s.look("H/SBThumb", "CEGUI/Thumb", "Core/Button", {{"Normal", kScrollbar}});
    }
    void addStyleFiles() override
    {
        fs.files["resource\\UI\\schemes\\HCore.scheme"] =
            "<?xml version=\"1.0\" ?><GUIScheme version=\"5\" name=\"HCore\">"
            "<WindowRendererSet filename=\"CEGUICoreWindowRendererSet\" /></GUIScheme>";
        // A second font, twice as wide.
        servePixmapFont("HWide", "HWide", 16);
    }
    void SetUp() override
    {
        harness::WidgetHarness::SetUp();
        if (HasFatalFailure())
            return;
        CEGUI::SchemeManager::getSingleton().createFromFile("HCore.scheme");
        CEGUI::FontManager::getSingleton().createFromFile("HWide.font");
        QGUI::CQGUI* module = gui;
        const QGUI::TextBlocks::ServiceStandIns standIns{
            gui, &pictures, [module](int id, uint32_t& colour) { return module->TryFetchColourBySet("item_color", id, colour); }};
        QGUI::TextBlocks::SetServiceStandIns(&standIns);
        game.answerInt("GameCreatureProvider", "CreatureId", 900);
        // Items take their colour from the scripts.
        ASSERT_EQ(run("function FetchColourBySetFn(key, id) return 'FF00FFFF' end"), "");
    }
    void TearDown() override
    {
        QGUI::TextBlocks::SetServiceStandIns(nullptr);
        harness::WidgetHarness::TearDown();
    }

    QGUI::CGameMultiLine* box(const std::string& text = "", const char* look = "H/GameMultiLine",
                              const char* name = "box", float x = 100, float y = 100,
                              CEGUI::Window* parent = nullptr)
    {
        auto* w = create<QGUI::CGameMultiLine>(look, name, x, y, 200, 100, parent);
        if (w && !text.empty())
            w->setText(text);
        return w;
    }
    static CEGUI::Scrollbar* vbar(QGUI::CGameMultiLine* w) { return w->vertScrollbar(); }
    static CEGUI::Scrollbar* hbar(QGUI::CGameMultiLine* w) { return w->horzScrollbar(); }
    // Counts the window's redraws.
    int redraws = 0;
    void countRedraws(CEGUI::Window* w)
    {
        w->subscribeEvent(CEGUI::Window::EventRenderingStarted, [this](const CEGUI::EventArgs&) {
            ++redraws;
            return true;
        });
    }
    // Rows of glyphs drawn, top to bottom: each row's y and its glyph count.
    std::vector<std::pair<int, int>> glyphRows() const
    {
        std::map<int, int> rows;
        for (const harness::Quad& q : glyphs())
            ++rows[q.y];
        return std::vector<std::pair<int, int>>(rows.begin(), rows.end());
    }
    // Presses and lets go of a button at window pixel (x, y) of w.
    void clickAt(const CEGUI::Window* w, float x, float y, harness::Button button = harness::Left)
    {
        const CEGUI::Vector2f at = w->getUnclippedOuterRect().get().d_min + CEGUI::Vector2f(x, y);
        const LPARAM lp = MakeMouseLParam(int(at.d_x), int(at.d_y));
        send(WM_MOUSEMOVE, 0, lp);
        const UINT down = button == harness::Left ? WM_LBUTTONDOWN
                          : button == harness::Right ? WM_RBUTTONDOWN
                                                     : WM_MBUTTONDOWN;
        send(down, 0, lp);
        send(down + 1, 0, lp);
    }
    void moveTo(const CEGUI::Window* w, float x, float y)
    {
        const CEGUI::Vector2f at = w->getUnclippedOuterRect().get().d_min + CEGUI::Vector2f(x, y);
        send(WM_MOUSEMOVE, 0, MakeMouseLParam(int(at.d_x), int(at.d_y)));
    }
    std::vector<harness::Record> clicks() const
    {
        std::vector<harness::Record> out;
        for (const harness::Record& m : game.messages)
            if (m.name == "_KeyVal_Cmd_Click")
                out.push_back(m);
        return out;
    }
};
} // namespace richwindow
