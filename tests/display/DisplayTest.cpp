// Each test runs in a process of its own: the main object starts once.
#include <gtest/gtest.h>

#include <CEGUI/CEGUI.h>

#include <dlfcn.h>

#include <climits>
#include <cstring>
#include <functional>
#include <vector>

#include "GuiFixture.h"
#include "IWebCtrl.h"
#include "WebCtrlRecord.h"
#include "winservices.h"

namespace
{
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

// An engine client whose display mode is not there yet.
struct EngineWithoutMode : fake::Engine
{
    const QDisplayMode* GetDisplayMode() override { return nullptr; }
};

// A web window that counts its placements and can run code while placed.
struct FakeWebWindow : QGUI::IWebWindow
{
    int placements = 0;
    std::function<void()> onPlace;
    void UpdatePlacement() override
    {
        ++placements;
        if (onPlace)
            onPlace();
    }
};

struct DisplayTest : GuiFixture
{
    ModuleFileSystem moduleFs;
    EngineWithoutMode engineWithoutMode;
    bool withRender = true;
    bool withMode = true;

    void addFiles() override
    {
        fake::Factories::fileSystem = &moduleFs;
        if (!withRender)
            fake::Factories::render = nullptr;
    }
    fake::Engine* engineClient() override
    {
        if (!withEngine)
            return nullptr;
        return withMode ? &engine : &engineWithoutMode;
    }

    CEGUI::Window* sheet()
    {
        return CEGUI::System::getSingleton().getDefaultGUIContext().getRootWindow();
    }
    // A child of the sheet: a frame window, or a plain window.
    CEGUI::Window* addChild(const char* name, float x, float y, float w, float h, bool frame)
    {
        CEGUI::Window* win = CEGUI::WindowManager::getSingleton().createWindow(
            frame ? "CEGUI/FrameWindow" : "DefaultWindow", name);
        win->setArea(CEGUI::URect(cegui_absdim(x), cegui_absdim(y), cegui_absdim(x + w),
                                  cegui_absdim(y + h)));
        sheet()->addChild(win);
        return win;
    }
    CEGUI::Vector2f topLeft(CEGUI::Window* w) { return w->getUnclippedOuterRect().get().d_min; }
    void setMode(uint16_t w, uint16_t h, bool unscaled, bool offset)
    {
        engine.mode.width = w;
        engine.mode.height = h;
        engine.mode.unscaled = unscaled ? 1 : 0;
        engine.mode.offsetEighth = offset ? 1 : 0;
    }
    bool send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return gui->ProcessMessage(reinterpret_cast<HWND>(0x1234), message, wParam, lParam);
    }
    CEGUI::Vector2f mouse()
    {
        return CEGUI::System::getSingleton().getDefaultGUIContext().getMouseCursor().getPosition();
    }
};

struct DisplayWithoutRender : DisplayTest
{
    DisplayWithoutRender() { withRender = false; }
};
struct DisplayWithoutEngine : DisplayTest
{
    DisplayWithoutEngine() { withEngine = false; }
};
struct DisplayWithoutMode : DisplayTest
{
    DisplayWithoutMode() { withMode = false; }
};

const char* const kRestoreCounter =
    "restored = 0\n"
    "function gFn_localSetting_restore_all_backups() restored = restored + 1 end\n";

// Counts the backup-restore calls and starts on a 1280 x 960 display.
struct DisplayResize : DisplayTest
{
    void SetUp() override
    {
        DisplayTest::SetUp();
        ASSERT_EQ(run(kRestoreCounter), "");
        render.viewport = QXViewport{1280, 960};
        gui->UpdateDisplaySize();
    }
};

TEST_F(DisplayResize, ASmallerScreenPullsFrameWindowsBack)
{
    CEGUI::Window* right = addChild("right", 900, 100, 200, 100, true);
    CEGUI::Window* below = addChild("below", 100, 700, 200, 100, true);
    CEGUI::Window* partly = addChild("partly", 700, 500, 200, 200, true);
    CEGUI::Window* corner = addChild("corner", 1000, 900, 50, 40, true);
    CEGUI::Window* plain = addChild("plain", 900, 700, 50, 50, false);
    const CEGUI::URect sheetArea = sheet()->getArea();

    render.viewport = QXViewport{800, 600};
    gui->OnDisplaySizeChanged();

    EXPECT_EQ(topLeft(right), CEGUI::Vector2f(600, 100));
    EXPECT_EQ(topLeft(below), CEGUI::Vector2f(100, 500));
    EXPECT_EQ(topLeft(partly), CEGUI::Vector2f(700, 500));
    EXPECT_EQ(topLeft(corner), CEGUI::Vector2f(750, 560));
    EXPECT_EQ(topLeft(plain), CEGUI::Vector2f(900, 700));
    // Moved windows are placed in absolute pixels; the sheet's area is back
    // where it was.
    EXPECT_EQ(right->getPosition(), CEGUI::UVector2(cegui_absdim(600), cegui_absdim(100)));
    EXPECT_EQ(sheet()->getArea(), sheetArea);
    EXPECT_EQ(number("restored"), 1);
}

