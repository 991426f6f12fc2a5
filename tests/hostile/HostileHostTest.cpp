// The built module as hostile scripts and a hostile host drive it, through
// the stand-in host: a copy of the resource root with the hostile scripts,
// the module loaded from libqgui.so, frames and window messages fed as the
// host feeds them. Every misuse is answered (a script error, false, a log
// line) and the sample interface keeps working afterwards.
#include <gtest/gtest.h>

#include <CEGUI/CEGUI.h>

#include <dlfcn.h>
#include <unistd.h>

#include <clocale>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "EventScript.h"
#include "HostFileSystem.h"
#include "HostSession.h"
#include "IIMEBaseInterface.h"
#include "IWebCtrl.h"
#include "KeyValues.h"

using namespace QHost;
namespace fs = std::filesystem;

namespace
{
struct HostileHostTest : ::testing::Test
{
    fs::path root;
    std::unique_ptr<HostFileSystem> files;
    std::unique_ptr<HostSession> session;
    std::vector<HostMessage> events;

    void SetUp() override
    {
        prepare();
        if (!HasFatalFailure() && !IsSkipped())
            start();
    }
    // A copy of the resource root and the module loaded, not started.
    void prepare()
    {
        // The module's GUI system lives as long as the process: ctest runs
        // each test of this program in a process of its own.
        if (CEGUI::System::getSingletonPtr())
            GTEST_SKIP() << "another test of this process already started the GUI system";
        root = fs::temp_directory_path() / ("qgui-hostile-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::copy(QHOST_ROOT_DIR, root, fs::copy_options::recursive);
        fs::copy_file(fs::path(QHOSTILE_SCRIPT_DIR) / "hostile_objects.lua",
                      root / "resource/UI/lua_scripts/hostile_objects.lua");
        fs::copy_file(fs::path(QHOSTILE_SCRIPT_DIR) / "HostileTwin.layout",
                      root / "resource/UI/layouts/HostileTwin.layout");

        std::string error;
        ASSERT_TRUE(LoadEventScript((root / "resource/UI/events/sample.events").string(), &events, &error))
            << error;
        files.reset(new HostFileSystem(root.string()));
        session.reset(new HostSession(files.get(), 1024, 768));
        session->engine.echo = nullptr;
        ASSERT_TRUE(session->loadModule(QHOST_MODULE_PATH, &error)) << error;
    }
    void start()
    {
        std::string error;
        ASSERT_TRUE(session->init(&error)) << error;
        ASSERT_TRUE(gui()->ExecuteScpritFile("main.lua"));
    }
    void TearDown() override
    {
        session.reset();
        files.reset();
        if (!root.empty())
            fs::remove_all(root);
    }
    QGUI::IQGUI* gui() { return session->gui(); }
    // The sample's events, frame by frame: the click on the main panel's
    // button posts "_KeyVal_Sample_Click".
    void playSample()
    {
        EventPlayer player(events);
        for (long frame = 1; frame <= 30; ++frame)
            session->frame([&] { player.feedFrame(*session, frame, nullptr); });
    }
    size_t messagesNamed(const char* name)
    {
        size_t n = 0;
        for (KeyValues* m : session->engine.messages)
            n += std::string(m->GetName()) == name;
        return n;
    }
};

TEST_F(HostileHostTest, ScriptsThatMisuseTheModulesObjectsAreAnswered)
{
    ASSERT_TRUE(gui()->ExecuteScpritFile("hostile_objects.lua"));
    EXPECT_STREQ(gui()->CallScriptGlobal2Strings("hostile_report", "", ""), "");
    EXPECT_EQ(messagesNamed("_KeyVal_Hostile"), 1u);

    // The sample interface still works: its click reaches the game.
    playSample();
    EXPECT_EQ(messagesNamed("_KeyVal_Sample_Click"), 1u);
}

TEST_F(HostileHostTest, FrameTimesAndMessagesOfAHostileHostAreAnswered)
{
    ASSERT_TRUE(gui()->ExecuteScpritFile("hostile_objects.lua"));
    HostGlobals* clock = session->clock.globals();
    const float bad[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity(), -5.0f};
    for (float f : bad)
        session->frame([&] { clock->frametime = f; });

    // Messages no Windows host sends: keys beyond the table, unknown
    // messages, a lead byte split by other messages.
    EXPECT_FALSE(session->feed(WM_KEYDOWN, 0x12345, 0));
    EXPECT_FALSE(session->feed(WM_KEYUP, ~WPARAM(0), 0));
    EXPECT_FALSE(session->feed(0x7FFF, ~WPARAM(0), ~LPARAM(0)));
    EXPECT_FALSE(session->feed(WM_SYSCOMMAND, 0xF061, 0));
    EXPECT_TRUE(session->feed(WM_CHAR, 0xB0, 0));
    session->feed(WM_MOUSEMOVE, 0, (300 << 16) | 300);
    session->feed(WM_CHAR, 0xA1, 0);

    // Six seconds of ordinary frames: the 5 s timer runs again.
    for (int i = 0; i < 180; ++i)
        session->frame();
    EXPECT_GE(gui()->CallScriptGlobalNumber("hostile_gc_count", 0), 1);
    playSample();
    EXPECT_EQ(messagesNamed("_KeyVal_Sample_Click"), 1u);
}

TEST_F(HostileHostTest, TheWebControlModuleComesThroughTheFileSystem)
{
    // "Beging.dat" was loaded through the host file system and its factory
    // answers the web control manager.
    EXPECT_GE(files->LoadedModuleCount(), 1u);
    CreateInterfaceFn factory = gui()->GetInterfaceFactory(0);
    ASSERT_NE(factory, nullptr);
    int32_t rc = 7;
    EXPECT_NE(factory(WEBCTRLMGR_INTERFACE_VERSION, &rc), nullptr);
    EXPECT_EQ(rc, 0);
    rc = 7;
    EXPECT_EQ(factory("IWEBCTRLMGR_INTERFACE2", &rc), nullptr);
    EXPECT_EQ(rc, 1);
    EXPECT_EQ(gui()->GetInterfaceFactory(1), nullptr);
}

TEST_F(HostileHostTest, AfterShutDownTheModuleIsInert)
{
    playSample();
    ASSERT_TRUE(CEGUI::SchemeManager::getSingleton().isDefined("QXLook"));
    gui()->ShutDown();
    EXPECT_FALSE(CEGUI::SchemeManager::getSingleton().isDefined("QXLook"));

    // Frames, input, styles, panels, messages and script calls answer
    // their failure values; nothing is drawn.
    const size_t messages = session->engine.messages.size();
    playSample();
    EXPECT_TRUE(session->render.draws.empty());
    EXPECT_FALSE(session->feed(WM_LBUTTONDOWN, 0, (254 << 16) | 160));
    EXPECT_FALSE(gui()->LoadUIStyle("QX"));
    HandleBase h;
    EXPECT_EQ(gui()->CreatePanel(&h, "QXMainPanel"), nullptr);
    KeyValues* message = new KeyValues("_KeyVal_After");
    EXPECT_FALSE(gui()->SendKeyVal(message));
    message->deleteThis();
    EXPECT_FALSE(gui()->ExecuteScpritFile("main.lua"));
    EXPECT_EQ(gui()->CallScriptGlobalNumber("hostile_gc_count", 0), -1);
    EXPECT_EQ(session->engine.messages.size(), messages);

    // The input method the module hands out is inert too.
    void* module = dlopen(QHOST_MODULE_PATH, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(module, nullptr);
    auto create = reinterpret_cast<CreateInterfaceFn>(dlsym(module, "CreateInterface"));
    ASSERT_NE(create, nullptr);
    auto* ime = static_cast<IIMEBaseInterface*>(create(QIME_INTERFACE_VERSION, nullptr));
    ASSERT_NE(ime, nullptr);
    EXPECT_EQ(ime->EnableIme(1), 0);
    EXPECT_EQ(ime->SetCaretPosition(10, 20, 0, 0, 3), 0);
    dlclose(module);
    // A second shut-down does nothing either.
    gui()->ShutDown();
}
} // namespace

TEST_F(HostileHostTest, AHostsCommaLocaleReachesNoNumberTheModuleReadsOrWrites)
{
    ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "scripts/deps.sh makes the locale de_DE.UTF-8";
    std::ofstream((root / "resource/UI/lua_scripts/locale_probe.lua").string())
        << "local w = CEGUI.WindowManager:getSingleton():createWindow('DefaultWindow', 'LocaleProbe')\n"
           "w:setProperty('Alpha', '0.5')\n"
           "probe_alpha = w:getAlpha()\n"
           "CEGUI.WindowManager:getSingleton():destroyWindow(w)\n"
           "function locale_probe_text() return tostring(1.5) end\n"
           "function locale_probe_alpha() return probe_alpha * 100 end\n";
    const bool ran = gui()->ExecuteScpritFile("locale_probe.lua");
    const std::string text = gui()->CallScriptGlobalNumberToString("locale_probe_text", 0);
    const int alphaPercent = gui()->CallScriptGlobalNumber("locale_probe_alpha", 0);
    std::setlocale(LC_ALL, "C");
    EXPECT_TRUE(ran);
    EXPECT_EQ(text, "1.5");
    EXPECT_EQ(alphaPercent, 50);
}

namespace
{
// A host that chose a comma locale for its player before starting the
// module, its GUI log written into its own folder.
struct CommaLocaleHostTest : HostileHostTest
{
    fs::path folder = fs::current_path();

