// The GUI library's renderer over the host render interface. Interface
// geometry is turned into textured quads with a depth; queued quads are drawn
// greatest depth first, immediate quads at once unless the engine client
// suppresses interface drawing. Each geometry buffer keeps its quads ready to
// draw, in depth order, until its geometry, place or textures change, so a
// frame in which nothing changed hands the host the quads it drew before.
#pragma once

#include <CEGUI/GeometryBuffer.h>
#include <CEGUI/RenderTarget.h>
#include <CEGUI/Renderer.h>
#include <CEGUI/Vertex.h>

#include <array>
#include <cstdint>
#include <map>
#include <vector>

#include "IQEngineClient.h"
#include "IQXRender.h"
#include "core/ModuleMemory.h"
#include "render/QuadQueue.h"

namespace QXUI
{
class CQXTexture;
class CQXRenerder;

// Colours of a quad's corners, ARGB.
struct QuadColours
{
    uint32_t topLeft, topRight, bottomLeft, bottomRight;
};

// A drawable that a buffer adds beside its own quads (game objects and other
// imagery the module draws itself).
class IExtraDrawable
{
public:
    virtual ~IExtraDrawable() {}
    // dest in screen pixels; z the drawable's depth; clip null or a screen rect.
    virtual void drawExtra(CQXRenerder& renderer, const CEGUI::Rectf& dest, float z,
                           const CEGUI::Rectf* clip) = 0;
    // Grows whenever what drawExtra draws for the same place changes: a
    // buffer queues the quads it drew last while the versions stay.
    virtual uint64_t drawVersion() const = 0;
};

// Quads made ready for one depth, in drawing order, that a render list
// takes as one run; what they were made with, and the list that holds them.
struct ReadyRun
{
    std::vector<QuadRecord> quads;
    bool valid = false;
    float base = 0.0f;
    uint64_t epoch = 0; // the renderer's texture epoch
    uint64_t stamp = 0; // tells the list the run is the same as before
    uint64_t list = 0;  // the serial of the list it was queued into last
};

class CQXGeometryBuffer : public CEGUI::GeometryBuffer, public QGUI::CModuleObject
{
public:
    explicit CQXGeometryBuffer(CQXRenerder& owner);

    void draw() const override;
    void setTranslation(const CEGUI::Vector3f& v) override;
    void setRotation(const CEGUI::Quaternion& r) override;
    void setPivot(const CEGUI::Vector3f& p) override;
    void setClippingRegion(const CEGUI::Rectf& region) override;
    void appendVertex(const CEGUI::Vertex& vertex) override;
    void appendGeometry(const CEGUI::Vertex* const vbuff, CEGUI::uint vertex_count) override;
    void setActiveTexture(CEGUI::Texture* texture) override;
    void reset() override;
    CEGUI::Texture* getActiveTexture() const override;
    CEGUI::uint getVertexCount() const override;
    CEGUI::uint getBatchCount() const override;
    void setRenderEffect(CEGUI::RenderEffect* effect) override;
    CEGUI::RenderEffect* getRenderEffect() override;
    void setClippingActive(const bool active) override;
    bool isClippingActive() const override;

    // Depth added to the vertices appended from now on.
    void setZOffset(float offset) { d_zOffset = offset; }
    float getZOffset() const { return d_zOffset; }
    // A buffer with an owner draws at its owner's depth of this frame plus
    // the bias instead of taking a depth of its own.
    void setOwner(const CQXGeometryBuffer* owner, float bias);
    // Depth this buffer drew at in the current frame.
    float getFrameZ() const { return d_frameZ; }
    struct Drawable
    {
        IExtraDrawable* object;
        CEGUI::Rectf dest;      // buffer-local
        float z;
        CEGUI::Rectf clip;      // buffer-local
        bool clipped;
    };
    void addDrawable(IExtraDrawable* object, const CEGUI::Rectf& dest, float z,
                     const CEGUI::Rectf* clip);
    void clearDrawables();
    size_t getDrawableCount() const { return d_drawables.size(); }

private:
    struct CachedQuad
    {
        CQXTexture* texture;
        CEGUI::Rectf dest;
        CEGUI::Rectf tex;
        QuadColours colours;
        float z;
    };
    // Turns a complete group of six vertices into a buffer-local quad.
    void takeGroup();
    void dropPartialGroup() const;
    // Logs the first stray geometry of this buffer.
    void logStray(const char* text) const;
    void rebuildQuads() const;
    // Queues run at depth base. A stale run (changed, never made, made for
    // another depth or before a texture changed) is made again by make;
    // when the list holds it already at another depth, drawLoose adds the
    // quads as copies instead and the run stays as the list holds it.
    template <class Make, class DrawLoose>
    void queueReady(ReadyRun& run, float base, bool changed, Make make, DrawLoose drawLoose) const;
    // Queues the cached quads at depth base.
    void queueQuads(float base) const;
    // Draws the drawables at depth base.
    void drawDrawables(float base) const;
    // Queues the drawables' quads at depth base: those drawn last while
    // nothing they depend on changed, else drawn again.
    void queueDrawables(float base) const;

