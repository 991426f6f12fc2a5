#include "GuiFixture.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace
{
const char* kScheme = R"(<?xml version="1.0" ?>
<GUIScheme version="5" name="T">
  <LookNFeel filename="T.looknfeel" />
  <WindowRendererSet filename="CEGUICoreWindowRendererSet" />
  <FalagardMapping windowType="T/FrameWindow" targetType="CEGUI/FrameWindow" renderer="Core/FrameWindow" lookNFeel="T/FrameWindow" />
  <FalagardMapping windowType="T/Titlebar" targetType="CEGUI/Titlebar" renderer="Core/Titlebar" lookNFeel="T/Titlebar" />
  <FalagardMapping windowType="T/Button" targetType="CEGUI/PushButton" renderer="Core/Button" lookNFeel="T/Button" />
</GUIScheme>)";

#define T_AREA(w, h)                                                                   \
    "<Area><Dim type=\"LeftEdge\"><AbsoluteDim value=\"0\" /></Dim>"                   \
    "<Dim type=\"TopEdge\"><AbsoluteDim value=\"0\" /></Dim>"                          \
    "<Dim type=\"Width\"><" w " /></Dim><Dim type=\"Height\"><" h " /></Dim></Area>"
#define T_FULL T_AREA("UnifiedDim scale=\"1\" type=\"Width\"", "UnifiedDim scale=\"1\" type=\"Height\"")
#define T_STATES(...) __VA_ARGS__

const char* kLooks = "<?xml version=\"1.0\" ?><Falagard version=\"7\">"
    "<WidgetLook name=\"T/Button\"><StateImagery name=\"Normal\" /><StateImagery name=\"Hover\" />"
    "<StateImagery name=\"Pushed\" /><StateImagery name=\"PushedOff\" /><StateImagery name=\"Disabled\" /></WidgetLook>"
    "<WidgetLook name=\"T/Titlebar\"><StateImagery name=\"Active\" /><StateImagery name=\"Inactive\" />"
    "<StateImagery name=\"Disabled\" /></WidgetLook>"
    "<WidgetLook name=\"T/FrameWindow\">"
    "<Property name=\"AutoRenderingSurface\" value=\"false\" />"
    "<NamedArea name=\"ClientWithTitleWithFrame\">" T_FULL "</NamedArea>"
    "<NamedArea name=\"ClientWithTitleNoFrame\">" T_FULL "</NamedArea>"
    "<NamedArea name=\"ClientNoTitleWithFrame\">" T_FULL "</NamedArea>"
    "<NamedArea name=\"ClientNoTitleNoFrame\">" T_FULL "</NamedArea>"
    "<Child type=\"T/Titlebar\" nameSuffix=\"__auto_titlebar__\">" T_AREA("UnifiedDim scale=\"1\" type=\"Width\"", "AbsoluteDim value=\"20\"") "</Child>"
    "<Child type=\"T/Button\" nameSuffix=\"__auto_closebutton__\">" T_AREA("AbsoluteDim value=\"16\"", "AbsoluteDim value=\"16\"") "</Child>"
    "<StateImagery name=\"ActiveWithTitleWithFrame\" /><StateImagery name=\"InactiveWithTitleWithFrame\" />"
    "<StateImagery name=\"DisabledWithTitleWithFrame\" /><StateImagery name=\"ActiveWithTitleNoFrame\" />"
    "<StateImagery name=\"InactiveWithTitleNoFrame\" /><StateImagery name=\"DisabledWithTitleNoFrame\" />"
    "<StateImagery name=\"ActiveNoTitleWithFrame\" /><StateImagery name=\"InactiveNoTitleWithFrame\" />"
    "<StateImagery name=\"DisabledNoTitleWithFrame\" /><StateImagery name=\"ActiveNoTitleNoFrame\" />"
    "<StateImagery name=\"InactiveNoTitleNoFrame\" /><StateImagery name=\"DisabledNoTitleNoFrame\" />"
    "</WidgetLook></Falagard>";

std::string Layout(const char* type, const char* name, const char* inner = "")
{
    return std::string("<?xml version=\"1.0\" ?><GUILayout version=\"4\"><Window type=\"") + type +
           "\" name=\"" + name + "\">" + inner + "</Window></GUILayout>";
}

