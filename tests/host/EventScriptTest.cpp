// The host's event script: parsing, the packing of wParam and lParam as a
// Windows host packs them, and feeding frame by frame.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "EventScript.h"
#include "FakeFileSystem.h"
#include "HostSession.h"

using namespace QHost;

namespace
{
std::vector<HostMessage> Parse(const std::string& script)
{
    std::vector<HostMessage> out;
    std::string error;
    EXPECT_TRUE(ParseEventScript(script, &out, &error)) << error;
    return out;
}

uint64_t Raw(LPARAM lParam)
{
    return static_cast<uint64_t>(static_cast<uintptr_t>(lParam));
}
} // namespace

TEST(EventScriptTest, MouseMovesPackSignedSixteenBitCoordinates)
{
    const auto m = Parse("1 move 10 20\n2 move -5 -300\n3 move 32767 -32768\n");
    ASSERT_EQ(m.size(), 3u);
    EXPECT_EQ(m[0].message, UINT(WM_MOUSEMOVE));
    EXPECT_EQ(Raw(m[0].lParam), 0x0014000Au);
    EXPECT_EQ(m[0].wParam, 0u);
    // A captured mouse left of and above the client area: the words are
    // two's complement, the value stays a 32-bit pattern.
    EXPECT_EQ(Raw(m[1].lParam), 0xFED4FFFBu);
    EXPECT_EQ(GetXLParam(m[1].lParam), -5);
    EXPECT_EQ(GetYLParam(m[1].lParam), -300);
    EXPECT_EQ(GetXLParam(m[2].lParam), 32767);
    EXPECT_EQ(GetYLParam(m[2].lParam), -32768);
    EXPECT_EQ(m[1].frame, 2);
}

TEST(EventScriptTest, MouseMessagesCarryTheButtonsAndModifiersHeldAfterThem)
{
    const auto m = Parse("1 move 5 5\n"
                         "1 keydown 0x10\n" // shift
                         "2 ldown 5 5\n"
                         "3 rdown 5 5\n"
                         "4 move 6 6\n"
                         "5 lup 6 6\n"
                         "6 keyup 16\n"
                         "6 keydown 0xA2\n" // left control
                         "7 rup 6 6\n"
                         "8 mdown 6 6\n");
    ASSERT_EQ(m.size(), 10u);
    EXPECT_EQ(m[2].message, UINT(WM_LBUTTONDOWN));
    EXPECT_EQ(m[2].wParam, 0x0005u); // MK_LBUTTON | MK_SHIFT
    EXPECT_EQ(m[3].message, UINT(WM_RBUTTONDOWN));
    EXPECT_EQ(m[3].wParam, 0x0007u);
    EXPECT_EQ(m[4].wParam, 0x0007u); // a move reports what is held
    EXPECT_EQ(m[5].message, UINT(WM_LBUTTONUP));
    EXPECT_EQ(m[5].wParam, 0x0006u); // the released button is gone
    EXPECT_EQ(m[8].message, UINT(WM_RBUTTONUP));
    EXPECT_EQ(m[8].wParam, 0x0008u); // MK_CONTROL only
    EXPECT_EQ(m[9].message, UINT(WM_MBUTTONDOWN));
    EXPECT_EQ(m[9].wParam, 0x0018u);
}

TEST(EventScriptTest, AButtonAtANewPlaceIsPrecededByAMoveThere)
{
    const auto m = Parse("4 ldown 30 40\n5 lup 30 40\n6 rdown 31 40\n");
    ASSERT_EQ(m.size(), 5u);
    EXPECT_EQ(m[0].message, UINT(WM_MOUSEMOVE));
    EXPECT_EQ(m[0].frame, 4);
    EXPECT_EQ(m[0].line, 1);
    EXPECT_EQ(m[0].wParam, 0u); // before the button goes down
    EXPECT_EQ(m[0].lParam, MakeMouseLParam(30, 40));
    EXPECT_EQ(m[0].text, "move 30 40 (before ldown)");
    EXPECT_EQ(m[1].message, UINT(WM_LBUTTONDOWN));
    EXPECT_EQ(m[2].message, UINT(WM_LBUTTONUP)); // same place: no move
    EXPECT_EQ(m[3].message, UINT(WM_MOUSEMOVE));
    EXPECT_EQ(m[3].lParam, MakeMouseLParam(31, 40));
    EXPECT_EQ(m[4].message, UINT(WM_RBUTTONDOWN));
}

