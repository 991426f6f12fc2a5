// The blocks a laid-out document is made of: plain text, command text,
// pictures and emotes, with their drawing and their clicks.
#pragma once

#include <CEGUI/Rect.h>
#include <CEGUI/String.h>

#include <cstdint>

#include "core/ModuleMemory.h"
#include "richtext/RichTextWindow.h"

namespace QGUI
{
// Depth step between layers of one window's imagery; a smaller depth is
// nearer the viewer.
constexpr float kZLayerStep = 0.0001f;
// Depth of document text, and of the highlight behind a hovered command.
constexpr float kTextZOffset = -4.0f * kZLayerStep;
constexpr float kHighlightZOffset = -3.0f * kZLayerStep;

// Mouse buttons as the document receives them.
enum
{
    DOC_BUTTON_LEFT = 0,
    DOC_BUTTON_RIGHT = 1
};

class ITextBlock : public CModuleObject
{
public:
    enum
    {
        FLAG_HOVERED = 1u << 0,
        FLAG_PRESSED = 1u << 1
    };

    ITextBlock() = default;
    virtual ~ITextBlock() {}

    // False, drawing nothing, when the block lies outside the view.
    virtual bool Draw(IRichTextWindow* window, const DrawContext& ctx) = 0;
    // Records the pressed state; true when the block took the event.
    virtual bool OnMouseButton(IRichTextWindow* window, float x, float y, int button, bool down);
    // Updates the hovered state; a change asks for a redraw.
    virtual void OnMouseMove(IRichTextWindow* window, float x, float y, int extra);
    virtual CEGUI::String GetText(IRichTextWindow* window) const = 0;

    const CEGUI::Rectf& GetRect() const { return m_Rect; }
    void SetRect(const CEGUI::Rectf& rect) { m_Rect = rect; }
    uint32_t GetFlags() const { return m_Flags; }
    bool IsHovered() const { return (m_Flags & FLAG_HOVERED) != 0; }
    bool IsPressed() const { return (m_Flags & FLAG_PRESSED) != 0; }
    // Strictly inside: a point on an edge is outside.
    bool Contains(float x, float y) const;
    // Touching edges intersect.
    bool Intersects(const CEGUI::Rectf& r) const;

protected:
    // Top-left of the block in the window's pixels.
    CEGUI::Vector2f WindowPosition(const DrawContext& ctx) const;

    CEGUI::Rectf m_Rect{0.0f, 0.0f, 0.0f, 0.0f};
    uint32_t m_Flags = 0;

private:
    ITextBlock(const ITextBlock&) = delete;
    ITextBlock& operator=(const ITextBlock&) = delete;
};

namespace TextBlocks
{
// A game picture: picture group and picture number.
struct GamePic_t
{
    uint16_t group = 0;
    uint16_t number = 0;

    // Group in the high 16 bits, number in the low.
    uint32_t Packed() const { return (static_cast<uint32_t>(group) << 16) | number; }
};

// Text of the window, by range.
class CPlainText : public ITextBlock
{
public:
    bool Draw(IRichTextWindow* window, const DrawContext& ctx) override;
    bool OnMouseButton(IRichTextWindow* window, float x, float y, int button, bool down) override;
    CEGUI::String GetText(IRichTextWindow* window) const override;

    virtual uint32_t GetTextColour() const { return m_TextColour; }
    virtual const ITextFont* GetFont(IRichTextWindow* window) const;

    void SetTextRange(size_t start, size_t length)
    {
        m_TextStart = start;
        m_TextLength = length;
    }
    size_t GetTextStart() const { return m_TextStart; }
    size_t GetTextLength() const { return m_TextLength; }
    void SetColours(uint32_t text, uint32_t second)
    {
        m_TextColour = text;
        m_SecondColour = second;
    }
    uint32_t GetOwnTextColour() const { return m_TextColour; }
    uint32_t GetSecondColour() const { return m_SecondColour; }

protected:
    size_t m_TextStart = CEGUI::String::npos;
    size_t m_TextLength = CEGUI::String::npos;
    uint32_t m_TextColour = 0xFFFFFFFFu;
    uint32_t m_SecondColour = 0;
};

// Text that sends a command when clicked.
class CCmdText : public CPlainText
{
public:
    bool Draw(IRichTextWindow* window, const DrawContext& ctx) override;
    bool OnMouseButton(IRichTextWindow* window, float x, float y, int button, bool down) override;
    uint32_t GetTextColour() const override;
    const ITextFont* GetFont(IRichTextWindow* window) const override;
    // Posts the click message and tells the scripts.
    virtual void OnClick(IRichTextWindow* window, int button);

    // An unset range (either part npos) sends the empty command.
    void SetCommandRange(size_t start, size_t length)
    {
        m_CmdStart = start;
        m_CmdLength = length;
    }
    bool HasCommand() const
    {
        return m_CmdStart != CEGUI::String::npos && m_CmdLength != CEGUI::String::npos;
    }
    size_t GetCommandStart() const { return m_CmdStart; }
    size_t GetCommandLength() const { return m_CmdLength; }
    CEGUI::String GetCommand(IRichTextWindow* window) const;
    void SetOpcode(int opcode) { m_Opcode = opcode; }
    int GetOpcode() const { return m_Opcode; }

private:
    size_t m_CmdStart = CEGUI::String::npos;
    size_t m_CmdLength = CEGUI::String::npos;
    int m_Opcode = 0;
};

// A game picture drawn at its own size.
class CPictureBlock : public ITextBlock, public GamePic_t
{
public:
    bool Draw(IRichTextWindow* window, const DrawContext& ctx) override;
    bool OnMouseButton(IRichTextWindow* window, float x, float y, int button, bool down) override;
    CEGUI::String GetText(IRichTextWindow*) const override { return CEGUI::String(); }
};

// An emote picture; a click sends the emote's number.
class CEmoteBlock : public CPictureBlock
{
public:
    bool OnMouseButton(IRichTextWindow* window, float x, float y, int button, bool down) override;
    virtual void OnClick(IRichTextWindow* window, int button);
};

// Emotes are pictures kEmoteFirstPicture + 0 .. kEmoteCount - 1 of kEmoteGroup.
constexpr uint16_t kEmoteGroup = 4;
constexpr uint16_t kEmoteFirstPicture = 14500;
constexpr int kEmoteCount = 200;

// Opcodes of click messages.
enum
{
    OPCODE_COMMAND = 0,
    OPCODE_NAME = 1,
    OPCODE_CHANNEL = 2,
    OPCODE_NPC = 3,
    OPCODE_ITEM = 4,
    OPCODE_MANUAL = 5,
    OPCODE_HTTP = 6,
    OPCODE_EMOTE = 7,
    OPCODE_XZC = 8,
    OPCODE_CL = 9
};

// Text of the window in [start, start + length), cut to the text it has.
CEGUI::String WindowTextRange(IRichTextWindow* window, size_t start, size_t length);
} // namespace TextBlocks
} // namespace QGUI
