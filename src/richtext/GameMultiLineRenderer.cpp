// Drawing the rich-text window.
#include "richtext/GameMultiLineRenderer.h"

#include <CEGUI/widgets/Scrollbar.h>

#include "richtext/GameMultiLine.h"
#include "widgets/LookImagery.h"

namespace CEGUI
{
const String GameMultiLineRenderer::TypeName("QXGame/GameMultiLineRenderer");

GameMultiLineRenderer::GameMultiLineRenderer(const String& type) : MultiLineEditboxWindowRenderer(type) {}

GameMultiLineRenderer::~GameMultiLineRenderer() {}

QGUI::CGameMultiLine* GameMultiLineRenderer::multiLine() const
{
    return dynamic_cast<QGUI::CGameMultiLine*>(d_window);
}

// The window's extra render cache must not keep drawing a state that goes
// with this renderer.
void GameMultiLineRenderer::onDetach()
{
    if (QGUI::CGameMultiLine* window = multiLine())
    {
        window->getExtraRenderCache().removeDrawables(&m_State);
        window->invalidate();
    }
    MultiLineEditboxWindowRenderer::onDetach();
}

// On a window of another kind the renderer draws the look's frame only.
void GameMultiLineRenderer::render()
{
    QGUI::CGameMultiLine* window = multiLine();
    QGUI::RenderLookImagery(*d_window, !window || window->isFrameEnabled() ? "Framed" : "NoFrame");
    if (!window)
        return;
    renderTextArea(*window, textArea());
    if (window->isPicked())
        QGUI::RenderLookImagery(*d_window, "PickedFrame");
}

void GameMultiLineRenderer::renderTextArea(QGUI::CGameMultiLine& window, const Rectf& area)
{
    const Rectf visible(window.viewOffset(), area.getSize());
    m_State.releaseTextures();
    window.drawDocument(QGUI::DrawContext{&window.getGeometryBuffer(), this, visible, area});
    m_State.createTextures();
    window.cacheRendererState(m_State, m_State.getClipRect());
}

// The edit box's own formatter, which its word-wrap setter runs and no
// override reaches, wraps at the width it is given here, measuring the rest
// of a long word anew for each line it fills. Given no width it keeps each
// paragraph one line, in one pass over the text; the window lays the text
// out its own way when the setter tells it of the change.
Rectf GameMultiLineRenderer::getTextRenderArea() const
{
    Rectf area = textArea();
    const QGUI::CGameMultiLine* window = multiLine();
    if (window && window->isEditBoxFormatting())
        area.setWidth(0.0f);
    return area;
}

Rectf GameMultiLineRenderer::textArea() const
{
    const QGUI::CGameMultiLine* window = multiLine();
    Rectf area(Vector2f(0.0f, 0.0f), d_window ? d_window->getPixelSize() : Sizef(0.0f, 0.0f));
    if (!window)
        return area;
    const Scrollbar* vert = window->vertScrollbar();
    const Scrollbar* horz = window->horzScrollbar();
    const bool vertShown = vert && vert->isVisible();
    const bool horzShown = horz && horz->isVisible();
    if (vertShown || horzShown)
    {
        const String name = String("TextArea") + (horzShown ? "H" : "") + (vertShown ? "V" : "") + "Scroll";
        if (QGUI::LookNamedArea(*window, name, area))
            return area;
    }
    QGUI::LookNamedArea(*window, window->isFrameEnabled() ? "TextArea" : "NoFrameTextArea", area);
    return area;
}

void GameMultiLineRenderer::addTextureRequest(const QGUI::CRendererState::TextureRequest& request)
{
    m_State.addTextureRequest(request);
}

void GameMultiLineRenderer::setClipRect(const Rectf* clip)
{
    m_State.setClipRect(clip);
}

// A picture is the game's picture creature drawn with the packed picture as
// its render operation, at the picture's place in the window.
void GameMultiLineRenderer::AddPictureRequest(uint32_t creatureId, uint32_t packedPicture, float x, float y)
{
    addTextureRequest(QGUI::CRendererState::TextureRequest{creatureId, packedPicture, x, y});
}
} // namespace CEGUI
