// Window messages into GUI input, the input statuses and the cursor rule.
#include <CEGUI/CEGUI.h>

#include <exception>

#include "codepage.h"
#include "core/HostCallGuard.h"
#include "core/IMEBase.h"
#include "core/QGUI.h"
#include "winservices.h"

namespace QGUI
{
namespace
{
// The pending lead byte of a double-byte character.
unsigned char g_leadByte = 0;
bool g_leadPending = false;

// System-key bits of statuses 1 to 6.
const uint32_t kStatusKeyBits[QGUI_STATUS_COUNT] = {0, 0x80, 0x08, 0x04, 0x01, 0x10, 0x02};

enum : UINT
{
    WM_NCMOUSEMOVE_ = 0x00A0,
    WM_EXITMENULOOP_ = 0x0212,
    WM_CAPTURECHANGED_ = 0x0215
};

CEGUI::GUIContext* Context()
{
    CEGUI::System* system = CEGUI::System::getSingletonPtr();
    return system ? &system->getDefaultGUIContext() : nullptr;
}

} // namespace

void CQGUI::fillKeyTable()
{
    unsigned char* t = m_KeyTable;
    t[VK_BACK] = 0x0E;
    t[VK_RETURN] = 0x1C;
    t[VK_SHIFT] = 0x2A;
    t[VK_CONTROL] = 0x1D;
    t[VK_MENU] = 0x38;
    t[VK_ESCAPE] = 0x01;
    t[VK_PRIOR] = 0xC9;
    t[VK_NEXT] = 0xD1;
    t[VK_END] = 0xCF;
    t[VK_HOME] = 0xC7;
    t[VK_LEFT] = 0xCB;
    t[VK_UP] = 0xC8;
    t[VK_RIGHT] = 0xCD;
    t[VK_DOWN] = 0xD0;
    t[VK_DELETE] = 0xD3;
    t[0x30] = 0x0B; // '0'
    for (int d = 1; d <= 9; ++d)
        t['0' + d] = static_cast<unsigned char>(0x01 + d);
    static const unsigned char letters[26] = {0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17,
                                              0x24, 0x25, 0x26, 0x32, 0x31, 0x18, 0x19, 0x10, 0x13,
                                              0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C};
    for (int i = 0; i < 26; ++i)
        t['A' + i] = letters[i];
    for (int f = 0; f < 10; ++f)
        t[VK_F1 + f] = static_cast<unsigned char>(0x3B + f);
    t[VK_F11] = 0x57;
    t[VK_F12] = 0x58;
    t[VK_LSHIFT] = 0x2A;
    t[VK_RSHIFT] = 0x36;
    t[VK_LCONTROL] = 0x1D;
    t[VK_RCONTROL] = 0x9D;
    t[VK_LMENU] = 0x38;
    t[VK_RMENU] = 0xB8;
}

bool CQGUI::translateVirtualKey(WPARAM virtualKey, uint32_t* keyCode) const
{
    // Codes beyond the table (forwarded or synthesised messages) have no entry.
    const uint32_t code = virtualKey < 256 ? m_KeyTable[virtualKey] : 0;
    if (keyCode)
        *keyCode = code;
    return code != 0;
}

int CQGUI::statusFromScanCode(uint32_t keyCode)
{
    switch (keyCode)
    {
    case 0x1D:
    case 0x9D:
        return QGUI_STATUS_CONTROL;
    case 0x2A:
    case 0x36:
        return QGUI_STATUS_SHIFT;
    case 0x38:
    case 0xB8:
        return QGUI_STATUS_ALT;
    default:
        return QGUI_STATUS_COUNT;
    }
}

float CQGUI::currentTime() const
{
    return m_pHostGlobals ? m_pHostGlobals->curtime : 0.0f;
}

void CQGUI::setPressTime(int status, float seconds)
{
    if (status >= 0 && status < QGUI_STATUS_COUNT)
        m_PressTimes[status] = seconds;
}

void CQGUI::clearPressTimes()
{
    for (float& t : m_PressTimes)
        t = 0.0f;
}

bool CQGUI::getStatusFlag(int status) const
{
    CEGUI::GUIContext* ctx = Context();
    if (!ctx || status < 1 || status >= QGUI_STATUS_COUNT)
        return false;
    return (ctx->getSystemKeys().get() & kStatusKeyBits[status]) != 0;
}

bool CQGUI::IsStatusOn(int32_t status)
{
    QGUI_OPEN_CALL_SCOPE(false);
    if (status < 0 || status >= QGUI_STATUS_COUNT)
        return false;
    if (status != QGUI_STATUS_MOUSE_OVER_UI)
        return getStatusFlag(status);

    CEGUI::GUIContext* ctx = Context();
    if (!ctx)
        return false;
    CEGUI::Window* w = ctx->getWindowContainingMouse();
    CEGUI::Window* sheet = ctx->getRootWindow();
    if (!w || w == sheet)
        return false;
    bool result = !w->isEffectiveDisabled();
    while (w && w != sheet)
    {
        if (w->isPropertyPresent("MouseThrough"))
        {
            if (m_StatusOverrides[QGUI_STATUS_MOUSE_OVER_UI] != 0)
                break;
            if (w->getProperty("MouseThrough") == "1")
            {
                result = false;
                break;
            }
        }
        if (w->isPropertyPresent("MouseThroughLookupStop"))
            break;
        w = w->getParent();
    }
    return result;
}

float CQGUI::GetStatusDuration(int32_t status)
{
    QGUI_OPEN_CALL_SCOPE(0.0f);
    if (status < 0 || status >= QGUI_STATUS_COUNT)
        return 0.0f;
    if (m_PressTimes[status] == 0.0f)
        return 0.0f;
    return currentTime() - m_PressTimes[status];
}

bool CQGUI::SetStatus(int32_t status, int32_t value)
{
    QGUI_OPEN_CALL_SCOPE(false);
    // Statuses outside the table are refused rather than written anywhere.
    if (status < 0 || status >= QGUI_STATUS_COUNT)
        return false;
    m_StatusOverrides[status] = value;
    return true;
}

bool CQGUI::GetMousePosition(int32_t* x, int32_t* y)
{
    QGUI_OPEN_CALL_SCOPE(false);
    CEGUI::GUIContext* ctx = Context();
    if (!ctx)
        return false;
    const CEGUI::Vector2f pos = ctx->getMouseCursor().getPosition();
    if (x)
        *x = static_cast<int32_t>(pos.d_x);
    if (y)
        *y = static_cast<int32_t>(pos.d_y);
    return false;
}

void CQGUI::updateCursorVisibility()
{
    const bool hideSystem = m_bMouseInside && !m_bSystemCursorForced;
    if (hideSystem)
    {
        while (::ShowCursor(false) >= 0)
        {
        }
    }
    else
    {
        while (::ShowCursor(true) < 0)
        {
        }
    }
    if (CEGUI::GUIContext* ctx = Context())
        ctx->getMouseCursor().setVisible(hideSystem);
}

void CQGUI::onMouseEnterWindow()
{
    if (m_bMouseInside)
        return;
    m_bMouseInside = true;
    updateCursorVisibility();
}

void CQGUI::onMouseLeaveWindow()
{
    if (!m_bMouseInside)
        return;
    m_bMouseInside = false;
    updateCursorVisibility();
}

void CQGUI::ShowSystemCursor(bool show)
{
    QGUI_OPEN_CALL_SCOPE();
    if (m_bSystemCursorForced == show)
        return;
    m_bSystemCursorForced = show;
    updateCursorVisibility();
}

void CQGUI::onImeChar(uint16_t unit)
{
    QGUI_OPEN_CALL_SCOPE();
    if (CEGUI::GUIContext* ctx = Context())
        GetGlobalObject()->guardHostCall("onImeChar", [ctx, unit] { ctx->injectChar(unit); });
}

// Characters of the local code page: bytes below 0xA1 are injected as they
// are; a byte from 0xA1 up leads a double-byte character completed by the
// next character byte from 0xA1 up. A pending lead byte waits for the next
// character message, whatever other messages come between.
bool CQGUI::injectAnsiChar(uint16_t c)
{
    CEGUI::GUIContext* ctx = Context();
    const unsigned char b = static_cast<unsigned char>(c & 0xFF);
    if (b < 0xA1)
    {
        g_leadPending = false;
        return ctx->injectChar(c);
    }
    if (!g_leadPending)
    {
        g_leadByte = b;
        g_leadPending = true;
        return true;
    }
    g_leadPending = false;
    const char bytes[2] = {static_cast<char>(g_leadByte), static_cast<char>(b)};
    char16_t unit = 0;
    // A pair that does not convert to exactly one unit injects nothing.
    if (::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, bytes, 2, &unit, 1) != 1)
        return false;
    return ctx->injectChar(static_cast<CEGUI::String::value_type>(unit));
}

