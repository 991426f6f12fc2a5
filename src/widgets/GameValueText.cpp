#include "widgets/GameValueText.h"

#include <cmath>
#include <string>

#include "LocalizeString.h"
#include "render/GuiString.h"
#include "strtools.h"
#include "widgets/GameObjectQueries.h"
#include "widgets/QGUIExtraFacoryManager.h"
#include "widgets/SharedProperties.h"

namespace QGUI
{
const CEGUI::String CGameValueText::WidgetTypeName("QXGame/GameValueText");
const CEGUI::String CPercentBar::WidgetTypeName("QXGame/PercentBar");
const CEGUI::String CPercentBar::EventNamespace("PercentBar");
const CEGUI::String CPercentBar::EventPercentChanged("PercentChanged");

// --- value text ---

// The text is the game's: it is shown as it is, never read as markup.
CGameValueText::CGameValueText(const CEGUI::String& type, const CEGUI::String& name)
    : QXWindow(type, name)
{
    SharePropertySet.applyTo(*this);
    setTextParsingEnabled(false);
}

CGameValueText::~CGameValueText() {}

CEGUI::Property* CGameValueText::FindSharePros(const CEGUI::String& name) const
{
    if (CEGUI::Property* p = SharePropertySet.GetpProperty(name))
        return p;
    return QXWindow::FindSharePros(name);
}

void CGameValueText::WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const
{
    QXWindow::WriteSharePropToXML(xml, count);
    writeSharedSet(SharePropertySet, xml, count);
}

void CGameValueText::setWhichOne(const CEGUI::String& whichOne)
{
    if (ChangeValue(m_WhichOne, whichOne))
        invalidate();
}

void CGameValueText::setWhichProperty(const CEGUI::String& property)
{
    if (ChangeValue(m_WhichProperty, property))
        invalidate();
}

// A refusal changes nothing, not even the text shown. A reply without a
// creature keeps the binding, and the property is still read from it.
void CGameValueText::refreshGameObject()
{
    IQGUI* main = MainObject();
    int32_t id = -1;
    if (!QueryCreatureId(main, getProviderKey(), m_WhichOne, id))
        return;
    if (id != -1)
    {
        const int32_t old = m_nObjectId;
        m_nObjectId = id;
        moveBinding(*main, old, id);
    }
    refreshValueText();
}

void CGameValueText::refreshValueText()
{
    IQGUI* main = MainObject();
    if (!main)
        return;
    std::string value;
    if (QueryObjectProperty(main, m_nObjectId, m_WhichProperty, value))
        setText(StringFromUtf8(AnsiToUtf8(value.c_str(), "")));
    else
        setText(CEGUI::String());
}

// --- percent bar ---

CPercentBar::CPercentBar(const CEGUI::String& type, const CEGUI::String& name)
    : CGameValueText(type, name)
{
    SharePropertySet.applyTo(*this);
}

CPercentBar::~CPercentBar() {}

CEGUI::Property* CPercentBar::FindSharePros(const CEGUI::String& name) const
{
    if (CEGUI::Property* p = SharePropertySet.GetpProperty(name))
        return p;
    return CGameValueText::FindSharePros(name);
}

void CPercentBar::WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const
{
    CGameValueText::WriteSharePropToXML(xml, count);
    writeSharedSet(SharePropertySet, xml, count);
}

void CPercentBar::setValue(float value)
{
    if (std::isnan(value) || value < 0.0f)
        value = 0.0f;
    else if (value > 1.0f)
        value = 1.0f;
    if (!ChangeValue(m_fValue, value))
        return;
    if (m_bFiring)
    {
        requestRedraw();
        return;
    }
    // Handlers that set the value again cannot recurse without end.
    struct Firing
    {
        bool& flag;
        explicit Firing(bool& f) : flag(f) { flag = true; }
        ~Firing() { flag = false; }
    } firing(m_bFiring);
    CEGUI::WindowEventArgs args(this);
    onPercentChanged(args);
}

void CPercentBar::setTooltip2(const CEGUI::String& label)
{
    m_Tooltip2 = !label.empty() && label[0] == '#' ? CEGUI::LocalizeString(label) : label;
}

void CPercentBar::refreshValueText()
{
    std::string text;
    if (!QueryObjectProperty(MainObject(), getObjectId(), getWhichProperty(), text))
        return;
    const float reading = StringToFloat(text.c_str());
    if (m_Tooltip2.empty())
        setTooltipText(CEGUI::String());
    else
    {
        char percent[PercentTextSize] = {};
        StrSnprintf(percent, sizeof percent, " %3.2f %%", static_cast<double>(reading * 100.0f));
        setTooltipText(m_Tooltip2 + percent);
    }
    setValue(reading);
}

void CPercentBar::onPercentChanged(CEGUI::WindowEventArgs& e)
{
    requestRedraw();
    fireEvent(EventPercentChanged, e, EventNamespace);
}
} // namespace QGUI
