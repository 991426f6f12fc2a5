// A GUI-library texture over a host texture: loaded from a "tex" or "tga"
// file through the host, filled from memory, or standing for a game object
// that the engine client draws itself.
#pragma once

#include <CEGUI/Texture.h>

#include <cstdint>

#include "IQXRender.h"
#include "core/ModuleMemory.h"

namespace QXUI
{
class CQXRenerder;

class CQXTexture : public CEGUI::Texture, public QGUI::CModuleObject
{
public:
    CQXTexture(CQXRenerder& owner, const CEGUI::String& name);
    ~CQXTexture() override;

    uint16_t getWidth() const { return d_width; }
    uint16_t getHeight() const { return d_height; }
    IQXHostTexture* getHostTexture() const { return d_hostTexture; }
    bool isAlpha() const { return d_alpha; }
    uint32_t getRenderOp() const { return d_renderOp; }
    uint32_t getObjectId() const { return d_objectId; }
    bool isGameObject() const { return d_isGameObject; }

    // Makes this texture stand for a game object (1 x 1, no host texture).
    void makeGameObject(uint32_t objectId, uint32_t renderOp);
    // Releases the host texture, if any.
    void releaseHostTexture();

    // The module's forms of the loaders.
    void loadFromMemory(const void* pixels, uint32_t width, uint32_t height, int pixelFormat);
    void updateFromMemory(int x, int y, const void* pixels, uint32_t width, uint32_t height,
                          int pixelFormat);

    // --- CEGUI::Texture ---
    const CEGUI::String& getName() const override { return d_name; }
    const CEGUI::Sizef& getSize() const override { return d_size; }
    const CEGUI::Sizef& getOriginalDataSize() const override { return d_size; }
    const CEGUI::Vector2f& getTexelScaling() const override { return d_texelScaling; }
    void loadFromFile(const CEGUI::String& filename, const CEGUI::String& resourceGroup) override;
    void loadFromMemory(const void* buffer, const CEGUI::Sizef& buffer_size,
                        PixelFormat pixel_format) override;
    void blitFromMemory(const void* sourceData, const CEGUI::Rectf& area) override;
    void blitToMemory(void* targetData) override;
    bool isPixelFormatSupported(const PixelFormat fmt) const override;

private:
    void setSizeFromHost();
    void updateCeguiSize();
    IQXTextureManager* textureManager() const;

    CQXRenerder& d_renderer;
    IQXHostTexture* d_hostTexture = nullptr;
    uint16_t d_width = 0;
    uint16_t d_height = 0;
    uint32_t d_renderOp = 0;
    uint32_t d_objectId = 0;
    bool d_alpha = false;
    bool d_isGameObject = false;

    CEGUI::String d_name;
    CEGUI::Sizef d_size;
    CEGUI::Vector2f d_texelScaling;
};
} // namespace QXUI
