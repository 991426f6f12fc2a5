// The web-page window's life cycle against the stand-in host's recording
// web controls: made with the window, placed, shown and hidden with it,
// released once; the callback's navigation check and messages. Each test
// runs in a process of its own.
#include <gtest/gtest.h>

#include <CEGUI/CEGUI.h>

#include <dlfcn.h>

#include <cstring>
#include <algorithm>
#include <climits>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "IWebCtrl.h"
#include "WebCtrlRecord.h"
#include "WidgetHarness.h"
#include "widgets/HTMLWindow.h"
#include "widgets/QGUIExtraFacoryManager.h"
#include "winservices.h"

namespace
{
const HWND kGameWindow = reinterpret_cast<HWND>(0x1234);

// Serves the stand-in host's web-control module as "Beging.dat".
struct ModuleFileSystem : fake::FileSystem
{
    CSysModule LoadModule(const char* name, const char* pathId) override
    {
        fake::FileSystem::LoadModule(name, pathId);
        return std::strcmp(name, "Beging.dat") == 0 ? dlopen(QHOST_BEGING_PATH, RTLD_NOW | RTLD_LOCAL)
                                                    : nullptr;
    }
};

struct BoxSpy
{
    std::function<void(const MessageBoxRecord&)> onBox;
    static void Handle(const MessageBoxRecord& box, void* user)
    {
        auto* spy = static_cast<BoxSpy*>(user);
        if (spy->onBox)
            spy->onBox(box);
    }
};

struct HTMLWindowTest : harness::WidgetHarness
{
    ModuleFileSystem moduleFs;
    bool withModule = true;
    WebCtrlRecord* record = nullptr;
    BoxSpy boxes;

    void addStyleFiles() override
    {
        if (!withModule)
            return;
        moduleFs.files = fs.files;
        fake::Factories::fileSystem = &moduleFs;
    }
    void SetUp() override
    {
        WidgetHarness::SetUp();
        if (HasFatalFailure())
            return;
        if (CreateInterfaceFn factory = gui->GetInterfaceFactory(0))
            record = static_cast<WebCtrlRecord*>(factory(QHOST_WEBCTRL_RECORD_VERSION, nullptr));
        if (withModule)
        {
            ASSERT_NE(record, nullptr);
        }
        // Texts the refusal message is made of.
        ASSERT_EQ(run("function FetchStringFn(key) return '<' .. key .. '>' end"), "");
        SetMessageBoxHandler(&BoxSpy::Handle, &boxes);
        // The mouse is over the game: the interface draws its own cursor.
        send(WM_MOUSEMOVE, 0, MakeMouseLParam(790, 590));
    }
    void TearDown() override
    {
        SetMessageBoxHandler(nullptr, nullptr);
        WidgetHarness::TearDown();
    }

    QGUI::CHTMLWindow* page(const char* name, float x, float y, float w, float h, CEGUI::Window* parent = nullptr)
    {
        return create<QGUI::CHTMLWindow>("QXGame/HTMLWindow", name, x, y, w, h, parent);
    }
    WebCtrlLog& control(size_t i) { return *record->controls.at(i); }
    // The calls of a control from the n-th on.
    static std::vector<std::string> callsFrom(const WebCtrlLog& log, size_t n)
    {
        return std::vector<std::string>(log.calls.begin() + std::min(n, log.calls.size()), log.calls.end());
    }
    static std::string rect(const WebCtrlLog& log)
    {
        return std::to_string(log.rect.x) + " " + std::to_string(log.rect.y) + " " +
               std::to_string(log.rect.width) + " " + std::to_string(log.rect.height);
    }
    bool systemCursorShown() const { return GetCursorDisplayCount() >= 0; }
};

struct HTMLWindowWithoutModule : HTMLWindowTest
{
    HTMLWindowWithoutModule() { withModule = false; }
};

struct HTMLWindowWithoutEngine : HTMLWindowTest
{
    fake::Engine* engineClient() override { return nullptr; }
};

// Counts the window's own events.
struct EventCount
{
    int shown = 0, hidden = 0, destruction = 0;
    void watch(CEGUI::Window* w)
    {
        w->subscribeEvent(CEGUI::Window::EventShown, [this](const CEGUI::EventArgs&) { ++shown; return true; });
        w->subscribeEvent(CEGUI::Window::EventHidden, [this](const CEGUI::EventArgs&) { ++hidden; return true; });
        w->subscribeEvent(CEGUI::Window::EventDestructionStarted,
                          [this](const CEGUI::EventArgs&) { ++destruction; return true; });
    }
};
} // namespace

