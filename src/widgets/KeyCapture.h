// Keeping key presses inside a window. The GUI library hands a key that a
// window leaves unhandled on to the window's parent, within the window's own
// key handling, unless the window is the context's modal one; while a
// CKeyCapture lives, its window counts as the modal one, so the key goes no
// further than the window's own handlers. The modal window before is given
// back unless a handler has chosen another one meanwhile (or the one before
// is gone).
#pragma once

#include <CEGUI/GUIContext.h>
#include <CEGUI/Window.h>
#include <CEGUI/WindowManager.h>

namespace QGUI
{
class CKeyCapture
{
public:
    explicit CKeyCapture(CEGUI::Window& window)
        : d_context(window.getGUIContext()), d_window(window), d_modal(d_context.getModalWindow())
    {
        d_context.setModalWindow(&window);
    }
    ~CKeyCapture()
    {
        if (d_context.getModalWindow() != &d_window)
            return;
        const bool alive = d_modal && CEGUI::WindowManager::getSingleton().isAlive(d_modal);
        d_context.setModalWindow(alive ? d_modal : nullptr);
    }
    CKeyCapture(const CKeyCapture&) = delete;
    CKeyCapture& operator=(const CKeyCapture&) = delete;

private:
    CEGUI::GUIContext& d_context;
    CEGUI::Window& d_window;
    CEGUI::Window* d_modal;
};
} // namespace QGUI