TEST(EventScriptTest, WheelKeysAndCharacters)
{
    const auto m = Parse("1 move 100 50\n"
                         "2 wheel -120\n"
                         "3 keydown 65\n"
                         "3 keydown 0x41\n" // held: auto-repeat
                         "4 keyup 0X41\n"
                         "5 char 0x4e2d\n"
                         "5 char 13\n");
    ASSERT_EQ(m.size(), 7u);
    EXPECT_EQ(m[1].message, UINT(WM_MOUSEWHEEL));
    EXPECT_EQ(GetWheelDeltaWParam(m[1].wParam), -120);
    EXPECT_EQ(m[1].wParam & 0xFFFF, 0u);
    EXPECT_EQ(m[1].lParam, MakeMouseLParam(100, 50)); // the cursor's position
    EXPECT_EQ(m[2].message, UINT(WM_KEYDOWN));
    EXPECT_EQ(m[2].wParam, 0x41u);
    EXPECT_EQ(Raw(m[2].lParam), 0x00000001u);
    EXPECT_EQ(Raw(m[3].lParam), 0x40000001u); // previous state: down
    EXPECT_EQ(m[4].message, UINT(WM_KEYUP));
    EXPECT_EQ(Raw(m[4].lParam), 0xC0000001u);
    EXPECT_EQ(m[5].message, UINT(WM_CHAR));
    EXPECT_EQ(m[5].wParam, 0x4E2Du);
    EXPECT_EQ(Raw(m[5].lParam), 1u);
    EXPECT_EQ(m[6].wParam, 13u);
}

TEST(EventScriptTest, CommentsBlankLinesAndTheLinesMessagesCameFrom)
{
    const auto m = Parse("# a comment\n\n   \t\n  3 move 1 2   # trailing comment\r\n7\tchar 97\n");
    ASSERT_EQ(m.size(), 2u);
    EXPECT_EQ(m[0].line, 4);
    EXPECT_EQ(m[0].frame, 3);
    EXPECT_EQ(m[0].text, "move 1 2");
    EXPECT_EQ(m[1].line, 5);
    EXPECT_EQ(m[1].text, "char 97");
    EXPECT_TRUE(Parse("").empty());
}

TEST(EventScriptTest, BadLinesAreRefusedWithTheirLineAndNothingIsKept)
{
    const struct
    {
        const char* script;
        const char* errorStart;
    } cases[] = {
        {"0 move 1 1", "line 1:"},
        {"-3 move 1 1", "line 1:"},
        {"x move 1 1", "line 1:"},
        {"2 move 1 1\n1 move 1 1", "line 2: frames must not go back"},
        {"1 move 40000 1", "line 1:"},
        {"1 move 1", "line 1:"},
        {"1 move 1 2 3", "line 1:"},
        {"1 move 1.5 2", "line 1:"},
        {"1 keydown -1", "line 1:"},
        {"1 keydown 0x10000", "line 1:"},
        {"1 keydown 08x", "line 1:"},
        {"1 char 0x", "line 1:"},
        {"1 char", "line 1:"},
        {"1 wheel 99999", "line 1:"},
        {"1 jump 1 1", "line 1: unknown event 'jump'"},
        {"1", "line 1:"},
        {"1 move 1 1\n# fine\n1 ldown 1", "line 3:"},
    };
    for (const auto& c : cases)
    {
        std::vector<HostMessage> out(1); // what was there stays
        std::string error;
        EXPECT_FALSE(ParseEventScript(c.script, &out, &error)) << c.script;
        EXPECT_EQ(out.size(), 1u) << c.script;
        EXPECT_EQ(error.rfind(c.errorStart, 0), 0u) << c.script << " -> " << error;
    }
}

TEST(EventScriptTest, AMissingFileIsReported)
{
    std::vector<HostMessage> out;
    std::string error;
    EXPECT_FALSE(LoadEventScript("/nonexistent/dir/x.events", &out, &error));
    EXPECT_NE(error.find("/nonexistent/dir/x.events"), std::string::npos);
    EXPECT_TRUE(out.empty());
}

