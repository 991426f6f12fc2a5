// Pictures, emotes, background pictures and anchors: their place in the
// layout, the sizes the host's texture manager gives, and what they hand the
// window when drawn.
#include "RichTextTestSupport.h"

#include "richtext/PictureParsers.h"

using namespace richtext_test;
using QGUI::TextBlocks::CPictureBlock;

namespace
{
class PictureTest : public RichTextTest
{
protected:
    void SetUp() override
    {
        RichTextTest::SetUp();
        pictures.add(3, 17, 30, 40);
        pictures.add(3, 18, 300, 10);
        pictures.add(4, 14502, 20, 20);
        pictures.add(5, 6, 10, 50);
    }
    const CPictureBlock* picture(size_t i) { return dynamic_cast<const CPictureBlock*>(blocks().at(i)); }
};

TEST_F(PictureTest, PicturesSitOnTheLineAndSetItsHeight)
{
    layout("ab{P 3:17}cd", 1000.0f);
    const auto l = lines();
    ASSERT_EQ(l.size(), 1u);
    ASSERT_NE(picture(1), nullptr);
    EXPECT_EQ(picture(1)->Packed(), (3u << 16) | 17u);
    EXPECT_EQ(picture(1)->GetRect(), CEGUI::Rectf(20, 0, 50, 40));
    // Text shares the picture's bottom line.
    EXPECT_EQ(l[0][0].top, 20.0f);
    EXPECT_EQ(l[0][0].bottom, 40.0f);
    EXPECT_EQ(l[0][2].left, 50.0f);
    EXPECT_EQ(doc->GetDocHeight(), 40.0f);
    EXPECT_EQ(doc->GetText(&window), "abcd");

    // A tag without arguments keeps the group of the one before.
    layout("{P 18}", 1000.0f);
    EXPECT_EQ(picture(0)->group, 3);
    EXPECT_EQ(picture(0)->number, 18);
    // A picture the host does not have takes no room.
    layout("{P 9:9}x", 1000.0f);
    EXPECT_EQ(picture(0)->GetRect(), CEGUI::Rectf(0, 20, 0, 20));
}

TEST_F(PictureTest, APictureThatPassesTheEdgeStartsANewLine)
{
    layout("abcdefgh{P 3:17}", 100.0f);
    EXPECT_EQ(lines().size(), 2u);
    EXPECT_EQ(picture(1)->GetRect().left(), 0.0f);
    // An emote that fits stays, even when the text after it wraps.
    layout("abcdefg{E 2}xyz", 100.0f);
    EXPECT_EQ(lineTexts(), (std::vector<std::string>{"abcdefg||x", "yz"}));
    // Wider than the whole width: a line of its own, past the edge.
    layout("ab{P 3:18}", 100.0f);
    EXPECT_EQ(picture(1)->GetRect(), CEGUI::Rectf(0, 20, 300, 30));
}

TEST_F(PictureTest, DrawnPicturesGoToTheWindowWithTheGameCreature)
{
    main.answer = [](KeyValues* request, KeyValues* reply) {
        EXPECT_STREQ(request->GetName(), "GameCreatureProvider");
        EXPECT_STREQ(request->GetString("WhichOne"), "Picture");
        reply->SetInt("CreatureId", 77);
        return true;
    };
    RecordingSink sink;
    layout("ab{P 3:17}", 1000.0f);
    const QGUI::DrawContext ctx{nullptr, &sink, CEGUI::Rectf(0, 10, 200, 110), CEGUI::Rectf(5, 5, 205, 105)};
    doc->Draw(&window, ctx);
    doc->Draw(&window, ctx);
    ASSERT_EQ(sink.requests.size(), 2u);
    EXPECT_EQ(sink.requests[0].creature, 77u);
    EXPECT_EQ(sink.requests[0].picture, (3u << 16) | 17u);
    EXPECT_EQ(sink.requests[0].x, 25.0f);
    EXPECT_EQ(sink.requests[0].y, -5.0f);
    EXPECT_EQ(sink.clips[0], CEGUI::Rectf(5, 5, 205, 105));
    // The creature is asked for once.
    EXPECT_EQ(main.queries, 1);
}

TEST_F(PictureTest, BackgroundPicturesFillTheLinesFromTheirTagOn)
{
    layout("{Bg 5:6}abc\ndef", 1000.0f);
    const auto& docLines = richDoc().GetLines();
    ASSERT_EQ(docLines.size(), 2u);
    for (const auto* line : docLines)
    {
        ASSERT_NE(line->GetBackgroundPicture(), nullptr);
        EXPECT_EQ(line->GetBackgroundPicture()->Packed(), (5u << 16) | 6u);
        EXPECT_EQ(line->GetBackgroundPicture()->GetRect(), line->GetRect());
    }
    // The picture is taller than the text: each line takes its height.
    EXPECT_EQ(docLines[1]->GetRect(), CEGUI::Rectf(0, 50, 30, 100));
    EXPECT_EQ(doc->GetDocHeight(), 100.0f);

    RecordingSink sink;
    doc->Draw(&window, QGUI::DrawContext{nullptr, &sink, CEGUI::Rectf(0, 0, 100, 30), CEGUI::Rectf(0, 0, 100, 30)});
    ASSERT_EQ(sink.requests.size(), 1u);
    // Taller than the target: centred on it.
    EXPECT_EQ(sink.requests[0].y, -10.0f);

    // Group 0: no picture; number 0: none on this line, but on the next.
    layout("{Bg 0:6}a\nb", 1000.0f);
    EXPECT_EQ(richDoc().GetLines()[1]->GetBackgroundPicture(), nullptr);
    layout("{Bg 5:0}a\nb", 1000.0f);
    EXPECT_EQ(richDoc().GetLines()[0]->GetBackgroundPicture(), nullptr);
    EXPECT_NE(richDoc().GetLines()[1]->GetBackgroundPicture(), nullptr);
    // Set twice on one line: the first goes.
    layout("{Bg 5:6}{Bg 3:17}a", 1000.0f);
    EXPECT_EQ(richDoc().GetLines()[0]->GetBackgroundPicture()->Packed(), (3u << 16) | 17u);
}

TEST_F(PictureTest, AnchorsMoveThePen)
{
    struct
    {
        const char* text;
        CEGUI::Rectf x; // the block of "x"
    } cases[] = {
        {"ab{Ak 40,10}x", CEGUI::Rectf(40, 10, 50, 30)},
        {"ab{Ak -1,10}x", CEGUI::Rectf(20, 10, 30, 30)},
        {"ab{Ak 10}x", CEGUI::Rectf(0, 10, 10, 30)}, // no ",": x is 0
        {"ab{Ak 50,-3}x", CEGUI::Rectf(50, 0, 60, 20)},
        {"ab{Ak 0,100000}x", CEGUI::Rectf(0, QGUI::TextParser::kMaxAnchorPosition, 10,
                                         QGUI::TextParser::kMaxAnchorPosition + 20.0f)},
    };
    for (const auto& c : cases)
    {
        layout(c.text, 1000.0f);
        ASSERT_EQ(blocks().size(), 2u) << c.text;
        EXPECT_EQ(blocks()[1]->GetRect(), c.x) << c.text;
    }
}

TEST_F(PictureTest, NoTextureManagerMeansEmptyPictures)
{
    QGUI::TextBlocks::ServiceStandIns none{&main, nullptr, main.ItemColours()};
    QGUI::TextBlocks::SetServiceStandIns(&none);
    layout("{P 3:17}{Bg 5:6}x", 1000.0f);
    EXPECT_EQ(picture(0)->GetRect(), CEGUI::Rectf(0, 20, 0, 20));
    EXPECT_EQ(doc->GetDocHeight(), 20.0f);
}
} // namespace
