-- The chat panel: the selected tab names the channel; "Link item" links the
-- item in the bag's first slot into the input line; Enter sends the line,
-- its item names replaced by links, to the game as "_KeyVal_Chat_Send".

local WINDOW = "QXChatPanel_Wnd"
local sent = 0

local function child(name)
    local w = qx_panel_window(WINDOW)
    return w and w:getChild(name)
end

local function set_status(text)
    local status = child("Status")
    if status ~= nil then
        status:setText(text)
    end
end

-- The name of the selected tab's page.
local function channel()
    local tabs = tolua.cast(child("Tabs"), "CEGUI::TabControl")
    if tabs == nil or tabs:getTabCount() == 0 then
        return ""
    end
    return tabs:getTabContentsAtIndex(tabs:getSelectedTabIndex()):getName()
end

-- The item in the bag's first slot: its id and, as its name, its tooltip
-- up to the first line break (a real one or one written as "\n").
local function first_bag_item()
    local bag = qx_panel_window("QXBagPanel_Wnd")
    local slot = bag and bag:getChild("Item0")
    if slot == nil then
        return nil
    end
    local id = tonumber(slot:getProperty("TargetId")) or 0
    local name = string.match(slot:getTooltipText(), "^[^\n\\]+")
    if id <= 0 or name == nil then
        return nil
    end
    return id, name
end

local function on_link_clicked(e)
    local input = child("Input")
    local id, name = first_bag_item()
    if input == nil or id == nil then
        set_status("No item to link.")
        return true
    end
    qx_linked_items[id] = name
    input:setProperty("PushId", tostring(id))
    input:setProperty("PushText", "[" .. name .. "]")
    input:setProperty("CaretIndex", tostring(string.len(input:getText())))
    input:activate()
    set_status("Linked " .. name .. ".")
    return true
end

local function on_line_accepted(e)
    local input = child("Input")
    local text = input:getProperty("EncodedText")
    if text == "" then
        return true
    end
    sent = sent + 1
    local kv = KeyValues:new("_KeyVal_Chat_Send")
    kv:SetString("Channel", channel())
    kv:SetString("Text", text)
    kv:SetInt("Links", tonumber(input:getProperty("EncodeNum")) or 0)
    -- A message the game takes is the game's; a refused one is still ours.
    if QGUI.CQGUI:GetGlobalObject():SendKeyVal(kv) then
        set_status("Sent line " .. sent .. " to " .. channel() .. ".")
    else
        kv:deleteThis()
        set_status("The game refused line " .. sent .. ".")
    end
    input:setText("")
    return true
end

function QXChatPanel_on_attach()
    local input = child("Input")
    local link = child("LinkButton")
    if input == nil or link == nil then
        error(WINDOW .. "/Input or LinkButton is missing")
    end
    input:subscribeEvent("TextAccepted", on_line_accepted)
    link:subscribeEvent("Clicked", on_link_clicked)
end
