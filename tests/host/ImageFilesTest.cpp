// Texture files the host reads (.tga, .tex) and the PNG frames it writes.
#include <gtest/gtest.h>

#include <png.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "HostImage.h"
#include "HostRender.h"

using namespace QHost;

namespace
{
constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0xFF0000FF;
constexpr uint32_t kWhite = 0xFFFFFFFF;

// An 18-byte TGA header.
std::vector<uint8_t> Header(uint8_t type, uint16_t w, uint16_t h, uint8_t depth, uint8_t descriptor)
{
    return {0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0, uint8_t(w), uint8_t(w >> 8),
            uint8_t(h), uint8_t(h >> 8), depth, descriptor};
}

void Append(std::vector<uint8_t>& v, std::initializer_list<uint8_t> bytes)
{
    v.insert(v.end(), bytes);
}

bool Decode(const std::vector<uint8_t>& bytes, Image& out)
{
    return DecodeTga(bytes.data(), bytes.size(), out);
}

Image Sample(uint32_t w, uint32_t h)
{
    Image image;
    image.width = w;
    image.height = h;
    for (uint32_t i = 0; i < w * h; ++i)
        image.argb.push_back(i % 3 == 0 ? kRed : (0x10000000u * (i % 16)) | (i * 2654435761u >> 8));
    return image;
}

std::string TempPath(const std::string& name)
{
    return (std::filesystem::temp_directory_path() /
            (name + "_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".png"))
        .string();
}
} // namespace

TEST(TgaTest, UncompressedBottomLeftOriginPutsFirstRowAtTheBottom)
{
    // 2 x 2, 24 bits, B G R per pixel, rows stored bottom first.
    std::vector<uint8_t> tga = Header(2, 2, 2, 24, 0);
    Append(tga, {0, 0, 255, 0, 255, 0});     // bottom row: red, green
    Append(tga, {255, 0, 0, 255, 255, 255}); // top row: blue, white
    Image image;
    ASSERT_TRUE(Decode(tga, image));
    EXPECT_EQ(image.width, 2u);
    EXPECT_EQ(image.height, 2u);
    EXPECT_EQ(image.at(0, 0), kBlue);
    EXPECT_EQ(image.at(1, 0), kWhite);
    EXPECT_EQ(image.at(0, 1), kRed);
    EXPECT_EQ(image.at(1, 1), kGreen);
}

TEST(TgaTest, TopLeftOriginAndAlphaOf32BitPixels)
{
    std::vector<uint8_t> tga = Header(2, 2, 1, 32, 0x28);
    Append(tga, {0, 0, 255, 0x80, 255, 0, 0, 0x00}); // red half alpha, blue transparent
    Image image;
    ASSERT_TRUE(Decode(tga, image));
    EXPECT_EQ(image.at(0, 0), 0x80FF0000u);
    EXPECT_EQ(image.at(1, 0), 0x000000FFu);
}

TEST(TgaTest, RightToLeftRowsAreMirrored)
{
    std::vector<uint8_t> tga = Header(2, 2, 1, 24, 0x30);
    Append(tga, {0, 0, 255, 0, 255, 0});
    Image image;
    ASSERT_TRUE(Decode(tga, image));
    EXPECT_EQ(image.at(0, 0), kGreen);
    EXPECT_EQ(image.at(1, 0), kRed);
}

TEST(TgaTest, RunLengthPacketsBothKinds)
{
    // 4 x 2, top-left origin: a run of three red, one raw green, then a raw
    // packet of two (blue, white) and a run of two red.
    std::vector<uint8_t> tga = Header(10, 4, 2, 24, 0x20);
    Append(tga, {0x82, 0, 0, 255});
    Append(tga, {0x00, 0, 255, 0});
    Append(tga, {0x01, 255, 0, 0, 255, 255, 255});
    Append(tga, {0x81, 0, 0, 255});
    Image image;
    ASSERT_TRUE(Decode(tga, image));
    const uint32_t expected[8] = {kRed, kRed, kRed, kGreen, kBlue, kWhite, kRed, kRed};
    for (uint32_t i = 0; i < 8; ++i)
        EXPECT_EQ(image.argb[i], expected[i]) << i;
}

TEST(TgaTest, RunLengthPacketMayCrossRowsButNotTheImageEnd)
{
    std::vector<uint8_t> crossing = Header(10, 2, 2, 32, 0);
    Append(crossing, {0x83, 1, 2, 3, 4});
    Image image;
    ASSERT_TRUE(Decode(crossing, image));
    EXPECT_EQ(image.at(1, 0), 0x04030201u);

    std::vector<uint8_t> overrun = Header(10, 2, 2, 32, 0);
    Append(overrun, {0x84, 1, 2, 3, 4});
    EXPECT_FALSE(Decode(overrun, image));
    std::vector<uint8_t> rawOverrun = Header(10, 1, 1, 24, 0);
    Append(rawOverrun, {0x01, 1, 2, 3, 4, 5, 6});
    EXPECT_FALSE(Decode(rawOverrun, image));
}

TEST(TgaTest, TruncatedFilesAreRefused)
{
    Image image;
    std::vector<uint8_t> tga = Header(2, 2, 2, 24, 0);
    EXPECT_FALSE(Decode(tga, image));
    Append(tga, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
    EXPECT_FALSE(Decode(tga, image)); // one byte short
    tga.push_back(12);
    EXPECT_TRUE(Decode(tga, image));

    std::vector<uint8_t> rle = Header(10, 2, 1, 24, 0);
    Append(rle, {0x81, 1, 2}); // packet cut inside its pixel
    EXPECT_FALSE(Decode(rle, image));
    EXPECT_FALSE(DecodeTga(tga.data(), 10, image));
    EXPECT_FALSE(DecodeTga(nullptr, 0, image));
}

TEST(TgaTest, OtherKindsAreRefused)
{
    Image image;
    for (uint8_t type : {0, 1, 3, 9, 11})
    {
        std::vector<uint8_t> tga = Header(type, 1, 1, 24, 0);
        Append(tga, {1, 2, 3});
        EXPECT_FALSE(Decode(tga, image)) << int(type);
    }
    for (uint8_t depth : {8, 15, 16})
    {
        std::vector<uint8_t> tga = Header(2, 1, 1, depth, 0);
        Append(tga, {1, 2, 3, 4});
        EXPECT_FALSE(Decode(tga, image)) << int(depth);
    }
    std::vector<uint8_t> empty = Header(2, 0, 4, 24, 0);
    EXPECT_FALSE(Decode(empty, image));
}

TEST(TgaTest, IdFieldAndColourMapAreSkipped)
{
    // Image id of 3 bytes, a colour map of 2 entries of 24 bits.
    std::vector<uint8_t> tga = Header(2, 1, 1, 24, 0);
    tga[0] = 3;
    tga[1] = 1;
    tga[5] = 2;
    tga[7] = 24;
    Append(tga, {'a', 'b', 'c'});
    Append(tga, {9, 9, 9, 9, 9, 9});
    Append(tga, {0, 255, 0});
    Image image;
    ASSERT_TRUE(Decode(tga, image));
    EXPECT_EQ(image.at(0, 0), kGreen);
}

TEST(TgaTest, WrittenFilesReadBackInEveryLayout)
{
    const Image image = Sample(37, 5);
    for (bool rle : {false, true})
        for (bool topLeft : {false, true})
        {
            const std::vector<uint8_t> bytes = EncodeTga(image, rle, topLeft);
            Image back;
            ASSERT_TRUE(Decode(bytes, back)) << rle << topLeft;
            EXPECT_EQ(back.argb, image.argb) << rle << topLeft;
        }
}

TEST(TexTest, HeaderAndLittleEndianPixels)
{
    std::vector<uint8_t> tex = {'Q', 'T', 'E', 'X', 2, 0, 0, 0, 1, 0, 0, 0};
    Append(tex, {0x40, 0x30, 0x20, 0x10, 0xFF, 0xEE, 0xDD, 0xCC});
    Image image;
    ASSERT_TRUE(DecodeTex(tex.data(), tex.size(), image));
    EXPECT_EQ(image.width, 2u);
    EXPECT_EQ(image.height, 1u);
    EXPECT_EQ(image.at(0, 0), 0x10203040u);
    EXPECT_EQ(image.at(1, 0), 0xCCDDEEFFu);

    EXPECT_FALSE(DecodeTex(tex.data(), tex.size() - 1, image));
    tex[0] = 'X';
    EXPECT_FALSE(DecodeTex(tex.data(), tex.size(), image));

    const Image sample = Sample(3, 4);
    const std::vector<uint8_t> bytes = EncodeTex(sample);
    ASSERT_TRUE(DecodeTex(bytes.data(), bytes.size(), image));
    EXPECT_EQ(image.argb, sample.argb);
}

TEST(TexTest, OversizedDimensionsAreRefusedBeforeAllocating)
{
    // 65536 x 65536 would need 16 GiB.
    std::vector<uint8_t> tex = {'Q', 'T', 'E', 'X', 0, 0, 1, 0, 0, 0, 1, 0, 1, 2, 3, 4};
    Image image;
    EXPECT_FALSE(DecodeTex(tex.data(), tex.size(), image));
}

TEST(PngTest, FrameWrittenAndReadBack)
{
    HostRender render(16, 8);
    render.setBackground(0xFF102030);
    render.clearFrame();
    Image quad;
    quad.width = quad.height = 1;
    quad.argb = {0x80FF0000};
    IQXHostTexture* tex = render.makeTexture(quad, true);
    const float scale[2] = {4, 4}, zero[3] = {0, 0, 0}, src[4] = {0, 0, 1, 1};
    const uint32_t white[4] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
    render.DrawQuadAlpha(2, 3, tex, scale, zero, src, white, 0);

    const std::string path = TempPath("qhost_frame");
    std::string error;
    ASSERT_TRUE(render.writePNG(path, &error)) << error;

    png_image png{};
    png.version = PNG_IMAGE_VERSION;
    ASSERT_TRUE(png_image_begin_read_from_file(&png, path.c_str())) << png.message;
    png.format = PNG_FORMAT_RGBA;
    std::vector<uint8_t> rgba(PNG_IMAGE_SIZE(png));
    ASSERT_TRUE(png_image_finish_read(&png, nullptr, rgba.data(), 0, nullptr)) << png.message;
    std::remove(path.c_str());

    ASSERT_EQ(png.width, 16u);
    ASSERT_EQ(png.height, 8u);
    for (uint32_t y = 0; y < 8; ++y)
        for (uint32_t x = 0; x < 16; ++x)
        {
            const uint8_t* p = rgba.data() + (y * 16 + x) * 4;
            const uint32_t v = (uint32_t(p[3]) << 24) | (uint32_t(p[0]) << 16) |
                               (uint32_t(p[1]) << 8) | p[2];
            ASSERT_EQ(v, render.pixel(int(x), int(y))) << x << "," << y;
        }
    // The blended quad is there, red over the background.
    const uint8_t* inside = rgba.data() + (3 * 16 + 2) * 4;
    EXPECT_NEAR(inside[0], 0x88, 1);
    EXPECT_NEAR(inside[2], 0x18, 1);
    EXPECT_EQ(inside[3], 0xFF);
}

TEST(PngTest, UnwritablePathFailsWithAMessage)
{
    HostRender render(4, 4);
    std::string error;
    EXPECT_FALSE(render.writePNG("/nonexistent-dir/qhost/frame.png", &error));
    EXPECT_NE(error.find("/nonexistent-dir/qhost/frame.png"), std::string::npos);
}
