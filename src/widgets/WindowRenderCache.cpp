#include "widgets/WindowRenderCache.h"

#include <CEGUI/Font.h>
#include <CEGUI/Image.h>
#include <CEGUI/RenderingContext.h>
#include <CEGUI/RenderingSurface.h>
#include <CEGUI/System.h>
#include <CEGUI/Window.h>

#include "render/TextPlacement.h"

namespace QGUI
{
namespace
{
// Sets a depth offset for what is appended until the guard goes.
class ZOffset
{
public:
    ZOffset(QXUI::CQXGeometryBuffer& buffer, float z) : d_buffer(buffer), d_old(buffer.getZOffset())
    {
        d_buffer.setZOffset(z);
    }
    ~ZOffset() { d_buffer.setZOffset(d_old); }

private:
    QXUI::CQXGeometryBuffer& d_buffer;
    float d_old;
};
} // namespace

// The cache lives in a buffer of the module's renderer; under any other
// renderer it holds nothing.
CWindowRenderCache::CWindowRenderCache()
{
    CEGUI::System* system = CEGUI::System::getSingletonPtr();
    d_renderer = system ? dynamic_cast<QXUI::CQXRenerder*>(system->getRenderer()) : nullptr;
    if (d_renderer)
        d_buffer = static_cast<QXUI::CQXGeometryBuffer*>(&d_renderer->createGeometryBuffer());
}

CWindowRenderCache::~CWindowRenderCache()
{
    if (d_renderer && d_buffer)
        d_renderer->destroyGeometryBuffer(*d_buffer);
}

void CWindowRenderCache::cacheDrawable(QXUI::IExtraDrawable* object, const CEGUI::Rectf& dest,
                                       float z, const CEGUI::Rectf* clip)
{
    if (!d_buffer || !object)
        return;
    d_entries.push_back(Entry{object, dest, z, clip ? *clip : CEGUI::Rectf(0, 0, 0, 0), clip != nullptr});
    d_buffer->addDrawable(object, dest, z, clip);
}

void CWindowRenderCache::removeDrawables(const QXUI::IExtraDrawable* object)
{
    if (!d_buffer)
        return;
    std::vector<Entry> kept;
    for (const Entry& e : d_entries)
        if (e.object != object)
            kept.push_back(e);
    if (kept.size() == d_entries.size())
        return;
    d_entries.swap(kept);
    d_buffer->clearDrawables();
    for (const Entry& e : d_entries)
        d_buffer->addDrawable(e.object, e.dest, e.z, e.clipped ? &e.clip : nullptr);
}

void CWindowRenderCache::cacheImage(const CEGUI::Image& image, const CEGUI::Rectf& dest, float z,
                                    const CEGUI::ColourRect& colours, const CEGUI::Rectf* clip)
{
    if (!d_buffer)
        return;
    ZOffset offset(*d_buffer, z);
    image.render(*d_buffer, dest, clip, colours);
}

void CWindowRenderCache::cacheText(const CEGUI::String& text, const CEGUI::Font& font, int format,
                                   const CEGUI::Rectf& area, float z,
                                   const CEGUI::ColourRect& colours, const CEGUI::Rectf* clip)
{
    if (!d_buffer)
        return;
    ZOffset offset(*d_buffer, z);
    TextStyle style;
    style.colours = colours;
    style.clip = clip;
    PlaceText(*d_buffer, font, text, area, format, style, TextBreaks::Spaces);
}

bool CWindowRenderCache::hasCachedImagery() const
{
    return d_buffer && d_buffer->getDrawableCount() > 0;
}

size_t CWindowRenderCache::getDrawableCount() const
{
    return d_buffer ? d_buffer->getDrawableCount() : 0;
}

void CWindowRenderCache::clearCachedImagery()
{
    if (!d_buffer)
        return;
    d_entries.clear();
    d_buffer->clearDrawables();
    d_buffer->reset();
}

void CWindowRenderCache::queue(CEGUI::Window& window, const CEGUI::RenderingContext& ctx, float bias)
{
    if (!d_buffer || !ctx.surface)
        return;
    d_buffer->setOwner(dynamic_cast<const QXUI::CQXGeometryBuffer*>(&window.getGeometryBuffer()), bias);

    // Placed and clipped as the window's own buffer is.
    const CEGUI::Vector2f topLeft = window.getUnclippedOuterRect().get().d_min - ctx.offset;
    const CEGUI::Vector3f translation(topLeft.d_x, topLeft.d_y, 0.0f);
    CEGUI::Rectf clip = window.getOuterRectClipper();
    clip.offset(CEGUI::Vector2f(-ctx.offset.d_x, -ctx.offset.d_y));
    // Setting either makes the buffer convert its geometry again.
    if (!d_placed || d_translation != translation)
        d_buffer->setTranslation(translation);
    if (!d_placed || d_clip != clip)
        d_buffer->setClippingRegion(clip);
    d_placed = true;
    d_translation = translation;
    d_clip = clip;
    ctx.surface->addGeometryBuffer(ctx.queue, *d_buffer);
}
} // namespace QGUI
