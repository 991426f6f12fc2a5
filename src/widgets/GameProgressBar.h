// The game's progress bar: the GUI library's progress bar driven by a
// current value and a maximum instead of a fraction, optionally animated:
// with a speed set, the current value moves by speed x elapsed seconds once
// per host frame, and the bar fires "AdvancedToOne" when it runs full and
// "AdvancedToZero" when it runs empty.
#pragma once

#include <CEGUI/widgets/ProgressBar.h>

#include "ShareProSet.h"
#include "core/ModuleMemory.h"

namespace CEGUI
{
class XMLSerializer;
}

namespace QGUI
{
class GameProgressBar : public CEGUI::ProgressBar, public CModuleObject
{
public:
    static const CEGUI::String WidgetTypeName;    // "QXGame/GameProgressBar"
    static const CEGUI::String EventNamespace;    // "GameProgressBar"
    static const CEGUI::String EventAdvancedToZero;
    static const CEGUI::String EventAdvancedToOne;
    // Two updates closer in host time than a frame less this are the same
    // frame: the bar steps once.
    static constexpr float SameFrameTolerance = 0.0001f;

    GameProgressBar(const CEGUI::String& type, const CEGUI::String& name);

    // --- shared property sets ---
    virtual CEGUI::Property* FindSharePros(const CEGUI::String& name) const;
    virtual void WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const;

    float getMaxValue() const { return m_fMaxValue; }
    // A new maximum recomputes the progress; fires no event.
    void setMaxValue(float value);
    float getCurValue() const { return m_fCurValue; }
    // A new current value recomputes the progress and fires "AdvancedToOne"
    // or "AdvancedToZero" when it lands at the end the speed runs to.
    void setCurValue(float value);
    float getSpeed() const { return m_fSpeed; }
    void setSpeed(float speed);
    bool isNeedText() const { return m_bNeedText; }
    void setNeedText(bool need);

protected:
    void onDestructionStarted(CEGUI::WindowEventArgs& e) override;
    void updateSelf(float elapsed) override;

    static CEGUI::ShareProSet SharePropertySet;

private:
    // The library's progress: |current / maximum|, 0 for a maximum of 0.
    void recomputeProgress();
    // Whether the current value already stands at the end the speed runs to.
    bool atEnd() const;

    float m_fMaxValue = 0.0f;
    float m_fCurValue = 0.0f;
    float m_fSpeed = 0.0f;
    bool m_bNeedText = true;
    // Host clock at the last frame update; 0 before the first.
    float m_fLastUpdateTime = 0.0f;
};
} // namespace QGUI
