// The colour table of the markup.
#include "richtext/ColourTable.h"

#include <CEGUI/PropertyHelper.h>

#include "render/GuiString.h"

namespace QGUI
{
namespace TextParser
{
CColorPropertyManager& CColorPropertyManager::Instance()
{
    static CColorPropertyManager table;
    return table;
}

uint32_t CColorPropertyManager::ColourFromString(const char* text)
{
    return CEGUI::PropertyHelper<CEGUI::Colour>::fromString(StringFromUtf8(text)).getARGB();
}

void CColorPropertyManager::RegisterColorByString(const char* name, const char* colour1,
                                                  const char* colour2)
{
    if (!name)
        return;
    RegisterColor(StringFromUtf8(name), ColourFromString(colour1), ColourFromString(colour2));
}

void CColorPropertyManager::RegisterColor(const CEGUI::String& name, uint32_t textColour,
                                          uint32_t secondColour)
{
    m_Named[name] = ColorPair{textColour, secondColour};
}

ColorPair CColorPropertyManager::FindColor(const CEGUI::String& name) const
{
    auto it = m_Named.find(name);
    if (it != m_Named.end())
        return it->second;
    m_Unknown.WarnOnce(name, [](const CEGUI::String& shown) {
        return "QGUI::TextParser::CColorPropertyManager: the colour '" + shown +
               "' is not registered; text in it is drawn in the default colours.";
    });
    return m_Default;
}

void CColorPropertyManager::SetClickColorByString(const char* colour1, const char* colour2,
                                                  const char* colour3)
{
    SetClickColor(ColourFromString(colour1), ColourFromString(colour2), ColourFromString(colour3));
}

void CColorPropertyManager::SetClickColor(uint32_t colour1, uint32_t colour2, uint32_t colour3)
{
    m_ClickColours[CLICK_TEXT] = colour1;
    m_ClickColours[CLICK_HIGHLIGHT] = colour2;
    m_ClickColours[CLICK_HOVER] = colour3;
}
} // namespace TextParser
} // namespace QGUI