struct PanelTest : GuiFixture
{
    void addFiles() override
    {
        fs.files["resource\\UI\\schemes\\T.scheme"] = kScheme;
        fs.files["resource\\UI\\looknfeel\\T.looknfeel"] = kLooks;
        fs.files["resource\\UI\\layouts\\Bag.layout"] = Layout("T/FrameWindow", "BagWnd");
        fs.files["resource\\UI\\layouts\\Box.layout"] = Layout("T/FrameWindow", "BoxWnd");
        fs.files["resource\\UI\\layouts\\Chest.layout"] = Layout("T/FrameWindow", "ChestWnd");
        fs.files["resource\\UI\\layouts\\Own.layout"] =
            Layout("T/FrameWindow", "OwnWnd", "<Event name=\"CloseClicked\" function=\"own_close\" />");
        fs.files["resource\\UI\\layouts\\Plain.layout"] = Layout("DefaultWindow", "PlainWnd");
        fs.files["resource\\UI\\layouts\\Broken.layout"] = "<GUILayout version=\"4\"><Window";
        fs.files["resource\\UI\\layouts\\Sack.layout"] = Layout("DefaultWindow", "\xE4\xB8\xAD");
        for (const char* name : {"Box", "Chest", "Own", "Plain", "Missing", "Sack"})
            fs.files[std::string("resource\\UI\\lua_scripts\\") + name + ".lua"] = "";
        fs.files["resource\\UI\\layouts\\Faulty.layout"] = Layout("T/FrameWindow", "FaultyWnd");
        fs.files["resource\\UI\\lua_scripts\\Faulty.lua"] = "faulty_runs = (faulty_runs or 0) + 1 error('faulty')";
        fs.files["resource\\UI\\layouts\\NoScript.layout"] = Layout("DefaultWindow", "NoScriptWnd");
        // A panel named in UTF-8 (U+888B), with a script that names its
        // creation global through the globals table.
        fs.files["resource\\UI\\layouts\\\xE8\xA2\x8B.layout"] = Layout("DefaultWindow", "SackWnd");
        fs.files["resource\\UI\\lua_scripts\\\xE8\xA2\x8B.lua"] =
            "sack_runs = (sack_runs or 0) + 1 _G['\xE8\xA2\x8B_on_create'] = function() sack_creates = 1 end";
        fs.files["resource\\UI\\lua_scripts\\Bag.lua"] =
            "bag_runs = (bag_runs or 0) + 1 function Bag_on_create() bag_creates = (bag_creates or 0) + 1 end";
    }
    void SetUp() override
    {
        GuiFixture::SetUp();
        CEGUI::SchemeManager::getSingleton().createFromFile("T.scheme");
        ASSERT_EQ(run("sounds = '' closed = '' sys = 0 shown = 0 "
                      "function gFn_get_window_sound(name, state) return name .. '_' .. state end "
                      "function on_close_self(e) closed = closed .. tolua.cast(e, 'const CEGUI::WindowEventArgs').window:getName() .. ';' end "
                      "function own_close(e) end "
                      "function gFn_capture_frame_window_visible(e) shown = shown + 1 end "
                      "function panel_oper_system() sys = sys + 1 return 0 end"),
                  "");
    }
    QGUI::CPanel* panelOf(const HandleBase& h) { return const_cast<QGUI::PanelHandlePool&>(gui->GetPanelPool()).get(h); }
    bool escape() { return gui->ProcessMessage(nullptr, WM_KEYUP, VK_ESCAPE, 0); }
};

