-- The information panel: shows how many messages the main panel posted
-- and the last character typed on it.

local WINDOW = "QXInfoPanel_Wnd"

local function set_text(child, text)
    qx_set_text(WINDOW, child, text)
end

function QXInfoPanel_on_attach()
    set_text("Clicks", "Messages posted: 0")
    set_text("LastChar", "Last character: none")
end

function QXInfoPanel_show_posted(count)
    set_text("Clicks", "Messages posted: " .. count)
end

function QXInfoPanel_show_char(codepoint)
    local shown
    if codepoint >= 32 and codepoint < 127 then
        shown = "'" .. string.char(codepoint) .. "'"
    else
        shown = string.format("U+%04X", codepoint)
    end
    set_text("LastChar", "Last character: " .. shown)
end
