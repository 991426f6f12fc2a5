#include "widgets/GameValueTextRenderer.h"

#include <CEGUI/Logger.h>
#include <CEGUI/PropertyHelper.h>
#include <CEGUI/Window.h>

#include "widgets/GameValueText.h"
#include "widgets/GameValueTextProperties.h"

namespace CEGUI
{
const String CGameValueTextRenderer::TypeName("QXGame/GameValueText");
const String CPercentBarRenderer::TypeName("QXGame/PercentBar");

namespace
{
QGUI::PercentBarProperty::Style s_Style;
const ColourRect kOpaqueWhite(Colour(0xFFFFFFFF));
} // namespace

// --- value text ---

CGameValueTextRenderer::CGameValueTextRenderer(const String& type) : QGUI::QXRenderer(type) {}

void CGameValueTextRenderer::render()
{
    renderFrameAndBackground();
    renderStateImagery(isWindowEnabled() ? "Enabled" : "Disabled");
    QGUI::QXRenderer::render();
}

// --- percent bar ---

CPercentBarRenderer::CPercentBarRenderer(const String& type) : QGUI::QXRenderer(type), d_style("Broad")
{
    registerProperty(&s_Style);
}

Property* CPercentBarRenderer::FindRendererProperty(const String& name) const
{
    return name == s_Style.getName() ? &s_Style : QGUI::QXRenderer::FindRendererProperty(name);
}

void CPercentBarRenderer::setStyle(const String& style)
{
    d_style = style;
    if (d_window)
        d_window->invalidate();
}

int CPercentBarRenderer::getDivide() const
{
    if (!d_window || !d_window->isPropertyPresent("Divide"))
        return 0;
    return QGUI::IntText::fromString(d_window->getProperty("Divide"));
}

Colour CPercentBarRenderer::getLightColour() const
{
    if (!d_window || !d_window->isPropertyPresent("LightColour"))
        return Colour(1.0f, 1.0f, 1.0f, 1.0f);
    return PropertyHelper<Colour>::fromString(d_window->getProperty("LightColour"));
}

// The lit part reaches from the bar area's left edge over the value's share
// of its width. A renderer on a window that is no percent bar draws the
// look's background and frame only.
void CPercentBarRenderer::render()
{
    renderStateImagery("BackGround");
    const QGUI::CPercentBar* bar = dynamic_cast<const QGUI::CPercentBar*>(d_window);
    Rectf area;
    const String areaName = d_style + "ProgressArea";
    const bool hasArea = namedArea(areaName, area);
    if (!hasArea)
        reportMissing(areaName);
    if (hasArea && bar)
    {
        Rectf lit = area;
        lit.right(area.left() + area.getWidth() * bar->getValue());
        const ColourRect light(getLightColour());
        if (!renderStateImagery(d_style + "Lights", lit, &light, &area))
            reportMissing(d_style + "Lights");
        renderStateImagery(d_style + "HighLights", lit, nullptr, &area);
    }
    if (!renderStateImagery(d_style + "Frame"))
        reportMissing(d_style + "Frame");
    if (hasArea)
        renderDividers(area);
    QGUI::QXRenderer::render();
}

// A "Divide" of n splits the bar area into n parts with n - 1 dividers.
// Parts narrower than a pixel draw none: a huge "Divide" costs nothing.
void CPercentBarRenderer::renderDividers(const Rectf& area) const
{
    const int divide = getDivide();
    if (divide < 2)
        return;
    const float step = area.getWidth() / float(divide);
    if (!(step >= 1.0f))
        return;
    Rectf strip(area.left() + step, area.top(), area.left() + step + DividerWidth, area.bottom());
    for (int i = 1; i < divide; ++i)
    {
        renderStateImagery("Divider", strip, &kOpaqueWhite, nullptr);
        strip.offset(Vector2f(step, 0.0f));
    }
}

void CPercentBarRenderer::reportMissing(const String& name)
{
    if (!d_reported.insert(name).second)
        return;
    if (Logger* logger = Logger::getSingletonPtr())
        logger->logEvent("CEGUI::CPercentBarRenderer: the look of window '" +
                             (d_window ? d_window->getName() : String()) + "' has no '" + name +
                             "' for the style '" + d_style + "'; it is left out.",
                         Warnings);
}
} // namespace CEGUI