TEST_F(PanelTest, HandlesCarrySlotAndSerial)
{
    // The root panel took slot 0 with serial 1 at start-up.
    EXPECT_EQ(gui->GetRootPanelHandle()->value, 0x10000u);
    HandleBase a, b, c;
    ASSERT_NE(gui->CreatePanel(&a, nullptr), nullptr);
    ASSERT_NE(gui->CreatePanel(&b, ""), nullptr);
    EXPECT_EQ(a.value, (2u << 16) | 1u);
    EXPECT_EQ(b.value, (3u << 16) | 2u);
    EXPECT_TRUE(gui->IsPanelValid(&a));

    // Released slots are reused last-released first; old handles go stale.
    HandleBase oldA = a;
    gui->ReleasePanel(&a);
    gui->ReleasePanel(&b);
    EXPECT_FALSE(gui->IsPanelValid(&oldA));
    EXPECT_EQ(gui->QueryPanel(&oldA), nullptr);
    gui->CreatePanel(&c, nullptr);
    EXPECT_EQ(c.value & 0xFFFF, 2u);
    gui->CreatePanel(&a, nullptr);
    EXPECT_EQ(a.value & 0xFFFF, 1u);
    EXPECT_EQ(gui->QueryPanel(&oldA), nullptr);

    // Zero, null and foreign handles name no panel.
    HandleBase zero, foreign;
    foreign.value = (7u << 16) | 999u;
    EXPECT_EQ(gui->QueryPanel(&zero), nullptr);
    EXPECT_EQ(gui->QueryPanel(nullptr), nullptr);
    EXPECT_EQ(gui->QueryPanel(&foreign), nullptr);
    EXPECT_FALSE(gui->IsPanelValid(nullptr));
    EXPECT_FALSE(gui->ShowPanel(&foreign, true));
    EXPECT_FALSE(gui->AddPanelToRoot(nullptr));
    EXPECT_FALSE(gui->AddToChildPanel(&c, &foreign));
    gui->ReleasePanel(nullptr);
    gui->HidePanel(&zero);
    EXPECT_EQ(gui->CreatePanel(nullptr, "Bag"), nullptr);
}

TEST_F(PanelTest, AFullPoolRefusesNewPanels)
{
    QGUI::PanelHandlePool pool;
    HandleBase h;
    for (uint32_t i = 0; i < QGUI::PanelHandlePool::kMaxSlots; ++i)
        ASSERT_NE(pool.allocate(h), nullptr);
    const HandleBase last = h;
    EXPECT_EQ(pool.allocate(h), nullptr);
    EXPECT_EQ(h.value, last.value);  // no wrapped handle aliasing a live panel
    EXPECT_TRUE(pool.isValid(last));
    pool.release(last);
    EXPECT_NE(pool.allocate(h), nullptr);
    EXPECT_EQ(h.value & 0xFFFF, last.value & 0xFFFF);
}

TEST_F(PanelTest, WindowSoundsReachTheGameConvertedOnce)
{
    HandleBase h;
    ASSERT_NE(gui->CreatePanel(&h, "Sack"), nullptr);
    gui->Update();
    ASSERT_EQ(engine.received.size(), 1u);
    EXPECT_STREQ(engine.received[0]->GetString("_KeyVal_Sound_Name"), "\xD6\xD0_on");
}

TEST_F(PanelTest, SerialsWrapBackToOne)
{
    QGUI::PanelHandlePool::SerialCounter() = 65534;
    HandleBase a, b;
    gui->CreatePanel(&a, nullptr);
    gui->CreatePanel(&b, nullptr);
    EXPECT_EQ(a.value >> 16, 65535u);
    EXPECT_EQ(b.value >> 16, 1u);
    EXPECT_TRUE(gui->IsPanelValid(&b));
}

TEST_F(PanelTest, APanelScriptRunsOnceThenItsCreationGlobal)
{
    HandleBase first, second;
    QGUI::IPanel* p = gui->CreatePanel(&first, "Bag");
    ASSERT_NE(p, nullptr);
    EXPECT_STREQ(p->GetName(), "");
    EXPECT_EQ(number("bag_runs"), 1);
    EXPECT_TRUE(isNil("bag_creates"));
    CEGUI::Window* w = panelOf(first)->GetWindow();
    EXPECT_EQ(w->getUserString("resourceName"), "Bag");
    EXPECT_STREQ(gui->GetPanelName(&first), "BagWnd");

    gui->CreatePanel(&second, "Bag");
    EXPECT_EQ(number("bag_runs"), 1);
    EXPECT_EQ(number("bag_creates"), 1);

    // Nameless panels run nothing.
    HandleBase plain;
    gui->CreatePanel(&plain, nullptr);
    EXPECT_EQ(panelOf(plain)->GetWindow()->getUserString("resourceName"), "");
    EXPECT_EQ(number("bag_runs"), 1);
}

