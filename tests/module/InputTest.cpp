#include <gtest/gtest.h>

#include <CEGUI/CEGUI.h>
#include <CEGUI/falagard/PropertyDefinition.h>

#include <cstdint>
#include <memory>
#include <string>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}

#include "FakeHost.h"
#include "ImeUi.h"
#include "RecordingLogger.h"
#include "codepage.h"
#include "core/IMEBase.h"
#include "core/QGUI.h"
#include "script/ScriptSystem.h"
#include "winservices.h"

namespace
{
// Messages are built as a Windows host builds them. Each test runs in a
// process of its own (the main object starts once).
struct InputTest : ::testing::Test
{
    RecordingLogger* logger = new RecordingLogger;
    fake::Render render;
    fake::Engine engine;
    HostGlobals host{};
    CreateInterfaceFn factories[1] = {&fake::Factories::Serve};
    QGUI::CQGUI* gui = QGUI::CQGUI::GetGlobalObject();
    CEGUI::Window* panel = nullptr;
    std::vector<CEGUI::String::value_type> chars;
    std::vector<float> wheel;
    std::vector<std::unique_ptr<CEGUI::Property>> properties;

    void SetUp() override
    {
        fake::Factories::render = &render;
        fake::Factories::engine = &engine;
        host.curtime = 1.0f;
        host.frametime = 0.0f;
        ASSERT_TRUE(gui->Init(factories, 1, &host));
        panel = addWindow(gui->GetRootWindow(), "panel", 100, 100, 300, 200);
        panel->subscribeEvent(CEGUI::Window::EventCharacterKey, [this](const CEGUI::EventArgs& a) {
            chars.push_back(static_cast<const CEGUI::KeyEventArgs&>(a).codepoint);
            return true;
        });
        panel->subscribeEvent(CEGUI::Window::EventMouseWheel, [this](const CEGUI::EventArgs& a) {
            wheel.push_back(static_cast<const CEGUI::MouseEventArgs&>(a).wheelChange);
            return true;
        });
        panel->activate();
        gui->Update();
    }
    void TearDown() override
    {
        fake::Factories::render = nullptr;
        fake::Factories::engine = nullptr;
    }
    CEGUI::Window* addWindow(CEGUI::Window* parent, const char* name, float x, float y, float w,
                             float h)
    {
        CEGUI::Window* win = CEGUI::WindowManager::getSingleton().createWindow("DefaultWindow", name);
        win->setArea(CEGUI::URect(CEGUI::UDim(0, x), CEGUI::UDim(0, y), CEGUI::UDim(0, x + w),
                                  CEGUI::UDim(0, y + h)));
        parent->addChild(win);
        return win;
    }
    void addProperty(CEGUI::Window* w, const char* name, const char* value)
    {
        properties.emplace_back(new CEGUI::PropertyDefinition<CEGUI::String>(
            name, value, "", "test", false, false, "", ""));
        w->addProperty(properties.back().get());
        w->setProperty(name, value);
    }
    bool send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0)
    {
        return gui->ProcessMessage(reinterpret_cast<HWND>(0x1234), message, wParam, lParam);
    }
    bool moveTo(int x, int y) { return send(WM_MOUSEMOVE, 0, MakeMouseLParam(x, y)); }
    bool click(int x, int y)
    {
        moveTo(x, y);
        const bool down = send(WM_LBUTTONDOWN, 0, MakeMouseLParam(x, y));
        send(WM_LBUTTONUP, 0, MakeMouseLParam(x, y));
        return down;
    }
};

TEST_F(InputTest, ClicksCountOnlyOverInterfaceWindows)
{
    EXPECT_TRUE(click(150, 150));
    EXPECT_TRUE(gui->IsStatusOn(QGUI_STATUS_MOUSE_OVER_UI));
    // The bare sheet takes the click in the library but not for the game.
    EXPECT_FALSE(click(600, 500));
    EXPECT_FALSE(gui->IsStatusOn(QGUI_STATUS_MOUSE_OVER_UI));
    // Right and middle buttons follow the same rule.
    moveTo(150, 150);
    EXPECT_TRUE(send(WM_RBUTTONDOWN, 0, MakeMouseLParam(150, 150)));
    EXPECT_TRUE(send(WM_RBUTTONUP, 0, MakeMouseLParam(150, 150)));
    moveTo(700, 550);
    EXPECT_FALSE(send(WM_MBUTTONDOWN, 0, MakeMouseLParam(700, 550)));
}

