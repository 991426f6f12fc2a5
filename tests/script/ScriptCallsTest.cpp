// Calls of script globals through the script system: type checks, failure
// values, exact log lines, number and text conversions, the fetch calls run
// protected, and the stack left as it was.
#include <climits>
#include <cstring>
#include <string>

#include "ScriptTestSupport.h"

using qgui_test::ScriptSystemTest;

namespace
{
const CEGUI::LoggingLevel kError = CEGUI::Errors;

class ScriptCalls : public ScriptSystemTest
{
protected:
    void SetUp() override
    {
        ScriptSystemTest::SetUp();
        Run("function num(n) return n end\n"
            "function frac(n) if n > 0 then return 3.9 else return -3.9 end end\n"
            "function digits(n) return '42' end\n"
            "function nothing() end\n"
            "function fails() error('boom') end\n"
            "function failsTable() error({}) end\n"
            "function tbl() return {} end\n"
            "aTable = {}\n"
            "function join(a, b) return tostring(a) .. '|' .. tostring(b) end\n"
            "function join4(a, b, c, d) return a .. '|' .. b .. '|' .. c .. '|' .. d end\n"
            "function sum6(a, b, c, d, e, f) return c + d + e + f end\n"
            "function numstr(n, s) if s == nil then return -7 end return n end\n"
            "function huge() return 1e300 end\n"
            "function nan() return 0/0 end\n"
            "function numberText(n) return 12.5 end\n");
        logger->Clear();
    }
};

TEST_F(ScriptCalls, NumberCallReturnsTruncatedResults)
{
    const int top = lua_gettop(L);
    EXPECT_EQ(scripts->CallGlobalNumber("num", 17), 17);
    EXPECT_EQ(scripts->CallGlobalNumber("num", -5), -5);
    EXPECT_EQ(scripts->CallGlobalNumber("frac", 1), 3);
    EXPECT_EQ(scripts->CallGlobalNumber("frac", -1), -3);
    EXPECT_EQ(scripts->CallGlobalNumber("digits", 0), 42);
    EXPECT_EQ(lua_gettop(L), top);
    EXPECT_TRUE(logger->lines.empty());
}

TEST_F(ScriptCalls, OutOfRangeAndNanResultsGiveIntMin)
{
    EXPECT_EQ(scripts->CallGlobalNumber("huge", 0), INT_MIN);
    EXPECT_EQ(scripts->CallGlobalNumber("nan", 0), INT_MIN);
}

TEST_F(ScriptCalls, MissingGlobalIsLoggedAndFails)
{
    const int top = lua_gettop(L);
    EXPECT_EQ(scripts->CallGlobalNumber("noSuchFn", 1), -1);
    EXPECT_EQ(scripts->CallGlobalNumberString("noSuchFn", 1, "x"), -1);
    EXPECT_STREQ(scripts->CallGlobal2Strings("noSuchFn", "a", "b"), "");
    EXPECT_STREQ(scripts->CallGlobal2Strings2Numbers("noSuchFn", "a", "b", 1, 2), "");
    EXPECT_EQ(scripts->CallGlobal2Strings4Numbers("noSuchFn", "a", "b", 1, 2, 3, 4), -1);
    EXPECT_EQ(lua_gettop(L), top);
    EXPECT_EQ(logger->Count("ScriptError: noSuchFn' as name not represent a global Lua function",
                            kError),
              5);
    EXPECT_EQ(logger->lines.size(), 5u);
}

TEST_F(ScriptCalls, TableGlobalIsNoFunction)
{
    const int top = lua_gettop(L);
    EXPECT_EQ(scripts->CallGlobalNumber("aTable", 1), -1);
    EXPECT_EQ(logger->Count("ScriptError: aTable' as name not represent a global Lua function",
                            kError),
              1);
    // The short text call has no type test: the table fails as a call.
    logger->Clear();
    EXPECT_STREQ(scripts->CallGlobalNumberToString("aTable", 1), "");
    ASSERT_EQ(logger->lines.size(), 1u);
    EXPECT_EQ(logger->lines[0].text.rfind("ScriptError: Error: ", 0), 0u);
    EXPECT_EQ(logger->lines[0].level, kError);
    EXPECT_EQ(lua_gettop(L), top);
}

TEST_F(ScriptCalls, ErroringGlobalLogsTheErrorText)
{
    const int top = lua_gettop(L);
    EXPECT_EQ(scripts->CallGlobalNumber("fails", 1), -1);
    EXPECT_STREQ(scripts->CallGlobal2Strings("fails", "a", "b"), "");
    EXPECT_EQ(lua_gettop(L), top);
    ASSERT_EQ(logger->lines.size(), 2u);
    for (const auto& line : logger->lines)
    {
        EXPECT_EQ(line.level, kError);
        EXPECT_EQ(line.text.rfind("ScriptError: Error: [string", 0), 0u) << line.text;
        EXPECT_NE(line.text.find("boom\n"), std::string::npos) << line.text;
    }
}

TEST_F(ScriptCalls, ErrorObjectThatIsNoTextLogsNothing)
{
    EXPECT_EQ(scripts->CallGlobalNumber("failsTable", 1), -1);
    EXPECT_TRUE(logger->lines.empty());
}

TEST_F(ScriptCalls, WrongResultTypesAreLoggedAndFail)
{
    const int top = lua_gettop(L);
    EXPECT_EQ(scripts->CallGlobalNumber("nothing", 1), -1);
    EXPECT_EQ(scripts->CallGlobalNumber("tbl", 1), -1);
    EXPECT_STREQ(scripts->CallGlobal2Strings("tbl", "a", "b"), "");
    EXPECT_STREQ(scripts->CallGlobal2Strings2Numbers("nothing", "a", "b", 1, 2), "");
    EXPECT_EQ(lua_gettop(L), top);
    EXPECT_EQ(logger->Count("ScriptError: nothing' return value as it's not a number", kError), 1);
    EXPECT_EQ(logger->Count("ScriptError: tbl' return value as it's not a number", kError), 1);
    EXPECT_EQ(logger->Count("ScriptError: tbl' return value as it's not a string", kError), 1);
    EXPECT_EQ(logger->Count("ScriptError: nothing' return value as it's not a string", kError),
              1);
}

TEST_F(ScriptCalls, TextCallsPassArgumentsAndCopyResults)
{
    const int top = lua_gettop(L);
    EXPECT_STREQ(scripts->CallGlobal2Strings("join", "a", "b"), "a|b");
    EXPECT_STREQ(scripts->CallGlobal2Strings("join", nullptr, "b"), "nil|b");
    EXPECT_STREQ(scripts->CallGlobal2Strings("numberText", "a", "b"), "12.5");
    EXPECT_STREQ(scripts->CallGlobal2Strings2Numbers("join4", "x", "y", 4294967295u, 7),
                 "x|y|4294967295|7");
    EXPECT_EQ(scripts->CallGlobal2Strings4Numbers("sum6", "a", "b", 1, -2, 3, 40), 42);
    EXPECT_EQ(lua_gettop(L), top);

    // The text outlives a full collection: it is the call's own copy.
    const char* kept = scripts->CallGlobal2Strings("join", "long text one", "long text two");
    lua_gc(L, LUA_GCCOLLECT, 0);
    Run("for i = 1, 200 do local s = string.rep('z', i) .. i end");
    EXPECT_STREQ(kept, "long text one|long text two");
}

TEST_F(ScriptCalls, UnsignedArgumentsStayPositive)
{
    EXPECT_EQ(scripts->CallGlobalNumberString("numstr", 4294967295u, "t"), INT_MIN);
    Run("function isBig(n) if n == 4294967295 then return 1 end return 0 end");
    EXPECT_EQ(scripts->CallGlobalNumberString("isBig", 4294967295u, "t"), 1);
    EXPECT_EQ(scripts->CallGlobalNumberString("numstr", 5, nullptr), -7);
    Run("function bigText(n) return tostring(n) end");
    EXPECT_STREQ(scripts->CallGlobalNumberToString("bigText", 4294967295u), "4294967295");
}

TEST_F(ScriptCalls, NumberToStringGivesNullForNoText)
{
    const int top = lua_gettop(L);
    EXPECT_EQ(scripts->CallGlobalNumberToString("tbl", 1), nullptr);
    EXPECT_STREQ(scripts->CallGlobalNumberToString("noSuchFn", 1), "");
    EXPECT_EQ(lua_gettop(L), top);
    ASSERT_EQ(logger->lines.size(), 1u);
    EXPECT_NE(logger->lines[0].text.find("attempt to call a nil value"), std::string::npos);
}

TEST_F(ScriptCalls, NullNameIsAMissingGlobal)
{
    EXPECT_EQ(scripts->CallGlobalNumber(nullptr, 1), -1);
    EXPECT_EQ(logger->Count("ScriptError: (null)' as name not represent a global Lua function",
                            kError),
              1);
}

TEST_F(ScriptCalls, ErroringIndexOnGlobalsIsCaught)
{
    // A strict-mode globals table: reading an unknown name raises an error.
    Run("setmetatable(_G, {__index = function(t, k) error('undefined global ' .. k) end})");
    logger->Clear();
    const int top = lua_gettop(L);
    EXPECT_EQ(scripts->CallGlobalNumber("undefinedName", 1), -1);
    EXPECT_EQ(scripts->FetchNumber("k"), 0.0);
    EXPECT_EQ(scripts->CallGlobalNumber("num", 3), 3);
    EXPECT_EQ(lua_gettop(L), top);
    ASSERT_EQ(logger->lines.size(), 2u);
    EXPECT_NE(logger->lines[0].text.find("undefined global undefinedName"), std::string::npos);
}

// --- fetch calls -------------------------------------------------------------

TEST_F(ScriptCalls, FetchCallsWithoutTheirGlobalsFailQuietlyForTheProcess)
{
    const int top = lua_gettop(L);
    EXPECT_EQ(scripts->FetchString("key"), nullptr);
    EXPECT_EQ(scripts->FetchNumber("tooltip_hover"), 0.0);
    EXPECT_EQ(scripts->FetchColour("red"), 0xFF000000u);
    EXPECT_EQ(scripts->FetchColourBySet("set", 2), 0xFF000000u);
    EXPECT_EQ(scripts->CallGlobalStringNumber("noSuchFn", "a", 1), 0.0);
    scripts->PreloadTexts(nullptr);
    EXPECT_EQ(lua_gettop(L), top);
    ASSERT_EQ(logger->lines.size(), 6u);
    for (const auto& line : logger->lines)
    {
        EXPECT_EQ(line.level, kError);
        EXPECT_EQ(line.text.rfind("ScriptError: Error: ", 0), 0u) << line.text;
        EXPECT_NE(line.text.find("attempt to call a nil value"), std::string::npos);
    }
}

TEST_F(ScriptCalls, FetchCallsThatRaiseErrorsGiveTheirDefaults)
{
    Run("function FetchStringFn(k) error('no text ' .. k) end\n"
        "function FetchNumberFn(k) error('no number') end\n"
        "function FetchColourFn(k) error('no colour') end\n"
        "function FetchColourBySetFn(k, i) error('no set') end\n"
        "function preload_texts(f) error('no preload') end\n"
        "function strnum(s, n) error('no strnum') end\n");
    const int top = lua_gettop(L);
    EXPECT_EQ(scripts->FetchString("greeting"), nullptr);
    EXPECT_EQ(scripts->FetchNumber("x"), 0.0);
    EXPECT_EQ(scripts->FetchColour("x"), 0xFF000000u);
    EXPECT_EQ(scripts->FetchColourBySet("x", 1), 0xFF000000u);
    EXPECT_EQ(scripts->CallGlobalStringNumber("strnum", "a", 1), 0.0);
    scripts->PreloadTexts(nullptr);
    EXPECT_EQ(lua_gettop(L), top);
    ASSERT_EQ(logger->lines.size(), 6u);
    EXPECT_NE(logger->lines[0].text.find("no text greeting"), std::string::npos);
}

TEST_F(ScriptCalls, FetchCallsReadTheirResults)
{
    Run("function FetchStringFn(k) return 'text of ' .. k end\n"
        "function FetchNumberFn(k) if k == 'n' then return 0.25 end return {} end\n"
        "function FetchColourFn(k) if k == 'red' then return 'FFFF0000' end return {} end\n"
        "function FetchColourBySetFn(k, i) return string.format('FF0000%02X', i) end\n"
        "function strnum(s, n) return #s + n end\n"
        "function preload_texts(f) preloaded = (f == nil) end\n");
    const int top = lua_gettop(L);
    EXPECT_STREQ(scripts->FetchString("hello"), "text of hello");
    EXPECT_EQ(scripts->FetchNumber("n"), 0.25);
    EXPECT_EQ(scripts->FetchNumber("other"), 0.0);
    EXPECT_EQ(scripts->FetchColour("red"), 0xFFFF0000u);
    EXPECT_EQ(scripts->FetchColour("table"), 0xFF000000u);
    EXPECT_EQ(scripts->FetchColourBySet("set", 0x3C), 0xFF00003Cu);
    EXPECT_EQ(scripts->CallGlobalStringNumber("strnum", "abc", -10), -7.0);
    EXPECT_STREQ(scripts->FetchString(nullptr), "text of ");
    scripts->PreloadTexts(nullptr);
    EXPECT_EQ(lua_gettop(L), top);
    EXPECT_TRUE(logger->lines.empty());
    lua_getglobal(L, "preloaded");
    EXPECT_TRUE(lua_toboolean(L, -1));
    lua_pop(L, 1);
}

// --- logging -------------------------------------------------------------------

TEST_F(ScriptCalls, LogErrorFormatsAndCutsAtTheBuffer)
{
    // Through a pointer, so the compiler's format checks let these pass.
    int (*logError)(const char*, ...) = &QGUI::CScriptSystem::LogError;
    EXPECT_EQ(logError(nullptr), 0);
    EXPECT_EQ(logError(""), 0);
    EXPECT_TRUE(logger->lines.empty());
    // A format that yields no text still logs the prefix.
    EXPECT_EQ(QGUI::CScriptSystem::LogError("%s", ""), 0);
    EXPECT_EQ(logger->Count("ScriptError: ", kError), 1);
    logger->Clear();

    const std::string longText(5000, 'x');
    QGUI::CScriptSystem::LogError("%s", longText.c_str());
    ASSERT_EQ(logger->lines.size(), 1u);
    EXPECT_EQ(logger->lines[0].text, "ScriptError: " + std::string(1023, 'x'));
}

TEST_F(ScriptCalls, CutInsideAMultiByteCharacterStaysReadable)
{
    // 1,022 ASCII bytes, then a three-byte character that the cut splits.
    const std::string text = std::string(1022, 'a') + "\xE4\xB8\xAD" + "tail";
    QGUI::CScriptSystem::LogError("%s", text.c_str());
    ASSERT_EQ(logger->lines.size(), 1u);
    EXPECT_EQ(logger->lines[0].text,
              "ScriptError: " + std::string(1022, 'a') + "\xEF\xBF\xBD"); // U+FFFD
}

TEST_F(ScriptCalls, TraceLogsTextSourceAndLine)
{
    Run("local x = 1\ntrace('hello')");
    Run("trace({})");
    ASSERT_EQ(logger->lines.size(), 2u);
    EXPECT_EQ(logger->lines[0].text,
              "ScriptError: script: hello -- at local x = 1\ntrace('hello')(2)\n");
    EXPECT_EQ(logger->lines[1].text, "ScriptError: script: (null) -- at trace({})(1)\n");
    EXPECT_EQ(logger->lines[1].level, kError);
}

TEST_F(ScriptCalls, TraceCalledFromCHasNoCaller)
{
    lua_getglobal(L, "trace");
    lua_pushstring(L, "from C");
    ASSERT_EQ(lua_pcall(L, 1, 0, 0), 0);
    ASSERT_EQ(logger->lines.size(), 1u);
    EXPECT_EQ(logger->lines[0].text, "ScriptError: script: from C -- at (null)(0)\n");
}

TEST_F(ScriptCalls, HookDumpsTheCallStackAndTracesLines)
{
    Run("function inner() return 1 end\n"
        "function outer()\n"
        "  local v = inner()\n"
        "  return v\n"
        "end");
    logger->Clear();
    lua_sethook(L, &CLuaDebugger::Hook, LUA_MASKCALL, 0);
    lua_getglobal(L, "outer");
    ASSERT_EQ(lua_pcall(L, 0, 0, 0), 0);
    lua_sethook(L, nullptr, 0, 0);
    const std::string source = "[string \"function inner() return 1 end...\"]";
    EXPECT_EQ(logger->lines.at(0).text, "ScriptError: ---- Call Stack ----\n");
    // outer, called from C, has no name; inner is a global called by outer.
    EXPECT_EQ(logger->lines.at(1).text, "ScriptError: 0  (null) 0 @2 " + source + "\n");
    EXPECT_EQ(logger->Count("ScriptError: 0 global inner 0 @1 " + source + "\n", kError), 1);
    EXPECT_EQ(logger->Count("ScriptError: 1  (null) 0 @2 " + source + "\n", kError), 1);

    logger->Clear();
    lua_sethook(L, &CLuaDebugger::Hook, LUA_MASKLINE, 0);
    lua_getglobal(L, "outer");
    ASSERT_EQ(lua_pcall(L, 0, 0, 0), 0);
    lua_sethook(L, nullptr, 0, 0);
    EXPECT_EQ(logger->Count("ScriptError: exe " + source + " on line 3\n", kError), 1);
    EXPECT_EQ(logger->Count("ScriptError: exe " + source + " on line 4\n", kError), 1);
}

TEST_F(ScriptCalls, StandardLibrariesAreOpen)
{
    Run("assert(type(require) == 'function' and type(os.time) == 'function')\n"
        "assert(io.write and string.format and table.insert and math.floor)\n"
        "assert(debug == nil)");
}
} // namespace
