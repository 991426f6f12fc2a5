// Pieces of a window's look that renderers ask for by name: state imageries
// to draw and named areas to lay things out in. A look that lacks a piece
// makes the caller skip it instead of throwing out of the drawing.
#pragma once

#include <CEGUI/Rect.h>
#include <CEGUI/String.h>

namespace CEGUI
{
class Window;
class WidgetLookFeel;
} // namespace CEGUI

namespace QGUI
{
// The window's look; null when it has none or the look is not loaded.
const CEGUI::WidgetLookFeel* WindowLook(const CEGUI::Window& window);
// Draws a state imagery of the window's look into the window; false,
// drawing nothing, when the look lacks it.
bool RenderLookImagery(CEGUI::Window& window, const CEGUI::String& name);
// Whether the window's look has a state imagery of that name.
bool HasLookImagery(const CEGUI::Window& window, const CEGUI::String& name);
// A named area of the window's look in window pixels; false, leaving area
// alone, when the look lacks it.
bool LookNamedArea(const CEGUI::Window& window, const CEGUI::String& name, CEGUI::Rectf& area);
} // namespace QGUI
