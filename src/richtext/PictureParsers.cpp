// The picture, emote, background and anchor parsers.
#include "richtext/PictureParsers.h"

#include <CEGUI/PropertyHelper.h>

#include <algorithm>

#include "richtext/Document.h"
#include "richtext/RichTextServices.h"
#include "richtext/TextBlocks.h"

namespace QGUI
{
namespace TextParser
{
namespace
{
// Numbers read the way the GUI library's properties read them: leading
// blanks, then digits; anything else gives 0.
unsigned ReadUnsigned(const CEGUI::String& text)
{
    return CEGUI::PropertyHelper<CEGUI::uint>::fromString(text);
}
int ReadInt(const CEGUI::String& text)
{
    return CEGUI::PropertyHelper<int>::fromString(text);
}
} // namespace

// ---------------------------------------------------------------------------
// "P", "E"

bool CPictureParser::ParseArgs(const CEGUI::String& text, size_t begin, size_t last, IDoc*,
                               IRichTextWindow*)
{
    m_GroupText = RangeText(text, begin, last);
    return true;
}

ITextBlock* CPictureParser::CreateBlock()
{
    return new TextBlocks::CPictureBlock;
}

void CPictureParser::SetupBlock(ITextBlock* block, size_t, size_t, IDoc*)
{
    auto* picture = static_cast<TextBlocks::CPictureBlock*>(block);
    picture->group = static_cast<uint16_t>(ReadUnsigned(m_GroupText));
    picture->number = static_cast<uint16_t>(ReadUnsigned(m_NumberText));
}

bool CPictureParser::Layout(IRichTextWindow* window, const CEGUI::String& text, size_t begin,
                            size_t last, IDoc* doc)
{
    if (!doc)
        return false;
    m_NumberText = RangeText(text, begin, last);
    ITextBlock* block = CreateBlock();
    if (!block)
        return false;
    SetupBlock(block, begin, RangeLength(begin, last), doc);
    const auto* picture = static_cast<const TextBlocks::CPictureBlock*>(block);
    const CEGUI::Sizef size = TextBlocks::GetPictureSize(picture->group, picture->number);
    float x, y;
    doc->GetPen(x, y);
    if (x + size.d_width > doc->GetRightEdge())
    {
        doc->NewLine(window, false);
        doc->GetPen(x, y);
    }
    block->SetRect(CEGUI::Rectf(x, y, x + size.d_width, y + size.d_height));
    doc->AddBlock(window, block);
    return true;
}

ITextBlock* CEmoteParser::CreateBlock()
{
    return new TextBlocks::CEmoteBlock;
}

void CEmoteParser::SetupBlock(ITextBlock* block, size_t, size_t, IDoc*)
{
    // Read unsigned, taken as signed: "-1" is emote 0, anything past the
    // last emote is the last.
    const int emote = static_cast<int>(ReadUnsigned(m_NumberText));
    auto* picture = static_cast<TextBlocks::CPictureBlock*>(block);
    picture->group = TextBlocks::kEmoteGroup;
    picture->number = static_cast<uint16_t>(TextBlocks::kEmoteFirstPicture +
                                            std::clamp(emote, 0, TextBlocks::kEmoteCount - 1));
}

// ---------------------------------------------------------------------------
// "Bg"

bool CBgPictureParser::ParseArgs(const CEGUI::String& text, size_t begin, size_t last, IDoc*,
                                 IRichTextWindow*)
{
    m_BgGroupText = RangeText(text, begin, last);
    return true;
}

bool CBgPictureParser::Layout(IRichTextWindow*, const CEGUI::String& text, size_t begin,
                              size_t last, IDoc* doc)
{
    m_BgNumberText = RangeText(text, begin, last);
    if (doc)
        doc->SetBackgroundPicture(static_cast<int>(ReadUnsigned(m_BgGroupText)),
                                  static_cast<int>(ReadUnsigned(m_BgNumberText)));
    return true;
}

// ---------------------------------------------------------------------------
// "Ak"

bool CAnkorParser::ParseArgs(const CEGUI::String& text, size_t begin, size_t last, IDoc*,
                             IRichTextWindow*)
{
    m_X = std::min(ReadInt(RangeText(text, begin, last)), kMaxAnchorPosition);
    return true;
}

bool CAnkorParser::Layout(IRichTextWindow*, const CEGUI::String& text, size_t begin, size_t last,
                          IDoc* doc)
{
    m_Y = std::min(ReadInt(RangeText(text, begin, last)), kMaxAnchorPosition);
    if (!doc)
        return false;
    float x, y;
    doc->GetPen(x, y);
    if (m_X >= 0)
        x = static_cast<float>(m_X);
    if (m_Y >= 0)
        y = static_cast<float>(m_Y);
    doc->SetPen(x, y);
    return true;
}

void CAnkorParser::Reset()
{
    m_X = 0;
    m_Y = 0;
}
} // namespace TextParser
} // namespace QGUI
