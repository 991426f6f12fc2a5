#include "GuiFixture.h"

#include "KeyValues.h"

namespace
{
struct ScriptCallTest : GuiFixture
{
    void addFiles() override
    {
        fs.files["resource\\UI\\lua_scripts\\key_process.lua"] = "enter_runs = (enter_runs or 0) + 1";
    }
};

TEST_F(ScriptCallTest, FormattedCallPushesItsArguments)
{
    ASSERT_EQ(run("function f(...) args = {...}; n = select('#', ...); return 7 end"), "");
    EXPECT_EQ(gui->CallScriptFunction("f", "%d%d%d", 1, 2, 3), 7);
    EXPECT_EQ(number("n"), 3);
    ASSERT_EQ(run("a1, a3 = args[1], args[3]"), "");
    EXPECT_EQ(number("a1"), 1);
    EXPECT_EQ(number("a3"), 3);

    EXPECT_EQ(gui->CallScriptFunction("f", "x%dy", 5), 7);
    EXPECT_EQ(number("n"), 1);
    EXPECT_EQ(gui->CallScriptFunction("f", "%f"), 7);
    EXPECT_EQ(number("n"), 0);
    EXPECT_EQ(gui->CallScriptFunction("f", "%d%", 9), 7);  // a trailing '%' ends the scan
    EXPECT_EQ(number("n"), 1);

    // Bytes and words take the low bits; a null text is the empty text.
    EXPECT_EQ(gui->CallScriptFunction("f", "%b%w%s", 0x1FF, 0x12345, static_cast<const char*>(nullptr)), 7);
    ASSERT_EQ(run("b, w, s = args[1], args[2], args[3]"), "");
    EXPECT_EQ(number("b"), 0xFF);
    EXPECT_EQ(number("w"), 0x2345);
    EXPECT_EQ(text("s"), "");
}

TEST_F(ScriptCallTest, FormattedCallResultsAndFailures)
{
    ASSERT_EQ(run("function up() return 2.9 end function down() return -2.9 end "
                  "function tbl() return {} end function bad() error('boom') end"),
              "");
    const int top = lua_gettop(L());
    EXPECT_EQ(gui->CallScriptFunction("up", ""), 2);
    EXPECT_EQ(gui->CallScriptFunction("down", ""), -2);
    EXPECT_EQ(gui->CallScriptFunction("tbl", ""), -1);
    EXPECT_TRUE(logger->has("ScriptError: tbl' return value as it's not a number", CEGUI::Errors));
    EXPECT_EQ(gui->CallScriptFunction("missing", "%d", 1), -1);
    EXPECT_TRUE(logger->has("ScriptError: missing' as name not represent a global Lua function",
                            CEGUI::Errors));
    EXPECT_EQ(gui->CallScriptFunction("bad", ""), -1);
    EXPECT_EQ(lua_gettop(L()), top);
}

TEST_F(ScriptCallTest, OnlyAnErrorThatIsTextIsLogged)
{
    ASSERT_EQ(run("function tableError() error({}) end function nilError() error() end "
                  "function numberError() error(7, 0) end FetchNumberFn = tableError"),
              "");
    const size_t before = logger->lines.size();
    EXPECT_EQ(gui->CallScriptFunction("tableError", ""), -1);
    EXPECT_EQ(gui->CallScriptGlobalNumber("nilError", 1), -1);
    EXPECT_STREQ(gui->CallScriptGlobal2Strings("tableError", "a", "b"), "");
    EXPECT_EQ(gui->FetchNumber("k"), 0.0);
    EXPECT_EQ(logger->lines.size(), before);
    EXPECT_EQ(gui->CallScriptFunction("numberError", ""), -1);
    EXPECT_TRUE(logger->has("ScriptError: Error: 7\n", CEGUI::Errors));
}

TEST_F(ScriptCallTest, TextsCrossInTheLocalCodePage)
{
    // "中文" in the local code page (GBK) and in UTF-8.
    const char local[] = "\xD6\xD0\xCE\xC4";
    const char utf8[] = "\xE4\xB8\xAD\xE6\x96\x87";
    ASSERT_EQ(run("function join(a, b) got_a, got_b = a, b; return a .. b end"), "");
    const std::string joined = gui->CallScriptGlobal2Strings("join", local, "x");
    EXPECT_EQ(text("got_a"), utf8);
    EXPECT_EQ(text("got_b"), "x");
    EXPECT_EQ(joined, std::string(local) + "x");

    ASSERT_EQ(run("function FetchStringFn(k) return k .. '!' end"), "");
    const char* first = gui->FetchString("a");
    EXPECT_STREQ(first, "a!");
    const char* second = gui->FetchString("bb");
    EXPECT_EQ(first, second);  // one static text per operation
    EXPECT_STREQ(first, "bb!");

    ASSERT_EQ(run("function num(s, n) got_s = s; return n * 2 end"), "");
    EXPECT_DOUBLE_EQ(gui->CallScriptGlobalStringNumber("num", local, 21), 42.0);
    EXPECT_EQ(text("got_s"), utf8);
    EXPECT_EQ(gui->CallScriptGlobal2Strings4Numbers("num", nullptr, "b", 4, 0, 0, 0), -1);
}

TEST_F(ScriptCallTest, UpdateHandsGuideTextsToTheScripts)
{
    ASSERT_EQ(run("calls = '' "
                  "function gFn_guide_cmd_text_draw_begin() calls = calls .. 'B' return 0 end "
                  "function gFn_guide_cmd_text_draw_end() calls = calls .. 'E' return 0 end "
                  "function gFn_guide_cmd_text_draw_moni(a, b, x, y, z) calls = calls .. 'M' .. a .. b .. x .. y .. z return 0 end"),
              "");
    gui->Update();  // first frame, empty list: one begin/end pair
    EXPECT_EQ(text("calls"), "BE");
    gui->Update();
    EXPECT_EQ(text("calls"), "BE");
    gui->QueueGuideCmdText("a", "b", 1, 2, 3);
    gui->QueueGuideCmdText("c", "d", 4, 5, 6);
    gui->Update();
    EXPECT_EQ(text("calls"), "BEBMab123Mcd456EBE");
    ASSERT_EQ(run("calls = ''"), "");
    gui->Update();  // the list became empty: one more pair
    EXPECT_EQ(text("calls"), "BE");
    gui->Update();
    EXPECT_EQ(text("calls"), "BE");
}

TEST_F(ScriptCallTest, TimersCallTheirGlobals)
{
    ASSERT_EQ(run("gc = 0 focus = 0 "
                  "function gFn_timely_gc() gc = gc + 1 return 0 end "
                  "function gFn_try_catch_focus_ui() focus = focus + 1 return 0 end"),
              "");
    host.frametime = 1.0f;
    host.paused = 1;  // the timers run while paused too
    for (int i = 1; i <= 4; ++i)
    {
        host.curtime += 0.01f;
        gui->Update();
    }
    EXPECT_EQ(number("gc"), 0);
    EXPECT_EQ(number("focus"), 1);  // due at once, then at most every 0.1 s
    host.curtime += 0.2f;
    gui->Update();
    EXPECT_EQ(number("gc"), 1);  // the fifth second
    EXPECT_EQ(number("focus"), 2);
    host.frametime = 6.0f;
    gui->Update();
    EXPECT_EQ(number("gc"), 2);
    gui->Activate();  // makes the focus poll due again
    gui->Update();
    EXPECT_EQ(number("focus"), 3);
}

TEST_F(ScriptCallTest, SoundsArePostedOncePerFrame)
{
    ASSERT_EQ(run("function gFn_get_window_sound() return '' end"), "");
    gui->playSoundEffect(0, 0, "click");
    gui->playSoundEffect(0, 0, "click");
    gui->playSoundEffect(3, 4, "click");
    gui->playSoundEffect(0, 0, "");
    gui->Update();
    ASSERT_EQ(engine.received.size(), 2u);
    EXPECT_STREQ(engine.received[0]->GetName(), "_KeyVal_Play_Sound");
    EXPECT_STREQ(engine.received[0]->GetString("_KeyVal_Sound_Name"), "click");
    gui->Update();
    EXPECT_EQ(engine.received.size(), 2u);

    // A refused sound message is deleted here (ASan sees a leak otherwise).
    engine.accept = false;
    gui->playSoundEffect(0, 0, "refused");
    gui->Update();
    EXPECT_EQ(engine.received.size(), 3u);
    engine.received.pop_back();
}

TEST_F(ScriptCallTest, UnconsumedEnterRunsTheKeyScript)
{
    EXPECT_FALSE(gui->ProcessMessage(nullptr, WM_KEYDOWN, VK_RETURN, 0));
    EXPECT_EQ(number("enter_runs"), 1);
    gui->ProcessMessage(nullptr, WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(number("enter_runs"), 1);

    // Enter taken by an edit box does not run it.
    CEGUI::Window* edit = CEGUI::WindowManager::getSingleton().createWindow("CEGUI/Editbox", "e");
    gui->GetRootWindow()->addChild(edit);
    edit->activate();
    gui->ProcessMessage(nullptr, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(number("enter_runs"), 1);
}

TEST_F(ScriptCallTest, SystemCloseCallsTheScriptsOnlyForExactlyClose)
{
    ASSERT_EQ(run("sys = 0 function panel_oper_system() sys = sys + 1 return 0 end"), "");
    gui->ProcessMessage(nullptr, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(number("sys"), 1);
    gui->ProcessMessage(nullptr, WM_SYSCOMMAND, SC_CLOSE | 2, 0);
    EXPECT_EQ(number("sys"), 1);
    // Escape with no closable panel hands over to the scripts too.
    gui->ProcessMessage(nullptr, WM_KEYUP, VK_ESCAPE, 0);
    EXPECT_EQ(number("sys"), 2);
}
} // namespace
