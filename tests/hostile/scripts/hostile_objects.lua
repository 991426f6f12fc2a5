-- A script that misuses what the module hands to scripts. Each case runs
-- protected; `hostile_report` gives the cases whose outcome ("error" or
-- "ok") differs from the one expected, one a line.
local gui = QGUI.CQGUI:GetGlobalObject()
local failures = {}

local function case(label, want, body)
    local ok, err = pcall(body)
    local got = ok and "ok" or "error"
    if got ~= want then
        table.insert(failures, label .. ": " .. got .. (ok and "" or " (" .. tostring(err) .. ")"))
    end
end

function hostile_report()
    return table.concat(failures, "\n")
end

-- KeyValues trees the module freed, took or moved.
case("tree deleted twice", "error", function()
    local t = KeyValues:new("t") t:deleteThis() t:deleteThis()
end)
case("sub-key of a deleted tree", "error", function()
    local t = KeyValues:new("t") local s = t:FindKey("a/b", true) t:deleteThis() return s:GetInt()
end)
case("tree used after the engine took it", "error", function()
    local t = KeyValues:new("_KeyVal_Hostile") local s = t:FindKey("k", true)
    assert(gui:SendKeyVal(t)) return s:GetName()
end)
case("two trees the script owns, linked and collected", "ok", function()
    do local a = KeyValues("a") local b = KeyValues("b") a:SetNextKey(b) end
    collectgarbage("collect")
end)
case("peer chain made a cycle", "error", function()
    local a = KeyValues("a") local b = KeyValues("b") a:SetNextKey(b) b:SetNextKey(a)
end)
case("sub-key made its parent's peer", "error", function()
    local p = KeyValues("p") p:FindKey("s", true):SetNextKey(p)
end)
case("a member deleted on its own", "error", function()
    local t = KeyValues("t") t:FindKey("x", true):deleteThis()
end)
case("deep copy", "ok", function()
    local path = string.rep("d/", 50000) .. "x"
    local t = KeyValues("t") t:SetInt(path, 1)
    local c = t:MakeCopy() assert(c:GetInt(path) == 1) c:deleteThis()
end)
case("wide text read twice", "ok", function()
    local t = KeyValues("t", "k", "v") assert(t:GetWString("k") == "v") assert(t:GetWString("k") == "v")
end)

-- Handles and panels.
case("handle deleted, then used", "ok", function()
    local h = HandleBase:new() h:delete()
    assert(gui:QueryPanel(h) == nil) assert(gui:CreatePanel(h, nil) == nil)
end)
case("handle deleted twice", "error", function() local h = HandleBase:new() h:delete() h:delete() end)
case("panel holding its ancestor", "ok", function()
    local a, b = HandleBase(), HandleBase()
    gui:CreatePanel(a, nil) gui:CreatePanel(b, nil)
    assert(gui:AddToChildPanel(a, b)) assert(not gui:AddToChildPanel(b, a)) assert(not gui:AddToChildPanel(a, a))
    gui:ReleasePanel(a) gui:ReleasePanel(b)
end)
case("one layout twice on the root, without a script", "ok", function()
    local a, b = HandleBase(), HandleBase()
    assert(gui:CreatePanel(a, "HostileTwin") ~= nil) assert(gui:CreatePanel(b, "HostileTwin") ~= nil)
    assert(gui:AddPanelToRoot(a)) assert(not gui:AddPanelToRoot(b))
    gui:ReleasePanel(a) gui:ReleasePanel(b)
end)
case("a layout that does not exist", "ok", function()
    local h = HandleBase()
    assert(gui:CreatePanel(h, "HostileNothing") ~= nil) assert(not gui:AddPanelToRoot(h))
    gui:ReleasePanel(h)
end)

-- The style, loaded again and from the calls loading makes.
case("style loaded again, also from its own calls", "ok", function()
    local fetch = FetchNumberFn
    local depth = 0
    FetchNumberFn = function(k)
        if k == "tooltip_display" and depth < 2 then
            depth = depth + 1 gui:LoadUIStyle("QX") depth = depth - 1
        end
        return fetch(k)
    end
    assert(gui:LoadUIStyle("QX")) assert(gui:LoadUIStyle("QX"))
    FetchNumberFn = fetch
end)

-- Timers counted for the host.
hostile_gc = 0
local gc = gFn_timely_gc
function gFn_timely_gc() hostile_gc = hostile_gc + 1 return gc() end
function hostile_gc_count() return hostile_gc end