    void SetUp() override
    {
        prepare();
        if (HasFatalFailure() || IsSkipped())
            return;
        fs::current_path(root);
        ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "scripts/deps.sh makes the locale de_DE.UTF-8";
    }
    void TearDown() override
    {
        std::setlocale(LC_ALL, "C");
        fs::current_path(folder);
        HostileHostTest::TearDown();
    }
    static std::string HostNumber()
    {
        char text[16];
        std::snprintf(text, sizeof(text), "%.1f", 1.5);
        return text;
    }
};

TEST_F(CommaLocaleHostTest, InitLeavesTheHostsLocaleAndTheLogHasNoFalseLocaleError)
{
    std::string error;
    ASSERT_TRUE(session->init(&error)) << error;
    EXPECT_EQ(HostNumber(), "1,5") << "after Init";
    EXPECT_TRUE(gui()->LoadUIStyle("QX"));
    EXPECT_EQ(HostNumber(), "1,5") << "after LoadUIStyle";
    HandleBase handle;
    gui()->CreatePanel(&handle, "QXMainPanel");
    EXPECT_EQ(HostNumber(), "1,5") << "after CreatePanel";
    ASSERT_TRUE(gui()->AddPanelToRoot(&handle));
    EXPECT_TRUE(gui()->IsPanelVisible(&handle));
    session->frame();
    EXPECT_EQ(HostNumber(), "1,5") << "after a frame";

    std::ifstream log("CEGUI.log");
    ASSERT_TRUE(log.is_open());
    for (std::string line; std::getline(log, line);)
        EXPECT_EQ(line.find("LC_NUMERIC"), std::string::npos) << line;
}
} // namespace

namespace
{
// The sample's start-up script with one panel's layout gone, as a script
// author's slip leaves it.
struct SampleWithoutAPanelTest : HostileHostTest
{
    void SetUp() override
    {
        prepare();
        if (HasFatalFailure() || IsSkipped())
            return;
        fs::remove(root / "resource/UI/layouts/QXInfoPanel.layout");
        start();
    }
};

TEST_F(SampleWithoutAPanelTest, ThePanelThatFailsIsLoggedAndTheOthersStillOpen)
{
    CEGUI::Window* sheet = CEGUI::System::getSingleton().getDefaultGUIContext().getRootWindow();
    ASSERT_NE(sheet, nullptr);
    EXPECT_FALSE(sheet->isChild("QXInfoPanel_Wnd"));
    EXPECT_TRUE(sheet->isChild("QXMainPanel_Wnd"));
    EXPECT_TRUE(sheet->isChild("QXCharacterPanel_Wnd"));
    playSample();
    EXPECT_EQ(messagesNamed("_KeyVal_Sample_Click"), 1u);
}
} // namespace