TEST_F(HTMLWindowTest, TheControlIsMadeForTheGameWindowOverThePageAndShownWithIt)
{
    EXPECT_FALSE(systemCursorShown());
    QGUI::CHTMLWindow* w = page("web", 10, 20, 300, 200);
    ASSERT_NE(w, nullptr);
    ASSERT_EQ(record->controls.size(), 1u);
    const WebCtrlLog& c = control(0);
    EXPECT_NE(w->getWebCtrl(), nullptr);
    // Made as a child of the game window, for the thread that owns it, with
    // the module's callback; it waits hidden until the window is shown in
    // the interface, then sits over the window.
    ASSERT_GE(c.calls.size(), 2u);
    char expected[96];
    std::snprintf(expected, sizeof expected, "Create 80000000 0 0 0 0 %p %u", static_cast<void*>(kGameWindow),
                  GetWindowThreadProcessId(kGameWindow, nullptr));
    EXPECT_EQ(c.calls[0], expected);
    EXPECT_EQ(c.calls[1], "SetCallBack 1");
    EXPECT_EQ(c.callback, &QGUI::CWebCallBack::Instance());
    EXPECT_EQ(QGUI::CWebCallBack::Instance().GetOwner(), w->getWebCtrl());
    EXPECT_TRUE(c.visible);
    EXPECT_EQ(rect(c), "10 20 300 200");
    EXPECT_TRUE(c.unscaled);
    // The page's pointer is the system's, and the game window has the keys.
    EXPECT_TRUE(gui->HasHTMLWindow());
    EXPECT_TRUE(QGUI::CHTMLWindow::IsAnyOpen());
    EXPECT_TRUE(systemCursorShown());
    EXPECT_EQ(GetFocus(), kGameWindow);
    // Frames in which nothing changes ask nothing of the control.
    const size_t before = c.calls.size();
    frame();
    frame();
    EXPECT_EQ(c.calls.size(), before);
}

TEST_F(HTMLWindowTest, TheControlFollowsTheWindowsAreaWhereverTheChangeComesFrom)
{
    CEGUI::Window* box = create("DefaultWindow", "box", 100, 50, 400, 300);
    QGUI::CHTMLWindow* w = page("web", 10, 20, 200, 100, box);
    const WebCtrlLog& c = control(0);
    EXPECT_EQ(rect(c), "110 70 200 100");
    size_t n = c.calls.size();

    w->setPosition(CEGUI::UVector2(cegui_absdim(30), cegui_absdim(40)));
    EXPECT_EQ(callsFrom(c, n), std::vector<std::string>{"SetRect 130 90 200 100 1"});
    n = c.calls.size();
    w->setSize(CEGUI::USize(cegui_absdim(150), cegui_absdim(80)));
    EXPECT_EQ(callsFrom(c, n), std::vector<std::string>{"SetRect 130 90 150 80 1"});
    n = c.calls.size();
    // Moving the parent tells the window nothing of its own move.
    box->setPosition(CEGUI::UVector2(cegui_absdim(0), cegui_absdim(0)));
    frame();
    EXPECT_EQ(callsFrom(c, n), std::vector<std::string>{"SetRect 30 40 150 80 1"});
    n = c.calls.size();
    // A window sized relative to its parent follows the parent's size.
    w->setSize(CEGUI::USize(CEGUI::UDim(0.5f, 0), CEGUI::UDim(0.5f, 0)));
    box->setSize(CEGUI::USize(cegui_absdim(600), cegui_absdim(200)));
    frame();
    EXPECT_EQ(rect(c), "30 40 300 100");
    n = c.calls.size();
    // The host's main window moved: every control is placed again, even
    // where nothing changed in the interface.
    QGUI::CHTMLWindow* other = page("other", 500, 400, 50, 50);
    const WebCtrlLog& d = control(1);
    const size_t m = d.calls.size();
    send(WM_MOVE, 0, MakeMouseLParam(5, 5));
    EXPECT_EQ(callsFrom(c, n), std::vector<std::string>{"SetRect 30 40 300 100 1"});
    EXPECT_EQ(callsFrom(d, m), std::vector<std::string>{"SetRect 500 400 50 50 1"});
    // Through the data-provider map only the flag 0 means a move.
    QGUI::QGUIExtraFacoryManager::Instance().OnMainWindowMoved(1);
    EXPECT_EQ(callsFrom(d, m).size(), 1u);
    QGUI::CHTMLWindow::UpdateAllPlacements();
    EXPECT_EQ(callsFrom(d, m).size(), 2u);
    EXPECT_NE(other, nullptr);
}

