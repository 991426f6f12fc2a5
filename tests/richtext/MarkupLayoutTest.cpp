// The markup loop over well-formed, malformed and hostile texts, the colours
// of its runs, and the word-wrapping geometry with the fixed-width font.
#include "RichTextTestSupport.h"

#include "richtext/PlainLayout.h"

using namespace richtext_test;

namespace
{
constexpr uint32_t kWindowColour = 0xFF123456u;
constexpr float kWide = 1000.0f;

struct LoopCase
{
    const char* text;
    // Lines, blocks joined by "|"; each block "text@c" with c: W the window
    // colour, R red, D the table's default white.
    std::vector<std::string> lines;
};

class MarkupLoopTest : public RichTextTest, public ::testing::WithParamInterface<LoopCase>
{
};

std::string ColourCode(uint32_t c)
{
    if (c == kWindowColour)
        return "W";
    if (c == kRed)
        return "R";
    if (c == 0xFFFFFFFFu)
        return "D";
    return "?";
}

TEST_P(MarkupLoopTest, RunsAndColours)
{
    window.colour = kWindowColour;
    layout(GetParam().text, kWide);
    std::vector<std::string> got;
    for (const auto& line : lines())
    {
        std::string joined;
        for (const BlockView& b : line)
            joined += (joined.empty() ? "" : "|") + b.text + "@" + ColourCode(b.colour);
        got.push_back(joined);
    }
    EXPECT_EQ(got, GetParam().lines) << "text: " << GetParam().text;
}

INSTANTIATE_TEST_SUITE_P(
    Texts, MarkupLoopTest,
    ::testing::Values(
        LoopCase{"abc", {"abc@W"}},
        LoopCase{"{T red:abc}", {"abc@R"}},
        LoopCase{"a{T red:b}c", {"a@W|b@R|c@W"}},
        // Unknown keys, keys without a space, lower case: the "{" goes.
        LoopCase{"{X y:z}", {"X y:z}@W"}},
        LoopCase{"{Tred:abc}", {"Tred:abc}@W"}},
        LoopCase{"{t red:abc}", {"t red:abc}@W"}},
        LoopCase{"{ T red:x}", {" T red:x}@W"}},
        // No separator, or one right before the "}": no arguments.
        LoopCase{"{T abc}", {"abc@D"}},
        LoopCase{"{T red:}", {"red:@D"}},
        LoopCase{"{T :abc}", {"abc@D"}},
        LoopCase{"{T  red:abc}", {"abc@D"}},
        // An empty tag lays nothing out; its "}" is text.
        LoopCase{"{T }", {"}@W"}},
        LoopCase{"{T }x", {"}x@W"}},
        // No nesting: the first "}" closes, a "{" inside is content.
        LoopCase{"a{T red:b{c}d", {"a@W|b{c@R|d@W"}},
        LoopCase{"{T red:a{X b}c}", {"a{X b@R|c}@W"}},
        // Unterminated tags run to the end.
        LoopCase{"{T red:abc", {"abc@R"}},
        LoopCase{"x{T ", {"x@W"}},
        LoopCase{"{", {""}},
        LoopCase{"}", {"}@W"}},
        LoopCase{"{{{{ x", {" x@W"}},
        LoopCase{"\n", {"\n@W", ""}},
        LoopCase{"{T red:a\nb}c", {"a\n@R", "b@R|c@W"}}));

TEST_F(RichTextTest, DefaultRunsTakeTheWindowColourForOneParseOnly)
{
    window.colour = kWindowColour;
    layout("a", kWide);
    EXPECT_EQ(manager.GetDefaultParser()->GetColors(), QGUI::TextParser::kDefaultColorPair);
    window.colour = kRed;
    layout("b", kWide);
    ASSERT_EQ(lines().size(), 1u);
    EXPECT_EQ(lines()[0][0].colour, kRed);
}

TEST_F(RichTextTest, HostileInputCostsLinearTime)
{
    // Braces without keys, an unterminated tag and a word as long as a
    // chat log: the characters measured grow with the text, not its square.
    for (const std::string& unit : {std::string("{"), std::string("{T "), std::string("a")})
    {
        size_t perChar[2] = {0, 0};
        for (int pass = 0; pass < 2; ++pass)
        {
            const size_t n = pass == 0 ? 2000 : 20000;
            std::string text;
            while (text.size() < n)
                text += unit;
            text += " x";
            font.measured = 0;
            layout(CEGUI::String(text), 100.0f);
            perChar[pass] = font.measured * 1000 / n;
        }
        EXPECT_LE(perChar[1], perChar[0] + 100) << unit;
    }
    EXPECT_GT(lines().size(), 1000u);
}

TEST_F(RichTextTest, WordsWrapWholeExceptTheFirstOfABlock)
{
    layout("abcdefghijklmnopqrstuvwxy", 100.0f);
    EXPECT_EQ(lineTexts(), (std::vector<std::string>{"abcdefghij", "klmnopqrst", "uvwxy"}));
    const auto l = lines();
    EXPECT_EQ(l[1][0].top, 20.0f);
    EXPECT_EQ(l[2][0].right, 50.0f);
    EXPECT_EQ(doc->GetDocHeight(), 60.0f);
    EXPECT_EQ(doc->GetDocRect(), CEGUI::Rectf(0, 0, 100, 60));

    // A tab is a word break: the word after it moves to the next line whole.
    layout("abc\tdefghij", 100.0f);
    EXPECT_EQ(lineTexts(), (std::vector<std::string>{"abc\t", "defghij"}));
    EXPECT_EQ(lines()[0][0].right, 40.0f);

    // A space is no word break; a line break ends its line and belongs to it.
    layout("ab cd\nef", 100.0f);
    EXPECT_EQ(lineTexts(), (std::vector<std::string>{"ab cd\n", "ef"}));

    // A run's first word that starts mid-line is split where the line ends.
    layout("abcdef{T red:ghijkl}", 100.0f);
    EXPECT_EQ(lineTexts(), (std::vector<std::string>{"abcdef|ghij", "kl"}));
}

TEST_F(RichTextTest, AWordThatCannotStartOnItsLineGetsTheWidthItHolds)
{
    // Five pixels are left after the first run: not one character fits, so
    // the word starts a new line; that block is as wide as its characters,
    // and the rest of the word follows on the next line.
    layout("abcdefghij{T red:klmnopqrstuvwxyz}", 105.0f);
    EXPECT_EQ(lineTexts(), (std::vector<std::string>{"abcdefghij", "klmnopqrst", "uvwxyz"}));
    const auto l = lines();
    EXPECT_EQ(l[1][0].right, 100.0f);
    EXPECT_LE(doc->GetDocWidth(), 105.0f);
}

TEST_F(RichTextTest, IndentsPlaceTheFirstAndTheFollowingLines)
{
    window.indent1st = 20;
    window.indentRest = 5;
    layout("abcdefghijklmno", 100.0f);
    EXPECT_EQ(lineTexts(), (std::vector<std::string>{"abcdefgh", "ijklmno"}));
    const auto l = lines();
    EXPECT_EQ(l[0][0].left, 20.0f);
    EXPECT_EQ(l[0][0].right, 100.0f);
    EXPECT_EQ(l[1][0].left, 5.0f);
    EXPECT_EQ(l[1][0].right, 75.0f);
}

TEST_F(RichTextTest, NothingIsLaidOutWithoutWidthOrFont)
{
    layout("abc", 0.0f);
    EXPECT_EQ(lineTexts(), std::vector<std::string>{""});
    window.font = nullptr;
    layout("abc{T red:def}", 100.0f);
    EXPECT_EQ(lineTexts(), std::vector<std::string>{""});
    // A character wider than the whole width: the rest of the run goes.
    layout("abc", 5.0f);
    EXPECT_EQ(lineTexts(), std::vector<std::string>{""});
}

TEST(WordLength, StopsAtLineBreaksTabsAndReturns)
{
    using QGUI::TextParser::GetWordLength;
    EXPECT_EQ(GetWordLength("ab cd\tef", 0), 5u);
    EXPECT_EQ(GetWordLength("ab cd\tef", 5), 1u);
    EXPECT_EQ(GetWordLength("ab cd\tef", 6), 2u);
    EXPECT_EQ(GetWordLength("a\r\nb", 1), 1u);
    EXPECT_EQ(GetWordLength("abc", 3), 0u);
}
} // namespace
