// The game-window registry and the main object's operations over it.
#include "core/WindowRegistry.h"

#include <CEGUI/Window.h>

#include <algorithm>

#include "core/QGUI.h"
#include "widgets/QXWindow.h"

namespace QGUI
{
namespace
{
// Erases every element equal to value; removes the key when its list is
// left empty.
template <class Map, class Key, class Value>
void EraseFromList(Map& map, const Key& key, const Value& value)
{
    auto it = map.find(key);
    if (it == map.end())
        return;
    auto& list = it->second;
    list.erase(std::remove(list.begin(), list.end(), value), list.end());
    if (list.empty())
        map.erase(it);
}

template <class Map, class Key>
const typename Map::mapped_type* Find(const Map& map, const Key& key)
{
    auto it = map.find(key);
    return it == map.end() ? nullptr : &it->second;
}
} // namespace

void CWindowRegistry::registerGameWindow(CEGUI::Window* window)
{
    if (!window)
        return;
    m_Live.insert(window);
    if (QXWindow* game = dynamic_cast<QXWindow*>(window))
        m_Game[window] = game;
}

void CWindowRegistry::unregisterGameWindow(CEGUI::Window* window)
{
    m_Live.erase(window);
    m_Game.erase(window);
    auto it = m_ByWindow.find(window);
    if (it == m_ByWindow.end())
        return;
    const std::vector<int> ids = it->second;
    for (int id : ids)
        unbindWindowFromObject(window, id);
}

bool CWindowRegistry::isGameWindowRegistered(CEGUI::Window* window) const
{
    return m_Live.count(window) > 0;
}

void CWindowRegistry::registerWindowByName(CEGUI::Window* window, const std::string& key)
{
    if (window)
        m_ByName[key].push_back(window);
}

void CWindowRegistry::unregisterWindowByName(CEGUI::Window* window, const std::string& key)
{
    EraseFromList(m_ByName, key, window);
}

void CWindowRegistry::refreshWindowsByName(const std::string& key)
{
    if (const std::vector<CEGUI::Window*>* windows = Find(m_ByName, key))
        for (CEGUI::Window* w : *windows)
            refresh(w);
}

void CWindowRegistry::bindWindowToObject(CEGUI::Window* window, int objectId)
{
    if (!window)
        return;
    m_ByObject[objectId].push_back(window);
    m_ByWindow[window].push_back(objectId);
}

void CWindowRegistry::unbindWindowFromObject(CEGUI::Window* window, int objectId)
{
    EraseFromList(m_ByWindow, window, objectId);
    EraseFromList(m_ByObject, objectId, window);
}

void CWindowRegistry::refreshObjectWindows(int objectId)
{
    if (const std::vector<CEGUI::Window*>* windows = Find(m_ByObject, objectId))
        for (CEGUI::Window* w : *windows)
            refresh(w);
}

void CWindowRegistry::rebindObjectWindows(int oldId, int newId)
{
    const std::vector<CEGUI::Window*>* windows = Find(m_ByObject, oldId);
    if (!windows)
        return;
    const std::vector<CEGUI::Window*> moving = *windows;
    for (CEGUI::Window* w : moving)
    {
        unbindWindowFromObject(w, oldId);
        bindWindowToObject(w, newId);
        refreshObjectWindows(newId);
    }
}

void CWindowRegistry::refreshShownWindows()
{
    for (int round = 0; round < RefreshRounds; ++round)
    {
        std::vector<CEGUI::Window*> pending;
        for (const auto& entry : m_Game)
            if (entry.second->isRefreshPending() && entry.second->isShownInContext())
                pending.push_back(entry.first);
        if (pending.empty())
            return;
        // A refresh may destroy windows later in the list.
        for (CEGUI::Window* w : pending)
        {
            auto it = m_Game.find(w);
            if (it != m_Game.end())
                it->second->refreshGameObjectNow();
        }
    }
}

const std::vector<CEGUI::Window*>* CWindowRegistry::windowsNamed(const std::string& key) const
{
    return Find(m_ByName, key);
}

const std::vector<CEGUI::Window*>* CWindowRegistry::windowsOfObject(int objectId) const
{
    return Find(m_ByObject, objectId);
}

const std::vector<int>* CWindowRegistry::objectsOfWindow(CEGUI::Window* window) const
{
    return Find(m_ByWindow, window);
}

void CWindowRegistry::refresh(CEGUI::Window* window) const
{
    if (!m_Live.count(window))
        return;
    if (QXWindow* game = dynamic_cast<QXWindow*>(window))
        game->invalidate();
    else
        window->invalidate();
}

// ---------------------------------------------------------------------------
// The main object's operations. Null key texts are ignored. Removals work
// after shut-down too, so windows destroyed late leave nothing behind.

void CQGUI::RegisterGameWindow(CEGUI::Window* window)
{
    QGUI_OPEN_CALL_SCOPE();
    m_WindowRegistry.registerGameWindow(window);
}

void CQGUI::UnregisterGameWindow(CEGUI::Window* window)
{
    m_WindowRegistry.unregisterGameWindow(window);
}

bool CQGUI::IsGameWindowRegistered(CEGUI::Window* window)
{
    QGUI_OPEN_CALL_SCOPE(false);
    return m_WindowRegistry.isGameWindowRegistered(window);
}

void CQGUI::RefreshWindowsByName(const char* key)
{
    QGUI_OPEN_CALL_SCOPE();
    if (key)
        m_WindowRegistry.refreshWindowsByName(key);
}

void CQGUI::RegisterWindowByName(CEGUI::Window* window, const char* key)
{
    QGUI_OPEN_CALL_SCOPE();
    if (key)
        m_WindowRegistry.registerWindowByName(window, key);
}

void CQGUI::UnregisterWindowByName(CEGUI::Window* window, const char* key)
{
    if (key)
        m_WindowRegistry.unregisterWindowByName(window, key);
}

void CQGUI::BindWindowToObject(CEGUI::Window* window, int objectId)
{
    QGUI_OPEN_CALL_SCOPE();
    m_WindowRegistry.bindWindowToObject(window, objectId);
}

void CQGUI::UnbindWindowFromObject(CEGUI::Window* window, int objectId)
{
    m_WindowRegistry.unbindWindowFromObject(window, objectId);
}

void CQGUI::RefreshObjectWindows(int objectId)
{
    QGUI_OPEN_CALL_SCOPE();
    m_WindowRegistry.refreshObjectWindows(objectId);
}

void CQGUI::RebindObjectWindows(int oldId, int newId)
{
    QGUI_OPEN_CALL_SCOPE();
    m_WindowRegistry.rebindObjectWindows(oldId, newId);
}
} // namespace QGUI
