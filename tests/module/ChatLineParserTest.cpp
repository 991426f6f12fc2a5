// The game's chat lines reach the scripts through their parser.
#include "GuiFixture.h"

#include "KeyValues.h"

namespace
{
// "中" in UTF-8 and in the local code page (GBK).
const char kUtf8[] = "\xE4\xB8\xAD";
const char kLocal[] = "\xD6\xD0";

struct ChatLineParserTest : GuiFixture
{
};

TEST_F(ChatLineParserTest, ALineGoesToTheScriptsInUtf8AndIsTakenEvenWhenNoScriptHearsIt)
{
    ASSERT_EQ(run("heard = {} function gFn_chat_recv(channel, name, text) "
                  "heard[#heard + 1] = channel .. '|' .. name .. '|' .. text return 0 end"),
              "");
    KeyValues* line = new KeyValues("_KeyVal_Chat_Recv");
    line->SetString("Channel", "Party");
    line->SetString("Name", "Aldric");
    line->SetString("Text", (std::string("hi {I 1001:[Sword]} ") + kLocal).c_str());
    EXPECT_TRUE(gui->RecvKeyVal(line));
    EXPECT_EQ(run("first = heard[1]"), "");
    EXPECT_EQ(text("first"), std::string("Party|Aldric|hi {I 1001:[Sword]} ") + kUtf8);

    // Channel and speaker may be missing; a line without text is taken and
    // goes nowhere.
    EXPECT_TRUE(gui->RecvKeyVal(new KeyValues("_KeyVal_Chat_Recv", "Text", "plain")));
    EXPECT_TRUE(gui->RecvKeyVal(new KeyValues("_KeyVal_Chat_Recv", "Name", "mute")));
    EXPECT_EQ(run("count = #heard second = heard[2]"), "");
    EXPECT_EQ(number("count"), 2.0);
    EXPECT_EQ(text("second"), "||plain");

    // Without the global, or with one that fails, the line is logged away.
    ASSERT_EQ(run("gFn_chat_recv = nil"), "");
    EXPECT_TRUE(gui->RecvKeyVal(new KeyValues("_KeyVal_Chat_Recv", "Text", "lost")));
    EXPECT_TRUE(logger->has("ScriptError: gFn_chat_recv' as name not represent a global Lua function",
                            CEGUI::Errors));
    ASSERT_EQ(run("function gFn_chat_recv() error('broken') end"), "");
    EXPECT_TRUE(gui->RecvKeyVal(new KeyValues("_KeyVal_Chat_Recv", "Text", "lost too")));
    gui->Update();
}
} // namespace