bool CQGUI::ProcessMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    QGUI_OPEN_CALL_SCOPE(false);
    if (!m_pHostGlobals)
        return false;
    return guardHostCall("ProcessMessage", false,
                         [&] { return processMessage(window, message, wParam, lParam); });
}

bool CQGUI::processMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    bool result = false;
    bool trapped = false;
    GetIMEBase().ProcessMessage(window, message, wParam, lParam, &trapped);
    if (trapped)
        return false;

    CEGUI::GUIContext& ctx = *Context();
    switch (message)
    {
    case WM_MOUSEMOVE:
    {
        onMouseEnterWindow();
        // Coordinates are signed: a captured mouse left of or above the
        // client area has negative positions.
        int x = GetXLParam(lParam);
        int y = GetYLParam(lParam);
        // While web pages are open the window's coordinates are screen
        // coordinates; the interface works on the game's drawing surface.
        if (HasHTMLWindow())
        {
            QGUIRect position{x, y, 0, 0};
            TransformScreenRect(&position, true);
            x = position.left;
            y = position.top;
        }
        result = ctx.injectMousePosition(static_cast<float>(x), static_cast<float>(y));
        break;
    }
    case WM_NCMOUSEMOVE_:
    case WM_MOUSELEAVE:
        onMouseLeaveWindow();
        break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    {
        const bool over = IsStatusOn(QGUI_STATUS_MOUSE_OVER_UI);
        const bool injected = ctx.injectMouseButtonDown(CEGUI::LeftButton);
        result = injected && over;
        if (result)
        {
            CEGUI::Window* w = ctx.getWindowContainingMouse();
            if (w && w->getType().find("MenuItem") == CEGUI::String::npos)
                ExecuteScriptGlobal("g_fn_hide_RB_menu");
        }
        if (GetStatusDuration(QGUI_STATUS_LBUTTON) == 0.0f)
            setPressTime(QGUI_STATUS_LBUTTON, currentTime());
        break;
    }
    case WM_LBUTTONUP:
    {
        const bool over = IsStatusOn(QGUI_STATUS_MOUSE_OVER_UI);
        const bool injected = ctx.injectMouseButtonUp(CEGUI::LeftButton);
        result = injected && over;
        setPressTime(QGUI_STATUS_LBUTTON, 0.0f);
        break;
    }
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    {
        const bool right = message == WM_RBUTTONDOWN;
        const bool injected =
            ctx.injectMouseButtonDown(right ? CEGUI::RightButton : CEGUI::MiddleButton);
        result = injected && IsStatusOn(QGUI_STATUS_MOUSE_OVER_UI);
        const int status = right ? QGUI_STATUS_RBUTTON : QGUI_STATUS_MBUTTON;
        if (GetStatusDuration(status) == 0.0f)
            setPressTime(status, currentTime());
        break;
    }
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
    {
        const bool right = message == WM_RBUTTONUP;
        const bool injected =
            ctx.injectMouseButtonUp(right ? CEGUI::RightButton : CEGUI::MiddleButton);
        result = injected && IsStatusOn(QGUI_STATUS_MOUSE_OVER_UI);
        setPressTime(right ? QGUI_STATUS_RBUTTON : QGUI_STATUS_MBUTTON, 0.0f);
        break;
    }
    case WM_MOUSEWHEEL:
        result = ctx.injectMouseWheelChange(static_cast<float>(GetWheelDeltaWParam(wParam)) / 120.0f);
        break;
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    {
        uint32_t key = 0;
        const bool mapped = translateVirtualKey(wParam, &key);
        result = ctx.injectKeyDown(static_cast<CEGUI::Key::Scan>(key));
        if (mapped)
        {
            const int status = statusFromScanCode(key);
            if (status < QGUI_STATUS_COUNT && GetStatusDuration(status) == 0.0f)
                setPressTime(status, currentTime());
        }
        if (!result && wParam == VK_RETURN)
            ExecuteScpritFile("key_process.lua");
        break;
    }
    case WM_KEYUP:
    case WM_SYSKEYUP:
    {
        uint32_t key = 0;
        if (!translateVirtualKey(wParam, &key))
            break;
        result = ctx.injectKeyUp(static_cast<CEGUI::Key::Scan>(key));
        if (!result && key == CEGUI::Key::Escape)
            closeTopmostPanel();
        const int status = statusFromScanCode(key);
        if (status < QGUI_STATUS_COUNT)
            setPressTime(status, 0.0f);
        break;
    }
    case WM_CHAR:
    case WM_SYSCHAR:
        result = injectAnsiChar(static_cast<uint16_t>(wParam & 0xFFFF));
        break;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_EXITMENULOOP_:
    case WM_CAPTURECHANGED_:
        clearPressTimes();
        break;
    case WM_MOVE:
        // Native web controls follow the main window.
        OnMainWindowMoved();
        break;
    case WM_SYSCOMMAND:
        if (wParam == SC_CLOSE)
            ExecuteScriptGlobal("panel_oper_system");
        break;
    case WM_DESTROY:
        ::PostQuitMessage(0);
        break;
    default:
        break;
    }
    return result;
}
} // namespace QGUI
