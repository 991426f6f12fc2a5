// Event handlers subscribed from scripts (a function or a name) firing on
// CEGUI events, failing handlers, connections, and C++ exceptions under Lua
// calls turned into Lua errors.
#include <stdexcept>
#include <string>

#include "ScriptTestSupport.h"

using qgui_test::GuiScriptTest;

namespace
{
const CEGUI::LoggingLevel kError = CEGUI::Errors;

class ScriptEvents : public GuiScriptTest
{
protected:
    void SetUp() override
    {
        GuiScriptTest::SetUp();
        const CEGUI::Sizef display(800, 600);
        renderer->setDisplaySize(display);
        CEGUI::System::getSingleton().notifyDisplaySizeChanged(display);
        CEGUI::GUIContext& context = CEGUI::System::getSingleton().getDefaultGUIContext();
        // The cursor keeps the constraint of the 0x0 display it started on.
        context.getMouseCursor().setConstraintArea(nullptr);
        root = NewWindow("root");
        root->setArea(CEGUI::URect(CEGUI::UDim(0, 0), CEGUI::UDim(0, 0), CEGUI::UDim(1, 0),
                                   CEGUI::UDim(1, 0)));
        context.setRootWindow(root);
        Run("root = CEGUI.System:getSingleton():getDefaultGUIContext():getRootWindow()\n"
            "calls = 0");
        logger->Clear();
    }

    void Click()
    {
        CEGUI::GUIContext& context = CEGUI::System::getSingleton().getDefaultGUIContext();
        context.injectMousePosition(10, 10);
        context.injectMouseButtonDown(CEGUI::LeftButton);
        context.injectMouseButtonUp(CEGUI::LeftButton);
    }

    unsigned Fire(const char* event)
    {
        CEGUI::WindowEventArgs args(root);
        root->fireEvent(event, args);
        return args.handled;
    }

    int Calls()
    {
        lua_getglobal(L, "calls");
        const int n = static_cast<int>(lua_tonumber(L, -1));
        lua_pop(L, 1);
        return n;
    }

    std::vector<qgui_test::RecordingLogger::Line> Unable() const
    {
        return logger->StartingWith("Unable to ");
    }

    CEGUI::Window* root = nullptr;
};

TEST_F(ScriptEvents, FunctionHandlerRunsOnAnInjectedClick)
{
    Run("root:subscribeEvent('MouseClick', function(e)\n"
        "  calls = calls + 1\n"
        "  clickedName = CEGUI.toWindowEventArgs(e).window:getName()\n"
        "end)");
    const int top = lua_gettop(L);
    Click();
    EXPECT_EQ(Calls(), 1);
    Run("assert(clickedName == 'root')");
    EXPECT_EQ(lua_gettop(L), top);
    EXPECT_TRUE(Unable().empty());
}

TEST_F(ScriptEvents, NamedHandlerIsFoundWhenTheEventFirst)
{
    // The handler does not exist yet when it is subscribed.
    Run("root:subscribeEvent('Custom', 'handlers.onCustom')");
    Run("handlers = {}\nfunction handlers.onCustom(e) calls = calls + 1 end");
    const int top = lua_gettop(L);
    EXPECT_EQ(Fire("Custom"), 1u);
    EXPECT_EQ(Fire("Custom"), 1u);
    EXPECT_EQ(Calls(), 2);
    EXPECT_EQ(lua_gettop(L), top);
}

TEST_F(ScriptEvents, HandlerResultDecidesHandled)
{
    Run("root:subscribeEvent('No', function(e) return false end)\n"
        "root:subscribeEvent('Yes', function(e) return true end)\n"
        "root:subscribeEvent('Nothing', function(e) end)");
    EXPECT_EQ(Fire("No"), 0u);
    EXPECT_EQ(Fire("Yes"), 1u);
    EXPECT_EQ(Fire("Nothing"), 1u);
}

TEST_F(ScriptEvents, FailingHandlersAreLoggedAndCountAsHandled)
{
    Run("root:subscribeEvent('Fails', function(e) error('always fails') end)\n"
        "root:subscribeEvent('Missing', 'noSuchHandler')");
    const int top = lua_gettop(L);
    for (int i = 0; i < 3; ++i)
    {
        EXPECT_NO_THROW(EXPECT_EQ(Fire("Fails"), 1u));
        EXPECT_NO_THROW(EXPECT_EQ(Fire("Missing"), 1u));
    }
    EXPECT_EQ(lua_gettop(L), top);
    const auto lines = Unable();
    ASSERT_EQ(lines.size(), 6u);
    for (const auto& line : lines)
        EXPECT_EQ(line.level, kError);
    EXPECT_EQ(lines[0].text.rfind("Unable to evaluate the Lua event handler: 'function <[string", 0),
              0u)
        << lines[0].text;
    EXPECT_NE(lines[0].text.find("always fails\n"), std::string::npos);
    EXPECT_EQ(lines[1].text, "Unable to evaluate the Lua event handler: 'noSuchHandler'\n\n"
                             "The Lua event handler: 'noSuchHandler' does not represent a Lua "
                             "function\n");
}

TEST_F(ScriptEvents, ErrorInsideTheErrorHandlerLeavesTheStackBalanced)
{
    Run("root:subscribeEvent('E', function(e) error('first') end, nil,\n"
        "                    function(msg) error('handler too') end)\n"
        "root:subscribeEvent('F', function(e) error('second') end, nil,\n"
        "                    function(msg) handlerSaw = msg return 'handled: ' .. msg end)");
    const int top = lua_gettop(L);
    EXPECT_EQ(Fire("E"), 1u);
    EXPECT_EQ(Fire("F"), 1u);
    EXPECT_EQ(lua_gettop(L), top);
    Run("assert(string.find(handlerSaw, 'second'))");
    const auto lines = Unable();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[1].text.find("handled: "), std::string::npos);
}

