// The decorate window: a plain window that the user drags with the left
// mouse button to move it (and what it holds) inside its parent. While a
// drag lasts the mouse cursor is kept inside the grandparent's inner area,
// or inside the display when there is no grandparent.
#pragma once

#include <CEGUI/Window.h>

#include "ShareProSet.h"
#include "core/ModuleMemory.h"
#include "widgets/MouseWalk.h"

namespace CEGUI
{
class XMLSerializer;
}

namespace QGUI
{
class CQXDecorateWindow : public CEGUI::Window, public CModuleObject, public IMouseInputHandler
{
public:
    static const CEGUI::String WidgetTypeName; // "QXGame/DecorateWindow"

    CQXDecorateWindow(const CEGUI::String& type, const CEGUI::String& name);

    // --- shared property sets ---
    virtual CEGUI::Property* FindSharePros(const CEGUI::String& name) const;
    virtual void WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const;

    bool isDraggingEnabled() const { return m_bDraggingEnabled; }
    // Turning dragging off during a drag ends the drag.
    void setDraggingEnabled(bool enabled);
    bool isDragging() const { return m_bDragging; }

    void initialiseComponents() override {}

    // The left button's presses and releases, and moves while dragging.
    bool HandlesMouseInput(MouseInput input, const CEGUI::MouseEventArgs& e) const override;

protected:
    // Called when the dragging-enabled setting changes; fires nothing here.
    virtual void onDraggingModeChanged(CEGUI::WindowEventArgs& e);

    void onCaptureLost(CEGUI::WindowEventArgs& e) override;
    void onMouseMove(CEGUI::MouseEventArgs& e) override;
    void onMouseButtonDown(CEGUI::MouseEventArgs& e) override;
    void onMouseButtonUp(CEGUI::MouseEventArgs& e) override;

    static CEGUI::ShareProSet SharePropertySet;

private:
    // Starts a drag at a screen position when the window may be dragged.
    void startDrag(const CEGUI::Vector2f& position);
    // The area the cursor is kept in while dragging: the grandparent's
    // inner area, or the display.
    CEGUI::Rectf dragBounds() const;

    bool m_bDraggingEnabled = false;
    bool m_bDragging = false;
    // Where the drag started, in window coordinates.
    CEGUI::Vector2f m_DragPoint;
    // The cursor's constraint area when the drag started.
    CEGUI::URect m_SavedConstraint;
};
} // namespace QGUI
