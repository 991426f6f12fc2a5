// Keeping key presses inside a window. The GUI library hands a key that a
// window leaves unhandled on to the window's parent, within the window's own
// key handling, unless the window is the context's modal one; while a
// CKeyCapture lives, its window counts as the modal one, so the key goes no
// further than the window's own handlers.
#pragma once

#include <CEGUI/GUIContext.h>
#include <CEGUI/Window.h>

namespace QGUI
{
class CKeyCapture
{
public:
    explicit CKeyCapture(CEGUI::Window& window)
        : d_context(window.getGUIContext()), d_modal(d_context.getModalWindow())
    {
        d_context.setModalWindow(&window);
    }
    ~CKeyCapture() { d_context.setModalWindow(d_modal); }
    CKeyCapture(const CKeyCapture&) = delete;
    CKeyCapture& operator=(const CKeyCapture&) = delete;

private:
    CEGUI::GUIContext& d_context;
    CEGUI::Window* d_modal;
};
} // namespace QGUI
