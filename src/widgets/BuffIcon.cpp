#include "widgets/BuffIcon.h"

#include "IQGUI.h"
#include "KeyValues.h"
#include "widgets/GameObjectQueries.h"
#include "widgets/QGUIExtraFacoryManager.h"
#include "widgets/SharedProperties.h"

namespace QGUI
{
const CEGUI::String CBuffIcon::WidgetTypeName("QXGame/BuffIcon");

CBuffIcon::CBuffIcon(const CEGUI::String& type, const CEGUI::String& name) : QXWindow(type, name)
{
    SharePropertySet.applyTo(*this);
}

CBuffIcon::~CBuffIcon() {}

CEGUI::Property* CBuffIcon::FindSharePros(const CEGUI::String& name) const
{
    if (CEGUI::Property* p = SharePropertySet.GetpProperty(name))
        return p;
    return QXWindow::FindSharePros(name);
}

void CBuffIcon::WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const
{
    QXWindow::WriteSharePropToXML(xml, count);
    writeSharedSet(SharePropertySet, xml, count);
}

void CBuffIcon::setBuffIndex(uint32_t index)
{
    if (ChangeValue(m_nBuffIndex, index))
        refreshGameObject();
}

void CBuffIcon::setDirectId(uint32_t id)
{
    if (ChangeValue(m_nDirectId, id))
        refreshGameObject();
}

void CBuffIcon::refreshGameObject()
{
    IQGUI* main = MainObject();
    if (!main)
        return;
    if (m_nDirectId != NoDirectId)
    {
        showObject(*main, m_nDirectId);
        return;
    }
    KeyValuesPtr request(new KeyValues(getProviderKey().c_str()));
    KeyValuesPtr reply(new KeyValues(""));
    request->SetInt("BuffIndex", static_cast<int32_t>(m_nBuffIndex));
    if (!main->QueryKeyVal(request.get(), reply.get()))
    {
        showObject(*main, 0);
        return;
    }
    const uint32_t id = static_cast<uint32_t>(reply->GetInt("CellId", -1));
    if (id != NoDirectId)
        showObject(*main, id);
}

// The tooltip is asked again also for the same object: the game reports a
// change of the buff (its time left, say) through the object.
void CBuffIcon::showObject(IQGUI& main, uint32_t objectId)
{
    const uint32_t old = m_nObjectId;
    m_nObjectId = objectId;
    moveBinding(main, static_cast<int32_t>(old), static_cast<int32_t>(objectId));
    requestRedraw();
    refreshTooltip();
}

void CBuffIcon::refreshTooltip()
{
    CEGUI::String text;
    QueryObjectTooltip(MainObject(), static_cast<int32_t>(m_nObjectId), false, text);
    setTooltipText(text);
}
} // namespace QGUI
