-- The web-page panel: shows the page's address, and its button asks the
-- page to open a link on another site. The module lets the page open only
-- the game's own addresses; for any other it tells the user in a message
-- box (the texts come from FetchStringFn, see qx_globals.lua).

local WINDOW = "QXWebPanel_Wnd"
local LINK = "http://www.qxgame.example.evil.test/prize"

local function panel_window()
    return qx_panel_window(WINDOW)
end

local function show_address(w, text)
    local address = w:getChild("Address")
    if address ~= nil then
        address:setText(text)
    end
end

local function on_link_clicked(e)
    local w = panel_window()
    local page = w and w:getChild("Page")
    if page ~= nil then
        page:setProperty("URL", LINK)
        show_address(w, "Asked for another site.")
    end
    return true
end

function QXWebPanel_on_attach()
    local w = panel_window()
    local page = w and w:getChild("Page")
    local button = w and w:getChild("LinkButton")
    if page == nil or button == nil then
        error(WINDOW .. " lacks its page or its button")
    end
    show_address(w, page:getProperty("URL"))
    button:subscribeEvent("Clicked", on_link_clicked)
end
