-- Start-up script of the sample interface: the script globals the module
-- calls, the "QX" style, and the sample panels on the root sheet.

local gui = QGUI.CQGUI:GetGlobalObject()

if not gui:ExecuteScpritFile("qx_globals.lua") then
    error("qx_globals.lua did not run")
end

if not gui:LoadUIStyle("QX") then
    error("the style QX did not load")
end

-- Creates the panel <name> from "<name>.layout" (the module runs
-- "<name>.lua" the first time), puts its window on the root sheet, then
-- calls "<name>_on_attach" so the panel's script can find its windows
-- from the root: CEGUI 0.8 has no global look-up by name, only paths
-- relative to a window. The handle objects belong to the script
-- (new_local): gQXPanels keeps them as long as the panels live.
local function open_panel(name)
    local handle = HandleBase:new_local()
    gui:CreatePanel(handle, name)
    -- A panel whose layout gave no window cannot go on the sheet; the log
    -- says why.
    if not gui:AddPanelToRoot(handle) then
        gui:ReleasePanel(handle)
        error("the panel " .. name .. " has no window", 0)
    end
    local attach = _G[name .. "_on_attach"]
    if attach ~= nil then
        attach()
    end
    return handle
end

-- Each panel opens on its own: one that fails is logged and the others
-- still open.
gQXPanels = {}
for _, panel in ipairs({
    {"info", "QXInfoPanel"},
    {"main", "QXMainPanel"},
    {"bag", "QXBagPanel"},
    {"cast", "QXCastPanel"},
    {"web", "QXWebPanel"},
    {"richText", "QXRichTextPanel"},
    {"chat", "QXChatPanel"},
    {"files", "QXFileBrowserPanel"},
    {"character", "QXCharacterPanel"},
}) do
    local ok, result = pcall(open_panel, panel[2])
    if ok then
        gQXPanels[panel[1]] = result
    else
        CEGUI.Logger:getSingleton():logEvent("main.lua: " .. tostring(result), CEGUI.Errors)
    end
end
