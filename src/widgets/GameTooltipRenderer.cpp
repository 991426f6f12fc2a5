// Drawing and sizing the game tooltip.
#include "widgets/GameTooltipRenderer.h"

#include "widgets/GameTooltip.h"
#include "widgets/LookImagery.h"

namespace CEGUI
{
const String CQXToolTipRenderer::TypeName("QXGame/TooltipRenderer");

CQXToolTipRenderer::CQXToolTipRenderer(const String& type) : TooltipWindowRenderer(type) {}

void CQXToolTipRenderer::render()
{
    QGUI::RenderLookImagery(*d_window, d_window->isEffectiveDisabled() ? "Disabled" : "Enabled");
}

Sizef CQXToolTipRenderer::getTextSize() const
{
    if (const auto* tooltip = dynamic_cast<const QGUI::CQXToolTip*>(d_window))
        return tooltip->getContentSize();
    if (const auto* tooltip = dynamic_cast<const Tooltip*>(d_window))
        return tooltip->getTextSize_impl();
    return Sizef(0.0f, 0.0f);
}
} // namespace CEGUI
