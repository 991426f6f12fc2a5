// Text blocks: drawing into the window's geometry buffer, hovering, and the
// click messages of command texts and emotes.
#include "richtext/TextBlocks.h"

#include <CEGUI/ColourRect.h>
#include <CEGUI/Image.h>

#include <cmath>
#include <limits>
#include <string>

#include "IQGUI.h"
#include "KeyValues.h"
#include "render/QXRenderer.h"
#include "richtext/ColourTable.h"
#include "richtext/RichTextServices.h"
#include "richtext/TextMetrics.h"
#include "strtools.h"

namespace QGUI
{
namespace
{
// Depth added to what is drawn into a module geometry buffer while it lives.
class ZOffsetScope
{
public:
    ZOffsetScope(CEGUI::GeometryBuffer& buffer, float offset)
        : m_pBuffer(dynamic_cast<QXUI::CQXGeometryBuffer*>(&buffer))
    {
        if (m_pBuffer)
            m_pBuffer->setZOffset(offset);
    }
    ~ZOffsetScope()
    {
        if (m_pBuffer)
            m_pBuffer->setZOffset(0.0f);
    }

private:
    QXUI::CQXGeometryBuffer* m_pBuffer;
};

// Truncates towards zero; values beyond an int's range saturate.
int TruncateToInt(float value)
{
    if (std::isnan(value))
        return 0;
    if (value >= static_cast<float>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    if (value <= static_cast<float>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    return static_cast<int>(value);
}

const char* MouseButtonType(int button)
{
    if (button == DOC_BUTTON_LEFT)
        return "_KeyVal_Cmd_MouseButton_Left";
    if (button == DOC_BUTTON_RIGHT)
        return "_KeyVal_Cmd_MouseButton_Right";
    return "";
}

// Hands a click message to the game; a message the game refused stays ours.
void PostClick(IQGUI* main, KeyValues* message)
{
    if (!main->SendKeyVal(message))
        message->deleteThis();
}

std::string Utf8(const CEGUI::String& text)
{
    return std::string(text.c_str());
}
} // namespace

// ---------------------------------------------------------------------------
// ITextBlock

bool ITextBlock::OnMouseButton(IRichTextWindow*, float, float, int, bool down)
{
    if (down)
        m_Flags |= FLAG_PRESSED;
    else
        m_Flags &= ~FLAG_PRESSED;
    return false;
}

void ITextBlock::OnMouseMove(IRichTextWindow* window, float x, float y, int)
{
    // The window is asked only when the point is inside: that is rare.
    const bool hovered = Contains(x, y) && window && window->IsUnderMouse();
    if (hovered == IsHovered())
        return;
    if (hovered)
        m_Flags |= FLAG_HOVERED;
    else
        m_Flags &= ~FLAG_HOVERED;
    if (window)
        window->RequestRedraw();
}

bool ITextBlock::Contains(float x, float y) const
{
    return m_Rect.left() < x && x < m_Rect.right() && m_Rect.top() < y && y < m_Rect.bottom();
}

bool ITextBlock::Intersects(const CEGUI::Rectf& r) const
{
    return !(r.left() > m_Rect.right() || m_Rect.left() > r.right() || r.top() > m_Rect.bottom() ||
             m_Rect.top() > r.bottom());
}

CEGUI::Vector2f ITextBlock::WindowPosition(const DrawContext& ctx) const
{
    return CEGUI::Vector2f(ctx.target.left() + m_Rect.left() - ctx.view.left(),
                           ctx.target.top() + m_Rect.top() - ctx.view.top());
}

namespace TextBlocks
{
CEGUI::String WindowTextRange(IRichTextWindow* window, size_t start, size_t length)
{
    if (!window || start == CEGUI::String::npos || length == CEGUI::String::npos)
        return CEGUI::String();
    const CEGUI::String& text = window->GetRichText();
    if (start >= text.length())
        return CEGUI::String();
    return text.substr(start, length);
}

// ---------------------------------------------------------------------------
// CPlainText

const ITextFont* CPlainText::GetFont(IRichTextWindow* window) const
{
    return window ? window->GetTextFont() : nullptr;
}

CEGUI::String CPlainText::GetText(IRichTextWindow* window) const
{
    return WindowTextRange(window, m_TextStart, m_TextLength);
}

bool CPlainText::Draw(IRichTextWindow* window, const DrawContext& ctx)
{
    if (!Intersects(ctx.view))
        return false;
    const ITextFont* font = GetFont(window);
    if (!font || !ctx.buffer || m_TextStart == CEGUI::String::npos ||
        m_TextLength == CEGUI::String::npos)
        return true;
    const CEGUI::String& text = window->GetRichText();
    if (m_TextStart >= text.length())
        return true;
    size_t count = std::min(m_TextLength, text.length() - m_TextStart);
    // Line breaks end lines; they have no picture of their own.
    while (count > 0 && (text[m_TextStart + count - 1] == '\n' || text[m_TextStart + count - 1] == '\r'))
        --count;
    if (count == 0)
        return true;
    ZOffsetScope depth(*ctx.buffer, kTextZOffset);
    font->DrawText(*ctx.buffer, text, m_TextStart, count, WindowPosition(ctx), ctx.target,
                   GetTextColour());
    return true;
}

bool CPlainText::OnMouseButton(IRichTextWindow* window, float x, float y, int button, bool down)
{
    ITextBlock::OnMouseButton(window, x, y, button, down);
    return Contains(x, y);
}

// ---------------------------------------------------------------------------
// CCmdText

const ITextFont* CCmdText::GetFont(IRichTextWindow* window) const
{
    return window ? window->GetCmdTextFont() : nullptr;
}

uint32_t CCmdText::GetTextColour() const
{
    if (IsHovered())
        return TextParser::CColorPropertyManager::Instance()
            .GetClickColors()[TextParser::CColorPropertyManager::CLICK_HOVER];
    return m_TextColour;
}

CEGUI::String CCmdText::GetCommand(IRichTextWindow* window) const
{
    return HasCommand() ? WindowTextRange(window, m_CmdStart, m_CmdLength) : CEGUI::String();
}

bool CCmdText::Draw(IRichTextWindow* window, const DrawContext& ctx)
{
    if (!Intersects(ctx.view))
        return false;
    const CEGUI::Rectf dest(WindowPosition(ctx), m_Rect.getSize());
    if (IsHovered() && ctx.buffer && window)
    {
        if (const CEGUI::Image* brush = window->GetSelectionBrush())
        {
            const uint32_t highlight = TextParser::CColorPropertyManager::Instance()
                                           .GetClickColors()[TextParser::CColorPropertyManager::CLICK_HIGHLIGHT];
            ZOffsetScope depth(*ctx.buffer, kHighlightZOffset);
            brush->render(*ctx.buffer, dest, &ctx.target, CEGUI::ColourRect(CEGUI::Colour(highlight)));
        }
    }
    if (HasCommand() && window)
    {
        if (IQGUI* main = GetMainObject())
        {
            const std::string command = Utf8ToAnsi(Utf8(GetCommand(window)).c_str(), "");
            main->QueueGuideCmdText(command.c_str(), window->GetWindowName().c_str(), m_Opcode,
                                    TruncateToInt(dest.left() + dest.getWidth() / 2.0f),
                                    TruncateToInt(dest.top() + dest.getHeight() / 2.0f));
        }
    }
    return CPlainText::Draw(window, ctx);
}

bool CCmdText::OnMouseButton(IRichTextWindow* window, float x, float y, int button, bool down)
{
    ITextBlock::OnMouseButton(window, x, y, button, down);
    if (!Contains(x, y))
        return false;
    // A click may run scripts that lay the window out again and delete this
    // block: nothing below reads a member.
    if (down)
        OnClick(window, button);
    if (IQGUI* main = GetMainObject())
        main->SetStatus(QGUI_STATUS_MOUSE_OVER_UI, 1);
    return true;
}

void CCmdText::OnClick(IRichTextWindow* window, int button)
{
    IQGUI* main = GetMainObject();
    if (!main)
        return;
    // Everything the click sends is copied first: the message's receiver and
    // the script may change the window's text.
    const std::string command = Utf8(GetCommand(window));
    const int opcode = m_Opcode;
    KeyValues* message = new KeyValues("_KeyVal_Cmd_Click");
    message->SetString("_KeyVal_Cmd_Content", command.c_str());
    message->SetString("_KeyVal_Cmd_Text", Utf8(GetText(window)).c_str());
    message->SetString("_KeyVal_Cmd_WholeText", window ? window->GetRichText().c_str() : "");
    message->SetInt("_KeyVal_Cmd_Opcode", opcode);
    message->SetString("_KeyVal_Cmd_MouseButton_Type", MouseButtonType(button));
    PostClick(main, message);
    const std::string localCommand = Utf8ToAnsi(command.c_str(), "");
    main->CallScriptGlobalNumberString("gFn_guide_cmd_text_on_click", opcode, localCommand.c_str());
}

// ---------------------------------------------------------------------------
// Pictures

bool CPictureBlock::Draw(IRichTextWindow*, const DrawContext& ctx)
{
    if (!Intersects(ctx.view))
        return false;
    if (ctx.pictures)
    {
        const CEGUI::Vector2f position = WindowPosition(ctx);
        ctx.pictures->AddPictureRequest(static_cast<uint32_t>(GetPictureCreatureId()), Packed(),
                                        position.d_x, position.d_y);
        ctx.pictures->SetPictureClip(&ctx.target);
    }
    return true;
}

bool CPictureBlock::OnMouseButton(IRichTextWindow* window, float x, float y, int button, bool down)
{
    ITextBlock::OnMouseButton(window, x, y, button, down);
    return Contains(x, y);
}

bool CEmoteBlock::OnMouseButton(IRichTextWindow* window, float x, float y, int button, bool down)
{
    // The click goes last: its receiver may delete this block.
    const bool inside = Contains(x, y);
    const bool taken = CPictureBlock::OnMouseButton(window, x, y, button, down);
    if (inside)
        OnClick(window, button);
    return taken;
}

void CEmoteBlock::OnClick(IRichTextWindow*, int button)
{
    IQGUI* main = GetMainObject();
    if (!main)
        return;
    KeyValues* message = new KeyValues("_KeyVal_Cmd_Click");
    message->SetInt("_KeyVal_Cmd_Opcode", OPCODE_EMOTE);
    message->SetString("_KeyVal_Cmd_MouseButton_Type", MouseButtonType(button));
    message->SetInt("_KeyVal_Cmd_PicIdx", static_cast<int>(number) - kEmoteFirstPicture);
    message->SetString("_KeyVal_Cmd_Content", "_KeyVal_Cmd_Content");
    message->SetString("_KeyVal_Cmd_Text", "_KeyVal_Cmd_Text");
    PostClick(main, message);
}
} // namespace TextBlocks
} // namespace QGUI