TEST_F(HTMLWindowTest, TheControlIsPlacedOnTheScreenWhenTheSurfaceIsScaled)
{
    game.mode.width = 1024;
    game.mode.height = 768;
    game.mode.offsetEighth = 1;
    SetScreenSize(2048, 1536);
    page("web", 10, 20, 300, 200);
    // y gains an eighth of the surface height (96) before both double.
    EXPECT_EQ(rect(control(0)), "20 232 600 400");
    EXPECT_FALSE(control(0).unscaled);
    // A window whose screen place lies beyond 32 bits is held at the end of
    // the range.
    QGUI::CHTMLWindow* far = page("far", 1.5e9f, -1.5e9f, 10, 10);
    EXPECT_EQ(control(1).rect.x, INT32_MAX);
    EXPECT_EQ(control(1).rect.y, INT32_MIN);
    EXPECT_EQ(control(1).rect.width, 0);
    EXPECT_NE(far, nullptr);
    SetScreenSize(0, 0);
}

TEST_F(HTMLWindowTest, TheControlIsShownExactlyWhileTheWindowIsShownInTheInterface)
{
    CEGUI::Window* box = create("DefaultWindow", "box", 0, 0, 400, 300);
    QGUI::CHTMLWindow* w = page("web", 10, 20, 200, 100, box);
    EventCount events;
    events.watch(w);
    const WebCtrlLog& c = control(0);
    size_t n = c.calls.size();

    w->hide();
    w->hide();
    EXPECT_EQ(callsFrom(c, n), std::vector<std::string>{"Show 0"});
    n = c.calls.size();
    w->show();
    EXPECT_EQ(callsFrom(c, n), std::vector<std::string>{"Show 1"});
    // The window's own events still fire.
    EXPECT_EQ(events.hidden, 1);
    EXPECT_EQ(events.shown, 1);

    // A hidden parent hides the page within the frame, and showing it
    // again brings the page back.
    box->hide();
    frame();
    EXPECT_FALSE(c.visible);
    box->show();
    frame();
    EXPECT_TRUE(c.visible);
    // So does leaving the interface's tree.
    root->removeChild(box);
    frame();
    EXPECT_FALSE(c.visible);
    root->addChild(box);
    frame();
    EXPECT_TRUE(c.visible);
}

TEST_F(HTMLWindowTest, AWindowBuiltHiddenKeepsItsPageHidden)
{
    CEGUI::Window* w = CEGUI::WindowManager::getSingleton().createWindow("QXGame/HTMLWindow", "web");
    w->setVisible(false);
    root->addChild(w);
    frame();
    EXPECT_FALSE(control(0).visible);
    for (const std::string& call : control(0).calls)
        EXPECT_NE(call, "Show 1");
}

