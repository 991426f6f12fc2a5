// State imageries and named areas of a window's look, looked up safely.
#include "widgets/LookPieces.h"

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

// Pieces a look inherits count as its own.
bool HasLookImagery(const CEGUI::Window& window, const CEGUI::String& name)
{
    const CEGUI::WidgetLookFeel* wlf = WindowLook(window);
    return wlf && (wlf->isStateImageryPresent(name) || wlf->getStateImageryNames(true).count(name));
}

bool RenderLookImagery(CEGUI::Window& window, const CEGUI::String& name)
{
    if (!HasLookImagery(window, name))
        return false;
    WindowLook(window)->getStateImagery(name).render(window);
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