TEST_F(PanelTest, APanelNamedInUtf8FindsItsLayoutScriptAndCreationGlobal)
{
    HandleBase first, second;
    ASSERT_NE(gui->CreatePanel(&first, "\xE8\xA2\x8B"), nullptr);
    ASSERT_NE(panelOf(first)->GetWindow(), nullptr);
    EXPECT_EQ(panelOf(first)->GetWindow()->getUserString("resourceName"), CEGUI::String(1, 0x888B));
    EXPECT_EQ(number("sack_runs"), 1);
    ASSERT_NE(gui->CreatePanel(&second, "\xE8\xA2\x8B"), nullptr);
    EXPECT_EQ(number("sack_creates"), 1);
}

TEST_F(PanelTest, APanelNameThatIsNotUtf8NamesEachRefusedByteAsAReplacementCharacter)
{
    // Read as if F8 led three bytes as E8 does, F8 80 80 would name U+8000.
    fs.files["resource\\UI\\lua_scripts\\\xE8\x80\x80.lua"] = "u8000_runs = 1";
    const std::string r = "\xEF\xBF\xBD";
    const struct
    {
        const char* name;
        std::string read;
    } cases[] = {
        {"\xF8\x80\x80", r + r + r},         // a lead byte past F4
        {"\xC0\x80", r + r},                 // over-long U+0000
        {"\xED\xA0\x80", r + r + r},         // a surrogate
        {"\xF4\x90\x80\x80", r + r + r + r}, // past U+10FFFF
        {"a\xE8\x80", "a" + r + r},           // cut short
    };
    for (const auto& c : cases)
    {
        HandleBase h;
        ASSERT_NE(gui->CreatePanel(&h, c.name), nullptr);
        for (const char* file : {"layouts\\%.layout", "lua_scripts\\%.lua"})
        {
            std::string path = std::string("resource\\UI\\") + file;
            path.replace(path.find('%'), 1, c.read);
            EXPECT_TRUE(std::find(fs.opened.begin(), fs.opened.end(), path) != fs.opened.end()) << path;
        }
    }
    EXPECT_TRUE(isNil("u8000_runs"));
}

TEST_F(PanelTest, AMissingFileIsWarnedOnceWithItsGroupAndTheFoldersSearched)
{
    const auto warned = [&](const std::string& file) {
        return std::count_if(logger->lines.begin(), logger->lines.end(), [&](const auto& l) {
            return l.first.find("the file '" + file + "'") != std::string::npos && l.second == CEGUI::Warnings;
        });
    };
    HandleBase a, b;
    ASSERT_NE(gui->CreatePanel(&a, "Nowhere"), nullptr);
    ASSERT_NE(gui->CreatePanel(&b, "Nowhere"), nullptr);
    EXPECT_FALSE(gui->ExecuteScpritFile("nowhere.lua"));
    EXPECT_FALSE(gui->ExecuteScpritFile("nowhere.lua"));
    EXPECT_TRUE(logger->has("QXUI::CQXResourceProvider: the file 'nowhere.lua' of the resource group "
                            "'lua_scripts' was found in no folder searched ('resource\\UI\\lua_scripts\\', "
                            "'resource\\UI\\lua_scripts_csm\\', 'resource\\UI\\lua_scripts_lib\\'); "
                            "it is read as empty.",
                            CEGUI::Warnings));
    for (const char* file : {"Nowhere.lua", "nowhere.lua"})
        EXPECT_EQ(warned(file), 1) << file;
}

