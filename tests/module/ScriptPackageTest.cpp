// The main-object, panel and KeyValues script package, driven through Lua
// run on the main object's own script state.
#include <gtest/gtest.h>

#include <CEGUI/CEGUI.h>

#include <clocale>
#include <stdexcept>
#include <string>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}
#include <tolua++.h>

#include "GuiFixture.h"
#include "KeyValues.h"
#include "LuaExpect.h"
#include "RecordingLogger.h"
#include "core/ModuleMemory.h"
#include "core/QGUI.h"
#include "keyvaluessystem.h"
#include "script/MainPackageAdapters.h"
#include "script/ScriptSystem.h"

namespace
{
using QGUI::MainPackageAdapters::IsScriptOwned;

// The main object, for every chunk.
const char* const kExpect = R"lua(
gui = QGUI.CQGUI:GetGlobalObject()
)lua";

// An engine client whose message hand-over fails with an exception.
struct ThrowingEngine : fake::Engine
{
    bool RecvKeyVal(KeyValues*) override { throw std::runtime_error("engine client failed"); }
};

// Each test runs in a process of its own: the main object starts once.
struct ScriptPackageTest : GuiFixture
{
    lua_State* L = nullptr;

    virtual fake::Engine* EngineClient() { return &engine; }
    fake::Engine* engineClient() override { return EngineClient(); }

    void SetUp() override
    {
        GuiFixture::SetUp();
        L = GuiFixture::L();
        ASSERT_NE(L, nullptr);
        ASSERT_EQ(Run(kLuaExpect), "");
        ASSERT_EQ(Run(kExpect), "");
    }

    std::string Run(const std::string& chunk) { return run(chunk); }
    // The error text of a chunk without the position Lua puts in front.
    std::string Error(const std::string& chunk)
    {
        const std::string error = Run(chunk);
        const std::string position = "[string \"test\"]:1: ";
        return error.compare(0, position.size(), position) == 0 ? error.substr(position.size())
                                                                : error;
    }
    // The failed expectations so far, one a line.
    std::string Failures() { return Text("table.concat(failures, '\\n')"); }

    std::string Text(const std::string& expression)
    {
        const std::string chunk = "return " + expression;
        const int top = lua_gettop(L);
        std::string result = "(error)";
        if (luaL_loadbuffer(L, chunk.data(), chunk.size(), "test") == 0 &&
            lua_pcall(L, 0, 1, 0) == 0)
            result = lua_tostring(L, -1) ? lua_tostring(L, -1) : "(nil)";
        lua_settop(L, top);
        return result;
    }
    // The object a global holds, as the package passes it to C++.
    void* Object(const char* global)
    {
        lua_getglobal(L, global);
        void* object = lua_isuserdata(L, -1) ? tolua_tousertype(L, -1, nullptr) : nullptr;
        lua_pop(L, 1);
        return object;
    }
    static uint64_t LiveNodes() { return KeyValuesSystem()->GetStats().liveNodes; }
};

struct ScriptPackageWithoutEngineTest : ScriptPackageTest
{
    fake::Engine* EngineClient() override { return nullptr; }
};

struct ScriptPackageThrowingEngineTest : ScriptPackageTest
{
    ThrowingEngine throwing;
    fake::Engine* EngineClient() override { return &throwing; }
};

// ---------------------------------------------------------------------------
// The package on the state

TEST_F(ScriptPackageTest, ClassesAndConstantsAreInTheirScopes)
{
    ASSERT_EQ(Run(R"lua(
        expect("KeyValues", type(KeyValues), "table")
        expect("HandleBase", type(HandleBase), "table")
        expect("IPanel", type(QGUI.IPanel), "table")
        expect("CQGUI", type(QGUI.CQGUI), "table")
        local types = { TYPE_NONE = 0, TYPE_STRING = 1, TYPE_INT = 2, TYPE_FLOAT = 3,
                        TYPE_PTR = 4, TYPE_WSTRING = 5, TYPE_COLOR = 6 }
        for name, value in pairs(types) do expect(name, KeyValues[name], value) end
        local statuses = { UI_ELEMENT_FOCUSED = 0, KEY_ALT_DOWN = 1, KEY_CTRL_DOWN = 2,
                           KEY_SHIFT_DOWN = 3, MOUSE_LEFT_DOWN = 4, MOUSE_MID_DOWN = 5,
                           MOUSE_RIGHT_DOWN = 6 }
        for name, value in pairs(statuses) do expect(name, QGUI[name], value) end
        expect("type of the main object", tolua.type(gui), "QGUI::CQGUI")
        expect("same object", QGUI.CQGUI:GetGlobalObject() == gui, true)
    )lua"),
              "");
    EXPECT_EQ(Failures(), "");
    EXPECT_EQ(Object("gui"), static_cast<void*>(gui));
}

