// For the tests of the text-input widgets: test looks for them and the
// widgets they are built of, over the GUI library's core window renderers
// (edit boxes, scrollbars, multi-line edit boxes, the multi-column list with
// its header, the tab control with its buttons), and typing with Control
// and reading the clipboard. Every imagery draws the whole window in a
// colour of its own (see WidgetHarness.h); text areas are inset by 2 pixels.
#pragma once

#include <string>

#include "WidgetHarness.h"
#include "clipboard.h"
#include "widgets/Clipboard.h"

namespace input
{
// The widget harness for text input: the clipboard starts empty, and
// "key_process.lua" (run for an Enter no window took) counts its runs in
// the global "enter_runs".
struct TextInputHarness : harness::WidgetHarness
{
    void addFiles() override
    {
        harness::WidgetHarness::addFiles();
        fs.files["resource\\UI\\lua_scripts\\key_process.lua"] = "enter_runs = (enter_runs or 0) + 1";
    }
    void SetUp() override
    {
        harness::WidgetHarness::SetUp();
        ClipboardReset();
    }
    // Control held, the letter's control code typed; whether the module
    // took it.
    bool control(char letter)
    {
        send(WM_KEYDOWN, VK_CONTROL);
        const bool consumed = send(WM_CHAR, WPARAM(letter - 'a' + 1));
        send(WM_KEYUP, VK_CONTROL);
        return consumed;
    }
    // The clipboard's text as a paste would get it; "<none>" when there is
    // none.
    static std::string clipboard()
    {
        CEGUI::String text;
        return QGUI::GetClipboardText(text) ? text.c_str() : "<none>";
    }
};
} // namespace input