TEST_F(HTMLWindowTest, TheControlIsReleasedOnceAndNeverCalledAgain)
{
    QGUI::CHTMLWindow* a = page("a", 10, 20, 200, 100);
    QGUI::CHTMLWindow* b = page("b", 300, 20, 200, 100);
    EventCount events;
    events.watch(a);
    const WebCtrlLog& ca = control(0);
    EXPECT_TRUE(systemCursorShown());
    SetFocus(nullptr);

    // The control made last owns the callback; another one going leaves it.
    destroy(a);
    EXPECT_EQ(events.destruction, 1);
    EXPECT_TRUE(ca.released);
    EXPECT_EQ(ca.calls.back(), "Release");
    EXPECT_EQ(a->getWebCtrl(), nullptr);
    EXPECT_EQ(GetFocus(), kGameWindow);
    EXPECT_EQ(QGUI::CWebCallBack::Instance().GetOwner(), b->getWebCtrl());
    // Another page is still open: the system cursor stays.
    EXPECT_TRUE(gui->HasHTMLWindow());
    EXPECT_TRUE(systemCursorShown());

    // Whatever still reaches the going window calls nothing.
    a->setURL("http://www.qxgame.example/");
    a->hide();
    a->setSize(CEGUI::USize(cegui_absdim(5), cegui_absdim(5)));
    send(WM_MOVE, 0, 0);
    frame();
    frame();
    EXPECT_EQ(ca.callsAfterRelease, 0u);

    destroy(b);
    frame();
    EXPECT_EQ(QGUI::CWebCallBack::Instance().GetOwner(), nullptr);
    EXPECT_FALSE(gui->HasHTMLWindow());
    EXPECT_FALSE(systemCursorShown());
    for (const auto& c : record->controls)
    {
        EXPECT_EQ(c->callsAfterRelease, 0u);
        EXPECT_EQ(std::count(c->calls.begin(), c->calls.end(), "Release"), 1);
    }
}

TEST_F(HTMLWindowTest, ParentsDestroyedWithTheirPagesReleaseEveryControl)
{
    CEGUI::Window* box = create("DefaultWindow", "box", 0, 0, 400, 300);
    page("a", 10, 20, 200, 100, box);
    page("b", 10, 150, 200, 100, box);
    destroy(box);
    frame();
    ASSERT_EQ(record->controls.size(), 2u);
    EXPECT_TRUE(control(0).released);
    EXPECT_TRUE(control(1).released);
    EXPECT_FALSE(gui->HasHTMLWindow());
}

TEST_F(HTMLWindowTest, NavigationGoesThroughTheAddressCheckOncePerNewAddress)
{
    QGUI::CHTMLWindow* w = page("web", 10, 20, 200, 100);
    const WebCtrlLog& c = control(0);
    const int boxesBefore = GetMessageBoxCount();

    w->setProperty("URL", "http://www.qxgame.example/news");
    EXPECT_EQ(c.page, "http://www.qxgame.example/news");
    EXPECT_EQ(w->getProperty("URL"), "http://www.qxgame.example/news");
    const size_t n = c.calls.size();
    w->setProperty("URL", "http://www.qxgame.example/news");
    EXPECT_EQ(c.calls.size(), n);
    EXPECT_EQ(GetMessageBoxCount(), boxesBefore);

    // Refused: no page, and one box per attempt, with the address between
    // the two texts under the caption.
    w->setURL("http://a.qxgame.example.evil.test/");
    EXPECT_EQ(c.page, "http://www.qxgame.example/news");
    ASSERT_EQ(GetMessageBoxCount(), boxesBefore + 1);
    const MessageBoxRecord* box = GetLastMessageBox();
    EXPECT_EQ(box->owner, nullptr);
    EXPECT_EQ(box->type, UINT(MB_OK));
    EXPECT_STREQ(box->text, "<sys_error_dangerous_url1>http://a.qxgame.example.evil.test/<sys_error_dangerous_url2>");
    EXPECT_STREQ(box->caption, "<error>");
    // The page asks for the same address itself: asked again, refused again.
    EXPECT_FALSE(c.callback->OnBeforeNavigate("http://a.qxgame.example.evil.test/", nullptr));
    EXPECT_EQ(GetMessageBoxCount(), boxesBefore + 2);
    EXPECT_FALSE(c.callback->OnBeforeNavigate(nullptr, nullptr));
}

