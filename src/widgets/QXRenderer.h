// The base window renderer of the game-object widgets and its renderer
// state: each render, a subclass names the game objects whose pictures the
// engine draws into the window (texture requests); the state turns them
// into object textures of the module's renderer and caches them as one
// extra drawable of the window, which queues one object quad per texture
// every frame the window is drawn. Also the "sparking" overlay and the
// renderer properties "FrameEnabled", "BackgroundEnabled" and "ImageOffset".
#pragma once

#include <CEGUI/Rect.h>
#include <CEGUI/UDim.h>
#include <CEGUI/WindowRenderer.h>

#include <cstdint>
#include <vector>

#include "ShareProSet.h"
#include "core/ModuleMemory.h"
#include "render/QXRenderer.h"

namespace CEGUI
{
class StateImagery;
class WidgetLookFeel;
}
namespace QXUI
{
class CQXTexture;
}

namespace QGUI
{
class CWindowRenderCache;
class QXWindow;

class CRendererState : public QXUI::IExtraDrawable
{
public:
    struct TextureRequest
    {
        uint32_t objectId;
        uint32_t renderOp;
        float xShift;
        float yShift;
    };
    struct ObjectTexture
    {
        QXUI::CQXTexture* texture;
        float xShift;
        float yShift;
    };

    // Depth of the object pictures within the extra render cache.
    static constexpr float TextureDepth = -1e-07f;

    CRendererState();
    ~CRendererState() override;
    CRendererState(const CRendererState&) = delete;
    CRendererState& operator=(const CRendererState&) = delete;

    void addTextureRequest(const TextureRequest& request) { m_Requests.push_back(request); }
    // Empties the requests and hands the textures back to the renderer.
    void releaseTextures();
    // One object texture per request, while the module is started and the
    // GUI system draws through the module's renderer; a request whose
    // texture cannot be made is skipped.
    void createTextures();
    // Caches the textures as one drawable covering size at the window's
    // top-left (clipped to it, and to clip when given); nothing when the
    // state holds no texture.
    void cacheTextures(CWindowRenderCache& cache, const CEGUI::Sizef& size,
                       const CEGUI::Rectf* clip);

    void setImageOffset(float xScale, float xOffset, float yScale, float yOffset);
    void setImageOffset(const CEGUI::UVector2& offset)
    {
        m_ImageOffset = offset;
        ++m_nVersion;
    }
    const CEGUI::UVector2& getImageOffset() const { return m_ImageOffset; }
    const CEGUI::Rectf* getClipRect() const { return m_bClipSet ? &m_ClipRect : nullptr; }
    void setClipRect(const CEGUI::Rectf* clip);

    const std::vector<TextureRequest>& getRequests() const { return m_Requests; }
    const std::vector<ObjectTexture>& getTextures() const { return m_Textures; }

    // Queues one object quad per texture: anchored by the image offset in
    // dest, with the dest size in the quad's right and bottom, and a
    // texture rectangle covering the visible part of dest.
    void drawExtra(QXUI::CQXRenerder& renderer, const CEGUI::Rectf& dest, float z,
                   const CEGUI::Rectf* clip) override;
    uint64_t drawVersion() const override { return m_nVersion; }

private:
    std::vector<TextureRequest> m_Requests;
    std::vector<ObjectTexture> m_Textures;
    CEGUI::UVector2 m_ImageOffset;
    CEGUI::Rectf m_ClipRect;
    bool m_bClipSet = false;
    QXUI::CQXRenerder* m_pTextureOwner = nullptr;
    // Grows with every change of the textures, offset or clip.
    uint64_t m_nVersion = 0;
};

class QXRenderer : public CEGUI::WindowRenderer, public CModuleObject
{
public:
    explicit QXRenderer(const CEGUI::String& type);
    ~QXRenderer() override;

    // Releases the last textures, lets the subclass name its game objects
    // (and adds the sparking object), makes the textures and caches them
    // in the window's extra render cache.
    void render() override;

    bool isFrameEnabled() const { return m_bFrameEnabled; }
    void setFrameEnabled(bool enabled);
    bool isBackgroundEnabled() const { return m_bBackgroundEnabled; }
    void setBackgroundEnabled(bool enabled);
    CEGUI::UVector2 getImageOffset() const { return m_State.getImageOffset(); }
    void setImageOffset(const CEGUI::UVector2& offset) { m_State.setImageOffset(offset); }
    CRendererState& getState() { return m_State; }

    // Caches the state's textures in the window's extra render cache.
    void drawTextures(CEGUI::Window& window, const CEGUI::Rectf* clip);
    // The renderer property of that name, for a look that defines its own.
    virtual CEGUI::Property* FindRendererProperty(const CEGUI::String& name) const;

    // The game object drawn over a sparking window; asked of the game until
    // it names one.
    static int32_t SparkingObjectId();
    static void ForgetSparkingObject();

protected:
    void onAttach() override;
    void onDetach() override;
    virtual void onUpdate() = 0;
    virtual void collectTextureRequests(CRendererState& state) = 0;

    // The attached window when it is a game window, else null.
    QXWindow* gameWindow() const;
    // The window's look; null when it has none.
    const CEGUI::WidgetLookFeel* look() const;
    // Draws a state imagery of the look; a missing one draws nothing.
    bool renderStateImagery(const CEGUI::String& name) const;
    // Draws a state imagery of the look into area, modulated by colours and
    // clipped to clip (either may be null); a missing one draws nothing.
    bool renderStateImagery(const CEGUI::String& name, const CEGUI::Rectf& area,
                            const CEGUI::ColourRect* colours, const CEGUI::Rectf* clip) const;
    // The frame and background of a static window, as the renderer's two
    // switches and the window's enabled state choose them: "EnabledFrame" /
    // "DisabledFrame", then "WithFrame..." or "NoFrame..." followed by
    // "EnabledBackground" / "DisabledBackground".
    void renderFrameAndBackground() const;
    // Whether the window counts as enabled (it and its parents are).
    bool isWindowEnabled() const;
    // A named area of the look in window pixels; false when it is missing.
    bool namedArea(const CEGUI::String& name, CEGUI::Rectf& area) const;

    static CEGUI::ShareProSet RendererProperties;

private:
    bool m_bFrameEnabled = false;
    bool m_bBackgroundEnabled = false;
    CRendererState m_State;
};
} // namespace QGUI
