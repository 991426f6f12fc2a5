// Mouse input walking up the window tree, and which windows stop it.
#include "widgets/MouseWalk.h"

#include <CEGUI/CoordConverter.h>
#include <CEGUI/GUIContext.h>
#include <CEGUI/GlobalEventSet.h>
#include <CEGUI/InputEvent.h>
#include <CEGUI/Window.h>
#include <CEGUI/widgets/ButtonBase.h>
#include <CEGUI/widgets/ComboDropList.h>
#include <CEGUI/widgets/DragContainer.h>
#include <CEGUI/widgets/Editbox.h>
#include <CEGUI/widgets/FrameWindow.h>
#include <CEGUI/widgets/ItemEntry.h>
#include <CEGUI/widgets/ListHeaderSegment.h>
#include <CEGUI/widgets/Listbox.h>
#include <CEGUI/widgets/MenuItem.h>
#include <CEGUI/widgets/MultiColumnList.h>
#include <CEGUI/widgets/MultiLineEditbox.h>
#include <CEGUI/widgets/PopupMenu.h>
#include <CEGUI/widgets/ScrollablePane.h>
#include <CEGUI/widgets/Scrollbar.h>
#include <CEGUI/widgets/ScrolledItemListBase.h>
#include <CEGUI/widgets/Slider.h>
#include <CEGUI/widgets/TabButton.h>
#include <CEGUI/widgets/Titlebar.h>
#include <CEGUI/widgets/Tree.h>

