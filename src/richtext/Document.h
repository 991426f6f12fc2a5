// The laid-out rich text: a column of lines, each a row of text blocks, with
// the pen the parsers move while they place blocks; drawing, hit testing,
// and the item ids the text mentions.
#pragma once

#include <CEGUI/Rect.h>
#include <CEGUI/String.h>

#include <set>
#include <vector>

#include "core/ModuleMemory.h"
#include "richtext/RichTextWindow.h"
#include "richtext/TextBlocks.h"

namespace QGUI
{
class IDoc : public CModuleObject
{
public:
    virtual ~IDoc() {}
    // Finishes the current line and starts another below it, at the first-
    // line indent when first is true, else at the rest-line indent.
    virtual void NewLine(IRichTextWindow* window, bool first) = 0;
    // Right edge minus pen x.
    virtual float GetRestWidth() const = 0;
    virtual void GetPen(float& x, float& y) const = 0;
    virtual void SetPen(float x, float y) = 0;
    // The width available for text.
    virtual void SetRightEdge(float edge) = 0;
    virtual float GetRightEdge() const = 0;
    virtual float GetDocHeight() const = 0;
    virtual void SetLineSpacing(float spacing) = 0;
    // Empties the document; the line spacing and the item ids stay.
    virtual void Clear() = 0;
    // The current line takes the block (a line is started when there is
    // none); the pen moves to its right edge.
    virtual void AddBlock(IRichTextWindow* window, ITextBlock* block) = 0;
    // Starts a layout: the first line, and a new set of item ids.
    virtual void CommitItemRefs(IRichTextWindow* window) = 0;
    // Ends a layout and tells the scripts which item ids came and went.
    virtual void UpdateItemRefs() = 0;
    virtual void Draw(IRichTextWindow* window, const DrawContext& ctx) = 0;
    // Point in document coordinates; true when a block took the event.
    virtual bool OnMouseButton(IRichTextWindow* window, float x, float y, int button, bool down) = 0;
    virtual void OnMouseMove(IRichTextWindow* window, float x, float y, int extra) = 0;
    // (0, 0) to (right edge, document height).
    virtual CEGUI::Rectf GetDocRect() const = 0;
    virtual float GetDocWidth() const = 0;
    // The text of every block, without tags.
    virtual CEGUI::String GetText(IRichTextWindow* window) const = 0;
    virtual void AddItemRef(int itemId) = 0;
    virtual void SetBackgroundPicture(int group, int number) = 0;
};

namespace TextBlocks
{
class CTextLine : public ITextBlock
{
public:
    explicit CTextLine(const CEGUI::Rectf& rect);
    ~CTextLine() override;

    // Draws the blocks inside the view, then the background picture; false
    // when the line lies outside the view.
    bool Draw(IRichTextWindow* window, const DrawContext& ctx) override;
    bool OnMouseButton(IRichTextWindow* window, float x, float y, int button, bool down) override;
    void OnMouseMove(IRichTextWindow* window, float x, float y, int extra) override;
    CEGUI::String GetText(IRichTextWindow* window) const override;

    void AddBlock(ITextBlock* block);
    void Clear();
    // Aligns the blocks on the line's bottom and fits the line around them
    // and its background picture.
    void UpdateRect();

    // Whether a mouse move to (x, y) can change a block of this line: one of
    // them is hovered, or the point lies within the blocks' extent.
    bool MayTakeMouse(float x, float y) const
    {
        return m_AnyHovered || (m_Extent.left() < x && x < m_Extent.right() &&
                                m_Extent.top() < y && y < m_Extent.bottom());
    }

    // The line takes the block; a background it had is deleted.
    void SetBackgroundPicture(CPictureBlock* block);
    const CPictureBlock* GetBackgroundPicture() const { return m_pBackground; }
    const std::vector<ITextBlock*>& GetBlocks() const { return m_Blocks; }

private:
    void DrawBackgroundPicture(const DrawContext& ctx) const;

    CPictureBlock* m_pBackground = nullptr;
    std::vector<ITextBlock*> m_Blocks;
    float m_Bottom = 0.0f;
    // The union of the blocks' rectangles, and whether one is hovered.
    CEGUI::Rectf m_Extent{0.0f, 0.0f, 0.0f, 0.0f};
    bool m_AnyHovered = false;
};

class CRichTextDoc : public IDoc
{
public:
    CRichTextDoc() = default;
    ~CRichTextDoc() override;

    void NewLine(IRichTextWindow* window, bool first) override;
    float GetRestWidth() const override { return m_Layout.right() - m_Layout.left(); }
    void GetPen(float& x, float& y) const override;
    void SetPen(float x, float y) override;
    void SetRightEdge(float edge) override { m_Layout.right(edge); }
    float GetRightEdge() const override { return m_Layout.right(); }
    float GetDocHeight() const override { return m_Layout.bottom(); }
    void SetLineSpacing(float spacing) override { m_LineSpacing = spacing; }
    void Clear() override;
    void AddBlock(IRichTextWindow* window, ITextBlock* block) override;
    void CommitItemRefs(IRichTextWindow* window) override;
    void UpdateItemRefs() override;
    void Draw(IRichTextWindow* window, const DrawContext& ctx) override;
    bool OnMouseButton(IRichTextWindow* window, float x, float y, int button, bool down) override;
    void OnMouseMove(IRichTextWindow* window, float x, float y, int extra) override;
    CEGUI::Rectf GetDocRect() const override;
    float GetDocWidth() const override { return m_DocWidth; }
    CEGUI::String GetText(IRichTextWindow* window) const override;
    void AddItemRef(int itemId) override { m_CurrentItems.insert(itemId); }
    void SetBackgroundPicture(int group, int number) override;

    const std::vector<CTextLine*>& GetLines() const { return m_Lines; }
    float GetLineSpacing() const { return m_LineSpacing; }
    const std::set<int>& GetItemRefs() const { return m_CurrentItems; }
    const GamePic_t& GetBackground() const { return m_Background; }

private:
    void FinishLine();
    void DeleteLines();

    std::vector<CTextLine*> m_Lines;
    float m_LineSpacing = 0.0f;
    float m_DocWidth = 0.0f;
    // left: pen x; top: pen y; right: right edge; bottom: document height.
    CEGUI::Rectf m_Layout{0.0f, 0.0f, 0.0f, 0.0f};
    std::set<int> m_CurrentItems;
    std::set<int> m_PreviousItems;
    GamePic_t m_Background;
};
} // namespace TextBlocks
} // namespace QGUI
