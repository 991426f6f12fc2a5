// The rich-text window's property objects and its shared property set, in
// the set's order.
#include "richtext/GameMultiLineProperties.h"

namespace QGUI
{
namespace
{
GameMultiLineProperty::FrameEnable s_FrameEnable;
GameMultiLineProperty::ForceHideVertScrollbar s_ForceHideVertScrollbar;
GameMultiLineProperty::ForceHideHorzScrollbar s_ForceHideHorzScrollbar;
GameMultiLineProperty::PlainText s_PlainText;
GameMultiLineProperty::DefaultTextColour s_DefaultTextColour;
GameMultiLineProperty::Picked s_Picked;
GameMultiLineProperty::CmdFont s_CmdFont;
GameMultiLineProperty::IndentRestLine s_IndentRestLine;
GameMultiLineProperty::Indent1stLine s_Indent1stLine;
GameMultiLineProperty::WordWrap s_WordWrap;
GameMultiLineProperty::ForceVertScrollbar s_ForceVertScrollbar;
} // namespace

CEGUI::ShareProSet CGameMultiLine::SharePropertySet{
    &s_FrameEnable,       &s_ForceHideVertScrollbar, &s_ForceHideHorzScrollbar,
    &s_PlainText,         &s_DefaultTextColour,      &s_Picked,
    &s_CmdFont,           &s_IndentRestLine,         &s_Indent1stLine};

CEGUI::ShareProSet CGameMultiLine::EditboxPropertySet{&s_WordWrap, &s_ForceVertScrollbar};
} // namespace QGUI
