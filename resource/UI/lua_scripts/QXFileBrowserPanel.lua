-- The file-browser panel: lists a folder of the game's resources through
-- the module's file browser (SHELL), folders first, each entry a row of a
-- picture (folder or file, from the style's imageset) and its name. A
-- click on a folder lists that folder.

local WINDOW = "QXFileBrowserPanel_Wnd"
local START = "resource/UI"
local FOLDER_PICTURE = "QXLook/Folder"
local FILE_PICTURE = "QXLook/File"
local PICTURE_COLUMN = 0
local NAME_COLUMN = 1

-- The entries listed, by row: the browser's entries live only until its
-- next search, so their names are copied here.
qx_file_rows = {}
qx_file_folder = nil

local function panel_list()
    local w = qx_panel_window(WINDOW)
    local list = w and w:getChild("Files")
    return w, list and tolua.cast(list, "CEGUI::MultiColumnList")
end

-- Lists the folder at path (UTF-8) in the panel.
function QXFileBrowserPanel_open(path)
    local w, list = panel_list()
    if list == nil then
        return false
    end
    local browser = SHELL.FileFolderMgr:Instance()
    browser:OpenPath(path)
    local found = browser:getLastResult()
    list:resetList()
    qx_file_rows = {}
    qx_file_folder = path
    for i = 0, found:getFileNum() - 1 do
        local entry = found:getFileAt(i)
        local folder = entry:isFolder()
        local picture = CEGUI.createListboxImageItem(folder and FOLDER_PICTURE or FILE_PICTURE, i)
        local name = CEGUI.createListboxTextItem(entry:getDspNameUtf8(), i, nil, false, true)
        picture:setSelectionBrushImage("QXLook/ButtonHover")
        name:setSelectionBrushImage("QXLook/ButtonHover")
        local row = list:addRow()
        list:setItem(picture, PICTURE_COLUMN, row)
        list:setItem(name, NAME_COLUMN, row)
        qx_file_rows[#qx_file_rows + 1] = {
            name = entry:getDspNameUtf8(),
            location = entry:getLocationUtf8(),
            folder = folder,
        }
    end
    -- The browser's locations join folders with a backslash (the folder
    -- "layouts" opened from "resource/UI" is "resource/UI\layouts"); the
    -- panel shows one kind of separator.
    local shown = string.gsub(path, "\\", "/")
    w:getChild("Path"):setText(shown .. " (" .. #qx_file_rows .. ")")
    return true
end

-- A click on a row: a folder opens. The list chose the row when the button
-- went down; it is refilled only now, when it is done with its items.
local function on_click(e)
    local _, list = panel_list()
    local item = list and list:getFirstSelectedItem()
    local row = item and qx_file_rows[item:getID() + 1]
    if row ~= nil and row.folder and row.name ~= "." then
        QXFileBrowserPanel_open(row.location)
    end
    return true
end

function QXFileBrowserPanel_on_attach()
    local _, list = panel_list()
    if list == nil then
        error(WINDOW .. " lacks its list")
    end
    list:addColumn("", PICTURE_COLUMN, CEGUI.UDim(0, 24))
    list:addColumn("Name", NAME_COLUMN, CEGUI.UDim(1, -40))
    list:subscribeEvent("MouseClick", on_click)
    QXFileBrowserPanel_open(START)
end
