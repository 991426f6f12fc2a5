// The main object's calls of script globals with two texts and a text
// result: arguments and results across the code pages, null arguments,
// failures, and the result kept per operation.
#include "GuiFixture.h"

namespace
{
struct ScriptTextCallTest : GuiFixture
{
};

TEST_F(ScriptTextCallTest, TextsNumbersAndResultsCrossBothWays)
{
    ASSERT_EQ(run("function join(a, b, x, y) got = {a, b, x, y} "
                  "return a .. '|' .. b .. '|' .. tostring(x) .. '|' .. tostring(y) end "
                  "function wide() return '\\228\\184\\173' end "
                  "function tbl() return {} end"),
              "");
    const char local[] = "\xD6\xD0";  // GBK
    const char utf8[] = "\xE4\xB8\xAD";

    // Null arguments reach the script as empty texts; -1 as an unsigned number.
    EXPECT_STREQ(gui->CallScriptGlobal2Strings2Numbers("join", nullptr, local, -1, 7),
                 (std::string("|") + local + "|4294967295|7").c_str());
    ASSERT_EQ(run("second = got[2]"), "");
    EXPECT_EQ(text("second"), utf8);
    EXPECT_STREQ(gui->CallScriptGlobal2Strings("join", "a", ""), "a||nil|nil");

    // A non-ASCII result comes back in the local code page.
    EXPECT_STREQ(gui->CallScriptGlobal2Strings("wide", "", ""), local);
    EXPECT_STREQ(gui->CallScriptGlobal2Strings2Numbers("wide", "", "", 0, 0), local);

    // Each operation keeps its own result until its next call; a failed
    // call gives the empty text and logs.
    const char* two = gui->CallScriptGlobal2Strings("join", "p", "q");
    const char* four = gui->CallScriptGlobal2Strings2Numbers("join", "r", "s", 1, 2);
    EXPECT_STREQ(two, "p|q|nil|nil");
    EXPECT_STREQ(four, "r|s|1|2");
    EXPECT_STREQ(gui->CallScriptGlobal2Strings("tbl", "a", "b"), "");
    EXPECT_TRUE(logger->has("ScriptError: tbl' return value as it's not a string", CEGUI::Errors));
    EXPECT_STREQ(four, "r|s|1|2");
    EXPECT_STREQ(gui->CallScriptGlobal2Strings2Numbers("missing", "a", "b", 1, 2), "");
    EXPECT_STREQ(gui->CallScriptGlobal2Strings2Numbers(nullptr, "a", "b", 1, 2), "");
}
} // namespace
