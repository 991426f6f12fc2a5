// The GUI library's script module on the script system's state: files,
// globals, chunks and named handlers; failures logged at their levels and
// never thrown; getGlobalString; the script system's calls through the GUI
// system; the localised texts.
#include <cstdio>
#include <fstream>
#include <string>

#include <unistd.h>

#include "LocalizeString.h"
#include "ScriptTestSupport.h"

using qgui_test::GuiScriptTest;

namespace
{
const CEGUI::LoggingLevel kError = CEGUI::Errors;
const CEGUI::LoggingLevel kStandard = CEGUI::Standard;

class ScriptModule : public GuiScriptTest
{
protected:
    void SetUp() override
    {
        GuiScriptTest::SetUp();
        logger->Clear();
    }

    std::vector<qgui_test::RecordingLogger::Line> Unable() const
    {
        return logger->StartingWith("Unable to ");
    }
};

TEST_F(ScriptModule, ScriptGlobalResultsAndFailures)
{
    Run("function seven() return 7.8 end\n"
        "function none() end\n"
        "function fails() error('bad global') end\n"
        "notAFunction = 3");
    logger->Clear();
    const int top = lua_gettop(L);
    EXPECT_EQ(module->executeScriptGlobal("seven"), 7);
    EXPECT_EQ(module->executeScriptGlobal("none"), -1);
    EXPECT_EQ(module->executeScriptGlobal("notAFunction"), -1);
    EXPECT_EQ(module->executeScriptGlobal("fails"), -1);
    EXPECT_EQ(lua_gettop(L), top);

    EXPECT_EQ(logger->Count("Unable to get Lua global : 'none' return value as it's not a number",
                            kError),
              1);
    EXPECT_EQ(logger->Count("Unable to get Lua global: 'notAFunction' as name not represent a "
                            "global Lua function",
                            kError),
              1);
    const auto evaluate = logger->StartingWith("Unable to evaluate Lua global: 'fails'\n\n");
    ASSERT_EQ(evaluate.size(), 1u);
    EXPECT_EQ(evaluate[0].level, kError);
    EXPECT_NE(evaluate[0].text.find("bad global\n"), std::string::npos);
}

TEST_F(ScriptModule, ScriptSystemRunsGlobalsThroughTheGuiSystem)
{
    Run("count = 0\nfunction tick() count = count + 1 return count end\nnumber = 5");
    logger->Clear();
    const int top = lua_gettop(L);
    for (int i = 1; i <= 1000; ++i)
        ASSERT_EQ(scripts->ExecuteScriptGlobal("tick"), i);
    EXPECT_EQ(lua_gettop(L), top);

    EXPECT_EQ(scripts->ExecuteScriptGlobal("number"), 1);
    EXPECT_EQ(logger->Count("ScriptError: number' as name not represent a global Lua function",
                            kStandard),
              1);
    Run("tableGlobal = {}");
    EXPECT_EQ(scripts->ExecuteScriptGlobal("tableGlobal"), 1);
    EXPECT_EQ(scripts->ExecuteScriptGlobal("missing"), 1);
    EXPECT_EQ(lua_gettop(L), top);
}

TEST_F(ScriptModule, ChunkFailuresAreLoggedAtStandardLevel)
{
    const int top = lua_gettop(L);
    EXPECT_NO_THROW(module->executeString("this is not lua"));
    EXPECT_NO_THROW(module->executeString("error('runtime')"));
    EXPECT_NO_THROW(module->executeString("error({})"));
    EXPECT_EQ(lua_gettop(L), top);
    const auto lines = Unable();
    ASSERT_EQ(lines.size(), 3u);
    for (const auto& line : lines)
        EXPECT_EQ(line.level, kStandard);
    EXPECT_EQ(lines[0].text.rfind("Unable to execute Lua script string: 'this is not lua'\n\n", 0),
              0u);
    EXPECT_NE(lines[1].text.find("runtime\n"), std::string::npos);
    EXPECT_EQ(lines[2].text, "Unable to execute Lua script string: 'error({})'\n\n"
                             "(error object is not a string)\n");
}

TEST_F(ScriptModule, ChunkWithNonAsciiTextRunsWhole)
{
    // U+4E2D U+6587 and U+00E9, as UTF-8.
    const CEGUI::String chunk(reinterpret_cast<const CEGUI::utf8*>(
        "greeting = '\xE4\xB8\xAD\xE6\x96\x87 caf\xC3\xA9' after = 1"));
    module->executeString(chunk);
    EXPECT_TRUE(Unable().empty());
    lua_getglobal(L, "greeting");
    EXPECT_STREQ(lua_tostring(L, -1), "\xE4\xB8\xAD\xE6\x96\x87 caf\xC3\xA9");
    lua_getglobal(L, "after");
    EXPECT_EQ(lua_tonumber(L, -1), 1);
    lua_pop(L, 2);
}

TEST_F(ScriptModule, StringBufferUsesOnlyItsLength)
{
    // No terminator inside the given length: the name and the log stop there.
    const char buffer[] = {'e', 'r', 'r', 'o', 'r', '(', '1', ')', '?', '?'};
    module->executeStringBuffer(buffer, 8);
    const auto lines = Unable();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].text.rfind("Unable to execute Lua script string: 'error(1)'\n\n", 0), 0u);
    module->executeStringBuffer(nullptr, 0);
    EXPECT_EQ(Unable().size(), 1u);
}

