// Lines of blocks: layout bookkeeping, drawing, hit testing and the item
// references reported to the scripts.
#include "richtext/Document.h"

#include <algorithm>
#include <iterator>

#include "IQGUI.h"
#include "richtext/RichTextServices.h"

namespace QGUI
{
namespace TextBlocks
{
// ---------------------------------------------------------------------------
// CTextLine

CTextLine::CTextLine(const CEGUI::Rectf& rect)
{
    m_Rect = rect;
}

CTextLine::~CTextLine()
{
    Clear();
    delete m_pBackground;
}

namespace
{
CEGUI::Rectf Union(const CEGUI::Rectf& a, const CEGUI::Rectf& b)
{
    return CEGUI::Rectf(std::min(a.left(), b.left()), std::min(a.top(), b.top()),
                        std::max(a.right(), b.right()), std::max(a.bottom(), b.bottom()));
}
} // namespace

void CTextLine::AddBlock(ITextBlock* block)
{
    m_Extent = m_Blocks.empty() ? block->GetRect() : Union(m_Extent, block->GetRect());
    m_Blocks.push_back(block);
    m_Bottom = std::max(m_Bottom, block->GetRect().bottom());
}

void CTextLine::Clear()
{
    for (ITextBlock* block : m_Blocks)
        delete block;
    m_Blocks.clear();
    m_Extent = CEGUI::Rectf(0.0f, 0.0f, 0.0f, 0.0f);
    m_AnyHovered = false;
}

void CTextLine::SetBackgroundPicture(CPictureBlock* block)
{
    if (block == m_pBackground)
        return;
    delete m_pBackground;
    m_pBackground = block;
}

void CTextLine::UpdateRect()
{
    for (ITextBlock* block : m_Blocks)
    {
        CEGUI::Rectf r = block->GetRect();
        r.top(r.top() + (m_Bottom - r.bottom()));
        r.bottom(m_Bottom);
        block->SetRect(r);
        m_Extent = block == m_Blocks.front() ? r : Union(m_Extent, r);
    }
    if (m_Blocks.empty())
        m_Rect.bottom(m_Rect.top());
    else
    {
        m_Rect.right(m_Blocks.back()->GetRect().right());
        m_Rect.bottom(m_Bottom);
    }
    if (m_pBackground)
    {
        const CEGUI::Sizef size = GetPictureSize(m_pBackground->group, m_pBackground->number);
        const float lineHeight = m_Rect.getHeight();
        if (size.d_height > lineHeight)
            m_Rect.bottom(m_Rect.bottom() + (size.d_height - lineHeight));
        m_pBackground->SetRect(m_Rect);
    }
}

bool CTextLine::Draw(IRichTextWindow* window, const DrawContext& ctx)
{
    if (!Intersects(ctx.view))
        return false;
    // A block outside the view (scrolled sideways, or beside a taller
    // picture) draws nothing and leaves the others to draw.
    for (ITextBlock* block : m_Blocks)
        block->Draw(window, ctx);
    if (m_pBackground)
        DrawBackgroundPicture(ctx);
    return true;
}

void CTextLine::DrawBackgroundPicture(const DrawContext& ctx) const
{
    if (!ctx.pictures)
        return;
    CEGUI::Rectf target = ctx.target;
    const CEGUI::Sizef size = GetPictureSize(m_pBackground->group, m_pBackground->number);
    if (size.d_height > target.getHeight())
    {
        const float half = (size.d_height - target.getHeight()) / 2.0f;
        target.top(target.top() - half);
        target.bottom(target.bottom() + half);
    }
    const CEGUI::Rectf& r = m_pBackground->GetRect();
    ctx.pictures->AddPictureRequest(static_cast<uint32_t>(GetPictureCreatureId()),
                                    m_pBackground->Packed(),
                                    target.left() + r.left() - ctx.view.left(),
                                    target.top() + r.top() - ctx.view.top());
}

bool CTextLine::OnMouseButton(IRichTextWindow* window, float x, float y, int button, bool down)
{
    ITextBlock::OnMouseButton(window, x, y, button, down);
    if (!Contains(x, y))
        return false;
    // A block that takes the click may have been deleted with this line by
    // the time it answers: return at once.
    for (ITextBlock* block : m_Blocks)
        if (block->OnMouseButton(window, x, y, button, down))
            return true;
    return false;
}

void CTextLine::OnMouseMove(IRichTextWindow* window, float x, float y, int extra)
{
    bool anyHovered = false;
    for (ITextBlock* block : m_Blocks)
    {
        block->OnMouseMove(window, x, y, extra);
        anyHovered = anyHovered || block->IsHovered();
    }
    m_AnyHovered = anyHovered;
}

CEGUI::String CTextLine::GetText(IRichTextWindow* window) const
{
    CEGUI::String text;
    for (const ITextBlock* block : m_Blocks)
        text += block->GetText(window);
    return text;
}

// ---------------------------------------------------------------------------
// CRichTextDoc

CRichTextDoc::~CRichTextDoc()
{
    DeleteLines();
}

void CRichTextDoc::DeleteLines()
{
    for (CTextLine* line : m_Lines)
        delete line;
    m_Lines.clear();
}

void CRichTextDoc::FinishLine()
{
    if (m_Lines.empty())
        return;
    CTextLine* line = m_Lines.back();
    line->UpdateRect();
    m_DocWidth = std::max(m_DocWidth, line->GetRect().right());
}

void CRichTextDoc::NewLine(IRichTextWindow* window, bool first)
{
    FinishLine();
    const int indent = window ? (first ? window->GetIndent1stLine() : window->GetIndentRestLine()) : 0;
    const float x = static_cast<float>(indent);
    const float y = m_Lines.empty() ? 0.0f : m_Lines.back()->GetRect().bottom() + m_LineSpacing;
    m_Layout.left(x);
    m_Layout.top(y);
    CTextLine* line = new CTextLine(CEGUI::Rectf(x, y, 0.0f, 0.0f));
    m_Lines.push_back(line);
    if (m_Background.group != 0)
    {
        CPictureBlock* picture = new CPictureBlock;
        static_cast<GamePic_t&>(*picture) = m_Background;
        line->SetBackgroundPicture(picture);
    }
}

void CRichTextDoc::GetPen(float& x, float& y) const
{
    x = m_Layout.left();
    y = m_Layout.top();
}

void CRichTextDoc::SetPen(float x, float y)
{
    m_Layout.left(x);
    m_Layout.top(y);
}

void CRichTextDoc::Clear()
{
    m_Background = GamePic_t();
    DeleteLines();
    m_Layout = CEGUI::Rectf(0.0f, 0.0f, 0.0f, 0.0f);
    m_DocWidth = 0.0f;
}

void CRichTextDoc::AddBlock(IRichTextWindow* window, ITextBlock* block)
{
    if (!block)
        return;
    if (m_Lines.empty())
        NewLine(window, true);
    m_Lines.back()->AddBlock(block);
    m_Layout.left(block->GetRect().right());
}

void CRichTextDoc::CommitItemRefs(IRichTextWindow* window)
{
    NewLine(window, true);
    m_PreviousItems.swap(m_CurrentItems);
    m_CurrentItems.clear();
}

void CRichTextDoc::UpdateItemRefs()
{
    FinishLine();
    m_Layout.bottom(m_Lines.empty() ? 0.0f : m_Lines.back()->GetRect().bottom());
    // The scripts are told last, from copies: a script may lay this document
    // out again or destroy it.
    std::vector<int> added;
    std::vector<int> released;
    std::set_difference(m_CurrentItems.begin(), m_CurrentItems.end(), m_PreviousItems.begin(),
                        m_PreviousItems.end(), std::back_inserter(added));
    std::set_difference(m_PreviousItems.begin(), m_PreviousItems.end(), m_CurrentItems.begin(),
                        m_CurrentItems.end(), std::back_inserter(released));
    m_PreviousItems.clear();
    if (added.empty() && released.empty())
        return;
    IQGUI* main = GetMainObject();
    if (!main)
        return;
    for (int id : added)
        main->CallScriptGlobalNumber("gFn_chatItem_add_ref", id);
    for (int id : released)
        main->CallScriptGlobalNumber("gFn_chatItem_release_ref", id);
}

void CRichTextDoc::Draw(IRichTextWindow* window, const DrawContext& ctx)
{
    for (CTextLine* line : m_Lines)
        line->Draw(window, ctx);
}

bool CRichTextDoc::OnMouseButton(IRichTextWindow* window, float x, float y, int button, bool down)
{
    // The line that took the event may be gone when it answers: return at once.
    for (CTextLine* line : m_Lines)
        if (line->OnMouseButton(window, x, y, button, down))
            return true;
    return false;
}

void CRichTextDoc::OnMouseMove(IRichTextWindow* window, float x, float y, int extra)
{
    // Every block hears the move; lines where it can change nothing are
    // passed over.
    for (CTextLine* line : m_Lines)
        if (line->MayTakeMouse(x, y))
            line->OnMouseMove(window, x, y, extra);
}

CEGUI::Rectf CRichTextDoc::GetDocRect() const
{
    return CEGUI::Rectf(0.0f, 0.0f, m_Layout.right(), m_Layout.bottom());
}

CEGUI::String CRichTextDoc::GetText(IRichTextWindow* window) const
{
    CEGUI::String text;
    for (const CTextLine* line : m_Lines)
        text += line->GetText(window);
    return text;
}

void CRichTextDoc::SetBackgroundPicture(int group, int number)
{
    m_Background.group = static_cast<uint16_t>(group);
    m_Background.number = static_cast<uint16_t>(number);
    if (m_Background.group != 0 && m_Background.number != 0 && !m_Lines.empty())
    {
        CPictureBlock* picture = new CPictureBlock;
        static_cast<GamePic_t&>(*picture) = m_Background;
        m_Lines.back()->SetBackgroundPicture(picture);
    }
}
} // namespace TextBlocks
} // namespace QGUI