TEST_F(DisplayTest, UpdateDisplaySizeSizesTheSheetInPixels)
{
    render.viewport = QXViewport{1024, 768};
    gui->UpdateDisplaySize();
    EXPECT_EQ(sheet()->getSize(), CEGUI::USize(cegui_absdim(1024), cegui_absdim(768)));
    EXPECT_EQ(sheet()->getPixelSize(), CEGUI::Sizef(1024, 768));
}

// Handlers run by the moves may close windows, the sheet included.
TEST_F(DisplayResize, HandlersThatCloseWindowsWhileTheyMoveAreSurvived)
{
    CEGUI::Window* first = addChild("first", 900, 100, 100, 100, true);
    CEGUI::Window* second = addChild("second", 900, 200, 100, 100, true);
    addChild("third", 900, 300, 100, 100, true);
    CEGUI::WindowManager& wm = CEGUI::WindowManager::getSingleton();
    first->subscribeEvent(CEGUI::Window::EventMoved, [&](const CEGUI::EventArgs&) {
        wm.destroyWindow(second);
        wm.destroyWindow(sheet());
        return true;
    });
    render.viewport = QXViewport{800, 600};
    gui->OnDisplaySizeChanged();
    EXPECT_EQ(sheet(), nullptr);
    EXPECT_EQ(number("restored"), 1);
    // With no sheet at all the change still reaches the scripts.
    gui->OnDisplaySizeChanged();
    gui->UpdateDisplaySize();
    EXPECT_EQ(number("restored"), 2);
    gui->Update();
}

TEST_F(DisplayWithoutRender, WithoutARenderInterfaceNothingMoves)
{
    ASSERT_EQ(run(kRestoreCounter), "");
    CEGUI::Window* far = addChild("far", 5000, 5000, 10, 10, true);
    gui->OnDisplaySizeChanged();
    gui->UpdateDisplaySize();
    EXPECT_EQ(topLeft(far), CEGUI::Vector2f(5000, 5000));
    EXPECT_EQ(number("restored"), 1);
}

struct Transform
{
    const char* what;
    uint16_t surfaceWidth, surfaceHeight;
    bool unscaled, offset;
    int screenWidth, screenHeight;
    bool inverse;
    QGUIRect in, out;
    bool answer;
};

TEST_F(DisplayTest, TransformScreenRect)
{
    const Transform cases[] = {
        {"screen to surface", 1024, 768, false, false, 1280, 960, true,
         {640, 480, 640, 480}, {512, 384, 512, 384}, false},
        {"surface to screen", 1024, 768, false, false, 1280, 960, false,
         {512, 384, 600, 400}, {640, 480, 750, 500}, false},
        {"truncated toward zero", 1024, 768, false, false, 1280, 960, true,
         {-3, 3, 7, -7}, {-2, 2, 5, -5}, false},
        {"offset before scaling", 1024, 768, false, true, 1280, 960, true,
         {0, 576, 0, 96}, {0, 384, 0, 0}, false},
        {"offset added forward", 1024, 768, false, true, 1280, 960, false,
         {0, 0, 0, 100}, {0, 120, 0, 245}, false},
        {"unscaled keeps the values", 1024, 768, true, false, 1280, 960, true,
         {640, 480, 10, 20}, {640, 480, 10, 20}, true},
        {"unscaled with offset", 1024, 768, true, true, 1280, 960, true,
         {640, 480, 10, 20}, {640, 384, 10, -76}, true},
        {"no surface width", 0, 768, false, false, 1280, 960, true,
         {640, 480, 1, 2}, {640, 480, 1, 2}, true},
        {"no surface height", 1024, 0, false, false, 1280, 960, false,
         {640, 480, 1, 2}, {640, 480, 1, 2}, true},
        {"no screen size", 1024, 768, false, false, 0, 0, true,
         {640, 480, 1, 2}, {640, 480, 1, 2}, true},
        {"saturates", 1, 1, false, true, 8192, 8192, false,
         {INT_MAX, INT_MIN, INT_MIN, INT_MAX}, {INT_MAX, INT_MIN, INT_MIN, INT_MAX}, false},
        {"offset saturates", 65535, 65535, true, true, 1, 1, true,
         {0, INT_MIN, 0, INT_MIN + 5}, {0, INT_MIN, 0, INT_MIN}, true},
    };
    for (const Transform& c : cases)
    {
        SCOPED_TRACE(c.what);
        setMode(c.surfaceWidth, c.surfaceHeight, c.unscaled, c.offset);
        SetScreenSize(c.screenWidth, c.screenHeight);
        QGUIRect r = c.in;
        EXPECT_EQ(gui->TransformScreenRect(&r, c.inverse), c.answer);
        EXPECT_EQ(r.left, c.out.left);
        EXPECT_EQ(r.top, c.out.top);
        EXPECT_EQ(r.right, c.out.right);
        EXPECT_EQ(r.bottom, c.out.bottom);
    }
    EXPECT_TRUE(gui->TransformScreenRect(nullptr, true));
}

