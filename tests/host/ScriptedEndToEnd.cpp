// The README's main job inside one test: the module runs the sample start-up
// script, the host feeds the sample event script frame by frame, the clicks
// on the main panel's button, on a bag slot and on a name in the rich-text
// panel reach the engine client as messages, as do the casting button's
// sounds, the casting panel casts and its plate is dragged, the web panel's
// link is refused with a message box, and the frame shows the panels, the
// button, the texts, the pictures the game draws for the bag's objects and
// in the rich text, and the web page the host paints where its control sits;
// the line typed into the chat panel (with an item linked into it) reaches
// the engine client too, which sends it back as the game's chat line; the
// chat box shows it beside the lines the chat panel's clock pushed and the
// answer the event script hands over through a script global; the
// file-browser panel lists a resource folder and then, after a click on one
// of its folders, that folder; and the mouse resting on the bag's first slot
// shows the game tooltip with the text of the item it is compared with.
#include <gtest/gtest.h>

#include <CEGUI/CEGUI.h>

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <string>
#include <vector>

#include "EventScript.h"
#include "HostFileSystem.h"
#include "HostSession.h"
#include "KeyValues.h"
#include "SampleArt.h"
#include "SampleWindows.h"
#include "WebCtrlRecord.h"
#include "winservices.h"

using namespace QHost;

namespace
{
int Channel(uint32_t v, int shift) { return int((v >> shift) & 0xFF); }

// The rows of the file-browser panel's list: "<picture> <name>" each.
std::vector<std::string> FileRows(const CEGUI::MultiColumnList* list)
{
    std::vector<std::string> rows;
    for (unsigned row = 0; row < list->getRowCount(); ++row)
    {
        const CEGUI::ListboxItem* picture = list->getItemAtGridReference(CEGUI::MCLGridRef(row, 0));
        const CEGUI::ListboxItem* name = list->getItemAtGridReference(CEGUI::MCLGridRef(row, 1));
        rows.push_back(std::string(picture ? picture->getText().c_str() : "(none)") + " " +
                       (name ? name->getText().c_str() : "(none)"));
    }
    return rows;
}

// What the panel must list for a folder of the host's file tree: "." and
// ".." and the sub-folders first, then the files, each group by name.
std::vector<std::string> ExpectedRows(const std::string& folder)
{
    std::vector<std::string> folders = {"QXLook/Folder .", "QXLook/Folder .."}, files;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
    {
        const std::string name = entry.path().filename().string();
        (entry.is_directory() ? folders : files).push_back((entry.is_directory() ? "QXLook/Folder " : "QXLook/File ") + name);
    }
    std::sort(folders.begin() + 2, folders.end());
    std::sort(files.begin(), files.end());
    folders.insert(folders.end(), files.begin(), files.end());
    return folders;
}

// The host runs in its file tree: the file browser lists paths from there.
struct InFolder
{
    std::string before;
    explicit InFolder(const char* folder)
    {
        char here[4096];
        before = getcwd(here, sizeof(here)) ? here : ".";
        EXPECT_EQ(chdir(folder), 0) << folder;
    }
    ~InFolder() { EXPECT_EQ(chdir(before.c_str()), 0); }
};
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

    InFolder inRoot(QHOST_ROOT_DIR);
    HostFileSystem files(QHOST_ROOT_DIR);
    HostSession session(&files, 1600, 1000);
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
    ASSERT_NE(PanelChild("QXWebPanel_Wnd"), nullptr) << "main.lua did not open QXWebPanel (see CEGUI.log)";
    ASSERT_NE(PanelChild("QXChatPanel_Wnd"), nullptr) << "main.lua did not open QXChatPanel (see CEGUI.log)";
    auto* fileList = dynamic_cast<CEGUI::MultiColumnList*>(PanelChild("QXFileBrowserPanel_Wnd/Files"));
    ASSERT_NE(fileList, nullptr) << "main.lua did not open QXFileBrowserPanel (see CEGUI.log)";
    // The file browser listed the resource folder, folders first.
    EXPECT_EQ(FileRows(fileList), ExpectedRows(QHOST_ROOT_DIR "/resource/UI"));
    EXPECT_EQ(PanelChild("QXFileBrowserPanel_Wnd/Path")->getText(), "resource/UI (10)");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(mainPanel->getType(), "QXLook/FrameWindow");
    EXPECT_EQ(button->getType(), "QXLook/Button");

