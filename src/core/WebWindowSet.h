// The web windows of the interface: windows that keep a native web control
// of the host over their area. The main object keeps the set of those whose
// control exists; the mouse handling asks whether any does, and a move of
// the main window re-places every control.
#pragma once

#include <cstddef>
#include <vector>

namespace QGUI
{
class IWebWindow
{
public:
    // Places the window's native control over the window's area again.
    virtual void UpdatePlacement() = 0;

protected:
    ~IWebWindow() {}
};

class CWebWindowSet
{
public:
    // True when the window was not in the set yet.
    bool Add(IWebWindow* window);
    // True when the window was in the set.
    bool Remove(IWebWindow* window);
    bool Contains(const IWebWindow* window) const;
    bool IsAnyOpen() const { return !m_Windows.empty(); }
    size_t Count() const { return m_Windows.size(); }
    // Re-places each window in the order they were added. A window that
    // leaves the set while others are placed is not placed after it left.
    void UpdateAllPlacements();

private:
    std::vector<IWebWindow*> m_Windows;
};
} // namespace QGUI
