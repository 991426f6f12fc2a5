// The README's main job inside one test: the module runs the sample start-up
// script, the host feeds the sample event script frame by frame, the clicks
// on the main panel's button and on a bag slot reach the engine client as
// messages, and the frame shows the panels, the button, the texts, the
// pictures the game draws for the bag's objects and the cursor.
#include <gtest/gtest.h>

#include <CEGUI/CEGUI.h>

#include <string>
#include <vector>

#include "EventScript.h"
#include "HostFileSystem.h"
#include "HostSession.h"
#include "KeyValues.h"
#include "SampleArt.h"
#include "SampleWindows.h"

using namespace QHost;

namespace
{
int Channel(uint32_t v, int shift) { return int((v >> shift) & 0xFF); }
} // namespace

TEST(ScriptedEndToEndTest, SampleScriptsAndEventsPostTheClickAndDrawBothPanels)
{
    // The module's GUI system lives as long as the process: ctest runs each
    // test of this program in a process of its own.
    if (CEGUI::System::getSingletonPtr())
        GTEST_SKIP() << "another test of this process already started the GUI system";

    std::vector<HostMessage> events;
    std::string error;
    ASSERT_TRUE(LoadEventScript(QHOST_ROOT_DIR "/resource/UI/events/sample.events", &events, &error))
        << error;

    HostFileSystem files(QHOST_ROOT_DIR);
    HostSession session(&files, 1024, 768);
    session.engine.echo = nullptr;
    ASSERT_TRUE(session.loadModule(QHOST_MODULE_PATH, &error)) << error;
    ASSERT_TRUE(session.init(&error)) << error;
    ASSERT_TRUE(session.gui()->ExecuteScpritFile("main.lua"));

    // The start-up script built both panels on the root sheet.
    CEGUI::Window* mainPanel = PanelChild("QXMainPanel_Wnd");
    CEGUI::Window* infoPanel = PanelChild("QXInfoPanel_Wnd");
    CEGUI::Window* button = PanelChild("QXMainPanel_Wnd/SendButton");
    ASSERT_NE(mainPanel, nullptr) << "main.lua did not open QXMainPanel (see CEGUI.log)";
    ASSERT_NE(infoPanel, nullptr) << "main.lua did not open QXInfoPanel (see CEGUI.log)";
    ASSERT_NE(PanelChild("QXBagPanel_Wnd"), nullptr) << "main.lua did not open QXBagPanel (see CEGUI.log)";
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(mainPanel->getType(), "QXLook/FrameWindow");
    EXPECT_EQ(button->getType(), "QXLook/Button");

    EventPlayer player(events);
    const long frames = 30;
    for (long frame = 1; frame <= frames; ++frame)
        session.frame([&] { player.feedFrame(session, frame, nullptr); });
    EXPECT_EQ(player.pending(), 0u) << "the sample events must fit the main job's 30 frames";

    // The sample's left clicks land on the button, then on the bag's first
    // slot, and the module reports each half consumed (over an interface
    // window).
    const Box buttonBox = BoxOf(button);
    CEGUI::Window* slot = PanelChild("QXBagPanel_Wnd/Item0");
    ASSERT_NE(slot, nullptr);
    const Box slotBox = BoxOf(slot);
    int clicks = 0;
    for (const EventPlayer::Result& r : player.results())
    {
        if (r.message->message != WM_LBUTTONDOWN && r.message->message != WM_LBUTTONUP)
            continue;
        const Box& target = clicks++ < 2 ? buttonBox : slotBox;
        EXPECT_TRUE(target.contains(GetXLParam(r.message->lParam), GetYLParam(r.message->lParam)))
            << "line " << r.message->line << " misses its window";
        EXPECT_TRUE(r.consumed) << "line " << r.message->line;
    }
    EXPECT_EQ(clicks, 4);

    // Two messages reached the game, handed over in the local code page:
    // the keys the button's handler set, then the slot the icon names.
    ASSERT_EQ(session.engine.messages.size(), 2u);
    KeyValues* message = session.engine.messages[0];
    EXPECT_STREQ(message->GetName(), "_KeyVal_Sample_Click");
    EXPECT_STREQ(message->GetString("Button"), "SendButton");
    EXPECT_EQ(message->GetInt("Count"), 1);
    EXPECT_EQ(HostEngineClient::Describe(message),
              "_KeyVal_Sample_Click {Button=\"SendButton\" Count=1}");
    EXPECT_EQ(HostEngineClient::Describe(session.engine.messages[1]),
              "_KeyVal_ItemIcon_Click {PackageName=\"Bag\" PackageId=0 PackageIndex=0 "
              "_KeyVal_Cmd_MouseButton_Type=\"_KeyVal_Cmd_MouseButton_Left\"}");
    EXPECT_EQ(PanelChild("QXBagPanel_Wnd/Hint")->getText(), "Used the slot Item0.");

    // The panel scripts updated their texts from the click and the typed
    // character.
    EXPECT_EQ(PanelChild("QXMainPanel_Wnd/Status")->getText(), "Sent message 1 to the game.");
    EXPECT_EQ(PanelChild("QXInfoPanel_Wnd/Clicks")->getText(), "Messages posted: 1");
    EXPECT_EQ(PanelChild("QXInfoPanel_Wnd/LastChar")->getText(), "Last character: 'a'");

    // The last frame: each panel's rim and body, the title bar above the
    // body, the close button, the button face, the cursor.
    const HostRender& r = session.render;
    for (CEGUI::Window* panel : {mainPanel, infoPanel})
    {
        const Box b = BoxOf(panel);
        const int midY = (b.top + b.bottom) / 2;
        EXPECT_EQ(r.pixel(b.left, b.bottom - 1), SampleArt::kFrameOutline);
        EXPECT_EQ(r.pixel(b.left + 1, midY), SampleArt::kFrameGold);
        EXPECT_EQ(r.pixel(b.right - 2, midY), SampleArt::kFrameGold);
        EXPECT_EQ(r.pixel(b.right - 20, b.bottom - 20), SampleArt::kFrameBackground);
        EXPECT_EQ(r.pixel(b.left - 2, midY), HostRender::kDefaultBackground);

        CEGUI::Window* titlebar = panel->getChild(CEGUI::FrameWindow::TitlebarName);
        const Box t = BoxOf(titlebar);
        EXPECT_EQ(t.top, b.top);
        EXPECT_EQ(r.pixel((t.left + t.right) / 2, t.top), SampleArt::kFrameOutline);
        EXPECT_EQ(r.pixel((t.left + t.right) / 2, t.bottom - 1), SampleArt::kFrameGold);
        // Caption glyphs: light pixels on the bar's left half.
        int caption = 0;
        for (int y = t.top + 2; y < t.bottom - 2; ++y)
            for (int x = t.left + 8; x < (t.left + t.right) / 2; ++x)
                caption += Channel(r.pixel(x, y), 16) > 0xC0 && Channel(r.pixel(x, y), 8) > 0xC0;
        EXPECT_GT(caption, 20);

        const Box c = BoxOf(panel->getChild(CEGUI::FrameWindow::CloseButtonName));
        EXPECT_EQ(c.right - c.left, SampleArt::kCloseNormal.width);
        EXPECT_TRUE(t.contains(c.left, c.top));
        EXPECT_EQ(r.pixel(c.left + 3, c.top + 3), SampleArt::kCloseCross);
    }

    // The button face (away from its caption) and white caption glyphs.
    EXPECT_EQ(r.pixel(buttonBox.left, buttonBox.top), SampleArt::kFrameOutline);
    int glyphs = 0;
    for (int y = buttonBox.top; y < buttonBox.bottom; ++y)
        for (int x = buttonBox.left; x < buttonBox.right; ++x)
            glyphs += r.pixel(x, y) == 0xFFFFFFFF;
    EXPECT_GT(glyphs, 20);

    // The bag's slots show the pictures the game draws for the objects the
    // game data puts in them (the middle of each is the picture's core); an
    // empty slot shows the panel; a dark slot is drawn dark.
    struct Slot
    {
        const char* name;
        uint32_t middle;
    } slots[] = {
        {"Item0", HostEngineClient::Lightened(0xFF8890A8)},
        {"Item1", HostEngineClient::Lightened(0xFF5080D0)},
        {"Item2", HostEngineClient::Lightened(HostEngineClient::Darkened(0xFFD03030))},
        {"Item3", SampleArt::kFrameBackground},
        {"Spell0", HostEngineClient::Lightened(0xFFF0A020)},
        {"Spell1", HostEngineClient::Lightened(0xFF40D0E0)},
    };
    for (const Slot& s : slots)
    {
        const Box b = BoxOf(PanelChild((std::string("QXBagPanel_Wnd/") + s.name).c_str()));
        const int midX = (b.left + b.right) / 2;
        const int midY = (b.top + b.bottom) / 2;
        EXPECT_EQ(r.pixel(midX, midY), s.middle) << s.name;
    }
    const Box item2 = BoxOf(PanelChild("QXBagPanel_Wnd/Item2"));
    EXPECT_EQ(r.pixel(item2.left + 11, (item2.top + item2.bottom) / 2), HostEngineClient::Darkened(0xFFD03030));
    // The picture fills the slot's opening, outline and all.
    const Box item0 = BoxOf(slot);
    EXPECT_EQ(r.pixel(item0.left + 9, (item0.top + item0.bottom) / 2), HostEngineClient::kPictureOutline);
    EXPECT_EQ(r.pixel(item0.left + 11, (item0.top + item0.bottom) / 2), 0xFF8890A8u);
    // The slot's count, in the look's text colour, over the picture.
    int count = 0;
    for (int y = item0.top + 24; y < item0.bottom - 8; ++y)
        for (int x = item0.left + 24; x < item0.right - 8; ++x)
            count += Channel(r.pixel(x, y), 16) > 0xE0 && Channel(r.pixel(x, y), 0) < 0x90;
    EXPECT_GT(count, 3);

    // The cursor sits where the last move left it: the arrow's black tip and
    // white fill.
    int32_t mx = 0, my = 0;
    session.gui()->GetMousePosition(&mx, &my);
    const HostMessage& last = events.back();
    ASSERT_EQ(last.message, UINT(WM_MOUSEMOVE));
    EXPECT_EQ(mx, GetXLParam(last.lParam));
    EXPECT_EQ(my, GetYLParam(last.lParam));
    EXPECT_EQ(r.pixel(mx, my), 0xFF000000u);
    EXPECT_EQ(r.pixel(mx + 1, my + 4), 0xFFFFFFFFu);

    session.shutDown();
}
