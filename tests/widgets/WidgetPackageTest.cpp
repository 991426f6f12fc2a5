// The widget and colour script package, driven by Lua run on the main
// object's own script state: the module's windows reached from the GUI
// library's binding by casts, image list items, the document size the
// script owns, and the file browser over a temporary folder tree.
#include <gtest/gtest.h>

#include <CEGUI/CEGUI.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}
#include <tolua++.h>

#include "LuaExpect.h"
#include "RichTextWindowFixture.h"
#include "script/MainPackageAdapters.h"
#include "widgets/GameEditBox.h"
#include "widgets/ItemIcon.h"
#include "widgets/ListImageItem.h"

namespace
{
using QGUI::MainPackageAdapters::IsScriptOwned;

// Helpers of every chunk.
const char* const kHelpers = R"lua(
-- The error a call raises, without the position Lua may put in front.
function error_of(f, ...)
    local ok, e = pcall(f, ...)
    if ok then return "(no error)" end
    return (string.gsub(tostring(e), "^[^:]*:%d+: ", ""))
end
manager = CEGUI.WindowManager:getSingleton()
root = CEGUI.System:getSingleton():getDefaultGUIContext():getRootWindow()
)lua";

struct WidgetPackageTest : richwindow::RichWindowTest
{
    std::string folder;

    void addLooks(harness::Style& s) override
    {
        richwindow::RichWindowTest::addLooks(s);
        s.look("H/List", "CEGUI/Listbox", "Core/Listbox", {{"Enabled", 0xFF0000F7}},
               {{"ItemRenderingArea", "2,2,180,96"}}, {}, richwindow::Scrollbars());
    }

    void SetUp() override
    {
        richwindow::RichWindowTest::SetUp();
        if (HasFatalFailure())
            return;
        ASSERT_EQ(run(kLuaExpect), "");
        ASSERT_EQ(run(kHelpers), "");
    }
    void TearDown() override
    {
        if (!folder.empty())
            std::system(("rm -rf '" + folder + "'").c_str());
        richwindow::RichWindowTest::TearDown();
    }
    std::string failures()
    {
        EXPECT_EQ(run("failure_text = table.concat(failures, '\\n')"), "");
        return text("failure_text");
    }
    void* object(const char* global)
    {
        lua_getglobal(L(), global);
        void* p = lua_isuserdata(L(), -1) ? tolua_tousertype(L(), -1, nullptr) : nullptr;
        lua_pop(L(), 1);
        return p;
    }
    // A temporary folder with a sub-folder and files, names partly Chinese;
    // the script global "folder" holds its path.
    void makeTree()
    {
        char pattern[] = "/tmp/qgui-widget-package-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        ASSERT_EQ(mkdir((folder + "/\xE4\xB8\xAD\xE6\x96\x87").c_str(), 0755), 0); // 中文
        std::ofstream(folder + "/\xE4\xB8\xAD\xE6\x96\x87/\xE6\x96\x87\xE4\xBB\xB6.txt") << "x"; // 文件.txt
        std::ofstream(folder + "/b.txt") << "x";
        ASSERT_EQ(mkdir((folder + "/a").c_str(), 0755), 0);
        ASSERT_EQ(run("folder = '" + folder + "'"), "");
    }
};

// ---------------------------------------------------------------------------
// The package on the state