TEST_F(ScriptPackageTest, EveryBoundFunctionIsGuarded)
{
    const char* const functions[][2] = {{"KeyValues", "GetName"},     {"KeyValues", "new"},
                                        {"KeyValues", ".call"},       {"KeyValues", "deleteThis"},
                                        {"HandleBase", "new"},        {"HandleBase", "delete"},
                                        {"QGUI::IPanel", "delete"},   {"QGUI::CQGUI", "SendKeyVal"},
                                        {"QGUI::CQGUI", "IsStatusOn"}};
    const int top = lua_gettop(L);
    for (const auto& f : functions)
    {
        lua_getfield(L, LUA_REGISTRYINDEX, f[0]);
        ASSERT_TRUE(lua_istable(L, -1)) << f[0];
        lua_getfield(L, -1, f[1]);
        // The guard replaces each function by a closure holding it.
        EXPECT_TRUE(lua_iscfunction(L, -1) && lua_getupvalue(L, -1, 1)) << f[0] << "." << f[1];
        lua_settop(L, top);
    }
    // The scripts reach those same tables through the module and globals.
    lua_getfield(L, LUA_REGISTRYINDEX, "QGUI::CQGUI");
    lua_getglobal(L, "QGUI");
    lua_getfield(L, -1, "CQGUI");
    EXPECT_TRUE(lua_rawequal(L, -1, -3));
    lua_settop(L, top);
}

TEST_F(ScriptPackageThrowingEngineTest, AnExceptionBecomesAScriptErrorAndTheTreeLeavesTheScript)
{
    ASSERT_EQ(Run(R"lua(
        t = KeyValues("message", "k", "v")
        local ok, e = pcall(gui.SendKeyVal, gui, t)
        expect("ok", ok, false)
        expect("message", string.find(e, "engine client failed", 1, true) ~= nil, true)
    )lua"),
              "");
    EXPECT_EQ(Failures(), "");
    // Whether the module kept the tree is unknown: the collector must not
    // free it (a leak at worst).
    KeyValues* tree = static_cast<KeyValues*>(Object("t"));
    ASSERT_NE(tree, nullptr);
    EXPECT_FALSE(IsScriptOwned(L, tree));
    ASSERT_EQ(Run("t = nil collectgarbage('collect')"), "");
    tree->deleteThis();
}

// ---------------------------------------------------------------------------
// KeyValues

TEST_F(ScriptPackageTest, ACastToAnUnknownTypeIsAScriptError)
{
    EXPECT_EQ(Error("tolua.cast(gui, 'CGameChatBox')"), "tolua.cast: unknown type 'CGameChatBox'");
    EXPECT_EQ(Error("tolua.cast(gui, 'QGUI::CQGUl')"), "tolua.cast: unknown type 'QGUI::CQGUl'");
    EXPECT_EQ(Error("tolua.cast(nil, 'tolua_ubox')"), "tolua.cast: unknown type 'tolua_ubox'");
    ASSERT_EQ(Run(R"lua(
        local w = CEGUI.WindowManager:getSingleton():createWindow('DefaultWindow', '')
        expect('known', tolua.cast(w, 'CEGUI::Window') == w, true)
        expect('const', tolua.cast(w, 'const CEGUI::Window') == w, true)
        expect('no type', tolua.cast(w, nil), nil)
        CEGUI.WindowManager:getSingleton():destroyWindow(w)
        expect('module', tolua.cast(gui, 'QGUI::CQGUI') == gui, true)
    )lua"),
              "");
    EXPECT_EQ(Failures(), "");
}

