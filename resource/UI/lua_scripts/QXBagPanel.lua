-- The bag panel: its slots ask the game for their objects and post their
-- clicks themselves; the script shows which slot was used last.

local WINDOW = "QXBagPanel_Wnd"

local function on_slot_clicked(e)
    local slot = CEGUI.toWindowEventArgs(e).window
    local w = qx_panel_window(WINDOW)
    local hint = w and w:getChild("Hint")
    if hint ~= nil and slot ~= nil then
        hint:setText("Used the slot " .. slot:getName() .. ".")
    end
    return true
end

function QXBagPanel_on_attach()
    local w = qx_panel_window(WINDOW)
    if w == nil then
        error(WINDOW .. " is missing")
    end
    for _, name in ipairs({ "Item0", "Item1", "Item2", "Item3", "Spell0", "Spell1" }) do
        w:getChild(name):subscribeEvent("MouseClick", on_slot_clicked)
    end
end