namespace looks
{
const uint32_t kEditEnabled = 0xFF101010;
const uint32_t kMultiEnabled = 0xFF202020;
const uint32_t kListBase = 0xFF303030;
const uint32_t kTabBase = 0xFF404040;
const uint32_t kTabButton = 0xFF505050;
const uint32_t kOddColour = 0x80FF0000;

// A child element: name suffix, type and its area as unified edges
// ("scale offset" per edge: left, top, right, bottom).
inline std::string Child(const std::string& type, const std::string& suffix, const char* left, const char* top,
                         const char* right, const char* bottom, const std::string& properties = "")
{
    auto dim = [](const char* edge, const char* v) {
        float scale = 0, offset = 0;
        std::sscanf(v, "%f %f", &scale, &offset);
        return std::string("<Dim type=\"") + edge + "\"><UnifiedDim scale=\"" + std::to_string(scale) +
               "\" offset=\"" + std::to_string(offset) + "\" type=\"" + edge + "\" /></Dim>";
    };
    return "<Child type=\"" + type + "\" nameSuffix=\"" + suffix + "\"><Area>" + dim("LeftEdge", left) +
           dim("TopEdge", top) + dim("RightEdge", right) + dim("BottomEdge", bottom) + "</Area>" + properties +
           "</Child>";
}

// The caret imagery of the edit boxes: a 1-pixel bar.
inline std::string CaretSection()
{
    return "<ImagerySection name=\"Caret\"><ImageryComponent><Area>"
           "<Dim type=\"LeftEdge\"><AbsoluteDim value=\"0\" /></Dim>"
           "<Dim type=\"TopEdge\"><AbsoluteDim value=\"0\" /></Dim>"
           "<Dim type=\"Width\"><AbsoluteDim value=\"1\" /></Dim>"
           "<Dim type=\"Height\"><UnifiedDim scale=\"1\" type=\"Height\" /></Dim>"
           "</Area><Image name=\"H/White\" /><VertFormat type=\"Stretched\" /><HorzFormat type=\"Stretched\" />"
           "</ImageryComponent></ImagerySection>";
}

inline void Buttons(harness::Style& s)
{
    const std::vector<std::pair<std::string, uint32_t>> states = {
        {"Normal", 0xFF000101}, {"Hover", 0xFF000102}, {"Pushed", 0xFF000103}, {"Disabled", 0xFF000104}};
    s.look("H/Button", "CEGUI/PushButton", "Core/Button", states);
    s.look("H/Thumb", "CEGUI/Thumb", "Core/Button", states);
}

// Scrollbars and the buttons they are built of.
inline void Scrollbars(harness::Style& s)
{
    Buttons(s);
    const std::string parts = Child("H/Thumb", "__auto_thumb__", "0 0", "0 0", "0 8", "0 8") +
                              Child("H/Button", "__auto_incbtn__", "0 0", "0 0", "0 8", "0 8") +
                              Child("H/Button", "__auto_decbtn__", "0 0", "0 0", "0 8", "0 8");
    s.look("H/VScrollbar", "CEGUI/Scrollbar", "Core/Scrollbar", {{"Enabled", 0xFF000201}, {"Disabled", 0xFF000202}},
           {{"ThumbTrackArea", "0,0,8,8"}}, {{"VerticalScrollbar", "true"}}, parts);
    s.look("H/HScrollbar", "CEGUI/Scrollbar", "Core/Scrollbar", {{"Enabled", 0xFF000203}, {"Disabled", 0xFF000204}},
           {{"ThumbTrackArea", "0,0,8,8"}}, {}, parts);
}

// An edit box look of window type type over target with renderer.
inline void EditBox(harness::Style& s, const std::string& type, const std::string& target,
                    const std::string& renderer)
{
    s.look(type, target, renderer,
           {{"Enabled", kEditEnabled},
            {"ReadOnly", 0xFF000302},
            {"Disabled", 0xFF000303},
            {"ActiveSelection", 0xFF000304},
            {"InactiveSelection", 0xFF000305}},
           {{"TextArea", "2,2,1000,1000"}}, {}, CaretSection());
}

// Needs Scrollbars.
inline void MultiLine(harness::Style& s, const std::string& type, const std::string& target)
{
    s.look(type, target, "Core/MultiLineEditbox",
           {{"Enabled", kMultiEnabled}, {"ReadOnly", 0xFF000402}, {"Disabled", 0xFF000403}},
           {{"TextArea", "2,2,190,90"},
            {"TextAreaHScroll", "2,2,190,82"},
            {"TextAreaVScroll", "2,2,182,90"},
            {"TextAreaHVScroll", "2,2,182,82"}},
           {},
           CaretSection() + Child("H/VScrollbar", "__auto_vscrollbar__", "1 -8", "0 0", "1 0", "1 0") +
               Child("H/HScrollbar", "__auto_hscrollbar__", "0 0", "1 -8", "1 0", "1 0"));
}

// A multi-column list of window type type drawn by "QGUI/MultiColumnList";
// items are drawn from y = 20 (under the header) over the whole width. With
// odd set, the look gives the list "OddColour". Needs Scrollbars.
inline void List(harness::Style& s, const std::string& type, bool odd)
{
    s.look("H/ListHeaderSegment", "CEGUI/ListHeaderSegment", "Core/ListHeaderSegment",
           {{"Normal", 0xFF000501},
            {"Disabled", 0xFF000502},
            {"Hover", 0xFF000503},
            {"SplitterHover", 0xFF000504},
            {"DragGhost", 0xFF000505},
            {"AscendingSortIcon", 0xFF000506},
            {"DescendingSortDown", 0xFF000507},
            {"GhostAscendingSortIcon", 0xFF000508},
            {"GhostDescendingSortDown", 0xFF000509}});
    s.look("H/ListHeader", "CEGUI/ListHeader", "Core/ListHeader", {{"Enabled", 0xFF00050A}, {"Disabled", 0xFF00050B}},
           {}, {{"SegmentWidgetType", "H/ListHeaderSegment"}});
    char colour[16];
    std::snprintf(colour, sizeof colour, "%08X", kOddColour);
    const std::string oddColour = odd ? std::string("<PropertyDefinition name=\"OddColour\" type=\"ColourRect\" "
                                                    "initialValue=\"tl:") +
                                            colour + " tr:" + colour + " bl:" + colour + " br:" + colour + "\" />"
                                      : std::string();
    s.look(type, "CEGUI/MultiColumnList", "QGUI/MultiColumnList", {{"Enabled", kListBase}, {"Disabled", 0xFF000602}},
           {{"ItemRenderingArea", "0,20,200,200"},
            {"ItemRenderingAreaHScroll", "0,20,200,192"},
            {"ItemRenderingAreaVScroll", "0,20,192,200"},
            {"ItemRenderingAreaHVScroll", "0,20,192,192"}},
           {},
           oddColour + Child("H/ListHeader", "__auto_listheader__", "0 0", "0 0", "1 0", "0 20") +
               Child("H/VScrollbar", "__auto_vscrollbar__", "1 -8", "0 20", "1 0", "1 0") +
               Child("H/HScrollbar", "__auto_hscrollbar__", "0 0", "1 -8", "1 0", "1 0"));
}

inline void Tabs(harness::Style& s, const std::string& type, const std::string& target)
{
    s.look("H/TabButton", "CEGUI/TabButton", "Core/TabButton",
           {{"Normal", kTabButton}, {"Hover", kTabButton}, {"Selected", 0xFF000701}, {"Disabled", 0xFF000702}});
    s.look("H/TabPane", "DefaultWindow", "Core/Default", {{"Enabled", 0xFF000703}, {"Disabled", 0xFF000704}});
    s.look(type, target, "Core/TabControl", {{"Enabled", kTabBase}, {"Disabled", 0xFF000705}}, {},
           {{"TabButtonType", "H/TabButton"}},
           Child("H/TabPane", "__auto_TabPane__", "0 0", "0 20", "1 0", "1 0") +
               Child("DefaultWindow", "__auto_TabPane__Buttons", "0 0", "0 0", "1 0", "0 20"));
}
} // namespace looks
