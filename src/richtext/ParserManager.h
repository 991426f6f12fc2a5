// The parser manager: owns one parser per tag key and runs the markup loop
// that turns a window's text into a laid-out document.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "core/ReportedNames.h"
#include "richtext/Parser.h"

namespace QGUI
{
namespace TextParser
{
class CDefaultParser;

// A tag whose key is not registered is logged once per key, as a warning: a
// key is looked for up to this many characters after the "{", and at most
// this many keys are reported.
constexpr size_t MaxReportedTagKeyLength = 16;
constexpr size_t MaxReportedUnknownTags = 64;

class CSimpleParserManager : public IParserManager
{
public:
    // The one manager, built on first use with every parser registered.
    static CSimpleParserManager& Instance();

    ~CSimpleParserManager() override;

    // A parser registered under the same key before is destroyed.
    void RegisterParser(IParser* parser) override;
    // Never throws on malformed markup: a tag whose key is unknown is laid
    // out as text without its "{", an unterminated tag runs to the end.
    void Parse(IRichTextWindow* window, const CEGUI::String& text, IDoc* doc) override;
    IDoc* CreateDoc() override;
    // A document that a parse is filling is deleted when that parse ends.
    void DestroyDoc(IDoc* doc) override;

    IParser* FindParser(const std::string& key) const;
    CDefaultParser* GetDefaultParser() const { return m_pDefault; }
    // Length of the longest registered key.
    size_t GetLongestKey() const { return m_LongestKey; }

private:
    CSimpleParserManager();
    CSimpleParserManager(const CSimpleParserManager&) = delete;
    CSimpleParserManager& operator=(const CSimpleParserManager&) = delete;

    // The parser of the tag whose key starts at pos, or null; keyLength is
    // set when one is found.
    IParser* FindTagParser(const CEGUI::String& text, size_t pos, size_t& keyLength) const;
    bool IsCondemned(const IDoc* doc) const;
    // Logs (once) the key of a tag at pos that no parser takes.
    void ReportUnknownTag(const CEGUI::String& text, size_t pos);

    std::map<std::string, IParser*> m_Parsers;
    CDefaultParser* m_pDefault;
    size_t m_LongestKey = 0;
    // First characters of the registered keys (all ASCII).
    bool m_KeyStarts[128] = {};
    // Documents parses are filling (outermost first), and those of them
    // that were given back meanwhile.
    std::vector<IDoc*> m_InUse;
    std::vector<IDoc*> m_Condemned;
    ReportedNames m_UnknownTags{MaxReportedUnknownTags, MaxReportedTagKeyLength, "unknown tags"};
};
} // namespace TextParser
} // namespace QGUI
