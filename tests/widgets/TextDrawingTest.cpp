// Text drawn by the main object for the host: placement per format,
// wrapping, scales, the font table and the renderer's state around a draw.
// The test font draws each character as one 8 x 12 quad, 8 pixels apart.
#include "WidgetHarness.h"
#include "render/GuiString.h"
#include "render/QXRenderer.h"

namespace
{
struct TextDrawingTest : harness::WidgetHarness
{
    const QGUIColours white{0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};

    int draw(const char* text, QGUIRect rect, int format, float yScale = 1.0f, int font = 0,
             const QGUIRect* clip = nullptr)
    {
        render.draws.clear();
        const QGUIScale scale{1.0f, yScale};
        return gui->DrawText(text, &rect, &white, clip, format, font, &scale);
    }
    // The left edge of each glyph drawn, line by line (by top). The host
    // gets every quad half a pixel up and left, truncated: whole positions
    // arrive one less.
    std::map<int, std::vector<int>> lines() const
    {
        std::map<int, std::vector<int>> out;
        for (const harness::Quad& q : glyphs())
            out[q.y + 1].push_back(q.x + 1);
        return out;
    }
};

const QGUIRect kBox{100, 50, 300, 100}; // 200 pixels wide

TEST_F(TextDrawingTest, EachFormatPlacesItsLine)
{
    struct Case
    {
        const char* text;
        int format;
        std::vector<int> xs;
    } cases[] = {
        {"abcd", 0, {100, 108, 116, 124}},
        {"abcd", 1, {268, 276, 284, 292}},
        {"abcd", 2, {184, 192, 200, 208}},
        // The free width goes to the space.
        {"ab cd", 3, {100, 108, 116, 284, 292}},
        {"abcd", 3, {100, 108, 116, 124}},
        // A format outside the table is plain left.
        {"abcd", 42, {100, 108, 116, 124}},
        {"abcd", -1, {100, 108, 116, 124}},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(draw(c.text, kBox, c.format), 12) << c.format;
        const auto l = lines();
        ASSERT_EQ(l.size(), 1u) << c.format;
        EXPECT_EQ(l.begin()->first, 50);
        EXPECT_EQ(l.begin()->second, c.xs) << c.text << " " << c.format;
    }
}

TEST_F(TextDrawingTest, WrappingFormatsBreakInsideRunsAndAtTabs)
{
    const QGUIRect narrow{100, 50, 140, 100}; // five characters
    struct Case
    {
        const char* text;
        int format;
        QGUIRect rect;
        std::map<int, std::vector<int>> lines;
    } cases[] = {
        // Spaces are not break points: the line breaks at the fifth character.
        {"abc defgh", 4, narrow, {{50, {100, 108, 116, 124, 132}}, {62, {100, 108, 116, 124}}}},
        {"abcdefgh", 5, narrow, {{50, {100, 108, 116, 124, 132}}, {62, {116, 124, 132}}}},
        {"abcdefgh", 6, narrow, {{50, {100, 108, 116, 124, 132}}, {62, {108, 116, 124}}}},
        // A tab ends a run.
        {"ab\tcdef", 4, QGUIRect{100, 50, 132, 100}, {{50, {100, 108}}, {62, {100, 108, 116, 124}}}},
        // Each line starts again; two lines are twice the line spacing.
        {"ab\ncd", 4, narrow, {{50, {100, 108}}, {62, {100, 108}}}},
        // A character wider than the box stands alone on its line.
        {"abc", 6, QGUIRect{100, 50, 104, 100}, {{50, {98}}, {62, {98}}, {74, {98}}}},
        // No width: no wrapping.
        {"abcdef", 4, QGUIRect{100, 50, 100, 100}, {{50, {100, 108, 116, 124, 132, 140}}}},
    };
    for (const Case& c : cases)
    {
        const int height = draw(c.text, c.rect, c.format);
        EXPECT_EQ(lines(), c.lines) << c.text << " " << c.format;
        EXPECT_EQ(height, int(c.lines.size()) * 12) << c.text;
    }
}

TEST_F(TextDrawingTest, ScaleClipAndEmptyTexts)
{
    EXPECT_EQ(draw("ab\ncd", kBox, 0, 2.0f), 48);
    auto l = lines();
    ASSERT_EQ(l.size(), 2u);
    EXPECT_EQ(std::next(l.begin())->first, 74);
    EXPECT_FLOAT_EQ(glyphs()[0].height, 24.0f);

    const QGUIRect clip{100, 0, 116, 1000};
    draw("abcd", kBox, 0, 1.0f, 0, &clip);
    EXPECT_EQ(lines().begin()->second, (std::vector<int>{100, 108}));

    // Bytes that are not UTF-8 (a sequence cut short at the end, stray
    // continuation bytes) are drawn as they can be, never read past.
    for (const char* bad : {"ab\xE4", "\xF0\x9F", "\xC3", "\x80\xBF", "a\xE4z"})
        EXPECT_EQ(draw(bad, kBox, 0), 12) << bad;
    EXPECT_EQ(draw("", kBox, 4), 0);
    EXPECT_EQ(draw(nullptr, kBox, 4), 0);
    EXPECT_TRUE(render.draws.empty());
    EXPECT_EQ(gui->DrawText("ab", nullptr, &white, nullptr, 0, 0, nullptr), 0);
    // The extra colour changes nothing here.
    const QGUIScale one{1.0f, 1.0f};
    const uint32_t extra = 0xFF00FF00;
    render.draws.clear();
    EXPECT_EQ(gui->DrawTextEx("ab", &kBox, &white, nullptr, 0, 0, &one, &extra), 12);
    EXPECT_EQ(glyphs().size(), 2u);
    EXPECT_EQ(glyphs()[0].colour, 0xFFFFFFFFu);
    render.draws.clear();
    EXPECT_EQ(gui->DrawTextColour("ab", &kBox, 0xFF123456, nullptr, 1, 0), 12);
    EXPECT_EQ(glyphs()[0].colour, 0xFF123456u);
}

TEST_F(TextDrawingTest, DrawingIsImmediateAndLeavesTheRendererAsItWas)
{
    QXUI::CQXRenerder& r = *gui->GetRenderer();
    game.suppressed = true;
    for (bool queueing : {false, true})
    {
        r.setQueueingEnabled(queueing);
        r.clearRenderList();
        EXPECT_EQ(draw("ab", kBox, 0), 12);
        // Drawn at once although the engine client suppresses the interface.
        EXPECT_EQ(glyphs().size(), 2u);
        EXPECT_TRUE(r.getQuadList().empty());
        EXPECT_EQ(r.isQueueingEnabled(), queueing);
        EXPECT_FALSE(r.getImmediateOverride());
    }
    r.setQueueingEnabled(false);
}

TEST_F(TextDrawingTest, TheFontTable)
{
    QGUIRect extent{1, 2, 3, 4};
    EXPECT_EQ(gui->GetTextExtent(&extent, 2, "abc"), &extent); // empty entry: font 0
    EXPECT_EQ(extent.right, 24);
    EXPECT_EQ(extent.bottom, 12);
    EXPECT_EQ(extent.left, 0);
    gui->GetTextExtent(&extent, 17, nullptr);
    EXPECT_EQ(extent.right, 0);
    EXPECT_EQ(extent.bottom, 12);
    EXPECT_EQ(gui->GetTextExtent(nullptr, 0, "abc"), nullptr);

    EXPECT_STREQ(gui->GetFontName(0), "HFont");
    EXPECT_EQ(gui->GetFontName(2), nullptr);
    EXPECT_EQ(gui->GetFontName(-1), nullptr);
    EXPECT_FALSE(gui->LoadFont(4, "HFont"));
    EXPECT_FALSE(gui->LoadFont(1, nullptr));
    // Loading a loaded font again gives that font.
    EXPECT_TRUE(gui->LoadFont(3, "HFont"));
    EXPECT_STREQ(gui->GetFontName(3), "HFont");
    // A font that does not load leaves the entry and answers false.
    EXPECT_FALSE(gui->LoadFont(3, "Missing"));
    EXPECT_STREQ(gui->GetFontName(3), "HFont");
    EXPECT_TRUE(logger->hasPrefix("QGUI::CQGUI::LoadFont: the font 'Missing' did not load"));

    // Once the fonts are gone nothing is drawn or measured.
    CEGUI::FontManager::getSingleton().destroy("HFont");
    EXPECT_EQ(draw("ab", kBox, 0), 0);
    EXPECT_TRUE(render.draws.empty());
    gui->GetTextExtent(&extent, 0, "ab");
    EXPECT_EQ(extent.right, 0);
    EXPECT_EQ(extent.bottom, 0);
    EXPECT_EQ(gui->GetFontName(0), nullptr);
}
} // namespace