TEST(EventScriptTest, PlayerFeedsEachFrameOnceAndReportsEveryMessage)
{
    FakeFileSystem files;
    HostSession session(&files); // no module: nothing is consumed
    EventPlayer player(Parse("2 move 1 2\n2 char 65\n4 keydown 13\n9 keyup 13\n"));
    std::FILE* report = std::tmpfile();
    ASSERT_NE(report, nullptr);

    player.feedFrame(session, 1, report);
    EXPECT_TRUE(player.results().empty());
    player.feedFrame(session, 2, report);
    ASSERT_EQ(player.results().size(), 2u);
    EXPECT_EQ(player.results()[1].message->message, UINT(WM_CHAR));
    EXPECT_FALSE(player.results()[1].consumed);
    player.feedFrame(session, 2, report); // a frame is fed once
    EXPECT_EQ(player.results().size(), 2u);
    // Frame 4 was never played: its message is dropped, not fed late.
    player.feedFrame(session, 5, report);
    EXPECT_EQ(player.results().size(), 2u);
    EXPECT_EQ(player.pending(), 1u);
    player.feedFrame(session, 9, report);
    EXPECT_EQ(player.results().size(), 3u);
    EXPECT_EQ(player.pending(), 0u);

    std::rewind(report);
    char line[256];
    ASSERT_NE(std::fgets(line, sizeof line, report), nullptr);
    EXPECT_STREQ(line, "frame 2: move 1 2 -> WM_MOUSEMOVE wParam=0x0 lParam=0x20001: not consumed\n");
    ASSERT_NE(std::fgets(line, sizeof line, report), nullptr);
    EXPECT_STREQ(line, "frame 2: char 65 -> WM_CHAR wParam=0x41 lParam=0x1: not consumed\n");
    ASSERT_NE(std::fgets(line, sizeof line, report), nullptr);
    EXPECT_STREQ(line, "frame 9: keyup 13 -> WM_KEYUP wParam=0xd lParam=0xc0000001: not consumed\n");
    EXPECT_EQ(std::fgets(line, sizeof line, report), nullptr);
    std::fclose(report);
}

TEST(EventScriptTest, CallTakesAScriptGlobalWithNumbersAndQuotedTexts)
{
    const auto m = Parse("3 call gFn_chat_recv \"Trade\" -7 \"say \\\"hi\\\" # \\\\ \" 2147483647 # a comment\n"
                         "4 call gFn_timely_gc\n");
    ASSERT_EQ(m.size(), 2u);
    EXPECT_TRUE(m[0].scriptCall);
    EXPECT_EQ(m[0].message, 0u);
    EXPECT_EQ(m[0].global, "gFn_chat_recv");
    ASSERT_EQ(m[0].arguments.size(), 4u);
    EXPECT_FALSE(m[0].arguments[0].number);
    EXPECT_EQ(m[0].arguments[0].text, "Trade");
    EXPECT_TRUE(m[0].arguments[1].number);
    EXPECT_EQ(m[0].arguments[1].value, -7);
    EXPECT_EQ(m[0].arguments[2].text, "say \"hi\" # \\ "); // a '#' in a text is no comment
    EXPECT_EQ(m[0].arguments[3].value, 2147483647);
    EXPECT_TRUE(m[1].arguments.empty());

    for (const char* bad : {"1 call", "1 call \"f\"", "1 call f \"open", "1 call f \"a\"b", "1 call f \"\\n\"",
                            "1 call f 1.5", "1 call f 2147483648", "1 call f 1 2 3 4 5 6 7 8 9"})
    {
        std::vector<HostMessage> out;
        std::string error;
        EXPECT_FALSE(ParseEventScript(bad, &out, &error)) << bad;
        EXPECT_EQ(error.rfind("line 1: ", 0), 0u) << bad << " -> " << error;
    }

    // Without a module the call answers -1, and the report names the format.
    FakeFileSystem files;
    HostSession session(&files);
    EventPlayer player(m);
    std::FILE* report = std::tmpfile();
    ASSERT_NE(report, nullptr);
    player.feedFrame(session, 3, report);
    ASSERT_EQ(player.results().size(), 1u);
    EXPECT_FALSE(player.results()[0].consumed);
    EXPECT_EQ(player.results()[0].answer, -1);
    std::rewind(report);
    char line[256];
    ASSERT_NE(std::fgets(line, sizeof line, report), nullptr);
    EXPECT_STREQ(line, "frame 3: call gFn_chat_recv \"Trade\" -7 \"say \\\"hi\\\" # \\\\ \" 2147483647 -> "
                       "CallScriptFunction(\"%s%d%s%d\"): -1\n");
    std::fclose(report);
}
