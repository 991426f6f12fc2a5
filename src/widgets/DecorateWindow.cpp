// The draggable decorate window and its one property.
#include "widgets/DecorateWindow.h"

#include <CEGUI/CoordConverter.h>
#include <CEGUI/GUIContext.h>
#include <CEGUI/MouseCursor.h>
#include <CEGUI/Renderer.h>
#include <CEGUI/System.h>

#include <cmath>

#include "widgets/SharedProperties.h"

namespace QGUI
{
const CEGUI::String CQXDecorateWindow::WidgetTypeName("QXGame/DecorateWindow");

namespace DecorateWindowProperties
{
QGUI_PROPERTY(DraggingEnabled, CQXDecorateWindow, BoolText, "DraggingEnabled",
              "Property to get/set the state of the dragging enabled setting for the DecorateWindow.  "
              "Value is either \"True\" or \"False\".",
              "False", &CQXDecorateWindow::isDraggingEnabled, &CQXDecorateWindow::setDraggingEnabled);
} // namespace DecorateWindowProperties

namespace
{
DecorateWindowProperties::DraggingEnabled s_DraggingEnabled;

// A move in whole pixels: half a pixel is added and the sum truncated
// toward zero (2.5 moves 3, -2.5 moves -2).
float WholePixels(float delta)
{
    return std::trunc(delta + 0.5f);
}
} // namespace

CEGUI::ShareProSet CQXDecorateWindow::SharePropertySet{&s_DraggingEnabled};

CQXDecorateWindow::CQXDecorateWindow(const CEGUI::String& type, const CEGUI::String& name)
    : CEGUI::Window(type, name), m_DragPoint(0.0f, 0.0f),
      m_SavedConstraint(CEGUI::UDim(0, 0), CEGUI::UDim(0, 0), CEGUI::UDim(1, 0), CEGUI::UDim(1, 0))
{
    SharePropertySet.applyTo(*this);
}

CEGUI::Property* CQXDecorateWindow::FindSharePros(const CEGUI::String& name) const
{
    return SharePropertySet.GetpProperty(name);
}

void CQXDecorateWindow::WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const
{
    WriteSharedSet(*this, SharePropertySet, xml, count);
}

void CQXDecorateWindow::setDraggingEnabled(bool enabled)
{
    if (!ChangeValue(m_bDraggingEnabled, enabled))
        return;
    if (!enabled && m_bDragging)
        releaseInput();
    CEGUI::WindowEventArgs args(this);
    onDraggingModeChanged(args);
}

void CQXDecorateWindow::onDraggingModeChanged(CEGUI::WindowEventArgs&) {}

bool CQXDecorateWindow::HandlesMouseInput(MouseInput input, const CEGUI::MouseEventArgs& e) const
{
    if (input == MouseInput::ButtonDown || input == MouseInput::ButtonUp)
        return e.button == CEGUI::LeftButton;
    return input == MouseInput::Move && m_bDragging && getParent();
}

void CQXDecorateWindow::onMouseButtonDown(CEGUI::MouseEventArgs& e)
{
    CEGUI::Window::onMouseButtonDown(e);
    if (e.button != CEGUI::LeftButton)
        return;
    startDrag(e.position);
    ++e.handled;
}

// A press on a child is the child's; a failed capture starts no drag.
void CQXDecorateWindow::startDrag(const CEGUI::Vector2f& position)
{
    if (!getParent() || !m_bDraggingEnabled || getTargetChildAtPosition(position) || !captureInput())
        return;
    m_bDragging = true;
    m_DragPoint = CEGUI::CoordConverter::screenToWindow(*this, position);

    CEGUI::MouseCursor& cursor = getGUIContext().getMouseCursor();
    m_SavedConstraint = cursor.getUnifiedConstraintArea();
    const CEGUI::Rectf confined = cursor.getConstraintArea().getIntersection(dragBounds());
    // An empty intersection (the grandparent lies off the display) would
    // pin the cursor: the previous constraint stays then.
    if (confined.getWidth() > 0.0f && confined.getHeight() > 0.0f)
        cursor.setConstraintArea(&confined);
}

CEGUI::Rectf CQXDecorateWindow::dragBounds() const
{
    if (const CEGUI::Window* grandparent = getParent()->getParent())
        return grandparent->getUnclippedInnerRect().get();
    return CEGUI::Rectf(CEGUI::Vector2f(0.0f, 0.0f),
                        CEGUI::System::getSingleton().getRenderer()->getDisplaySize());
}

void CQXDecorateWindow::onMouseMove(CEGUI::MouseEventArgs& e)
{
    CEGUI::Window::onMouseMove(e);
    if (!m_bDragging || !getParent())
        return;
    const CEGUI::Vector2f delta = CEGUI::CoordConverter::screenToWindow(*this, e.position) - m_DragPoint;
    setPosition(getPosition() + CEGUI::UVector2(CEGUI::UDim(0.0f, WholePixels(delta.d_x)),
                                                CEGUI::UDim(0.0f, WholePixels(delta.d_y))));
    ++e.handled;
}

void CQXDecorateWindow::onMouseButtonUp(CEGUI::MouseEventArgs& e)
{
    CEGUI::Window::onMouseButtonUp(e);
    if (e.button != CEGUI::LeftButton)
        return;
    releaseInput();
    ++e.handled;
}

// Only the end of a drag gives the cursor its previous constraint back: a
// capture the window took for anything else saved none.
void CQXDecorateWindow::onCaptureLost(CEGUI::WindowEventArgs& e)
{
    CEGUI::Window::onCaptureLost(e);
    if (!m_bDragging)
        return;
    m_bDragging = false;
    getGUIContext().getMouseCursor().setUnifiedConstraintArea(&m_SavedConstraint);
}
} // namespace QGUI
