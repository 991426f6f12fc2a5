// The push button with a click sound, and its one property.
#include "widgets/GamePushButton.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "IQGUI.h"
#include "widgets/QGUIExtraFacoryManager.h"
#include "widgets/SharedProperties.h"

namespace QGUI
{
const CEGUI::String CGamePushButton::WidgetTypeName("QXGame/GamePushButton");
const CEGUI::String CGamePushButton::DefaultSoundName("interface.button");

namespace GamePushButtonProperty
{
QGUI_PROPERTY(EffectSoundName, CGamePushButton, StringText, "SoundName",
              "Property to get/set the sound for ui .  Value is a string.", "interface.button",
              &CGamePushButton::getSoundName, &CGamePushButton::setSoundName);
} // namespace GamePushButtonProperty

namespace
{
GamePushButtonProperty::EffectSoundName s_EffectSoundName;

// A screen coordinate in whole pixels, truncated toward zero; one beyond
// the range of a 32-bit number saturates, and one that is no number is 0.
int32_t ScreenPixel(float value)
{
    const double whole = std::trunc(static_cast<double>(value));
    if (std::isnan(whole))
        return 0;
    return static_cast<int32_t>(std::clamp(whole, double(INT32_MIN), double(INT32_MAX)));
}
} // namespace

CEGUI::ShareProSet CGamePushButton::SharePropertySet{&s_EffectSoundName};

CGamePushButton::CGamePushButton(const CEGUI::String& type, const CEGUI::String& name)
    : CEGUI::PushButton(type, name), m_SoundName(DefaultSoundName)
{
    SharePropertySet.applyTo(*this);
}

CEGUI::Property* CGamePushButton::FindSharePros(const CEGUI::String& name) const
{
    return SharePropertySet.GetpProperty(name);
}

void CGamePushButton::WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const
{
    WriteSharedSet(*this, SharePropertySet, xml, count);
}

// The "Clicked" subscribers run first; the sound plays at the centre of
// the button's inner area, in whole screen pixels (truncated). Before the
// module is started there is no game to play it.
void CGamePushButton::onClicked(CEGUI::WindowEventArgs& e)
{
    CEGUI::PushButton::onClicked(e);
    const CEGUI::Rectf inner = getUnclippedInnerRect().get();
    const int32_t x = ScreenPixel((inner.left() + inner.right()) / 2);
    const int32_t y = ScreenPixel((inner.top() + inner.bottom()) / 2);
    if (m_SoundName.empty())
        return;
    if (IQGUI* main = MainObject())
        main->playSoundEffect(x, y, m_SoundName.c_str());
}
} // namespace QGUI
