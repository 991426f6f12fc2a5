#include "widgets/CreatureViewer.h"

#include "IQGUI.h"
#include "widgets/CreatureViewerRenderer.h"
#include "widgets/GameObjectQueries.h"
#include "widgets/QGUIExtraFacoryManager.h"
#include "widgets/SharedProperties.h"

namespace QGUI
{
const CEGUI::String CCreatureViewer::WidgetTypeName("QXGame/CreatureViewer");

namespace
{
const NamedValue kRenderOperNames[] = {
    {"RenderMap", CCreatureViewer::RenderMap},
    {"RenderIcon", CCreatureViewer::RenderIcon},
    {"RenderLargeIcon", CCreatureViewer::RenderLargeIcon},
    {"RenderSmallIcon", CCreatureViewer::RenderSmallIcon},
};
} // namespace

CCreatureViewer::CCreatureViewer(const CEGUI::String& type, const CEGUI::String& name) : QXWindow(type, name)
{
    SharePropertySet.applyTo(*this);
}

CCreatureViewer::~CCreatureViewer() {}

CEGUI::Property* CCreatureViewer::FindSharePros(const CEGUI::String& name) const
{
    if (CEGUI::Property* p = SharePropertySet.GetpProperty(name))
        return p;
    return QXWindow::FindSharePros(name);
}

void CCreatureViewer::WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const
{
    QXWindow::WriteSharePropToXML(xml, count);
    writeSharedSet(SharePropertySet, xml, count);
}

// Like every other game widget, a new selector is asked of the game: the
// old creature's picture must not stay until the game reports a change of
// that creature.
void CCreatureViewer::setWhichOne(const CEGUI::String& whichOne)
{
    if (ChangeValue(m_WhichOne, whichOne))
        invalidate();
}

// The anchor is the renderer's; a renderer of another kind keeps its own.
void CCreatureViewer::setRenderOper(uint32_t op)
{
    if (!ChangeValue(m_nRenderOper, op))
        return;
    if (auto* renderer = dynamic_cast<CEGUI::CCreatureViewerRenderer*>(getWindowRenderer()))
    {
        if (op == RenderMap)
            renderer->setImageOffset(CEGUI::CCreatureViewerRenderer::MapImageOffset());
        else if (op == RenderIcon)
            renderer->setImageOffset(CEGUI::CCreatureViewerRenderer::IconImageOffset());
    }
    requestRedraw();
}

CEGUI::String CCreatureViewer::getRenderOperName() const
{
    return NameOfValue(kRenderOperNames, m_nRenderOper);
}

void CCreatureViewer::setRenderOperName(const CEGUI::String& name)
{
    setRenderOper(ValueOfName(kRenderOperNames, name, RenderMap));
}

void CCreatureViewer::setDirectId(uint32_t id)
{
    if (ChangeValue(m_nDirectId, id))
        invalidate();
}

void CCreatureViewer::setPicked(bool picked)
{
    if (ChangeValue(m_bPicked, picked))
        invalidate();
}

void CCreatureViewer::refreshGameObject()
{
    IQGUI* main = MainObject();
    if (!main)
        return;
    int32_t id = static_cast<int32_t>(m_nDirectId);
    if (m_nDirectId == NoDirectId && !QueryCreatureId(main, getProviderKey(), m_WhichOne, id))
        return;
    if (id == -1)
        return;
    const int32_t old = m_nCreatureId;
    m_nCreatureId = id;
    moveBinding(*main, old, id);
}
} // namespace QGUI
