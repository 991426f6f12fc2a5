// Markup that places things other than text: inline pictures "P", emotes
// "E", the background picture "Bg" and the pen anchor "Ak".
#pragma once

#include "richtext/Parser.h"

namespace QGUI
{
namespace TextParser
{
// Anchor coordinates beyond this are taken as this: far past any window,
// and no text from another player can make a document larger.
constexpr int kMaxAnchorPosition = 16384;

// "P": picture group as arguments, picture number as content. A tag
// without arguments keeps the group of the "P" tag before it.
class CPictureParser : public CTagParser
{
public:
    explicit CPictureParser(IParserManager* manager, const char* key = "P")
        : CTagParser(key, manager, kArgsSeparator)
    {
    }

    bool ParseArgs(const CEGUI::String& text, size_t begin, size_t last, IDoc* doc,
                   IRichTextWindow* window) override;
    // Places the picture at the pen, on a new line when it passes the edge.
    bool Layout(IRichTextWindow* window, const CEGUI::String& text, size_t begin, size_t last,
                IDoc* doc) override;
    void Reset() override {}
    ITextBlock* CreateBlock() override;
    void SetupBlock(ITextBlock* block, size_t start, size_t length, IDoc* doc) override;

protected:
    CEGUI::String m_GroupText;
    CEGUI::String m_NumberText;
};

// "E": an emote, numbered 0 to 199 by its content; the arguments are not used.
class CEmoteParser : public CPictureParser
{
public:
    explicit CEmoteParser(IParserManager* manager) : CPictureParser(manager, "E") {}
    ITextBlock* CreateBlock() override;
    void SetupBlock(ITextBlock* block, size_t start, size_t length, IDoc* doc) override;
};

// "Bg": the background picture of the lines from here on.
class CBgPictureParser : public CPictureParser
{
public:
    explicit CBgPictureParser(IParserManager* manager) : CPictureParser(manager, "Bg") {}
    bool ParseArgs(const CEGUI::String& text, size_t begin, size_t last, IDoc* doc,
                   IRichTextWindow* window) override;
    bool Layout(IRichTextWindow* window, const CEGUI::String& text, size_t begin, size_t last,
                IDoc* doc) override;
    void SetupBlock(ITextBlock*, size_t, size_t, IDoc*) override {}

private:
    CEGUI::String m_BgGroupText;
    CEGUI::String m_BgNumberText;
};

// "Ak": moves the pen; x as arguments (up to ","), y as content. A
// negative coordinate leaves that one unchanged.
class CAnkorParser : public CTagParser
{
public:
    explicit CAnkorParser(IParserManager* manager) : CTagParser("Ak", manager, kAnchorSeparator) {}

    bool ParseArgs(const CEGUI::String& text, size_t begin, size_t last, IDoc* doc,
                   IRichTextWindow* window) override;
    bool Layout(IRichTextWindow* window, const CEGUI::String& text, size_t begin, size_t last,
                IDoc* doc) override;
    void Reset() override;
    ITextBlock* CreateBlock() override { return nullptr; }
    void SetupBlock(ITextBlock*, size_t, size_t, IDoc*) override {}

private:
    int m_X = 0;
    int m_Y = 0;
};
} // namespace TextParser
} // namespace QGUI