    // What every frame reads first, together.
    CQXRenerder& d_owner;
    const CQXGeometryBuffer* d_ownerBuffer = nullptr;
    float d_ownerBias = 0.0f;
    mutable float d_frameZ = 0.0f;
    CEGUI::RenderEffect* d_effect = nullptr;
    mutable bool d_quadsValid = false;
    // d_quads ready to queue.
    mutable ReadyRun d_ready;
    std::vector<Drawable> d_drawables;
    // The drawables' quads as drawn last, and the drawables' versions and
    // the placement they were drawn with.
    mutable ReadyRun d_drawn;
    mutable uint64_t d_drawnVersion = 0;
    mutable CEGUI::Vector3f d_drawnTranslation;
    mutable CEGUI::Rectf d_drawnClip;
    mutable bool d_drawnClipping = true;

    // The geometry as buffer-local quads, and the vertices of the group
    // being completed in the current batch (a run of one texture).
    std::vector<CachedQuad> d_localQuads;
    std::vector<CEGUI::Vertex> d_group;
    bool d_inBatch = false;
    CQXTexture* d_batchTexture = nullptr;
    CEGUI::uint d_batchCount = 0;
    CQXTexture* d_activeTexture = nullptr;
    CEGUI::Rectf d_clipRect;
    bool d_clippingActive = true;
    CEGUI::Vector3f d_translation;
    CEGUI::uint d_vertexCount = 0;
    float d_zOffset = 0.0f;
    mutable std::vector<CachedQuad> d_quads;
    mutable bool d_loggedStray = false;

    friend class CQXRenerder;
};

class CQXRenderTarget : public CEGUI::RenderTarget, public QGUI::CModuleObject
{
public:
    explicit CQXRenderTarget(CQXRenerder& owner);
    void draw(const CEGUI::GeometryBuffer& buffer) override;
    void draw(const CEGUI::RenderQueue& queue) override;
    void setArea(const CEGUI::Rectf& area) override;
    const CEGUI::Rectf& getArea() const override;
    bool isImageryCache() const override;
    void activate() override;
    void deactivate() override;
    void unprojectPoint(const CEGUI::GeometryBuffer& buff, const CEGUI::Vector2f& p_in,
                        CEGUI::Vector2f& p_out) const override;

private:
    CQXRenerder& d_owner;
    CEGUI::Rectf d_area;
};

class CQXRenerder : public CEGUI::Renderer, public QGUI::CModuleObject
{
public:
    CQXRenerder(CreateInterfaceFn* factories, int count);
    ~CQXRenerder() override;

    // --- the quad model ---
    // Drops quads whose texture rectangle is empty; queues or draws at once.
    void addQuad(const CEGUI::Rectf& dest, float z, const CQXTexture* tex,
                 const CEGUI::Rectf& texRect, const QuadColours& colours, int quadSplitMode);
    // Draws the queued quads, greatest depth first. The list stays.
    void doRender();
    void clearRenderList();
    void setQueueingEnabled(bool enabled) { d_queueing = enabled; }
    bool isQueueingEnabled() const { return d_queueing; }
    // While set, immediate quads are drawn even when the engine client
    // suppresses interface drawing.
    void setImmediateOverride(bool enabled) { d_immediateOverride = enabled; }
    bool getImmediateOverride() const { return d_immediateOverride; }

    // Unnamed textures of the module's own.
    CQXTexture* createTexture();
    CQXTexture* createTexture(float size);
    CQXTexture* createTexture(const CEGUI::String& filename, const CEGUI::String& resourceGroup);
    void destroyTexture(CQXTexture* texture);
    void reloadTexture(CQXTexture* texture, const CEGUI::String& filename,
                       const CEGUI::String& resourceGroup);

    float getWidth() const { return d_displayRect.getWidth(); }
    float getHeight() const { return d_displayRect.getHeight(); }
    CEGUI::Sizef getSize() const { return d_displayRect.getSize(); }
    const CEGUI::Rectf& getRect() const { return d_displayRect; }
    CEGUI::uint getHorzScreenDPI() const { return 96; }
    CEGUI::uint getVertScreenDPI() const { return 96; }
    // Reads the host viewport into the display rectangle.
    void updateDisplayArea();

    IQXRender* getRenderInterface() const { return d_render; }
    // The provider whose registered directories textures load from; without
    // one the GUI system's provider is asked.
    void setResourceProvider(CEGUI::ResourceProvider* provider) { d_provider = provider; }
    CEGUI::ResourceProvider* getResourceProvider() const { return d_provider; }
    IQEngineClient* getEngineClient() const { return d_engine; }
    // The queued quads in drawing order.
    std::vector<QuadRecord> getQuadList() const;
    size_t getTextureCount() const { return d_textures.size(); }

