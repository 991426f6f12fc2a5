// The think-timed frame window: a frame window that fires "Think" every
// thinking cycle, counted down by the GUI's own time pulses, so that a
// panel's script can run timed work by subscribing to it. It keeps thinking
// while it or its parent is hidden.
#pragma once

#include <CEGUI/widgets/FrameWindow.h>

#include "ShareProSet.h"
#include "core/ModuleMemory.h"

namespace CEGUI
{
class XMLSerializer;
}

namespace QGUI
{
class CThinkableFrameWindow : public CEGUI::FrameWindow, public CModuleObject
{
public:
    static const CEGUI::String WidgetTypeName; // "QXGame/CThinkableFrameWindow"
    static const CEGUI::String EventNamespace; // "CThinkableFrameWindow"
    static const CEGUI::String EventThink;     // "Think"

    CThinkableFrameWindow(const CEGUI::String& type, const CEGUI::String& name);

    // --- shared property sets ---
    virtual CEGUI::Property* FindSharePros(const CEGUI::String& name) const;
    virtual void WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const;

    float getThinkingCycle() const { return m_fThinkingCycle; }
    // Sets the cycle and restarts the countdown from it (also when the
    // value is unchanged); 0 turns the timer off.
    void setThinkingCycle(float seconds);
    float getRemaining() const { return m_fRemaining; }

protected:
    void updateSelf(float elapsed) override;
    // The frame window shows its text and activation on its title bar; one
    // made without a look has none and does without.
    void onTextChanged(CEGUI::WindowEventArgs& e) override;
    void onActivated(CEGUI::ActivationEventArgs& e) override;
    void onDeactivated(CEGUI::ActivationEventArgs& e) override;
    // Fires "Think".
    virtual void onThink(CEGUI::WindowEventArgs& e);

    static CEGUI::ShareProSet SharePropertySet;

private:
    bool hasTitlebar();
    float m_fThinkingCycle = 0.0f;
    float m_fRemaining = 0.0f;
};
} // namespace QGUI