TEST_F(ScriptPackageTest, ACastRefusesAnObjectThatIsNotOfTheClassAskedFor)
{
    ASSERT_EQ(Run(R"lua(
        wm = CEGUI.WindowManager:getSingleton()
        plain = wm:createWindow('DefaultWindow', '')
        rich = wm:createWindow('QXGame/GameMultiLine', '')
    )lua"),
              "");
    EXPECT_EQ(Error("tolua.cast(plain, 'QGUI::CGameChatBox')"),
              "tolua.cast: cannot cast 'CEGUI::DefaultWindow' to 'QGUI::CGameChatBox'");
    EXPECT_EQ(Error("tolua.cast(plain, 'const QGUI::CGameMultiLine')"),
              "tolua.cast: cannot cast 'CEGUI::DefaultWindow' to 'const QGUI::CGameMultiLine'");
    EXPECT_EQ(Error("tolua.cast(io.stdout, 'CEGUI::Window')"), "tolua.cast: cannot cast 'userdata' to 'CEGUI::Window'");
    EXPECT_EQ(Error("tolua.cast(KeyValues:new_local('k'), 'tolua_commonclass')"),
              "tolua.cast: unknown type 'tolua_commonclass'");
    EXPECT_EQ(Error("tolua.cast(KeyValues:new_local('k'), 'CEGUI::Window')"),
              "tolua.cast: cannot cast 'KeyValues' to 'CEGUI::Window'");
    EXPECT_EQ(Error("tolua.cast(gui, 'KeyValues')"), "tolua.cast: cannot cast 'QGUI::CQGUI' to 'KeyValues'");
    ASSERT_EQ(Run(R"lua(
        collectgarbage('collect')
        local r = tolua.cast(rich, 'QGUI::CGameMultiLine')
        expect('own class', r:getDocWidth() > 0, true)
        expect('base', tolua.cast(r, 'CEGUI::MultiLineEditbox') == rich, true)
        expect('from an element', tolua.cast(tolua.cast(rich, 'CEGUI::NamedElement'), 'QGUI::CGameMultiLine') == rich, true)
        expect('sheet', tolua.cast(plain, 'CEGUI::GUISheet') == plain, true)
        expect('nil', tolua.cast(nil, 'QGUI::CGameChatBox'), nil)
        wm:destroyWindow(plain)
        wm:destroyWindow(rich)
        wm:cleanDeadPool()
    )lua"),
              "");
    EXPECT_EQ(Failures(), "");
    EXPECT_EQ(Error("tolua.cast(rich, 'CEGUI::Window')"), "tolua.cast: cannot cast 'a destroyed window' to 'CEGUI::Window'");
}

TEST_F(ScriptPackageTest, TheSixConstructorsAndTheNumericStringRule)
{
    ASSERT_EQ(Run(R"lua(
        local a = KeyValues:new_local("a")
        expect("1 name", a:GetName(), "a")
        local b = KeyValues:new_local("b", "k", "v")
        expect("2 type", b:GetDataType("k"), KeyValues.TYPE_STRING)
        expect("2 value", b:GetString("k"), "v")
        -- Wide texts reach the scripts as strings, so only nil selects the
        -- wide form (an empty wide text).
        local w = KeyValues:new_local("w", "k", nil)
        expect("3 type", w:GetDataType("k"), KeyValues.TYPE_WSTRING)
        expect("3 value", w:GetString("k"), "")
        local v = KeyValues:new_local("v", "k", b:GetWString("k"))
        expect("wide text as string", v:GetDataType("k"), KeyValues.TYPE_STRING)
        local c = KeyValues:new_local("c", "k", 5)
        expect("4 type", c:GetDataType("k"), KeyValues.TYPE_INT)
        expect("4 value", c:GetInt("k"), 5)
        local d = KeyValues:new_local("d", "k", "5")
        expect("numeric string type", d:GetDataType("k"), KeyValues.TYPE_INT)
        local e = KeyValues:new_local("e", "k", "abc")
        expect("text type", e:GetDataType("k"), KeyValues.TYPE_STRING)
        local f = KeyValues:new_local("f", "k1", "x", "k2", "y")
        expect("5 first", f:GetString("k1"), "x")
        expect("5 second", f:GetString("k2"), "y")
        local g = KeyValues:new_local("g", "k1", 1, "k2", "2")
        expect("6 types", g:GetDataType("k1") .. g:GetDataType("k2"), "22")
        expect("6 sum", g:GetInt("k1") + g:GetInt("k2"), 3)
        local h = KeyValues("h", "k", -5.9)
        expect("fraction dropped", h:GetInt("k"), -5)
        expect("call form", h:GetName(), "h")
        owned_local = a
        owned_call = h
        not_owned = KeyValues:new("n")
    )lua"),
              "");
    EXPECT_EQ(Failures(), "");
    EXPECT_TRUE(IsScriptOwned(L, Object("owned_local")));
    EXPECT_TRUE(IsScriptOwned(L, Object("owned_call")));
    EXPECT_FALSE(IsScriptOwned(L, Object("not_owned")));
    EXPECT_EQ(Run("not_owned:deleteThis()"), "");
}

