#include "widgets/QGUIExtraFacoryManager.h"

#include "IQGUI.h"
#include "core/QGUI.h"
#include "script/WidgetPackage.h"
#include "widgets/WidgetFactories.h"

namespace QGUI
{
QGUIExtraFacoryManager::QGUIExtraFacoryManager()
{
    m_ProviderNames["QXGame/ItemIcon"] = "GamePackageManagerProxy";
    m_ProviderNames["QXGame/GameValueText"] = "GameCreatureProvider";
    m_ProviderNames["QXGame/PercentBar"] = "GameCreatureProvider";
    m_ProviderNames["QXGame/CreatureViewer"] = "GameCreatureProvider";
    m_ProviderNames["QXGame/SpellIcon"] = "SpellProxyMgr";
    m_ProviderNames["QXGame/BuffIcon"] = "BuffMgr";
}

void QGUIExtraFacoryManager::SetMainObject(IQGUI* main)
{
    // Only a new main object opens the package: opening it again would
    // register its bindings twice.
    const bool changed = main && main != m_pMainObject;
    m_pMainObject = main;
    if (changed)
        main->OpenScriptPackage(&OpenWidgetScriptPackage);
}

const std::string& QGUIExtraFacoryManager::GetProviderName(const CEGUI::String& windowType) const
{
    static const std::string none;
    auto it = m_ProviderNames.find(windowType);
    return it == m_ProviderNames.end() ? none : it->second;
}

void QGUIExtraFacoryManager::RegisterWindowFactories()
{
    AddWindowFactories();
    AddAllRendererFactories();
    AddRenderersBesideTable();
}

namespace
{
// The module's own main object behind the stored one; null for any other.
CQGUI* ModuleMainObject(IQGUI* main)
{
    return dynamic_cast<CQGUI*>(main);
}
} // namespace

bool QGUIExtraFacoryManager::HasHTMLWindows() const
{
    return m_pMainObject && m_pMainObject->HasHTMLWindow();
}

void QGUIExtraFacoryManager::OnMainWindowMoved(int flag)
{
    CQGUI* main = ModuleMainObject(m_pMainObject);
    if (flag == 0 && main)
        main->OnMainWindowMoved();
}

void QGUIExtraFacoryManager::RegisterWebWindow(IWebWindow* window)
{
    if (CQGUI* main = ModuleMainObject(m_pMainObject))
        main->RegisterWebWindow(window);
}

void QGUIExtraFacoryManager::UnregisterWebWindow(IWebWindow* window)
{
    if (CQGUI* main = ModuleMainObject(m_pMainObject))
        main->UnregisterWebWindow(window);
}
} // namespace QGUI
