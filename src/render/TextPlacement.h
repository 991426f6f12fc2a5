// Text placed with the GUI library's fonts, which draw one line at a point:
// each line is aligned within an area (left, right, centred or justified),
// lines start at every "\n", and the wrapping formats break a line into
// pieces that fit the area's width. One Font::drawText call per line.
#pragma once

#include <CEGUI/ColourRect.h>
#include <CEGUI/Font.h>
#include <CEGUI/GeometryBuffer.h>
#include <CEGUI/Rect.h>

namespace QGUI
{
enum TextAlignment
{
    TEXT_LEFT = 0,
    TEXT_RIGHT = 1,
    TEXT_CENTRED = 2,
    TEXT_JUSTIFIED = 3
};

// Format codes 0 to 7: left, right, centred, justified, then the same four
// with word wrap.
constexpr int TEXT_FORMAT_COUNT = 8;

struct TextFormat
{
    TextAlignment alignment;
    bool wrap;
};

// The alignment and wrap of a format code; a code outside the table is
// left aligned without wrap.
TextFormat TextFormatOf(int code);

// Where a wrapping format may break a line besides inside a run that does
// not fit: at tabs and carriage returns only, or also at spaces.
enum class TextBreaks
{
    Tabs,
    Spaces
};

struct TextStyle
{
    CEGUI::ColourRect colours;
    float xScale = 1.0f;
    float yScale = 1.0f;
    const CEGUI::Rectf* clip = nullptr;
};

// Draws one line at the top of the area, placed between its left and right
// edges by the alignment. Justified text spreads the free width over the
// line's spaces (left aligned when there are none or no room is left).
void PlaceTextLine(CEGUI::GeometryBuffer& buffer, const CEGUI::Font& font,
                   const CEGUI::String& line, const CEGUI::Rectf& area, TextAlignment alignment,
                   const TextStyle& style);

// Draws a text by format code into the area, one line under the other, one
// line spacing (times the y scale) apart. Each "\n" ends a line. With a
// wrapping format and an area of positive width, a line is broken into
// pieces: runs (the characters up to the next break character; a break
// character is a run of its own) are measured at scale 1.0 and taken while
// they fit the width; a first run wider than the width is cut after the
// characters that fit, at least one. Returns the number of lines drawn.
int PlaceText(CEGUI::GeometryBuffer& buffer, const CEGUI::Font& font, const CEGUI::String& text,
              const CEGUI::Rectf& area, int format, const TextStyle& style, TextBreaks breaks);
} // namespace QGUI