TEST_F(PanelTest, ALayoutNotFoundIsOneErrorNamingTheFileThatDiffersOnlyInCase)
{
    // The working folder holds "MyPanel.layout" and "MyPanel.lua"; the
    // panel is asked for as "mypanel".
    namespace fsys = std::filesystem;
    const fsys::path before = fsys::current_path();
    const fsys::path folder = fsys::temp_directory_path() / ("qgui-case-" + std::to_string(::getpid()));
    for (const char* file : {"layouts/MyPanel.layout", "lua_scripts/MyPanel.lua"})
    {
        fsys::create_directories((folder / "resource/UI" / file).parent_path());
        std::ofstream(folder / "resource/UI" / file) << "";
    }
    fsys::current_path(folder);
    HandleBase h;
    ASSERT_NE(gui->CreatePanel(&h, "mypanel"), nullptr);
    fsys::current_path(before);
    fsys::remove_all(folder);

    EXPECT_EQ(panelOf(h)->GetWindow(), nullptr);
    EXPECT_TRUE(logger->has("QGUI::CQGUI::CreatePanel: the layout 'mypanel.layout' of the panel 'mypanel' was "
                            "found in no folder searched ('resource\\UI\\layouts\\'), though "
                            "'resource\\UI\\layouts\\MyPanel.layout' differs from it only in case; the panel "
                            "has no window.",
                            CEGUI::Errors));
    EXPECT_TRUE(logger->has("QXUI::CQXResourceProvider: the file 'mypanel.lua' of the resource group "
                            "'lua_scripts' was found in no folder searched ('resource\\UI\\lua_scripts\\', "
                            "'resource\\UI\\lua_scripts_csm\\', 'resource\\UI\\lua_scripts_lib\\'), though "
                            "'resource\\UI\\lua_scripts\\MyPanel.lua' differs from it only in case; it is read "
                            "as empty.",
                            CEGUI::Warnings));
    // The one error is the module's: the GUI library parsed nothing.
    EXPECT_EQ(std::count_if(logger->lines.begin(), logger->lines.end(),
                            [](const auto& l) { return l.second == CEGUI::Errors; }),
              1);
}

TEST_F(PanelTest, ALayoutThatGivesNoWindowLeavesAPanelWithoutOne)
{
    ASSERT_EQ(run("missing_runs = 0 function Missing_on_create() missing_runs = missing_runs + 1 end"), "");
    const size_t live = gui->GetPanelPool().liveCount();
    for (const char* name : {"Broken", "Missing"})
    {
        HandleBase h;
        QGUI::IPanel* p = gui->CreatePanel(&h, name);
        ASSERT_NE(p, nullptr) << name;
        EXPECT_EQ(gui->QueryPanel(&h), p);
        EXPECT_EQ(panelOf(h)->GetWindow(), nullptr);
        // Every operation answers false, null or nothing.
        EXPECT_FALSE(gui->IsPanelValid(&h));
        EXPECT_FALSE(gui->ShowPanel(&h, true));
        EXPECT_FALSE(gui->EnablePanel(&h, true));
        EXPECT_FALSE(gui->IsPanelVisible(&h));
        EXPECT_FALSE(gui->IsPanelActive(&h));
        EXPECT_FALSE(gui->MovePanelToFront(&h, true));
        EXPECT_FALSE(gui->RedrawPanel(&h));
        EXPECT_FALSE(gui->SetPanelAsSheet(&h, 1));
        EXPECT_FALSE(gui->AddPanelToRoot(&h));
        EXPECT_FALSE(gui->AddToChildPanel(gui->GetRootPanelHandle(), &h));
        EXPECT_FALSE(gui->AddToChildPanel(&h, gui->GetRootPanelHandle()));
        EXPECT_EQ(gui->GetPanelName(&h), nullptr);
        gui->HidePanel(&h);
        gui->FirePanelEvent(&h, "x");
        EXPECT_TRUE(gui->GetCloseStack().empty());
        EXPECT_EQ(gui->GetPanelPool().liveCount(), live + 1);
        gui->ReleasePanel(&h);
        EXPECT_EQ(gui->QueryPanel(&h), nullptr);
    }
    EXPECT_TRUE(logger->hasPrefix("QGUI::CQGUI::CreatePanel: the panel 'Broken' could not be created"));
    EXPECT_TRUE(logger->has("QGUI::CQGUI::CreatePanel: the layout 'Broken.layout' gave no window; "
                            "the panel 'Broken' has none.",
                            CEGUI::Errors));
    // The panel's script ran all the same (once), and the next creation
    // calls its creation global.
    HandleBase again;
    ASSERT_NE(gui->CreatePanel(&again, "Missing"), nullptr);
    EXPECT_EQ(number("missing_runs"), 1);
    // The sheet is untouched and a later panel works.
    EXPECT_EQ(CEGUI::System::getSingleton().getDefaultGUIContext().getRootWindow(), gui->GetRootWindow());
    HandleBase bag;
    ASSERT_NE(gui->CreatePanel(&bag, "Bag"), nullptr);
    EXPECT_TRUE(gui->AddPanelToRoot(&bag));
}

