// The geometry buffer of the module's renderer: the library's vertices as
// buffer-local image quads, placed and clipped on the CPU, with the
// drawables the module adds; in the queued phase its quads go to the render
// list ready to draw, at the depth the buffer takes, immediately otherwise.
#include "render/QXRenderer.h"

#include <CEGUI/Logger.h>
#include <CEGUI/RenderEffect.h>

#include <algorithm>

#include "render/QXTexture.h"

namespace QXUI
{
namespace
{
// Shrinks a destination rectangle to a clip rectangle, shrinking the texture
// rectangle in proportion. False when nothing is left.
bool ClipQuad(CEGUI::Rectf& dest, CEGUI::Rectf& tex, const CEGUI::Rectf& clip)
{
    const CEGUI::Rectf clipped = dest.getIntersection(clip);
    if (clipped.getWidth() <= 0.0f || clipped.getHeight() <= 0.0f)
        return false;
    const float w = dest.getWidth();
    const float h = dest.getHeight();
    const float tw = tex.getWidth();
    const float th = tex.getHeight();
    CEGUI::Rectf t = tex;
    if (w > 0.0f)
    {
        t.left(tex.left() + (clipped.left() - dest.left()) / w * tw);
        t.right(tex.right() - (dest.right() - clipped.right()) / w * tw);
    }
    if (h > 0.0f)
    {
        t.top(tex.top() + (clipped.top() - dest.top()) / h * th);
        t.bottom(tex.bottom() - (dest.bottom() - clipped.bottom()) / h * th);
    }
    dest = clipped;
    tex = t;
    return true;
}

void LogWarning(const char* text)
{
    if (CEGUI::Logger* logger = CEGUI::Logger::getSingletonPtr())
        logger->logEvent(text, CEGUI::Warnings);
}

bool SamePos(const CEGUI::Vertex& a, const CEGUI::Vertex& b)
{
    return a.position.d_x == b.position.d_x && a.position.d_y == b.position.d_y;
}
} // namespace

// ---------------------------------------------------------------------------
// Geometry buffer

CQXGeometryBuffer::CQXGeometryBuffer(CQXRenerder& owner)
    : d_owner(owner), d_clipRect(0, 0, 0, 0), d_translation(0, 0, 0)
{
}

void CQXGeometryBuffer::setTranslation(const CEGUI::Vector3f& v)
{
    d_translation = v;
    d_quadsValid = false;
}

// Rotation is only used by texture-backed windows, which this renderer does
// not create.
void CQXGeometryBuffer::setRotation(const CEGUI::Quaternion&) {}
void CQXGeometryBuffer::setPivot(const CEGUI::Vector3f&) {}

void CQXGeometryBuffer::setClippingRegion(const CEGUI::Rectf& region)
{
    d_clipRect = region;
    d_quadsValid = false;
}

void CQXGeometryBuffer::appendVertex(const CEGUI::Vertex& vertex)
{
    appendGeometry(&vertex, 1);
}

// The library hands every image over as two triangles: top-left,
// bottom-left, bottom-right, top-right, top-left, bottom-right. Each group of
// six vertices, counted from the start of a batch (a run of one texture),
// becomes one buffer-local quad as it comes.
void CQXGeometryBuffer::appendGeometry(const CEGUI::Vertex* const vbuff, CEGUI::uint vertex_count)
{
    if (!d_inBatch || d_batchTexture != d_activeTexture)
    {
        dropPartialGroup();
        d_group.clear();
        d_inBatch = true;
        d_batchTexture = d_activeTexture;
        ++d_batchCount;
    }
    for (CEGUI::uint i = 0; i < vertex_count; ++i)
    {
        d_group.push_back(vbuff[i]);
        d_group.back().position.d_z += d_zOffset;
        if (d_group.size() == 6)
        {
            takeGroup();
            d_group.clear();
        }
    }
    d_vertexCount += vertex_count;
    d_quadsValid = false;
}

void CQXGeometryBuffer::takeGroup()
{
    const CEGUI::Vertex* g = d_group.data();
    const bool quad = SamePos(g[4], g[0]) && SamePos(g[5], g[2]) &&
                      g[1].position.d_x == g[0].position.d_x &&
                      g[1].position.d_y == g[2].position.d_y &&
                      g[3].position.d_x == g[2].position.d_x &&
                      g[3].position.d_y == g[0].position.d_y;
    if (!quad)
    {
        logStray("QXUI::CQXGeometryBuffer: geometry that is not an image quad was dropped.");
        return;
    }
    CachedQuad q;
    q.texture = d_batchTexture;
    q.dest = CEGUI::Rectf(g[0].position.d_x, g[0].position.d_y, g[2].position.d_x, g[2].position.d_y);
    q.tex = CEGUI::Rectf(g[0].tex_coords.d_x, g[0].tex_coords.d_y, g[2].tex_coords.d_x,
                         g[2].tex_coords.d_y);
    q.colours.topLeft = g[0].colour_val.getARGB();
    q.colours.topRight = g[3].colour_val.getARGB();
    q.colours.bottomLeft = g[1].colour_val.getARGB();
    q.colours.bottomRight = g[2].colour_val.getARGB();
    q.z = g[0].position.d_z;
    d_localQuads.push_back(q);
}

void CQXGeometryBuffer::dropPartialGroup() const
{
    if (!d_group.empty())
        logStray("QXUI::CQXGeometryBuffer: an incomplete vertex group was dropped.");
}

void CQXGeometryBuffer::logStray(const char* text) const
{
    if (d_loggedStray)
        return;
    d_loggedStray = true;
    LogWarning(text);
}

void CQXGeometryBuffer::setActiveTexture(CEGUI::Texture* texture)
{
    d_activeTexture = static_cast<CQXTexture*>(texture);
}

void CQXGeometryBuffer::reset()
{
    d_localQuads.clear();
    d_group.clear();
    d_inBatch = false;
    d_batchCount = 0;
    d_vertexCount = 0;
    d_activeTexture = nullptr;
    d_quads.clear();
    d_quadsValid = false;
}

CEGUI::Texture* CQXGeometryBuffer::getActiveTexture() const
{
    return d_activeTexture;
}

CEGUI::uint CQXGeometryBuffer::getVertexCount() const
{
    return d_vertexCount;
}

CEGUI::uint CQXGeometryBuffer::getBatchCount() const
{
    return d_batchCount;
}

void CQXGeometryBuffer::setRenderEffect(CEGUI::RenderEffect* effect)
{
    d_effect = effect;
}

CEGUI::RenderEffect* CQXGeometryBuffer::getRenderEffect()
{
    return d_effect;
}

void CQXGeometryBuffer::setClippingActive(const bool active)
{
    d_clippingActive = active;
    d_quadsValid = false;
}

bool CQXGeometryBuffer::isClippingActive() const
{
    return d_clippingActive;
}

void CQXGeometryBuffer::setOwner(const CQXGeometryBuffer* owner, float bias)
{
    d_ownerBuffer = owner;
    d_ownerBias = bias;
}

void CQXGeometryBuffer::addDrawable(IExtraDrawable* object, const CEGUI::Rectf& dest, float z,
                                    const CEGUI::Rectf* clip)
{
    d_drawn.valid = false;
    d_drawables.push_back(Drawable{object, dest, z, clip ? *clip : CEGUI::Rectf(0, 0, 0, 0),
                                   clip != nullptr});
}

void CQXGeometryBuffer::clearDrawables()
{
    d_drawn.valid = false;
    d_drawables.clear();
}

// The buffer-local quads in screen space, clipped to the clipping region.
// A group left incomplete at the end of the geometry is dropped.
void CQXGeometryBuffer::rebuildQuads() const
{
    dropPartialGroup();
    d_quads.clear();
    for (const CachedQuad& local : d_localQuads)
    {
        CachedQuad q = local;
        q.dest = CEGUI::Rectf(local.dest.left() + d_translation.d_x, local.dest.top() + d_translation.d_y,
                              local.dest.right() + d_translation.d_x,
                              local.dest.bottom() + d_translation.d_y);
        if (d_clippingActive && !ClipQuad(q.dest, q.tex, d_clipRect))
            continue;
        d_quads.push_back(q);
    }
    d_quadsValid = true;
}

template <class Make, class DrawLoose>
inline void CQXGeometryBuffer::queueReady(ReadyRun& run, float base, bool changed, Make make,
                                   DrawLoose drawLoose) const
{
    const bool stale =
        changed || !run.valid || run.base != base || run.epoch != d_owner.textureEpoch();
    if (stale && run.list == d_owner.renderListSerial())
    {
        drawLoose();
        return;
    }
    if (stale)
    {
        run.quads.clear();
        make(run.quads);
        // Stable, so equal depths keep the order in which they came.
        const auto later = [](const QuadRecord& a, const QuadRecord& b) { return a.z > b.z; };
        if (!std::is_sorted(run.quads.begin(), run.quads.end(), later))
            std::stable_sort(run.quads.begin(), run.quads.end(), later);
        run.valid = true;
        run.base = base;
        run.epoch = d_owner.textureEpoch();
        run.stamp = d_owner.newRunStamp();
    }
    run.list = d_owner.renderListSerial();
    d_owner.queueRun(run);
}

// The ready quads: each cached quad as the renderer queues it at depth base,
// those it would drop left out.
inline void CQXGeometryBuffer::queueQuads(float base) const
{
    queueReady(
        d_ready, base, false,
        [this, base](std::vector<QuadRecord>& out) {
            for (const CachedQuad& q : d_quads)
            {
                QuadRecord quad;
                if (CQXRenerder::makeQuadRecord(quad, q.dest, base + q.z, q.texture, q.tex, q.colours,
                                                0) &&
                    CQXRenerder::drawsQueued(quad, q.texture))
                    out.push_back(quad);
            }
        },
        [this, base] {
            for (const CachedQuad& q : d_quads)
                d_owner.addQuad(q.dest, base + q.z, q.texture, q.tex, q.colours, 0);
        });
}

void CQXGeometryBuffer::drawDrawables(float base) const
{
    for (const Drawable& d : d_drawables)
    {
        if (!d.object)
            continue;
        const CEGUI::Vector2f offset(d_translation.d_x, d_translation.d_y);
        CEGUI::Rectf dest = d.dest;
        dest.offset(offset);
        CEGUI::Rectf clip;
        const CEGUI::Rectf* clipPtr = nullptr;
        if (d.clipped)
        {
            clip = d.clip;
            clip.offset(offset);
            if (d_clippingActive)
                clip = clip.getIntersection(d_clipRect);
            clipPtr = &clip;
        }
        else if (d_clippingActive)
        {
            clip = d_clipRect;
            clipPtr = &clip;
        }
        d.object->drawExtra(d_owner, dest, base + d.z, clipPtr);
    }
}

void CQXGeometryBuffer::queueDrawables(float base) const
{
    // Versions only grow, so their sum changes when any of them does.
    uint64_t version = 0;
    for (const Drawable& d : d_drawables)
        if (d.object)
            version += d.object->drawVersion();
    const bool changed = d_drawnVersion != version || d_drawnTranslation != d_translation ||
                         d_drawnClip != d_clipRect || d_drawnClipping != d_clippingActive;
    queueReady(
        d_drawn, base, changed,
        [&](std::vector<QuadRecord>& out) {
            struct Capture
            {
                CQXRenerder& owner;
                ~Capture() { owner.d_capture = nullptr; }
            } capture{d_owner};
            d_owner.d_capture = &out;
            drawDrawables(base);
            d_drawnVersion = version;
            d_drawnTranslation = d_translation;
            d_drawnClip = d_clipRect;
            d_drawnClipping = d_clippingActive;
        },
        [this, base] { drawDrawables(base); });
}

void CQXGeometryBuffer::draw() const
{
    if (!d_quadsValid)
    {
        rebuildQuads();
        d_ready.valid = false;
    }

    // Queued window buffers each take the next depth; a buffer drawn with an
    // owner sits at the owner's depth plus its bias; immediate drawing is flat.
    const bool queued = d_owner.isQueueingEnabled();
    float base = 0.0f;
    if (queued)
        base = d_ownerBuffer ? d_ownerBuffer->getFrameZ() + d_ownerBias : d_owner.takeWindowZ();
    d_frameZ = base;

    const int passes = d_effect ? d_effect->getPassCount() : 1;
    for (int pass = 0; pass < passes; ++pass)
    {
        if (d_effect)
            d_effect->performPreRenderFunctions(pass);
        if (queued)
        {
            if (!d_drawables.empty())
                queueDrawables(base);
            queueQuads(base);
        }
        else
        {
            drawDrawables(base);
            for (const CachedQuad& q : d_quads)
                d_owner.addQuad(q.dest, base + q.z, q.texture, q.tex, q.colours, 0);
        }
    }
    if (d_effect)
        d_effect->performPostRenderFunctions();
}
} // namespace QXUI
