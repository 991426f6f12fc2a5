// The frame window that thinks on a timer, and its one property.
#include "widgets/ThinkableFrameWindow.h"

#include "widgets/LookImagery.h"
#include "widgets/SharedProperties.h"

namespace QGUI
{
const CEGUI::String CThinkableFrameWindow::WidgetTypeName("QXGame/CThinkableFrameWindow");
const CEGUI::String CThinkableFrameWindow::EventNamespace("CThinkableFrameWindow");
const CEGUI::String CThinkableFrameWindow::EventThink("Think");

namespace ThinkableFrameWindowProperties
{
QGUI_PROPERTY(CThinkingCycle, CThinkableFrameWindow, FloatText, "ThinkingCycle",
              "Property to get/set the thinking cycle for the framewindow .  Value is a float.", "0",
              &CThinkableFrameWindow::getThinkingCycle, &CThinkableFrameWindow::setThinkingCycle);
} // namespace ThinkableFrameWindowProperties

namespace
{
ThinkableFrameWindowProperties::CThinkingCycle s_ThinkingCycle;
} // namespace

CEGUI::ShareProSet CThinkableFrameWindow::SharePropertySet{&s_ThinkingCycle};

CThinkableFrameWindow::CThinkableFrameWindow(const CEGUI::String& type, const CEGUI::String& name)
    : CEGUI::FrameWindow(type, name)
{
    SharePropertySet.applyTo(*this);
}

CEGUI::Property* CThinkableFrameWindow::FindSharePros(const CEGUI::String& name) const
{
    return SharePropertySet.GetpProperty(name);
}

void CThinkableFrameWindow::WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const
{
    WriteSharedSet(*this, SharePropertySet, xml, count);
}

void CThinkableFrameWindow::setThinkingCycle(float seconds)
{
    m_fThinkingCycle = seconds;
    m_fRemaining = seconds;
}

// A pulse longer than what remains of the cycle fires "Think" (one exactly
// as long only brings the countdown to 0), and the countdown starts again
// from the full cycle: the timer fires once a cycle, not on every pulse
// after its first period. The countdown is armed before the handlers run,
// so a handler that sets a new cycle keeps it.
void CThinkableFrameWindow::updateSelf(float elapsed)
{
    CEGUI::FrameWindow::updateSelf(elapsed);
    if (m_fThinkingCycle == 0.0f)
        return;
    if (elapsed > m_fRemaining)
    {
        m_fRemaining = m_fThinkingCycle;
        CEGUI::WindowEventArgs args(this);
        onThink(args);
    }
    else
        m_fRemaining -= elapsed;
}

void CThinkableFrameWindow::onThink(CEGUI::WindowEventArgs& e)
{
    fireEvent(EventThink, e, EventNamespace);
}

bool CThinkableFrameWindow::hasTitlebar()
{
    return CheckLookPart(*this, isChild(TitlebarName), "title bar");
}

void CThinkableFrameWindow::onTextChanged(CEGUI::WindowEventArgs& e)
{
    if (hasTitlebar())
        CEGUI::FrameWindow::onTextChanged(e);
    else
        CEGUI::Window::onTextChanged(e);
}

void CThinkableFrameWindow::onActivated(CEGUI::ActivationEventArgs& e)
{
    if (hasTitlebar())
        CEGUI::FrameWindow::onActivated(e);
    else
        CEGUI::Window::onActivated(e);
}

void CThinkableFrameWindow::onDeactivated(CEGUI::ActivationEventArgs& e)
{
    if (hasTitlebar())
        CEGUI::FrameWindow::onDeactivated(e);
    else
        CEGUI::Window::onDeactivated(e);
}
} // namespace QGUI
