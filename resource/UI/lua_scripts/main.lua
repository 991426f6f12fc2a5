-- Start-up script of the sample interface: the script globals the module
-- calls, the "QX" style, and the sample panels on the root sheet.

local gui = QGUI.CQGUI:GetGlobalObject()

-- The module answers true even for a file that fails (it logs why), so
-- check what the file defines.
gui:ExecuteScpritFile("qx_globals.lua")
if FetchNumberFn == nil then
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
    if gui:CreatePanel(handle, name) == nil then
        error("the panel " .. name .. " could not be created")
    end
    if not gui:AddPanelToRoot(handle) then
        error("the panel " .. name .. " could not be put on the root sheet")
    end
    local attach = _G[name .. "_on_attach"]
    if attach ~= nil then
        attach()
    end
    return handle
end

gQXPanels = {
    info = open_panel("QXInfoPanel"),
    main = open_panel("QXMainPanel"),
    bag = open_panel("QXBagPanel"),
    cast = open_panel("QXCastPanel"),
    web = open_panel("QXWebPanel"),
    richText = open_panel("QXRichTextPanel"),
    chat = open_panel("QXChatPanel"),
    files = open_panel("QXFileBrowserPanel"),
    character = open_panel("QXCharacterPanel"),
}
