// The extra render cache of a widget: a geometry buffer of the module's
// renderer beside the window's own, holding extra drawables (game-object
// pictures drawn by their renderer state) and the images and texts the
// widget caches with them. It is queued right after the window's own
// buffer and draws at the window's depth plus a bias, the drawables first.
#pragma once

#include <CEGUI/ColourRect.h>
#include <CEGUI/Rect.h>
#include <CEGUI/String.h>
#include <CEGUI/Vector.h>

#include <vector>

#include "core/ModuleMemory.h"
#include "render/QXRenderer.h"

namespace CEGUI
{
class Font;
class Image;
class Window;
struct RenderingContext;
} // namespace CEGUI

namespace QGUI
{
class CWindowRenderCache : public CModuleObject
{
public:
    CWindowRenderCache();
    ~CWindowRenderCache();
    CWindowRenderCache(const CWindowRenderCache&) = delete;
    CWindowRenderCache& operator=(const CWindowRenderCache&) = delete;

    // Appends a drawable; dest and clip are window-local pixels, z is added
    // to the cache's depth. A null clip draws clipped to the window only.
    void cacheDrawable(QXUI::IExtraDrawable* object, const CEGUI::Rectf& dest, float z,
                       const CEGUI::Rectf* clip);
    // Drops the drawables of one object (a renderer state that goes away).
    void removeDrawables(const QXUI::IExtraDrawable* object);
    // An image or a text beside the drawables, at a depth offset.
    void cacheImage(const CEGUI::Image& image, const CEGUI::Rectf& dest, float z,
                    const CEGUI::ColourRect& colours, const CEGUI::Rectf* clip);
    void cacheText(const CEGUI::String& text, const CEGUI::Font& font, int format,
                   const CEGUI::Rectf& area, float z, const CEGUI::ColourRect& colours,
                   const CEGUI::Rectf* clip);
    // True while drawables are cached (images and texts alone do not count).
    bool hasCachedImagery() const;
    void clearCachedImagery();

    // Queues the cache right after the window's own buffer: positioned and
    // clipped as the window is, drawn at the window's depth plus bias.
    void queue(CEGUI::Window& window, const CEGUI::RenderingContext& ctx, float bias);

    size_t getDrawableCount() const;
    QXUI::CQXGeometryBuffer* getBuffer() const { return d_buffer; }

private:
    struct Entry
    {
        QXUI::IExtraDrawable* object;
        CEGUI::Rectf dest;
        float z;
        CEGUI::Rectf clip;
        bool clipped;
    };

    QXUI::CQXGeometryBuffer* d_buffer = nullptr;
    QXUI::CQXRenerder* d_renderer = nullptr;
    // The drawables as cached, so that one object's can be taken out.
    std::vector<Entry> d_entries;
    // Where the buffer was last placed.
    bool d_placed = false;
    CEGUI::Vector3f d_translation;
    CEGUI::Rectf d_clip;
};
} // namespace QGUI