TEST_F(ScriptPackageTest, GettersGiveTheirDefaultsAndSettersCreateKeys)
{
    ASSERT_EQ(Run(R"lua(
        local t = KeyValues("t")
        expect("own int", t:GetInt(), 0)
        expect("missing int", t:GetInt("missing", 9), 9)
        expect("missing text", t:GetString("missing", "x"), "x")
        expect("missing text, no default", t:GetString("missing"), "")
        expect("missing float", t:GetFloat("missing", 2.5), 2.5)
        expect("missing type", t:GetDataType("missing"), KeyValues.TYPE_NONE)
        expect("missing is empty", t:IsEmpty("missing"), true)

        t:SetInt("neg", -12)
        expect("int as text", t:GetString("neg"), "-12")
        expect("converted type", t:GetDataType("neg"), KeyValues.TYPE_STRING)
        t:SetFloat("f", 1.5)
        expect("float", t:GetFloat("f"), 1.5)
        expect("float as text", t:GetString("f"), "1.500000")
        t:SetString("s", "42abc")
        expect("leading digits", t:GetInt("s"), 42)
        t:SetInt("a/b", 7)
        expect("path", t:GetInt("a/b"), 7)
        expect("path parent", t:GetDataType("a"), KeyValues.TYPE_NONE)
        expect("node with keys", t:IsEmpty(), false)
        t:SetInt("big", 1e10)
        expect("out of range", t:GetInt("big"), -2147483648)

        expect("missing pointer", t:GetPtr("missing"), nil)
        expect("pointer of an int", t:GetPtr("a/b", t), nil)
        t:SetPtr("p", t)
        expect("pointer type", t:GetDataType("p"), KeyValues.TYPE_PTR)
        expect("pointer", t:GetPtr("p") ~= nil, true)

        t:SetString("u", "h\195\169llo")
        t:SetWString("w", t:GetWString("u"))
        expect("wide type", t:GetDataType("w"), KeyValues.TYPE_WSTRING)
        expect("wide round trip", t:GetString("w"), "h\195\169llo")
        t:SetWString("e", t:GetWString("nothing"))
        expect("empty wide default", t:GetString("e"), "")
    )lua"),
              "");
    EXPECT_EQ(Failures(), "");
}

