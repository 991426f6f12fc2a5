-- The rich-text panel: the colours of the markup, the panel's text, and a
-- status line that shows the last command, name or item clicked in it.

local WINDOW = "QXRichTextPanel_Wnd"

-- Markup: "{T colour:text}" a coloured run, "{N name:text}" a player's
-- name, "{I id:text}" an item, "{C command:text}" a command, "{P group:number}"
-- a game picture and "{E number}" an emote.
local TEXT = "{T title:Rich text in the QX style.}\n"
    .. "Text outside tags wraps at the window's edge, and runs can be "
    .. "{T gold:gold} or {T sky:sky blue}. "
    .. "{N Aldric:Aldric} offers you {I 1001:[Short sword]}; "
    .. "type {C /wave:/wave} to greet him.\n"
    .. "A picture {P 1:1} and an emote {E 1} sit in the line."

local function panel_window()
    return qx_panel_window(WINDOW)
end

local function set_status(text)
    qx_set_text(WINDOW, "Status", text)
end

-- Opcodes of clicked texts the status line names.
local KINDS = { [0] = "command", [1] = "name", [4] = "item" }

-- Whether the click being answered was made in this panel's text: the
-- hook is told only what was clicked, not where, and the window under the
-- mouse is the one clicked.
local function clicked_here()
    local w = panel_window()
    local text = w and w:getChild("Text")
    local context = CEGUI.System:getSingleton():getDefaultGUIContext()
    return text ~= nil and context:getWindowContainingMouse() == text
end

-- The module calls the one global gFn_guide_cmd_text_on_click for the
-- clicks of every rich-text window. This script runs once, when the panel
-- is first created, and chains the hook: it keeps the hook it found,
-- answers the clicks made in its own window and hands every other click
-- on. A second panel with rich text chains the same way in its own script:
--
--   local next_on_click = gFn_guide_cmd_text_on_click
--   function gFn_guide_cmd_text_on_click(opcode, command)
--       if <the click was in my window> then
--           ... -- answer it
--           return 0
--       end
--       return next_on_click(opcode, command)
--   end
local next_on_click = gFn_guide_cmd_text_on_click

function gFn_guide_cmd_text_on_click(opcode, command)
    if clicked_here() then
        set_status("Clicked the " .. (KINDS[opcode] or "link") .. " '" .. command .. "'.")
        return 0
    end
    if next_on_click ~= nil then
        return next_on_click(opcode, command)
    end
    return 0
end

function QXRichTextPanel_on_attach()
    local colours = QGUI.TextParser.CColorPropertyManager:Instance()
    colours:RegisterColorByString("title", "FFFFE060", "FF000000")
    colours:RegisterColorByString("gold", "FFE0B040", "FF000000")
    colours:RegisterColorByString("sky", "FF80C8FF", "FF000000")
    -- Commands and names: their text, the highlight behind a hovered one,
    -- and the text of a hovered one.
    colours:SetClickColorByString("FF70E070", "FF305030", "FFFFFFFF")

    local w = panel_window()
    local text = w and w:getChild("Text")
    if text == nil then
        error(WINDOW .. "/Text is missing")
    end
    text:setText(TEXT)
end