TEST_F(ScriptModule, GetGlobalStringLooksUpTheKeyLessItsFirstCharacter)
{
    Run("hello = 'Hello'\nanswer = 42\naTable = {}\nhalf = 0.5");
    const int top = lua_gettop(L);
    EXPECT_STREQ(module->getGlobalString("#hello"), "Hello");
    EXPECT_STREQ(module->getGlobalString("#answer"), "42");
    EXPECT_STREQ(module->getGlobalString("#half"), "0.5");
    const char* nilKey = "#nothing";
    EXPECT_EQ(module->getGlobalString(nilKey), nilKey);
    const char* tableKey = "#aTable";
    EXPECT_EQ(module->getGlobalString(tableKey), tableKey);
    const char* empty = "";
    EXPECT_EQ(module->getGlobalString(empty), empty);
    EXPECT_EQ(module->getGlobalString(nullptr), nullptr);
    EXPECT_EQ(lua_gettop(L), top);
    // Called for every "#" text: nothing may pile up on the stack.
    for (int i = 0; i < 100000; ++i)
        module->getGlobalString("#hello");
    EXPECT_EQ(lua_gettop(L), top);
}

TEST_F(ScriptModule, LocalizeStringUsesTheModulesGlobals)
{
    Run("title = 'Inventory'\ncount = 3");
    QGUI::SetLocalizeScriptModule(nullptr);
    EXPECT_EQ(CEGUI::LocalizeString("#title"), "#title");
    QGUI::SetLocalizeScriptModule(module);
    EXPECT_EQ(CEGUI::LocalizeString("#title"), "Inventory");
    EXPECT_EQ(CEGUI::LocalizeString("#count"), "3");
    EXPECT_EQ(CEGUI::LocalizeString("#missing"), "#missing");
    EXPECT_EQ(CEGUI::LocalizeString("title"), "title");
    EXPECT_EQ(CEGUI::LocalizeString(""), "");
    QGUI::SetLocalizeScriptModule(nullptr);
}

TEST_F(ScriptModule, NamedHandlersFollowDottedNames)
{
    Run("ui = {panel = {}}\n"
        "function ui.panel.onClick(e) clicked = (e ~= nil) end\n"
        "function plain(e) plainRan = true end");
    CEGUI::EventArgs args;
    const int top = lua_gettop(L);
    EXPECT_TRUE(module->executeScriptedEventHandler("ui.panel.onClick", args));
    EXPECT_TRUE(module->executeScriptedEventHandler("plain", args));
    EXPECT_EQ(lua_gettop(L), top);
    Run("assert(clicked == true and plainRan == true)");
}

TEST_F(ScriptModule, MissingHandlerNamesRaiseScriptExceptions)
{
    Run("ui = {value = 1}");
    CEGUI::EventArgs args;
    const int top = lua_gettop(L);
    EXPECT_THROW(module->executeScriptedEventHandler("noHandler", args), CEGUI::ScriptException);
    EXPECT_THROW(module->executeScriptedEventHandler("ui.value.f", args), CEGUI::ScriptException);
    EXPECT_THROW(module->executeScriptedEventHandler("ui.none", args), CEGUI::ScriptException);
    EXPECT_EQ(lua_gettop(L), top);
}

TEST_F(ScriptModule, FailingHandlerIsLoggedOnceAndCountsAsHandled)
{
    Run("function bad(e) error('handler broke') end");
    logger->Clear();
    CEGUI::EventArgs args;
    const int top = lua_gettop(L);
    EXPECT_TRUE(module->executeScriptedEventHandler("bad", args));
    CEGUI::Window* window = NewWindow("w");
    EXPECT_TRUE(module->executeWindowEventHandler("bad", *window));
    EXPECT_EQ(lua_gettop(L), top);
    const auto lines = Unable();
    ASSERT_EQ(lines.size(), 2u);
    for (const auto& line : lines)
    {
        EXPECT_EQ(line.level, kError);
        EXPECT_EQ(line.text.rfind("Unable to evaluate the Lua event handler: 'bad'\n\n", 0), 0u);
        EXPECT_NE(line.text.find("handler broke\n"), std::string::npos);
    }
}