TEST_F(WidgetPackageTest, ClassesSitInTheirModulesOnTheGuiLibrarysBases)
{
    ASSERT_EQ(run(R"lua(
        local classes = {
            { QGUI.TextParser.CColorPropertyManager, "QGUI::TextParser::CColorPropertyManager" },
            { CEGUI.ListboxImageItem, "CEGUI::ListboxImageItem" },
            { QGUI.CGameEditBox, "QGUI::CGameEditBox" },
            { SHELL.FileInfo, "SHELL::FileInfo" },
            { SHELL.FileSet, "SHELL::FileSet" },
            { SHELL.FileFolderMgr, "SHELL::FileFolderMgr" },
            { QGUI.CGameMultiLine, "QGUI::CGameMultiLine" },
            { QGUI.QXWindow, "QGUI::QXWindow" },
            { QGUI.CItemIcon, "QGUI::CItemIcon" },
        }
        for i, c in ipairs(classes) do
            expect("class " .. c[2], type(c[1]), "table")
            registry_check = registry_check or {}
            registry_check[c[2]] = c[1]
        end
        expect("module function", type(CEGUI.createListboxImageItem), "function")
        -- The GUI library's binding stays whole beside the package.
        expect("CEGUI.System", type(CEGUI.System), "table")
        -- The singletons: one object each, whatever the number of calls.
        local c = QGUI.TextParser.CColorPropertyManager:Instance()
        expect("colour table", c == QGUI.TextParser.CColorPropertyManager:Instance(), true)
        expect("colour table type", tolua.type(c), "QGUI::TextParser::CColorPropertyManager")
        local b = SHELL.FileFolderMgr:Instance()
        expect("browser", b == SHELL.FileFolderMgr:Instance(), true)
        expect("browser type", tolua.type(b), "SHELL::FileFolderMgr")
        expect("result set", b:getLastResult() == b:getLastResult(), true)
        expect("result set type", tolua.type(b:getLastResult()), "const SHELL::FileSet")
    )lua"),
              "");
    EXPECT_EQ(failures(), "");
    // Each class table is its type's metatable.
    lua_State* l = L();
    lua_getglobal(l, "registry_check");
    ASSERT_TRUE(lua_istable(l, -1));
    lua_pushnil(l);
    while (lua_next(l, -2))
    {
        lua_getfield(l, LUA_REGISTRYINDEX, lua_tostring(l, -2));
        EXPECT_TRUE(lua_rawequal(l, -1, -2)) << lua_tostring(l, -3);
        lua_pop(l, 2);
    }
    lua_pop(l, 1);
    // Every bound function is guarded: the guard replaces each by a closure
    // holding it, which turns a C++ exception into a script error.
    const char* const functions[][2] = {{"SHELL::FileFolderMgr", "OpenPath"},
                                        {"SHELL::FileSet", "getFileAt"},
                                        {"QGUI::CGameMultiLine", "getDocSize"},
                                        {"QGUI::CItemIcon", "GetTargetId"},
                                        {"QGUI::CGameEditBox", "getCaratOffset"},
                                        {"QGUI::CGameChatBox", "PushChatText"}};
    const int top = lua_gettop(l);
    for (const auto& f : functions)
    {
        lua_getfield(l, LUA_REGISTRYINDEX, f[0]);
        lua_getfield(l, -1, f[1]);
        EXPECT_TRUE(lua_iscfunction(l, -1) && lua_getupvalue(l, -1, 1)) << f[0] << "." << f[1];
        lua_settop(l, top);
    }
    lua_getglobal(l, "CEGUI");
    lua_getfield(l, -1, "createListboxImageItem");
    EXPECT_TRUE(lua_iscfunction(l, -1) && lua_getupvalue(l, -1, 1)) << "CEGUI.createListboxImageItem";
    lua_settop(l, top);
    // Every type of the package has its metatables, the chat box's too.
    for (const char* type : {"CEGUI::Size", "QGUI::CGameChatBox", "CEGUI::ScrollablePane", "CEGUI::Size<float>",
                             "const SHELL::FileInfo"})
    {
        lua_getfield(l, LUA_REGISTRYINDEX, type);
        EXPECT_TRUE(lua_istable(l, -1)) << type;
        lua_pop(l, 1);
    }
}

