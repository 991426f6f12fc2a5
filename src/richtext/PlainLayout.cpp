// The plain-text parsers and the word-wrapping layout.
//
// A run is cut at "\n" into pieces; each piece fills blocks word by word
// ("\n", "\t" and "\r" are the only word breaks, each a word of its own).
// Words that do not fit move to the next line whole, except the first word
// of a block, which is split at the character where the line runs out. A
// word longer than the whole width fills a line of its own, then the next.
//
// Every measurement stops as soon as the answer is known, and the next word
// break is looked for once per piece, so the cost grows with the length of
// the text, however long its words are.
#include "richtext/PlainLayout.h"

#include <algorithm>

#include "richtext/Document.h"
#include "richtext/TextBlocks.h"
#include "richtext/TextMetrics.h"

namespace QGUI
{
namespace TextParser
{
size_t GetWordLength(const CEGUI::String& piece, size_t index)
{
    const size_t length = piece.length();
    if (index >= length)
        return 0;
    const CEGUI::utf32* chars = piece.ptr();
    if (IsWordBreak(chars[index]))
        return 1;
    size_t end = index + 1;
    while (end < length && !IsWordBreak(chars[end]))
        ++end;
    return end - index;
}

bool CPlainTextParser::ParseArgs(const CEGUI::String& text, size_t begin, size_t last, IDoc*,
                                 IRichTextWindow*)
{
    m_Colors = CColorPropertyManager::Instance().FindColor(RangeText(text, begin, last));
    return true;
}

void CPlainTextParser::Reset()
{
    m_Colors = CColorPropertyManager::Instance().GetDefaultColors();
}

ITextBlock* CPlainTextParser::CreateBlock()
{
    return new TextBlocks::CPlainText;
}

void CPlainTextParser::SetupBlock(ITextBlock* block, size_t start, size_t length, IDoc*)
{
    auto* text = static_cast<TextBlocks::CPlainText*>(block);
    text->SetTextRange(start, length);
    text->SetColours(m_Colors.text, m_Colors.second);
}

bool CPlainTextParser::Layout(IRichTextWindow* window, const CEGUI::String& text, size_t begin,
                              size_t last, IDoc* doc)
{
    if (!doc || doc->GetRightEdge() <= 0.0f)
        return false;
    const ITextFont* font = window ? window->GetTextFont() : nullptr;
    if (!font)
        return false;
    if (text.empty() || begin > last || begin >= text.length())
        return true;
    last = std::min(last, text.length() - 1);
    const float lineSpacing = font->GetLineSpacing();
    const CEGUI::utf32* chars = text.ptr();

    for (size_t p = begin; p <= last;)
    {
        // One piece: up to and with the next "\n", or the rest of the run.
        const size_t lineBreak = FindChar(text, kLineBreak, p, last + 1);
        const bool endsLine = lineBreak != CEGUI::String::npos;
        const size_t pieceEnd = endsLine ? lineBreak + 1 : last + 1;
        size_t nextBreak = p; // the first word break at or after the word looked at
        bool breakKnown = false;

        for (size_t i = p; i < pieceEnd;)
        {
            size_t k = 0;
            float width = 0.0f;
            bool wrapped = false;
            bool forced = false;
            while (i + k < pieceEnd)
            {
                const size_t word = i + k;
                if (!breakKnown || nextBreak < word)
                {
                    nextBreak = word;
                    while (nextBreak < pieceEnd && !IsWordBreak(chars[nextBreak]))
                        ++nextBreak;
                    breakKnown = true;
                }
                const size_t wordLength = nextBreak == word ? 1 : nextBreak - word;
                const float rest = doc->GetRestWidth();
                const float extent = font->GetTextExtent(text, word, wordLength, width, rest);
                if (!(width + extent > rest))
                {
                    k += wordLength;
                    width += extent;
                    continue;
                }
                if (k > 0)
                {
                    wrapped = true;
                    break;
                }
                // The block's first word does not fit: split it where the
                // line runs out.
                k = font->GetCharsThatFit(text, word, wordLength, rest);
                width = rest;
                if (k > 0)
                {
                    wrapped = true;
                    break;
                }
                // Not one character fits the rest of this line: the word
                // starts a line of its own, as much of it as fits the width.
                k = font->GetCharsThatFit(text, word, wordLength, doc->GetRightEdge());
                if (k == 0)
                    return false;
                forced = true;
                width = font->GetTextExtent(text, word, k);
                wrapped = k < wordLength;
                break;
            }

            if (forced)
                doc->NewLine(window, false);
            ITextBlock* block = CreateBlock();
            if (!block)
                return false;
            SetupBlock(block, i, k, doc);
            float x, y;
            doc->GetPen(x, y);
            block->SetRect(CEGUI::Rectf(x, y, x + width, y + lineSpacing));
            doc->AddBlock(window, block);
            if (wrapped || endsLine)
                doc->NewLine(window, false);
            i += k;
        }
        p = pieceEnd;
    }
    return true;
}

size_t CDefaultParser::FindArgsEnd(const CEGUI::String&, size_t, size_t, size_t&)
{
    return CEGUI::String::npos;
}

size_t CDefaultParser::FindTagEnd(const CEGUI::String& text, size_t from, size_t& delimLength)
{
    delimLength = 0;
    return FindChar(text, kTagOpen, from, text.length());
}
} // namespace TextParser
} // namespace QGUI
