// A started main object over recording host stand-ins, with helpers to run
// script text and read script globals. Each test runs in a process of its
// own: the main object starts once.
#pragma once

#include <gtest/gtest.h>

#include <CEGUI/CEGUI.h>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}

#include <string>

#include "FakeHost.h"
#include "KeyValues.h"
#include "RecordingLogger.h"
#include "core/QGUI.h"
#include "script/ScriptSystem.h"

struct GuiFixture : ::testing::Test
{
    RecordingLogger* logger = new RecordingLogger;  // the GUI system takes it over
    fake::Render render;
    fake::Engine engine;
    fake::FileSystem fs;
    HostGlobals host{};
    CreateInterfaceFn factories[1] = {&fake::Factories::Serve};
    QGUI::CQGUI* gui = QGUI::CQGUI::GetGlobalObject();
    bool withEngine = true;

    // Files to serve before the start.
    virtual void addFiles() {}
    // The engine client the host offers; null for none.
    virtual fake::Engine* engineClient() { return withEngine ? &engine : nullptr; }

    void SetUp() override
    {
        fake::Factories::render = &render;
        fake::Factories::engine = engineClient();
        fake::Factories::fileSystem = &fs;
        host.curtime = 1.0f;
        host.frametime = 1.0f / 30;
        addFiles();
        ASSERT_TRUE(gui->Init(factories, 1, &host));
    }
    void TearDown() override
    {
        for (KeyValues* m : engine.received)
            m->deleteThis();
        engine.received.clear();
        fake::Factories::render = nullptr;
        fake::Factories::engine = nullptr;
        fake::Factories::fileSystem = nullptr;
    }

    lua_State* L() { return gui->GetScriptSystem()->GetLuaState(); }

    // Runs script text; the error text, or "" on success.
    std::string run(const std::string& chunk)
    {
        lua_State* l = L();
        const int top = lua_gettop(l);
        std::string error;
        if (luaL_loadbuffer(l, chunk.data(), chunk.size(), "test") != 0 || lua_pcall(l, 0, 0, 0) != 0)
            error = lua_tostring(l, -1) ? lua_tostring(l, -1) : "error";
        lua_settop(l, top);
        return error;
    }
    double number(const char* global)
    {
        lua_getglobal(L(), global);
        const double v = lua_tonumber(L(), -1);
        lua_pop(L(), 1);
        return v;
    }
    std::string text(const char* global)
    {
        lua_getglobal(L(), global);
        const char* s = lua_tostring(L(), -1);
        std::string v = s ? s : "";
        lua_pop(L(), 1);
        return v;
    }
    bool isNil(const char* global)
    {
        lua_getglobal(L(), global);
        const bool nil = lua_isnil(L(), -1);
        lua_pop(L(), 1);
        return nil;
    }
};
