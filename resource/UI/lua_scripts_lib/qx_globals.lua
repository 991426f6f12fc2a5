-- The script globals the module calls, for the sample interface. main.lua
-- runs this file first. Globals called without a result to use still
-- return 0: the module reads a number back from each.

-- Every five seconds of frames: a full collection (Lua 5.1 takes the
-- option name, not a number).
function gFn_timely_gc()
    collectgarbage("collect")
    return 0
end

-- Polled ten times a second; the sample has no focus rules.
function gFn_try_catch_focus_ui()
    return 0
end

-- Items of the rich-text windows: their colour by item id (the key names
-- the set of colours asked for), and the count of windows that show each.
local item_colours = { [1001] = "FF60B0FF" }
qx_item_refs = {}

function FetchColourBySetFn(key, id)
    return item_colours[id] or "FFC0C0C0"
end

function gFn_chatItem_add_ref(id)
    qx_item_refs[id] = (qx_item_refs[id] or 0) + 1
    return 0
end

function gFn_chatItem_release_ref(id)
    qx_item_refs[id] = (qx_item_refs[id] or 1) - 1
    return 0
end

-- A command, name or item clicked in a rich-text window (the click's
-- message has gone to the game already). The module calls this one global
-- for the clicks of every rich-text window: a panel that wants its own
-- window's clicks chains it in its script (see QXRichTextPanel.lua); this
-- end of the chain answers the clicks no panel took.
function gFn_guide_cmd_text_on_click(opcode, command)
    return 0
end

-- Guide texts of the rich-text windows: the sample draws none.
function gFn_guide_cmd_text_draw_begin()
    return 0
end

function gFn_guide_cmd_text_draw_end()
    return 0
end

function gFn_guide_cmd_text_draw_moni(command, windowName, kind, x, y)
    return 0
end

-- The sound a window makes when it opens ("on") or closes ("off"): none.
function gFn_get_window_sound(windowName, state)
    return ""
end

-- A left click on the interface closes any right-button menu: the sample
-- has none.
function g_fn_hide_RB_menu()
    return 0
end

-- Escape with no closable window open, or the system close command.
function panel_oper_system()
    return 0
end

-- The close button of a panel's frame window: hide the frame.
function on_close_self(e)
    local w = CEGUI.toWindowEventArgs(e).window
    if w ~= nil then
        w:hide()
    end
    return true
end

-- Items linked into chat lines, by id: their names.
qx_linked_items = {}

-- The link an item gets in a chat line the chat input sends: the clickable
-- item tag of the chat text, showing the item's name.
function gFn_make_chat_item_text(id)
    local name = qx_linked_items[id] or tostring(id)
    return "{I " .. id .. ":[" .. name .. "]}"
end

-- Texts the layouts name as "#<global>": the module replaces a text that
-- begins with "#" by the script global named after the "#" (when it holds a
-- text or a number), at the moment the layout sets it. So these globals
-- are set before any panel opens; a game fills them from its language
-- files. The character panel's health bar labels its tooltip with
-- "#qx_text_health" ("Tooltips2" in QXCharacterPanel.layout).
qx_text_health = "Health"

-- Numbers the module asks for by name (seconds for the tooltip).
local numbers = {
    tooltip_hover = 0.4,
    tooltip_display = 8.0,
    tooltip_fade = 0.2,
}

function FetchNumberFn(key)
    return numbers[key] or 0
end

-- Texts the module asks for by name: the web-page window's refusal
-- message is the first text, the address and the second text, under the
-- caption "error".
local strings = {
    sys_error_dangerous_url1 = "This page is not a page of the game: ",
    sys_error_dangerous_url2 = " - it was not opened.",
    error = "Error",
}

function FetchStringFn(key)
    return strings[key] or ""
end

-- The child of w with that name (one name, not a path); nil when w has
-- none. A window's getChild raises an error for a name that is not there
-- (the log gets the error and a backtrace), and the binding's isChild takes
-- no name: so the children are looked through first.
local function child_named(w, name)
    for i = 0, w:getChildCount() - 1 do
        local child = w:getChildAtIdx(i)
        if child:getName() == name then
            return child
        end
    end
    return nil
end

-- A panel's window, found on the root sheet by its name there (CEGUI 0.8
-- has no global look-up by name, only paths relative to a window); nil
-- for a panel that is not open.
function qx_panel_window(name)
    local root = CEGUI.System:getSingleton():getDefaultGUIContext():getRootWindow()
    return root and child_named(root, name)
end

-- A child of a panel's window by its path there ("Tabs/Party"); nil when
-- the panel or a window on the path is missing.
function qx_panel_child(panel, path)
    local w = qx_panel_window(panel)
    for name in string.gmatch(path, "[^/]+") do
        if w == nil then
            return nil
        end
        w = child_named(w, name)
    end
    return w
end

-- Sets the text of a panel's child when both exist.
function qx_set_text(panel, name, text)
    local target = qx_panel_child(panel, name)
    if target ~= nil then
        target:setText(text)
    end
end
