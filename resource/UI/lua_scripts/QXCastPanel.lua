-- The casting panel: the button starts a cast that fills the bar at its
-- speed; when the bar runs full ("AdvancedToOne") it cools down, running
-- back to empty ("AdvancedToZero"), and the panel is ready again. The frame
-- window's "Think" (subscribed in the layout) keeps the clock line.

local WINDOW = "QXCastPanel_Wnd"
-- Units of the bar (its maximum is 100) per second.
local CAST_SPEED = 200
local COOLDOWN_SPEED = -400

local clock = 0
local casts = 0

local function child(name)
    return qx_panel_child(WINDOW, name)
end

local function set_status(text)
    qx_set_text(WINDOW, "Status", text)
end

function QXCastPanel_on_think(e)
    local w = CEGUI.toWindowEventArgs(e).window
    clock = clock + tonumber(w:getProperty("ThinkingCycle"))
    local line = child("Clock")
    if line ~= nil then
        line:setText(string.format("Clock: %.2f s", clock))
    end
    return true
end

local function on_cast_clicked(e)
    local bar = child("CastBar")
    if bar:getProperty("Speed") ~= "0" then
        return true
    end
    bar:setProperty("CurValue", "0")
    bar:setProperty("Speed", tostring(CAST_SPEED))
    set_status("Casting...")
    return true
end

local function on_cast_full(e)
    CEGUI.toWindowEventArgs(e).window:setProperty("Speed", tostring(COOLDOWN_SPEED))
    set_status("Cast! Cooling down...")
    return true
end

local function on_cast_empty(e)
    local bar = CEGUI.toWindowEventArgs(e).window
    bar:setProperty("Speed", "0")
    bar:setProperty("CurValue", "0")
    set_status("Ready.")
    casts = casts + 1
    local count = child("Casts")
    if count ~= nil then
        count:setText("Casts: " .. casts)
    end
    return true
end

function QXCastPanel_on_attach()
    local button = child("CastButton")
    local bar = child("CastBar")
    if button == nil or bar == nil then
        error(WINDOW .. "/CastButton or CastBar is missing")
    end
    button:subscribeEvent("Clicked", on_cast_clicked)
    bar:subscribeEvent("AdvancedToOne", on_cast_full)
    bar:subscribeEvent("AdvancedToZero", on_cast_empty)
end
