// The game edit box's property objects and its shared property set, in the
// set's order.
#include "widgets/GameEditBoxProperties.h"

namespace QGUI
{
namespace
{
CEGUI::GameEditProperty::CNumericOnly s_NumericOnly;
CEGUI::GameEditProperty::CMaxNumber s_MaxNumber;
CEGUI::GameEditProperty::CInsertText s_InsertText;
} // namespace

CEGUI::ShareProSet CGameEditBox::SharePropertySet{&s_NumericOnly, &s_MaxNumber, &s_InsertText};
} // namespace QGUI