TEST_F(ScriptPackageTest, FindKeyBySymbolAndByPathNavigationAndCopies)
{
    ASSERT_EQ(Run(R"lua(
        local t = KeyValues("t")
        local x = t:FindKey("x", true)
        expect("created", x:GetName(), "x")
        expect("by symbol", t:FindKey(x:GetNameSymbol()) == x, true)
        expect("by numeric text", t:FindKey(tostring(x:GetNameSymbol())) == x, true)
        expect("unknown symbol", t:FindKey(999999), nil)
        expect("missing path", t:FindKey("a/b/c"), nil)
        local c = t:FindKey("a/b/c", true)
        expect("path created", t:FindKey("a"):FindKey("b"):FindKey("c") == c, true)
        expect("empty path", t:FindKey("") == t, true)
        local n = t:CreateNewKey()
        expect("new key", n:GetName(), "1")

        local names = {}
        local k = t:GetFirstSubKey()
        while k do table.insert(names, k:GetName()) k = k:GetNextKey() end
        expect("sub-keys", table.concat(names, ","), "x,a,1")
        t:RemoveSubKey(x)
        expect("removed", t:GetFirstSubKey():GetName(), "a")
        x:deleteThis()

        t:SetInt("a/b/c", 4)
        local copy = t:MakeCopy()
        expect("copy", copy:GetInt("a/b/c"), 4)
        copy:deleteThis()
        t:Clear()
        expect("cleared", t:GetFirstSubKey(), nil)

        local base = KeyValues("base", "inherited", 5)
        t:ChainKeyValue(base)
        expect("chained", t:GetInt("inherited"), 5)
        t:ChainKeyValue(nil)
        expect("unchained", t:GetInt("inherited", -1), -1)

        local p = KeyValues:new("peer")
        t:SetNextKey(p)
        expect("peer", t:GetNextKey() == p, true)
        t:SetNextKey(nil)
        p:deleteThis()

        local l = KeyValues("l")
        expect("load", l:LoadFromBuffer(nil, '"root" { "a" "1" "b" { "c" "x" } }'), true)
        expect("loaded name", l:GetName(), "root")
        expect("loaded int", l:GetInt("a"), 1)
        expect("loaded path", l:GetString("b/c"), "x")
        local e = KeyValues("e")
        e:UsesEscapeSequences(true)
        e:LoadFromBuffer("e.txt", '"e" { "a" "x\\ty" }')
        expect("escapes", e:GetString("a"), "x\ty")
    )lua"),
              "");
    EXPECT_EQ(Failures(), "");
}

TEST_F(ScriptPackageTest, NodesTheScriptOwnsAreCollectedOnce)
{
    const uint64_t before = LiveNodes();
    ASSERT_EQ(Run(R"lua(
        do
            local a = KeyValues:new_local("a")
            a:SetInt("x/y", 1)
            local b = KeyValues("b", "k", "v")
            kept = KeyValues:new("kept", "k", 1)
            local d = KeyValues("d", "k", 1)
            d:deleteThis()
        end
        collectgarbage("collect")
    )lua"),
              "");
    // Only the tree made with "new" is left; the one deleted by hand was not
    // freed a second time by the collector.
    EXPECT_EQ(LiveNodes(), before + 2);
    ASSERT_EQ(Run("kept:deleteThis() kept = nil collectgarbage('collect')"), "");
    EXPECT_EQ(LiveNodes(), before);
}

// ---------------------------------------------------------------------------
// Panels and handles

TEST_F(ScriptPackageTest, HandlesStartEmptyAndComeFromTheModulesPool)
{
    const size_t poolBefore = QGUI::ModulePoolBytes();
    ASSERT_EQ(Run("h = HandleBase:new() expect('no panel', gui:QueryPanel(h), nil)"), "");
    EXPECT_EQ(Failures(), "");
    auto* handle = static_cast<HandleBase*>(Object("h"));
    ASSERT_NE(handle, nullptr);
    EXPECT_EQ(handle->value, 0u);
    EXPECT_EQ(QGUI::ModulePoolBytes(), poolBefore + sizeof(HandleBase));
    EXPECT_FALSE(IsScriptOwned(L, handle));
    // (The global goes too: tolua would hand its stale userdata to a new
    // handle at the same address.)
    ASSERT_EQ(Run("h:delete() h = nil collectgarbage('collect')"), "");
    EXPECT_EQ(QGUI::ModulePoolBytes(), poolBefore);

    // Owned handles are collected; one deleted by hand is not freed again.
    ASSERT_EQ(Run(R"lua(
        do
            local a = HandleBase:new_local()
            local b = HandleBase()
            local c = HandleBase()
            c:delete()
        end
        collectgarbage("collect")
    )lua"),
              "");
    EXPECT_EQ(QGUI::ModulePoolBytes(), poolBefore);
}

