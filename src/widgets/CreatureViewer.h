// The creature viewer: a picture of a game creature that the game draws
// for it. The creature is named by a selector the game resolves
// ("WhichOne") or fixed by a direct id; the viewer binds itself to it so
// that the game's reports of a change refresh it.
#pragma once

#include <cstdint>

#include "widgets/QXWindow.h"

namespace QGUI
{
class CCreatureViewer : public QXWindow
{
public:
    static const CEGUI::String WidgetTypeName; // "QXGame/CreatureViewer"
    // A direct id that names no creature: the selector is used.
    static constexpr uint32_t NoDirectId = 0xFFFFFFFF;
    // How the game draws the creature.
    enum RenderOperation : uint32_t
    {
        RenderMap = 0,
        RenderIcon = 1,
        RenderLargeIcon = 2,
        RenderSmallIcon = 3
    };

    CCreatureViewer(const CEGUI::String& type, const CEGUI::String& name);
    ~CCreatureViewer() override;

    CEGUI::Property* FindSharePros(const CEGUI::String& name) const override;
    void WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const override;

    // --- properties ---
    const CEGUI::String& getWhichOne() const { return m_WhichOne; }
    // A new selector is asked of the game at the next draw.
    void setWhichOne(const CEGUI::String& whichOne);
    uint32_t getRenderOper() const { return m_nRenderOper; }
    // A new operation redraws; the map and icon operations also move the
    // picture's anchor in the window.
    void setRenderOper(uint32_t op);
    // The operation's name; empty for a value without one.
    CEGUI::String getRenderOperName() const;
    // A name not in the table sets RenderMap.
    void setRenderOperName(const CEGUI::String& name);
    uint32_t getDirectId() const { return m_nDirectId; }
    void setDirectId(uint32_t id);
    bool isPicked() const { return m_bPicked; }
    void setPicked(bool picked);

    // The creature shown and bound; 0 for none.
    int32_t getCreatureId() const { return m_nCreatureId; }

protected:
    // Resolves the selector (or takes the direct id) and moves the binding
    // to that creature. A refusal, or a reply without a creature, changes
    // nothing.
    void refreshGameObject() override;

    static CEGUI::ShareProSet SharePropertySet;

private:
    CEGUI::String m_WhichOne;
    int32_t m_nCreatureId = 0;
    uint32_t m_nRenderOper = RenderMap;
    uint32_t m_nDirectId = NoDirectId;
    bool m_bPicked = false;
};
} // namespace QGUI
