// Text forms of the module's property values.
#include "widgets/SharedProperties.h"

#include <CEGUI/ImageManager.h>
#include <CEGUI/PropertyHelper.h>

#include <cstdio>

#include "render/GuiString.h"
#include "strtools.h"

namespace QGUI
{
CEGUI::String UintText::toString(uint32_t v)
{
    char text[16];
    std::snprintf(text, sizeof text, "%u", v);
    return text;
}

uint32_t UintText::fromString(const CEGUI::String& s)
{
    unsigned int v = 0;
    std::sscanf(s.c_str(), " %u", &v);
    return v;
}

CEGUI::String IntText::toString(int32_t v)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d", v);
    return text;
}

int32_t IntText::fromString(const CEGUI::String& s)
{
    int v = 0;
    std::sscanf(s.c_str(), " %d", &v);
    return v;
}

CEGUI::String ColourText::toString(const CEGUI::Colour& v)
{
    return CEGUI::PropertyHelper<CEGUI::Colour>::toString(v);
}

CEGUI::Colour ColourText::fromString(const CEGUI::String& s)
{
    return CEGUI::PropertyHelper<CEGUI::Colour>::fromString(s);
}

// Texts with fractions are written and read with '.' as the decimal point,
// whatever the process locale.
CEGUI::String FloatText::toString(float v)
{
    char text[32];
    StrSnprintf(text, sizeof text, "%g", static_cast<double>(v));
    return text;
}

float FloatText::fromString(const CEGUI::String& s)
{
    CNumberTextScope numbers;
    float v = 0.0f;
    std::sscanf(s.c_str(), " %g", &v);
    return v;
}

CEGUI::String UVector2Text::toString(const CEGUI::UVector2& v)
{
    CNumberTextScope numbers;
    return CEGUI::PropertyHelper<CEGUI::UVector2>::toString(v);
}

CEGUI::UVector2 UVector2Text::fromString(const CEGUI::String& s)
{
    CNumberTextScope numbers;
    return CEGUI::PropertyHelper<CEGUI::UVector2>::fromString(s);
}

namespace
{
// The window's own test of whether a property is at its default (its look's
// initial value, else the property's default), which the GUI library keeps
// for windows' own use: this public re-declaration names the same member.
struct DefaultTest : CEGUI::Window
{
    using CEGUI::Window::isPropertyAtDefault;
};
} // namespace

void WriteSharedSet(const CEGUI::Window& window, const CEGUI::ShareProSet& set,
                    CEGUI::XMLSerializer& xml, int& count)
{
    const auto atDefault = &DefaultTest::isPropertyAtDefault;
    for (CEGUI::Property* p : set.properties())
    {
        if (window.isPropertyBannedFromXML(p) || (window.*atDefault)(p))
            continue;
        p->writeXMLToStream(&window, xml);
        ++count;
    }
}

const CEGUI::Image* ImageFromPropertyText(const CEGUI::String& text)
{
    CEGUI::String name = text;
    char set[128] = {};
    char image[128] = {};
    if (std::sscanf(text.c_str(), " set: %127s image: %127s", set, image) == 2)
        name = StringFromUtf8(set) + "/" + StringFromUtf8(image);
    if (name.empty())
        return nullptr;
    CEGUI::ImageManager* images = CEGUI::ImageManager::getSingletonPtr();
    return images && images->isDefined(name) ? &images->get(name) : nullptr;
}
} // namespace QGUI