TEST_F(ScriptPackageTest, NamelessPanelsAreCreatedQueriedAttachedAndReleased)
{
    ASSERT_EQ(Run(R"lua(
        h = HandleBase()
        p = gui:CreatePanel(h, nil)
        expect("panel", p ~= nil, true)
        expect("type", tolua.type(p), "QGUI::IPanel")
        expect("query", gui:QueryPanel(h) == p, true)
        h2 = HandleBase()
        gui:CreatePanel(h2, nil)
        expect("child", gui:AddToChildPanel(h, h2), true)
        expect("root", gui:AddPanelToRoot(h), true)
    )lua"),
              "");
    EXPECT_EQ(Failures(), "");
    auto* handle = static_cast<HandleBase*>(Object("h"));
    ASSERT_NE(handle, nullptr);
    EXPECT_NE(handle->value, 0u);
    QGUI::IPanel* panel = gui->QueryPanel(handle);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(Object("p"), static_cast<void*>(panel));
    CEGUI::Window* window = static_cast<QGUI::CPanel*>(panel)->GetWindow();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->getParent(), gui->GetRootWindow());

    // A script's delete releases the panel through the pool, as ReleasePanel
    // does: the window goes, the slot is free, the script's references die.
    const size_t live = gui->GetPanelPool().liveCount();
    ASSERT_EQ(Run("q = gui:QueryPanel(h) p:delete() expect('released', gui:QueryPanel(h), nil)"), "");
    EXPECT_EQ(gui->GetPanelPool().liveCount(), live - 1);
    EXPECT_FALSE(CEGUI::WindowManager::getSingleton().isAlive(window));
    EXPECT_EQ(Error("q:delete()"), "invalid 'self' in function 'delete'");
    ASSERT_EQ(Run(R"lua(
        gui:ReleasePanel(h)
        expect("child kept", gui:QueryPanel(h2) ~= nil, true)
        gui:ReleasePanel(h2)
        expect("child released", gui:QueryPanel(h2), nil)
    )lua"),
              "");
    EXPECT_EQ(Failures(), "");
    EXPECT_EQ(gui->QueryPanel(handle), nullptr);
    EXPECT_EQ(gui->GetPanelPool().liveCount(), live - 2);
}

// ---------------------------------------------------------------------------
// Errors and invalid input

TEST_F(ScriptPackageTest, WrongArgumentsAndNullSelfRaiseTheBindingsErrors)
{
    EXPECT_EQ(Error("gui:IsStatusOn('x')"),
              "error in function 'IsStatusOn'.\n     argument #2 is 'string'; 'number' expected.\n");
    EXPECT_EQ(Error("QGUI.CQGUI.IsStatusOn(nil, 1)"), "invalid 'self' in function 'IsStatusOn'");
    EXPECT_EQ(Error("KeyValues.GetName(nil)"), "invalid 'self' in function 'GetName'");
    EXPECT_EQ(Error("QGUI.CQGUI.SendKeyVal(nil, nil)"), "invalid 'self' in function 'SendKeyVal'");
    EXPECT_EQ(Error("KeyValues.deleteThis(nil)"), "invalid 'self' in function 'deleteThis'");
    // Every constructor form reports as "new"; an overloaded name reports
    // through the form registered first.
    EXPECT_EQ(Error("KeyValues:new({})"),
              "error in function 'new'.\n     argument #2 is 'table'; 'string' expected.\n");
    EXPECT_EQ(Error("KeyValues({})"),
              "error in function 'new'.\n     argument #2 is 'table'; 'string' expected.\n");
    EXPECT_EQ(Error("KeyValues('t'):FindKey({})"),
              "error in function 'FindKey'.\n     argument #2 is 'table'; 'string' expected.\n");
    EXPECT_EQ(Error("gui:playSoundEffect(0, 0)"),
              "error in function 'playSoundEffect'.\n     argument #4 is '[no object]'; 'string' expected.\n");
}

TEST_F(ScriptPackageTest, NumbersBecomeIntsByDroppingTheFraction)
{
    CEGUI::System::getSingleton().getDefaultGUIContext().injectKeyDown(CEGUI::Key::LeftShift);
    ASSERT_EQ(Run(R"lua(
        expect("shift", gui:IsStatusOn(QGUI.KEY_SHIFT_DOWN), true)
        expect("numeric text", gui:IsStatusOn("3"), true)
        expect("fraction", gui:IsStatusOn(3.9), true)
        expect("alt", gui:IsStatusOn(QGUI.KEY_ALT_DOWN), false)
        expect("huge", gui:IsStatusOn(1e300), false)
        expect("nan", gui:IsStatusOn(0/0), false)
        gui:playSoundEffect(1.9, -2.9, "click")
    )lua"),
              "");
    EXPECT_EQ(Failures(), "");
    ASSERT_FALSE(gui->GetSoundQueue().empty());
    const auto& sound = gui->GetSoundQueue().back();
    EXPECT_EQ(sound.x, 1);
    EXPECT_EQ(sound.y, -2);
    EXPECT_EQ(sound.name, "click");
}