TEST_F(WidgetPackageTest, CastsFromTheGuiLibrarysWindowsReachTheModulesFunctionsAndTheInherited)
{
    QGUI::CGameMultiLine* doc = box("{T none:abc}");
    auto* edit = create<QGUI::CGameEditBox>("QXGame/GameEditBox", "edit", 10, 10, 200, 20);
    auto* icon = create<QGUI::CItemIcon>("QXGame/ItemIcon", "icon", 10, 40, 32, 32);
    ASSERT_NE(doc, nullptr);
    ASSERT_NE(edit, nullptr);
    ASSERT_NE(icon, nullptr);
    // The target id with its top bit set.
    icon->setProperty("CellId", "4294967280");
    frame();
    ASSERT_EQ(icon->GetTargetId(), 4294967280u);
    edit->setFont("HFont");
    edit->setText("abcd");
    edit->setCaretIndex(4);
    edit->setText("abcde"); // measured with the caret after "abcd"
    ASSERT_EQ(run(R"lua(
        local doc = tolua.cast(root:getChild("box"), "QGUI::CGameMultiLine")
        expect("doc type", tolua.type(doc), "QGUI::CGameMultiLine")
        doc_width, doc_height = doc:getDocWidth(), doc:getDocHeight()
        -- Inherited from the GUI library's classes.
        expect("doc name", doc:getName(), "box")
        expect("doc type name", doc:getType(), "H/GameMultiLine")

        local edit = tolua.cast(root:getChild("edit"), "QGUI::CGameEditBox")
        caret = edit:getCaratOffset()
        expect("edit text", edit:getText(), "abcde")
        expect("edit max length", edit:getMaxTextLength() > 0, true)

        local icon = tolua.cast(root:getChild("icon"), "QGUI::CItemIcon")
        target = icon:GetTargetId()
        expect("icon as window", icon:getName(), "icon")
    )lua"),
              "");
    EXPECT_EQ(failures(), "");
    EXPECT_EQ(number("doc_width"), doc->getDocWidth());
    EXPECT_EQ(number("doc_height"), doc->getDocHeight());
    EXPECT_GT(number("doc_width"), QGUI::CGameMultiLine::DocSizeMargin);
    EXPECT_EQ(number("caret"), edit->getCaratOffset());
    EXPECT_EQ(number("caret"), 4 * kGlyphWidth);
    EXPECT_EQ(number("target"), 4294967280.0);
}

// ---------------------------------------------------------------------------
// Errors: tolua's own texts

