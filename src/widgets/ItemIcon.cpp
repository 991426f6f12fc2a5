#include "widgets/ItemIcon.h"

#include <string>

#include "IQGUI.h"
#include "KeyValues.h"
#include "strtools.h"
#include "widgets/GameObjectQueries.h"
#include "widgets/QGUIExtraFacoryManager.h"
#include "widgets/SharedProperties.h"

namespace QGUI
{
const CEGUI::String CItemIcon::WidgetTypeName("QXGame/ItemIcon");
const CEGUI::String CItemIcon::EventNamespace("ItemIcon");
const CEGUI::String CItemIcon::EventIconPicked("IconPicked");
const CEGUI::String CItemIcon::EventTargetIdChanged("TargetIdChanged");
const CEGUI::String CSpellIcon::WidgetTypeName("QXGame/SpellIcon");

// provider: the name of the query request; null for the icon's own
// provider (an item icon's or a spell icon's).
struct CItemIcon::ClickRow
{
    const char* itemType;
    const char* provider;
    const char* clickMessage;
    uint32_t (CItemIcon::*query)(IQGUI& main, KeyValues& request, KeyValues& reply);
    void (CItemIcon::*click)(KeyValues& message) const;
};

const CItemIcon::ClickRow CItemIcon::ClickTable[] = {
    {"Item", nullptr, "_KeyVal_ItemIcon_Click", &CItemIcon::queryItem, &CItemIcon::clickPackage},
    {"Spell", "SpellProxyMgr", "_KeyVal_Spell_Click", &CItemIcon::querySpell, &CItemIcon::clickSpell},
    {"Shortcut", "SpellProxyMgr", "_KeyVal_Shortcut_Click", &CItemIcon::queryShortcut,
     &CItemIcon::clickShortcut},
    {"ShortcutItem", "ItemTemplMgr", "_KeyVal_ShortcutItem_Click", &CItemIcon::queryShortcut,
     &CItemIcon::clickShortcut},
    {"SpellInSet", "SpellSetMgr", "_KeyVal_SpellInSet_Click", &CItemIcon::querySpellInSet,
     &CItemIcon::clickPackage},
    {"GangTech", "GangTechMgr", "_KeyVal_TechIcon_Click", &CItemIcon::queryGangTech,
     &CItemIcon::clickGangTech},
    {"CsmKey", "CsmKeyMgr", "_KeyVal_CsmKey_Click", &CItemIcon::queryCsmKey, &CItemIcon::clickNothing},
};
const size_t CItemIcon::ClickTableRows = sizeof(ClickTable) / sizeof(ClickTable[0]);

namespace
{

const NamedValue kRenderOperNames[] = {
    {"RenderMap", CItemIcon::RenderMap},
    {"RenderIcon", CItemIcon::RenderIcon},
    {"RenderLargeIcon", CItemIcon::RenderLargeIcon},
    {"RenderSmallIcon", CItemIcon::RenderSmallIcon},
    {"RenderDarkIcon", CItemIcon::RenderDarkIcon},
    {"RenderForceDarkIcon", CItemIcon::RenderForceDarkIcon},
};

// The reply's object id; -1 (no key) keeps the present target.
uint32_t ReplyCellId(KeyValues& reply)
{
    return static_cast<uint32_t>(reply.GetInt("CellId", -1));
}

int32_t AsInt(uint32_t v)
{
    return static_cast<int32_t>(v);
}
} // namespace

CItemIcon::CItemIcon(const CEGUI::String& type, const CEGUI::String& name)
    : QXWindow(type, name), m_ItemType("Item")
{
    SharePropertySet.applyTo(*this);
}

CItemIcon::~CItemIcon() {}

CSpellIcon::CSpellIcon(const CEGUI::String& type, const CEGUI::String& name) : CItemIcon(type, name) {}

CSpellIcon::~CSpellIcon() {}

CEGUI::Property* CItemIcon::FindSharePros(const CEGUI::String& name) const
{
    if (CEGUI::Property* p = SharePropertySet.GetpProperty(name))
        return p;
    return QXWindow::FindSharePros(name);
}

void CItemIcon::WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const
{
    QXWindow::WriteSharePropToXML(xml, count);
    writeSharedSet(SharePropertySet, xml, count);
}

// --- properties ---

void CItemIcon::setPackageName(const CEGUI::String& name)
{
    if (ChangeValue(m_PackageName, name))
        invalidate();
}

void CItemIcon::setPackageIndex(uint32_t index)
{
    if (index == m_nPackageIndex)
        return;
    m_SavedTooltip = getTooltipText();
    m_nPackageIndex = index;
    invalidate();
}

void CItemIcon::setDirectId(uint32_t id)
{
    if (ChangeValue(m_nDirectId, id))
        invalidate();
}

void CItemIcon::setItemType(const CEGUI::String& type)
{
    if (ChangeValue(m_ItemType, type))
        invalidate();
}

void CItemIcon::setClickIsPick(bool pick)
{
    if (ChangeValue(m_bClickIsPick, pick))
        requestRedraw();
}

void CItemIcon::setPicked(bool picked)
{
    if (ChangeValue(m_bPicked, picked))
        requestRedraw();
}

void CItemIcon::setPackageId(uint32_t id)
{
    if (ChangeValue(m_nPackageId, id))
        invalidate();
}

void CItemIcon::setSpellIndex(uint32_t index)
{
    if (ChangeValue(m_nSpellIndex, index))
        invalidate();
}

void CItemIcon::setRenderOper(uint32_t op)
{
    if (ChangeValue(m_nRenderOper, op))
        requestRedraw();
}

CEGUI::String CItemIcon::getRenderOperName() const
{
    return NameOfValue(kRenderOperNames, m_nRenderOper);
}

void CItemIcon::setRenderOperName(const CEGUI::String& name)
{
    setRenderOper(ValueOfName(kRenderOperNames, name, RenderMap));
}

// --- the game object ---

const CItemIcon::ClickRow* CItemIcon::clickRow() const
{
    for (size_t i = 0; i < ClickTableRows; ++i)
        if (m_ItemType == ClickTable[i].itemType)
            return &ClickTable[i];
    return nullptr;
}

std::string CItemIcon::requestName(const ClickRow& row) const
{
    return row.provider ? std::string(row.provider) : getProviderKey();
}

void CItemIcon::refreshGameObject()
{
    const uint32_t before = m_nTargetId;
    const ClickRow* row = clickRow();
    KeyValuesPtr request(new KeyValues(row ? requestName(*row).c_str() : ""));
    KeyValuesPtr reply(new KeyValues(""));
    if (row)
    {
        request->SetString("ItemType", m_ItemType.c_str());
        if (IQGUI* main = MainObject())
            applyTarget(*main, (this->*row->query)(*main, *request, *reply));
    }
    request.reset();
    reply.reset();
    if (m_nTargetId != before)
    {
        CEGUI::WindowEventArgs args(this);
        fireEvent(EventTargetIdChanged, args, EventNamespace);
    }
}

void CItemIcon::applyTarget(IQGUI& main, uint32_t target)
{
    if (target == NoIndex)
        return;
    const uint32_t old = m_nTargetId;
    m_nTargetId = target;
    if (target != old)
    {
        if (old)
            main.UnbindWindowFromObject(this, AsInt(old));
        if (target)
            main.BindWindowToObject(this, AsInt(target));
    }
    refreshTooltip();
}

// An "Item" slot with a direct id shows that object without asking.
uint32_t CItemIcon::queryItem(IQGUI& main, KeyValues& request, KeyValues& reply)
{
    if (m_nDirectId != 0)
        return m_nDirectId;
    request.SetString("PackageName", m_PackageName.c_str());
    request.SetInt("PackageId", AsInt(m_nPackageId));
    request.SetInt("PackageIndex", AsInt(m_nPackageIndex));
    return main.QueryKeyVal(&request, &reply) ? ReplyCellId(reply) : 0;
}

uint32_t CItemIcon::querySpell(IQGUI& main, KeyValues& request, KeyValues& reply)
{
    if (m_nSpellIndex != NoIndex)
        request.SetInt("Spell_Index", AsInt(m_nSpellIndex));
    else
        request.SetString("PackageName", m_PackageName.c_str());
    return main.QueryKeyVal(&request, &reply) ? ReplyCellId(reply) : 0;
}

uint32_t CItemIcon::queryShortcut(IQGUI& main, KeyValues& request, KeyValues& reply)
{
    request.SetInt("PackageIndex", AsInt(m_nPackageIndex));
    return main.QueryKeyVal(&request, &reply) ? ReplyCellId(reply) : NoIndex;
}

uint32_t CItemIcon::querySpellInSet(IQGUI& main, KeyValues& request, KeyValues& reply)
{
    request.SetString("PackageName", m_PackageName.c_str());
    request.SetInt("PackageId", AsInt(m_nPackageId));
    request.SetInt("PackageIndex", AsInt(m_nPackageIndex));
    request.SetInt("ReadOnly", m_bReadOnly ? 1 : 0);
    return main.QueryKeyVal(&request, &reply) ? ReplyCellId(reply) : NoIndex;
}

uint32_t CItemIcon::queryGangTech(IQGUI& main, KeyValues& request, KeyValues& reply)
{
    request.SetInt("PackageId", AsInt(m_nPackageId));
    request.SetInt("PackageIndex", AsInt(m_nPackageIndex));
    return main.QueryKeyVal(&request, &reply) ? ReplyCellId(reply) : NoIndex;
}

uint32_t CItemIcon::queryCsmKey(IQGUI& main, KeyValues& request, KeyValues& reply)
{
    if (m_nSpellIndex == NoIndex)
    {
        request.SetInt("PackageId", AsInt(m_nPackageId));
        request.SetInt("PackageIndex", AsInt(m_nPackageIndex));
    }
    else
        request.SetInt("Spell_Index", AsInt(m_nSpellIndex));
    return main.QueryKeyVal(&request, &reply) ? ReplyCellId(reply) : 0;
}

// A refused tooltip query shows the saved tooltip. Items and spells also
// learn what to compare with; an object is never compared with itself.
void CItemIcon::refreshTooltip()
{
    CEGUI::String text = m_SavedTooltip;
    if (IQGUI* main = MainObject())
    {
        QueryObjectTooltip(main, AsInt(m_nTargetId), false, text);
        uint32_t compare = 0;
        if (m_ItemType == "Item" || m_ItemType == "Spell")
            compare = QueryObjectCompareId(main, AsInt(m_nTargetId));
        setCompareId(compare == m_nTargetId ? 0 : compare);
    }
    if (getTooltipText() != text)
        setTooltipText(text);
}

// --- clicks ---

void CItemIcon::clickPackage(KeyValues& message) const
{
    message.SetString("PackageName", m_PackageName.c_str());
    message.SetInt("PackageId", AsInt(m_nPackageId));
    message.SetInt("PackageIndex", AsInt(m_nPackageIndex));
}

void CItemIcon::clickSpell(KeyValues& message) const
{
    message.SetInt("Spell_Proxy_Id", AsInt(m_nTargetId));
}

// The game reads the key under this spelling.
void CItemIcon::clickShortcut(KeyValues& message) const
{
    message.SetInt("Shortcur_Pos", AsInt(m_nPackageIndex));
}

void CItemIcon::clickGangTech(KeyValues& message) const
{
    message.SetInt("PackageId", AsInt(m_nPackageId));
    message.SetInt("PackageIndex", AsInt(m_nPackageIndex));
}

void CItemIcon::clickNothing(KeyValues&) const {}

bool CItemIcon::HandlesMouseInput(MouseInput input, const CEGUI::MouseEventArgs&) const
{
    return input == MouseInput::ButtonDown;
}

void CItemIcon::onMouseButtonDown(CEGUI::MouseEventArgs& e)
{
    QXWindow::onMouseButtonDown(e);
    if (m_bReadOnly)
    {
        IQGUI* main = MainObject();
        if (main && !m_ReadOnlyReason.empty())
        {
            // Copied before the call converts again.
            const std::string reason = Utf8ToAnsi(m_ReadOnlyReason.c_str(), "");
            main->CallScriptGlobalNumberString("gFn_print_reason", 0, reason.c_str());
        }
    }
    else if (!m_bClickIsPick)
        onIconClicked(e.button);
    else
    {
        // A handler on the parent may destroy the icon: the window manager
        // keeps it until the frame ends, so firing on it stays safe.
        if (CEGUI::Window* parent = getParent())
            parent->fireEvent(EventIconPicked, e, EventNamespace);
        fireEvent(EventIconPicked, e, EventNamespace);
    }
    ++e.handled;
}

void CItemIcon::onIconClicked(CEGUI::MouseButton button)
{
    IQGUI* main = MainObject();
    const ClickRow* row = clickRow();
    if (!main || !row)
        return;
    KeyValues* message = new KeyValues(row->clickMessage);
    (this->*row->click)(*message);
    const char* buttonType = button == CEGUI::LeftButton    ? "_KeyVal_Cmd_MouseButton_Left"
                             : button == CEGUI::RightButton ? "_KeyVal_Cmd_MouseButton_Right"
                                                            : "";
    message->SetString("_KeyVal_Cmd_MouseButton_Type", buttonType);
    // A message the game does not take stays ours.
    if (!main->SendKeyVal(message))
        message->deleteThis();
}
} // namespace QGUI