TEST_F(InputTest, MouseThroughWindowsLetClicksPassUnlessOverridden)
{
    CEGUI::Window* through = addWindow(panel, "through", 0, 0, 100, 100);
    addProperty(through, "MouseThrough", "1");
    EXPECT_FALSE(click(150, 150));
    EXPECT_TRUE(gui->SetStatus(QGUI_STATUS_MOUSE_OVER_UI, 1));
    EXPECT_TRUE(click(150, 150));
    // Update clears the override at the start of the frame.
    gui->Update();
    EXPECT_FALSE(click(150, 150));

    // A child with "0" under a "1" parent answers false, unless the child
    // stops the look-up.
    CEGUI::Window* child = addWindow(through, "child", 0, 0, 50, 50);
    addProperty(child, "MouseThrough", "0");
    EXPECT_FALSE(click(120, 120));
    addProperty(child, "MouseThroughLookupStop", "");
    EXPECT_TRUE(click(120, 120));

    // A disabled window does not count.
    child->setEnabled(false);
    EXPECT_FALSE(gui->IsStatusOn(QGUI_STATUS_MOUSE_OVER_UI));
}

TEST_F(InputTest, CoordinatesAreSigned)
{
    moveTo(50, 60);
    int32_t x = -1, y = -1;
    EXPECT_FALSE(gui->GetMousePosition(&x, &y));
    EXPECT_EQ(x, 50);
    EXPECT_EQ(y, 60);
    // A captured mouse left of and above the client area: clamped to the
    // near edge, not read as 65531 and thrown to the far one.
    moveTo(-5, -7);
    gui->GetMousePosition(&x, &y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
    EXPECT_FALSE(gui->GetMousePosition(nullptr, nullptr));
}

TEST_F(InputTest, WheelDeltaIsInNotches)
{
    moveTo(150, 150);
    send(WM_MOUSEWHEEL, MakeWheelWParam(-240), MakeMouseLParam(150, 150));
    send(WM_MOUSEWHEEL, MakeWheelWParam(120), MakeMouseLParam(150, 150));
    ASSERT_EQ(wheel.size(), 2u);
    EXPECT_FLOAT_EQ(wheel[0], -2.0f);
    EXPECT_FLOAT_EQ(wheel[1], 1.0f);
}

TEST_F(InputTest, ModifiersAndButtonsTrackTheirPressTime)
{
    host.curtime = 10.0f;
    send(WM_KEYDOWN, VK_SHIFT);
    EXPECT_TRUE(gui->IsStatusOn(QGUI_STATUS_SHIFT));
    host.curtime = 11.0f;
    send(WM_KEYDOWN, VK_SHIFT);  // auto-repeat keeps the first press time
    host.curtime = 12.0f;
    EXPECT_FLOAT_EQ(gui->GetStatusDuration(QGUI_STATUS_SHIFT), 2.0f);
    send(WM_KEYUP, VK_SHIFT);
    EXPECT_FALSE(gui->IsStatusOn(QGUI_STATUS_SHIFT));
    EXPECT_FLOAT_EQ(gui->GetStatusDuration(QGUI_STATUS_SHIFT), 0.0f);

    send(WM_KEYDOWN, VK_RCONTROL);
    moveTo(150, 150);
    send(WM_LBUTTONDOWN, 0, MakeMouseLParam(150, 150));
    EXPECT_TRUE(gui->IsStatusOn(QGUI_STATUS_CONTROL));
    EXPECT_TRUE(gui->IsStatusOn(QGUI_STATUS_LBUTTON));
    host.curtime = 12.5f;
    EXPECT_FLOAT_EQ(gui->GetStatusDuration(QGUI_STATUS_LBUTTON), 0.5f);
    EXPECT_FLOAT_EQ(gui->GetStatusDuration(QGUI_STATUS_CONTROL), 0.5f);
    // Focus changes forget every press time.
    send(WM_KILLFOCUS);
    EXPECT_FLOAT_EQ(gui->GetStatusDuration(QGUI_STATUS_LBUTTON), 0.0f);
    EXPECT_FLOAT_EQ(gui->GetStatusDuration(QGUI_STATUS_CONTROL), 0.0f);
}

TEST_F(InputTest, AltMiddleAndRightStatusesTrackTheirPressTime)
{
    const struct
    {
        const char* label;
        int status;
        UINT down, up;
        WPARAM wParam;
    } presses[] = {
        {"Alt", QGUI_STATUS_ALT, WM_SYSKEYDOWN, WM_SYSKEYUP, VK_MENU},
        {"right Alt", QGUI_STATUS_ALT, WM_KEYDOWN, WM_KEYUP, VK_RMENU},
        {"middle", QGUI_STATUS_MBUTTON, WM_MBUTTONDOWN, WM_MBUTTONUP, 0},
        {"right", QGUI_STATUS_RBUTTON, WM_RBUTTONDOWN, WM_RBUTTONUP, 0},
    };
    moveTo(150, 150);
    for (const auto& p : presses)
    {
        host.curtime = 20.0f;
        send(p.down, p.wParam, MakeMouseLParam(150, 150));
        EXPECT_TRUE(gui->IsStatusOn(p.status)) << p.label;
        host.curtime = 21.0f;
        send(p.down, p.wParam, MakeMouseLParam(150, 150));  // repeated: the first press counts
        host.curtime = 22.5f;
        EXPECT_FLOAT_EQ(gui->GetStatusDuration(p.status), 2.5f) << p.label;
        send(p.up, p.wParam, MakeMouseLParam(150, 150));
        EXPECT_FALSE(gui->IsStatusOn(p.status)) << p.label;
        EXPECT_FLOAT_EQ(gui->GetStatusDuration(p.status), 0.0f) << p.label;
    }
}

struct MenuItemEntry : CEGUI::DefaultWindow
{
    static const CEGUI::String EventNamespace;
    static const CEGUI::String WidgetTypeName;
    MenuItemEntry(const CEGUI::String& type, const CEGUI::String& name) : DefaultWindow(type, name) {}
};
const CEGUI::String MenuItemEntry::EventNamespace("MenuItemEntry");
const CEGUI::String MenuItemEntry::WidgetTypeName("Test/MenuItemEntry");

TEST_F(InputTest, ALeftClickHidesTheRightButtonMenuUnlessOnAMenuItem)
{
    lua_State* L = gui->GetScriptSystem()->GetLuaState();
    ASSERT_EQ(luaL_dostring(L, "hides = 0 function g_fn_hide_RB_menu() hides = hides + 1 return 0 end"), 0);
    auto hides = [L] {
        lua_getglobal(L, "hides");
        const double n = lua_tonumber(L, -1);
        lua_pop(L, 1);
        return n;
    };
    // A window whose type names a menu item.
    CEGUI::WindowFactoryManager::addFactory<CEGUI::TplWindowFactory<MenuItemEntry>>();
    CEGUI::Window* item = CEGUI::WindowManager::getSingleton().createWindow("Test/MenuItemEntry", "item");
    item->setArea(CEGUI::URect(CEGUI::UDim(0, 0), CEGUI::UDim(0, 0), CEGUI::UDim(0, 50), CEGUI::UDim(0, 50)));
    panel->addChild(item);

    EXPECT_TRUE(click(120, 120));  // on the menu item
    EXPECT_EQ(hides(), 0);
    EXPECT_TRUE(click(250, 250));  // on the panel
    EXPECT_EQ(hides(), 1);
    EXPECT_FALSE(click(600, 500)); // on the bare sheet: not over the interface
    EXPECT_EQ(hides(), 1);
}

TEST_F(InputTest, AHandlerThatEmptiesTheDeadPoolFreesNoWindowStillBeingDispatched)
{
    // A panel's handler, heard over its child (the walk) or in the window's
    // own handler, destroys the panel and empties the dead pool: the pool
    // waits until the message is through.
    lua_State* L = gui->GetScriptSystem()->GetLuaState();
    ASSERT_EQ(luaL_dostring(L, R"lua(
        wm = CEGUI.WindowManager:getSingleton()
        heard = 0
        function doom(event, own)
            local area = CEGUI.URect(CEGUI.UDim(0, 400), CEGUI.UDim(0, 100), CEGUI.UDim(0, 600), CEGUI.UDim(0, 300))
            local p = wm:createWindow('DefaultWindow', 'doomed')
            p:setArea(area)
            CEGUI.System:getSingleton():getDefaultGUIContext():getRootWindow():addChild(p)
            local c = wm:createWindow('DefaultWindow', 'child')
            c:setArea(CEGUI.URect(CEGUI.UDim(0, 0), CEGUI.UDim(0, 0), CEGUI.UDim(1, 0), CEGUI.UDim(1, 0)))
            p:addChild(c)
            local target = own and c or p
            target:subscribeEvent(event, function() heard = heard + 1 wm:destroyWindow(p) wm:cleanDeadPool() end)
        end
    )lua"),
              0)
        << lua_tostring(L, -1);
    CEGUI::WindowManager& windows = CEGUI::WindowManager::getSingleton();
    int expected = 0;
    // Each click lands 30 px from the last: a new window may take the
    // address of the one destroyed, and the same spot would then make the
    // press a double click.
    int x = 410;
    for (const char* event : {"MouseButtonDown", "MouseButtonUp", "MouseClick"})
        for (const char* own : {"false", "true"})
        {
            SCOPED_TRACE(std::string(event) + (own[0] == 't' ? " own" : " walked"));
            const std::string doom = std::string("doom('") + event + "', " + own + ")";
            ASSERT_EQ(luaL_dostring(L, doom.c_str()), 0) << lua_tostring(L, -1);
            click(x, 150);
            x += 30;
            EXPECT_TRUE(windows.isDeadPoolEmpty());
            lua_getglobal(L, "heard");
            EXPECT_EQ(lua_tonumber(L, -1), ++expected);
            lua_pop(L, 1);
        }
    // Outside a dispatch the pool empties at once.
    ASSERT_EQ(luaL_dostring(L, "wm:destroyWindow(wm:createWindow('DefaultWindow', '')) wm:cleanDeadPool()"), 0);
    EXPECT_TRUE(windows.isDeadPoolEmpty());
}

TEST_F(InputTest, IndicesOutsideTheTablesAreRefused)
{
    EXPECT_FALSE(gui->IsStatusOn(-1));
    EXPECT_FALSE(gui->IsStatusOn(7));
    EXPECT_FLOAT_EQ(gui->GetStatusDuration(-1), 0.0f);
    EXPECT_FLOAT_EQ(gui->GetStatusDuration(99), 0.0f);
    EXPECT_FALSE(gui->SetStatus(7, 1));
    EXPECT_FALSE(gui->SetStatus(-1, 1));
    uint32_t key = 1;
    EXPECT_FALSE(gui->translateVirtualKey(0x10000 + VK_SHIFT, &key));
    EXPECT_EQ(key, 0u);
    EXPECT_FALSE(send(WM_KEYDOWN, 0x10000 + VK_SHIFT));
    EXPECT_FALSE(send(WM_KEYUP, 300));
    EXPECT_FALSE(gui->IsStatusOn(QGUI_STATUS_SHIFT));
}

TEST_F(InputTest, TheKeyTableMapsDigitsLettersAndFunctionKeys)
{
    uint32_t key = 0;
    EXPECT_TRUE(gui->translateVirtualKey('0', &key));
    EXPECT_EQ(key, static_cast<uint32_t>(CEGUI::Key::Zero));
    EXPECT_TRUE(gui->translateVirtualKey('1', &key));
    EXPECT_EQ(key, static_cast<uint32_t>(CEGUI::Key::One));
    EXPECT_TRUE(gui->translateVirtualKey('9', &key));
    EXPECT_EQ(key, static_cast<uint32_t>(CEGUI::Key::Nine));
    EXPECT_TRUE(gui->translateVirtualKey('Q', &key));
    EXPECT_EQ(key, static_cast<uint32_t>(CEGUI::Key::Q));
    EXPECT_TRUE(gui->translateVirtualKey(VK_F12, &key));
    EXPECT_EQ(key, static_cast<uint32_t>(CEGUI::Key::F12));
    EXPECT_TRUE(gui->translateVirtualKey(VK_RMENU, &key));
    EXPECT_EQ(key, static_cast<uint32_t>(CEGUI::Key::RightAlt));
    EXPECT_FALSE(gui->translateVirtualKey(VK_TAB, &key));
    EXPECT_FALSE(gui->translateVirtualKey(VK_SPACE, &key));
    EXPECT_EQ(QGUI::CQGUI::statusFromScanCode(CEGUI::Key::RightControl), QGUI_STATUS_CONTROL);
    EXPECT_EQ(QGUI::CQGUI::statusFromScanCode(CEGUI::Key::A), QGUI_STATUS_COUNT);
}

TEST_F(InputTest, DoubleByteCharactersArriveAsOneCodePoint)
{
    // 0xB0 0xA1 is U+554A in the local code page.
    EXPECT_TRUE(send(WM_CHAR, 0xB0));
    EXPECT_TRUE(chars.empty());
    EXPECT_TRUE(send(WM_CHAR, 0xA1));
    ASSERT_EQ(chars.size(), 1u);
    EXPECT_EQ(chars[0], 0x554Au);

    // A lead byte followed by a plain byte: the plain byte alone.
    chars.clear();
    send(WM_CHAR, 0xB0);
    send(WM_CHAR, 'A');
    ASSERT_EQ(chars.size(), 1u);
    EXPECT_EQ(chars[0], static_cast<CEGUI::String::value_type>('A'));

    // A lead byte waits for the next character message, whatever comes
    // between (the key messages of the second byte, a mouse move).
    chars.clear();
    EXPECT_TRUE(send(WM_CHAR, 0xB0));
    send(WM_KEYDOWN, 'X');
    send(WM_MOUSEMOVE, 0, (5 << 16) | 5);
    send(WM_KEYUP, 'X');
    EXPECT_TRUE(chars.empty());
    EXPECT_TRUE(send(WM_CHAR, 0xA1));
    ASSERT_EQ(chars.size(), 1u);
    EXPECT_EQ(chars[0], 0x554Au);

    // A pair that is no character injects nothing and is not consumed.
    chars.clear();
    EXPECT_TRUE(send(WM_CHAR, 0xFF));
    EXPECT_FALSE(send(WM_CHAR, 0xFF));
    EXPECT_TRUE(chars.empty());
}

TEST_F(InputTest, TheInputMethodSeesMessagesFirst)
{
    ImeUi_TrapNextMessage();
    EXPECT_FALSE(send(WM_CHAR, 'x'));
    EXPECT_TRUE(chars.empty());
    send(WM_CHAR, 'y');
    ASSERT_EQ(chars.size(), 1u);

    // Committed text reaches the focused window.
    const char16_t committed[] = {0x4F60, 0x597D};
    EXPECT_EQ(ImeUi_Commit(committed, 2), 2u);
    ASSERT_EQ(chars.size(), 3u);
    EXPECT_EQ(chars[1], 0x4F60u);
    EXPECT_EQ(chars[2], 0x597Du);
    // Started on the engine's game window.
    EXPECT_EQ(ImeUi_GetState().window, reinterpret_cast<HWND>(0x1234));
    EXPECT_TRUE(ImeUi_GetState().initialised);
}

TEST_F(InputTest, TheInputMethodObjectPassesModeAndCaret)
{
    CIMEBase& ime = GetIMEBase();
    EXPECT_EQ(ime.EnableIme(0), 0);
    EXPECT_FALSE(ImeUi_GetState().enabled);
    EXPECT_EQ(ime.EnableIme(2), 2);
    EXPECT_TRUE(ImeUi_GetState().enabled);
    EXPECT_EQ(ime.EnableIme(-1), -1);
    EXPECT_FALSE(ImeUi_GetState().enabled);
    EXPECT_EQ(ime.SetCaretPosition(10, 20, 5, 5, 3), 1);
    EXPECT_EQ(ImeUi_GetState().caretX, 13);
    EXPECT_EQ(ImeUi_GetState().caretY, 20);
    // The offset saturates at the ends of the int range.
    const struct
    {
        int32_t x, dx, caret;
    } ends[] = {{INT32_MAX, 1, INT32_MAX}, {INT32_MAX - 1, INT32_MAX, INT32_MAX},
                {INT32_MIN, -1, INT32_MIN}, {INT32_MIN, INT32_MAX, -1}};
    for (const auto& e : ends)
    {
        EXPECT_EQ(ime.SetCaretPosition(e.x, 0, 0, 0, e.dx), 1);
        EXPECT_EQ(ImeUi_GetState().caretX, e.caret) << e.x << " + " << e.dx;
    }
}

TEST_F(InputTest, TheSystemCursorHidesWhileTheMouseIsInside)
{
    SetCursorDisplayCount(0);
    CEGUI::MouseCursor& cursor = CEGUI::System::getSingleton().getDefaultGUIContext().getMouseCursor();
    moveTo(10, 10);
    EXPECT_LT(GetCursorDisplayCount(), 0);
    EXPECT_TRUE(cursor.isVisible());
    gui->ShowSystemCursor(true);
    EXPECT_GE(GetCursorDisplayCount(), 0);
    EXPECT_FALSE(cursor.isVisible());
    gui->ShowSystemCursor(false);
    EXPECT_LT(GetCursorDisplayCount(), 0);
    send(WM_MOUSELEAVE);
    EXPECT_GE(GetCursorDisplayCount(), 0);
    EXPECT_FALSE(cursor.isVisible());
}

TEST_F(InputTest, DestroyPostsQuit)
{
    const int before = GetQuitRequestCount();
    EXPECT_FALSE(send(WM_DESTROY));
    EXPECT_EQ(GetQuitRequestCount(), before + 1);
    EXPECT_EQ(GetLastQuitExitCode(), 0);
}
} // namespace
