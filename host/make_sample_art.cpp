// Draws the texture of the sample interface style, QXLook.tga: the frame
// pieces, three button states, an icon, the mouse arrow, the title bar, the
// close button and the file browser's folder and file (see SampleArt.h). Usage: make_sample_art <output .tga>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "HostImage.h"
#include "SampleArt.h"

using namespace QHost;
using namespace QHost::SampleArt;

namespace
{
void Put(Image& image, int x, int y, uint32_t argb)
{
    image.argb[size_t(y) * image.width + size_t(x)] = argb;
}

uint32_t Mix(uint32_t a, uint32_t b, float t)
{
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8)
    {
        const float ca = float((a >> shift) & 0xFF);
        const float cb = float((b >> shift) & 0xFF);
        out |= uint32_t(std::lround(ca + (cb - ca) * t)) << shift;
    }
    return out;
}

// The 24 x 24 frame panel: a dark outline, a gold rim two pixels wide and
// the plain background inside.
void DrawFrame(Image& image)
{
    const int size = 3 * kFramePiece;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
        {
            const int edge = std::min(std::min(x, y), std::min(size - 1 - x, size - 1 - y));
            uint32_t c = kFrameBackground;
            if (edge == 0)
                c = kFrameOutline;
            else if (edge <= 2)
                c = kFrameGold;
            Put(image, x, y, c);
        }
}

// A button face: vertical gradient inside a one-pixel outline.
void DrawButton(Image& image, const Piece& p, uint32_t top, uint32_t bottom)
{
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
        {
            const bool border = x == 0 || y == 0 || x == p.width - 1 || y == p.height - 1;
            const uint32_t c = border ? kFrameOutline : Mix(top, bottom, float(y) / (p.height - 1));
            Put(image, p.x + x, p.y + y, c);
        }
}

// The title bar: a dark top line, a gradient, and the gold rim as its
// bottom line; every column is alike, so it stretches to any width.
void DrawTitlebar(Image& image)
{
    const Piece& p = kTitlebar;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
        {
            uint32_t c = Mix(kTitlebarTop, kTitlebarBottom, float(y) / (p.height - 1));
            if (y == 0)
                c = kFrameOutline;
            else if (y >= p.height - 2)
                c = kFrameGold;
            Put(image, p.x + x, p.y + y, c);
        }
}

// A close button: a face with a white cross over its diagonals.
void DrawCloseButton(Image& image, const Piece& p, uint32_t face)
{
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
        {
            const bool border = x == 0 || y == 0 || x == p.width - 1 || y == p.height - 1;
            const bool inside = x >= 3 && y >= 3 && x <= p.width - 4 && y <= p.height - 4;
            const bool cross =
                inside && (std::abs(x - y) <= 1 || std::abs(x + y - (p.width - 1)) <= 1);
            uint32_t c = face;
            if (border)
                c = kFrameOutline;
            else if (cross)
                c = kCloseCross;
            Put(image, p.x + x, p.y + y, c);
        }
}

// A round gem: a radial gradient with an outline, transparent around it.
void DrawIcon(Image& image)
{
    const Piece& p = kIcon;
    const float cx = (p.width - 1) / 2.0f;
    const float cy = (p.height - 1) / 2.0f;
    const float radius = p.width / 2.0f - 1.0f;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
        {
            const float d = std::hypot(x - cx, y - cy);
            uint32_t c = 0x00000000;
            if (d <= radius - 1.5f)
            {
                const float hx = std::hypot(x - (cx - 5), y - (cy - 5)) / (radius * 1.6f);
                c = Mix(0xFFFFE080, 0xFFC02010, std::min(hx, 1.0f));
            }
            else if (d <= radius)
                c = kIconOutline;
            Put(image, p.x + x, p.y + y, c);
        }
}

// The mouse arrow: X outline, W fill, '.' transparent.
void DrawArrow(Image& image)
{
    static const char* const rows[] = {
        "X...........", "XX..........", "XWX.........", "XWWX........", "XWWWX.......",
        "XWWWWX......", "XWWWWWX.....", "XWWWWWWX....", "XWWWWWWWX...", "XWWWWWWWWX..",
        "XWWWWWWWWWX.", "XWWWWWWXXXXX", "XWWWXWWX....", "XWWXXWWX....", "XWX..XWWX...",
        "XX...XWWX...", "X.....XWWX..", "......XWWX..", ".......XX..."};
    const Piece& p = kMouseArrow;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
        {
            const char k = rows[y][x];
            Put(image, p.x + x, p.y + y, k == 'X' ? 0xFF000000 : k == 'W' ? 0xFFFFFFFF : 0x00000000);
        }
}
// A folder: a tab at the top left over a body, both outlined; '.' is
// transparent.
void DrawFolder(Image& image)
{
    static const char* const rows[] = {
        ".XXXXXX.........", "XFFFFFFX........", "XXXXXXXXXXXXXXXX", "XFFFFFFFFFFFFFFX",
        "XFFFFFFFFFFFFFFX", "XFFFFFFFFFFFFFFX", "XFFFFFFFFFFFFFFX", "XFFFFFFFFFFFFFFX",
        "XFFFFFFFFFFFFFFX", "XFFFFFFFFFFFFFFX", "XFFFFFFFFFFFFFFX", "XFFFFFFFFFFFFFFX",
        "XFFFFFFFFFFFFFFX", "XXXXXXXXXXXXXXXX"};
    const Piece& p = kFolder;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
        {
            const char k = rows[y][x];
            Put(image, p.x + x, p.y + y, k == 'X' ? kFrameOutline : k == 'F' ? kFolderFill : 0x00000000);
        }
}

// A page with its top right corner folded over.
void DrawFile(Image& image)
{
    const Piece& p = kFile;
    const int fold = 4;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x)
        {
            const int corner = x - (p.width - 1 - fold); // > 0 right of the fold's start
            uint32_t c = kFileFill;
            if (corner > y)
                c = 0x00000000; // cut away
            else if (corner == y || (y == fold && corner >= 0) || (corner == 0 && y <= fold))
                c = kFrameOutline; // the cut and the folded flap's edges
            else if (x == 0 || y == 0 || x == p.width - 1 || y == p.height - 1)
                c = kFrameOutline;
            Put(image, p.x + x, p.y + y, c);
        }
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s <output .tga>\n", argv[0]);
        return 2;
    }
    Image image;
    image.width = image.height = kTextureSize;
    image.argb.assign(size_t(kTextureSize) * kTextureSize, 0x00000000);

    DrawFrame(image);
    DrawButton(image, kButtonNormal, 0xFF5A7AA8, 0xFF34507A);
    DrawButton(image, kButtonHover, 0xFF7A9AC8, 0xFF4A6A9A);
    DrawButton(image, kButtonPushed, 0xFF2A4064, 0xFF4A6A98);
    DrawIcon(image);
    DrawArrow(image);
    DrawTitlebar(image);
    DrawCloseButton(image, kCloseNormal, 0xFFA03028);
    DrawCloseButton(image, kCloseHover, 0xFFD04838);
    DrawCloseButton(image, kClosePushed, 0xFF702018);
    DrawFolder(image);
    DrawFile(image);
    for (int y = 0; y < kWhite.height; ++y)
        for (int x = 0; x < kWhite.width; ++x)
            Put(image, kWhite.x + x, kWhite.y + y, 0xFFFFFFFF);

    // Run-length encoded, rows from the bottom: the most common TGA layout.
    const std::vector<uint8_t> bytes = EncodeTga(image, true, false);
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    out.close();
    if (!out)
    {
        std::fprintf(stderr, "make_sample_art: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
