// The markup loop and the parser registry.
#include "richtext/ParserManager.h"

#include <algorithm>

#include "richtext/ColourTable.h"
#include "richtext/CommandParsers.h"
#include "richtext/Document.h"
#include "richtext/PictureParsers.h"
#include "richtext/PlainLayout.h"
#include "richtext/RichTextWindow.h"

namespace QGUI
{
namespace TextParser
{
CSimpleParserManager& CSimpleParserManager::Instance()
{
    static CSimpleParserManager manager;
    return manager;
}

CSimpleParserManager::CSimpleParserManager() : m_pDefault(new CDefaultParser(this))
{
    // The registration order of the keys.
    RegisterParser(new CPlainTextParser("T", this));
    RegisterParser(new CCmdParser("C", this));
    RegisterParser(new CClickXZCParser(this));
    RegisterParser(new CPictureParser(this));
    RegisterParser(new CBgPictureParser(this));
    RegisterParser(new CClickableNameParser(this));
    RegisterParser(new CClickableChannelParser(this));
    RegisterParser(new CClickableNpcNameParser(this));
    RegisterParser(new CClickableItemNameParser(this));
    RegisterParser(new CClickableManualCmdParser(this));
    RegisterParser(new CClickableHTTPCmdParser(this));
    RegisterParser(new CEmoteParser(this));
    RegisterParser(new CAnkorParser(this));
    RegisterParser(new CClickClParser(this));
}

CSimpleParserManager::~CSimpleParserManager()
{
    for (auto& entry : m_Parsers)
        delete entry.second;
    delete m_pDefault;
    for (IDoc* doc : m_Condemned)
        delete doc;
}

void CSimpleParserManager::RegisterParser(IParser* parser)
{
    if (!parser)
        return;
    IParser*& slot = m_Parsers[parser->GetKey()];
    if (slot != parser)
        delete slot;
    slot = parser;
    m_LongestKey = std::max(m_LongestKey, parser->GetKey().size());
    const std::string& key = parser->GetKey();
    if (!key.empty() && static_cast<unsigned char>(key[0]) < 128)
        m_KeyStarts[static_cast<unsigned char>(key[0])] = true;
}

IParser* CSimpleParserManager::FindParser(const std::string& key) const
{
    auto it = m_Parsers.find(key);
    return it == m_Parsers.end() ? nullptr : it->second;
}

IParser* CSimpleParserManager::FindTagParser(const CEGUI::String& text, size_t pos,
                                             size_t& keyLength) const
{
    // No key is longer than the longest registered one, so the key's space
    // is looked for no further: a run of "{" costs little per brace.
    if (pos >= text.length() || text[pos] >= 128 || !m_KeyStarts[text[pos]])
        return nullptr;
    const size_t space = FindChar(text, kKeyEnd, pos, pos + m_LongestKey + 1);
    if (space == CEGUI::String::npos)
        return nullptr;
    std::string key;
    for (size_t i = pos; i < space; ++i)
    {
        const CEGUI::utf32 c = text[i];
        if (c >= 0x80)
            return nullptr; // registered keys are ASCII
        key += static_cast<char>(c);
    }
    IParser* parser = FindParser(key);
    if (!parser || !parser->IsEnabled())
        return nullptr;
    keyLength = space - pos;
    return parser;
}

void CSimpleParserManager::ReportUnknownTag(const CEGUI::String& text, size_t pos)
{
    const size_t space = FindChar(text, kKeyEnd, pos, pos + MaxReportedTagKeyLength + 1);
    if (space == CEGUI::String::npos)
        return;
    m_UnknownTags.WarnOnce(text.substr(pos, space - pos), [](const CEGUI::String& key) {
        return "QGUI::TextParser::CSimpleParserManager: the rich-text tag '{" + key +
               "' is not known; it is shown as text.";
    });
}

bool CSimpleParserManager::IsCondemned(const IDoc* doc) const
{
    return std::find(m_Condemned.begin(), m_Condemned.end(), doc) != m_Condemned.end();
}

void CSimpleParserManager::Parse(IRichTextWindow* window, const CEGUI::String& source, IDoc* doc)
{
    if (!doc || IsCondemned(doc))
        return;
    // Scripts run during the parse (an item's colour is asked of them) may
    // set window texts, parse other documents or give this one back. The loop
    // reads its own copy of the text, keeps its document alive to the end,
    // and gives the text outside tags its colour again at every run.
    const CEGUI::String text(source);
    const ColorPair tableDefault = CColorPropertyManager::Instance().GetDefaultColors();
    const ColorPair windowColors{window ? window->GetDefaultTextColour() : tableDefault.text,
                                 kOpaqueBlack};

    struct InUse
    {
        CSimpleParserManager& manager;
        IDoc* doc;
        ColorPair after;
        ~InUse()
        {
            manager.m_pDefault->SetColors(after);
            manager.m_InUse.pop_back();
            auto condemned = std::find(manager.m_Condemned.begin(), manager.m_Condemned.end(), doc);
            if (condemned != manager.m_Condemned.end() &&
                std::find(manager.m_InUse.begin(), manager.m_InUse.end(), doc) == manager.m_InUse.end())
            {
                manager.m_Condemned.erase(condemned);
                delete doc;
            }
        }
    };
    m_InUse.push_back(doc);
    InUse inUse{*this, doc, tableDefault};

    const size_t length = text.length();
    IParser* current = m_pDefault;
    size_t pos = 0;
    while (pos < length)
    {
        if (current == m_pDefault)
            m_pDefault->SetColors(windowColors);
        size_t delimLength = 0;
        size_t stop = current->FindTagEnd(text, pos, delimLength);
        if (stop == CEGUI::String::npos)
        {
            stop = length;
            delimLength = 0;
        }
        if (stop != pos)
        {
            const size_t end = stop - 1;
            current->Reset();
            size_t sepLength = 0;
            const size_t sep = current->FindArgsEnd(text, pos, end, sepLength);
            if (sep != CEGUI::String::npos)
            {
                current->ParseArgs(text, pos, sep - 1, doc, window);
                if (IsCondemned(doc))
                    break;
                pos = sep + sepLength;
            }
            current->Layout(window, text, pos, end, doc);
            pos = end + delimLength + 1;
        }
        current = m_pDefault;
        if (pos < length && text[pos] == kTagOpen)
        {
            ++pos; // the "{" goes, whatever follows it
            size_t keyLength = 0;
            if (IParser* parser = FindTagParser(text, pos, keyLength))
            {
                pos += keyLength + kDelimiterLength;
                current = parser;
            }
            else
            {
                ReportUnknownTag(text, pos);
            }
        }
    }
}

IDoc* CSimpleParserManager::CreateDoc()
{
    return new TextBlocks::CRichTextDoc;
}

void CSimpleParserManager::DestroyDoc(IDoc* doc)
{
    if (!doc || IsCondemned(doc))
        return;
    if (std::find(m_InUse.begin(), m_InUse.end(), doc) != m_InUse.end())
        m_Condemned.push_back(doc);
    else
        delete doc;
}
} // namespace TextParser
} // namespace QGUI