TEST_F(DisplayWithoutEngine, WithoutAnEngineNothingIsTransformedOrHandedOut)
{
    SetScreenSize(1280, 960);
    QGUIRect r{640, 480, 1, 2};
    EXPECT_TRUE(gui->TransformScreenRect(&r, true));
    EXPECT_EQ(r.left, 640);
    EXPECT_EQ(r.bottom, 2);
    EXPECT_EQ(gui->GetMainWindow(), nullptr);
    // Mouse moves while a web window is open stay as they are.
    FakeWebWindow page;
    gui->RegisterWebWindow(&page);
    send(WM_MOUSEMOVE, 0, MakeMouseLParam(640, 480));
    EXPECT_EQ(mouse(), CEGUI::Vector2f(640, 480));
    gui->UnregisterWebWindow(&page);
}

TEST_F(DisplayWithoutMode, WithoutADisplayModeNothingIsTransformed)
{
    SetScreenSize(1280, 960);
    QGUIRect r{640, 480, 1, 2};
    EXPECT_TRUE(gui->TransformScreenRect(&r, false));
    EXPECT_EQ(r.left, 640);
    EXPECT_EQ(r.top, 480);
}

TEST_F(DisplayTest, MouseMovesAreTransformedOnlyWhileWebWindowsExist)
{
    setMode(1024, 768, false, false);
    SetScreenSize(1280, 960);
    send(WM_MOUSEMOVE, 0, MakeMouseLParam(640, 480));
    EXPECT_EQ(mouse(), CEGUI::Vector2f(640, 480));
    FakeWebWindow page;
    gui->RegisterWebWindow(&page);
    EXPECT_TRUE(gui->HasHTMLWindow());
    send(WM_MOUSEMOVE, 0, MakeMouseLParam(640, 480));
    EXPECT_EQ(mouse(), CEGUI::Vector2f(512, 384));
    gui->UnregisterWebWindow(&page);
    EXPECT_FALSE(gui->HasHTMLWindow());
    send(WM_MOUSEMOVE, 0, MakeMouseLParam(640, 480));
    EXPECT_EQ(mouse(), CEGUI::Vector2f(640, 480));
}

TEST_F(DisplayTest, MovingTheMainWindowPlacesEveryWebWindowAgain)
{
    FakeWebWindow a, b, c;
    gui->RegisterWebWindow(&a);
    gui->RegisterWebWindow(&b);
    gui->RegisterWebWindow(&c);
    gui->RegisterWebWindow(&a);
    EXPECT_EQ(gui->GetWebWindows().Count(), 3u);
    EXPECT_FALSE(send(WM_MOVE, 0, MakeMouseLParam(10, 10)));
    EXPECT_EQ(a.placements, 1);
    EXPECT_EQ(b.placements, 1);
    EXPECT_EQ(c.placements, 1);
    // A window that goes while others are placed is not placed after.
    a.onPlace = [&] { gui->UnregisterWebWindow(&b); };
    send(WM_MOVE);
    EXPECT_EQ(a.placements, 2);
    EXPECT_EQ(b.placements, 1);
    EXPECT_EQ(c.placements, 2);
    gui->UnregisterWebWindow(&a);
    gui->UnregisterWebWindow(&c);
}

