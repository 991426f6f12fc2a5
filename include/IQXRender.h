// The host render interface, "QXRender".
#pragma once

#include <cstdint>

#include "interface.h"

#define QXRENDER_INTERFACE_VERSION "QXRender"

// Format code of every texture the module creates in memory.
enum { QXTEXFMT_A8R8G8B8 = 21 };

class IQXHostTexture
{
public:
    virtual void HostSlot0() {}
    virtual void Release() = 0;
    virtual uint32_t GetWidth() = 0;
    virtual uint32_t GetHeight() = 0;

protected:
    ~IQXHostTexture() {}
};

class IQXTextureManager
{
public:
    virtual void HostSlot0() {}
    virtual void HostSlot1() {}
    virtual void HostSlot2() {}
    // A texture drawn without alpha blending; null when it cannot be loaded.
    virtual IQXHostTexture* LoadTexture(const char* path) = 0;
    virtual void HostSlot4() {}
    virtual void HostSlot5() {}
    virtual void HostSlot6() {}
    // A texture drawn with alpha blending (alpha = 1).
    virtual IQXHostTexture* LoadTextureEx(const char* path, int alpha) = 0;
    virtual void HostSlot8() {}
    virtual void HostSlot9() {}
    virtual void HostSlot10() {}
    virtual void HostSlot11() {}
    // The host texture of a game picture; the caller only reads its size.
    virtual IQXHostTexture* GetPicture(uint32_t group, uint32_t number) = 0;
    virtual void HostSlot13() {}
    virtual IQXHostTexture* CreateTexture(uint32_t width, uint32_t height, int format) = 0;
    virtual void HostSlot15() {}
    // Copies a block of 32-bit pixels (A8R8G8B8 in memory order B, G, R, A
    // for little-endian argb_t values) into the texture at (x, y).
    virtual void UpdateTexture(IQXHostTexture* texture, int x, int y, const void* pixels,
                               uint32_t width, uint32_t height, int alpha) = 0;

protected:
    ~IQXTextureManager() {}
};

class IQXDrawer
{
public:
    virtual void HostSlot0() {}
    virtual void HostSlot1() {}
    virtual void HostSlot2() {}
    virtual void HostSlot3() {}
    virtual void HostSlot4() {}
    // scale: {x, y}; zero: three zero floats; src: {left, top, right, bottom}
    // in texture coordinates; colours: ARGB {top-left, top-right,
    // bottom-right, bottom-left}.
    virtual void DrawQuad(int x, int y, IQXHostTexture* texture, const float* scale,
                          const float* zero, const float* src, const uint32_t* colours,
                          float z) = 0;
    virtual void HostSlot6() {}
    virtual void HostSlot7() {}
    virtual void HostSlot8() {}
    virtual void HostSlot9() {}
    virtual void HostSlot10() {}
    virtual void DrawQuadAlpha(int x, int y, IQXHostTexture* texture, const float* scale,
                               const float* zero, const float* src, const uint32_t* colours,
                               float z) = 0;

protected:
    ~IQXDrawer() {}
};

class IQXDeviceEventSource
{
public:
    virtual void HostSlot0() {}
    virtual void HostSlot1() {}
    virtual void HostSlot2() {}
    virtual void HostSlot3() {}
    virtual void HostSlot4() {}
    virtual void HostSlot5() {}
    virtual void HostSlot6() {}
    virtual void HostSlot7() {}
    virtual void HostSlot8() {}
    virtual void HostSlot9() {}
    virtual void HostSlot10() {}
    // Removes the listener whose record is at this address.
    virtual void RemoveListener(void* listener) = 0;

protected:
    ~IQXDeviceEventSource() {}
};

struct QXViewport
{
    uint16_t width;
    uint16_t height;
};

class IQXRender
{
public:
    virtual void HostSlot0() {}
    virtual void HostSlot1() {}
    virtual IQXTextureManager* GetTextureManager() = 0;
    virtual IQXDrawer* GetDrawer() = 0;
    // Two maximum texture sizes.
    virtual const uint32_t* GetDeviceCaps() = 0;
    virtual const QXViewport* GetViewport() = 0;
    virtual IQXDeviceEventSource* GetDeviceEventSource() = 0;

protected:
    ~IQXRender() {}
};
