// Item and spell icons: one slot of a game container (an item type and the
// slot's package name, id and index, or a spell index). The icon asks the
// game which object sits there, binds itself to it, shows the object's
// picture and tooltip, and on a click posts the click message its item type
// names (or fires "IconPicked" when clicks pick).
#pragma once

#include <CEGUI/InputEvent.h>

#include <cstdint>

#include "widgets/MouseWalk.h"
#include "widgets/QXWindow.h"

class KeyValues;

namespace QGUI
{
class IQGUI;

class CItemIcon : public QXWindow, public IMouseInputHandler
{
public:
    static const CEGUI::String WidgetTypeName; // "QXGame/ItemIcon"
    static const CEGUI::String EventNamespace; // "ItemIcon"
    static const CEGUI::String EventIconPicked;
    static const CEGUI::String EventTargetIdChanged;
    // An index that names no slot or spell.
    static constexpr uint32_t NoIndex = 0xFFFFFFFF;
    // Render operations handed to the engine with the object's picture.
    enum RenderOperation : uint32_t
    {
        RenderMap = 0,
        RenderIcon = 1,
        RenderLargeIcon = 2,
        RenderSmallIcon = 3,
        RenderDarkIcon = 17,
        RenderForceDarkIcon = 33
    };

    CItemIcon(const CEGUI::String& type, const CEGUI::String& name);
    ~CItemIcon() override;

    CEGUI::Property* FindSharePros(const CEGUI::String& name) const override;
    void WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const override;
    void initialiseComponents() override {}
    // Every button's press: it clicks, picks or tells why it cannot.
    bool HandlesMouseInput(MouseInput input, const CEGUI::MouseEventArgs& e) const override;

    // --- properties ---
    const CEGUI::String& getPackageName() const { return m_PackageName; }
    void setPackageName(const CEGUI::String& name);
    uint32_t getPackageIndex() const { return m_nPackageIndex; }
    void setPackageIndex(uint32_t index);
    uint32_t getDirectId() const { return m_nDirectId; }
    void setDirectId(uint32_t id);
    const CEGUI::String& getItemType() const { return m_ItemType; }
    void setItemType(const CEGUI::String& type);
    bool isClickPick() const { return m_bClickIsPick; }
    void setClickIsPick(bool pick);
    bool isPicked() const { return m_bPicked; }
    void setPicked(bool picked);
    bool isReadOnly() const { return m_bReadOnly; }
    void setReadOnly(bool readOnly) { m_bReadOnly = readOnly; }
    uint32_t getPackageId() const { return m_nPackageId; }
    void setPackageId(uint32_t id);
    uint32_t getSpellIndex() const { return m_nSpellIndex; }
    void setSpellIndex(uint32_t index);
    uint32_t getRenderOper() const { return m_nRenderOper; }
    void setRenderOper(uint32_t op);
    // The operation's name; empty for a value without one.
    CEGUI::String getRenderOperName() const;
    // A name not in the table sets RenderMap (0).
    void setRenderOperName(const CEGUI::String& name);
    const CEGUI::String& getReadOnlyReason() const { return m_ReadOnlyReason; }
    void setReadOnlyReason(const CEGUI::String& reason) { m_ReadOnlyReason = reason; }
    // The bound game object; read as a signed number by "TargetId".
    uint32_t GetTargetId() const { return m_nTargetId; }
    int32_t getTargetIdSigned() const { return static_cast<int32_t>(m_nTargetId); }

    // One row of the click table: what an item type asks the game and
    // posts on a click.
    struct ClickRow;

protected:
    void onMouseButtonDown(CEGUI::MouseEventArgs& e) override;
    void refreshGameObject() override;
    // Posts the click message of the item type, naming the button.
    virtual void onIconClicked(CEGUI::MouseButton button);

    static CEGUI::ShareProSet SharePropertySet;

private:
    // The click table, one row per item type.
    static const ClickRow ClickTable[];
    static const size_t ClickTableRows;
    // The query fillers: write the row's keys, ask the game, and answer the
    // new target (NoIndex: keep the present one).
    uint32_t queryItem(IQGUI& main, KeyValues& request, KeyValues& reply);
    uint32_t querySpell(IQGUI& main, KeyValues& request, KeyValues& reply);
    uint32_t queryShortcut(IQGUI& main, KeyValues& request, KeyValues& reply);
    uint32_t querySpellInSet(IQGUI& main, KeyValues& request, KeyValues& reply);
    uint32_t queryGangTech(IQGUI& main, KeyValues& request, KeyValues& reply);
    uint32_t queryCsmKey(IQGUI& main, KeyValues& request, KeyValues& reply);
    // The click fillers: write the row's keys into the click message.
    void clickPackage(KeyValues& message) const;
    void clickSpell(KeyValues& message) const;
    void clickShortcut(KeyValues& message) const;
    void clickGangTech(KeyValues& message) const;
    void clickNothing(KeyValues& message) const;

    const ClickRow* clickRow() const;
    std::string requestName(const ClickRow& row) const;
    // Stores a new target, moves the binding and refreshes the tooltip.
    void applyTarget(IQGUI& main, uint32_t target);
    void refreshTooltip();

    CEGUI::String m_ItemType;
    CEGUI::String m_PackageName;
    uint32_t m_nPackageId = 0;
    uint32_t m_nPackageIndex = NoIndex;
    uint32_t m_nDirectId = 0;
    uint32_t m_nSpellIndex = NoIndex;
    uint32_t m_nTargetId = 0;
    // The tooltip text at the last change of the package index: shown when
    // the game answers no tooltip.
    CEGUI::String m_SavedTooltip;
    bool m_bClickIsPick = false;
    bool m_bPicked = false;
    bool m_bReadOnly = false;
    uint32_t m_nRenderOper = RenderIcon;
    CEGUI::String m_ReadOnlyReason;
};

// The same icon as a spell icon: its window type gives it the spell
// provider.
class CSpellIcon : public CItemIcon
{
public:
    static const CEGUI::String WidgetTypeName; // "QXGame/SpellIcon"

    CSpellIcon(const CEGUI::String& type, const CEGUI::String& name);
    ~CSpellIcon() override;
};
} // namespace QGUI
