// The data-provider map: the game widgets' one way to the main object, the
// flag that says the module is started, and the name of the host data
// provider that serves each widget type.
#pragma once

#include <CEGUI/String.h>

#include <map>
#include <string>

#include "core/Singleton.h"

namespace QGUI
{
class IQGUI;
class IWebWindow;

class QGUIExtraFacoryManager : public Singleton<QGUIExtraFacoryManager>
{
public:
    QGUIExtraFacoryManager();

    // Stores the main object (not owned). The first time a main object is
    // stored, the widget script package is opened on it.
    void SetMainObject(IQGUI* main);
    IQGUI* GetMainObject() const { return m_pMainObject; }
    void SetInitialised(bool initialised) { m_bInitialised = initialised; }
    bool IsInitialised() const { return m_bInitialised; }
    // The provider serving a window type; empty for a type without one.
    const std::string& GetProviderName(const CEGUI::String& windowType) const;
    // Adds the window factories to the GUI system in table order, then the
    // window-renderer factories.
    void RegisterWindowFactories();

    // Web-page windows, kept by the main object: whether any has its native
    // control, and a move of the host's main window (flag 0) that has every
    // control placed again.
    bool HasHTMLWindows() const;
    void OnMainWindowMoved(int flag);
    // A web-page window joins once its control exists and leaves when the
    // control goes (the main object shows the system cursor while any is
    // there).
    void RegisterWebWindow(IWebWindow* window);
    void UnregisterWebWindow(IWebWindow* window);

private:
    bool m_bInitialised = false;
    IQGUI* m_pMainObject = nullptr;
    std::map<CEGUI::String, std::string> m_ProviderNames;
};

// The main object as the data-provider map holds it; null before start-up.
inline IQGUI* MainObject()
{
    return QGUIExtraFacoryManager::Instance().GetMainObject();
}
} // namespace QGUI
