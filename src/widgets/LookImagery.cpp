// Look pieces drawn by name, a missing one skipped.
#include "widgets/LookImagery.h"

#include <CEGUI/Window.h>
#include <CEGUI/falagard/WidgetLookManager.h>

namespace QGUI
{
const CEGUI::WidgetLookFeel* WindowLook(const CEGUI::Window& window)
{
    const CEGUI::String& name = window.getLookNFeel();
    if (name.empty())
        return nullptr;
    CEGUI::WidgetLookManager& looks = CEGUI::WidgetLookManager::getSingleton();
    return looks.isWidgetLookAvailable(name) ? &looks.getWidgetLook(name) : nullptr;
}

bool HasLookImagery(const CEGUI::Window& window, const CEGUI::String& name)
{
    const CEGUI::WidgetLookFeel* wlf = WindowLook(window);
    return wlf && (wlf->isStateImageryPresent(name) || wlf->getStateImageryNames(true).count(name));
}

bool RenderLookImagery(CEGUI::Window& window, const CEGUI::String& name, const CEGUI::Rectf* area,
                       const CEGUI::ColourRect* colours, const CEGUI::Rectf* clip)
{
    if (!HasLookImagery(window, name))
        return false;
    const CEGUI::StateImagery& imagery = WindowLook(window)->getStateImagery(name);
    if (area)
        imagery.render(window, *area, colours, clip);
    else
        imagery.render(window, colours, clip);
    return true;
}

bool LookNamedArea(const CEGUI::Window& window, const CEGUI::String& name, CEGUI::Rectf& area)
{
    const CEGUI::WidgetLookFeel* wlf = WindowLook(window);
    if (!wlf || (!wlf->isNamedAreaDefined(name) && !wlf->getNamedAreaNames(true).count(name)))
        return false;
    area = wlf->getNamedArea(name).getArea().getPixelRect(window);
    return true;
}
} // namespace QGUI
