// The shared property sets of the value text and the percent bar, in the
// sets' order.
#include "widgets/GameValueTextProperties.h"

namespace QGUI
{
namespace
{
GameValueTextProperty::WhichOne s_WhichOne;
GameValueTextProperty::WhichProperty s_WhichProperty;
PercentBarProperty::Value s_Value;
PercentBarProperty::Tooltip2 s_Tooltip2;
} // namespace

CEGUI::ShareProSet CGameValueText::SharePropertySet{&s_WhichOne, &s_WhichProperty};
CEGUI::ShareProSet CPercentBar::SharePropertySet{&s_Value, &s_Tooltip2};
} // namespace QGUI