TEST_F(HTMLWindowTest, TheRefusalMessageShowsALongAddressCutAndWhole)
{
    page("web", 10, 20, 200, 100);
    IWebCallBack* callback = control(0).callback;
    ASSERT_NE(callback, nullptr);
    const std::string head = "<sys_error_dangerous_url1>";
    const std::string tail = "<sys_error_dangerous_url2>";

    // A page-made address of any length costs one box of bounded size.
    const std::string longAddress = "http://evil.test/" + std::string(100000, 'a');
    EXPECT_FALSE(callback->OnBeforeNavigate(longAddress.c_str(), nullptr));
    EXPECT_EQ(std::string(GetLastMessageBox()->text),
              head + longAddress.substr(0, QGUI::kMaxShownWebAddress) + "..." + tail);

    // The cut does not split a character.
    const std::string wide = "http://evil.test/" + std::string(QGUI::kMaxShownWebAddress - 18, 'b') + "\xC3\xA9\xC3\xA9";
    EXPECT_FALSE(callback->OnBeforeNavigate(wide.c_str(), nullptr));
    EXPECT_EQ(std::string(GetLastMessageBox()->text),
              head + wide.substr(0, QGUI::kMaxShownWebAddress - 1) + "..." + tail);
}

TEST_F(HTMLWindowTest, AnAllowedNavigationShowsTheOwnersPageOnlyWhenItsWindowIsShown)
{
    QGUI::CHTMLWindow* w = page("web", 10, 20, 200, 100);
    WebCtrlLog& c = control(0);
    w->hide();
    size_t n = c.calls.size();
    EXPECT_TRUE(c.callback->OnBeforeNavigate("about:blank", nullptr));
    EXPECT_TRUE(callsFrom(c, n).empty());
    w->show();
    n = c.calls.size();
    // A control the host hid behind the window's back is shown again.
    c.visible = false;
    EXPECT_TRUE(c.callback->OnBeforeNavigate("https://pay.partner.example/", nullptr));
    EXPECT_EQ(callsFrom(c, n), std::vector<std::string>{"Show 1"});
}

TEST_F(HTMLWindowTest, TheCallbacksOtherSlotsAnswerQuietly)
{
    page("web", 10, 20, 200, 100);
    IWebCallBack* callback = control(0).callback;
    const int boxesBefore = GetMessageBoxCount();
    callback->OnCreated(nullptr);
    callback->OnNavigateComplete(nullptr);
    callback->OnTitleChange("title");
    callback->OnNewWindow("http://evil.test/", nullptr);
    EXPECT_EQ(GetMessageBoxCount(), boxesBefore);

    callback->OnShowMessage("Saved.");
    ASSERT_EQ(GetMessageBoxCount(), boxesBefore + 1);
    EXPECT_STREQ(GetLastMessageBox()->text, "Saved.");
    EXPECT_STREQ(GetLastMessageBox()->caption, "");
    EXPECT_EQ(GetLastMessageBox()->owner, nullptr);
    callback->OnShowMessage(nullptr);
    EXPECT_STREQ(GetLastMessageBox()->text, "");
}

