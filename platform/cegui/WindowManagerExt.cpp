#include "WindowManagerExt.h"

#include <CEGUI/GUIContext.h>
#include <CEGUI/System.h>
#include <CEGUI/WindowManager.h>

namespace CEGUI
{
void destroyRootWindow(Window* window)
{
    if (!window || !WindowManager::getSingleton().isAlive(window))
        return;
    if (System* system = System::getSingletonPtr())
    {
        GUIContext& ctx = system->getDefaultGUIContext();
        if (ctx.getRootWindow() == window)
            ctx.setRootWindow(nullptr);
    }
    WindowManager::getSingleton().destroyWindow(window);
}
} // namespace CEGUI