TEST_F(ScriptEvents, SelfValueIsPassedFirst)
{
    Run("local obj = {name = 'me'}\n"
        "function obj.handle(self, e) seenSelf = self.name end\n"
        "root:subscribeEvent('WithSelf', obj.handle, obj)\n"
        "root:subscribeEvent('NamedSelf', 'named', obj)\n"
        "function named(self, e) namedSelf = self.name end");
    Fire("WithSelf");
    Fire("NamedSelf");
    Run("assert(seenSelf == 'me' and namedSelf == 'me')");
}

TEST_F(ScriptEvents, ConnectionConnectsAndDisconnects)
{
    Run("conn = root:subscribeEvent('Custom', function(e) calls = calls + 1 end)\n"
        "assert(conn:connected() == true)");
    Fire("Custom");
    Run("conn:disconnect()\nassert(conn:connected() == false)");
    Fire("Custom");
    EXPECT_EQ(Calls(), 1);
    Run("conn = nil\ncollectgarbage()");
}

TEST_F(ScriptEvents, HandlerThatDisconnectsItselfIsSafe)
{
    Run("selfConn = root:subscribeEvent('Once', function(e)\n"
        "  calls = calls + 1\n"
        "  selfConn:disconnect()\n"
        "  local t = {} for i = 1, 100 do t[i] = {} end\n"
        "end)");
    Fire("Once");
    Fire("Once");
    EXPECT_EQ(Calls(), 1);
}

TEST_F(ScriptEvents, SubscribeArgumentsAreChecked)
{
    Run("ok1, err1 = pcall(function() root:subscribeEvent('X', 42) end)\n"
        "ok2, err2 = pcall(function() root:subscribeEvent('X', function() end, nil, 7) end)\n"
        "ok3, err3 = pcall(function() root.subscribeEvent(nil, 'X', 'f') end)");
    Run("assert(not ok1 and string.find(err1, \"error in function 'subscribeEvent'\", 1, true))\n"
        "assert(not ok2 and string.find(err2, 'bad error handler', 1, true))\n"
        "assert(not ok3)");
}

TEST_F(ScriptEvents, GroupedSubscriptionByName)
{
    Run("function second(e) order = (order or '') .. 'b' end\n"
        "function first(e) order = (order or '') .. 'a' end\n"
        "root:subscribeEvent('Ordered', 2, 'second')\n"
        "root:subscribeEvent('Ordered', 1, 'first')");
    Fire("Ordered");
    Run("assert(order == 'ab', order)");
}

TEST_F(ScriptEvents, ScriptedSubscriptionFromCppUsesTheModule)
{
    // The path of a layout's <Event> element.
    Run("function fromLayout(e) calls = calls + 1 end");
    root->subscribeScriptedEvent("Layout", "fromLayout");
    EXPECT_EQ(Fire("Layout"), 1u);
    EXPECT_EQ(Calls(), 1);
}

TEST_F(ScriptEvents, EventSetSubscriptionUsesTheModulesFunction)
{
    Run("local sys = CEGUI.System:getSingleton()\n"
        "conn2 = sys:subscribeEvent('SysEvent', function() sysCalled = true end)\n"
        "assert(tolua.type(conn2) == 'QGUI::EventConnection')");
    CEGUI::EventArgs args;
    CEGUI::System::getSingleton().fireEvent("SysEvent", args);
    Run("assert(sysCalled)");
}