TEST_F(WidgetPackageTest, WrongArgumentsAndNullSelvesRaiseToluasErrors)
{
    ASSERT_EQ(run(R"lua(
        -- { function name, function, type given, type expected, argument
        -- count, arguments... }: the last argument is the wrong one.
        local report = "error in function '%s'.\n     argument #%d is '%s'; '%s' expected.\n"
        local browser = SHELL.FileFolderMgr:Instance()
        local colours = QGUI.TextParser.CColorPropertyManager:Instance()
        local wrong = {
            { "getCaratOffset", QGUI.CGameEditBox.getCaratOffset, "number", "const QGUI::CGameEditBox", 1, 5 },
            { "getDocSize", QGUI.CGameMultiLine.getDocSize, "string", "const QGUI::CGameMultiLine", 1, "x" },
            { "PushChatText", QGUI.CGameChatBox.PushChatText, "number", "QGUI::CGameChatBox", 1, 5 },
            { "PushChatText", QGUI.CGameChatBox.PushChatText, "table", "string", 2, nil, {} },
            { "GetTargetId", QGUI.CItemIcon.GetTargetId, "table", "const QGUI::CItemIcon", 1, {} },
            { "getFileAt", SHELL.FileSet.getFileAt, "string", "number", 2, browser:getLastResult(), "x" },
            { "OpenPath", SHELL.FileFolderMgr.OpenPath, "table", "string", 2, browser, {} },
            { "InitSearch", SHELL.FileFolderMgr.InitSearch, "number", "SHELL::FileFolderMgr", 1, 1 },
            { "RegisterColorByString", colours.RegisterColorByString, "boolean", "string", 4, colours, "a", "b", true },
            { "SetClickColorByString", colours.SetClickColorByString, "table", "string", 2, colours, {}, "b", "c" },
            { "createListboxImageItem", CEGUI.createListboxImageItem, "string", "number", 2, "a", "one" },
            { "createListboxImageItem", CEGUI.createListboxImageItem, "number", "userdata", 3, "a", 1, 2 },
            { "createListboxImageItem", CEGUI.createListboxImageItem, "number", "boolean", 4, "a", 1, nil, 1 },
            { "createListboxImageItem", CEGUI.createListboxImageItem, "table", "string", 1, {} },
            -- Anything after the last argument.
            { "createListboxImageItem", CEGUI.createListboxImageItem, "number", "[no object]", 6,
              "a", 1, nil, false, true, 6 },
            { "getDocWidth", QGUI.CGameMultiLine.getDocWidth, "number", "[no object]", 2, nil, 2 },
            -- Instance is called on its class.
            { "Instance", SHELL.FileFolderMgr.Instance, "[no object]", "SHELL::FileFolderMgr", 0 },
        }
        for i, w in ipairs(wrong) do
            local count = w[5]
            local args = { select(6, unpack(w, 1, 5 + count)) }
            expect("wrong " .. i, error_of(w[2], unpack(args, 1, count)),
                   string.format(report, w[1], math.max(count, 1), w[3], w[4]))
        end

        -- nil passes tolua's check of an object: a null self.
        local methods = {
            { "getCaratOffset", QGUI.CGameEditBox.getCaratOffset, 0 },
            { "getDocSize", QGUI.CGameMultiLine.getDocSize, 0 },
            { "getDocWidth", QGUI.CGameMultiLine.getDocWidth, 0 },
            { "getDocHeight", QGUI.CGameMultiLine.getDocHeight, 0 },
            { "PushChatText", QGUI.CGameChatBox.PushChatText, 1, "line" },
            { "GetTargetId", QGUI.CItemIcon.GetTargetId, 0 },
            { "getDspNameUtf8", SHELL.FileInfo.getDspNameUtf8, 0 },
            { "getLocationUtf8", SHELL.FileInfo.getLocationUtf8, 0 },
            { "isFolder", SHELL.FileInfo.isFolder, 0 },
            { "getFileNum", SHELL.FileSet.getFileNum, 0 },
            { "getFileAt", SHELL.FileSet.getFileAt, 1, 0 },
            { "getLastResult", SHELL.FileFolderMgr.getLastResult, 0 },
            { "InitSearch", SHELL.FileFolderMgr.InitSearch, 0 },
            { "OpenPath", SHELL.FileFolderMgr.OpenPath, 1, "." },
            { "RegisterColorByString", colours.RegisterColorByString, 3, "a", "b", "c" },
            { "SetClickColorByString", colours.SetClickColorByString, 3, "a", "b", "c" },
        }
        for _, m in ipairs(methods) do
            expect("null self " .. m[1], error_of(m[2], nil, unpack(m, 4, 3 + m[3])),
                   "invalid 'self' in function '" .. m[1] .. "'")
        end
    )lua"),
              "");
    EXPECT_EQ(failures(), "");
    // The module keeps working.
    EXPECT_EQ(run("SHELL.FileFolderMgr:Instance():OpenPath('.')"), "");
}

// ---------------------------------------------------------------------------
// Image list items