TEST_F(PanelTest, APanelWhoseScriptFailsOrIsMissingIsStillCreated)
{
    HandleBase faulty, noScript;
    ASSERT_NE(gui->CreatePanel(&faulty, "Faulty"), nullptr);
    EXPECT_TRUE(gui->IsPanelValid(&faulty));
    EXPECT_TRUE(logger->hasPrefix("Unable to execute Lua script file: 'Faulty.lua'"));
    // A missing script is an empty chunk: no error.
    const size_t errors = std::count_if(logger->lines.begin(), logger->lines.end(),
                                        [](const auto& l) { return l.second == CEGUI::Errors; });
    ASSERT_NE(gui->CreatePanel(&noScript, "NoScript"), nullptr);
    EXPECT_TRUE(gui->IsPanelValid(&noScript));
    EXPECT_EQ(std::count_if(logger->lines.begin(), logger->lines.end(),
                            [](const auto& l) { return l.second == CEGUI::Errors; }),
              static_cast<std::ptrdiff_t>(errors));
    // Both names count as run: the scripts do not run again, the creation
    // globals are called instead.
    ASSERT_EQ(run("function NoScript_on_create() created = (created or 0) + 1 end"), "");
    HandleBase second, third;
    ASSERT_NE(gui->CreatePanel(&second, "Faulty"), nullptr);
    ASSERT_NE(gui->CreatePanel(&third, "NoScript"), nullptr);
    EXPECT_EQ(number("faulty_runs"), 1);
    EXPECT_EQ(number("created"), 1);
}

TEST_F(PanelTest, WindowsAndOpeningSoundsFollowTheLayoutsCloseHandling)
{
    HandleBase bag, own, plain;
    gui->CreatePanel(&bag, "Bag");
    gui->CreatePanel(&own, "Own");
    gui->CreatePanel(&plain, "Plain");
    // Panels without their own close handling make a sound when opened.
    std::vector<std::string> queued;
    for (const auto& r : gui->GetSoundQueue())
        queued.push_back(r.name);
    EXPECT_EQ(queued, (std::vector<std::string>{"BagWnd_on", "PlainWnd_on"}));

    // A layout that handles its own closing reports visibility changes.
    gui->AddPanelToRoot(&own);
    gui->ShowPanel(&own, false);
    gui->ShowPanel(&own, true);
    EXPECT_EQ(number("shown"), 2);

    // Releasing a panel with the sound handler makes the closing sound.
    gui->ReleasePanel(&bag);
    bool closing = false;
    for (const auto& r : gui->GetSoundQueue())
        closing = closing || r.name == "BagWnd_off";
    EXPECT_TRUE(closing);
}

TEST_F(PanelTest, EscapeClosesTheTopmostClosablePanel)
{
    HandleBase bag, box, chest, plain;
    gui->CreatePanel(&bag, "Bag");
    gui->CreatePanel(&box, "Box");
    gui->CreatePanel(&chest, "Chest");
    gui->CreatePanel(&plain, "Plain");
    for (HandleBase* h : {&bag, &box, &chest, &plain})
        ASSERT_TRUE(gui->AddPanelToRoot(h));
    EXPECT_EQ(gui->GetCloseStack().size(), 3u);  // the plain window never enters

    // Showing again moves to the top without duplicates.
    gui->ShowPanel(&box, true);
    EXPECT_EQ(gui->GetCloseStack().size(), 3u);
    EXPECT_EQ(gui->GetCloseStack().back(), box.value);

    escape();
    EXPECT_EQ(text("closed"), "BoxWnd;");
    EXPECT_EQ(gui->GetCloseStack().size(), 3u);

    // Hidden panels leave the stack; a hidden close button is skipped.
    gui->ShowPanel(&box, false);
    panelOf(chest)->GetWindow()->setVisible(false);
    escape();
    EXPECT_EQ(text("closed"), "BoxWnd;BagWnd;");
    EXPECT_EQ(gui->GetCloseStack().size(), 1u);
    EXPECT_EQ(number("sys"), 0);

    // A released root panel leaves a stale entry: popped, no hand-over.
    gui->ReleaseRootPanel(&bag);
    EXPECT_TRUE(escape() == false);
    EXPECT_TRUE(gui->GetCloseStack().empty());
    EXPECT_EQ(number("sys"), 0);
    escape();
    EXPECT_EQ(number("sys"), 1);
}

