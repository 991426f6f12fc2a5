#include "HostImage.h"

#include <png.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace QHost
{
namespace
{
uint16_t Read16(const uint8_t* p) { return uint16_t(p[0] | (p[1] << 8)); }

uint32_t Read32(const uint8_t* p)
{
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

void Put16(std::vector<uint8_t>& out, uint32_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v)
{
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// A TGA pixel (B, G, R[, A]) as 0xAARRGGBB.
uint32_t TgaPixel(const uint8_t* p, unsigned bytes)
{
    const uint32_t a = bytes == 4 ? p[3] : 0xFF;
    return (a << 24) | (uint32_t(p[2]) << 16) | (uint32_t(p[1]) << 8) | p[0];
}

bool SizeAcceptable(uint32_t w, uint32_t h)
{
    return w > 0 && h > 0 && w <= kMaxImageSide && h <= kMaxImageSide;
}
} // namespace

bool DecodeTga(const uint8_t* data, size_t size, Image& out)
{
    if (!data || size < 18)
        return false;
    const unsigned idLength = data[0];
    const unsigned colourMapType = data[1];
    const unsigned imageType = data[2];
    const unsigned mapLength = Read16(data + 5);
    const unsigned mapEntryBits = data[7];
    const uint32_t width = Read16(data + 12);
    const uint32_t height = Read16(data + 14);
    const unsigned depth = data[16];
    const unsigned descriptor = data[17];

    if (imageType != 2 && imageType != 10)
        return false;
    if (colourMapType > 1 || (depth != 24 && depth != 32) || !SizeAcceptable(width, height))
        return false;
    const unsigned bytes = depth / 8;

    // A colour map may be present in a true-colour file; it is skipped.
    size_t pos = 18 + size_t(idLength);
    if (colourMapType == 1)
        pos += size_t(mapLength) * ((mapEntryBits + 7) / 8);
    if (pos > size)
        return false;

    const size_t count = size_t(width) * height;
    std::vector<uint32_t> pixels(count);
    if (imageType == 2)
    {
        if (size - pos < count * bytes)
            return false;
        for (size_t i = 0; i < count; ++i, pos += bytes)
            pixels[i] = TgaPixel(data + pos, bytes);
    }
    else
    {
        size_t i = 0;
        while (i < count)
        {
            if (pos >= size)
                return false;
            const unsigned header = data[pos++];
            const size_t run = (header & 0x7F) + 1;
            if (run > count - i)
                return false; // a packet running past the image
            if (header & 0x80)
            {
                if (size - pos < bytes)
                    return false;
                const uint32_t v = TgaPixel(data + pos, bytes);
                pos += bytes;
                for (size_t k = 0; k < run; ++k)
                    pixels[i++] = v;
            }
            else
            {
                if (size - pos < run * bytes)
                    return false;
                for (size_t k = 0; k < run; ++k, pos += bytes)
                    pixels[i++] = TgaPixel(data + pos, bytes);
            }
        }
    }

    // Bit 5 of the descriptor: rows stored from the top; bit 4: pixels of a
    // row stored from the right.
    const bool fromTop = (descriptor & 0x20) != 0;
    const bool fromRight = (descriptor & 0x10) != 0;
    out.width = width;
    out.height = height;
    out.argb.assign(count, 0);
    for (uint32_t row = 0; row < height; ++row)
    {
        const uint32_t y = fromTop ? row : height - 1 - row;
        for (uint32_t col = 0; col < width; ++col)
        {
            const uint32_t x = fromRight ? width - 1 - col : col;
            out.argb[size_t(y) * width + x] = pixels[size_t(row) * width + col];
        }
    }
    return true;
}

std::vector<uint8_t> EncodeTga(const Image& image, bool rle, bool topLeft)
{
    std::vector<uint8_t> out;
    out.push_back(0);                // no image id
    out.push_back(0);                // no colour map
    out.push_back(rle ? 10 : 2);     // true colour
    for (int i = 0; i < 5; ++i)
        out.push_back(0);            // colour map fields
    Put16(out, 0);                   // x origin
    Put16(out, 0);                   // y origin
    Put16(out, image.width);
    Put16(out, image.height);
    out.push_back(32);
    out.push_back(uint8_t(8 | (topLeft ? 0x20 : 0))); // 8 alpha bits

    auto pixelAt = [&](uint32_t row, uint32_t x) {
        const uint32_t y = topLeft ? row : image.height - 1 - row;
        return image.at(x, y);
    };
    auto putPixel = [&](uint32_t v) {
        out.push_back(uint8_t(v));
        out.push_back(uint8_t(v >> 8));
        out.push_back(uint8_t(v >> 16));
        out.push_back(uint8_t(v >> 24));
    };

    for (uint32_t row = 0; row < image.height; ++row)
    {
        if (!rle)
        {
            for (uint32_t x = 0; x < image.width; ++x)
                putPixel(pixelAt(row, x));
            continue;
        }
        // Packets stay within a row, as the format recommends.
        uint32_t x = 0;
        while (x < image.width)
        {
            uint32_t run = 1;
            while (x + run < image.width && run < 128 && pixelAt(row, x + run) == pixelAt(row, x))
                ++run;
            if (run > 1)
            {
                out.push_back(uint8_t(0x80 | (run - 1)));
                putPixel(pixelAt(row, x));
                x += run;
                continue;
            }
            uint32_t raw = 1;
            while (x + raw < image.width && raw < 128 &&
                   !(x + raw + 1 < image.width && pixelAt(row, x + raw) == pixelAt(row, x + raw + 1)))
                ++raw;
            out.push_back(uint8_t(raw - 1));
            for (uint32_t k = 0; k < raw; ++k)
                putPixel(pixelAt(row, x + k));
            x += raw;
        }
    }
    return out;
}

bool DecodeTex(const uint8_t* data, size_t size, Image& out)
{
    if (!data || size < kTexHeaderSize || std::memcmp(data, "QTEX", 4) != 0)
        return false;
    const uint32_t width = Read32(data + 4);
    const uint32_t height = Read32(data + 8);
    if (!SizeAcceptable(width, height))
        return false;
    const size_t count = size_t(width) * height;
    if ((size - kTexHeaderSize) / 4 < count)
        return false;
    out.width = width;
    out.height = height;
    out.argb.resize(count);
    for (size_t i = 0; i < count; ++i)
        out.argb[i] = Read32(data + kTexHeaderSize + i * 4);
    return true;
}

std::vector<uint8_t> EncodeTex(const Image& image)
{
    std::vector<uint8_t> out = {'Q', 'T', 'E', 'X'};
    Put32(out, image.width);
    Put32(out, image.height);
    for (uint32_t v : image.argb)
        Put32(out, v);
    return out;
}

bool WritePngFile(const std::string& path, const Image& image, std::string* error)
{
    auto fail = [&](const std::string& why) {
        if (error)
            *error = why;
        return false;
    };
    if (image.width == 0 || image.height == 0 ||
        image.argb.size() != size_t(image.width) * image.height)
        return fail("empty image");

    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path.c_str(), "wb"), &std::fclose);
    if (!file)
        return fail("cannot open " + path + " for writing");

    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png)
        return fail("libpng: cannot create a write structure");
    png_infop info = png_create_info_struct(png);
    if (!info)
    {
        png_destroy_write_struct(&png, nullptr);
        return fail("libpng: cannot create an info structure");
    }

    // Rows converted before libpng may jump back here, so nothing with a
    // destructor is created between setjmp and the end of the writing.
    std::vector<uint8_t> rgba(size_t(image.width) * image.height * 4);
    for (size_t i = 0; i < image.argb.size(); ++i)
    {
        const uint32_t v = image.argb[i];
        rgba[i * 4 + 0] = uint8_t(v >> 16);
        rgba[i * 4 + 1] = uint8_t(v >> 8);
        rgba[i * 4 + 2] = uint8_t(v);
        rgba[i * 4 + 3] = uint8_t(v >> 24);
    }
    std::vector<png_bytep> rows(image.height);
    for (uint32_t y = 0; y < image.height; ++y)
        rows[y] = rgba.data() + size_t(y) * image.width * 4;

    if (setjmp(png_jmpbuf(png)))
    {
        png_destroy_write_struct(&png, &info);
        return fail("libpng: error while writing " + path);
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, image.width, image.height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);

    if (std::fflush(file.get()) != 0)
        return fail("cannot write " + path);
    return true;
}
} // namespace QHost