namespace
{
TEST(GuiStringTest, Utf8DecodesAndReplacesWhatIsNotUtf8)
{
    const struct
    {
        const char* text;
        std::vector<CEGUI::utf32> code;
    } cases[] = {
        {"a\xC3\xA9z", {'a', 0xE9, 'z'}},
        {"\xE4\xB8\xAD", {0x4E2D}},
        {"\xF0\x9F\x98\x80", {0x1F600}},
        {"ab\xE4", {'a', 'b', 0xFFFD}},
        {"\xE4\xB8", {0xFFFD, 0xFFFD}},
        {"\x80z", {0xFFFD, 'z'}},
        {"\xC0\xAF", {0xFFFD, 0xFFFD}},         // overlong "/"
        {"\xED\xA0\x80", {0xFFFD, 0xFFFD, 0xFFFD}}, // a surrogate
        {"\xF4\x90\x80\x80", {0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD}}, // past U+10FFFF
    };
    for (const auto& c : cases)
    {
        const CEGUI::String s = QGUI::StringFromUtf8(c.text);
        EXPECT_EQ(std::vector<CEGUI::utf32>(s.ptr(), s.ptr() + s.length()), c.code) << c.text;
    }
    EXPECT_TRUE(QGUI::StringFromUtf8(nullptr).empty());
}
} // namespace
