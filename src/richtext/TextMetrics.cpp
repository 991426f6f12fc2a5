// Measuring and drawing rich text with a GUI library font.
#include "richtext/TextMetrics.h"

#include <CEGUI/ColourRect.h>
#include <CEGUI/Font.h>
#include <CEGUI/FontGlyph.h>
#include <CEGUI/Image.h>

#include <algorithm>

namespace QGUI
{
namespace
{
// Characters of text[start, start + count) that exist.
size_t ClampCount(const CEGUI::String& text, size_t start, size_t count)
{
    const size_t length = text.length();
    if (start >= length)
        return 0;
    return std::min(count, length - start);
}
} // namespace

void CFontMetrics::Reset(const CEGUI::Font* font)
{
    m_pFont = font;
    for (Advance& a : m_Cache)
        a = Advance{0.0f, 0.0f, false, false};
}

CFontMetrics::Advance CFontMetrics::LookUp(CEGUI::utf32 codePoint) const
{
    Advance a{0.0f, 0.0f, true, false};
    if (const CEGUI::FontGlyph* glyph = m_pFont->getGlyphData(codePoint))
    {
        a.present = true;
        a.advance = glyph->getAdvance(1.0f);
        // A glyph without an image covers only its advance.
        a.rendered = glyph->getImage() ? glyph->getRenderedAdvance(1.0f) : a.advance;
    }
    return a;
}

const CFontMetrics::Advance& CFontMetrics::GlyphAdvance(CEGUI::utf32 codePoint) const
{
    if (codePoint < kCachedCodePoints)
    {
        Advance& slot = m_Cache[codePoint];
        if (!slot.known)
            slot = LookUp(codePoint);
        return slot;
    }
    m_Scratch = LookUp(codePoint);
    return m_Scratch;
}

float CFontMetrics::GetLineSpacing() const
{
    return m_pFont ? m_pFont->getLineSpacing(1.0f) : 0.0f;
}

float CFontMetrics::GetTextExtent(const CEGUI::String& text, size_t start, size_t count,
                                  float offset, float limit) const
{
    if (!m_pFont)
        return 0.0f;
    count = ClampCount(text, start, count);
    const CEGUI::utf32* chars = text.ptr() + start;
    float edge = 0.0f;
    float pen = 0.0f;
    for (size_t i = 0; i < count; ++i)
    {
        const Advance& a = GlyphAdvance(chars[i]);
        if (!a.present)
            continue;
        edge = std::max(edge, pen + a.rendered);
        pen += a.advance;
        if (offset + std::max(pen, edge) > limit)
            break;
    }
    return std::max(pen, edge);
}

size_t CFontMetrics::GetCharsThatFit(const CEGUI::String& text, size_t start, size_t count,
                                     float width) const
{
    if (!m_pFont || width <= 0.0f)
        return 0;
    count = ClampCount(text, start, count);
    const CEGUI::utf32* chars = text.ptr() + start;
    float pen = 0.0f;
    for (size_t i = 0; i < count; ++i)
    {
        const Advance& a = GlyphAdvance(chars[i]);
        if (!a.present)
            continue;
        pen += a.advance;
        if (width < pen)
            return i;
    }
    return count;
}

void CFontMetrics::DrawText(CEGUI::GeometryBuffer& buffer, const CEGUI::String& text,
                            size_t start, size_t count, const CEGUI::Vector2f& position,
                            const CEGUI::Rectf& clip, uint32_t colour) const
{
    count = ClampCount(text, start, count);
    if (!m_pFont || count == 0)
        return;
    m_pFont->drawText(buffer, text.substr(start, count), position, &clip,
                      CEGUI::ColourRect(CEGUI::Colour(colour)));
}
} // namespace QGUI
