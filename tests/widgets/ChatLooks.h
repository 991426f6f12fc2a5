// Test looks of the chat box and the game tooltip, and of the rich-text
// windows they make ("QXLook/GameMultiLine": framed, its text area inset by
// 5 pixels on every side; without its frame, the whole window).
//
// "H/ChatBox" is a chat box of 215 x 100 pixels with a vertical bar 15
// pixels wide at its right and a horizontal one 8 high at its bottom: its
// messages are 200 pixels wide without the bar and 185 beside it, so that
// a line holds 24 characters of the test font, or 22 beside the bar.
// "H/Tooltip" is the game tooltip with the module's tooltip renderer.
#pragma once

#include <string>

#include "RichTextWindowFixture.h"

namespace chatlooks
{
const uint32_t kFramed = 0xFF0000E1;
const uint32_t kChatBox = 0xFF0000E2;
const uint32_t kTooltip = 0xFF0000E3;

inline std::string Edge(const char* edge, float scale, float offset)
{
    return std::string("<Dim type=\"") + edge + "\"><UnifiedDim scale=\"" + std::to_string(scale) +
           "\" offset=\"" + std::to_string(offset) + "\" type=\"" + edge + "\" /></Dim>";
}

inline std::string Inset(float inset)
{
    return "<Area>" + Edge("LeftEdge", 0, inset) + Edge("TopEdge", 0, inset) + Edge("RightEdge", 1, -inset) +
           Edge("BottomEdge", 1, -inset) + "</Area>";
}

// The rich-text window the chat box and the tooltip make.
inline void MessageWindow(harness::Style& s)
{
    char colour[16];
    std::snprintf(colour, sizeof colour, "%08X", kFramed);
    const std::string c(colour);
    s.looks += "<WidgetLook name=\"QXLook/GameMultiLine\">"
               "<NamedArea name=\"TextArea\">" + Inset(5) + "</NamedArea>"
               "<NamedArea name=\"NoFrameTextArea\">" + Inset(0) + "</NamedArea>"
               "<ImagerySection name=\"frame\"><ImageryComponent>" + Inset(0) +
               "<Image name=\"H/White\" /><Colours topLeft=\"" + c + "\" topRight=\"" + c + "\" bottomLeft=\"" + c +
               "\" bottomRight=\"" + c + "\" /><VertFormat type=\"Stretched\" /><HorzFormat type=\"Stretched\" />"
               "</ImageryComponent></ImagerySection>"
               "<StateImagery name=\"Framed\"><Layer><Section section=\"frame\" /></Layer></StateImagery>"
               "<StateImagery name=\"NoFrame\" /></WidgetLook>";
    s.mappings += "<FalagardMapping windowType=\"QXLook/GameMultiLine\" targetType=\"QXGame/GameMultiLine\" "
                  "renderer=\"QXGame/GameMultiLineRenderer\" lookNFeel=\"QXLook/GameMultiLine\" />";
}

// A scrollbar of the rich-text window's test looks as a child of the pane:
// its area in unified edges (scale, offset) left, top, right, bottom.
inline std::string Bar(const char* type, const char* suffix, float l, float lo, float t, float to, float r,
                       float ro, float b, float bo)
{
    return std::string("<Child type=\"") + type + "\" nameSuffix=\"" + suffix + "\"><Area>" +
           Edge("LeftEdge", l, lo) + Edge("TopEdge", t, to) + Edge("RightEdge", r, ro) + Edge("BottomEdge", b, bo) +
           "</Area><Property name=\"NonClient\" value=\"true\" /></Child>";
}

// Needs the scrollbar looks of richwindow::RichWindowTest.
inline void ChatBox(harness::Style& s)
{
    s.look("H/ChatBox", "QXGame/GameChatBox", "Core/ScrollablePane", {{"Enabled", kChatBox}, {"Disabled", kChatBox}},
           {{"ViewableArea", "0,0,215,100"},
            {"ViewableAreaVScroll", "0,0,200,100"},
            {"ViewableAreaHScroll", "0,0,215,92"},
            {"ViewableAreaHVScroll", "0,0,200,92"}},
           {},
           Bar("H/VScroll", "__auto_vscrollbar__", 1, -15, 0, 0, 1, 0, 1, 0) +
               Bar("H/HScroll", "__auto_hscrollbar__", 0, 0, 1, -8, 1, 0, 1, 0));
}

inline void Tooltip(harness::Style& s)
{
    s.look("H/Tooltip", "QXGame/Tooltip", "QXGame/TooltipRenderer", {{"Enabled", kTooltip}, {"Disabled", kTooltip}});
}
} // namespace chatlooks
