// The host render interface "QXRender" of the stand-in host: a software
// rasteriser drawing textured quads into a frame of the viewport's size,
// with a texture manager over the host file system. It records what it is
// asked so that tests can look.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "HostImage.h"
#include "IBaseFileSystem.h"
#include "IQXRender.h"

namespace QHost
{
class HostRender;

// A texture of the host: pixels as 0xAARRGGBB, rows from the top.
class HostTexture final : public IQXHostTexture
{
public:
    void Release() override;
    uint32_t GetWidth() override { return image.width; }
    uint32_t GetHeight() override { return image.height; }

    Image image;
    std::string path;   // the path it was loaded from; empty for others
    bool alpha = false; // loaded for drawing with alpha blending

private:
    friend class HostRender;
    HostTexture(HostRender& owner, bool ownedByRender) : d_owner(owner), d_ownedByRender(ownedByRender) {}
    ~HostTexture() = default;

    HostRender& d_owner;
    bool d_ownedByRender; // game pictures: Release does nothing
};

class HostRender final : public IQXRender,
                         public IQXTextureManager,
                         public IQXDrawer,
                         public IQXDeviceEventSource
{
public:
    // One call of the drawer.
    struct DrawCall
    {
        int x, y;
        IQXHostTexture* texture;
        float scale[2];
        float src[4];
        uint32_t colours[4];
        float z;
        bool alpha;
    };
    // One texture load.
    struct LoadCall
    {
        std::string path;
        bool ex;       // LoadTextureEx
        int alpha;     // its alpha argument (LoadTexture: 0)
        bool loaded;   // a texture came back
    };
    struct UpdateCall
    {
        IQXHostTexture* texture;
        int x, y;
        uint32_t width, height;
        int alpha;
    };

    static constexpr uint32_t kDefaultBackground = 0xFF1E2838;

    HostRender(uint16_t width = 1024, uint16_t height = 768, IBaseFileSystem* fileSystem = nullptr);
    ~HostRender();

    HostRender(const HostRender&) = delete;
    HostRender& operator=(const HostRender&) = delete;

    // IQXRender
    IQXTextureManager* GetTextureManager() override { return this; }
    IQXDrawer* GetDrawer() override { return this; }
    const uint32_t* GetDeviceCaps() override { return d_caps; }
    const QXViewport* GetViewport() override { return &d_viewport; }
    IQXDeviceEventSource* GetDeviceEventSource() override { return this; }

    // IQXTextureManager
    IQXHostTexture* LoadTexture(const char* path) override;
    IQXHostTexture* LoadTextureEx(const char* path, int alpha) override;
    IQXHostTexture* GetPicture(uint32_t group, uint32_t number) override;
    IQXHostTexture* CreateTexture(uint32_t width, uint32_t height, int format) override;
    void UpdateTexture(IQXHostTexture* texture, int x, int y, const void* pixels, uint32_t width,
                       uint32_t height, int alpha) override;

    // IQXDrawer
    void DrawQuad(int x, int y, IQXHostTexture* texture, const float* scale, const float* zero,
                  const float* src, const uint32_t* colours, float z) override;
    void DrawQuadAlpha(int x, int y, IQXHostTexture* texture, const float* scale,
                       const float* zero, const float* src, const uint32_t* colours,
                       float z) override;

    // IQXDeviceEventSource
    void RemoveListener(void* listener) override { removedListeners.push_back(listener); }

    // Host side.
    void setFileSystem(IBaseFileSystem* fileSystem) { d_fileSystem = fileSystem; }
    void setDeviceCaps(uint32_t first, uint32_t second) { d_caps[0] = first; d_caps[1] = second; }
    // Resizes the frame (and the viewport) and clears it.
    void resize(uint16_t width, uint16_t height);
    void setBackground(uint32_t argb) { d_background = argb; }
    // Fills the frame with the background colour and forgets the previous
    // frame's draw calls; starts every host frame.
    void clearFrame();
    const Image& frame() const { return d_frame; }
    uint32_t pixel(int x, int y) const { return d_frame.at(uint32_t(x), uint32_t(y)); }
    // Fills a rectangle of the frame (right and bottom exclusive), clipped.
    void fillRect(int left, int top, int right, int bottom, uint32_t argb);
    bool writePNG(const std::string& path, std::string* error = nullptr) const;

    // Game pictures: (group, number) -> a texture owned by the renderer.
    // Replaces an entry of the same key. The table starts with two
    // pictures: (1, 1) 32 x 32 and (1, 2) 16 x 16, flat colours.
    static constexpr uint32_t kPicture11Colour = 0xFF40A060;
    static constexpr uint32_t kPicture12Colour = 0xFFA06040;
    HostTexture* setPicture(uint32_t group, uint32_t number, const Image& image);
    void clearPictures();

    // A texture made from an image, as if loaded (tests).
    HostTexture* makeTexture(const Image& image, bool alpha);
    // Textures handed out and not yet released (pictures excluded).
    size_t liveTextureCount() const { return d_live.size(); }
    bool isLive(const IQXHostTexture* texture) const;

    // What the renderer was asked. Quads are drawn in the order of the calls
    // (the caller orders them; z is only recorded).
    std::vector<DrawCall> draws; // this frame's (see clearFrame)
    size_t drawQuadCount = 0;
    size_t drawQuadAlphaCount = 0;
    std::vector<LoadCall> loads;
    std::vector<std::pair<uint32_t, uint32_t>> createCalls; // CreateTexture sizes
    std::vector<UpdateCall> updateCalls;
    std::vector<std::pair<uint32_t, uint32_t>> pictureRequests;
    std::vector<void*> removedListeners;
    size_t releaseCount = 0;
    // Draws naming a texture that is not (or no longer) one of this
    // renderer's; they draw nothing.
    size_t invalidTextureDraws = 0;
    // Keep the list of draw calls (the counts are always kept).
    bool recordDraws = true;
    void resetRecords();

private:
    friend class HostTexture;
    void release(HostTexture* texture);
    HostTexture* load(const char* path, bool ex, int alpha);
    bool readFile(const char* path, std::vector<uint8_t>& out);
    void draw(int x, int y, IQXHostTexture* texture, const float* scale, const float* src,
              const uint32_t* colours, float z, bool blend);

    Image d_frame;
    QXViewport d_viewport{};
    uint32_t d_caps[2] = {4096, 4096};
    uint32_t d_background = kDefaultBackground;
    IBaseFileSystem* d_fileSystem;
    // Looks a texture up among those handed out and the pictures; null for a
    // pointer that is not (or no longer) one of this renderer's.
    HostTexture* find(const IQXHostTexture* texture) const;

    std::map<const IQXHostTexture*, HostTexture*> d_live;
    std::map<std::pair<uint32_t, uint32_t>, HostTexture*> d_pictures;
};
} // namespace QHost
