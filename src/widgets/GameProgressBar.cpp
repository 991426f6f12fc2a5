// The game progress bar: values, animation by speed, events, and its
// properties.
#include "widgets/GameProgressBar.h"

#include <cmath>

#include "HostGlobals.h"
#include "IQGUI.h"
#include "strtools.h"
#include "widgets/QGUIExtraFacoryManager.h"
#include "widgets/SharedProperties.h"

namespace QGUI
{
const CEGUI::String GameProgressBar::EventNamespace("GameProgressBar");
const CEGUI::String GameProgressBar::WidgetTypeName("QXGame/GameProgressBar");
const CEGUI::String GameProgressBar::EventAdvancedToZero("AdvancedToZero");
const CEGUI::String GameProgressBar::EventAdvancedToOne("AdvancedToOne");
} // namespace QGUI

namespace CEGUI
{
namespace GameProgressBarProperty
{
QGUI_PROPERTY(CMaxValue, QGUI::GameProgressBar, FloatText, "MaxValue",
              "Property to get/set the setting for max value of the GameProgressBar.  Value is a number.", "0",
              &QGUI::GameProgressBar::getMaxValue, &QGUI::GameProgressBar::setMaxValue);
QGUI_PROPERTY(CCurValue, QGUI::GameProgressBar, FloatText, "CurValue",
              "Property to get/set the setting for current value of the GameProgressBar.  Value is a number.",
              "0", &QGUI::GameProgressBar::getCurValue, &QGUI::GameProgressBar::setCurValue);
QGUI_PROPERTY(CSpeed, QGUI::GameProgressBar, FloatText, "Speed",
              "Property to get/set the setting for speed of the GameProgressBar.  Value is a number.", "0",
              &QGUI::GameProgressBar::getSpeed, &QGUI::GameProgressBar::setSpeed);
QGUI_PROPERTY(CNeedText, QGUI::GameProgressBar, BoolText, "NeedText",
              "Property to get/set if this GameProgressBar need print text.  Value is a boolean.", "True",
              &QGUI::GameProgressBar::isNeedText, &QGUI::GameProgressBar::setNeedText);
} // namespace GameProgressBarProperty
} // namespace CEGUI

namespace QGUI
{
namespace
{
CEGUI::GameProgressBarProperty::CMaxValue s_MaxValue;
CEGUI::GameProgressBarProperty::CCurValue s_CurValue;
CEGUI::GameProgressBarProperty::CSpeed s_Speed;
CEGUI::GameProgressBarProperty::CNeedText s_NeedText;

// A value that is no number ("nan" reads as one) counts as 0: it would
// otherwise pass the library's clamping and reach the drawing.
float NumberOrZero(float value)
{
    return std::isnan(value) ? 0.0f : value;
}
} // namespace

CEGUI::ShareProSet GameProgressBar::SharePropertySet{&s_MaxValue, &s_CurValue, &s_Speed, &s_NeedText};

GameProgressBar::GameProgressBar(const CEGUI::String& type, const CEGUI::String& name)
    : CEGUI::ProgressBar(type, name)
{
    SharePropertySet.applyTo(*this);
}

CEGUI::Property* GameProgressBar::FindSharePros(const CEGUI::String& name) const
{
    return SharePropertySet.GetpProperty(name);
}

void GameProgressBar::WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const
{
    WriteSharedSet(*this, SharePropertySet, xml, count);
}

void GameProgressBar::setMaxValue(float value)
{
    if (ChangeValue(m_fMaxValue, NumberOrZero(value)))
        recomputeProgress();
}

void GameProgressBar::setCurValue(float value)
{
    if (!ChangeValue(m_fCurValue, NumberOrZero(value)))
        return;
    recomputeProgress();
    CEGUI::WindowEventArgs args(this);
    if (m_fCurValue >= m_fMaxValue && m_fSpeed > 0.0f)
        fireEvent(EventAdvancedToOne, args, EventNamespace);
    else if (m_fCurValue <= 0.0f && m_fSpeed < 0.0f)
        fireEvent(EventAdvancedToZero, args, EventNamespace);
}

void GameProgressBar::setSpeed(float speed)
{
    m_fSpeed = NumberOrZero(speed);
}

void GameProgressBar::setNeedText(bool need)
{
    if (ChangeValue(m_bNeedText, need))
        invalidate();
}

void GameProgressBar::recomputeProgress()
{
    const float fraction = m_fMaxValue == 0.0f ? 0.0f : std::fabs(m_fCurValue / m_fMaxValue);
    setProgress(NumberOrZero(fraction));
}

// The end in the direction of the speed: full (by progress, or by value
// for a maximum whose progress never reaches 1) for a positive speed, empty
// (by progress, or by a value at or below 0, whose progress would grow
// again with its magnitude) for a negative one.
bool GameProgressBar::atEnd() const
{
    if (m_fSpeed > 0.0f)
        return getProgress() >= 1.0f || m_fCurValue >= m_fMaxValue;
    return getProgress() <= 0.0f || m_fCurValue <= 0.0f;
}

// Steps once per host frame: the bar keeps the host clock of its last
// update, and an update less than a frame after it (two time pulses in one
// frame) does not step. The clock is the host record's 32-bit float, whose
// resolution falls as it grows; the record's layout is the host's, so the
// gate stays on it. The first update only records the time. Without the
// host's clock (before start-up) the bar does not move.
void GameProgressBar::updateSelf(float elapsed)
{
    CEGUI::ProgressBar::updateSelf(elapsed);
    IQGUI* main = MainObject();
    const HostGlobals* host = main ? main->GetHostGlobals() : nullptr;
    if (!host)
        return;
    const float now = host->curtime;
    const float threshold = now - elapsed + SameFrameTolerance;
    const bool firstOrSameFrame = m_fLastUpdateTime == 0.0f || m_fLastUpdateTime > threshold;
    if (!firstOrSameFrame && m_fSpeed != 0.0f)
    {
        if (atEnd())
            return;
        setCurValue(m_fCurValue + m_fSpeed * elapsed);
    }
    m_fLastUpdateTime = now;
}

void GameProgressBar::onDestructionStarted(CEGUI::WindowEventArgs& e)
{
    CEGUI::ProgressBar::onDestructionStarted(e);
    if (IQGUI* main = MainObject())
        main->UnmarkWindowName(Utf8ToAnsi(getName().c_str(), ""));
}
} // namespace QGUI