TEST_F(ScriptPackageTest, NilArgumentsGiveFalseNilOrNothing)
{
    ASSERT_EQ(Run(R"lua(
        expect("SendKeyVal", gui:SendKeyVal(nil), false)
        expect("RecvKeyVal", gui:RecvKeyVal(nil), false)
        expect("LoadUIStyle", gui:LoadUIStyle(nil), false)
        expect("CreatePanel", gui:CreatePanel(nil, nil), nil)
        expect("CreatePanel named", gui:CreatePanel(nil, "panel"), nil)
        expect("QueryPanel", gui:QueryPanel(nil), nil)
        gui:ReleasePanel(nil)
        local h = HandleBase()
        gui:CreatePanel(h, nil)
        expect("AddToChildPanel", gui:AddToChildPanel(nil, nil), false)
        expect("AddToChildPanel child", gui:AddToChildPanel(h, nil), false)
        expect("AddToChildPanel parent", gui:AddToChildPanel(nil, h), false)
        expect("AddPanelToRoot", gui:AddPanelToRoot(nil), false)
        expect("ExecuteScpritFile", gui:ExecuteScpritFile(nil), false)
        gui:playSoundEffect(0, 0, nil)
        gui:ReleasePanel(h)

        local t = KeyValues(nil)
        expect("nameless", t:GetName(), "")
        t:SetName(nil)
        expect("FindKey", t:FindKey(nil) == t, true)
        t:RemoveSubKey(nil)
        t:SetNextKey(nil)
        t:ChainKeyValue(nil)
        expect("LoadFromBuffer", t:LoadFromBuffer(nil, nil), false)
        expect("LoadFromFile", t:LoadFromFile(nil, "a.txt"), false)
        expect("SaveToFile", t:SaveToFile(nil, "a.txt"), false)
        t:RecursiveSaveToFile(nil, 0)
        t:SetString("s", nil)
        expect("null text", t:GetString("s"), "")
        t:SetWString("w", nil)
        expect("null wide text", t:GetDataType("w"), KeyValues.TYPE_WSTRING)
        expect("missing with nil default", t:GetString("missing", nil), nil)
        expect("wide of nothing", t:GetWString(nil, nil) ~= nil, true)
        t:SetPtr("p", nil)
        expect("null pointer", t:GetPtr("p"), nil)
        t:UsesEscapeSequences(nil)
    )lua"),
              "");
    EXPECT_EQ(Failures(), "");
    EXPECT_TRUE(gui->GetSoundQueue().empty());
}

// ---------------------------------------------------------------------------
// Numbers as text under a locale with a decimal comma (a script sets it)

TEST_F(ScriptPackageTest, NumbersWrittenAsTextKeepTheirPointUnderACommaLocale)
{
    tolua_pushusertype(L, static_cast<IBaseFileSystem*>(&fs), "IBaseFileSystem");
    lua_setglobal(L, "files");
    const std::string error = Run(R"lua(
        expect("comma locale", os.setlocale("de_DE.UTF-8", "numeric"), "de_DE.UTF-8")
        t = KeyValues("root")
        t:SetFloat("saved", 2.25)
        expect("saved", t:SaveToFile(files, "numbers.txt"), true)
        back = KeyValues("back")
        expect("loaded", back:LoadFromFile(files, "numbers.txt"), true)
        expect("reloaded", back:GetFloat("saved"), 2.25)
        t:SetFloat("f", 1.5)
        expect("text", t:GetString("f"), "1.500000")
        expect("text kept", t:GetFloat("f"), 1.5)
        t:SetFloat("w", -0.5)
        expect("wide text", t:GetWString("w"), "-0.500000")
        local windows = CEGUI.WindowManager:getSingleton()
        local bar = windows:createWindow("QXGame/PercentBar")
        bar:setProperty("Value", "0.75")
        expect("property text", bar:getProperty("Value"), "0.75")
        windows:destroyWindow(bar)
    )lua");
    std::setlocale(LC_NUMERIC, "C");
    ASSERT_EQ(error, "");
    EXPECT_EQ(Failures(), "");
    EXPECT_NE(fs.files["numbers.txt"].find("\t\"saved\"\t\t\"2.250000\"\n"), std::string::npos)
        << fs.files["numbers.txt"];
}

