// Look pieces drawn by name, a missing one skipped.
#include "widgets/LookImagery.h"

#include <CEGUI/Logger.h>
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

namespace
{
// The look's own imagery is found at once; one it inherits takes the
// names of the whole chain.
bool HasImagery(const CEGUI::WidgetLookFeel& wlf, const CEGUI::String& name)
{
    return wlf.isStateImageryPresent(name) || wlf.getStateImageryNames(true).count(name);
}
} // namespace

bool HasLookImagery(const CEGUI::Window& window, const CEGUI::String& name)
{
    const CEGUI::WidgetLookFeel* wlf = WindowLook(window);
    return wlf && HasImagery(*wlf, name);
}

bool RenderLookImagery(CEGUI::Window& window, const CEGUI::String& name, const CEGUI::Rectf* area,
                       const CEGUI::ColourRect* colours, const CEGUI::Rectf* clip)
{
    const CEGUI::WidgetLookFeel* wlf = WindowLook(window);
    return wlf && RenderLookImagery(window, *wlf, name, area, colours, clip);
}

bool RenderLookImagery(CEGUI::Window& window, const CEGUI::WidgetLookFeel& look,
                       const CEGUI::String& name, const CEGUI::Rectf* area,
                       const CEGUI::ColourRect* colours, const CEGUI::Rectf* clip)
{
    if (!HasImagery(look, name))
        return false;
    const CEGUI::StateImagery& imagery = look.getStateImagery(name);
    if (area)
        imagery.render(window, *area, colours, clip);
    else
        imagery.render(window, colours, clip);
    return true;
}

bool LookNamedArea(const CEGUI::Window& window, const CEGUI::String& name, CEGUI::Rectf& area)
{
    const CEGUI::WidgetLookFeel* wlf = WindowLook(window);
    return wlf && LookNamedArea(window, *wlf, name, area);
}

bool LookNamedArea(const CEGUI::Window& window, const CEGUI::WidgetLookFeel& look,
                   const CEGUI::String& name, CEGUI::Rectf& area)
{
    if (!look.isNamedAreaDefined(name) && !look.getNamedAreaNames(true).count(name))
        return false;
    area = look.getNamedArea(name).getArea().getPixelRect(window);
    return true;
}

bool CheckLookPart(CEGUI::Window& window, bool present, const CEGUI::String& part)
{
    static const CEGUI::String logged("QGUI.MissingLookLogged");
    if (present || window.isUserStringDefined(logged))
        return present;
    window.setUserString(logged, "1");
    if (CEGUI::Logger* logger = CEGUI::Logger::getSingletonPtr())
        logger->logEvent("QGUI: '" + window.getType() + "' window '" + window.getName() + "' has no look that gives it its " +
                             part + "; it does without.",
                         CEGUI::Warnings);
    return false;
}
} // namespace QGUI
