// The properties of the value text and the percent bar, and the percent
// bar renderer's "Style".
#pragma once

#include "widgets/GameValueText.h"
#include "widgets/GameValueTextRenderer.h"
#include "widgets/SharedProperties.h"

namespace QGUI
{
namespace GameValueTextProperty
{
// The defaults are the texts of a new window's values, so that a layout
// saved and loaded again keeps its meaning.
QGUI_PROPERTY(WhichOne, CGameValueText, StringText, "WhichOne",
              "Property to get/set the which object for the text to evaluate .  Value is a string.", "",
              &CGameValueText::getWhichOne, &CGameValueText::setWhichOne);
QGUI_PROPERTY(WhichProperty, CGameValueText, StringText, "WhichProperty",
              "Property to get/set the which object for the text to evaluate .  Value is a string.", "",
              &CGameValueText::getWhichProperty, &CGameValueText::setWhichProperty);
} // namespace GameValueTextProperty

namespace PercentBarProperty
{
QGUI_PROPERTY(Value, CPercentBar, FloatText, "Value", "Property to get/set the value.  Value is a float.", "0.5",
              &CPercentBar::getValue, &CPercentBar::setValue);
QGUI_PROPERTY(Tooltip2, CPercentBar, StringText, "Tooltips2",
              "Property to get/set the tooltip2.  Value is a string.", "", &CPercentBar::getTooltip2,
              &CPercentBar::setTooltip2);
// A property of the percent bar's renderer, on the window it draws.
QGUI_PROPERTY(Style, CEGUI::CPercentBarRenderer, StringText, "Style",
              "Property to get/set the bar's style.  Value is a string.", "Broad",
              &CEGUI::CPercentBarRenderer::getStyle, &CEGUI::CPercentBarRenderer::setStyle);
} // namespace PercentBarProperty
} // namespace QGUI
