#include "HostRender.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstring>

namespace QHost
{
namespace
{
struct Rgba
{
    float a, r, g, b;
};

Rgba Split(uint32_t v)
{
    return {float(v >> 24), float((v >> 16) & 0xFF), float((v >> 8) & 0xFF), float(v & 0xFF)};
}

Rgba Lerp(const Rgba& p, const Rgba& q, float t)
{
    return {p.a + (q.a - p.a) * t, p.r + (q.r - p.r) * t, p.g + (q.g - p.g) * t,
            p.b + (q.b - p.b) * t};
}

uint8_t ToByte(float v)
{
    if (!(v > 0.0f))
        return 0;
    if (v >= 255.0f)
        return 255;
    return uint8_t(v + 0.5f);
}

std::string LowerExtension(const char* path)
{
    const char* dot = std::strrchr(path, '.');
    std::string ext = dot ? dot + 1 : "";
    for (char& c : ext)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}
} // namespace

void HostTexture::Release()
{
    d_owner.release(this);
}

HostRender::HostRender(uint16_t width, uint16_t height, IBaseFileSystem* fileSystem)
    : d_fileSystem(fileSystem)
{
    resize(width, height);
    Image picture;
    picture.width = picture.height = 32;
    picture.argb.assign(32 * 32, kPicture11Colour);
    setPicture(1, 1, picture);
    picture.width = picture.height = 16;
    picture.argb.assign(16 * 16, kPicture12Colour);
    setPicture(1, 2, picture);
}

HostRender::~HostRender()
{
    for (auto& entry : d_live)
        delete entry.second;
    clearPictures();
}

void HostRender::resize(uint16_t width, uint16_t height)
{
    d_viewport.width = width;
    d_viewport.height = height;
    d_frame.width = width;
    d_frame.height = height;
    d_frame.argb.assign(size_t(width) * height, d_background);
}

void HostRender::clearFrame()
{
    std::fill(d_frame.argb.begin(), d_frame.argb.end(), d_background);
    draws.clear();
}

void HostRender::fillRect(int left, int top, int right, int bottom, uint32_t argb)
{
    const int x0 = std::max(left, 0);
    const int y0 = std::max(top, 0);
    const int x1 = std::min<int64_t>(right, d_frame.width);
    const int y1 = std::min<int64_t>(bottom, d_frame.height);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            d_frame.argb[size_t(y) * d_frame.width + x] = argb;
}

bool HostRender::writePNG(const std::string& path, std::string* error) const
{
    return WritePngFile(path, d_frame, error);
}

HostTexture* HostRender::find(const IQXHostTexture* texture) const
{
    if (!texture)
        return nullptr;
    auto it = d_live.find(texture);
    if (it != d_live.end())
        return it->second;
    for (const auto& entry : d_pictures)
        if (entry.second == texture)
            return entry.second;
    return nullptr;
}

bool HostRender::isLive(const IQXHostTexture* texture) const
{
    return find(texture) != nullptr;
}

void HostRender::resetRecords()
{
    draws.clear();
    drawQuadCount = drawQuadAlphaCount = 0;
    loads.clear();
    createCalls.clear();
    updateCalls.clear();
    pictureRequests.clear();
    removedListeners.clear();
    releaseCount = 0;
    invalidTextureDraws = 0;
}

// ---------------------------------------------------------------------------
// Textures

HostTexture* HostRender::makeTexture(const Image& image, bool alpha)
{
    auto* t = new HostTexture(*this, false);
    t->image = image;
    t->alpha = alpha;
    d_live[t] = t;
    return t;
}

void HostRender::release(HostTexture* texture)
{
    if (texture->d_ownedByRender)
        return; // game pictures stay with the renderer
    if (d_live.erase(texture) == 0)
        return;
    ++releaseCount;
    delete texture;
}

bool HostRender::readFile(const char* path, std::vector<uint8_t>& out)
{
    if (!d_fileSystem || !path)
        return false;
    FileHandle_t file = d_fileSystem->Open(path, "rb", "GAME");
    if (!file)
        return false;
    const int size = d_fileSystem->Size(file);
    bool ok = false;
    if (size > 0)
    {
        out.resize(size_t(size));
        ok = d_fileSystem->Read(out.data(), size, file) == size;
    }
    d_fileSystem->Close(file);
    return ok;
}

HostTexture* HostRender::load(const char* path, bool ex, int alpha)
{
    LoadCall call{path ? path : "", ex, alpha, false};
    std::vector<uint8_t> bytes;
    HostTexture* result = nullptr;
    if (readFile(path, bytes))
    {
        const std::string ext = LowerExtension(path);
        Image image;
        bool decoded = false;
        if (ext == "tga")
            decoded = DecodeTga(bytes.data(), bytes.size(), image);
        else if (ext == "tex")
            decoded = DecodeTex(bytes.data(), bytes.size(), image);
        if (decoded)
        {
            result = makeTexture(image, ex && alpha != 0);
            result->path = call.path;
        }
    }
    call.loaded = result != nullptr;
    loads.push_back(call);
    return result;
}

IQXHostTexture* HostRender::LoadTexture(const char* path)
{
    return load(path, false, 0);
}

IQXHostTexture* HostRender::LoadTextureEx(const char* path, int alpha)
{
    return load(path, true, alpha);
}

IQXHostTexture* HostRender::GetPicture(uint32_t group, uint32_t number)
{
    pictureRequests.emplace_back(group, number);
    auto it = d_pictures.find({group, number});
    return it == d_pictures.end() ? nullptr : it->second;
}

HostTexture* HostRender::setPicture(uint32_t group, uint32_t number, const Image& image)
{
    auto& slot = d_pictures[{group, number}];
    delete slot;
    slot = new HostTexture(*this, true);
    slot->image = image;
    slot->alpha = true;
    return slot;
}

void HostRender::clearPictures()
{
    for (auto& entry : d_pictures)
        delete entry.second;
    d_pictures.clear();
}

IQXHostTexture* HostRender::CreateTexture(uint32_t width, uint32_t height, int format)
{
    createCalls.emplace_back(width, height);
    // Only the 32-bit format exists here; an empty or oversized texture
    // cannot be made.
    if (format != QXTEXFMT_A8R8G8B8 || width == 0 || height == 0 || width > kMaxImageSide ||
        height > kMaxImageSide)
        return nullptr;
    Image image;
    image.width = width;
    image.height = height;
    image.argb.assign(size_t(width) * height, 0);
    return makeTexture(image, true);
}

void HostRender::UpdateTexture(IQXHostTexture* texture, int x, int y, const void* pixels,
                               uint32_t width, uint32_t height, int alpha)
{
    updateCalls.push_back({texture, x, y, width, height, alpha});
    auto it = d_live.find(texture);
    if (!pixels || it == d_live.end())
        return;
    Image& image = it->second->image;
    // The block is width * height 32-bit 0xAARRGGBB values in native order;
    // without the alpha flag its alpha bytes carry nothing and the pixels
    // become opaque. The part outside the texture is dropped.
    const auto* src = static_cast<const uint8_t*>(pixels);
    for (uint32_t row = 0; row < height; ++row)
    {
        const int64_t ty = int64_t(y) + row;
        if (ty < 0 || ty >= image.height)
            continue;
        for (uint32_t col = 0; col < width; ++col)
        {
            const int64_t tx = int64_t(x) + col;
            if (tx < 0 || tx >= image.width)
                continue;
            uint32_t v;
            std::memcpy(&v, src + (size_t(row) * width + col) * 4, 4);
            if (!alpha)
                v |= 0xFF000000u;
            image.argb[size_t(ty) * image.width + size_t(tx)] = v;
        }
    }
}

// ---------------------------------------------------------------------------
// Drawing

void HostRender::DrawQuad(int x, int y, IQXHostTexture* texture, const float* scale,
                          const float*, const float* src, const uint32_t* colours, float z)
{
    ++drawQuadCount;
    draw(x, y, texture, scale, src, colours, z, false);
}

void HostRender::DrawQuadAlpha(int x, int y, IQXHostTexture* texture, const float* scale,
                               const float*, const float* src, const uint32_t* colours, float z)
{
    ++drawQuadAlphaCount;
    draw(x, y, texture, scale, src, colours, z, true);
}

// The destination is the source rectangle (texture coordinates times the
// texture size) times the scale, placed with its top-left corner at (x, y)
// and rounded to whole pixels. Each pixel samples its nearest texel and is
// multiplied by the corner colours interpolated across the quad; DrawQuadAlpha
// blends the result over the frame (source over), DrawQuad replaces the frame
// pixel. Everything outside the frame is clipped.
void HostRender::draw(int x, int y, IQXHostTexture* texture, const float* scale, const float* src,
                      const uint32_t* colours, float z, bool blend)
{
    if (recordDraws)
    {
        DrawCall call{x, y, texture, {0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}, z, blend};
        if (scale)
            std::copy(scale, scale + 2, call.scale);
        if (src)
            std::copy(src, src + 4, call.src);
        if (colours)
            std::copy(colours, colours + 4, call.colours);
        draws.push_back(call);
    }
    const HostTexture* found = find(texture);
    if (!found)
    {
        ++invalidTextureDraws;
        return;
    }
    if (!scale || !src || !colours)
        return;
    const Image& tex = found->image;
    if (tex.width == 0 || tex.height == 0)
        return;

    const double srcLeft = double(src[0]) * tex.width;
    const double srcTop = double(src[1]) * tex.height;
    const double srcWidth = (double(src[2]) - src[0]) * tex.width;
    const double srcHeight = (double(src[3]) - src[1]) * tex.height;
    const double destW = srcWidth * scale[0];
    const double destH = srcHeight * scale[1];
    if (!std::isfinite(destW) || !std::isfinite(destH))
        return;
    const int64_t dw = std::llround(destW);
    const int64_t dh = std::llround(destH);
    if (dw <= 0 || dh <= 0)
        return;

    const int64_t x0 = std::max<int64_t>(x, 0);
    const int64_t y0 = std::max<int64_t>(y, 0);
    const int64_t x1 = std::min<int64_t>(int64_t(x) + dw, d_frame.width);
    const int64_t y1 = std::min<int64_t>(int64_t(y) + dh, d_frame.height);
    if (x0 >= x1 || y0 >= y1)
        return;

    // Corner colours arrive as top-left, top-right, bottom-right, bottom-left.
    const Rgba tl = Split(colours[0]);
    const Rgba tr = Split(colours[1]);
    const Rgba br = Split(colours[2]);
    const Rgba bl = Split(colours[3]);

    auto texel = [](double pos, uint32_t size) {
        const double f = std::floor(pos);
        if (!(f >= 0.0))
            return uint32_t(0);
        if (f >= double(size - 1))
            return size - 1;
        return uint32_t(f);
    };

    for (int64_t py = y0; py < y1; ++py)
    {
        const float v = float((double(py - y) + 0.5) / double(dh));
        const uint32_t ty = texel(srcTop + v * srcHeight, tex.height);
        const Rgba left = Lerp(tl, bl, v);
        const Rgba right = Lerp(tr, br, v);
        uint32_t* row = d_frame.argb.data() + size_t(py) * d_frame.width;
        for (int64_t px = x0; px < x1; ++px)
        {
            const float u = float((double(px - x) + 0.5) / double(dw));
            const uint32_t tx = texel(srcLeft + u * srcWidth, tex.width);
            const Rgba c = Lerp(left, right, u);
            const Rgba t = Split(tex.at(tx, ty));
            const float a = t.a * c.a / 255.0f;
            const float r = t.r * c.r / 255.0f;
            const float g = t.g * c.g / 255.0f;
            const float b = t.b * c.b / 255.0f;
            if (!blend)
            {
                row[px] = 0xFF000000u | (uint32_t(ToByte(r)) << 16) | (uint32_t(ToByte(g)) << 8) |
                          ToByte(b);
                continue;
            }
            const Rgba d = Split(row[px]);
            const float k = a / 255.0f;
            row[px] = (uint32_t(ToByte(a + d.a * (1.0f - k))) << 24) |
                      (uint32_t(ToByte(r * k + d.r * (1.0f - k))) << 16) |
                      (uint32_t(ToByte(g * k + d.g * (1.0f - k))) << 8) |
                      ToByte(b * k + d.b * (1.0f - k));
        }
    }
}
} // namespace QHost