    // Where the casting panel's plate lies before the sample drags it.
    CEGUI::Window* castButton = PanelChild("QXCastPanel_Wnd/CastButton");
    CEGUI::Window* plate = PanelChild("QXCastPanel_Wnd/Tray/Plate");
    ASSERT_NE(castButton, nullptr) << "main.lua did not open QXCastPanel (see CEGUI.log)";
    ASSERT_NE(plate, nullptr);
    const Box plateBefore = BoxOf(plate);

    const int boxesBefore = GetMessageBoxCount();
    EventPlayer player(events);
    const long frames = 80;
    // The casting panel after the first 30 frames: the first cast ran full
    // and back to empty (both of the bar's events), the second is under
    // way; the frame window thought three times in the second.
    const long castFrames = 30;
    for (long frame = 1; frame <= frames; ++frame)
    {
        session.frame([&] { player.feedFrame(session, frame, nullptr); });
        if (frame != castFrames)
            continue;
        EXPECT_EQ(PanelChild("QXCastPanel_Wnd/Casts")->getText(), "Casts: 1");
        EXPECT_EQ(PanelChild("QXCastPanel_Wnd/Status")->getText(), "Casting...");
        EXPECT_GT(std::stof(PanelChild("QXCastPanel_Wnd/CastBar")->getProperty("CurValue").c_str()), 0.0f);
        EXPECT_EQ(PanelChild("QXCastPanel_Wnd/Clock")->getText(), "Clock: 0.75 s");
    }
    EXPECT_EQ(player.pending(), 0u) << "the sample events must fit the main job's 80 frames";

    // The sample's left clicks land, in order, on the casting button, the
    // main panel's button, the plate (pressed where it was, released where
    // the drag took it), the name in the rich-text window, the bag's first
    // slot, the web panel's link button, the casting button again, and the
    // chat panel's "Party" tab, its input line and its "Link item" button;
    // the module reports each half consumed (over an interface window).
    const Box buttonBox = BoxOf(button);
    CEGUI::Window* slot = PanelChild("QXBagPanel_Wnd/Item0");
    CEGUI::Window* richText = PanelChild("QXRichTextPanel_Wnd/Text");
    ASSERT_NE(slot, nullptr);
    ASSERT_NE(richText, nullptr) << "main.lua did not open QXRichTextPanel (see CEGUI.log)";
    EXPECT_EQ(richText->getType(), "QXLook/GameMultiLine");
    const Box slotBox = BoxOf(slot);
    const Box castBox = BoxOf(castButton);
    const Box textBox = BoxOf(richText);
    CEGUI::Window* link = PanelChild("QXWebPanel_Wnd/LinkButton");
    ASSERT_NE(link, nullptr);
    const Box linkBox = BoxOf(link);
    CEGUI::Window* partyTab = PanelChild("QXChatPanel_Wnd/Tabs/__auto_TabPane__Buttons/__auto_btnParty");
    CEGUI::Window* input = PanelChild("QXChatPanel_Wnd/Input");
    CEGUI::Window* chatLink = PanelChild("QXChatPanel_Wnd/LinkButton");
    ASSERT_NE(partyTab, nullptr);
    ASSERT_NE(input, nullptr);
    ASSERT_NE(chatLink, nullptr);
    const Box tabBox = BoxOf(partyTab);
    const Box inputBox = BoxOf(input);
    const Box chatLinkBox = BoxOf(chatLink);
    const Box listBox = BoxOf(fileList);
    const Box targets[] = {castBox,  castBox,  buttonBox,   buttonBox,  plateBefore, BoxOf(plate),
                           textBox,  textBox,  slotBox,     slotBox,    linkBox,     linkBox,
                           castBox,  castBox,  tabBox,      tabBox,     inputBox,    inputBox,
                           chatLinkBox, chatLinkBox, listBox, listBox};
    size_t clicks = 0;
    for (const EventPlayer::Result& r : player.results())
    {
        if (r.message->message != WM_LBUTTONDOWN && r.message->message != WM_LBUTTONUP)
            continue;
        ASSERT_LT(clicks, std::size(targets)) << "line " << r.message->line;
        const Box& target = targets[clicks++];
        EXPECT_TRUE(target.contains(GetXLParam(r.message->lParam), GetYLParam(r.message->lParam)))
            << "line " << r.message->line << " misses its window";
        EXPECT_TRUE(r.consumed) << "line " << r.message->line;
    }
    EXPECT_EQ(clicks, std::size(targets));

