// Plain text in the markup: the "T" tag (coloured text), the text outside
// any tag, and the word-wrapping layout that every text parser shares.
#pragma once

#include "richtext/ColourTable.h"
#include "richtext/Parser.h"

namespace QGUI
{
namespace TextParser
{
// Characters from index up to the next "\n", "\t" or "\r"; 1 when one
// stands at index; the rest of the piece when none follows.
size_t GetWordLength(const CEGUI::String& piece, size_t index);

class CPlainTextParser : public CTagParser
{
public:
    CPlainTextParser(const char* key, IParserManager* manager)
        : CTagParser(key, manager, kArgsSeparator)
    {
    }

    // The arguments name a colour of the colour table.
    bool ParseArgs(const CEGUI::String& text, size_t begin, size_t last, IDoc* doc,
                   IRichTextWindow* window) override;
    // Breaks the content into blocks that fit the document's width.
    bool Layout(IRichTextWindow* window, const CEGUI::String& text, size_t begin, size_t last,
                IDoc* doc) override;
    void Reset() override;
    ITextBlock* CreateBlock() override;
    void SetupBlock(ITextBlock* block, size_t start, size_t length, IDoc* doc) override;

    const ColorPair& GetColors() const { return m_Colors; }
    void SetColors(const ColorPair& colors) { m_Colors = colors; }

protected:
    ColorPair m_Colors{0, 0};
};

// Text outside tags: no arguments, ends at the next "{", keeps the colour
// the manager gives it for the parse.
class CDefaultParser : public CPlainTextParser
{
public:
    explicit CDefaultParser(IParserManager* manager) : CPlainTextParser("", manager) {}

    size_t FindArgsEnd(const CEGUI::String& text, size_t from, size_t last,
                       size_t& sepLength) override;
    size_t FindTagEnd(const CEGUI::String& text, size_t from, size_t& delimLength) override;
    void Reset() override {}
};
} // namespace TextParser
} // namespace QGUI
