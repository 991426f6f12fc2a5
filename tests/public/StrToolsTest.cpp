#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <string>

#include "codepage.h"
#include "strtools.h"

namespace
{

// "中文" in GBK and in UTF-8, between ASCII letters.
const char kMixedGbk[] = "A\xD6\xD0\xCE\xC4z";
const char kMixedUtf8[] = "A\xE4\xB8\xAD\xE6\x96\x87z";

std::u16string Wide(const char16_t* text)
{
    return text ? std::u16string(text) : std::u16string();
}

TEST(StringToNumber, IntegerForms)
{
    EXPECT_EQ(StringToInt("-0x1F"), -31);
    EXPECT_EQ(StringToInt("'A"), 65);
    EXPECT_EQ(StringToInt("-'A"), -65);
    EXPECT_EQ(StringToInt("'\xFF"), -1); // the byte is signed
    EXPECT_EQ(StringToInt("'"), 0);      // nothing read past the end
    EXPECT_EQ(StringToInt("12abc"), 12);
    EXPECT_EQ(StringToInt("abc"), 0);
    EXPECT_EQ(StringToInt("4294967297"), 1); // 32-bit wrap, no undefined overflow
    EXPECT_EQ(StringToInt("-2147483648"), INT32_MIN);
    EXPECT_EQ(StringToInt("0xFFFFFFFF"), -1);
}

TEST(StringToNumber, FloatForms)
{
    EXPECT_FLOAT_EQ(StringToFloat("3.25"), 3.25f);
    EXPECT_FLOAT_EQ(StringToFloat("-.5"), -0.5f);
    EXPECT_FLOAT_EQ(StringToFloat("1.2.3"), 12.3f);
    EXPECT_FLOAT_EQ(StringToFloat("0x10"), 16.0f);
    EXPECT_FLOAT_EQ(StringToFloat("1e5"), 1.0f);
    EXPECT_FLOAT_EQ(StringToFloat("'A"), 65.0f);
    EXPECT_FLOAT_EQ(StringToFloat(""), 0.0f);
    EXPECT_TRUE(std::isinf(StringToFloat(std::string(50, '9').c_str())));
}

TEST(BoundedText, StrNCatCutsToTheBuffer)
{
    char buffer[8] = "abcde";
    StrNCat(buffer, "xyz", sizeof(buffer), -1);
    EXPECT_STREQ(buffer, "abcdexy");
    EXPECT_EQ(buffer[7], '\0');

    char limited[16] = "ab";
    StrNCat(limited, "xyz", sizeof(limited), 1);
    EXPECT_STREQ(limited, "abx");
}

TEST(BoundedText, StrNCatTouchesNothingWhenNothingFits)
{
    char full[9] = "abcdefg";
    full[8] = '#';
    StrNCat(full, "xyz", 8, -1);
    EXPECT_STREQ(full, "abcdefg");
    EXPECT_EQ(full[8], '#');

    // A destination without a NUL inside its size is left alone, not read past.
    char unterminated[4] = {'a', 'b', 'c', 'd'};
    StrNCat(unterminated, "x", sizeof(unterminated), -1);
    EXPECT_EQ(std::string(unterminated, 4), "abcd");
}

TEST(BoundedText, StrSnprintfReportsACut)
{
    char buffer[8];
    std::memset(buffer, '#', sizeof(buffer));
    EXPECT_EQ(StrSnprintf(buffer, 4, "%s", "0123456789"), 4);
    EXPECT_STREQ(buffer, "012");
    EXPECT_EQ(buffer[4], '#');
    EXPECT_EQ(StrSnprintf(buffer, 8, "%d", 42), 2);
    EXPECT_STREQ(buffer, "42");
    EXPECT_EQ(StrSnprintf(buffer, 0, "%d", 42), 0);
    EXPECT_STREQ(buffer, "42");
}

TEST(BoundedText, StrNCopyTerminates)
{
    char buffer[6];
    std::memset(buffer, '#', sizeof(buffer));
    StrNCopy(buffer, "abcdefgh", 4);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(buffer[4], '#');
    StrNCopy(buffer, "abcdefgh", 1);
    EXPECT_STREQ(buffer, "");
}

TEST(BoundedText, WideSprintfStaysInItsBuffer)
{
    char16_t buffer[8];
    for (char16_t& c : buffer)
        c = u'#';
    EXPECT_EQ(WideSprintf(buffer, 4, u"%d", 123456), 3);
    EXPECT_EQ(Wide(buffer), u"123");
    EXPECT_EQ(buffer[4], u'#');
    EXPECT_EQ(WideSprintf(buffer, 8, u"%f", 1.5), 7);
    EXPECT_EQ(Wide(buffer), u"1.50000");
}

class CodePageTest : public ::testing::Test
{
protected:
    void TearDown() override { SetLocalCodePage(936); }
};

TEST_F(CodePageTest, LocalAndUtf8RoundTripMixedText)
{
    EXPECT_STREQ(AnsiToUtf8(kMixedGbk, ""), kMixedUtf8);
    EXPECT_STREQ(Utf8ToAnsi(kMixedUtf8, ""), kMixedGbk);
    EXPECT_EQ(Wide(MultiByteToUtf16(kMixedGbk, CP_ACP)), u"A中文z");
    EXPECT_STREQ(Utf16ToMultiByte(u"A中文z", CP_UTF8), kMixedUtf8);
}

TEST_F(CodePageTest, NullTextGivesTheDefaultItself)
{
    const char* fallback = "fallback";
    EXPECT_EQ(Utf8ToAnsi(nullptr, fallback), fallback);
    EXPECT_EQ(AnsiToUtf8(nullptr, fallback), fallback);
}

TEST_F(CodePageTest, TextLongerThanTheSharedBufferIsConvertedWhole)
{
    std::string utf8;
    std::string gbk;
    for (int i = 0; i < 6000; ++i)
    {
        utf8 += "\xE4\xB8\xAD";
        gbk += "\xD6\xD0";
    }
    utf8 += "end";
    gbk += "end";
    ASSERT_GT(utf8.size(), size_t(CODEPAGE_BUFFER_SIZE));
    EXPECT_EQ(std::string(Utf8ToAnsi(utf8.c_str(), "")), gbk);
    EXPECT_EQ(std::string(AnsiToUtf8(gbk.c_str(), "")), utf8);
    std::u16string wide(20000, u'x');
    EXPECT_EQ(Wide(MultiByteToUtf16(std::string(20000, 'x').c_str(), CP_UTF8)), wide);
}

TEST_F(CodePageTest, InvalidSequencesBecomeReplacementCharacters)
{
    EXPECT_EQ(Wide(MultiByteToUtf16("a\xFF" "b", CP_UTF8)), u"a\uFFFDb");
    EXPECT_EQ(Wide(MultiByteToUtf16("a\xE4\xB8", CP_UTF8)), u"a\uFFFD\uFFFD");
    // A GBK lead byte without its trail byte.
    EXPECT_EQ(Wide(MultiByteToUtf16("a\x81", CP_ACP)), u"a\uFFFD");
    // An unpaired surrogate has no UTF-8 form.
    const char16_t lone[] = {u'a', 0xD800, u'b', 0};
    EXPECT_STREQ(Utf16ToMultiByte(lone, CP_UTF8), "a\xEF\xBF\xBD" "b");
    // A character GBK cannot hold becomes the default character.
    EXPECT_STREQ(Utf16ToMultiByte(u"x\U0001F600y", CP_ACP), "x?y");
}

TEST_F(CodePageTest, LocalCodePageCanBeChanged)
{
    EXPECT_FALSE(SetLocalCodePage(123456));
    EXPECT_EQ(GetLocalCodePage(), 936u);
    ASSERT_TRUE(SetLocalCodePage(1252));
    EXPECT_STREQ(AnsiToUtf8("caf\xE9", ""), "caf\xC3\xA9");
}

TEST_F(CodePageTest, AsciiPassesUnconvertedOnlyWhereTheCodePageKeepsIt)
{
    EXPECT_TRUE(LocalCodePageKeepsAscii());
    EXPECT_STREQ(Utf8ToAnsi("plain text longer than eight", ""), "plain text longer than eight");
    EXPECT_TRUE(IsAsciiText("abcdefghijklmnop", 16));
    EXPECT_FALSE(IsAsciiText("abcdefghijk\x80mnop", 16));
    EXPECT_FALSE(IsAsciiText("ab\xC3", 3));
    // EBCDIC writes ASCII letters as other bytes: the conversion must run.
    ASSERT_TRUE(SetLocalCodePage(500));
    EXPECT_FALSE(LocalCodePageKeepsAscii());
    EXPECT_STREQ(Utf8ToAnsi("A", ""), "\xC1");
    ASSERT_TRUE(SetLocalCodePage(936));
    EXPECT_TRUE(LocalCodePageKeepsAscii());
}

TEST(MultiByteToWideCharTest, SizesAndBounds)
{
    // Counting includes the terminator when the length is -1.
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, kMixedUtf8, -1, nullptr, 0), 5);
    char16_t out[8];
    for (char16_t& c : out)
        c = u'#';
    // Does not fit: fails, and nothing is written past the given count.
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, kMixedUtf8, -1, out, 3), 0);
    EXPECT_EQ(out[3], u'#');
    // An explicit length converts exactly those bytes, without a terminator.
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "abc", 2, out, 8), 2);
    EXPECT_EQ(out[0], u'a');
    EXPECT_EQ(out[2], u'#');
    // A four-byte sequence becomes a surrogate pair.
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "\xF0\x9F\x98\x80", 4, out, 8), 2);
    EXPECT_EQ(out[0], 0xD83D);
    EXPECT_EQ(out[1], 0xDE00);
    // One double-byte character in the local code page.
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, "\xD6\xD0", 2, out, 1), 1);
    EXPECT_EQ(out[0], u'中');
}

