// The properties of the game edit box.
#pragma once

#include "widgets/GameEditBox.h"
#include "widgets/SharedProperties.h"

namespace CEGUI
{
namespace GameEditProperty
{
// "Numeric" and "MaxNumber" share one help text, and "MaxNumber" the
// default text "False" (it reads 0): layouts written with them rely on both.
QGUI_PROPERTY(CNumericOnly, QGUI::CGameEditBox, BoolText, "Numeric",
              "Property to get/set if this game edit accept numeric character only.  Value is a boolean.",
              "False", &QGUI::CGameEditBox::isNumericOnly, &QGUI::CGameEditBox::setNumericOnly);
QGUI_PROPERTY(CMaxNumber, QGUI::CGameEditBox, UintText, "MaxNumber",
              "Property to get/set if this game edit accept numeric character only.  Value is a boolean.",
              "False", &QGUI::CGameEditBox::getMaxNumber, &QGUI::CGameEditBox::setMaxNumber);
// An action: reads the empty text; a write inserts the value at the caret.
QGUI_PROPERTY(CInsertText, QGUI::CGameEditBox, StringText, "InsertText", "Property to insert text.  Value is a string.",
              "False", &QGUI::CGameEditBox::emptyText, &QGUI::CGameEditBox::insertText);
} // namespace GameEditProperty
} // namespace CEGUI