TEST_F(PanelTest, PanelsWhoseWindowDiedWithTheirParentAreGone)
{
    HandleBase parent, child;
    gui->CreatePanel(&parent, "Plain");
    gui->CreatePanel(&child, nullptr);
    ASSERT_TRUE(gui->AddToChildPanel(&parent, &child));
    EXPECT_FALSE(gui->AddToChildPanel(&parent, &parent));
    gui->ReleasePanel(&parent);  // destroys the child's window too
    EXPECT_FALSE(gui->IsPanelValid(&child));
    EXPECT_EQ(gui->GetPanelName(&child), nullptr);
    EXPECT_FALSE(gui->ShowPanel(&child, true));
    EXPECT_FALSE(gui->EnablePanel(&child, true));
    EXPECT_FALSE(gui->SetPanelAsSheet(&child, 1));
    gui->HidePanel(&child);
    gui->FirePanelEvent(&child, "x");
    EXPECT_NE(gui->QueryPanel(&child), nullptr);  // the slot itself stays live
    gui->ReleasePanel(&child);
    EXPECT_EQ(gui->QueryPanel(&child), nullptr);
}

TEST_F(PanelTest, PanelOperationsReachTheWindow)
{
    HandleBase h;
    gui->CreatePanel(&h, "Plain");
    ASSERT_TRUE(gui->AddPanelToRoot(&h));
    CEGUI::Window* w = panelOf(h)->GetWindow();
    EXPECT_TRUE(gui->IsPanelVisible(&h));
    EXPECT_TRUE(gui->EnablePanel(&h, false));
    EXPECT_TRUE(w->isDisabled());
    EXPECT_TRUE(gui->ShowPanel(&h, true));
    EXPECT_FALSE(w->isDisabled());
    gui->HidePanel(&h);
    EXPECT_FALSE(gui->IsPanelVisible(&h));
    EXPECT_FALSE(w->isDisabled());
    EXPECT_TRUE(gui->MovePanelToFront(&h, true));
    EXPECT_TRUE(gui->RedrawPanel(&h));

    int fired = 0;
    w->subscribeEvent("qgui_default_event", [&fired](const CEGUI::EventArgs&) { ++fired; return true; });
    w->subscribeEvent("custom", [&fired](const CEGUI::EventArgs&) { fired += 10; return true; });
    gui->FirePanelEvent(&h, nullptr);
    gui->FirePanelEvent(&h, "custom");
    EXPECT_EQ(fired, 11);

    // A panel made the sheet; a flag other than 1 is refused.
    EXPECT_FALSE(gui->SetPanelAsSheet(&h, 2));
    EXPECT_TRUE(gui->SetPanelAsSheet(&h, 1));
    EXPECT_EQ(CEGUI::System::getSingleton().getDefaultGUIContext().getRootWindow(), w);
}

TEST_F(PanelTest, SheetPanelsEmptyTheCloseStack)
{
    HandleBase bag, sheet;
    gui->CreatePanel(&bag, "Bag");
    EXPECT_EQ(gui->GetCloseStack().size(), 1u);
    gui->CreateSheetPanel(&sheet, true);
    EXPECT_TRUE(gui->GetCloseStack().empty());
    EXPECT_EQ(CEGUI::System::getSingleton().getDefaultGUIContext().getRootWindow(),
              panelOf(sheet)->GetWindow());
}
} // namespace

