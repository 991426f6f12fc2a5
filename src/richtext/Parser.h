// The markup parser interface and the parser manager's interface. A parser
// reads one kind of run of the markup (one tag key, or the text outside
// tags): where the run ends, its arguments, and how its content is laid out
// into a document. Ranges are inclusive character indices (begin, last)
// into the text being parsed; npos is CEGUI::String::npos.
#pragma once

#include <CEGUI/String.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "core/ModuleMemory.h"

namespace QGUI
{
class IDoc;
class ITextBlock;
class IRichTextWindow;

namespace TextParser
{
class IParserManager;

// The delimiters of the markup. Each is one character long.
constexpr CEGUI::utf32 kTagOpen = '{';
constexpr CEGUI::utf32 kTagClose = '}';
constexpr CEGUI::utf32 kKeyEnd = ' ';
constexpr CEGUI::utf32 kArgsSeparator = ':';
constexpr CEGUI::utf32 kAnchorSeparator = ',';
constexpr CEGUI::utf32 kLineBreak = '\n';
constexpr size_t kDelimiterLength = 1;

inline bool IsWordBreak(CEGUI::utf32 c)
{
    return c == '\n' || c == '\t' || c == '\r';
}

// First index in [from, end) holding c, else npos.
size_t FindChar(const CEGUI::String& text, CEGUI::utf32 c, size_t from, size_t end);
// text[begin, last]; empty when last lies before begin.
CEGUI::String RangeText(const CEGUI::String& text, size_t begin, size_t last);

class IParser : public CModuleObject
{
public:
    IParser(const char* key, IParserManager* manager) : m_Key(key), m_pManager(manager) {}
    virtual ~IParser() {}

    // Reads the arguments text[begin, last] into the parser's state.
    virtual bool ParseArgs(const CEGUI::String& text, size_t begin, size_t last, IDoc* doc,
                           IRichTextWindow* window) = 0;
    // Lays the content text[begin, last] out into the document; false when
    // it gave up on the rest of the run.
    virtual bool Layout(IRichTextWindow* window, const CEGUI::String& text, size_t begin,
                        size_t last, IDoc* doc) = 0;
    // Index of the argument separator in [from, last), or npos; sepLength is
    // set only when one is found.
    virtual size_t FindArgsEnd(const CEGUI::String& text, size_t from, size_t last,
                               size_t& sepLength) = 0;
    // Index of the delimiter that ends the run starting at from, or npos
    // (delimLength 0).
    virtual size_t FindTagEnd(const CEGUI::String& text, size_t from, size_t& delimLength) = 0;
    // Clears the per-run state before a run.
    virtual void Reset() = 0;
    // A new empty block of the parser's kind (the caller owns it), or null.
    virtual ITextBlock* CreateBlock() = 0;
    // Stamps the block with the text range and the parser's state.
    virtual void SetupBlock(ITextBlock* block, size_t start, size_t length, IDoc* doc) = 0;

    const std::string& GetKey() const { return m_Key; }
    bool IsEnabled() const { return m_Enabled != 0; }
    void SetEnabled(bool enabled) { m_Enabled = enabled ? 1 : 0; }

protected:
    std::string m_Key;
    IParserManager* m_pManager;
    uint8_t m_Enabled = 1;

private:
    IParser(const IParser&) = delete;
    IParser& operator=(const IParser&) = delete;
};

// The parser of a tag: its run ends at the first "}", its arguments at the
// first separator that stands before the run's last character.
class CTagParser : public IParser
{
public:
    CTagParser(const char* key, IParserManager* manager, CEGUI::utf32 separator)
        : IParser(key, manager), m_Separator(separator)
    {
    }
    size_t FindArgsEnd(const CEGUI::String& text, size_t from, size_t last,
                       size_t& sepLength) override;
    size_t FindTagEnd(const CEGUI::String& text, size_t from, size_t& delimLength) override;

private:
    CEGUI::utf32 m_Separator;
};

class IParserManager
{
public:
    virtual ~IParserManager() {}
    // Takes the parser and files it under its key.
    virtual void RegisterParser(IParser* parser) = 0;
    // Lays the text out into the document with the window's font, colour
    // and indents. The caller clears and prepares the document first.
    virtual void Parse(IRichTextWindow* window, const CEGUI::String& text, IDoc* doc) = 0;
    // A new empty document; the caller owns it and gives it back with
    // DestroyDoc.
    virtual IDoc* CreateDoc() = 0;
    virtual void DestroyDoc(IDoc* doc) = 0;
};

// Length of an inclusive range; 0 when last lies before begin.
inline size_t RangeLength(size_t begin, size_t last)
{
    return last == CEGUI::String::npos || last < begin ? 0 : last - begin + 1;
}
} // namespace TextParser
} // namespace QGUI
