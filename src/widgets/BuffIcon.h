// The buff icon: one timed effect of a game object, by its index among the
// buffs the game's buff provider lists, or by a direct object id. It binds
// itself to the buff's object, shows the object's tooltip text and lets the
// game draw the object's picture. Unlike the item icon it asks the game at
// once when one of its properties changes.
#pragma once

#include <cstdint>

#include "widgets/QXWindow.h"

namespace QGUI
{
class CBuffIcon : public QXWindow
{
public:
    static const CEGUI::String WidgetTypeName; // "QXGame/BuffIcon"
    // A direct id that names no object: the buff index is used.
    static constexpr uint32_t NoDirectId = 0xFFFFFFFF;

    CBuffIcon(const CEGUI::String& type, const CEGUI::String& name);
    ~CBuffIcon() override;

    CEGUI::Property* FindSharePros(const CEGUI::String& name) const override;
    void WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const override;

    // --- properties: a change is asked of the game at once ---
    uint32_t getBuffIndex() const { return m_nBuffIndex; }
    void setBuffIndex(uint32_t index);
    uint32_t getDirectId() const { return m_nDirectId; }
    void setDirectId(uint32_t id);

    // The bound game object; 0 for none.
    uint32_t getObjectId() const { return m_nObjectId; }

protected:
    // Asks the buff provider which object the index stands for (or takes
    // the direct id), binds to it and refreshes the tooltip. A refusal
    // unbinds; a reply without an object keeps the binding.
    void refreshGameObject() override;

    static CEGUI::ShareProSet SharePropertySet;

private:
    // Shows the game's tooltip text of the object; the empty text when the
    // game has none.
    void refreshTooltip();
    // Stores the object, moves the binding, redraws and refreshes the
    // tooltip.
    void showObject(IQGUI& main, uint32_t objectId);

    uint32_t m_nBuffIndex = 0;
    uint32_t m_nDirectId = NoDirectId;
    uint32_t m_nObjectId = 0;
};
} // namespace QGUI
