// The walk of mouse input up the window tree: a mouse event that a window
// leaves unhandled goes on to its parent, and so on up, until a window
// handles it, so that a panel hears a press or the wheel over a label or a
// picture it holds.
//
// The GUI library walks up only from windows whose
// "MouseInputPropagationEnabled" is set, and only when the event is not yet
// counted as handled when the base window handler has fired it. Three of
// its habits are taken care of here:
// - every new window walks (EnableMouseWalk; a layout may still turn it off
//   for a window);
// - a stock class that handles an event (a button's left press, an edit
//   box's drag, a list's wheel) does so after the base handler has already
//   passed the event on: such events are counted as handled while they are
//   fired, so that they go no further;
// - the base handler counts a left press that activates or raises the
//   window or one that holds it as handled: on a window that does not
//   handle the press that count is taken back.
// A module window class that handles mouse input itself says which through
// IMouseInputHandler.
#pragma once

namespace CEGUI
{
class MouseEventArgs;
class Window;
} // namespace CEGUI

namespace QGUI
{
enum class MouseInput
{
    ButtonDown,
    ButtonUp,
    Click,
    DoubleClick,
    TripleClick,
    Wheel,
    Move
};

// Implemented by module window classes whose own mouse handlers handle some
// input: which input, for the event about to be handled.
class IMouseInputHandler
{
public:
    virtual bool HandlesMouseInput(MouseInput input, const CEGUI::MouseEventArgs& e) const = 0;

protected:
    ~IMouseInputHandler() = default;
};

// Unhandled mouse input on this window goes on to its parent.
void EnableMouseWalk(CEGUI::Window& window);

// Listens to the mouse events of every window; once, after the GUI system
// is made.
void SubscribeMouseWalk();
} // namespace QGUI
