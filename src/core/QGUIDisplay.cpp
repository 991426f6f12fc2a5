// Display and host-window services of the main object: following a new
// display size, converting rectangles between the screen and the game's
// drawing surface, the web windows and the web-control manager, and what the
// web-page widget asks of the host.
#include <CEGUI/CEGUI.h>

#include <cstddef>
#include <cstdint>
#include <exception>
#include <vector>

#include "IWebCtrl.h"
#include "core/HostCallGuard.h"
#include "core/QGUI.h"
#include "core/Saturate.h"
#include "render/QXRenderer.h"
#include "winservices.h"

// The display-mode record is read at the byte offsets the engine client
// writes it with.
static_assert(offsetof(QDisplayMode, width) == 10, "surface width at byte 10");
static_assert(offsetof(QDisplayMode, height) == 12, "surface height at byte 12");
static_assert(offsetof(QDisplayMode, unscaled) == 22, "no-scaling flag at byte 22");
static_assert(offsetof(QDisplayMode, offsetEighth) == 23, "offset flag at byte 23");

namespace QGUI
{
namespace
{
CEGUI::GUIContext* Context()
{
    CEGUI::System* system = CEGUI::System::getSingletonPtr();
    return system ? &system->getDefaultGUIContext() : nullptr;
}

int32_t Shift(int32_t value, int32_t by)
{
    return SaturateToInt32(static_cast<double>(value) + by);
}

// Scales one coordinate in single precision, truncated toward zero.
int32_t Scale(int32_t value, float scale, bool inverse)
{
    const float scaled = inverse ? static_cast<float>(value) / scale : static_cast<float>(value) * scale;
    return SaturateToInt32(scaled);
}
} // namespace

void CQGUI::UpdateDisplaySize()
{
    QGUI_OPEN_CALL_SCOPE();
    if (!m_pRenderer)
        return;
    guardHostCall("UpdateDisplaySize", [this] {
        m_pRenderer->updateDisplayArea();
        CEGUI::GUIContext* ctx = Context();
        if (CEGUI::Window* sheet = ctx ? ctx->getRootWindow() : nullptr)
        {
            const CEGUI::Sizef size = m_pRenderer->getDisplaySize();
            sheet->setSize(CEGUI::USize(cegui_absdim(size.d_width), cegui_absdim(size.d_height)));
        }
    });
}

// Frame windows (children of the sheet with a title bar setting) that lie
// wholly right of or below the screen are pulled back so that their right
// or bottom edge meets the screen's; windows still partly on the screen
// stay where they are.
void CQGUI::pullFrameWindowsOnScreen(CEGUI::Window* sheet)
{
    const QXViewport* viewport = m_pRenderInterface ? m_pRenderInterface->GetViewport() : nullptr;
    if (!viewport)
        return;
    const float width = viewport->width;
    const float height = viewport->height;
    // Moving a window runs its handlers, which may close windows.
    std::vector<CEGUI::Window*> children;
    for (size_t i = 0; i < sheet->getChildCount(); ++i)
        children.push_back(sheet->getChildAtIdx(i));
    CEGUI::WindowManager& windows = CEGUI::WindowManager::getSingleton();
    for (CEGUI::Window* child : children)
    {
        if (!windows.isAlive(child) || child->getParent() != sheet ||
            !child->isPropertyPresent("TitlebarEnabled"))
            continue;
        const CEGUI::Rectf rect = child->getUnclippedOuterRect().get();
        float left = rect.left();
        float top = rect.top();
        if (top > height)
            top = height - rect.getHeight();
        if (left > width)
            left = width - rect.getWidth();
        if (left == rect.left() && top == rect.top())
            continue;
        // The same move in the window's own position, as absolute pixels.
        const CEGUI::Vector2f position =
            CEGUI::CoordConverter::asAbsolute(child->getPosition(), child->getParentPixelSize());
        child->setPosition(CEGUI::UVector2(cegui_absdim(position.d_x + left - rect.left()),
                                           cegui_absdim(position.d_y + top - rect.top())));
    }
}

void CQGUI::OnDisplaySizeChanged()
{
    QGUI_OPEN_CALL_SCOPE();
    if (!m_pRenderer)
        return;
    guardHostCall("OnDisplaySizeChanged", [this] {
        m_pRenderer->updateDisplayArea();
        CEGUI::GUIContext* ctx = Context();
        CEGUI::Window* sheet = ctx ? ctx->getRootWindow() : nullptr;
        if (sheet)
        {
            pullFrameWindowsOnScreen(sheet);
            // Handlers of the moves may have replaced or closed the sheet.
            sheet = ctx->getRootWindow();
        }
        if (sheet)
        {
            sheet->invalidate();
            // Moving the top-left corner by a pixel and back lays the
            // sheet's children out again for the new size.
            const CEGUI::URect area = sheet->getArea();
            CEGUI::URect nudged = area;
            nudged.d_min.d_x += cegui_absdim(1.0f);
            nudged.d_min.d_y += cegui_absdim(1.0f);
            sheet->setArea(nudged);
            if ((sheet = ctx->getRootWindow()))
                sheet->setArea(area);
        }
    });
    ExecuteScriptGlobal("gFn_localSetting_restore_all_backups");
}

// Without an engine client, a display-mode record, a surface size or a
// screen size, nothing is scaled: the rectangle keeps its values (the
// offset step aside, when the record asks for it) and the answer is true.
bool CQGUI::TransformScreenRect(QGUIRect* rect, bool inverse)
{
    QGUI_OPEN_CALL_SCOPE(false);
    if (!rect || !m_pEngineClient)
        return true;
    const QDisplayMode* mode = m_pEngineClient->GetDisplayMode();
    if (!mode)
        return true;
    if (mode->offsetEighth)
    {
        const int32_t offset = (inverse ? -1 : 1) * static_cast<int32_t>(mode->height / 8);
        rect->top = Shift(rect->top, offset);
        rect->bottom = Shift(rect->bottom, offset);
    }
    if (mode->unscaled)
        return true;
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    if (mode->width == 0 || mode->height == 0 || screenWidth <= 0 || screenHeight <= 0)
        return true;
    const float sx = static_cast<float>(screenWidth) / static_cast<float>(mode->width);
    const float sy = static_cast<float>(screenHeight) / static_cast<float>(mode->height);
    rect->left = Scale(rect->left, sx, inverse);
    rect->right = Scale(rect->right, sx, inverse);
    rect->top = Scale(rect->top, sy, inverse);
    rect->bottom = Scale(rect->bottom, sy, inverse);
    return false;
}

// The foreign module's factory; only index 0 is valid.
CreateInterfaceFn CQGUI::GetInterfaceFactory(int index)
{
    QGUI_OPEN_CALL_SCOPE(nullptr);
    return index == 0 ? m_pForeignFactory : nullptr;
}

// The engine client's main-window record, or null without an engine client.
const void* CQGUI::GetMainWindow()
{
    QGUI_OPEN_CALL_SCOPE(nullptr);
    return m_pEngineClient ? m_pEngineClient->GetMainWindow() : nullptr;
}

bool CQGUI::HasHTMLWindow()
{
    QGUI_OPEN_CALL_SCOPE(false);
    return m_WebWindows.IsAnyOpen();
}

bool CQGUI::IsWebCtrlMessage(uintptr_t message)
{
    QGUI_OPEN_CALL_SCOPE(false);
    return m_pWebCtrlMgr && m_pWebCtrlMgr->PreTranslateMessage(message) != 0;
}

int32_t CQGUI::GetUserValue()
{
    QGUI_OPEN_CALL_SCOPE(0);
    return m_nUserValue;
}

void CQGUI::RegisterWebWindow(IWebWindow* window)
{
    if (m_WebWindows.Add(window))
        ShowSystemCursor(true);
}

void CQGUI::UnregisterWebWindow(IWebWindow* window)
{
    if (m_WebWindows.Remove(window) && !m_WebWindows.IsAnyOpen())
        ShowSystemCursor(false);
}

void CQGUI::OnMainWindowMoved()
{
    m_WebWindows.UpdateAllPlacements();
}
} // namespace QGUI
