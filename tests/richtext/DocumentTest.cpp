// The document: its sizes, drawing of the visible lines and blocks, and the
// hovering and hit testing of its blocks.
#include "RichTextTestSupport.h"

using namespace richtext_test;

namespace
{
class DocumentTest : public RichTextTest
{
protected:
    NullBuffer buffer;
    RecordingSink sink;

    void draw(const CEGUI::Rectf& view, const CEGUI::Rectf& target)
    {
        font.drawn.clear();
        doc->Draw(&window, QGUI::DrawContext{&buffer, &sink, view, target});
    }
    std::vector<std::string> drawnTexts() const
    {
        std::vector<std::string> texts;
        for (const FixedFont::Drawn& d : font.drawn)
            texts.push_back(d.text);
        return texts;
    }
};

TEST_F(DocumentTest, SizesFollowTheLayout)
{
    EXPECT_TRUE(richDoc().GetLines().empty());
    EXPECT_EQ(doc->GetDocHeight(), 0.0f);
    EXPECT_EQ(doc->GetDocWidth(), 0.0f);

    layout("abc{T red:def}\nxy", 100.0f);
    EXPECT_EQ(doc->GetText(&window), "abcdef\nxy");
    EXPECT_EQ(doc->GetDocWidth(), 70.0f);
    EXPECT_EQ(doc->GetDocRect(), CEGUI::Rectf(0, 0, 100, 40));

    doc->SetLineSpacing(3.0f);
    doc->Clear();
    EXPECT_TRUE(richDoc().GetLines().empty());
    EXPECT_EQ(doc->GetDocWidth(), 0.0f);
    EXPECT_EQ(doc->GetDocRect(), CEGUI::Rectf(0, 0, 0, 0));
    EXPECT_EQ(richDoc().GetLineSpacing(), 3.0f);
    doc->SetRightEdge(100.0f);
    doc->CommitItemRefs(&window);
    manager.Parse(&window, "a\nb", doc);
    doc->UpdateItemRefs();
    EXPECT_EQ(lines()[1][0].top, 23.0f);
}

TEST_F(DocumentTest, DrawsTheVisibleBlocksAtTheirPlaceInTheWindow)
{
    layout("ab\ncd\nef", 100.0f);
    // Rows 20-40 and 40-60 of the document shown from y = 30, into a target
    // at (5, 7): line breaks are not drawn.
    draw(CEGUI::Rectf(0, 30, 100, 50), CEGUI::Rectf(5, 7, 105, 27));
    ASSERT_EQ(drawnTexts(), (std::vector<std::string>{"cd", "ef"}));
    EXPECT_EQ(font.drawn[0].position, CEGUI::Vector2f(5, -3));
    EXPECT_EQ(font.drawn[1].position, CEGUI::Vector2f(5, 17));
    EXPECT_EQ(font.drawn[0].clip, CEGUI::Rectf(5, 7, 105, 27));
    EXPECT_EQ(font.drawn[0].colour, window.colour);

    // A view that only touches a line's edge still draws it.
    draw(CEGUI::Rectf(0, 60, 100, 80), CEGUI::Rectf(0, 0, 100, 20));
    EXPECT_EQ(drawnTexts(), std::vector<std::string>{"ef"});

    // Without a font nothing is drawn, and nothing breaks.
    window.font = nullptr;
    draw(CEGUI::Rectf(0, 0, 100, 60), CEGUI::Rectf(0, 0, 100, 60));
    EXPECT_TRUE(font.drawn.empty());
}

TEST_F(DocumentTest, ALineGoesOnDrawingAfterABlockOutsideTheView)
{
    layout("abcdefghij{T red:klmno}", 200.0f);
    // Scrolled sideways past the first block: the second is still drawn.
    draw(CEGUI::Rectf(120, 0, 220, 20), CEGUI::Rectf(0, 0, 100, 20));
    ASSERT_EQ(drawnTexts(), std::vector<std::string>{"klmno"});
    EXPECT_EQ(font.drawn[0].position, CEGUI::Vector2f(-20, 0));
    EXPECT_EQ(font.drawn[0].colour, kRed);
}

TEST_F(DocumentTest, HoverFollowsTheMouseStrictlyInsideABlock)
{
    layout("abc{T red:def}", 100.0f);
    const auto b = blocks();
    doc->OnMouseMove(&window, 35.0f, 10.0f, 0);
    EXPECT_FALSE(b[0]->IsHovered());
    EXPECT_TRUE(b[1]->IsHovered());
    EXPECT_EQ(window.redraws, 1);
    doc->OnMouseMove(&window, 36.0f, 11.0f, 0);
    EXPECT_EQ(window.redraws, 1);
    // An edge is outside.
    doc->OnMouseMove(&window, 30.0f, 10.0f, 0);
    EXPECT_FALSE(b[1]->IsHovered());
    EXPECT_EQ(window.redraws, 2);
    // Another window in front: nothing is hovered.
    window.underMouse = false;
    doc->OnMouseMove(&window, 15.0f, 10.0f, 0);
    EXPECT_FALSE(b[0]->IsHovered());
    EXPECT_EQ(window.redraws, 2);
}

TEST_F(DocumentTest, EveryBlockHearsTheMouseWhereverItsLineIs)
{
    // The second line starts at its indent, but an anchor put its block
    // left of it: the block is hovered all the same, and loses the hover
    // when the mouse goes to another line.
    window.indentRest = 50;
    layout("ab\n{Ak 0,-1}cd", 100.0f);
    const auto b = blocks();
    ASSERT_EQ(b.size(), 2u);
    EXPECT_EQ(b[1]->GetRect(), CEGUI::Rectf(0, 20, 20, 40));
    doc->OnMouseMove(&window, 5.0f, 30.0f, 0);
    EXPECT_TRUE(b[1]->IsHovered());
    doc->OnMouseMove(&window, 5.0f, 5.0f, 0);
    EXPECT_FALSE(b[1]->IsHovered());
    EXPECT_TRUE(b[0]->IsHovered());
    doc->OnMouseMove(&window, 500.0f, 500.0f, 0);
    EXPECT_FALSE(b[0]->IsHovered());
    EXPECT_EQ(window.redraws, 4);
}

TEST_F(DocumentTest, ButtonsReachTheBlockUnderThePoint)
{
    layout("abc\ndef", 100.0f);
    const auto b = blocks();
    EXPECT_TRUE(doc->OnMouseButton(&window, 15.0f, 30.0f, QGUI::DOC_BUTTON_LEFT, true));
    EXPECT_TRUE(b[1]->IsPressed());
    EXPECT_FALSE(b[0]->IsPressed());
    EXPECT_FALSE(doc->OnMouseButton(&window, 15.0f, 20.0f, QGUI::DOC_BUTTON_LEFT, false));
    EXPECT_FALSE(doc->OnMouseButton(&window, 95.0f, 10.0f, QGUI::DOC_BUTTON_LEFT, true));
}
} // namespace
