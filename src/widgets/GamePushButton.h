// The game's push button: the GUI library's push button that, after its
// own click handling, asks the game to play a named interface sound at the
// button's centre.
#pragma once

#include <CEGUI/widgets/PushButton.h>

#include "ShareProSet.h"
#include "core/ModuleMemory.h"

namespace CEGUI
{
class XMLSerializer;
}

namespace QGUI
{
class CGamePushButton : public CEGUI::PushButton, public CModuleObject
{
public:
    static const CEGUI::String WidgetTypeName; // "QXGame/GamePushButton"
    // The sound a new button plays.
    static const CEGUI::String DefaultSoundName; // "interface.button"

    CGamePushButton(const CEGUI::String& type, const CEGUI::String& name);

    // --- shared property sets ---
    virtual CEGUI::Property* FindSharePros(const CEGUI::String& name) const;
    virtual void WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const;

    const CEGUI::String& getSoundName() const { return m_SoundName; }
    // The empty text makes the button silent.
    void setSoundName(const CEGUI::String& name) { m_SoundName = name; }

protected:
    void onClicked(CEGUI::WindowEventArgs& e) override;

    static CEGUI::ShareProSet SharePropertySet;

private:
    CEGUI::String m_SoundName;
};
} // namespace QGUI
