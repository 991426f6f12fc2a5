#include "render/QXRenderer.h"

#include <CEGUI/Exceptions.h>
#include <CEGUI/RenderQueue.h>
#include <CEGUI/System.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>

#include "core/InterfaceRegistry.h"
#include "render/QXTexture.h"

namespace QXUI
{
namespace
{
const CEGUI::String s_identifier("QXUI::CQXRenerder - draws through the host render interface");
const CEGUI::Vector2f s_dpi(96, 96);

// Truncation toward zero; NaN and values beyond the int range give INT_MIN,
// as the processor's conversion does.
int TruncateToInt(float v)
{
    if (!(v > -2147483904.0f && v < 2147483648.0f))
        return INT_MIN;
    return static_cast<int>(v);
}
} // namespace


// ---------------------------------------------------------------------------
// Render target: the whole display

CQXRenderTarget::CQXRenderTarget(CQXRenerder& owner) : d_owner(owner), d_area(0, 0, 0, 0) {}

void CQXRenderTarget::draw(const CEGUI::GeometryBuffer& buffer)
{
    buffer.draw();
}

// Interface geometry is queued, ordered by depth and drawn in one pass; what
// is drawn outside a queue (the mouse cursor) takes the immediate path.
void CQXRenderTarget::draw(const CEGUI::RenderQueue& queue)
{
    d_owner.setQueueingEnabled(true);
    d_owner.selectRenderList(&queue);
    d_owner.clearRenderList();
    queue.draw();
    d_owner.doRender();
    d_owner.setQueueingEnabled(false);
}

void CQXRenderTarget::setArea(const CEGUI::Rectf& area)
{
    d_area = area;
    CEGUI::RenderTargetEventArgs args(this);
    fireEvent(EventAreaChanged, args, EventNamespace);
}

const CEGUI::Rectf& CQXRenderTarget::getArea() const
{
    return d_area;
}

bool CQXRenderTarget::isImageryCache() const
{
    return false;
}

void CQXRenderTarget::activate() {}
void CQXRenderTarget::deactivate() {}

void CQXRenderTarget::unprojectPoint(const CEGUI::GeometryBuffer&, const CEGUI::Vector2f& p_in,
                                     CEGUI::Vector2f& p_out) const
{
    p_out = p_in;
}

// ---------------------------------------------------------------------------
// Renderer

CQXRenerder::CQXRenerder(CreateInterfaceFn* factories, int count)
    : d_displayRect(0, 0, 0, 0), d_displaySize(0, 0)
{
    d_listener.owner = this;
    d_defaultTarget = new CQXRenderTarget(*this);
    connectHost(factories, count);
}

CQXRenerder::~CQXRenerder()
{
    destroyAllGeometryBuffers();
    for (CQuadQueue& list : d_lists)
        list.clear();
    // Textures still listed are released with the renderer: nothing else
    // can reach them once it is gone.
    while (!d_textures.empty())
        destroyTexture(d_textures.front());
    if (d_render)
    {
        if (IQXDeviceEventSource* source = d_render->GetDeviceEventSource())
            source->RemoveListener(&d_listener);
    }
    delete d_defaultTarget;
}

void CQXRenerder::connectHost(CreateInterfaceFn* factories, int count)
{
    d_displayRect = CEGUI::Rectf(0, 0, 0, 0);
    d_maxTextureSize = 0;
    d_render = static_cast<IQXRender*>(
        QGUI::FindHostInterface(factories, count, QXRENDER_INTERFACE_VERSION));
    d_engine = static_cast<IQEngineClient*>(
        QGUI::FindHostInterface(factories, count, QENGINECLIENT_INTERFACE_VERSION));
    updateDisplayArea();
    if (d_render)
    {
        if (const uint32_t* caps = d_render->GetDeviceCaps())
            d_maxTextureSize = std::min(caps[0], caps[1]);
    }
}

void CQXRenerder::setDisplayRect(float width, float height)
{
    d_displayRect.right(d_displayRect.left() + width);
    d_displayRect.bottom(d_displayRect.top() + height);
    d_displaySize = d_displayRect.getSize();
    d_defaultTarget->setArea(CEGUI::Rectf(CEGUI::Vector2f(0, 0), d_displaySize));
}

void CQXRenerder::updateDisplayArea()
{
    if (!d_render)
        return;
    const QXViewport* viewport = d_render->GetViewport();
    if (!viewport)
        return;
    const CEGUI::Sizef size(static_cast<float>(viewport->width), static_cast<float>(viewport->height));
    setDisplayRect(size.d_width, size.d_height);
    if (CEGUI::System* system = CEGUI::System::getSingletonPtr())
        system->notifyDisplaySizeChanged(size);
}

bool CQXRenerder::makeQuadRecord(QuadRecord& quad, const CEGUI::Rectf& dest, float z,
                                 const CQXTexture* tex, const CEGUI::Rectf& texRect,
                                 const QuadColours& colours, int quadSplitMode)
{
    if (texRect.left() == texRect.right() || texRect.top() == texRect.bottom())
        return false;
    if (std::isnan(z))
        z = 0.0f;

    std::memset(&quad, 0, sizeof(quad));
    quad.hostTexture = tex ? tex->getHostTexture() : nullptr;
    quad.z = z;
    quad.alpha = tex ? tex->isAlpha() : false;
    quad.splitMode = static_cast<uint8_t>(quadSplitMode);
    quad.tex[0] = texRect.left();
    quad.tex[1] = texRect.top();
    quad.tex[2] = texRect.right();
    quad.tex[3] = texRect.bottom();
    const float left = dest.left() - 0.5f;
    const float right = dest.right() - 0.5f;
    const float top = dest.top() - 0.5f;
    const float bottom = dest.bottom() - 0.5f;
    if (!quad.hostTexture)
    {
        quad.object.rect[0] = TruncateToInt(left);
        quad.object.rect[1] = TruncateToInt(top);
        quad.object.rect[2] = TruncateToInt(right);
        quad.object.rect[3] = TruncateToInt(bottom);
        quad.object.objectId = tex ? tex->getObjectId() : 0;
        quad.object.renderOp = tex ? tex->getRenderOp() : 0;
        return true;
    }
    quad.drawn.colours[0] = colours.topLeft;
    quad.drawn.colours[1] = colours.topRight;
    quad.drawn.colours[2] = colours.bottomRight;
    quad.drawn.colours[3] = colours.bottomLeft;
    quad.drawn.x = TruncateToInt(left);
    quad.drawn.y = TruncateToInt(top);
    const float texW = static_cast<float>(quad.hostTexture->GetWidth());
    const float texH = static_cast<float>(quad.hostTexture->GetHeight());
    const float srcW = (quad.tex[2] - quad.tex[0]) * texW;
    const float srcH = (quad.tex[3] - quad.tex[1]) * texH;
    quad.sized = srcW != 0.0f && srcH != 0.0f;
    if (quad.sized)
    {
        quad.drawn.scale[0] = (right - left) / srcW;
        quad.drawn.scale[1] = (bottom - top) / srcH;
    }
    return true;
}

// A texture that is neither loaded nor a game object draws nothing.
bool CQXRenerder::drawsQueued(const QuadRecord& quad, const CQXTexture* tex)
{
    return quad.hostTexture || (tex && tex->isGameObject());
}

void CQXRenerder::addQuad(const CEGUI::Rectf& dest, float z, const CQXTexture* tex,
                          const CEGUI::Rectf& texRect, const QuadColours& colours,
                          int quadSplitMode)
{
    QuadRecord quad;
    if (!makeQuadRecord(quad, dest, z, tex, texRect, colours, quadSplitMode))
        return;
    if (d_queueing)
    {
        if (drawsQueued(quad, tex))
        {
            if (d_capture)
                d_capture->push_back(quad);
            else
                d_list->add(quad);
        }
        return;
    }

    if (!d_immediateOverride && d_engine && d_engine->IsGuiRenderSuppressed())
        return;
    // Game objects are drawn only from the queue.
    if (!quad.hostTexture)
        return;
    drawQuad(quad);
}

namespace
{
const float s_zero[3] = {0.0f, 0.0f, 0.0f};

inline void DrawTextured(IQXRender* render, const QuadRecord& quad)
{
    if (!quad.sized)
        return;
    IQXDrawer* drawer = render->GetDrawer();
    if (!drawer)
        return;
    const QuadRecord::Textured& d = quad.drawn;
    if (quad.alpha)
        drawer->DrawQuadAlpha(d.x, d.y, quad.hostTexture, d.scale, s_zero, quad.tex, d.colours, quad.z);
    else
        drawer->DrawQuad(d.x, d.y, quad.hostTexture, d.scale, s_zero, quad.tex, d.colours, quad.z);
}
} // namespace

void CQXRenerder::drawQuad(const QuadRecord& quad)
{
    if (!quad.hostTexture)
        drawObjectQuad(quad);
    else if (d_render)
        DrawTextured(d_render, quad);
}

void CQXRenerder::drawObjectQuad(const QuadRecord& quad)
{
    if (!d_engine)
        return;
    const int texRect[4] = {TruncateToInt(quad.tex[0]), TruncateToInt(quad.tex[1]),
                            TruncateToInt(quad.tex[2]), TruncateToInt(quad.tex[3])};
    const QuadRecord::GameObject& o = quad.object;
    d_engine->RenderObjectQuad(o.objectId, o.rect[0], o.rect[1], o.rect[2], o.rect[3], quad.z,
                               o.renderOp, texRect);
}

void CQXRenerder::doRender()
{
    IQXRender* render = d_render;
    for (const QuadRecord& quad : d_list->ordered())
    {
        if (!quad.hostTexture)
            drawObjectQuad(quad);
        else if (render)
            DrawTextured(render, quad);
    }
}

void CQXRenerder::clearRenderList()
{
    d_list->clear();
    ++d_listSerial;
}

void CQXRenerder::selectRenderList(const void* renderQueue)
{
    size_t slot = 0;
    for (size_t i = 0; i < RENDER_LISTS; ++i)
    {
        if (d_listKeys[i] == renderQueue)
        {
            slot = i;
            break;
        }
        if (d_listUses[i] < d_listUses[slot])
            slot = i;
    }
    d_listKeys[slot] = renderQueue;
    d_listUses[slot] = ++d_listUseCount;
    // Only the selected list holds quads; the others keep the order they
    // worked out last.
    if (d_list != &d_lists[slot])
    {
        d_list->clear();
        d_list = &d_lists[slot];
        ++d_listSerial;
    }
}

std::vector<QuadRecord> CQXRenerder::getQuadList() const
{
    return d_list->ordered();
}

void CQXRenerder::forgetHostTexture(IQXHostTexture* hostTexture)
{
    d_list->forget(hostTexture);
    textureChanged();
}

CQXTexture* CQXRenerder::registerTexture(CQXTexture* texture)
{
    d_textures.push_back(texture);
    return texture;
}

CQXTexture* CQXRenerder::createTexture()
{
    return registerTexture(
        new CQXTexture(*this, CEGUI::String("QXUI/unnamed/") + std::to_string(
                                                     ++d_textureSerial)));
}

CQXTexture* CQXRenerder::createTexture(float)
{
    return createTexture();
}

CQXTexture* CQXRenerder::createTexture(const CEGUI::String& filename,
                                       const CEGUI::String& resourceGroup)
{
    CQXTexture* texture = createTexture();
    texture->loadFromFile(filename, resourceGroup);
    return texture;
}

void CQXRenerder::destroyTexture(CQXTexture* texture)
{
    if (!texture)
        return;
    auto it = std::find(d_textures.begin(), d_textures.end(), texture);
    if (it == d_textures.end())
        return;
    d_textures.erase(it);
    auto named = d_namedTextures.find(texture->getName());
    if (named != d_namedTextures.end() && named->second == texture)
        d_namedTextures.erase(named);
    texture->releaseHostTexture();
    delete texture;
}

void CQXRenerder::reloadTexture(CQXTexture* texture, const CEGUI::String& filename,
                                const CEGUI::String& resourceGroup)
{
    if (!texture || !d_render)
        return;
    texture->releaseHostTexture();
    texture->loadFromFile(filename, resourceGroup);
    // Cached texture rectangles were worked out with the old size.
    if (CEGUI::System* system = CEGUI::System::getSingletonPtr())
        system->invalidateAllCachedRendering();
}

CEGUI::RenderTarget& CQXRenerder::getDefaultRenderTarget()
{
    return *d_defaultTarget;
}

CEGUI::GeometryBuffer& CQXRenerder::createGeometryBuffer()
{
    CQXGeometryBuffer* buffer = new CQXGeometryBuffer(*this);
    d_geometryBuffers.push_back(buffer);
    return *buffer;
}

void CQXRenerder::destroyGeometryBuffer(const CEGUI::GeometryBuffer& buffer)
{
    auto it = std::find(d_geometryBuffers.begin(), d_geometryBuffers.end(), &buffer);
    if (it == d_geometryBuffers.end())
        return;
    CQXGeometryBuffer* own = *it;
    // The list still holds the buffer's ready quads: it keeps copies.
    if (own->d_ready.list == d_listSerial || own->d_drawn.list == d_listSerial)
        d_list->copyRuns();
    d_geometryBuffers.erase(it);
    delete own;
}

void CQXRenerder::destroyAllGeometryBuffers()
{
    d_list->copyRuns();
    for (CQXGeometryBuffer* buffer : d_geometryBuffers)
        delete buffer;
    d_geometryBuffers.clear();
}

// No render-to-texture: windows that ask for their own surface draw directly.
CEGUI::TextureTarget* CQXRenerder::createTextureTarget()
{
    return nullptr;
}

void CQXRenerder::destroyTextureTarget(CEGUI::TextureTarget*) {}
void CQXRenerder::destroyAllTextureTargets() {}

CEGUI::Texture& CQXRenerder::createTexture(const CEGUI::String& name)
{
    if (isTextureDefined(name))
        CEGUI_THROW(CEGUI::AlreadyExistsException("A texture named '" + name + "' already exists."));
    CQXTexture* texture = registerTexture(new CQXTexture(*this, name));
    d_namedTextures[name] = texture;
    return *texture;
}

CEGUI::Texture& CQXRenerder::createTexture(const CEGUI::String& name,
                                           const CEGUI::String& filename,
                                           const CEGUI::String& resourceGroup)
{
    CEGUI::Texture& texture = createTexture(name);
    texture.loadFromFile(filename, resourceGroup);
    return texture;
}

CEGUI::Texture& CQXRenerder::createTexture(const CEGUI::String& name, const CEGUI::Sizef&)
{
    return createTexture(name);
}

void CQXRenerder::destroyTexture(CEGUI::Texture& texture)
{
    destroyTexture(static_cast<CQXTexture*>(&texture));
}

void CQXRenerder::destroyTexture(const CEGUI::String& name)
{
    auto it = d_namedTextures.find(name);
    if (it != d_namedTextures.end())
        destroyTexture(it->second);
}

void CQXRenerder::destroyAllTextures()
{
    while (!d_textures.empty())
        destroyTexture(d_textures.front());
}

CEGUI::Texture& CQXRenerder::getTexture(const CEGUI::String& name) const
{
    auto it = d_namedTextures.find(name);
    if (it == d_namedTextures.end())
        CEGUI_THROW(CEGUI::UnknownObjectException("No texture named '" + name + "' exists."));
    return *it->second;
}

bool CQXRenerder::isTextureDefined(const CEGUI::String& name) const
{
    return d_namedTextures.find(name) != d_namedTextures.end();
}

void CQXRenerder::beginRendering()
{
    d_currentZ = 1.0f;
}

void CQXRenerder::endRendering() {}

void CQXRenerder::setDisplaySize(const CEGUI::Sizef& size)
{
    if (size == d_displaySize)
        return;
    setDisplayRect(size.d_width, size.d_height);
}

const CEGUI::Sizef& CQXRenerder::getDisplaySize() const
{
    return d_displaySize;
}

const CEGUI::Vector2f& CQXRenerder::getDisplayDPI() const
{
    return s_dpi;
}

CEGUI::uint CQXRenerder::getMaxTextureSize() const
{
    return d_maxTextureSize;
}

const CEGUI::String& CQXRenerder::getIdentifierString() const
{
    return s_identifier;
}
} // namespace QXUI