TEST_F(DisplayTest, TheSystemCursorHidesOnlyWhenTheLastWebWindowGoes)
{
    SetCursorDisplayCount(0);
    send(WM_MOUSEMOVE, 0, MakeMouseLParam(10, 10));
    ASSERT_LT(GetCursorDisplayCount(), 0);
    FakeWebWindow a, b, never;
    gui->RegisterWebWindow(&a);
    EXPECT_GE(GetCursorDisplayCount(), 0);
    gui->RegisterWebWindow(&b);
    // A window that never had a control, and one of two, leave it shown.
    gui->UnregisterWebWindow(&never);
    gui->UnregisterWebWindow(&a);
    EXPECT_GE(GetCursorDisplayCount(), 0);
    gui->UnregisterWebWindow(&b);
    EXPECT_LT(GetCursorDisplayCount(), 0);
    gui->UnregisterWebWindow(&b);
    gui->RegisterWebWindow(nullptr);
    EXPECT_FALSE(gui->HasHTMLWindow());
    EXPECT_LT(GetCursorDisplayCount(), 0);
}

TEST_F(DisplayTest, TheWebControlManagerSeesMessages)
{
    CreateInterfaceFn factory = gui->GetInterfaceFactory(0);
    ASSERT_NE(factory, nullptr);
    EXPECT_EQ(gui->GetInterfaceFactory(1), nullptr);
    EXPECT_EQ(gui->GetInterfaceFactory(-1), nullptr);
    auto* record = static_cast<WebCtrlRecord*>(factory(QHOST_WEBCTRL_RECORD_VERSION, nullptr));
    ASSERT_NE(record, nullptr);
    // A message record's address does not fit in 32 bits here.
    const uintptr_t message = reinterpret_cast<uintptr_t>(record) | (uintptr_t{1} << 40);
    record->claimedMessage = message;
    EXPECT_TRUE(gui->IsWebCtrlMessage(message));
    EXPECT_FALSE(gui->IsWebCtrlMessage(message & 0xFFFFFFFFu));
    EXPECT_EQ(record->lastMessage, message & 0xFFFFFFFFu);
    record->claimedMessage = 0;
}

TEST_F(DisplayTest, HostServices)
{
    EXPECT_EQ(gui->GetMainWindow(), &engine.window);
    EXPECT_EQ(gui->GetUserValue(), 0);
    ASSERT_EQ(run("seen = ''\n"
                  "function gFn_manipulate_HTML_window(a, b, c) seen = a .. ',' .. b .. ',' .. c end"),
              "");
    gui->ManipulateHTMLWindow(1, -2, 3);
    EXPECT_EQ(text("seen"), "1,-2,3");
    ASSERT_EQ(run("function gFn_manipulate_HTML_window() error('no') end"), "");
    gui->ManipulateHTMLWindow(0, 0, 0);
    ASSERT_EQ(run("gFn_manipulate_HTML_window = nil"), "");
    gui->ManipulateHTMLWindow(0, 0, 0);
}

// A host that calls the services before Init gets quiet answers.
TEST(DisplayBeforeInit, ServicesAnswerQuietly)
{
    QGUI::CQGUI* gui = QGUI::CQGUI::GetGlobalObject();
    gui->UpdateDisplaySize();
    gui->OnDisplaySizeChanged();
    QGUIRect r{1, 2, 3, 4};
    EXPECT_FALSE(gui->TransformScreenRect(&r, true));
    EXPECT_EQ(r.left, 1);
    EXPECT_FALSE(gui->IsWebCtrlMessage(0x100));
    EXPECT_FALSE(gui->HasHTMLWindow());
    EXPECT_EQ(gui->GetMainWindow(), nullptr);
    EXPECT_EQ(gui->GetInterfaceFactory(0), nullptr);
    EXPECT_FALSE(gui->ProcessMessage(nullptr, WM_MOVE, 0, 0));
}

TEST(SystemMetrics, ScreenSizeComesFromTheHost)
{
    SetScreenSize(1920, 1080);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 1920);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 1080);
    EXPECT_EQ(GetSystemMetrics(2), 0);
    SetScreenSize(-5, 10);
    EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), 0);
    EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), 10);
}
} // namespace
