// The properties of the rich-text window (and of the guide box, which is one).
#pragma once

#include "richtext/GameMultiLine.h"
#include "widgets/SharedProperties.h"

namespace QGUI
{
namespace GameMultiLineProperty
{
QGUI_PROPERTY(FrameEnable, CGameMultiLine, BoolText, "FrameEnabled",
              "Property to get/set if this game multiline needs frame.  Value is a boolean.", "True",
              &CGameMultiLine::isFrameEnabled, &CGameMultiLine::setFrameEnabled);
QGUI_PROPERTY(ForceHideVertScrollbar, CGameMultiLine, BoolText, "ForceHideVertScrollbar",
              "Property to get/set the 'never show' setting for the vertical scroll bar of the game "
              "multiline.  Value is either \"True\" or \"False\".",
              "False", &CGameMultiLine::isForceHideVertScrollbar, &CGameMultiLine::setForceHideVertScrollbar);
QGUI_PROPERTY(ForceHideHorzScrollbar, CGameMultiLine, BoolText, "ForceHideHorzScrollbar",
              "Property to get/set the 'never show' setting for the horizontal scroll bar of the game "
              "multiline.  Value is either \"True\" or \"False\".",
              "False", &CGameMultiLine::isForceHideHorzScrollbar, &CGameMultiLine::setForceHideHorzScrollbar);
// Reads the laid-out text; writes are ignored.
QGUI_PROPERTY(PlainText, CGameMultiLine, StringText, "EncodedText",
              "Property to get/set the plain text of the game multiline.  Value is string", "",
              &CGameMultiLine::getPlainText, nullptr);
QGUI_PROPERTY(DefaultTextColour, CGameMultiLine, ColourText, "DefaultColour",
              "Property to get/set the default text colour of the game multiline.  Value is Colour",
              "FFFFFFFF", &CGameMultiLine::getDefaultTextColour, &CGameMultiLine::setDefaultTextColour);
QGUI_PROPERTY(Picked, CGameMultiLine, BoolText, "Picked",
              "Property to get/set the if this CGameMultiLine is picked.  Value is a boolean.", "False",
              &CGameMultiLine::isPicked, &CGameMultiLine::setPicked);
// The next three defaults are no value these properties read, so they are
// always written to XML.
QGUI_PROPERTY(CmdFont, CGameMultiLine, StringText, "CmdFont",
              "Property to get/set the command text font of CGameMultiLine.  Value is a string.", "False",
              &CGameMultiLine::getCmdFontName, &CGameMultiLine::setCmdFont);
QGUI_PROPERTY(IndentRestLine, CGameMultiLine, IntText, "IndentRestLine",
              "Property to get/set the rest line's indent of CGameMultiLine.  Value is a string.", "False",
              &CGameMultiLine::getIndentRestLine, &CGameMultiLine::setIndentRestLine);
QGUI_PROPERTY(Indent1stLine, CGameMultiLine, IntText, "Indent1stLine",
              "Property to get/set the 1st line's indent of CGameMultiLine.  Value is a string.", "False",
              &CGameMultiLine::getIndent1stLine, &CGameMultiLine::setIndent1stLine);

// The edit box's own settings that would format the text its way, in place
// of its properties of the same names.
QGUI_PROPERTY(WordWrap, CGameMultiLine, GuiBoolText, "WordWrap",
              "Property to get/set the word-wrap setting of the edit box.  Value is either \"true\" or \"false\".",
              "true", &CGameMultiLine::isWordWrapped, &CGameMultiLine::setWordWrapping);
QGUI_PROPERTY(ForceVertScrollbar, CGameMultiLine, GuiBoolText, "ForceVertScrollbar",
              "Property to get/set the 'always show' setting for the vertical scroll bar of the list box."
              "Value is either \"true\" or \"false\".",
              "false", &CGameMultiLine::isVertScrollbarAlwaysShown, &CGameMultiLine::setShowVertScrollbar);
} // namespace GameMultiLineProperty
} // namespace QGUI
