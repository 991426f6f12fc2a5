#include "widgets/QXRenderer.h"

#include <CEGUI/System.h>
#include <CEGUI/Window.h>

#include <cmath>

#include "IQGUI.h"
#include "render/QXTexture.h"
#include "widgets/GameObjectQueries.h"
#include "widgets/LookImagery.h"
#include "widgets/QGUIExtraFacoryManager.h"
#include "widgets/QXWindow.h"
#include "widgets/SharedProperties.h"

namespace QGUI
{
QGUI_PROPERTY(FrameEnabled, QXRenderer, BoolText, "FrameEnabled",
              "Property to get/set the state of the frame enabled setting for the FalagardStatic "
              "widget.  Value is either \"True\" or \"False\".",
              "False", &QXRenderer::isFrameEnabled, &QXRenderer::setFrameEnabled);
QGUI_PROPERTY(BackgroundEnabled, QXRenderer, BoolText, "BackgroundEnabled",
              "Property to get/set the state of the frame background setting for the FalagardStatic "
              "widget.  Value is either \"True\" or \"False\".",
              "False", &QXRenderer::isBackgroundEnabled, &QXRenderer::setBackgroundEnabled);
QGUI_PROPERTY(ImageOffset, QXRenderer, UVector2Text, "ImageOffset",
              "Property to get/set the image offset in X direction.", "{{0.5,0},{0.5,0}}",
              &QXRenderer::getImageOffset, &QXRenderer::setImageOffset);

namespace
{
FrameEnabled s_FrameEnabled;
BackgroundEnabled s_BackgroundEnabled;
ImageOffset s_ImageOffset;

// The game object the game draws over sparking windows; 0 while unknown.
int32_t s_SparkingObjectId = 0;

const CEGUI::ColourRect kOpaqueWhite(CEGUI::Colour(0xFFFFFFFF));

QXUI::CQXRenerder* ModuleRenderer()
{
    CEGUI::System* system = CEGUI::System::getSingletonPtr();
    return system ? dynamic_cast<QXUI::CQXRenerder*>(system->getRenderer()) : nullptr;
}
} // namespace

CEGUI::ShareProSet QXRenderer::RendererProperties{&s_FrameEnabled, &s_BackgroundEnabled,
                                                  &s_ImageOffset};

// ---------------------------------------------------------------------------
// Renderer state

CRendererState::CRendererState() : m_ClipRect(0, 0, 0, 0) {}

CRendererState::~CRendererState()
{
    releaseTextures();
}

void CRendererState::releaseTextures()
{
    m_Requests.clear();
    for (const ObjectTexture& t : m_Textures)
        if (t.texture && m_pTextureOwner)
            m_pTextureOwner->destroyTexture(t.texture);
    m_Textures.clear();
    ++m_nVersion;
}

// Object textures are the module renderer's own: under any other renderer
// nothing is made.
void CRendererState::createTextures()
{
    if (!QGUIExtraFacoryManager::Instance().IsInitialised())
        return;
    m_pTextureOwner = ModuleRenderer();
    if (!m_pTextureOwner)
        return;
    for (const TextureRequest& r : m_Requests)
    {
        QXUI::CQXTexture* texture = m_pTextureOwner->createTexture();
        if (!texture)
            continue;
        texture->makeGameObject(r.objectId, r.renderOp);
        m_Textures.push_back(ObjectTexture{texture, r.xShift, r.yShift});
        ++m_nVersion;
    }
}

void CRendererState::cacheTextures(CWindowRenderCache& cache, const CEGUI::Sizef& size,
                                   const CEGUI::Rectf* clip)
{
    if (m_Textures.empty())
        return;
    const CEGUI::Rectf dest(CEGUI::Vector2f(0, 0), size);
    const CEGUI::Rectf area = clip ? dest.getIntersection(*clip) : dest;
    cache.cacheDrawable(this, dest, TextureDepth, &area);
}

void CRendererState::setImageOffset(float xScale, float xOffset, float yScale, float yOffset)
{
    m_ImageOffset = CEGUI::UVector2(CEGUI::UDim(xScale, xOffset), CEGUI::UDim(yScale, yOffset));
    ++m_nVersion;
}

void CRendererState::setClipRect(const CEGUI::Rectf* clip)
{
    ++m_nVersion;
    m_bClipSet = clip != nullptr;
    if (clip)
        m_ClipRect = *clip;
}

void CRendererState::drawExtra(QXUI::CQXRenerder& renderer, const CEGUI::Rectf& dest, float z,
                               const CEGUI::Rectf* clip)
{
    const float width = dest.getWidth();
    const float height = dest.getHeight();
    const CEGUI::Rectf clipped = clip ? dest.getIntersection(*clip) : dest;
    // A window without area, or clipped away entirely, shows no picture.
    if (!(width > 0.0f) || !(height > 0.0f) || !(clipped.getWidth() > 0.0f) ||
        !(clipped.getHeight() > 0.0f))
        return;

    const QXUI::QuadColours white{0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
    for (const ObjectTexture& t : m_Textures)
    {
        if (!t.texture)
            continue;
        const CEGUI::Vector2f& scale = t.texture->getTexelScaling();
        const CEGUI::Rectf texRect(
            (clipped.left() - dest.left()) / width * scale.d_x,
            (clipped.top() - dest.top()) / height * scale.d_y,
            ((clipped.right() - dest.right()) / width + 1.0f) * scale.d_x,
            ((clipped.bottom() - dest.bottom()) / height + 1.0f) * scale.d_y);
        const float x = dest.left() + width * m_ImageOffset.d_x.d_scale +
                        m_ImageOffset.d_x.d_offset + t.xShift;
        const float y = dest.top() + height * m_ImageOffset.d_y.d_scale +
                        m_ImageOffset.d_y.d_offset + t.yShift;
        // The engine reads the anchor from left and top and the size of the
        // area from right and bottom.
        renderer.addQuad(CEGUI::Rectf(x, y, width, height), z, t.texture, texRect, white, 0);
    }
}

// ---------------------------------------------------------------------------
// Base window renderer

QXRenderer::QXRenderer(const CEGUI::String& type) : CEGUI::WindowRenderer(type)
{
    for (CEGUI::Property* p : RendererProperties.properties())
        registerProperty(p);
}

QXRenderer::~QXRenderer() {}

void QXRenderer::setFrameEnabled(bool enabled)
{
    if (ChangeValue(m_bFrameEnabled, enabled) && d_window)
        d_window->invalidate();
}

void QXRenderer::setBackgroundEnabled(bool enabled)
{
    if (ChangeValue(m_bBackgroundEnabled, enabled) && d_window)
        d_window->invalidate();
}

CEGUI::Property* QXRenderer::FindRendererProperty(const CEGUI::String& name) const
{
    return RendererProperties.GetpProperty(name);
}

QXWindow* QXRenderer::gameWindow() const
{
    return dynamic_cast<QXWindow*>(d_window);
}

void QXRenderer::onAttach()
{
    CEGUI::WindowRenderer::onAttach();
}

// The window's extra render cache must not keep drawing a state that goes
// with this renderer.
void QXRenderer::onDetach()
{
    if (QXWindow* window = gameWindow())
    {
        window->getExtraRenderCache().removeDrawables(&m_State);
        window->requestRedraw();
    }
    CEGUI::WindowRenderer::onDetach();
}

void QXRenderer::render()
{
    m_State.releaseTextures();
    onUpdate();
    // A renderer the look put on a window of another kind draws the look's
    // imagery only.
    QXWindow* window = gameWindow();
    if (!window)
        return;
    collectTextureRequests(m_State);
    if (const uint32_t sparking = window->getSparkingState())
    {
        const int32_t id = SparkingObjectId();
        m_State.addTextureRequest(
            CRendererState::TextureRequest{static_cast<uint32_t>(id), sparking, 0.0f, 0.0f});
    }
    m_State.createTextures();
    drawTextures(*window, nullptr);
}

void QXRenderer::drawTextures(CEGUI::Window& window, const CEGUI::Rectf* clip)
{
    QXWindow* game = dynamic_cast<QXWindow*>(&window);
    if (!game)
        return;
    m_State.cacheTextures(game->getExtraRenderCache(),
                          window.getUnclippedInnerRect().get().getSize(), clip);
}

// A reply without an id (or with -1) names no object: the game is asked
// again at the next render instead of the answer being kept for good.
int32_t QXRenderer::SparkingObjectId()
{
    if (s_SparkingObjectId != 0)
        return s_SparkingObjectId;
    int32_t id = -1;
    if (QueryCreatureId(MainObject(), "GameCreatureProvider", "Sparking", id) && id != -1)
        s_SparkingObjectId = id;
    return s_SparkingObjectId;
}

void QXRenderer::ForgetSparkingObject()
{
    s_SparkingObjectId = 0;
}

const CEGUI::WidgetLookFeel* QXRenderer::look() const
{
    return d_window ? WindowLook(*d_window) : nullptr;
}

bool QXRenderer::renderStateImagery(const CEGUI::String& name) const
{
    return d_window && RenderLookImagery(*d_window, name);
}

bool QXRenderer::renderStateImagery(const CEGUI::String& name, const CEGUI::Rectf& area,
                                    const CEGUI::ColourRect* colours, const CEGUI::Rectf* clip) const
{
    return d_window && RenderLookImagery(*d_window, name, &area, colours, clip);
}

bool QXRenderer::isWindowEnabled() const
{
    return d_window && !d_window->isEffectiveDisabled();
}

void QXRenderer::renderFrameAndBackground() const
{
    const bool enabled = isWindowEnabled();
    if (m_bFrameEnabled)
        renderStateImagery(enabled ? "EnabledFrame" : "DisabledFrame");
    if (!m_bBackgroundEnabled)
        return;
    const char* frame = m_bFrameEnabled ? "WithFrame" : "NoFrame";
    renderStateImagery(CEGUI::String(frame) + (enabled ? "EnabledBackground" : "DisabledBackground"));
}

bool QXRenderer::namedArea(const CEGUI::String& name, CEGUI::Rectf& area) const
{
    return d_window && LookNamedArea(*d_window, name, area);
}
} // namespace QGUI
