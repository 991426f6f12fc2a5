// The module's clipboard text functions over the stand-in clipboard: the
// code pages of the two text formats, line feeds, the size limit, memory
// another program left unterminated, and failures of the clipboard calls.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "clipboard.h"
#include "codepage.h"
#include "widgets/Clipboard.h"

namespace
{
struct ClipboardTest : ::testing::Test
{
    void SetUp() override
    {
        ClipboardReset();
        ASSERT_TRUE(SetLocalCodePage(936));
    }
    void TearDown() override { ClipboardReset(); }

    static CEGUI::String Utf8(const char* text) { return CEGUI::String(reinterpret_cast<const CEGUI::utf8*>(text)); }
    // What the clipboard holds under a format, as bytes up to the block's
    // first zero.
    static std::string Held(uint32_t format)
    {
        std::string out;
        if (!OpenClipboard(nullptr))
            return "<closed>";
        if (HANDLE h = GetClipboardData(format))
        {
            const char* p = static_cast<const char*>(GlobalLock(h));
            out.assign(p, strnlen(p, GlobalSize(h)));
            GlobalUnlock(h);
        }
        CloseClipboard();
        return out;
    }
    static std::string Get()
    {
        CEGUI::String text = "<untouched>";
        return QGUI::GetClipboardText(text) ? text.c_str() : "<none>";
    }
};

TEST_F(ClipboardTest, TextGoesOutInTheLocalCodePageAndComesBackAsUtf8)
{
    ASSERT_TRUE(QGUI::SetClipboardText(Utf8("\xE7\x89\xA9\xE5\x93\x81 item")));
    EXPECT_EQ(Held(CF_TEXT), "\xCE\xEF\xC6\xB7 item");
    EXPECT_EQ(Get(), "\xE7\x89\xA9\xE5\x93\x81 item");

    // Text another program left as UTF-16 only.
    const char16_t wide[] = u"\u00e9t\u00e9";
    ClipboardPutRaw(CF_UNICODETEXT, wide, sizeof wide);
    EXPECT_EQ(Get(), "\xC3\xA9t\xC3\xA9");
}

TEST_F(ClipboardTest, LineFeedsGoAndCarriageReturnsStay)
{
    ASSERT_TRUE(QGUI::SetClipboardText("two\r\nlines\n"));
    EXPECT_EQ(Get(), "two\rlines");
    // Only line feeds: nothing is left, so nothing is pasted.
    ASSERT_TRUE(QGUI::SetClipboardText("\n\n"));
    EXPECT_EQ(Get(), "<none>");
}

TEST_F(ClipboardTest, EmptyOrMissingTextIsRefused)
{
    EXPECT_FALSE(QGUI::SetClipboardText(""));
    EXPECT_EQ(Get(), "<none>");
    ClipboardPutRaw(CF_TEXT, "", 1);
    EXPECT_EQ(Get(), "<none>");
    // A block whose memory cannot be had.
    ClipboardPutRaw(CF_TEXT, "x", 0);
    EXPECT_EQ(Get(), "<none>");
}

TEST_F(ClipboardTest, LongTextsStopAtTheLimit)
{
    const std::string longest(QGUI::kClipboardTextLimit - 1, 'a');
    ASSERT_TRUE(QGUI::SetClipboardText(longest.c_str()));
    EXPECT_EQ(Get(), std::string(QGUI::kClipboardKeptBytes, 'a'));

    const std::string tooLong(QGUI::kClipboardTextLimit, 'a');
    ASSERT_TRUE(QGUI::SetClipboardText(tooLong.c_str()));
    EXPECT_EQ(Get(), "<none>");
    // Long in UTF-16, too.
    const std::u16string wide(QGUI::kClipboardTextLimit + 5, u'b');
    ClipboardPutRaw(CF_UNICODETEXT, wide.c_str(), (wide.size() + 1) * 2);
    EXPECT_EQ(Get(), "<none>");
}

// Another program's memory need not end in a zero: only the block's bytes
// are read (the sanitizer build catches a read past them).
TEST_F(ClipboardTest, UnterminatedMemoryIsReadToTheBlocksEnd)
{
    ClipboardPutRaw(CF_TEXT, "abc", 3);
    EXPECT_EQ(Get(), "abc");
    const char16_t wide[] = {u'x', u'y', u'z'};
    ClipboardPutRaw(CF_UNICODETEXT, wide, sizeof wide);
    EXPECT_EQ(Get(), "xyz");
    // An odd byte count leaves the last half unit out.
    ClipboardPutRaw(CF_UNICODETEXT, wide, sizeof wide - 1);
    EXPECT_EQ(Get(), "xy");
}

TEST_F(ClipboardTest, FailingClipboardCallsFailAndLeakNothing)
{
    ASSERT_TRUE(QGUI::SetClipboardText("before"));
    const size_t blocks = GlobalLiveBlocks();
    struct Case
    {
        const char* what;
        void (*fail)(int);
    } cases[] = {{"open", &ClipboardFailOpen},
                 {"alloc", &ClipboardFailGlobalAlloc},
                 {"lock", &ClipboardFailGlobalLock},
                 {"set data", &ClipboardFailSetData}};
    for (const Case& c : cases)
    {
        c.fail(1);
        EXPECT_FALSE(QGUI::SetClipboardText("after")) << c.what;
        EXPECT_EQ(GlobalLiveBlocks(), c.fail == &ClipboardFailOpen ? blocks : blocks - 1) << c.what;
        // The clipboard is closed again whatever failed.
        EXPECT_TRUE(OpenClipboard(nullptr)) << c.what;
        CloseClipboard();
        ClipboardReset();
        ASSERT_TRUE(QGUI::SetClipboardText("before"));
    }
    ClipboardFailOpen(1);
    EXPECT_EQ(Get(), "<none>");
    ClipboardFailGlobalLock(1);
    EXPECT_EQ(Get(), "<none>");
    EXPECT_EQ(Get(), "before");
}
} // namespace