    // The link asked for another site: refused, with one message box.
    ASSERT_EQ(GetMessageBoxCount(), boxesBefore + 1);
    EXPECT_STREQ(GetLastMessageBox()->caption, "Error");
    EXPECT_STREQ(GetLastMessageBox()->text, "This page is not a page of the game: "
                                            "http://www.qxgame.example.evil.test/prize - it was not opened.");

    // Five messages reached the game, handed over in the local code page:
    // the casting button's sound, the keys the main button's handler set,
    // the name clicked in the rich text, the slot the icon names, and the
    // second cast's sound, and the chat line with the linked item made a
    // link by the chat input.
    ASSERT_EQ(session.engine.messages.size(), 6u);
    KeyValues* message = session.engine.messages[1];
    EXPECT_STREQ(message->GetName(), "_KeyVal_Sample_Click");
    EXPECT_STREQ(message->GetString("Button"), "SendButton");
    EXPECT_EQ(message->GetInt("Count"), 1);
    EXPECT_EQ(HostEngineClient::Describe(message),
              "_KeyVal_Sample_Click {Button=\"SendButton\" Count=1}");
    EXPECT_EQ(HostEngineClient::Describe(session.engine.messages[3]),
              "_KeyVal_ItemIcon_Click {PackageName=\"Bag\" PackageId=0 PackageIndex=0 "
              "_KeyVal_Cmd_MouseButton_Type=\"_KeyVal_Cmd_MouseButton_Left\"}");
    for (size_t i : {size_t(0), size_t(4)})
        EXPECT_EQ(HostEngineClient::Describe(session.engine.messages[i]),
                  "_KeyVal_Play_Sound {_KeyVal_Sound_Name=\"interface.button\"}");
    EXPECT_EQ(PanelChild("QXBagPanel_Wnd/Hint")->getText(), "Used the slot Item0.");
    KeyValues* nameClick = session.engine.messages[2];
    EXPECT_STREQ(nameClick->GetName(), "_KeyVal_Cmd_Click");
    EXPECT_STREQ(nameClick->GetString("_KeyVal_Cmd_Content"), "Aldric");
    EXPECT_EQ(nameClick->GetInt("_KeyVal_Cmd_Opcode"), 1);
    EXPECT_STREQ(nameClick->GetString("_KeyVal_Cmd_WholeText"), richText->getText().c_str());
    EXPECT_EQ(PanelChild("QXRichTextPanel_Wnd/Status")->getText(), "Clicked the name 'Aldric'.");

    EXPECT_EQ(HostEngineClient::Describe(session.engine.messages[5]),
              "_KeyVal_Chat_Send {Channel=\"Party\" Text=\"Look: {I 1001:[Short sword]} is mine!\" Links=1}");
    EXPECT_EQ(PanelChild("QXChatPanel_Wnd/Status")->getText(), "Sent line 1 to Party.");
    EXPECT_EQ(input->getText(), "");

