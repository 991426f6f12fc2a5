-- The main panel: its button posts "_KeyVal_Sample_Click" to the game with
-- the button's name and the number of clicks so far.

local WINDOW = "QXMainPanel_Wnd"
local clicks = 0

local function panel_window()
    return qx_panel_window(WINDOW)
end

local function on_send_clicked(e)
    clicks = clicks + 1
    local kv = KeyValues:new("_KeyVal_Sample_Click")
    kv:SetString("Button", "SendButton")
    kv:SetInt("Count", clicks)
    -- A message the game takes is the game's; a refused one is still ours.
    local sent = QGUI.CQGUI:GetGlobalObject():SendKeyVal(kv)
    if not sent then
        kv:deleteThis()
    end

    local w = panel_window()
    local status = w and w:getChild("Status")
    if status ~= nil then
        if sent then
            status:setText("Sent message " .. clicks .. " to the game.")
        else
            status:setText("The game refused message " .. clicks .. ".")
        end
    end
    if sent and QXInfoPanel_show_posted ~= nil then
        QXInfoPanel_show_posted(clicks)
    end
    return true
end

local function on_character(e)
    local args = CEGUI.toKeyEventArgs(e)
    if QXInfoPanel_show_char ~= nil then
        QXInfoPanel_show_char(args.codepoint)
    end
    return true
end

function QXMainPanel_on_attach()
    local w = panel_window()
    local button = w and w:getChild("SendButton")
    if button == nil then
        error(WINDOW .. "/SendButton is missing")
    end
    button:subscribeEvent("Clicked", on_send_clicked)
    -- A key press fires two events on the window with the input focus:
    -- "KeyDown" with the key (args.scancode, from the host's WM_KEYDOWN)
    -- and, for a key that types a character, "CharacterKey" with the
    -- character (args.codepoint, from WM_CHAR). The panel answers the character only; a
    -- handler of both sees each typed key twice.
    w:subscribeEvent("CharacterKey", on_character)
end