namespace
{
TEST_F(PanelTest, AttachingThatWouldLoopOrCollideIsRefused)
{
    HandleBase a, b, c;
    for (HandleBase* h : {&a, &b, &c})
        ASSERT_NE(gui->CreatePanel(h, nullptr), nullptr);
    ASSERT_TRUE(gui->AddToChildPanel(&a, &b));
    ASSERT_TRUE(gui->AddToChildPanel(&b, &c));
    // A panel cannot hold itself or one of its ancestors.
    EXPECT_FALSE(gui->AddToChildPanel(&c, &a));
    EXPECT_FALSE(gui->AddToChildPanel(&b, &a));
    EXPECT_FALSE(gui->AddToChildPanel(&a, &a));
    ASSERT_TRUE(gui->AddPanelToRoot(&a));
    EXPECT_FALSE(gui->AddToChildPanel(&c, gui->GetRootPanelHandle()));

    // A name the new parent holds already: refused and logged, no exception.
    HandleBase first, twin, holder;
    ASSERT_NE(gui->CreatePanel(&first, "Bag"), nullptr);
    ASSERT_NE(gui->CreatePanel(&twin, "Bag"), nullptr);
    ASSERT_NE(gui->CreatePanel(&holder, nullptr), nullptr);
    EXPECT_TRUE(gui->AddPanelToRoot(&first));
    EXPECT_FALSE(gui->AddPanelToRoot(&twin));
    EXPECT_TRUE(gui->AddToChildPanel(&holder, &first));
    EXPECT_FALSE(gui->AddToChildPanel(&holder, &twin));
    EXPECT_TRUE(logger->hasPrefix("QGUI::CQGUI::AddPanelToRoot: "));
    EXPECT_TRUE(logger->hasPrefix("QGUI::CQGUI::AddToChildPanel: "));

    // The root made the child of an unattached panel: that panel cannot go
    // on the root any more.
    HandleBase outside;
    ASSERT_NE(gui->CreatePanel(&outside, nullptr), nullptr);
    ASSERT_TRUE(gui->AddToChildPanel(&outside, gui->GetRootPanelHandle()));
    EXPECT_FALSE(gui->AddPanelToRoot(&outside));
    gui->Update();
    HandleBase later;
    EXPECT_NE(gui->CreatePanel(&later, "Box"), nullptr);
}

TEST_F(PanelTest, AHandleWithSerialZeroNamesNoPanel)
{
    HandleBase h;
    ASSERT_NE(gui->CreatePanel(&h, nullptr), nullptr);
    const uint32_t slot = h.value & 0xFFFF;
    gui->ReleasePanel(&h);
    // The released slot's serial is 0; so is the one of this handle.
    HandleBase zero;
    zero.value = slot;
    EXPECT_EQ(gui->QueryPanel(&zero), nullptr);
    EXPECT_FALSE(gui->IsPanelValid(&zero));
    gui->ReleasePanel(&zero);
    gui->ReleaseRootPanel(&zero);
    HandleBase next;
    ASSERT_NE(gui->CreatePanel(&next, nullptr), nullptr);
    EXPECT_EQ(next.value & 0xFFFF, slot);
    EXPECT_TRUE(gui->IsPanelValid(&next));
}

TEST_F(PanelTest, ScriptsThatReleaseOrFreeDuringCreationAreSurvived)
{
    ASSERT_EQ(run(R"lua(
        gui = QGUI.CQGUI:GetGlobalObject()
        h = HandleBase:new()
        function gFn_get_window_sound(name, state)
            if state == 'on' and mode == 'release' then gui:ReleasePanel(h) end
            if state == 'on' and mode == 'free' then h:delete() end
            if state == 'off' and mode == 'again' then gui:ReleasePanel(h) end
            return ''
        end
        mode = 'release'
        released = gui:CreatePanel(h, 'Box')
        assert(released == nil, 'a panel released while it was made is not returned')
        mode = 'free'
        local kept = gui:CreatePanel(h, 'Chest')
        assert(kept ~= nil)
        assert(not pcall(function() return h:delete() end))
        h = HandleBase:new()
        mode = 'again'
        gui:CreatePanel(h, 'Bag')
        gui:ReleasePanel(h)   -- the closing sound releases it once more
        assert(gui:QueryPanel(h) == nil)
        mode = nil
    )lua"),
              "");
    HandleBase later;
    ASSERT_NE(gui->CreatePanel(&later, "Plain"), nullptr);
    EXPECT_TRUE(gui->AddPanelToRoot(&later));
    gui->Update();
}
} // namespace
