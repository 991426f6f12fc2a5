// Pixel images of the stand-in host: decoding of the texture files it loads
// (".tga" and the host's own ".tex") and PNG output of frames.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace QHost
{
// An image as 32-bit 0xAARRGGBB values, rows from the top.
struct Image
{
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint32_t> argb;

    uint32_t at(uint32_t x, uint32_t y) const { return argb[size_t(y) * width + x]; }
};

// Largest side accepted from a file; larger images are refused rather than
// allocated.
constexpr uint32_t kMaxImageSide = 16384;

// Truevision TGA: true-colour images of 24 or 32 bits per pixel, uncompressed
// (type 2) or run-length encoded (type 10), any origin corner. 24-bit pixels
// are opaque. Returns false on anything else or on truncated data.
bool DecodeTga(const uint8_t* data, size_t size, Image& out);

// Writes a 32-bit TGA (type 2 or, with rle, type 10), origin bottom-left
// unless topLeft is set.
std::vector<uint8_t> EncodeTga(const Image& image, bool rle, bool topLeft);

// The host's own texture format ".tex":
//   bytes 0-3   magic "QTEX"
//   bytes 4-7   width, unsigned 32-bit little-endian
//   bytes 8-11  height, unsigned 32-bit little-endian
//   then width * height pixels, rows from the top, 4 bytes each in the order
//   B, G, R, A (a little-endian 0xAARRGGBB value).
constexpr size_t kTexHeaderSize = 12;
bool DecodeTex(const uint8_t* data, size_t size, Image& out);
std::vector<uint8_t> EncodeTex(const Image& image);

// Writes the image as an 8-bit RGBA PNG. Returns false (with a message in
// error) when the file cannot be written.
bool WritePngFile(const std::string& path, const Image& image, std::string* error = nullptr);
} // namespace QHost
