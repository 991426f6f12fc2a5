#include "widgets/CreatureViewerRenderer.h"

#include <CEGUI/Window.h>

#include "widgets/CreatureViewer.h"

namespace CEGUI
{
const String CCreatureViewerRenderer::TypeName("QXGame/CreatureViewer");

UVector2 CCreatureViewerRenderer::MapImageOffset()
{
    return UVector2(UDim(0.5f, -24.0f), UDim(1.0f, -16.0f));
}

UVector2 CCreatureViewerRenderer::IconImageOffset()
{
    return UVector2(UDim(0.5f, 0.0f), UDim(1.0f, -2.0f));
}

CCreatureViewerRenderer::CCreatureViewerRenderer(const String& type) : QGUI::QXRenderer(type)
{
    setImageOffset(MapImageOffset());
}

void CCreatureViewerRenderer::render()
{
    renderFrameAndBackground();
    const QGUI::CCreatureViewer* viewer = dynamic_cast<const QGUI::CCreatureViewer*>(d_window);
    if (viewer && viewer->isPicked())
        renderStateImagery("Picked");
    QGUI::QXRenderer::render();
}

void CCreatureViewerRenderer::collectTextureRequests(QGUI::CRendererState& state)
{
    if (const QGUI::CCreatureViewer* viewer = dynamic_cast<const QGUI::CCreatureViewer*>(d_window))
        state.addTextureRequest(QGUI::CRendererState::TextureRequest{
            static_cast<uint32_t>(viewer->getCreatureId()), viewer->getRenderOper(), 0.0f, 0.0f});
}
} // namespace CEGUI