namespace QGUI
{
namespace
{
template <class T>
bool Is(const CEGUI::Window& window)
{
    return dynamic_cast<const T*>(&window) != nullptr;
}

// A frame window starts sizing on a left press on its sizing border when
// sizing is on (which says false while its frame is off) and it is active
// (it must take the capture).
bool StartsSizing(const CEGUI::FrameWindow& frame, const CEGUI::Vector2f& screen)
{
    if (!frame.isSizingEnabled() || !frame.isActive())
        return false;
    const CEGUI::Vector2f p = CEGUI::CoordConverter::screenToWindow(frame, screen);
    const CEGUI::Sizef size = frame.getPixelSize();
    const float border = frame.getSizingBorderThickness();
    const CEGUI::Rectf outer(0.0f, 0.0f, size.d_width, size.d_height);
    const CEGUI::Rectf inner(border, border, size.d_width - border, size.d_height - border);
    return outer.isPointInRect(p) && !inner.isPointInRect(p);
}

// What the GUI library's own classes count as handled, as their handlers
// do it.
bool StockHandles(const CEGUI::Window& w, MouseInput input, const CEGUI::MouseEventArgs& e)
{
    const bool left = e.button == CEGUI::LeftButton;
    const bool press = input == MouseInput::ButtonDown || input == MouseInput::ButtonUp;
    const bool down = input == MouseInput::ButtonDown;
    const bool up = input == MouseInput::ButtonUp;
    const bool click = input == MouseInput::Click;
    const bool doubleClick = input == MouseInput::DoubleClick;
    const bool wheel = input == MouseInput::Wheel;
    const bool move = input == MouseInput::Move;
    const bool multiClick = doubleClick || input == MouseInput::TripleClick;

    // A tab button also takes the middle button (to drag tabs) and the
    // wheel (to scroll the tabs), which it fires and counts as a move.
    if (Is<CEGUI::TabButton>(w))
        return (press && (left || e.button == CEGUI::MiddleButton)) || wheel || move;
    // Push buttons, check boxes, radio buttons and scrollbar thumbs.
    if (Is<CEGUI::ButtonBase>(w))
        return (press && left) || move;
    // A menu item is also an item entry: a left click when selectable.
    if (const auto* item = dynamic_cast<const CEGUI::MenuItem*>(&w))
        return (press && left) || move || (click && left && item->isSelectable());
    // A list header segment: also a left double click on its splitter.
    if (const auto* segment = dynamic_cast<const CEGUI::ListHeaderSegment*>(&w))
        return (press && left) || move || (doubleClick && left && segment->isSplitterHovering());
    if (Is<CEGUI::Editbox>(w))
        return ((press || multiClick) && left) || move;
    if (Is<CEGUI::MultiLineEditbox>(w))
        return ((press || multiClick) && left) || move || wheel;
    // A combo box's drop list: also a move over it.
    if (Is<CEGUI::ComboDropList>(w))
        return (press && left) || wheel || (move && w.isHit(e.position));
    if (Is<CEGUI::Listbox>(w) || Is<CEGUI::MultiColumnList>(w) || Is<CEGUI::Tree>(w) || Is<CEGUI::Scrollbar>(w) ||
        Is<CEGUI::Slider>(w))
        return (down && left) || wheel;
    if (Is<CEGUI::ScrollablePane>(w))
        return wheel;
    // Item list boxes scroll only with a shown vertical bar and items.
    if (const auto* list = dynamic_cast<const CEGUI::ScrolledItemListBase*>(&w))
        return wheel && list->getItemCount() > 0 && list->isChild(CEGUI::ScrolledItemListBase::VertScrollbarName) &&
               list->getVertScrollbar()->isVisible();
    if (Is<CEGUI::PopupMenu>(w))
        return press;
    // A title bar takes every left press, dragging on or off, and a move
    // while it drags its frame.
    if (const auto* bar = dynamic_cast<const CEGUI::Titlebar*>(&w))
        return ((press || doubleClick) && left) || (move && bar->isDragged() && w.getParent());
    // A drag container takes the capture on every left press, dragging on
    // or off, and leaves every move. It counts the left release too, but
    // for the one that picks it up in sticky mode: that release stops here
    // as well, since the panel never heard its press.
    if (Is<CEGUI::DragContainer>(w))
        return press && left;
    // A frame window: the left press that starts sizing, the left release
    // while it holds the capture, and a move while it contains the mouse.
    if (const auto* frame = dynamic_cast<const CEGUI::FrameWindow*>(&w))
        return (down && left && StartsSizing(*frame, e.position)) || (up && left && w.isCapturedByThis()) ||
               (move && w.getGUIContext().getWindowContainingMouse() == &w);
    if (const auto* entry = dynamic_cast<const CEGUI::ItemEntry*>(&w))
        return click && left && entry->isSelectable();
    return false;
}

// Whether the window's class handles that input: the walk stops there.
bool Handles(const CEGUI::Window& window, MouseInput input, const CEGUI::MouseEventArgs& e)
{
    if (const auto* own = dynamic_cast<const IMouseInputHandler*>(&window))
        return own->HandlesMouseInput(input, e);
    return StockHandles(window, input, e);
}

// Fired for every window's mouse event of that kind before the window's own
// subscribers hear it; the window's base handler then walks on when the
// event is still unhandled.
template <MouseInput Input>
bool OnMouseInput(const CEGUI::EventArgs& args)
{
    const auto* mouse = dynamic_cast<const CEGUI::MouseEventArgs*>(&args);
    if (!mouse || !mouse->window)
        return false;
    if (Handles(*mouse->window, Input, *mouse))
        return mouse->handled == 0; // counted once
    // The only count before a press is fired on a window that does not
    // handle it is the base handler's, for a left press that activates or
    // raises the window or one that holds it.
    if (Input == MouseInput::ButtonDown)
        const_cast<CEGUI::MouseEventArgs*>(mouse)->handled = 0;
    return false;
}

template <MouseInput Input>
void Subscribe(const CEGUI::String& event)
{
    CEGUI::GlobalEventSet::getSingleton().subscribeEvent(CEGUI::Window::EventNamespace + "/" + event,
                                                         CEGUI::Event::Subscriber(&OnMouseInput<Input>));
}
} // namespace

void EnableMouseWalk(CEGUI::Window& window)
{
    window.setMouseInputPropagationEnabled(true);
}

void SubscribeMouseWalk()
{
    Subscribe<MouseInput::ButtonDown>(CEGUI::Window::EventMouseButtonDown);
    Subscribe<MouseInput::ButtonUp>(CEGUI::Window::EventMouseButtonUp);
    Subscribe<MouseInput::Click>(CEGUI::Window::EventMouseClick);
    Subscribe<MouseInput::DoubleClick>(CEGUI::Window::EventMouseDoubleClick);
    Subscribe<MouseInput::TripleClick>(CEGUI::Window::EventMouseTripleClick);
    Subscribe<MouseInput::Wheel>(CEGUI::Window::EventMouseWheel);
    Subscribe<MouseInput::Move>(CEGUI::Window::EventMouseMove);
}
} // namespace QGUI
