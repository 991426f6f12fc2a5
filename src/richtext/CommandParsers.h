// Clickable text in the markup: the command tag "C" and its variants, whose
// arguments are a command and whose content is the text shown. They lay the
// text out as plain text does, into command blocks that remember their
// command and the kind of click (the opcode).
#pragma once

#include "richtext/PlainLayout.h"
#include "richtext/TextBlocks.h"

namespace QGUI
{
namespace TextParser
{
// "C": a command.
class CCmdParser : public CPlainTextParser
{
public:
    CCmdParser(const char* key, IParserManager* manager) : CPlainTextParser(key, manager) {}

    // The arguments are the command; the text takes the click colours.
    bool ParseArgs(const CEGUI::String& text, size_t begin, size_t last, IDoc* doc,
                   IRichTextWindow* window) override;
    // Forgets the command. The colours stay: a tag without arguments keeps
    // those of the tag before it.
    void Reset() override;
    ITextBlock* CreateBlock() override;
    void SetupBlock(ITextBlock* block, size_t start, size_t length, IDoc* doc) override;

    size_t GetCommandStart() const { return m_CmdStart; }
    size_t GetCommandLast() const { return m_CmdLast; }

protected:
    size_t m_CmdStart = CEGUI::String::npos;
    size_t m_CmdLast = CEGUI::String::npos;
};

// A command parser that stamps its opcode on every block.
class COpcodeCmdParser : public CCmdParser
{
public:
    COpcodeCmdParser(const char* key, IParserManager* manager, int opcode)
        : CCmdParser(key, manager), m_Opcode(opcode)
    {
    }
    void SetupBlock(ITextBlock* block, size_t start, size_t length, IDoc* doc) override;

private:
    int m_Opcode;
};

// "XZC", "Npc", "M", "H", "Cl": commands of their own kind.
#define QGUI_COMMAND_PARSER(Class, key, opcode)                                                   \
    class Class : public COpcodeCmdParser                                                         \
    {                                                                                             \
    public:                                                                                       \
        explicit Class(IParserManager* manager) : COpcodeCmdParser(key, manager, opcode) {}       \
    }
QGUI_COMMAND_PARSER(CClickXZCParser, "XZC", TextBlocks::OPCODE_XZC);
QGUI_COMMAND_PARSER(CClickableNpcNameParser, "Npc", TextBlocks::OPCODE_NPC);
QGUI_COMMAND_PARSER(CClickableManualCmdParser, "M", TextBlocks::OPCODE_MANUAL);
QGUI_COMMAND_PARSER(CClickableHTTPCmdParser, "H", TextBlocks::OPCODE_HTTP);
QGUI_COMMAND_PARSER(CClickClParser, "Cl", TextBlocks::OPCODE_CL);
#undef QGUI_COMMAND_PARSER

// "N": a player name; the command is the name shown. A name that wraps
// onto several lines sends the whole name from each of its blocks.
class CClickableNameParser : public CCmdParser
{
public:
    explicit CClickableNameParser(IParserManager* manager, const char* key = "N")
        : CCmdParser(key, manager)
    {
    }
    bool Layout(IRichTextWindow* window, const CEGUI::String& text, size_t begin, size_t last,
                IDoc* doc) override;
    void SetupBlock(ITextBlock* block, size_t start, size_t length, IDoc* doc) override;

private:
    size_t m_NameStart = CEGUI::String::npos;
    size_t m_NameLength = CEGUI::String::npos;
};

// "CN": a channel name, clicked like a player name.
class CClickableChannelParser : public CClickableNameParser
{
public:
    explicit CClickableChannelParser(IParserManager* manager) : CClickableNameParser(manager, "CN") {}
    void SetupBlock(ITextBlock* block, size_t start, size_t length, IDoc* doc) override;
};

// "I": an item; the arguments are its id. The game may give the item a
// colour of its own, and the document records the id.
class CClickableItemNameParser : public COpcodeCmdParser
{
public:
    explicit CClickableItemNameParser(IParserManager* manager);
    bool ParseArgs(const CEGUI::String& text, size_t begin, size_t last, IDoc* doc,
                   IRichTextWindow* window) override;
};
} // namespace TextParser
} // namespace QGUI
