#include "widgets/BuffIconRenderer.h"

#include <CEGUI/Window.h>

#include "widgets/BuffIcon.h"

namespace CEGUI
{
const String CBuffIconRenderer::TypeName("QXGame/BuffIcon");

CBuffIconRenderer::CBuffIconRenderer(const String& type) : QGUI::QXRenderer(type)
{
    getState().setImageOffset(0.5f, 0.0f, 0.5f, 0.0f);
}

void CBuffIconRenderer::collectTextureRequests(QGUI::CRendererState& state)
{
    if (const QGUI::CBuffIcon* icon = dynamic_cast<const QGUI::CBuffIcon*>(d_window))
        state.addTextureRequest(QGUI::CRendererState::TextureRequest{icon->getObjectId(), BuffRenderOp, 0.0f, 0.0f});
}
} // namespace CEGUI
