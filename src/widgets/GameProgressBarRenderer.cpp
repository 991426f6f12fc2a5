// The game progress bar's drawing from its look.
#include "widgets/GameProgressBarRenderer.h"

#include <CEGUI/Font.h>
#include <CEGUI/PropertyHelper.h>
#include <CEGUI/Window.h>
#include <CEGUI/widgets/ProgressBar.h>

#include "render/QXRenderer.h"
#include "render/TextPlacement.h"
#include "widgets/GameProgressBar.h"
#include "widgets/LookImagery.h"

namespace CEGUI
{
const String GameProgressBarRenderer::LightColourPropertyName("LightColour");
const String GameProgressBarRenderer::TextColourPropertyName("TextColour");
const String GameProgressBarRenderer::TypeName("QXGame/GameProgressBarRenderer");

GameProgressBarRenderer::GameProgressBarRenderer(const String& type) : WindowRenderer(type) {}

namespace
{
const String BackGround("BackGround");
const String Lights("Lights");
const String HighLights("HighLights");
const String Frame("Frame");
const String ProgressArea("ProgressArea");
} // namespace

// A look without some of the pieces draws the others. On a window that is
// no progress bar the bar draws empty.
void GameProgressBarRenderer::render()
{
    const WidgetLookFeel* look = QGUI::WindowLook(*d_window);
    if (!look)
        return;
    QGUI::RenderLookImagery(*d_window, *look, BackGround);
    Rectf area;
    const bool hasArea = QGUI::LookNamedArea(*d_window, *look, ProgressArea, area);
    if (hasArea)
    {
        const ProgressBar* bar = dynamic_cast<const ProgressBar*>(d_window);
        Rectf fill = area;
        fill.right(area.left() + area.getWidth() * (bar ? bar->getProgress() : 0.0f));
        const ColourRect lights(windowColour(LightColourPropertyName));
        QGUI::RenderLookImagery(*d_window, *look, Lights, &fill, &lights, &area);
        QGUI::RenderLookImagery(*d_window, *look, HighLights, &fill, nullptr, &area);
    }
    QGUI::RenderLookImagery(*d_window, *look, Frame);
    const QGUI::GameProgressBar* game = dynamic_cast<const QGUI::GameProgressBar*>(d_window);
    if (game && game->isNeedText() && hasArea)
        renderText(area);
}

Colour GameProgressBarRenderer::windowColour(const String& property) const
{
    if (!d_window->isPropertyPresent(property))
        return Colour(0xFFFFFFFF);
    return d_window->getProperty<Colour>(property);
}

// The text is centred on each line, from the top of the progress area,
// clipped to it, in front of the imagery.
void GameProgressBarRenderer::renderText(const Rectf& area) const
{
    const String& text = d_window->getText();
    const Font* font = d_window->getFont();
    if (text.empty() || !font)
        return;
    QGUI::TextStyle style;
    style.colours = ColourRect(windowColour(TextColourPropertyName));
    style.clip = &area;
    GeometryBuffer& buffer = d_window->getGeometryBuffer();
    auto* ours = dynamic_cast<QXUI::CQXGeometryBuffer*>(&buffer);
    const float z = ours ? ours->getZOffset() : 0.0f;
    if (ours)
        ours->setZOffset(TextDepth);
    QGUI::PlaceText(buffer, *font, text, area, QGUI::TEXT_CENTRED, style, QGUI::TextBreaks::Spaces);
    if (ours)
        ours->setZOffset(z);
}
} // namespace CEGUI
