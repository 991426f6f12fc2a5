// The host's software rasteriser: where quads land, how they are coloured,
// blended and clipped.
#include <gtest/gtest.h>

#include <cstdlib>

#include "HostRender.h"

using QHost::HostRender;
using QHost::HostTexture;
using QHost::Image;

namespace
{
constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0xFF0000FF;

Image Solid(uint32_t w, uint32_t h, uint32_t argb)
{
    Image image;
    image.width = w;
    image.height = h;
    image.argb.assign(size_t(w) * h, argb);
    return image;
}

int Channel(uint32_t v, int shift) { return int((v >> shift) & 0xFF); }

// Every channel within tolerance.
::testing::AssertionResult Near(uint32_t actual, uint32_t expected, int tolerance = 1)
{
    for (int shift = 0; shift < 32; shift += 8)
        if (std::abs(Channel(actual, shift) - Channel(expected, shift)) > tolerance)
            return ::testing::AssertionFailure()
                   << std::hex << "0x" << actual << " is not near 0x" << expected;
    return ::testing::AssertionSuccess();
}

class RasterTest : public ::testing::Test
{
protected:
    RasterTest() : render(64, 48)
    {
        render.setBackground(kBlack);
        render.clearFrame();
    }

    void Draw(int x, int y, IQXHostTexture* tex, float sx, float sy, const float src[4],
              const uint32_t colours[4], bool alpha)
    {
        const float scale[2] = {sx, sy};
        const float zero[3] = {0, 0, 0};
        if (alpha)
            render.DrawQuadAlpha(x, y, tex, scale, zero, src, colours, 0.5f);
        else
            render.DrawQuad(x, y, tex, scale, zero, src, colours, 0.5f);
    }

    // Number of frame pixels that are not the background.
    int Painted() const
    {
        int n = 0;
        for (uint32_t v : render.frame().argb)
            n += v != kBlack;
        return n;
    }

    HostRender render;
    const float whole[4] = {0, 0, 1, 1};
    const uint32_t white4[4] = {kWhite, kWhite, kWhite, kWhite};
};
} // namespace

TEST_F(RasterTest, QuadSizeIsSourceTexelsTimesScaleAtTopLeftCorner)
{
    HostTexture* tex = render.makeTexture(Solid(4, 4, kWhite), false);
    Draw(10, 20, tex, 2.0f, 3.0f, whole, white4, false);

    // 4 texels x 2 = 8 wide, 4 x 3 = 12 high, from (10, 20).
    EXPECT_EQ(render.pixel(10, 20), kWhite);
    EXPECT_EQ(render.pixel(17, 31), kWhite);
    EXPECT_EQ(render.pixel(9, 20), kBlack);
    EXPECT_EQ(render.pixel(18, 20), kBlack);
    EXPECT_EQ(render.pixel(10, 19), kBlack);
    EXPECT_EQ(render.pixel(10, 32), kBlack);
    EXPECT_EQ(Painted(), 8 * 12);
}

TEST_F(RasterTest, SourceRectangleSelectsTexelsAndSetsSize)
{
    // 8 x 8 texture in four 4 x 4 quadrants: red, green / blue, white.
    Image image = Solid(8, 8, kWhite);
    for (uint32_t y = 0; y < 8; ++y)
        for (uint32_t x = 0; x < 8; ++x)
            image.argb[y * 8 + x] = y < 4 ? (x < 4 ? kRed : kGreen) : (x < 4 ? kBlue : kWhite);
    HostTexture* tex = render.makeTexture(image, false);

    const float topRight[4] = {0.5f, 0.0f, 1.0f, 0.5f};
    Draw(0, 0, tex, 1.0f, 1.0f, topRight, white4, false);
    EXPECT_EQ(render.pixel(0, 0), kGreen);
    EXPECT_EQ(render.pixel(3, 3), kGreen);
    EXPECT_EQ(Painted(), 16);

    // The bottom-left quadrant magnified twice: 8 x 8 of blue.
    const float bottomLeft[4] = {0.0f, 0.5f, 0.5f, 1.0f};
    Draw(20, 20, tex, 2.0f, 2.0f, bottomLeft, white4, false);
    EXPECT_EQ(render.pixel(20, 20), kBlue);
    EXPECT_EQ(render.pixel(27, 27), kBlue);
    EXPECT_EQ(render.pixel(28, 27), kBlack);
}

