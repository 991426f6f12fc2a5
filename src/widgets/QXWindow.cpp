#include "widgets/QXWindow.h"

#include <CEGUI/Exceptions.h>
#include <CEGUI/Logger.h>
#include <CEGUI/System.h>
#include <CEGUI/GUIContext.h>
#include <CEGUI/WindowManager.h>
#include <CEGUI/WindowRendererManager.h>
#include <CEGUI/falagard/WidgetLookManager.h>

#include <algorithm>

#include "IQGUI.h"
#include "widgets/QGUIExtraFacoryManager.h"
#include "widgets/QXRenderer.h"
#include "widgets/SharedProperties.h"

namespace QGUI
{
const CEGUI::String QXWindow::EventNamespace("QXWindow");
const CEGUI::String QXWindow::EventGameObjectCreated("GameObjectCreated");
const CEGUI::String QXWindow::EventGameObjectUpdated("GameObjectUpdated");
const CEGUI::String QXWindow::EventGameObjectDestroyed("GameObjectDestroyed");

namespace QXWindowProperty
{
QGUI_PROPERTY(CompareId, QXWindow, UintText, "GameObjectCompareId",
              "Property to get/set the compare id for the QXWindow.  Value is a int.", "0",
              &QXWindow::getCompareId, &QXWindow::setCompareId);
QGUI_PROPERTY(SparkingState, QXWindow, UintText, "Sparking",
              "Property to get/set the sparking state for the QXWindow.  Value is a int.", "0",
              &QXWindow::getSparkingState, &QXWindow::setSparkingState);
} // namespace QXWindowProperty

namespace
{
QXWindowProperty::CompareId s_CompareId;
QXWindowProperty::SparkingState s_SparkingState;
} // namespace

CEGUI::ShareProSet QXWindow::SharePropertySet{&s_CompareId, &s_SparkingState};

QXWindow::QXWindow(const CEGUI::String& type, const CEGUI::String& name) : CEGUI::Window(type, name)
{
    SharePropertySet.applyTo(*this);
    QGUIExtraFacoryManager& providers = QGUIExtraFacoryManager::Instance();
    m_ProviderKey = providers.GetProviderName(type);
    if (IQGUI* main = providers.GetMainObject())
    {
        m_pRegisteredWith = main;
        main->RegisterGameWindow(this);
        main->RegisterWindowByName(this, m_ProviderKey.c_str());
    }
}

// Only a window that registered leaves, and only the main object it
// registered with (one that has since left the data-provider map is gone).
QXWindow::~QXWindow()
{
    if (m_pRegisteredWith && m_pRegisteredWith == MainObject())
    {
        m_pRegisteredWith->UnregisterWindowByName(this, m_ProviderKey.c_str());
        m_pRegisteredWith->UnregisterGameWindow(this);
    }
}

CEGUI::Property* QXWindow::FindSharePros(const CEGUI::String& name) const
{
    return SharePropertySet.GetpProperty(name);
}

void QXWindow::WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const
{
    writeSharedSet(SharePropertySet, xml, count);
}

void QXWindow::writeSharedSet(const CEGUI::ShareProSet& set, CEGUI::XMLSerializer& xml, int& count) const
{
    WriteSharedSet(*this, set, xml, count);
}

void QXWindow::invalidate()
{
    m_bRefresh = true;
    requestRedraw();
}

void QXWindow::updateGameObject()
{
    refreshGameObject();
    CEGUI::EventArgs args;
    fireEvent(EventGameObjectUpdated, args, EventNamespace);
}

void QXWindow::moveBinding(IQGUI& main, int32_t oldId, int32_t newId)
{
    if (oldId == newId)
        return;
    if (oldId)
        main.UnbindWindowFromObject(this, oldId);
    if (newId)
        main.BindWindowToObject(this, newId);
}

void QXWindow::setSparkingState(uint32_t state)
{
    if (ChangeValue(m_nSparkingState, state))
        requestRedraw();
}

// The game object is re-read only when the window is drawn (the main object
// runs the refreshes of shown windows just before it draws), so a burst of
// invalidations costs one refresh, and frames in which nothing changed cost
// none (the GUI system then replays the queued buffers without drawing
// windows).
void QXWindow::drawSelf(const CEGUI::RenderingContext& ctx)
{
    if (m_bRefresh)
        refreshWhileDrawing();
    if (d_needsRedraw)
        m_ExtraCache.clearCachedImagery();
    bufferGeometry(ctx);
    queueGeometry(ctx);
    if (m_ExtraCache.hasCachedImagery())
        m_ExtraCache.queue(*this, ctx, ExtraCacheDepth);
}

// The flag is cleared first: a handler of the refresh that changes what the
// window shows asks for one more refresh, which must not be lost.
void QXWindow::refreshGameObjectNow()
{
    m_bRefresh = false;
    try
    {
        updateGameObject();
    }
    catch (const CEGUI::Exception& e)
    {
        if (CEGUI::Logger* logger = CEGUI::Logger::getSingletonPtr())
            logger->logEvent("QGUI::QXWindow: refreshing window '" + getName() + "' failed: " + e.getMessage(),
                             CEGUI::Errors);
    }
}

// A refresh left for the drawing itself (the main object refreshes shown
// windows before it draws) runs while the GUI system walks its windows:
// making a window then would change the lists being walked, so the window
// manager refuses it until the refresh is done.
void QXWindow::refreshWhileDrawing()
{
    CEGUI::WindowManager& windows = CEGUI::WindowManager::getSingleton();
    windows.lock();
    refreshGameObjectNow();
    windows.unlock();
}

bool QXWindow::isShownInContext() const
{
    if (!isEffectiveVisible())
        return false;
    const CEGUI::Window* top = this;
    while (top->getParent())
        top = top->getParent();
    return top == CEGUI::System::getSingleton().getDefaultGUIContext().getRootWindow();
}

void QXWindow::setLookNFeel(const CEGUI::String& look)
{
    removeShadowedProperties(look);
    CEGUI::Window::setLookNFeel(look);
    restoreSharedProperties();
}

// The module's properties this window carries under a name the look also
// defines: the look's definition wins.
void QXWindow::removeShadowedProperties(const CEGUI::String& look)
{
    CEGUI::WidgetLookManager& looks = CEGUI::WidgetLookManager::getSingleton();
    if (look.empty() || !looks.isWidgetLookAvailable(look))
        return;
    const CEGUI::WidgetLookFeel& wlf = looks.getWidgetLook(look);
    CEGUI::WidgetLookFeel::StringSet names = wlf.getPropertyDefinitionNames(true);
    const CEGUI::WidgetLookFeel::StringSet links = wlf.getPropertyLinkDefinitionNames(true);
    names.insert(links.begin(), links.end());

    const QXRenderer* renderer = dynamic_cast<const QXRenderer*>(getWindowRenderer());
    for (const CEGUI::String& name : names)
    {
        if (!isPropertyPresent(name))
            continue;
        CEGUI::Property* present = getPropertyInstance(name);
        const bool ours = present == FindSharePros(name) ||
                          (renderer && present == renderer->FindRendererProperty(name));
        if (!ours)
            continue;
        removeProperty(name);
        m_Shadowed.push_back(present);
        if (CEGUI::Logger* logger = CEGUI::Logger::getSingletonPtr())
            logger->logEvent("QGUI::QXWindow: the look '" + look + "' of window '" + getName() +
                                 "' defines the property '" + name + "' itself; its definition is used.",
                             CEGUI::Warnings);
    }
}

// Properties a previous look shadowed come back once no look defines them.
void QXWindow::restoreSharedProperties()
{
    for (auto it = m_Shadowed.begin(); it != m_Shadowed.end();)
    {
        if (isPropertyPresent((*it)->getName()))
        {
            ++it;
            continue;
        }
        addProperty(*it);
        it = m_Shadowed.erase(it);
    }
}
} // namespace QGUI
