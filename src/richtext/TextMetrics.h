// The measuring seam of the rich-text layout: what the layout and the text
// blocks ask of a font. In the module it wraps the GUI library's font; tests
// put a fixed-width font in its place.
#pragma once

#include <CEGUI/Rect.h>
#include <CEGUI/String.h>
#include <CEGUI/Vector.h>

#include <cstddef>
#include <cstdint>
#include <limits>

namespace CEGUI
{
class Font;
class GeometryBuffer;
class FontGlyph;
} // namespace CEGUI

namespace QGUI
{
class ITextFont
{
public:
    // Height of every block laid out in this font.
    virtual float GetLineSpacing() const = 0;
    // Width of text[start, start + count), by the GUI library's rule (the
    // larger of the summed advances and the rendered edge of the last
    // glyph). Measuring may stop early once offset + the width so far is
    // greater than limit: the result is then a width that is also too wide,
    // so a caller comparing offset + result with limit decides the same.
    virtual float GetTextExtent(const CEGUI::String& text, size_t start, size_t count,
                                float offset = 0.0f,
                                float limit = std::numeric_limits<float>::infinity()) const = 0;
    // How many leading characters of text[start, start + count) fit in the
    // width: the first character whose advance ends beyond it does not. 0
    // when the width is 0 or less.
    virtual size_t GetCharsThatFit(const CEGUI::String& text, size_t start, size_t count,
                                   float width) const = 0;
    // Draws text[start, start + count) with its top-left at position, in
    // one colour, clipped to clip.
    virtual void DrawText(CEGUI::GeometryBuffer& buffer, const CEGUI::String& text, size_t start,
                          size_t count, const CEGUI::Vector2f& position, const CEGUI::Rectf& clip,
                          uint32_t colour) const = 0;

protected:
    ~ITextFont() {}
};

// A GUI library font as the layout measures it. Advances of the first code
// points are kept after their first use: a measurer lives for one layout or
// one drawing pass, so Reset it (or make another) after the font changes.
class CFontMetrics final : public ITextFont
{
public:
    explicit CFontMetrics(const CEGUI::Font* font = nullptr) { Reset(font); }
    void Reset(const CEGUI::Font* font);
    const CEGUI::Font* GetFont() const { return m_pFont; }

    float GetLineSpacing() const override;
    float GetTextExtent(const CEGUI::String& text, size_t start, size_t count, float offset = 0.0f,
                        float limit = std::numeric_limits<float>::infinity()) const override;
    size_t GetCharsThatFit(const CEGUI::String& text, size_t start, size_t count,
                           float width) const override;
    void DrawText(CEGUI::GeometryBuffer& buffer, const CEGUI::String& text, size_t start,
                  size_t count, const CEGUI::Vector2f& position, const CEGUI::Rectf& clip,
                  uint32_t colour) const override;

private:
    // Code points below this keep their advances in the table.
    static constexpr CEGUI::utf32 kCachedCodePoints = 256;
    struct Advance
    {
        float advance;  // pen movement
        float rendered; // pixels the glyph covers from the pen
        bool known;     // looked up already
        bool present;   // the font has the glyph
    };
    Advance LookUp(CEGUI::utf32 codePoint) const;
    const Advance& GlyphAdvance(CEGUI::utf32 codePoint) const;

    const CEGUI::Font* m_pFont = nullptr;
    mutable Advance m_Cache[kCachedCodePoints];
    mutable Advance m_Scratch;
};
} // namespace QGUI