TEST_F(WidgetPackageTest, ImageItemsTakeTheirDefaultsAndUtf8Text)
{
    ASSERT_EQ(run(R"lua(
        plain = CEGUI.createListboxImageItem("QXLook/Icon")
        expect("type", tolua.type(plain), "CEGUI::ListboxImageItem")
        expect("text", plain:getText(), "QXLook/Icon")
        expect("id", plain:getID(), 0)
        expect("enabled", plain:isDisabled(), false)
        expect("auto-delete", plain:isAutoDeleted(), true)
        full = CEGUI.createListboxImageItem("\228\184\173", 4294967295, plain, true, false)
        expect("full id", full:getID(), 4294967295)
        expect("full disabled", full:isDisabled(), true)
        expect("full auto-delete", full:isAutoDeleted(), false)
        -- nil text is the empty text; a negative id wraps as the library's
        -- unsigned ids do.
        empty = CEGUI.createListboxImageItem(nil, -1)
        expect("nil text", empty:getText(), "")
        expect("negative id", empty:getID(), 4294967295)
    )lua"),
              "");
    EXPECT_EQ(failures(), "");
    auto* full = static_cast<CEGUI::ListboxImageItem*>(object("full"));
    auto* plain = static_cast<CEGUI::ListboxImageItem*>(object("plain"));
    auto* empty = static_cast<CEGUI::ListboxImageItem*>(object("empty"));
    ASSERT_NE(full, nullptr);
    // The text is decoded as UTF-8: one character, U+4E2D.
    ASSERT_EQ(full->getText().length(), 1u);
    EXPECT_EQ(full->getText()[0], 0x4E2Du);
    EXPECT_EQ(full->getUserData(), plain);
    // None of them is the script's: the collector leaves them alone.
    for (void* item : {static_cast<void*>(full), static_cast<void*>(plain), static_cast<void*>(empty)})
        EXPECT_FALSE(IsScriptOwned(L(), item));
    ASSERT_EQ(run("plain, full, empty = nil collectgarbage('collect')"), "");
    delete full;
    delete plain;
    delete empty;
}

TEST_F(WidgetPackageTest, AnItemFreedByItsListLeavesTheScriptADeadReference)
{
    create("H/List", "list", 10, 10, 200, 100);
    ASSERT_EQ(run(R"lua(
        local list = root:getChild("list")
        list = tolua.cast(list, "CEGUI::Listbox")
        item = CEGUI.createListboxImageItem("QXLook/Icon", 7)
        list:addItem(item)
        expect("in the list", list:getItemCount(), 1)
        expect("same object", list:getListboxItemFromIndex(0) == item, true)
        manager:destroyWindow(list)
    )lua"),
              "");
    EXPECT_EQ(failures(), "");
    // The GUI library destroys windows between frames; the list frees its
    // auto-delete item with it, and the script's userdata is dead.
    frame();
    EXPECT_EQ(object("item"), nullptr);
    EXPECT_EQ(run("expect('dead', select(2, pcall(item.getID, item)), \"invalid 'self' in function 'getID'\")"),
              "");
    EXPECT_EQ(failures(), "");
    // A new item at the same address gets a userdata of its own.
    ASSERT_EQ(run("again = CEGUI.createListboxImageItem('x') same = tostring(rawequal(again, item))"), "");
    EXPECT_EQ(text("same"), "false");
    delete static_cast<CEGUI::ListboxImageItem*>(object("again"));
}

// ---------------------------------------------------------------------------
// The document size the script owns

TEST_F(WidgetPackageTest, EachDocumentSizeIsANewSizeTheCollectorFreesOnce)
{
    QGUI::CGameMultiLine* doc = box("{T none:abc} def");
    frame();
    ASSERT_EQ(run(R"lua(
        local doc = tolua.cast(root:getChild("box"), "QGUI::CGameMultiLine")
        first = doc:getDocSize()
        local second = doc:getDocSize()
        expect("type", tolua.type(first), "CEGUI::Size<float>")
        expect("new each time", rawequal(first, second), false)
        expect("width", first.width, doc:getDocWidth())
        expect("height", first.height, doc:getDocHeight())
        for i = 1, 200 do doc:getDocSize() end
    )lua"),
              "");
    EXPECT_EQ(failures(), "");
    const CEGUI::Sizef size = doc->getDocSize();
    auto* first = static_cast<CEGUI::Sizef*>(object("first"));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(*first, size);
    EXPECT_TRUE(IsScriptOwned(L(), first));
    // Every size goes with the collector, once: AddressSanitizer reports a
    // size freed twice or never.
    ASSERT_EQ(run("collectgarbage('collect') first = nil collectgarbage('collect')"), "");
    ASSERT_EQ(run("local s = tolua.cast(root:getChild('box'), 'QGUI::CGameMultiLine'):getDocSize() "
                  "local w = s.width s = nil collectgarbage('collect')"),
              "");
}