    // The click on the folder "layouts" listed it: its layouts are files.
    const std::vector<std::string> layouts = ExpectedRows(QHOST_ROOT_DIR "/resource/UI/layouts");
    EXPECT_EQ(FileRows(fileList), layouts);
    EXPECT_NE(std::find(layouts.begin(), layouts.end(), "QXLook/File QXFileBrowserPanel.layout"), layouts.end());
    EXPECT_EQ(PanelChild("QXFileBrowserPanel_Wnd/Path")->getText(),
              "resource/UI/layouts (" + std::to_string(layouts.size()) + ")");

    // The chat box: the four lines of the panel's clock and, between them
    // as they came, the line the game sent back, the speaker's name the
    // game's, the item still a link, and the answer the event script's
    // call handed over; the box shows the newest, the oldest scrolled out.
    CEGUI::Window* chat = PanelChild("QXChatPanel_Wnd/ChatBoxPlace/Chat");
    ASSERT_NE(chat, nullptr);
    EXPECT_EQ(chat->getType(), "QXLook/GameChatBox");
    std::vector<std::string> lines;
    const CEGUI::Window* lineWindows = chat->getChild("__auto_container__");
    for (size_t i = 0; i < lineWindows->getChildCount(); ++i)
    {
        const CEGUI::Window* line = lineWindows->getChildAtIdx(i);
        lines.push_back(line->getText().c_str());
        EXPECT_EQ(line->isEffectiveVisible(), i > 0) << lines.back();
    }
    ASSERT_EQ(lines.size(), 6u);
    EXPECT_EQ(lines[2], "{T chat_party:[Party]} {N Taliesin:Taliesin}: Look: {I 1001:[Short sword]} is mine!");
    EXPECT_EQ(lines[3], "{T chat_trade:[Trade]} {N Brenna:Brenna}: I'd take that {I 1001:[Short sword]} off you.");
    EXPECT_EQ(lines[0].compare(0, 37, "{T chat_world:[World]} {N Aldric:Aldr"), 0) << lines[0];
    const Box chatBox = BoxOf(chat);

    // The casting panel's plate moved with the mouse.
    EXPECT_EQ(BoxOf(plate).left - plateBefore.left, 60);
    EXPECT_EQ(BoxOf(plate).top - plateBefore.top, 20);

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

    // The web page: the host paints it where the one control sits, over
    // the page window, and the page stays the news page the link did not
    // replace.
    ASSERT_NE(session.webPages.record(), nullptr);
    const std::vector<const WebCtrlLog*> controls = session.webPages.record()->live();
    ASSERT_EQ(controls.size(), 1u);
    EXPECT_EQ(controls[0]->page, "http://www.qxgame.example/news");
    const CEGUI::Rectf page = PanelChild("QXWebPanel_Wnd/Page")->getUnclippedInnerRect().get();
    EXPECT_EQ(controls[0]->rect.x, int(page.left()));
    EXPECT_EQ(controls[0]->rect.y, int(page.top()));
    EXPECT_EQ(controls[0]->rect.width, int(page.right()) - int(page.left()));
    EXPECT_EQ(r.pixel(controls[0]->rect.x, controls[0]->rect.y), HostWebPages::kBorderColour);
    EXPECT_EQ(r.pixel(controls[0]->rect.x + 4, controls[0]->rect.y + controls[0]->rect.height - 3),
              HostWebPages::kPageColour);

    // While a web page is open the system's cursor shows over the game and
    // the interface draws none of its own where the mouse is.
    // The rich text: its gold run, the game's picture (1, 1) and its first
    // emote, drawn by the game into the window.
    const Box text = BoxOf(richText);
    int gold = 0, picture = 0, emote = 0;
    for (int y = text.top; y < text.bottom; ++y)
        for (int x = text.left; x < text.right; ++x)
        {
            const uint32_t p = r.pixel(x, y);
            gold += Channel(p, 16) > 0xC0 && Channel(p, 8) > 0x90 && Channel(p, 8) < 0xC0 && Channel(p, 0) < 0x60;
            picture += p == HostRender::kPicture11Colour;
            emote += p == 0xFFFFD030u;
        }
    EXPECT_GT(gold, 10);
    EXPECT_EQ(picture, 32 * 32);
    EXPECT_GT(emote, 50);

