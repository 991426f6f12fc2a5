// Value texts and percent bars: one property of a game object, named by a
// selector the game resolves ("WhichOne") and a property name
// ("WhichProperty"). The value text shows the property's text; the percent
// bar reads it as a fraction from 0 to 1, draws it as a lit bar and shows
// the reading as a percentage in its tooltip. Both bind themselves to the
// object, so the game's reports of a change refresh them.
#pragma once

#include <CEGUI/InputEvent.h>

#include <cstdint>

#include "widgets/QXWindow.h"

namespace QGUI
{
class CGameValueText : public QXWindow
{
public:
    static const CEGUI::String WidgetTypeName; // "QXGame/GameValueText"

    CGameValueText(const CEGUI::String& type, const CEGUI::String& name);
    ~CGameValueText() override;

    CEGUI::Property* FindSharePros(const CEGUI::String& name) const override;
    void WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const override;

    // --- properties: a change is asked of the game at the next draw ---
    const CEGUI::String& getWhichOne() const { return m_WhichOne; }
    void setWhichOne(const CEGUI::String& whichOne);
    const CEGUI::String& getWhichProperty() const { return m_WhichProperty; }
    void setWhichProperty(const CEGUI::String& property);

    // The bound game object; 0 for none.
    int32_t getObjectId() const { return m_nObjectId; }

protected:
    // Resolves the selector to an object, moves the binding to it, then
    // shows the object's property.
    void refreshGameObject() override;
    // Asks the game for the property and shows it: as the window text
    // (the empty text when the game refuses).
    virtual void refreshValueText();

    static CEGUI::ShareProSet SharePropertySet;

private:
    CEGUI::String m_WhichOne;
    CEGUI::String m_WhichProperty;
    int32_t m_nObjectId = 0;
};

class CPercentBar : public CGameValueText
{
public:
    static const CEGUI::String WidgetTypeName;      // "QXGame/PercentBar"
    static const CEGUI::String EventNamespace;      // "PercentBar"
    static const CEGUI::String EventPercentChanged; // "PercentChanged"
    // Room for the percentage the tooltip shows after its label.
    static constexpr int PercentTextSize = 64;

    CPercentBar(const CEGUI::String& type, const CEGUI::String& name);
    ~CPercentBar() override;

    CEGUI::Property* FindSharePros(const CEGUI::String& name) const override;
    void WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const override;

    // Always within [0, 1].
    float getValue() const { return m_fValue; }
    // Clamps to [0, 1] (a reading that is no number counts as 0); a new
    // value redraws the bar and fires "PercentChanged". A value set by a
    // handler of that event is stored and drawn without firing it again.
    void setValue(float value);
    // The tooltip's label; a text beginning with "#" is localised first.
    const CEGUI::String& getTooltip2() const { return m_Tooltip2; }
    void setTooltip2(const CEGUI::String& label);

protected:
    // Reads the property as a fraction: the bar shows it clamped, the
    // tooltip the label and the reading as a percentage. A refusal keeps
    // both as they were.
    void refreshValueText() override;
    virtual void onPercentChanged(CEGUI::WindowEventArgs& e);

    static CEGUI::ShareProSet SharePropertySet;

private:
    float m_fValue = 0.5f;
    CEGUI::String m_Tooltip2;
    // Set while "PercentChanged" is being fired.
    bool m_bFiring = false;
};
} // namespace QGUI