// ---------------------------------------------------------------------------
// The file browser

TEST_F(WidgetPackageTest, TheBrowserListsAUtf8PathAndGivesNilOutsideTheSet)
{
    makeTree();
    ASSERT_EQ(run(R"lua(
        local browser = SHELL.FileFolderMgr:Instance()
        local set = browser:getLastResult()
        browser:OpenPath(folder)
        local names = {}
        for i = 0, set:getFileNum() - 1 do
            local e = set:getFileAt(i)
            expect("entry type", tolua.type(e), "const SHELL::FileInfo")
            names[#names + 1] = e:getDspNameUtf8() .. (e:isFolder() and "/" or "")
        end
        expect("listing", table.concat(names, " "), "./ ../ a/ \228\184\173\230\150\135/ b.txt")
        -- Outside the set: nil.
        for _, i in ipairs({ -1, set:getFileNum(), 4294967296, 1e300, 0/0 }) do
            expect("index " .. tostring(i), set:getFileAt(i), nil)
        end
        -- The UTF-8 location of an entry opens it again.
        local chinese = set:getFileAt(3)
        expect("location", chinese:getLocationUtf8(), folder .. "\\\228\184\173\230\150\135")
        browser:OpenPath(chinese:getLocationUtf8())
        expect("inside count", set:getFileNum(), 3)
        expect("inside file", set:getFileAt(2):getDspNameUtf8(), "\230\150\135\228\187\182.txt")
        expect("inside file is no folder", set:getFileAt(2):isFolder(), false)
    )lua"),
              "");
    EXPECT_EQ(failures(), "");
}

TEST_F(WidgetPackageTest, EntriesDieWithTheNextSearchAndNilOrBadPathsListTheDrives)
{
    makeTree();
    ASSERT_EQ(run(R"lua(
        local browser = SHELL.FileFolderMgr:Instance()
        local set = browser:getLastResult()
        browser:InitSearch()
        local drives = {}
        for i = 0, set:getFileNum() - 1 do
            local e = set:getFileAt(i)
            drives[#drives + 1] = e:getDspNameUtf8() .. "|" .. e:getLocationUtf8() .. "|" .. tostring(e:isFolder())
        end
        drive_list = table.concat(drives, " ")
        expect("drives", #drives > 0, true)

        browser:OpenPath(folder)
        kept = set:getFileAt(0)
        expect("kept", kept:getDspNameUtf8(), ".")
        -- nil, a missing folder, bytes that are no UTF-8 and a path longer
        -- than any the system takes list the drives.
        for _, path in ipairs({ false, folder .. "/missing", "\255\254", string.rep("x/", 100000) }) do
            browser:OpenPath(path or nil)
            local same = {}
            for i = 0, set:getFileNum() - 1 do
                local e = set:getFileAt(i)
                same[#same + 1] = e:getDspNameUtf8() .. "|" .. e:getLocationUtf8() .. "|" .. tostring(e:isFolder())
            end
            expect("drives for " .. string.sub(tostring(path), 1, 40), table.concat(same, " "), drive_list)
        end
        expect("dead entry", select(2, pcall(kept.getDspNameUtf8, kept)),
               "invalid 'self' in function 'getDspNameUtf8'")
    )lua"),
              "");
    EXPECT_EQ(failures(), "");
    EXPECT_EQ(object("kept"), nullptr);
}
} // namespace
