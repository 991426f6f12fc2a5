// Shared pieces of the script tests: a logger that records every line, and
// fixtures with a script system alone or with a headless GUI system whose
// script module runs on the script system's state.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include <CEGUI/CEGUI.h>
#include <CEGUI/RendererModules/Null/Renderer.h>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}

#include "script/LuaScriptModule.h"
#include "script/ScriptSystem.h"

namespace qgui_test
{
class RecordingLogger : public CEGUI::Logger
{
public:
    struct Line
    {
        std::string text;
        CEGUI::LoggingLevel level;
    };

    void logEvent(const CEGUI::String& message, CEGUI::LoggingLevel level) override
    {
        lines.push_back({message.c_str(), level});
    }
    void setLogFilename(const CEGUI::String&, bool) override {}

    // Lines equal to text at that level.
    int Count(const std::string& text, CEGUI::LoggingLevel level) const
    {
        int n = 0;
        for (const Line& line : lines)
            n += line.text == text && line.level == level;
        return n;
    }
    // Lines that begin with prefix, at any level.
    std::vector<Line> StartingWith(const std::string& prefix) const
    {
        std::vector<Line> found;
        for (const Line& line : lines)
            if (line.text.compare(0, prefix.size(), prefix) == 0)
                found.push_back(line);
        return found;
    }
    void Clear() { lines.clear(); }

    std::vector<Line> lines;
};

// A script system and a recording logger; no GUI system.
class ScriptSystemTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        logger.reset(new RecordingLogger);
        scripts.reset(new QGUI::CScriptSystem);
        L = scripts->GetLuaState();
        ASSERT_NE(L, nullptr);
    }
    void TearDown() override
    {
        scripts.reset();
        logger.reset();
    }

    // Runs a chunk that must succeed.
    void Run(const char* chunk)
    {
        ASSERT_EQ(luaL_dostring(L, chunk), 0) << lua_tostring(L, -1);
    }

    std::unique_ptr<RecordingLogger> logger;
    std::unique_ptr<QGUI::CScriptSystem> scripts;
    lua_State* L = nullptr;
};

// A headless GUI system whose script module works on the script system's
// state, created in the main object's order.
class GuiScriptTest : public ScriptSystemTest
{
protected:
    void SetUp() override
    {
        ScriptSystemTest::SetUp();
        CEGUI::Exception::setStdErrEnabled(false);
        module = new QGUI::LuaScriptModule(scripts->GetLuaState());
        renderer = &CEGUI::NullRenderer::create();
        CEGUI::System::create(*renderer, nullptr, nullptr, nullptr, module, "", "CEGUI.log");
        scripts->Init(nullptr, 0);
    }
    void TearDown() override
    {
        CEGUI::System::destroy();
        delete module;
        CEGUI::NullRenderer::destroy(*renderer);
        ScriptSystemTest::TearDown();
    }

    CEGUI::Window* NewWindow(const char* name)
    {
        CEGUI::Window* w = CEGUI::WindowManager::getSingleton().createWindow("DefaultWindow", name);
        windows.push_back(w);
        return w;
    }

    QGUI::LuaScriptModule* module = nullptr;
    CEGUI::NullRenderer* renderer = nullptr;
    std::vector<CEGUI::Window*> windows;
};
} // namespace qgui_test
