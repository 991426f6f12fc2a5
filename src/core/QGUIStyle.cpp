// Interface styles: loading a style's font, scheme, cursor, tooltip and
// timings, and swapping the picture of its imageset.
#include <CEGUI/CEGUI.h>

#include <exception>
#include <map>

#include "core/HostCallGuard.h"
#include "core/QGUI.h"
#include "render/GuiString.h"
#include "render/QXRenderer.h"
#include "render/QXTexture.h"
#include "widgets/GameTooltip.h"

namespace QGUI
{
namespace
{
void LogLine(const CEGUI::String& text, CEGUI::LoggingLevel level)
{
    if (CEGUI::Logger* logger = CEGUI::Logger::getSingletonPtr())
        logger->logEvent(text, level);
}

// The default tooltips the styles made, one per window type. A style
// change never destroys one: the GUI library (or a caller further up the
// stack, when a script loads a style from a handler) may still be using it.
// Loading a style again keeps its tooltip; going back to an earlier style
// takes up that style's tooltip again.
std::map<CEGUI::String, CEGUI::Tooltip*>& StyleTooltips()
{
    static auto* tooltips = new std::map<CEGUI::String, CEGUI::Tooltip*>;
    return *tooltips;
}

// A tooltip destroyed by someone else leaves the list.
bool ForgetStyleTooltip(const CEGUI::EventArgs& args)
{
    const CEGUI::Window* window = static_cast<const CEGUI::WindowEventArgs&>(args).window;
    auto& tooltips = StyleTooltips();
    for (auto it = tooltips.begin(); it != tooltips.end(); ++it)
    {
        if (it->second == window)
        {
            tooltips.erase(it);
            break;
        }
    }
    return false;
}

CEGUI::Tooltip* StyleTooltip(const CEGUI::String& type)
{
    auto& tooltips = StyleTooltips();
    const auto found = tooltips.find(type);
    if (found != tooltips.end())
        return found->second;
    CEGUI::WindowManager& wm = CEGUI::WindowManager::getSingleton();
    CEGUI::Window* window = wm.createWindow(type, "");
    auto* tooltip = dynamic_cast<CEGUI::Tooltip*>(window);
    if (!tooltip)
    {
        wm.destroyWindow(window);
        return nullptr;
    }
    tooltip->subscribeEvent(CEGUI::Window::EventDestructionStarted,
                            CEGUI::Event::Subscriber(&ForgetStyleTooltip));
    tooltips[type] = tooltip;
    return tooltip;
}

// Makes the style's tooltip the default one; the tooltip it replaces lets go
// of its window and hides.
void UseStyleTooltip(CEGUI::GUIContext& ctx, const CEGUI::String& type)
{
    CEGUI::Tooltip* tooltip = StyleTooltip(type);
    CEGUI::Tooltip* current = ctx.getDefaultTooltipObject();
    if (!tooltip || tooltip == current)
        return;
    ctx.setDefaultTooltipObject(tooltip);
    if (current && StyleTooltips().count(current->getType()))
    {
        current->setTargetWindow(nullptr);
        current->hide();
    }
}
} // namespace

bool CQGUI::LoadUIStyle(const char* style)
{
    QGUI_OPEN_CALL_SCOPE(false);
    if (!style)
        return false;
    const CEGUI::String s = StringFromUtf8(style);
    try
    {
        m_Fonts[0] = &fontFromFile(s + ".font");
    }
    catch (const std::exception& e)
    {
        LogLine("QGUI::CQGUI::LoadUIStyle: the font of the style '" + s + "' did not load: " +
                    StringFromUtf8(e.what()),
                CEGUI::Errors);
        return false;
    }
    try
    {
        CEGUI::SchemeManager::getSingleton().createFromFile(s + "Look.scheme");
    }
    catch (...)
    {
    }
    const CEGUI::String imageset = s + "Look";
    if (!m_pRenderer->isTextureDefined(imageset))
        return false;
    try
    {
        CEGUI::GUIContext& ctx = CEGUI::System::getSingleton().getDefaultGUIContext();
        if (CEGUI::ImageManager::getSingleton().isDefined(imageset + "/MouseArrow"))
            ctx.getMouseCursor().setDefaultImage(imageset + "/MouseArrow");

        CEGUI::WindowFactoryManager& factories = CEGUI::WindowFactoryManager::getSingleton();
        if (factories.isFactoryPresent(imageset + "/Tooltip"))
            UseStyleTooltip(ctx, imageset + "/Tooltip");
        else if (factories.isFactoryPresent("QXLook/Tooltip"))
            UseStyleTooltip(ctx, "QXLook/Tooltip");

        if (ctx.getDefaultTooltipObject())
        {
            const float hover = static_cast<float>(FetchNumber("tooltip_hover"));
            const float display = static_cast<float>(FetchNumber("tooltip_display"));
            // Only the game tooltip fades; for a stock one the scripts are
            // still asked.
            const float fade = static_cast<float>(FetchNumber("tooltip_fade"));
            // Taken again: the scripts asked may have changed it.
            if (CEGUI::Tooltip* tooltip = ctx.getDefaultTooltipObject())
            {
                tooltip->setHoverTime(hover);
                tooltip->setDisplayTime(display);
                if (auto* game = dynamic_cast<CQXToolTip*>(tooltip))
                    game->setFadeTime(fade);
            }
        }
    }
    catch (const std::exception& e)
    {
        LogLine("QGUI::CQGUI::LoadUIStyle: the defaults of the style '" + s +
                    "' could not be applied: " + StringFromUtf8(e.what()),
                CEGUI::Errors);
        return false;
    }
    return true;
}

void CQGUI::ReloadStyleImageset(const char* style, const char* variant, const char* ext)
{
    QGUI_OPEN_CALL_SCOPE();
    if (!style)
        return;
    const CEGUI::String imageset = StringFromUtf8(style) + "Look";
    CEGUI::String file = imageset;
    if (variant && *variant)
        file += "_" + StringFromUtf8(variant);
    file += "." + StringFromUtf8(ext);
    if (!m_pRenderer->isTextureDefined(imageset))
        return;
    guardHostCall("ReloadStyleImageset", [&] {
        m_pRenderer->reloadTexture(
            static_cast<QXUI::CQXTexture*>(&m_pRenderer->getTexture(imageset)), file, "imagesets");
    });
}
} // namespace QGUI