TEST_F(ScriptEvents, HandlersOutliveOrPredeceaseTheStateSafely)
{
    Run("root:subscribeEvent('Late', function(e) calls = calls + 1 end)\n"
        "root:subscribeEvent('Late', 'byName')\n"
        "keepConn = root:subscribeEvent('Late', function(e) end)");
    // Close the state while the window still holds the handlers.
    CEGUI::System::getSingleton().getDefaultGUIContext().setRootWindow(nullptr);
    scripts.reset();
    L = nullptr;
    EXPECT_EQ(Fire("Late"), 0u); // the handlers are silent now
    // TearDown destroys the GUI system (and the window) after the state.
}

// --- exceptions under Lua calls -----------------------------------------------------

TEST_F(ScriptEvents, CppExceptionUnderPcallBecomesALuaError)
{
    const int top = lua_gettop(L);
    Run("ok, err = pcall(function()\n"
        "  return CEGUI.WindowManager:getSingleton():createWindow('NoSuchType', 'x')\n"
        "end)\n"
        "assert(ok == false)\n"
        "assert(string.find(err, 'NoSuchType', 1, true), err)\n"
        // The state still raises and catches ordinary errors afterwards.
        "local ok2, err2 = pcall(error, 'plain')\n"
        "assert(ok2 == false and err2 == 'plain')");
    EXPECT_EQ(lua_gettop(L), top);
}

TEST_F(ScriptEvents, CppExceptionInAScriptGlobalIsLoggedNotThrown)
{
    Run("function makeBad() return CEGUI.WindowManager:getSingleton():createWindow('Nope') end\n"
        "function count() return CEGUI.WindowManager:getSingleton():createWindow('Nope') end");
    logger->Clear();
    const int top = lua_gettop(L);
    EXPECT_NO_THROW(EXPECT_EQ(scripts->CallGlobalNumber("count", 1), -1));
    EXPECT_NO_THROW(EXPECT_EQ(scripts->ExecuteScriptGlobal("makeBad"), -1));
    EXPECT_NO_THROW(module->executeString("makeBad()"));
    EXPECT_EQ(lua_gettop(L), top);
    EXPECT_EQ(logger->StartingWith("ScriptError: Error: ").size(), 1u);
    EXPECT_EQ(logger->StartingWith("Unable to evaluate Lua global: 'makeBad'").size(), 1u);
    EXPECT_EQ(logger->StartingWith("Unable to execute Lua script string: 'makeBad()'").size(), 1u);
}

TEST_F(ScriptEvents, CppExceptionInsideAnEventHandlerIsLogged)
{
    Run("root:subscribeEvent('Throws', function(e)\n"
        "  CEGUI.WindowManager:getSingleton():createWindow('NoSuchType')\n"
        "end)");
    EXPECT_NO_THROW(EXPECT_EQ(Fire("Throws"), 1u));
    const auto lines = Unable();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].text.find("NoSuchType"), std::string::npos);
}

int ThrowingBinding(lua_State*)
{
    throw std::runtime_error("thrown by a package function");
}

int OpenTestPackage(lua_State* L)
{
    lua_newtable(L);
    lua_pushcfunction(L, &ThrowingBinding);
    lua_setfield(L, -2, "Throw");
    lua_setglobal(L, "SHELL");
    return 0;
}

TEST(ScriptPackage, InitOpensTheMainPackageAndGuardsEveryPackage)
{
    qgui_test::RecordingLogger logger;
    QGUI::CScriptSystem scripts;
    lua_State* L = scripts.GetLuaState();
    // A package opened straight on the state before Init, as the first one is.
    lua_newtable(L);
    lua_pushcfunction(L, &ThrowingBinding);
    lua_setfield(L, -2, "Throw");
    lua_setglobal(L, "QGUI");

    QGUI::CScriptSystem::SetMainScriptPackage(&OpenTestPackage);
    EXPECT_TRUE(scripts.Init(nullptr, 0));
    QGUI::CScriptSystem::SetMainScriptPackage(nullptr);
    ASSERT_EQ(luaL_dostring(L, "ok, err = pcall(SHELL.Throw)\n"
                               "assert(ok == false and err == 'thrown by a package function')\n"
                               "ok, err = pcall(QGUI.Throw)\n"
                               "assert(ok == false and err == 'thrown by a package function')"),
              0)
        << lua_tostring(L, -1);
}
} // namespace
