#include "render/QXTexture.h"

#include <CEGUI/Logger.h>
#include <CEGUI/System.h>

#include "render/QXRenderer.h"
#include "render/QXResourceProvider.h"

namespace QXUI
{
namespace
{
// The directory registered for a resource group, as registered.
CEGUI::String GroupDirectory(CEGUI::ResourceProvider* provider, const CEGUI::String& group)
{
    if (!provider)
    {
        CEGUI::System* system = CEGUI::System::getSingletonPtr();
        provider = system ? system->getResourceProvider() : nullptr;
    }
    if (auto* own = dynamic_cast<CQXResourceProvider*>(provider))
        return own->getGroupDirectory(group);
    if (auto* plain = dynamic_cast<CEGUI::DefaultResourceProvider*>(provider))
        return plain->getResourceGroupDirectory(group);
    return CEGUI::String();
}
} // namespace

CQXTexture::CQXTexture(CQXRenerder& owner, const CEGUI::String& name)
    : d_renderer(owner), d_name(name), d_size(0, 0), d_texelScaling(0, 0)
{
}

CQXTexture::~CQXTexture()
{
    releaseHostTexture();
}

IQXTextureManager* CQXTexture::textureManager() const
{
    IQXRender* render = d_renderer.getRenderInterface();
    return render ? render->GetTextureManager() : nullptr;
}

void CQXTexture::releaseHostTexture()
{
    if (!d_hostTexture)
        return;
    d_renderer.forgetHostTexture(d_hostTexture);
    d_hostTexture->Release();
    d_hostTexture = nullptr;
}


void CQXTexture::setSizeFromHost()
{
    d_width = static_cast<uint16_t>(d_hostTexture->GetWidth());
    d_height = static_cast<uint16_t>(d_hostTexture->GetHeight());
    updateCeguiSize();
}

void CQXTexture::updateCeguiSize()
{
    d_size = CEGUI::Sizef(d_width, d_height);
    d_texelScaling = CEGUI::Vector2f(d_width ? 1.0f / d_width : 0.0f,
                                     d_height ? 1.0f / d_height : 0.0f);
}

// Each loader tells the renderer first: quads it made ready with this
// texture's old state are made again before they are drawn.
void CQXTexture::makeGameObject(uint32_t objectId, uint32_t renderOp)
{
    d_renderer.textureChanged();
    releaseHostTexture();
    d_objectId = objectId;
    d_renderOp = renderOp;
    d_isGameObject = true;
    d_width = d_height = 1;
    updateCeguiSize();
}

void CQXTexture::loadFromFile(const CEGUI::String& filename, const CEGUI::String& resourceGroup)
{
    d_renderer.textureChanged();
    releaseHostTexture();
    d_isGameObject = false;
    const CEGUI::String path = GroupDirectory(d_renderer.getResourceProvider(), resourceGroup) + filename;
    const std::string name = filename.c_str();
    const size_t dot = name.rfind('.');
    const std::string ext = dot == std::string::npos ? std::string() : name.substr(dot + 1);

    IQXTextureManager* manager = textureManager();
    if (!manager)
        return;
    if (ext == "tex")
    {
        d_hostTexture = manager->LoadTexture(path.c_str());
        d_alpha = false;
    }
    else if (ext == "tga")
    {
        d_hostTexture = manager->LoadTextureEx(path.c_str(), 1);
        d_alpha = true;
    }
    if (d_hostTexture)
        setSizeFromHost();
}

void CQXTexture::loadFromMemory(const void* pixels, uint32_t width, uint32_t height,
                                int pixelFormat)
{
    d_renderer.textureChanged();
    releaseHostTexture();
    if (!pixels)
    {
        // A placeholder for a game object: the width carries the object id
        // and the pixel format the render operation.
        makeGameObject(width, static_cast<uint32_t>(pixelFormat));
        return;
    }
    d_isGameObject = false;
    IQXTextureManager* manager = textureManager();
    if (!manager)
        return;
    IQXHostTexture* created = manager->CreateTexture(width, height, QXTEXFMT_A8R8G8B8);
    if (!created)
        return;
    d_hostTexture = created;
    manager->UpdateTexture(created, 0, 0, pixels, width, height, pixelFormat == PF_RGB ? 0 : 1);
    d_alpha = true;
    setSizeFromHost();
}

void CQXTexture::updateFromMemory(int x, int y, const void* pixels, uint32_t width,
                                  uint32_t height, int pixelFormat)
{
    if (!d_hostTexture || !pixels)
        return;
    if (IQXTextureManager* manager = textureManager())
        manager->UpdateTexture(d_hostTexture, x, y, pixels, width, height,
                               pixelFormat == PF_RGB ? 0 : 1);
}

void CQXTexture::loadFromMemory(const void* buffer, const CEGUI::Sizef& buffer_size,
                                PixelFormat pixel_format)
{
    loadFromMemory(buffer, static_cast<uint32_t>(buffer_size.d_width),
                   static_cast<uint32_t>(buffer_size.d_height), static_cast<int>(pixel_format));
}

void CQXTexture::blitFromMemory(const void* sourceData, const CEGUI::Rectf& area)
{
    updateFromMemory(static_cast<int>(area.left()), static_cast<int>(area.top()), sourceData,
                     static_cast<uint32_t>(area.getWidth()), static_cast<uint32_t>(area.getHeight()),
                     PF_RGBA);
}

void CQXTexture::blitToMemory(void*)
{
    if (CEGUI::Logger* logger = CEGUI::Logger::getSingletonPtr())
        logger->logEvent(
            "QXUI::CQXTexture::blitToMemory: reading a host texture back is not supported.",
            CEGUI::Errors);
}

bool CQXTexture::isPixelFormatSupported(const PixelFormat fmt) const
{
    return fmt == PF_RGB || fmt == PF_RGBA;
}
} // namespace QXUI
