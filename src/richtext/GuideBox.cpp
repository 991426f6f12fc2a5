// The guide box's renderer.
#include "richtext/GuideBox.h"

#include <CEGUI/Logger.h>
#include <CEGUI/Window.h>

#include "widgets/LookImagery.h"

namespace QGUI
{
const CEGUI::String GuideBox::WidgetTypeName("QXGame/GuideBox");
} // namespace QGUI

namespace CEGUI
{
const String GuideBoxRenderer::TypeName("QXGame/GuideBox");

void GuideBoxRenderer::render()
{
    // Read at every drawing: the imagery follows the property.
    const String name = d_window->isPropertyPresent("StateImage") ? d_window->getProperty("StateImage") : String();
    if (!QGUI::RenderLookImagery(*d_window, name) && !m_bMissingLogged)
    {
        m_bMissingLogged = true;
        Logger::getSingleton().logEvent("CEGUI::GuideBoxRenderer: the look of window '" + d_window->getName() +
                                            "' has no state imagery named by its property 'StateImage' ('" +
                                            name + "').",
                                        Warnings);
    }
    GameMultiLineRenderer::render();
}
} // namespace CEGUI