TEST_F(ScriptModule, WindowHandlerReceivesTheWindow)
{
    Run("function onWindow(w) seenName = w:getName() end");
    CEGUI::Window* window = NewWindow("seen");
    EXPECT_TRUE(module->executeWindowEventHandler("onWindow", *window));
    Run("assert(seenName == 'seen')");
}

TEST_F(ScriptModule, DestroyingTheModuleLeavesTheStateUsable)
{
    Run("function keep() return 11 end");
    CEGUI::System::destroy();
    delete module;
    module = nullptr;
    EXPECT_EQ(logger->Count("---- Destroying Lua bindings ----", kStandard), 1);
    Run("assert(CEGUI == nil)");
    EXPECT_EQ(scripts->CallGlobalNumber("keep", 0), 11);
    // TearDown expects a GUI system.
    module = new QGUI::LuaScriptModule(L);
    CEGUI::System::create(*renderer, nullptr, nullptr, nullptr, module);
    EXPECT_EQ(logger->Count("---- Creating Lua bindings ----", kStandard), 1);
}

// --- script files --------------------------------------------------------------

class ScriptFiles : public ScriptModule
{
protected:
    void SetUp() override
    {
        ScriptModule::SetUp();
        char pattern[] = "/tmp/qgui_script_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir = pattern;
        auto* provider = static_cast<CEGUI::DefaultResourceProvider*>(
            CEGUI::System::getSingleton().getResourceProvider());
        provider->setResourceGroupDirectory("lua_scripts", dir);
        CEGUI::ScriptModule::setDefaultResourceGroup("lua_scripts");
    }
    void TearDown() override
    {
        for (const std::string& file : files)
            std::remove(file.c_str());
        rmdir(dir.c_str());
        CEGUI::ScriptModule::setDefaultResourceGroup("");
        ScriptModule::TearDown();
    }
    void Write(const std::string& name, const std::string& text)
    {
        const std::string path = dir + "/" + name;
        std::ofstream(path) << text;
        files.push_back(path);
    }

    std::string dir;
    std::vector<std::string> files;
};

TEST_F(ScriptFiles, FileFromTheDefaultGroupRuns)
{
    Write("good.lua", "fileRan = 'yes'\nreturn 1, 2, 3");
    const int top = lua_gettop(L);
    EXPECT_TRUE(scripts->ExecuteScriptFile("good.lua"));
    EXPECT_EQ(lua_gettop(L), top);
    Run("assert(fileRan == 'yes')");
    EXPECT_TRUE(logger->StartingWith("ScriptError").empty());
}

TEST_F(ScriptFiles, FailingFilesAreLoggedAtErrorLevel)
{
    Write("syntax.lua", "this is not lua");
    Write("runtime.lua", "error('file failed')");
    const int top = lua_gettop(L);
    EXPECT_NO_THROW(module->executeScriptFile("syntax.lua", ""));
    EXPECT_NO_THROW(module->executeScriptFile("runtime.lua", "lua_scripts"));
    EXPECT_EQ(lua_gettop(L), top);
    const auto lines = Unable();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].text.rfind("Unable to execute Lua script file: 'syntax.lua'\n\n", 0), 0u);
    EXPECT_EQ(lines[0].level, kError);
    EXPECT_EQ(lines[1].text.rfind("Unable to execute Lua script file: 'runtime.lua'\n\n", 0), 0u);
    EXPECT_NE(lines[1].text.find("file failed\n"), std::string::npos);
}

TEST_F(ScriptFiles, MissingFileReachesTheScriptSystemWhichLogsIt)
{
    EXPECT_THROW(module->executeScriptFile("absent.lua", ""), CEGUI::Exception);
    logger->Clear();
    EXPECT_FALSE(scripts->ExecuteScriptFile("absent.lua"));
    // The provider's exception, logged once.
    EXPECT_EQ(logger->StartingWith("ScriptError: ").size(), 1u);
    EXPECT_FALSE(scripts->ExecuteScriptFile(nullptr));
}

TEST_F(ScriptFiles, ScriptSubscribesAHandlerThatRuns)
{
    Write("panel.lua",
          "local wm = CEGUI.WindowManager:getSingleton()\n"
          "local root = wm:createWindow('DefaultWindow', 'root')\n"
          "CEGUI.System:getSingleton():getDefaultGUIContext():setRootWindow(root)\n"
          "root:subscribeEvent('Custom', function(e)\n"
          "  handled = CEGUI.toWindowEventArgs(e).window:getName()\n"
          "end)\n");
    EXPECT_TRUE(scripts->ExecuteScriptFile("panel.lua"));
    EXPECT_TRUE(Unable().empty());
    CEGUI::Window* root = CEGUI::System::getSingleton().getDefaultGUIContext().getRootWindow();
    ASSERT_NE(root, nullptr);
    CEGUI::WindowEventArgs args(root);
    root->fireEvent("Custom", args);
    Run("assert(handled == 'root')");
    EXPECT_EQ(args.handled, 1u);
}
} // namespace
