// Objects a script holds after the module freed them, took them or moved
// them into another tree: every use answers with a script error or nil,
// nothing reaches freed memory, and the module keeps working.
#include "GuiFixture.h"

#include "keyvaluessystem.h"

namespace
{
struct Misuse
{
    const char* label;
    const char* chunk;
    const char* error; // "" when the chunk must run through
};

struct ScriptReferenceTest : GuiFixture
{
    void SetUp() override
    {
        GuiFixture::SetUp();
        ASSERT_EQ(run("gui = QGUI.CQGUI:GetGlobalObject()"), "");
    }
    // The error of a chunk without the position Lua puts in front.
    std::string error(const std::string& chunk)
    {
        const std::string e = run(chunk);
        const std::string position = "[string \"test\"]:1: ";
        return e.compare(0, position.size(), position) == 0 ? e.substr(position.size()) : e;
    }
    void expectAll(const std::vector<Misuse>& cases)
    {
        for (const Misuse& m : cases)
            EXPECT_EQ(error(m.chunk), m.error) << m.label;
    }
    // A panel, a message and a frame still work.
    void expectModuleWorks()
    {
        HandleBase h;
        EXPECT_NE(gui->CreatePanel(&h, nullptr), nullptr);
        gui->ReleasePanel(&h);
        const size_t before = engine.received.size();
        EXPECT_TRUE(gui->SendKeyVal(new KeyValues("after")));
        EXPECT_EQ(engine.received.size(), before + 1);
        gui->Update();
        EXPECT_EQ(run("local t = KeyValues('t', 'k', 1) assert(t:GetInt('k') == 1)"), "");
    }
    static uint64_t liveNodes() { return KeyValuesSystem()->GetStats().liveNodes; }
};

struct NoEngineReferenceTest : ScriptReferenceTest
{
    NoEngineReferenceTest() { withEngine = false; }
};

TEST_F(ScriptReferenceTest, NodesTheModuleFreedAnswerAsDeadReferences)
{
    const uint64_t before = liveNodes();
    expectAll({
        {"deleted twice", "local t = KeyValues:new('t') t:deleteThis() t:deleteThis()",
         "invalid 'self' in function 'deleteThis'"},
        {"owned, deleted, then collected", "local t = KeyValues('t') t:deleteThis() t = nil collectgarbage()", ""},
        {"sub-key of a deleted tree",
         "local t = KeyValues:new('t') local s = t:FindKey('a/b', true) t:deleteThis() s:GetInt()",
         "invalid 'self' in function 'GetInt'"},
        {"peer of a deleted tree",
         "local t = KeyValues:new('t') t:LoadFromBuffer(nil, 'a { } b { }') local p = t:GetNextKey() "
         "t:deleteThis() p:GetName()",
         "invalid 'self' in function 'GetName'"},
        {"cleared sub-key", "local t = KeyValues('t') local s = t:FindKey('a', true) t:Clear() s:SetInt(nil, 1)",
         "invalid 'self' in function 'SetInt'"},
        {"dead sub-key as an argument passes as nil",
         "local t = KeyValues:new('t') local s = t:CreateNewKey() t:deleteThis() "
         "assert(gui:SendKeyVal(s) == false) assert(gui:RecvKeyVal(s) == false) KeyValues('u'):RemoveSubKey(s)",
         ""},
        {"collected tree's sub-key",
         "do local t = KeyValues('t') sub = t:FindKey('x', true) end collectgarbage() sub:GetName()",
         "invalid 'self' in function 'GetName'"},
        {"chained tree deleted",
         "local base = KeyValues:new('base', 'k', 5) local t = KeyValues('t') t:ChainKeyValue(base) "
         "assert(t:GetInt('k') == 5) base:deleteThis() assert(t:GetInt('k', -1) == -1)",
         ""},
    });
    ASSERT_EQ(run("sub = nil collectgarbage()"), "");
    EXPECT_EQ(liveNodes(), before);
    expectModuleWorks();
}

TEST_F(ScriptReferenceTest, AFreedAddressServesANewNodeWithoutWakingTheOldReference)
{
    // Node memory is reused at once; the old userdata must not come back.
    ASSERT_EQ(run("old = KeyValues:new('old') old:deleteThis() "
                  "for i = 1, 50 do local n = KeyValues:new('n' .. i) n:SetInt('i', i) keep = keep or {} keep[i] = n end"),
              "");
    EXPECT_EQ(error("old:GetName()"), "invalid 'self' in function 'GetName'");
    EXPECT_EQ(run("for i = 1, 50 do assert(keep[i]:GetInt('i') == i) keep[i]:deleteThis() end"), "");
    expectModuleWorks();
}

TEST_F(ScriptReferenceTest, TreesTheEngineTookAreGoneFromTheScript)
{
    ASSERT_EQ(run("m = KeyValues:new('m') sub = m:FindKey('a/b', true) peer = KeyValues:new('p') m:SetNextKey(peer) "
                  "assert(gui:SendKeyVal(m))"),
              "");
    ASSERT_EQ(engine.received.size(), 1u);
    expectAll({
        {"the message", "m:GetName()", "invalid 'self' in function 'GetName'"},
        {"its sub-key", "sub:SetString('k', 'v')", "invalid 'self' in function 'SetString'"},
        {"its peer", "peer:deleteThis()", "invalid 'self' in function 'deleteThis'"},
        {"sent again", "assert(gui:SendKeyVal(m) == false)", ""},
    });
    // The engine client frees it with its own code.
    engine.received[0]->deleteThis();
    engine.received.clear();
    // A refused message stays the script's, fully usable.
    engine.accept = false;
    EXPECT_EQ(run("local r = KeyValues('r', 'k', 'v') assert(gui:SendKeyVal(r) == false) assert(r:GetString('k') == 'v')"),
              "");
    engine.received.clear();
    engine.accept = true;
    expectModuleWorks();
}

TEST_F(NoEngineReferenceTest, MessagesAParserDestroyedAreGoneFromTheScript)
{
    const uint64_t before = liveNodes();
    expectAll({
        {"taken by the parser",
         "m = KeyValues('_KeyVal_UpdateTitle') s = m:FindKey('title', true) assert(gui:RecvKeyVal(m)) m:GetName()",
         "invalid 'self' in function 'GetName'"},
        {"its sub-key", "s:GetString()", "invalid 'self' in function 'GetString'"},
        {"sent to the parser", "n = KeyValues:new('_KeyVal_UpdateTitle') assert(gui:SendKeyVal(n)) n:deleteThis()",
         "invalid 'self' in function 'deleteThis'"},
        {"a sub-key is no message of its own",
         "local t = KeyValues:new('t') local k = t:FindKey('_KeyVal_UpdateTitle', true) "
         "local ok, e = pcall(gui.RecvKeyVal, gui, k) t:deleteThis() error(e, 0)",
         "error in function 'RecvKeyVal': the message belongs to another tree; cut it out with RemoveSubKey first"},
    });
    ASSERT_EQ(run("m = nil s = nil n = nil collectgarbage()"), "");
    EXPECT_EQ(liveNodes(), before);
}

TEST_F(ScriptReferenceTest, LinksThatWouldShareOrLoopATreeAreRefused)
{
    const uint64_t before = liveNodes();
    expectAll({
        {"two owned trees linked, then both collected",
         "do local a = KeyValues('a') local b = KeyValues('b') b:SetInt('x/y', 1) a:SetNextKey(b) "
         "assert(a:GetNextKey():GetInt('x/y') == 1) end collectgarbage()",
         ""},
        {"own peer", "local a = KeyValues('a') a:SetNextKey(a)",
         "error in function 'SetNextKey': a key cannot be its own peer"},
        {"peer chain made a cycle", "local a = KeyValues('a') local b = KeyValues('b') a:SetNextKey(b) b:SetNextKey(a)",
         "error in function 'SetNextKey': the new peer holds this key; the link would make a cycle"},
        {"sub-key made its parent's peer", "local p = KeyValues('p') local s = p:FindKey('s', true) s:SetNextKey(p)",
         "error in function 'SetNextKey': the new peer holds this key; the link would make a cycle"},
        {"deep sub-key made its root's peer",
         "local p = KeyValues('p') local s = p:FindKey('a/b/c', true) s:SetNextKey(p)",
         "error in function 'SetNextKey': the new peer holds this key; the link would make a cycle"},
        {"a member as a peer",
         "local a = KeyValues('a') local t = KeyValues('t') a:SetNextKey(t:FindKey('x', true))",
         "error in function 'SetNextKey': the new peer belongs to another tree; cut it out with RemoveSubKey first"},
        {"a linked peer linked again",
         "local a = KeyValues('a') local b = KeyValues('b') local c = KeyValues('c') a:SetNextKey(b) c:SetNextKey(b)",
         "error in function 'SetNextKey': the new peer belongs to another tree; cut it out with RemoveSubKey first"},
        {"a member deleted",
         "local t = KeyValues('t') t:FindKey('x', true):deleteThis()",
         "error in function 'deleteThis': the key belongs to another tree; cut it out with RemoveSubKey first"},
        {"a linked peer deleted", "local a = KeyValues('a') local b = KeyValues('b') a:SetNextKey(b) b:deleteThis()",
         "error in function 'deleteThis': the key belongs to another tree; cut it out with RemoveSubKey first"},
        {"cut out, then deleted",
         "local t = KeyValues('t') local x = t:FindKey('x', true) t:RemoveSubKey(x) x:deleteThis() "
         "assert(t:FindKey('x') == nil)",
         ""},
        {"another tree's sub-key is not removed",
         "local t = KeyValues('t') local u = KeyValues('u') local x = u:FindKey('x', true) t:RemoveSubKey(x) "
         "assert(u:FindKey('x') == x) x:deleteThis()",
         "error in function 'deleteThis': the key belongs to another tree; cut it out with RemoveSubKey first"},
        {"a cut-off peer becomes the script's",
         "local a = KeyValues('a') local b = KeyValues:new('b') a:SetNextKey(b) a:SetNextKey(nil) b:deleteThis()", ""},
        {"a copy is the script's", "local t = KeyValues('t', 'k', 1) local c = t:MakeCopy() c:deleteThis()", ""},
    });
    ASSERT_EQ(run("collectgarbage()"), "");
    EXPECT_EQ(liveNodes(), before);
    expectModuleWorks();
}

TEST_F(ScriptReferenceTest, HandlesAndPanelsTheModuleFreedAnswerAsDeadReferences)
{
    expectAll({
        {"handle deleted, then used", "h = HandleBase:new() h:delete() assert(gui:QueryPanel(h) == nil) "
                                      "assert(gui:CreatePanel(h, nil) == nil) assert(gui:AddPanelToRoot(h) == false)",
         ""},
        {"handle deleted twice", "h:delete()", "invalid 'self' in function 'delete'"},
        {"owned handle deleted, then collected", "local o = HandleBase() o:delete() o = nil collectgarbage()", ""},
        {"panel released", "local k = HandleBase() local p = gui:CreatePanel(k, nil) gui:ReleasePanel(k) p:delete()",
         "invalid 'self' in function 'delete'"},
    });
    expectModuleWorks();
}

TEST_F(ScriptReferenceTest, WideTextsReachTheScriptAsStrings)
{
    // Read twice at one address, then stored back and compared.
    ASSERT_EQ(run(R"lua(
        local t = KeyValues('t')
        t:SetString('u', 'h\195\169llo')
        local a = t:GetWString('u')
        local b = t:GetWString('u')
        assert(type(a) == 'string' and a == b and a == 'h\195\169llo', tostring(a))
        assert(t:GetDataType('u') == KeyValues.TYPE_WSTRING)
        t:SetWString('w', a)
        assert(t:GetDataType('w') == KeyValues.TYPE_WSTRING and t:GetString('w') == a)
        t:SetInt('n', -7)
        assert(t:GetWString('n') == '-7')
        assert(t:GetWString('missing') == '' and t:GetWString('missing', 'x') == 'x')
        t:SetWString('nothing', nil)
        assert(t:GetWString('nothing') == '')
    )lua"),
              "");
    expectModuleWorks();
}
} // namespace
