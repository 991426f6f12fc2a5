// A host whose drawing only counts: the render interface counts the quads
// handed to it (and can keep their arguments, for the limit case), the
// engine client counts game-object quads.
#pragma once

#include <cstdint>
#include <vector>

#include "FakeHost.h"
#include "IQEngineClient.h"
#include "IQXRender.h"

namespace bench
{
// The arguments of one DrawQuad / DrawQuadAlpha call.
struct QuadCall
{
    bool alpha;
    int x, y;
    IQXHostTexture* texture;
    float scale[2];
    float zero[3];
    float src[4];
    uint32_t colours[4];
    float z;
};

struct CountingRender final : IQXRender, IQXTextureManager, IQXDrawer, IQXDeviceEventSource
{
    QXViewport viewport{800, 600};
    uint32_t caps[2]{4096, 4096};
    uint64_t quads = 0;
    int sink = 0;
    bool capture = false;
    std::vector<QuadCall> captured;

    IQXTextureManager* GetTextureManager() override { return this; }
    IQXDrawer* GetDrawer() override { return this; }
    const uint32_t* GetDeviceCaps() override { return caps; }
    const QXViewport* GetViewport() override { return &viewport; }
    IQXDeviceEventSource* GetDeviceEventSource() override { return this; }
    void RemoveListener(void*) override {}

    IQXHostTexture* LoadTexture(const char*) override { return new fake::Texture(256, 256, nullptr); }
    IQXHostTexture* LoadTextureEx(const char*, int) override { return new fake::Texture(256, 256, nullptr); }
    IQXHostTexture* GetPicture(uint32_t, uint32_t) override { return nullptr; }
    IQXHostTexture* CreateTexture(uint32_t w, uint32_t h, int) override { return new fake::Texture(w, h, nullptr); }
    void UpdateTexture(IQXHostTexture*, int, int, const void*, uint32_t, uint32_t, int) override {}

    void count(bool alpha, int x, int y, IQXHostTexture* t, const float* scale, const float* zero,
               const float* src, const uint32_t* colours, float z)
    {
        ++quads;
        sink += x + y;
        if (capture)
            captured.push_back(QuadCall{alpha, x, y, t, {scale[0], scale[1]}, {zero[0], zero[1], zero[2]},
                                        {src[0], src[1], src[2], src[3]},
                                        {colours[0], colours[1], colours[2], colours[3]}, z});
    }
    void DrawQuad(int x, int y, IQXHostTexture* t, const float* scale, const float* zero,
                  const float* src, const uint32_t* colours, float z) override
    {
        count(false, x, y, t, scale, zero, src, colours, z);
    }
    void DrawQuadAlpha(int x, int y, IQXHostTexture* t, const float* scale, const float* zero,
                       const float* src, const uint32_t* colours, float z) override
    {
        count(true, x, y, t, scale, zero, src, colours, z);
    }
};

struct CountingEngine final : IQEngineClient
{
    uint64_t objects = 0;
    bool RecvKeyVal(KeyValues*) override { return true; }
    bool QueryKeyVal(KeyValues*, KeyValues*) override { return false; }
    void RenderObjectQuad(uint32_t, int, int, int, int, float, uint32_t, const int*) override
    {
        ++objects;
    }
    bool IsGuiRenderSuppressed() override { return false; }
    const QDisplayMode* GetDisplayMode() override { return nullptr; }
    const QMainWindowRecord* GetMainWindow() override { return nullptr; }
};
} // namespace bench
