#include "core/WebWindowSet.h"

#include <algorithm>

namespace QGUI
{
bool CWebWindowSet::Add(IWebWindow* window)
{
    if (!window || Contains(window))
        return false;
    m_Windows.push_back(window);
    return true;
}

bool CWebWindowSet::Remove(IWebWindow* window)
{
    auto it = std::find(m_Windows.begin(), m_Windows.end(), window);
    if (it == m_Windows.end())
        return false;
    m_Windows.erase(it);
    return true;
}

bool CWebWindowSet::Contains(const IWebWindow* window) const
{
    return std::find(m_Windows.begin(), m_Windows.end(), window) != m_Windows.end();
}

void CWebWindowSet::UpdateAllPlacements()
{
    // A placement reaches the host's control, which may close windows.
    const std::vector<IWebWindow*> windows = m_Windows;
    for (IWebWindow* window : windows)
    {
        if (Contains(window))
            window->UpdatePlacement();
    }
}
} // namespace QGUI
