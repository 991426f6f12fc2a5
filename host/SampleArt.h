// The pictures of the sample interface style "QX": where each lies in the
// texture QXLook.tga (made at build time by make_sample_art) and the colours
// drawn. resource/UI/imagesets/QXLook.imageset names the same rectangles.
#pragma once

#include <cstdint>

namespace QHost
{
namespace SampleArt
{
struct Piece
{
    const char* name; // image name within the "QXLook" imageset
    int x, y, width, height;
};

constexpr int kTextureSize = 128;

// The frame: a 24 x 24 panel cut into 3 x 3 pieces of 8 x 8.
constexpr int kFramePiece = 8;
constexpr Piece kFramePieces[9] = {
    {"FrameTopLeft", 0, 0, 8, 8},     {"FrameTop", 8, 0, 8, 8},
    {"FrameTopRight", 16, 0, 8, 8},   {"FrameLeft", 0, 8, 8, 8},
    {"FrameBackground", 8, 8, 8, 8},  {"FrameRight", 16, 8, 8, 8},
    {"FrameBottomLeft", 0, 16, 8, 8}, {"FrameBottom", 8, 16, 8, 8},
    {"FrameBottomRight", 16, 16, 8, 8}};
constexpr Piece kButtonNormal = {"ButtonNormal", 32, 0, 48, 20};
constexpr Piece kButtonHover = {"ButtonHover", 32, 24, 48, 20};
constexpr Piece kButtonPushed = {"ButtonPushed", 32, 48, 48, 20};
constexpr Piece kIcon = {"Icon", 0, 32, 32, 32};
constexpr Piece kMouseArrow = {"MouseArrow", 96, 0, 12, 19};
// The frame window's title bar: a vertical gradient, stretched to any width.
constexpr Piece kTitlebar = {"Titlebar", 0, 64, 16, 24};
// The frame window's close button in its three states.
constexpr Piece kCloseNormal = {"CloseNormal", 112, 0, 14, 14};
constexpr Piece kCloseHover = {"CloseHover", 112, 16, 14, 14};
constexpr Piece kClosePushed = {"ClosePushed", 112, 32, 14, 14};
// The file browser's pictures of a folder and of a file.
constexpr Piece kFolder = {"Folder", 80, 72, 16, 14};
constexpr Piece kFile = {"File", 100, 72, 12, 14};
// Plain white, for looks that tint it (bars and their parts).
constexpr Piece kWhite = {"White", 96, 24, 8, 8};

// Colours, 0xAARRGGBB.
constexpr uint32_t kFrameBackground = 0xFF2B4466;
constexpr uint32_t kFrameOutline = 0xFF101820;
constexpr uint32_t kFrameGold = 0xFFC8A040;
constexpr uint32_t kIconOutline = 0xFF401008;
constexpr uint32_t kTitlebarTop = 0xFF4A70A8;
constexpr uint32_t kTitlebarBottom = 0xFF1C2E4C;
constexpr uint32_t kCloseCross = 0xFFFFFFFF;
constexpr uint32_t kFolderFill = 0xFFE0B040;
constexpr uint32_t kFileFill = 0xFFF0F0F0;
} // namespace SampleArt
} // namespace QHost
