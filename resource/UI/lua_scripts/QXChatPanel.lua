-- The chat panel: the selected tab names the channel; "Link item" links the
-- item in the bag's first slot into the input line; Enter sends the line,
-- its item names replaced by links, to the game as "_KeyVal_Chat_Send".
-- The chat box shows the chat lines the game hands to gFn_chat_recv and,
-- on the panel's clock, what other players say.

local WINDOW = "QXChatPanel_Wnd"
local sent = 0

-- The colour of each channel's tag in the chat box.
local CHANNEL_COLOURS = { World = "chat_world", Party = "chat_party", Trade = "chat_trade" }

-- Lines of other players, one each time the panel thinks.
local OVERHEARD = {
    { "World", "Aldric", "anyone for the north gate? Bring a {I 1003:[Healing potion]}." },
    { "Trade", "Brenna", "selling a {I 1002:[Long sword]}, fair price." },
    { "Party", "Aldric", "{N Brenna:Brenna} has the map." },
    { "World", "Corwin", "the moon rises over the hill tonight." },
}
local overheard = 0

local function child(name)
    return qx_panel_child(WINDOW, name)
end

local function set_status(text)
    qx_set_text(WINDOW, "Status", text)
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

local function chat_box()
    local place = child("ChatBoxPlace")
    return place and place:getChild("Chat")
end

-- One line in the chat box: the channel's tag in its colour, the speaker's
-- name (a click on it goes to the game), then the text, whose item links
-- stay links.
local function show_line(channel, name, text)
    local box = chat_box()
    if box == nil then
        return
    end
    local colour = CHANNEL_COLOURS[channel] or "chat_world"
    box:setProperty("PushChat", "{T " .. colour .. ":[" .. channel .. "]} {N " .. name .. ":" .. name .. "}: " .. text)
end

-- A chat line from the game.
function gFn_chat_recv(channel, name, text)
    show_line(channel, name, text)
    return 0
end

function QXChatPanel_on_think(e)
    if overheard < #OVERHEARD then
        overheard = overheard + 1
        local line = OVERHEARD[overheard]
        show_line(line[1], line[2], line[3])
    end
    return true
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
    if input == nil or link == nil or chat_box() == nil then
        error(WINDOW .. "/Input, LinkButton or ChatBoxPlace/Chat is missing")
    end
    local colours = QGUI.TextParser.CColorPropertyManager:Instance()
    colours:RegisterColorByString("chat_world", "FFE8D890", "FF000000")
    colours:RegisterColorByString("chat_party", "FF80D0FF", "FF000000")
    colours:RegisterColorByString("chat_trade", "FF90E090", "FF000000")
    input:subscribeEvent("TextAccepted", on_line_accepted)
    link:subscribeEvent("Clicked", on_link_clicked)
end
