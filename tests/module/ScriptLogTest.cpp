// Script failures with huge error texts, chunk texts and handler names reach
// the log cut to the script system's limit.
#include "GuiFixture.h"

#include "script/LuaScriptModule.h"
#include "script/ScriptSupport.h"

namespace
{
struct ScriptLogTest : GuiFixture
{
    void addFiles() override
    {
        fs.files["resource\\UI\\lua_scripts\\huge.lua"] = "error(string.rep('f', 1048576), 0)";
    }
};

TEST_F(ScriptLogTest, HugeScriptTextsAreCutInTheLog)
{
    ASSERT_EQ(run(R"lua(
        big = string.rep('x', 1048576)
        function fails() error(big, 0) end
        local w = CEGUI.WindowManager:getSingleton():createWindow('DefaultWindow', 'w')
        CEGUI.System:getSingleton():getDefaultGUIContext():getRootWindow():addChild(w)
        w:subscribeEvent('ByFunction', fails)
        w:subscribeEvent('ByName', 'fails')
        w:subscribeEvent('LongName', string.rep('n', 1048576))
        w:subscribeEvent('Table', function() error({}) end)
        for _, event in ipairs({'ByFunction', 'ByName', 'LongName', 'Table'}) do
            w:fireEvent(event, CEGUI.WindowEventArgs(w))
        end
    )lua"),
              "");
    EXPECT_FALSE(gui->ExecuteScpritFile("huge.lua"));
    EXPECT_EQ(gui->ExecuteScriptGlobal("fails"), -1);
    EXPECT_EQ(gui->CallScriptGlobalNumber("fails", 1), -1);
    gui->GetScriptModule()->executeString("error(big, 0) --" + std::string(1048576, 'c'));

    const size_t limit = 3 * QGUI::ScriptSupport::kMaxLogText;
    size_t failures = 0;
    for (const auto& line : logger->lines)
    {
        EXPECT_LT(line.first.size(), limit) << line.first.substr(0, 80);
        failures += line.first.compare(0, 7, "Unable ") == 0 || line.first.compare(0, 13, "ScriptError: ") == 0;
    }
    EXPECT_GE(failures, 8u);
    EXPECT_TRUE(logger->hasPrefix("Unable to evaluate the Lua event handler: 'fails'\n\nxxxx"));

    // The module carries on.
    HandleBase h;
    EXPECT_NE(gui->CreatePanel(&h, nullptr), nullptr);
    gui->Update();
    EXPECT_EQ(run("assert(KeyValues('t', 'k', 1):GetInt('k') == 1)"), "");
}
} // namespace