    // The file list draws the folder and the file pictures of the style.
    int folderPixels = 0, filePixels = 0;
    for (int y = listBox.top; y < listBox.bottom; ++y)
        for (int x = listBox.left; x < listBox.right; ++x)
        {
            folderPixels += r.pixel(x, y) == SampleArt::kFolderFill;
            filePixels += r.pixel(x, y) == SampleArt::kFileFill;
        }
    EXPECT_GT(folderPixels, 2 * 100);
    EXPECT_GT(filePixels, 3 * 60);

    // The chat box's lines: light text, the channel tags and names in their
    // colours.
    int chatText = 0, partyTags = 0;
    for (int y = chatBox.top; y < chatBox.bottom; ++y)
        for (int x = chatBox.left; x < chatBox.right; ++x)
        {
            const uint32_t p = r.pixel(x, y);
            chatText += Channel(p, 16) > 0xB0 && Channel(p, 8) > 0xB0 && Channel(p, 0) > 0xB0;
            partyTags += Channel(p, 16) < 0x90 && Channel(p, 8) > 0xB0 && Channel(p, 0) > 0xE0;
        }
    EXPECT_GT(chatText, 300);
    EXPECT_GT(partyTags, 20);

    // The game tooltip of the bag's first slot, on its dark plate, and
    // beside it, framed, the tooltip of the item it is compared with.
    CEGUI::Tooltip* tooltip = CEGUI::System::getSingleton().getDefaultGUIContext().getDefaultTooltipObject();
    ASSERT_NE(tooltip, nullptr);
    EXPECT_EQ(tooltip->getType(), "QXLook/Tooltip");
    EXPECT_TRUE(tooltip->isEffectiveVisible());
    EXPECT_EQ(tooltip->getTargetWindow(), slot);
    EXPECT_EQ(tooltip->getText(), "Short sword\nDamage 4-7");
    ASSERT_TRUE(tooltip->isChild("__auto_multiline2__"));
    CEGUI::Window* compared = tooltip->getChild("__auto_multiline2__");
    EXPECT_TRUE(compared->isEffectiveVisible());
    EXPECT_EQ(compared->getText(), "Long sword\nDamage 9-14");
    const Box tip = BoxOf(tooltip);
    const Box beside = BoxOf(compared);
    EXPECT_EQ(beside.left, tip.right);
    const uint32_t platePixel = r.pixel(tip.left + 1, tip.bottom - 2);
    EXPECT_TRUE(Channel(platePixel, 16) < 0x20 && Channel(platePixel, 8) < 0x20 && Channel(platePixel, 0) < 0x20)
        << std::hex << platePixel;
    EXPECT_EQ(r.pixel(beside.left + 1, (beside.top + beside.bottom) / 2), SampleArt::kFrameGold);
    int tipText = 0;
    for (int y = tip.top; y < tip.bottom; ++y)
        for (int x = tip.left; x < tip.right; ++x)
            tipText += r.pixel(x, y) == 0xFFFFFFFFu;
    EXPECT_GT(tipText, 50);

    // While a web page is open the system's cursor shows over the game and
    // the interface draws none of its own where the mouse is.
    int32_t mx = 0, my = 0;
    session.gui()->GetMousePosition(&mx, &my);
    const HostMessage& last = events.back();
    EXPECT_EQ(mx, GetXLParam(last.lParam));
    EXPECT_EQ(my, GetYLParam(last.lParam));
    EXPECT_GE(GetCursorDisplayCount(), 0);
    EXPECT_NE(r.pixel(mx, my), 0xFF000000u);

    session.shutDown();
}