TEST_F(RasterTest, NearestTexelAcrossAMagnifiedTexture)
{
    Image image = Solid(2, 1, kRed);
    image.argb[1] = kGreen;
    HostTexture* tex = render.makeTexture(image, false);
    Draw(0, 0, tex, 4.0f, 1.0f, whole, white4, false);
    for (int x = 0; x < 4; ++x)
        EXPECT_EQ(render.pixel(x, 0), kRed) << x;
    for (int x = 4; x < 8; ++x)
        EXPECT_EQ(render.pixel(x, 0), kGreen) << x;
}

TEST_F(RasterTest, TexelsAreMultipliedByTheColour)
{
    HostTexture* tex = render.makeTexture(Solid(1, 1, 0xFFFF8040), false);
    const uint32_t tint[4] = {0xFF80FF00, 0xFF80FF00, 0xFF80FF00, 0xFF80FF00};
    Draw(0, 0, tex, 4.0f, 4.0f, whole, tint, false);
    // r 255 * 128/255, g 128 * 255/255, b 64 * 0.
    EXPECT_TRUE(Near(render.pixel(1, 1), 0xFF808000));
}

TEST_F(RasterTest, CornerColoursComeTopLeftTopRightBottomRightBottomLeft)
{
    HostTexture* tex = render.makeTexture(Solid(1, 1, kWhite), false);
    const uint32_t corners[4] = {kRed, kGreen, kBlue, kWhite}; // TL, TR, BR, BL
    Draw(0, 0, tex, 40.0f, 40.0f, whole, corners, false);

    // Pixel centres next to the corners are within 1/80 of the corner colour.
    EXPECT_TRUE(Near(render.pixel(0, 0), kRed, 8));
    EXPECT_TRUE(Near(render.pixel(39, 0), kGreen, 8));
    EXPECT_TRUE(Near(render.pixel(39, 39), kBlue, 8));
    EXPECT_TRUE(Near(render.pixel(0, 39), kWhite, 8));
    // The middle of the top edge is half red, half green.
    EXPECT_TRUE(Near(render.pixel(20, 0), 0xFF7F8000, 8));
}

TEST_F(RasterTest, DrawQuadAlphaBlendsSourceOverTheFrame)
{
    render.setBackground(0xFF0000FF);
    render.clearFrame();
    HostTexture* half = render.makeTexture(Solid(1, 1, 0x80FFFFFF), true);
    Draw(0, 0, half, 2.0f, 2.0f, whole, white4, true);
    // Half white over blue.
    EXPECT_TRUE(Near(render.pixel(0, 0), 0xFF8080FF));

    // The colour's alpha counts too: a quarter of red over blue.
    HostTexture* opaque = render.makeTexture(Solid(1, 1, kRed), true);
    const uint32_t quarter[4] = {0x40FFFFFF, 0x40FFFFFF, 0x40FFFFFF, 0x40FFFFFF};
    Draw(10, 0, opaque, 2.0f, 2.0f, whole, quarter, true);
    EXPECT_TRUE(Near(render.pixel(10, 0), 0xFF4000BF));

    // A transparent texel leaves the frame as it was.
    HostTexture* clear = render.makeTexture(Solid(1, 1, 0x00FF0000), true);
    Draw(20, 0, clear, 2.0f, 2.0f, whole, white4, true);
    EXPECT_EQ(render.pixel(20, 0), 0xFF0000FFu);
}

