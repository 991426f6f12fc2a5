// Finding delimiters and cutting ranges of the markup, shared by the parsers.
#include "richtext/Parser.h"

#include <algorithm>

namespace QGUI
{
namespace TextParser
{
size_t FindChar(const CEGUI::String& text, CEGUI::utf32 c, size_t from, size_t end)
{
    end = std::min(end, text.length());
    const CEGUI::utf32* chars = text.ptr();
    for (size_t i = from; i < end; ++i)
        if (chars[i] == c)
            return i;
    return CEGUI::String::npos;
}

size_t CTagParser::FindArgsEnd(const CEGUI::String& text, size_t from, size_t last,
                               size_t& sepLength)
{
    if (last == CEGUI::String::npos)
        return CEGUI::String::npos;
    const size_t sep = FindChar(text, m_Separator, from, last);
    if (sep != CEGUI::String::npos)
        sepLength = kDelimiterLength;
    return sep;
}

size_t CTagParser::FindTagEnd(const CEGUI::String& text, size_t from, size_t& delimLength)
{
    const size_t end = FindChar(text, kTagClose, from, text.length());
    delimLength = end == CEGUI::String::npos ? 0 : kDelimiterLength;
    return end;
}

CEGUI::String RangeText(const CEGUI::String& text, size_t begin, size_t last)
{
    const size_t length = RangeLength(begin, last);
    return length ? text.substr(begin, length) : CEGUI::String();
}
} // namespace TextParser
} // namespace QGUI
