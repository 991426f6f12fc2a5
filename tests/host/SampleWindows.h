// Finding the sample interface's windows, and where they land in the
// host's frame, for the end-to-end tests.
#pragma once

#include <CEGUI/CEGUI.h>

// The pixel rectangle of a window, as the host's frame holds it: queued
// quads land half a pixel up and left, truncated.
struct Box
{
    int left, top, right, bottom;
    bool contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
};

inline Box BoxOf(const CEGUI::Window* w)
{
    const CEGUI::Rectf r = w->getUnclippedOuterRect().get();
    return {int(r.left()) - 1, int(r.top()) - 1, int(r.right()) - 1, int(r.bottom()) - 1};
}

// A window by its path from the root window; null when there is none.
inline CEGUI::Window* PanelChild(const char* path)
{
    CEGUI::Window* root = CEGUI::System::getSingleton().getDefaultGUIContext().getRootWindow();
    return root && root->isChild(path) ? root->getChild(path) : nullptr;
}