    // Depth for the next window buffer drawn in the queued phase.
    float takeWindowZ()
    {
        const float z = d_currentZ;
        d_currentZ -= 0.001f;
        return z;
    }
    // Drops queued quads that use a host texture about to be released.
    void forgetHostTexture(IQXHostTexture* hostTexture);
    // A texture's host texture, alpha flag or game object changed: quads
    // made ready with the old ones are made again.
    void textureChanged() { ++d_textureEpoch; }
    // The render list that the next clearRenderList starts belongs to this
    // render queue; lists of queues drawn before are kept for comparison.
    void selectRenderList(const void* renderQueue);

    // --- CEGUI::Renderer ---
    CEGUI::RenderTarget& getDefaultRenderTarget() override;
    CEGUI::GeometryBuffer& createGeometryBuffer() override;
    void destroyGeometryBuffer(const CEGUI::GeometryBuffer& buffer) override;
    void destroyAllGeometryBuffers() override;
    CEGUI::TextureTarget* createTextureTarget() override;
    void destroyTextureTarget(CEGUI::TextureTarget* target) override;
    void destroyAllTextureTargets() override;
    CEGUI::Texture& createTexture(const CEGUI::String& name) override;
    CEGUI::Texture& createTexture(const CEGUI::String& name, const CEGUI::String& filename,
                                  const CEGUI::String& resourceGroup) override;
    CEGUI::Texture& createTexture(const CEGUI::String& name, const CEGUI::Sizef& size) override;
    void destroyTexture(CEGUI::Texture& texture) override;
    void destroyTexture(const CEGUI::String& name) override;
    void destroyAllTextures() override;
    CEGUI::Texture& getTexture(const CEGUI::String& name) const override;
    bool isTextureDefined(const CEGUI::String& name) const override;
    void beginRendering() override;
    void endRendering() override;
    void setDisplaySize(const CEGUI::Sizef& size) override;
    const CEGUI::Sizef& getDisplaySize() const override;
    const CEGUI::Vector2f& getDisplayDPI() const override;
    CEGUI::uint getMaxTextureSize() const override;
    const CEGUI::String& getIdentifierString() const override;

    // Render lists kept at once, one per render queue drawn in a frame.
    static const size_t RENDER_LISTS = 4;

private:
    // Fills a record of a quad as the host gets it; false when the texture
    // rectangle is empty and the quad is dropped.
    static bool makeQuadRecord(QuadRecord& quad, const CEGUI::Rectf& dest, float z,
                               const CQXTexture* tex, const CEGUI::Rectf& texRect,
                               const QuadColours& colours, int quadSplitMode);
    // Whether a queued quad with this texture is drawn at all.
    static bool drawsQueued(const QuadRecord& quad, const CQXTexture* tex);
    void connectHost(CreateInterfaceFn* factories, int count);
    void drawQuad(const QuadRecord& quad);
    CQXTexture* registerTexture(CQXTexture* texture);
    void setDisplayRect(float width, float height);
    // A geometry buffer's ready quads join the list.
    void queueRun(const ReadyRun& run)
    {
        d_list->addRun(run.quads.data(), static_cast<uint32_t>(run.quads.size()), run.stamp);
    }
    void drawObjectQuad(const QuadRecord& quad);
    uint64_t renderListSerial() const { return d_listSerial; }
    uint64_t textureEpoch() const { return d_textureEpoch; }
    uint64_t newRunStamp() { return ++d_runStamps; }

    bool d_queueing = false;
    // While set, queued quads go here instead of into the list.
    std::vector<QuadRecord>* d_capture = nullptr;
    std::array<CQuadQueue, RENDER_LISTS> d_lists;
    std::array<const void*, RENDER_LISTS> d_listKeys{};
    std::array<uint64_t, RENDER_LISTS> d_listUses{};
    CQuadQueue* d_list = &d_lists[0];
    uint64_t d_listSerial = 1;
    uint64_t d_listUseCount = 0;
    uint64_t d_textureEpoch = 1;
    uint64_t d_runStamps = 0;
    std::vector<CQXTexture*> d_textures;
    std::map<CEGUI::String, CQXTexture*, CEGUI::StringFastLessCompare> d_namedTextures;
    CEGUI::Rectf d_displayRect;
    CEGUI::Sizef d_displaySize;
    CEGUI::uint d_maxTextureSize = 0;
    IQXRender* d_render = nullptr;
    // The listener record removed from the device event source at destruction.
    struct ListenerRecord
    {
        void* owner;
    } d_listener;
    bool d_immediateOverride = false;
    IQEngineClient* d_engine = nullptr;

    CQXRenderTarget* d_defaultTarget = nullptr;
    std::vector<CQXGeometryBuffer*> d_geometryBuffers;
    float d_currentZ = 1.0f;
    CEGUI::ResourceProvider* d_provider = nullptr;
    unsigned d_textureSerial = 0;

    friend class CQXGeometryBuffer;
};
} // namespace QXUI