TEST_F(RasterTest, DrawQuadCopiesWithoutBlending)
{
    render.setBackground(0xFF0000FF);
    render.clearFrame();
    HostTexture* half = render.makeTexture(Solid(1, 1, 0x80FFFFFF), true);
    const uint32_t grey[4] = {0xFF808080, 0xFF808080, 0xFF808080, 0xFF808080};
    Draw(0, 0, half, 2.0f, 2.0f, whole, grey, false);
    // Modulated, then written over the frame whatever the alpha.
    EXPECT_TRUE(Near(render.pixel(0, 0), 0xFF808080));
    EXPECT_EQ(render.drawQuadCount, 1u);
    EXPECT_EQ(render.drawQuadAlphaCount, 0u);
    ASSERT_EQ(render.draws.size(), 1u);
    EXPECT_FALSE(render.draws[0].alpha);
    EXPECT_EQ(render.draws[0].colours[0], 0xFF808080u);
}

TEST_F(RasterTest, QuadsAreClippedAtEveryFrameEdge)
{
    // 8 texels in a row, each its own colour, so clipping can be seen to
    // keep the texel mapping.
    Image row = Solid(8, 1, kBlack);
    for (uint32_t x = 0; x < 8; ++x)
        row.argb[x] = 0xFF000000u | (x + 1) * 0x10;
    HostTexture* strip = render.makeTexture(row, false);
    Draw(-4, 0, strip, 1.0f, 1.0f, whole, white4, false);
    EXPECT_EQ(render.pixel(0, 0), 0xFF000050u); // texel 4
    EXPECT_EQ(render.pixel(3, 0), 0xFF000080u); // texel 7
    EXPECT_EQ(render.pixel(4, 0), kBlack);

    render.clearFrame();
    HostTexture* tex = render.makeTexture(Solid(1, 1, kWhite), false);
    // Over the top-left, right and bottom edges and the far corner.
    Draw(-5, -5, tex, 10.0f, 10.0f, whole, white4, false);
    EXPECT_EQ(Painted(), 25);
    Draw(60, 10, tex, 10.0f, 2.0f, whole, white4, false);
    EXPECT_EQ(render.pixel(63, 10), kWhite);
    Draw(10, 45, tex, 2.0f, 10.0f, whole, white4, false);
    EXPECT_EQ(render.pixel(10, 47), kWhite);
    EXPECT_EQ(Painted(), 25 + 4 * 2 + 2 * 3);

    // Wholly outside, or huge: nothing beyond the frame is touched.
    render.clearFrame();
    Draw(64, 0, tex, 5.0f, 5.0f, whole, white4, false);
    Draw(0, -10, tex, 5.0f, 5.0f, whole, white4, false);
    EXPECT_EQ(Painted(), 0);
    Draw(-1000000, -1000000, tex, 3.0e6f, 3.0e6f, whole, white4, false);
    EXPECT_EQ(Painted(), 64 * 48);
}

TEST_F(RasterTest, MirroredSourceRectangleDrawsMirrored)
{
    Image image = Solid(2, 1, kRed);
    image.argb[1] = kGreen;
    HostTexture* tex = render.makeTexture(image, false);
    // Right before left: the scale comes out negative, the size positive.
    const float mirrored[4] = {1.0f, 0.0f, 0.0f, 1.0f};
    Draw(0, 0, tex, -2.0f, 1.0f, mirrored, white4, false);
    EXPECT_EQ(render.pixel(0, 0), kGreen);
    EXPECT_EQ(render.pixel(3, 0), kRed);
    EXPECT_EQ(Painted(), 4);
}

TEST_F(RasterTest, EmptyOrForeignTexturesDrawNothing)
{
    HostTexture* tex = render.makeTexture(Solid(4, 4, kWhite), false);
    const float empty[4] = {0.5f, 0.0f, 0.5f, 1.0f};
    Draw(0, 0, tex, 1.0f, 1.0f, empty, white4, false);
    EXPECT_EQ(Painted(), 0);

    tex->Release();
    Draw(0, 0, tex, 1.0f, 1.0f, whole, white4, true);
    Draw(0, 0, nullptr, 1.0f, 1.0f, whole, white4, false);
    EXPECT_EQ(render.invalidTextureDraws, 2u);
    EXPECT_EQ(Painted(), 0);
}
