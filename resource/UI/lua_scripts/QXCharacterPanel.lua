-- The character panel: its game windows ask the game for the player's
-- values themselves; the script reports changes of the health bar.

local WINDOW = "QXCharacterPanel_Wnd"

local function on_health_changed(e)
    local bar = CEGUI.toWindowEventArgs(e).window
    local w = qx_panel_window(WINDOW)
    local status = w and w:getChild("Status")
    if status ~= nil and bar ~= nil then
        local percent = math.floor(tonumber(bar:getProperty("Value")) * 100 + 0.5)
        status:setText("Health now " .. percent .. "%")
    end
    return true
end

function QXCharacterPanel_on_attach()
    local w = qx_panel_window(WINDOW)
    if w == nil then
        error(WINDOW .. " is missing")
    end
    w:getChild("Health"):subscribeEvent("PercentChanged", on_health_changed)
end
