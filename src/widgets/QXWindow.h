// The base of the game widgets that show a game object (item and spell
// icons and the others): registered with the main object for its whole
// life, it re-reads its game object when it is next drawn after an
// invalidation, and draws an extra render cache of game-object pictures
// beside its own imagery. Also the shared-property-set convention every
// widget class of the module follows.
#pragma once

#include <CEGUI/Window.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ShareProSet.h"
#include "core/ModuleMemory.h"
#include "widgets/WindowRenderCache.h"

namespace CEGUI
{
class XMLSerializer;
}

namespace QGUI
{
class IQGUI;

class QXWindow : public CEGUI::Window, public CModuleObject
{
public:
    static const CEGUI::String EventNamespace;           // "QXWindow"
    static const CEGUI::String EventGameObjectCreated;   // never fired
    static const CEGUI::String EventGameObjectUpdated;
    static const CEGUI::String EventGameObjectDestroyed; // never fired

    // Depth of the extra render cache relative to the window's own imagery
    // (greater is further back).
    static constexpr float ExtraCacheDepth = 0.0005f;

    QXWindow(const CEGUI::String& type, const CEGUI::String& name);
    ~QXWindow() override;

    // --- shared property sets ---
    // The class's shared property of that name, else the base class's.
    virtual CEGUI::Property* FindSharePros(const CEGUI::String& name) const;
    // Writes the shared properties that are not banned and not at their
    // default, base class first; count grows by one per property written.
    virtual void WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const;

    // The bound game object may have changed: re-read it at the next draw.
    void invalidate();
    // Redraws the window's imagery without re-reading the game object.
    void requestRedraw() { CEGUI::Window::invalidate(); }
    // Re-reads the game object, then fires "GameObjectUpdated".
    void updateGameObject();
    bool isRefreshPending() const { return m_bRefresh; }
    // The refresh a draw would run, run now (outside drawing).
    void refreshGameObjectNow();
    // Whether the window is drawn: shown, and in the tree of the GUI
    // context's root window.
    bool isShownInContext() const;

    uint32_t getCompareId() const { return m_nCompareId; }
    void setCompareId(uint32_t id) { m_nCompareId = id; }
    uint32_t getSparkingState() const { return m_nSparkingState; }
    void setSparkingState(uint32_t state);

    const std::string& getProviderKey() const { return m_ProviderKey; }
    CWindowRenderCache& getExtraRenderCache() { return m_ExtraCache; }
    const CWindowRenderCache& getExtraRenderCache() const { return m_ExtraCache; }

    // A look that defines a property under the name of one of the module's
    // shared or renderer properties takes that name over (the module's
    // property is taken off the window, with a log line).
    void setLookNFeel(const CEGUI::String& look) override;

protected:
    void drawSelf(const CEGUI::RenderingContext& ctx) override;
    // Finds the game object the window's properties designate and binds
    // the window to it.
    virtual void refreshGameObject() = 0;

    // Moves the window's binding from one game object to another (0 names
    // none); nothing when the two are the same.
    void moveBinding(IQGUI& main, int32_t oldId, int32_t newId);

    // Writes the properties of one class's set that are not banned and not
    // at their default; count grows by one per property written.
    void writeSharedSet(const CEGUI::ShareProSet& set, CEGUI::XMLSerializer& xml, int& count) const;

    static CEGUI::ShareProSet SharePropertySet;

private:
    void refreshWhileDrawing();
    void removeShadowedProperties(const CEGUI::String& look);
    void restoreSharedProperties();

    CWindowRenderCache m_ExtraCache;
    std::string m_ProviderKey;
    bool m_bRefresh = true;
    uint32_t m_nCompareId = 0;
    uint32_t m_nSparkingState = 0;
    // The main object this window registered with; null when it did not.
    IQGUI* m_pRegisteredWith = nullptr;
    // The module's properties a look took the names of.
    std::vector<CEGUI::Property*> m_Shadowed;
};
} // namespace QGUI