// ---------------------------------------------------------------------------
// Messages and who owns them

TEST_F(ScriptPackageTest, AnAcceptedMessageBelongsToTheEngineClient)
{
    ASSERT_EQ(Run(R"lua(
        t = KeyValues("_KeyVal_Play_Sound", "_KeyVal_Sound_Name", "click")
        expect("accepted", gui:SendKeyVal(t), true)
    )lua"),
              "");
    EXPECT_EQ(Failures(), "");
    ASSERT_EQ(engine.received.size(), 1u);
    KeyValues* message = engine.received[0];
    // The script's reference died with the hand-over.
    EXPECT_EQ(Object("t"), nullptr);
    EXPECT_EQ(Error("t:GetName()"), "invalid 'self' in function 'GetName'");
    EXPECT_STREQ(message->GetName(), "_KeyVal_Play_Sound");
    EXPECT_STREQ(message->GetString("_KeyVal_Sound_Name"), "click");
    EXPECT_FALSE(IsScriptOwned(L, message));

    // The collector leaves it alone; the engine client frees it.
    const uint64_t live = LiveNodes();
    ASSERT_EQ(Run("t = nil collectgarbage('collect')"), "");
    EXPECT_EQ(LiveNodes(), live);
    message->deleteThis();
    engine.received.clear();
    EXPECT_EQ(LiveNodes(), live - 2);
}

TEST_F(ScriptPackageTest, ARefusedMessageStaysTheScripts)
{
    engine.accept = false;
    ASSERT_EQ(Run(R"lua(
        t = KeyValues("_KeyVal_Play_Sound", "_KeyVal_Sound_Name", "click")
        expect("refused", gui:SendKeyVal(t), false)
        expect("still usable", t:GetString("_KeyVal_Sound_Name"), "click")
    )lua"),
              "");
    EXPECT_EQ(Failures(), "");
    ASSERT_EQ(engine.received.size(), 1u);
    EXPECT_TRUE(IsScriptOwned(L, engine.received[0]));
    const uint64_t live = LiveNodes();
    ASSERT_EQ(Run("t = nil collectgarbage('collect')"), "");
    engine.received.clear();  // the script's collector freed it
    EXPECT_EQ(LiveNodes(), live - 2);
}

TEST_F(ScriptPackageWithoutEngineTest, AParsedMessageIsConsumedOnceAndAnUnknownOneIsNot)
{
    const uint64_t before = LiveNodes();
    ASSERT_EQ(Run(R"lua(
        do
            local m = KeyValues("_KeyVal_UpdateTitle", "title", "x")
            expect("parsed", gui:RecvKeyVal(m), true)
            local s = KeyValues("_KeyVal_UpdateTitle")
            expect("sent to the parser", gui:SendKeyVal(s), true)
            local n = KeyValues:new("_KeyVal_UpdateTitle")
            expect("not owned", gui:RecvKeyVal(n), true)
            unknown = KeyValues("_KeyVal_Unknown", "k", "v")
            expect("no parser", gui:RecvKeyVal(unknown), false)
            expect("no parser either", gui:SendKeyVal(unknown), false)
        end
    )lua"),
              "");
    EXPECT_EQ(Failures(), "");
    // The parsers destroyed their messages; the unknown one is the script's.
    EXPECT_EQ(LiveNodes(), before + 2);
    EXPECT_TRUE(IsScriptOwned(L, Object("unknown")));
    ASSERT_EQ(Run("collectgarbage('collect')"), "");
    EXPECT_EQ(LiveNodes(), before + 2);
    ASSERT_EQ(Run("unknown = nil collectgarbage('collect')"), "");
    EXPECT_EQ(LiveNodes(), before);
}
} // namespace
