// The command and clickable parsers.
#include "richtext/CommandParsers.h"

#include "richtext/Document.h"
#include "richtext/RichTextServices.h"
#include "richtext/TextBlocks.h"
#include "strtools.h"

namespace QGUI
{
namespace TextParser
{
using TextBlocks::CCmdText;

bool CCmdParser::ParseArgs(const CEGUI::String&, size_t begin, size_t last, IDoc*, IRichTextWindow*)
{
    const uint32_t* click = CColorPropertyManager::Instance().GetClickColors();
    m_Colors = ColorPair{click[CColorPropertyManager::CLICK_TEXT],
                         click[CColorPropertyManager::CLICK_HIGHLIGHT]};
    m_CmdStart = begin;
    m_CmdLast = last;
    return true;
}

void CCmdParser::Reset()
{
    m_CmdStart = CEGUI::String::npos;
    m_CmdLast = CEGUI::String::npos;
}

ITextBlock* CCmdParser::CreateBlock()
{
    return new CCmdText;
}

void CCmdParser::SetupBlock(ITextBlock* block, size_t start, size_t length, IDoc* doc)
{
    CPlainTextParser::SetupBlock(block, start, length, doc);
    // Without arguments the command stays unset (and sends the empty text).
    auto* command = static_cast<CCmdText*>(block);
    if (m_CmdStart == CEGUI::String::npos)
        command->SetCommandRange(CEGUI::String::npos, CEGUI::String::npos);
    else
        command->SetCommandRange(m_CmdStart, RangeLength(m_CmdStart, m_CmdLast));
}

void COpcodeCmdParser::SetupBlock(ITextBlock* block, size_t start, size_t length, IDoc* doc)
{
    CCmdParser::SetupBlock(block, start, length, doc);
    static_cast<CCmdText*>(block)->SetOpcode(m_Opcode);
}

bool CClickableNameParser::Layout(IRichTextWindow* window, const CEGUI::String& text, size_t begin,
                                  size_t last, IDoc* doc)
{
    m_NameStart = begin;
    m_NameLength = RangeLength(begin, last);
    return CCmdParser::Layout(window, text, begin, last, doc);
}

void CClickableNameParser::SetupBlock(ITextBlock* block, size_t start, size_t length, IDoc* doc)
{
    CCmdParser::SetupBlock(block, start, length, doc);
    auto* command = static_cast<CCmdText*>(block);
    command->SetOpcode(TextBlocks::OPCODE_NAME);
    command->SetCommandRange(m_NameStart, m_NameLength);
}

void CClickableChannelParser::SetupBlock(ITextBlock* block, size_t start, size_t length, IDoc* doc)
{
    CClickableNameParser::SetupBlock(block, start, length, doc);
    static_cast<CCmdText*>(block)->SetOpcode(TextBlocks::OPCODE_CHANNEL);
}

CClickableItemNameParser::CClickableItemNameParser(IParserManager* manager)
    : COpcodeCmdParser("I", manager, TextBlocks::OPCODE_ITEM)
{
}

bool CClickableItemNameParser::ParseArgs(const CEGUI::String& text, size_t begin, size_t last,
                                         IDoc* doc, IRichTextWindow* window)
{
    const int itemId = StringToInt(RangeText(text, begin, last).c_str());
    // The scripts answer the item's colour first: they may start another
    // parse, which must find this parser's state unchanged when it returns.
    // No colour from them (0, or a fetch that failed) keeps the click colours.
    uint32_t colour = 0;
    const bool fetched = TextBlocks::FetchItemColour(itemId, colour);
    CCmdParser::ParseArgs(text, begin, last, doc, window);
    if (fetched && colour != 0)
        m_Colors = ColorPair{colour, kOpaqueBlack};
    if (doc)
        doc->AddItemRef(itemId);
    return true;
}
} // namespace TextParser
} // namespace QGUI
