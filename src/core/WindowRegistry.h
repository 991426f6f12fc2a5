// The main object's registry of game windows: the live game windows, the
// windows listed under the name of the data provider that feeds them, and
// the two-way binding between windows and game-object ids. Refreshing a
// window asks it to re-read its game object when it is next drawn.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

namespace CEGUI
{
class Window;
}

namespace QGUI
{
class QXWindow;

class CWindowRegistry
{
public:
    void registerGameWindow(CEGUI::Window* window);
    // Also unbinds the window from every object it is bound to.
    void unregisterGameWindow(CEGUI::Window* window);
    bool isGameWindowRegistered(CEGUI::Window* window) const;

    // The same window may be listed more than once under a key.
    void registerWindowByName(CEGUI::Window* window, const std::string& key);
    // Removes every listing of the window under the key.
    void unregisterWindowByName(CEGUI::Window* window, const std::string& key);
    void refreshWindowsByName(const std::string& key);

    // No check for a pair that is already bound: binding twice lists the
    // pair twice, and one unbind removes both.
    void bindWindowToObject(CEGUI::Window* window, int objectId);
    void unbindWindowFromObject(CEGUI::Window* window, int objectId);
    void refreshObjectWindows(int objectId);
    // Moves every window of the old id to the new one, refreshing the new
    // id's windows after each move.
    void rebindObjectWindows(int oldId, int newId);

    // Lets every shown game window that waits for a refresh re-read its
    // game object now, before the GUI system walks its windows to draw
    // them: the handlers of a refresh may then make and destroy windows.
    // Refreshes that cause refreshes are run too, a few rounds deep.
    void refreshShownWindows();
    static constexpr int RefreshRounds = 4;

    // What is recorded, for inspection.
    const std::vector<CEGUI::Window*>* windowsNamed(const std::string& key) const;
    const std::vector<CEGUI::Window*>* windowsOfObject(int objectId) const;
    const std::vector<int>* objectsOfWindow(CEGUI::Window* window) const;
    size_t liveWindowCount() const { return m_Live.size(); }

private:
    // Only windows still alive are refreshed; a game window re-reads its
    // object, any other window just redraws.
    void refresh(CEGUI::Window* window) const;

    std::set<CEGUI::Window*> m_Live;
    // The live windows that are game windows, as game windows.
    std::map<CEGUI::Window*, QXWindow*> m_Game;
    std::map<std::string, std::vector<CEGUI::Window*>> m_ByName;
    std::map<int, std::vector<CEGUI::Window*>> m_ByObject;
    std::map<CEGUI::Window*, std::vector<int>> m_ByWindow;
};
} // namespace QGUI
