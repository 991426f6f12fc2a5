// Window-manager operations of the GUI library build.
#pragma once

namespace CEGUI
{
class Window;

// Destroys a window that may be the GUI sheet: the sheet is unset first.
void destroyRootWindow(Window* window);
} // namespace CEGUI
