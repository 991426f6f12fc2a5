// The colour table of the markup: named colour pairs for "T" tags, the
// default pair of untagged text and the three colours of command texts.
#pragma once

#include <CEGUI/String.h>

#include <cstdint>
#include <map>

#include "core/ReportedNames.h"

namespace QGUI
{
namespace TextParser
{
// Two ARGB colours: the colour text is drawn in, and a second colour that
// travels with each text block.
struct ColorPair
{
    uint32_t text;
    uint32_t second;
};

inline bool operator==(const ColorPair& a, const ColorPair& b)
{
    return a.text == b.text && a.second == b.second;
}

// Opaque white text over opaque black: the pair of text no name colours.
constexpr ColorPair kDefaultColorPair{0xFFFFFFFFu, 0xFF000000u};
// Second colour of item names coloured by the game.
constexpr uint32_t kOpaqueBlack = 0xFF000000u;

// Names that are not registered are logged once each, as warnings: at most
// this many names, each shown up to this many characters.
constexpr size_t MaxReportedUnknownColours = 64;
constexpr size_t MaxReportedColourNameLength = 64;

class CColorPropertyManager
{
public:
    // Roles of the click colours.
    enum
    {
        CLICK_TEXT = 0,      // text of command blocks
        CLICK_HIGHLIGHT = 1, // their second colour, and the hover highlight
        CLICK_HOVER = 2,     // text of a hovered command block
        CLICK_COLOUR_COUNT = 3
    };

    // The one table, built on first use.
    static CColorPropertyManager& Instance();

    virtual ~CColorPropertyManager() {}

    // The name is UTF-8. Colours as AARRGGBB hexadecimal text; a text that
    // does not read as one gives opaque black, a null text too. A null name
    // registers nothing.
    void RegisterColorByString(const char* name, const char* colour1, const char* colour2);
    // Stores the pair under the name, replacing any pair registered before.
    void RegisterColor(const CEGUI::String& name, uint32_t textColour, uint32_t secondColour);
    // The pair registered under the name (exact match), else the default
    // pair; a name that is not registered is logged (once).
    ColorPair FindColor(const CEGUI::String& name) const;

    void SetClickColorByString(const char* colour1, const char* colour2, const char* colour3);
    void SetClickColor(uint32_t colour1, uint32_t colour2, uint32_t colour3);
    // The three click colours, in the order of the roles above.
    const uint32_t* GetClickColors() const { return m_ClickColours; }
    ColorPair GetDefaultColors() const { return m_Default; }

    // Reads AARRGGBB text the way the GUI library's colour properties do.
    static uint32_t ColourFromString(const char* text);

private:
    CColorPropertyManager() = default;
    CColorPropertyManager(const CColorPropertyManager&) = delete;
    CColorPropertyManager& operator=(const CColorPropertyManager&) = delete;

    const ColorPair m_Default = kDefaultColorPair;
    std::map<CEGUI::String, ColorPair> m_Named;
    uint32_t m_ClickColours[CLICK_COLOUR_COUNT] = {0, 0, 0};
    mutable ReportedNames m_Unknown{MaxReportedUnknownColours, MaxReportedColourNameLength,
                                    "unknown colour names"};
};
} // namespace TextParser
} // namespace QGUI