TEST_F(HTMLWindowTest, AWindowDestroyedWhileTheRefusalBoxIsUpIsLeftAlone)
{
    QGUI::CHTMLWindow* w = page("web", 10, 20, 200, 100);
    const WebCtrlLog& c = control(0);
    // A modal box runs the message loop: the host may close the page.
    boxes.onBox = [&](const MessageBoxRecord&) { destroy(w); };
    w->setURL("http://evil.test/");
    boxes.onBox = nullptr;
    frame();
    EXPECT_TRUE(c.released);
    EXPECT_EQ(c.callsAfterRelease, 0u);
    EXPECT_FALSE(gui->HasHTMLWindow());
}

TEST_F(HTMLWindowTest, AScriptHandlerThatDestroysThePageOnHidingLeavesNoCallBehind)
{
    page("web", 10, 20, 200, 100);
    ASSERT_EQ(run("function close_page(e) CEGUI.WindowManager:getSingleton():destroyWindow("
                  "CEGUI.toWindowEventArgs(e).window) return true end\n"
                  "local root = CEGUI.System:getSingleton():getDefaultGUIContext():getRootWindow()\n"
                  "local w = root:getChild('web')\n"
                  "w:subscribeEvent('Hidden', 'close_page')\n"
                  "w:hide()"),
              "");
    frame();
    EXPECT_TRUE(control(0).released);
    EXPECT_EQ(control(0).callsAfterRelease, 0u);
}

TEST_F(HTMLWindowTest, WithoutAControlOrItsCreationTheWindowStaysPlain)
{
    record->refuseControls = true;
    QGUI::CHTMLWindow* a = page("a", 10, 20, 200, 100);
    record->refuseControls = false;
    record->failCreate = true;
    QGUI::CHTMLWindow* b = page("b", 10, 20, 200, 100);
    record->failCreate = false;
    EXPECT_EQ(a->getWebCtrl(), nullptr);
    EXPECT_EQ(b->getWebCtrl(), nullptr);
    // The control that could not be made was let go at once.
    ASSERT_EQ(record->controls.size(), 1u);
    EXPECT_EQ(control(0).calls.back(), "Release");
    EXPECT_FALSE(gui->HasHTMLWindow());
    EXPECT_FALSE(systemCursorShown());
    a->setURL("http://www.qxgame.example/");
    EXPECT_EQ(a->getURL(), "http://www.qxgame.example/");
    b->hide();
    destroy(a);
    destroy(b);
    frame();
    EXPECT_EQ(control(0).callsAfterRelease, 0u);
}

TEST_F(HTMLWindowWithoutModule, WithoutTheWebControlModuleTheWindowIsAPlainWindow)
{
    EXPECT_EQ(record, nullptr);
    QGUI::CHTMLWindow* w = page("web", 10, 20, 200, 100);
    w->setURL("http://evil.test/");
    w->hide();
    w->show();
    frame();
    EXPECT_EQ(w->getWebCtrl(), nullptr);
    EXPECT_FALSE(gui->HasHTMLWindow());
    destroy(w);
    frame();
}

TEST_F(HTMLWindowWithoutEngine, WithoutTheGameWindowNoControlIsMade)
{
    QGUI::CHTMLWindow* w = page("web", 10, 20, 200, 100);
    EXPECT_EQ(w->getWebCtrl(), nullptr);
    EXPECT_TRUE(record->controls.empty());
}

TEST_F(HTMLWindowTest, TheAddressIsWrittenToLayoutsWhenSet)
{
    QGUI::CHTMLWindow* w = page("web", 10, 20, 200, 100);
    std::ostringstream out;
    CEGUI::XMLSerializer xml(out);
    int count = 0;
    w->WriteSharePropToXML(xml, count);
    EXPECT_EQ(count, 0);
    w->setURL("about:blank");
    w->WriteSharePropToXML(xml, count);
    EXPECT_EQ(count, 1);
    EXPECT_NE(out.str().find("about:blank"), std::string::npos);
    EXPECT_EQ(w->FindSharePros("URL"), w->getPropertyInstance("URL"));
    EXPECT_NE(w->FindSharePros("Sparking"), nullptr);
}
