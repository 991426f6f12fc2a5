#include "render/TextPlacement.h"

#include <algorithm>

namespace QGUI
{
namespace
{
bool IsBreak(CEGUI::utf32 c, TextBreaks breaks)
{
    return c == '\t' || c == '\r' || c == '\n' || (breaks == TextBreaks::Spaces && c == ' ');
}

// Characters from index up to the next break character; 1 when a break
// character stands at index.
size_t RunLength(const CEGUI::String& text, size_t index, TextBreaks breaks)
{
    if (IsBreak(text[index], breaks))
        return 1;
    size_t end = index;
    while (end < text.length() && !IsBreak(text[end], breaks))
        ++end;
    return end - index;
}

// Whether the run of count characters at start fits into room (measured at
// scale 1.0); adds its width to used when it does. fit is the number of
// the run's characters whose advances fit. A text is never narrower than
// its beginning, so a long run that does not fit is ruled out by measuring
// only a little more than the characters that fit.
bool RunFits(const CEGUI::Font& font, const CEGUI::String& line, size_t start, size_t count,
             float room, float& used, size_t& fit)
{
    fit = std::min(font.getCharAtPixel(line, start, room), start + count) - start;
    const size_t probe = std::min(fit + 2, count);
    if (probe < count && font.getTextExtent(line.substr(start, probe)) > room)
        return false;
    const float extent = font.getTextExtent(line.substr(start, count));
    if (extent > room)
        return false;
    used += extent;
    return true;
}

// Draws one line and moves the area's top down by a line.
void DrawLine(CEGUI::GeometryBuffer& buffer, const CEGUI::Font& font, const CEGUI::String& line,
              CEGUI::Rectf& area, TextAlignment alignment, const TextStyle& style)
{
    PlaceTextLine(buffer, font, line, area, alignment, style);
    area.d_min.d_y += font.getLineSpacing(style.yScale);
}

// Breaks one line (without its "\n") into pieces no wider than width.
int WrapLine(CEGUI::GeometryBuffer& buffer, const CEGUI::Font& font, const CEGUI::String& line,
             CEGUI::Rectf& area, float width, TextAlignment alignment, const TextStyle& style,
             TextBreaks breaks)
{
    int lines = 0;
    size_t pos = 0;
    while (pos < line.length())
    {
        // A wrapped line does not start with the spaces it was broken at.
        if (lines > 0 && breaks == TextBreaks::Spaces)
        {
            while (pos < line.length() && line[pos] == ' ')
                ++pos;
            if (pos == line.length())
                break;
        }
        size_t end = pos;
        size_t fit = 0;
        float used = 0.0f;
        while (end < line.length())
        {
            const size_t run = RunLength(line, end, breaks);
            if (!RunFits(font, line, end, run, width - used, used, fit))
                break;
            end += run;
        }
        // Even the first run is too wide: it is cut after the characters
        // that fit, at least one.
        if (end == pos)
            end = pos + (fit > 0 ? fit : 1);
        DrawLine(buffer, font, line.substr(pos, end - pos), area, alignment, style);
        ++lines;
        pos = end;
    }
    return lines;
}
} // namespace

TextFormat TextFormatOf(int code)
{
    if (code < 0 || code >= TEXT_FORMAT_COUNT)
        code = 0;
    return TextFormat{static_cast<TextAlignment>(code % 4), code >= 4};
}

void PlaceTextLine(CEGUI::GeometryBuffer& buffer, const CEGUI::Font& font,
                   const CEGUI::String& line, const CEGUI::Rectf& area, TextAlignment alignment,
                   const TextStyle& style)
{
    if (line.empty())
        return;
    const float width = area.getWidth();
    const float extent = alignment == TEXT_LEFT ? 0.0f : font.getTextExtent(line, style.xScale);
    float x = area.left();
    float spaceExtra = 0.0f;
    switch (alignment)
    {
    case TEXT_RIGHT:
        x = area.right() - extent;
        break;
    case TEXT_CENTRED:
        x = area.left() + (width - extent) / 2.0f;
        break;
    case TEXT_JUSTIFIED:
    {
        size_t spaces = 0;
        for (size_t i = 0; i < line.length(); ++i)
            spaces += line[i] == ' ';
        if (spaces > 0 && width > extent)
            spaceExtra = (width - extent) / static_cast<float>(spaces);
        break;
    }
    case TEXT_LEFT:
        break;
    }
    font.drawText(buffer, line, CEGUI::Vector2f(x, area.top()), style.clip, style.colours,
                  spaceExtra, style.xScale, style.yScale);
}

int PlaceText(CEGUI::GeometryBuffer& buffer, const CEGUI::Font& font, const CEGUI::String& text,
              const CEGUI::Rectf& area, int format, const TextStyle& style, TextBreaks breaks)
{
    const TextFormat f = TextFormatOf(format);
    const float width = area.getWidth();
    CEGUI::Rectf pen = area;
    int lines = 0;
    size_t start = 0;
    while (start < text.length())
    {
        size_t end = text.find('\n', start);
        const bool lastSegment = end == CEGUI::String::npos;
        if (lastSegment)
            end = text.length();
        const CEGUI::String line = text.substr(start, end - start);
        int drawn = 0;
        if (f.wrap && width > 0.0f)
            drawn = WrapLine(buffer, font, line, pen, width, f.alignment, style, breaks);
        else
        {
            DrawLine(buffer, font, line, pen, f.alignment, style);
            drawn = 1;
        }
        // An empty line still takes its place.
        if (drawn == 0)
        {
            pen.d_min.d_y += font.getLineSpacing(style.yScale);
            drawn = 1;
        }
        lines += drawn;
        start = lastSegment ? text.length() : end + 1;
    }
    return lines;
}
} // namespace QGUI
