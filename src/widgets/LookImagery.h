// The pieces of a window's look that the module's renderers draw by name:
// a look, state imagery or named area that is missing draws nothing (and
// reads false) instead of throwing out of the frame.
#pragma once

#include <CEGUI/ColourRect.h>
#include <CEGUI/Rect.h>
#include <CEGUI/String.h>

namespace CEGUI
{
class WidgetLookFeel;
class Window;
} // namespace CEGUI

namespace QGUI
{
// The window's look; null when it has none or names an unknown one.
const CEGUI::WidgetLookFeel* WindowLook(const CEGUI::Window& window);
// Draws a state imagery of the window's look over the whole window, or
// into area when given, with its colours modulated by colours and clipped
// to clip when given; false when the look has no such imagery.
bool RenderLookImagery(CEGUI::Window& window, const CEGUI::String& name,
                       const CEGUI::Rectf* area = nullptr,
                       const CEGUI::ColourRect* colours = nullptr,
                       const CEGUI::Rectf* clip = nullptr);
// The same with the window's look already found.
bool RenderLookImagery(CEGUI::Window& window, const CEGUI::WidgetLookFeel& look,
                       const CEGUI::String& name, const CEGUI::Rectf* area = nullptr,
                       const CEGUI::ColourRect* colours = nullptr,
                       const CEGUI::Rectf* clip = nullptr);
// Whether the window's look has a state imagery of that name.
bool HasLookImagery(const CEGUI::Window& window, const CEGUI::String& name);
// A named area of the window's look in window pixels; false when missing.
bool LookNamedArea(const CEGUI::Window& window, const CEGUI::String& name, CEGUI::Rectf& area);
bool LookNamedArea(const CEGUI::Window& window, const CEGUI::WidgetLookFeel& look,
                   const CEGUI::String& name, CEGUI::Rectf& area);
// Answers present: whether the window has a part its look gives it (its
// window renderer, a child). When it has not (a window made without a
// look), logs once per window that it does without that part.
bool CheckLookPart(CEGUI::Window& window, bool present, const CEGUI::String& part);
} // namespace QGUI
