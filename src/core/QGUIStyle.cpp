// Interface styles: loading a style's font, scheme, cursor, tooltip and
// timings, and swapping the picture of its imageset.
#include <CEGUI/CEGUI.h>

#include "core/QGUI.h"
#include "render/QXRenderer.h"
#include "render/QXTexture.h"

namespace QGUI
{
namespace
{
void LogLine(const CEGUI::String& text, CEGUI::LoggingLevel level)
{
    if (CEGUI::Logger* logger = CEGUI::Logger::getSingletonPtr())
        logger->logEvent(text, level);
}
} // namespace

bool CQGUI::LoadUIStyle(const char* style)
{
    QGUI_REQUIRE_RUNNING(false);
    if (!style)
        return false;
    const CEGUI::String s(style);
    try
    {
        m_Fonts[0] = &CEGUI::FontManager::getSingleton().createFromFile(s + ".font");
    }
    catch (const CEGUI::Exception& e)
    {
        LogLine("QGUI::CQGUI::LoadUIStyle: the font of the style '" + s + "' did not load: " +
                    e.getMessage(),
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
            ctx.setDefaultTooltipType(imageset + "/Tooltip");
        else if (factories.isFactoryPresent("QXLook/Tooltip"))
            ctx.setDefaultTooltipType("QXLook/Tooltip");

        if (CEGUI::Tooltip* tooltip = ctx.getDefaultTooltipObject())
        {
            tooltip->setHoverTime(static_cast<float>(FetchNumber("tooltip_hover")));
            tooltip->setDisplayTime(static_cast<float>(FetchNumber("tooltip_display")));
            // The stock tooltip has no fade time; the scripts are still asked.
            FetchNumber("tooltip_fade");
        }
    }
    catch (const CEGUI::Exception& e)
    {
        LogLine("QGUI::CQGUI::LoadUIStyle: the defaults of the style '" + s +
                    "' could not be applied: " + e.getMessage(),
                CEGUI::Errors);
        return false;
    }
    return true;
}

void CQGUI::ReloadStyleImageset(const char* style, const char* variant, const char* ext)
{
    QGUI_REQUIRE_RUNNING();
    if (!style)
        return;
    CEGUI::String file = CEGUI::String(style) + "Look";
    if (variant && *variant)
        file += CEGUI::String("_") + variant;
    file += CEGUI::String(".") + (ext ? ext : "");
    const CEGUI::String imageset = CEGUI::String(style) + "Look";
    if (!m_pRenderer->isTextureDefined(imageset))
        return;
    m_pRenderer->reloadTexture(static_cast<QXUI::CQXTexture*>(&m_pRenderer->getTexture(imageset)),
                               file, "imagesets");
}
} // namespace QGUI