TEST(MultiByteToWideCharTest, StrictModeAndBadArguments)
{
    char16_t out[8];
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, "a\xC0\x80", -1, out, 8), 0); // overlong NUL
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, "\x81", 1, out, 8), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, nullptr, -1, out, 8), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a", 0, out, 8), 0);
    EXPECT_EQ(MultiByteToWideChar(CP_UTF8, 0, "a", -1, nullptr, 8), 0);
    EXPECT_EQ(MultiByteToWideChar(99999, 0, "a", -1, out, 8), 0);
}

TEST(WideCharToMultiByteTest, DefaultCharacterAndBounds)
{
    char out[16];
    std::memset(out, '#', sizeof(out));
    int usedDefault = 0;
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"a\uAC00\u4E2D", -1, out, 16, "*", &usedDefault), 5);
    EXPECT_STREQ(out, "a*\xD6\xD0");
    EXPECT_EQ(usedDefault, 1);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u4E2D\u6587", -1, nullptr, 0, nullptr, nullptr), 5);

    std::memset(out, '#', sizeof(out));
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"\u4E2D\u6587", -1, out, 4, nullptr, nullptr), 0);
    EXPECT_EQ(out[4], '#');

    const char16_t lone[] = {0xDC00, 0};
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, lone, -1, out, 16, nullptr, nullptr), 0);
    // UTF-8 takes no default character.
    EXPECT_EQ(WideCharToMultiByte(CP_UTF8, 0, u"a", -1, out, 16, "?", nullptr), 0);
}

} // namespace
