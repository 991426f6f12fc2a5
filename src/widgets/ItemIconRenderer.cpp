#include "widgets/ItemIconRenderer.h"

#include <CEGUI/FontManager.h>
#include <CEGUI/PropertyHelper.h>
#include <CEGUI/Window.h>

#include "IQGUI.h"
#include "render/GuiString.h"
#include "render/TextPlacement.h"
#include "widgets/ItemIcon.h"
#include "widgets/QGUIExtraFacoryManager.h"
#include "widgets/SharedProperties.h"

namespace CEGUI
{
const String CItemIconRenderer::TypeName("QXGame/ItemIcon");

namespace
{
const ColourRect kOpaqueWhite(Colour(0xFFFFFFFF));
const Colour kOpaqueBlack(0xFF000000);

// The font for the icon's text: the main object's font 1, or the window's
// own font when that names none the GUI system knows; null without either.
const Font* IconFont(const Window& window)
{
    if (QGUI::IQGUI* main = QGUI::MainObject())
    {
        if (const char* name = main->GetFontName(1))
        {
            const String fontName = QGUI::StringFromUtf8(name);
            FontManager& fonts = FontManager::getSingleton();
            if (fonts.isDefined(fontName))
                return &fonts.get(fontName);
        }
    }
    return window.getFont();
}
} // namespace

// The object picture is anchored at the window's centre.
CItemIconRenderer::CItemIconRenderer(const String& type) : QGUI::QXRenderer(type)
{
    getState().setImageOffset(0.5f, 0.0f, 0.5f, 0.0f);
}

void CItemIconRenderer::collectTextureRequests(QGUI::CRendererState& state)
{
    if (const QGUI::CItemIcon* icon = dynamic_cast<const QGUI::CItemIcon*>(d_window))
        state.addTextureRequest(
            QGUI::CRendererState::TextureRequest{icon->GetTargetId(), icon->getRenderOper(), 0.0f, 0.0f});
}

void CItemIconRenderer::render()
{
    renderStateImagery("Normal");
    renderMask();
    QGUI::QXRenderer::render();
    const QGUI::CItemIcon* icon = dynamic_cast<const QGUI::CItemIcon*>(d_window);
    if (icon && icon->isPicked())
        renderStateImagery("PickedFrame");
    renderText();
}

// A look may give the icon a "bgmask" image, drawn at its own size in the
// middle of the window and in front of it.
void CItemIconRenderer::renderMask()
{
    if (!d_window->isPropertyPresent("bgmask"))
        return;
    const Image* mask = QGUI::ImageFromPropertyText(d_window->getProperty("bgmask"));
    auto* buffer = dynamic_cast<QXUI::CQXGeometryBuffer*>(&d_window->getGeometryBuffer());
    if (!mask || !buffer)
        return;
    const Sizef window = d_window->getUnclippedOuterRect().get().getSize();
    const Sizef size = mask->getRenderedSize();
    const Vector2f topLeft(window.d_width / 2 - size.d_width / 2,
                           window.d_height / 2 - size.d_height / 2);
    const float z = buffer->getZOffset();
    buffer->setZOffset(MaskDepth);
    mask->render(*buffer, Rectf(topLeft, size), nullptr, kOpaqueWhite);
    buffer->setZOffset(z);
}

void CItemIconRenderer::renderText()
{
    QGUI::QXWindow* window = gameWindow();
    if (!window || window->getText().empty())
        return;
    Rectf area;
    const Font* font = IconFont(*window);
    if (!font || !namedArea("TextArea", area))
        return;
    const Colour colour = window->isPropertyPresent("NormalTextColour")
                              ? PropertyHelper<Colour>::fromString(window->getProperty("NormalTextColour"))
                              : kOpaqueBlack;
    window->getExtraRenderCache().cacheText(window->getText(), *font, QGUI::TEXT_RIGHT, area,
                                            TextDepth, ColourRect(colour), &area);
}
} // namespace CEGUI
