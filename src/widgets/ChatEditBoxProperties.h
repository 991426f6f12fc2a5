// The properties of the chat edit box.
#pragma once

#include "widgets/ChatEditBox.h"
#include "widgets/SharedProperties.h"

namespace QGUI
{
namespace CChatEditboxProperty
{
// Actions: they read the empty text.
QGUI_PROPERTY(PushId, CChatEditBox, StringText, "PushId", "Property to push an item id .  Value is a integer.", "0",
              &CChatEditBox::emptyText, &CChatEditBox::pushIdText);
QGUI_PROPERTY(PushText, CChatEditBox, StringText, "PushText", "Property to push an item name .  Value is a string.",
              "", &CChatEditBox::emptyText, &CChatEditBox::pushText);
// Read only.
QGUI_PROPERTY(EncodedText, CChatEditBox, StringText, "EncodedText",
              "Property to get encoded text .  Value is a string.", "", &CChatEditBox::getEncodedText, nullptr);
QGUI_PROPERTY(MaxEncodeNum, CChatEditBox, UintText, "MaxEncodeNum",
              "Property to get maximum encoded text number.  Value is a interger.", "",
              &CChatEditBox::getMaxEncodeNum, &CChatEditBox::setMaxEncodeNum);
QGUI_PROPERTY(EncodeNum, CChatEditBox, UintText, "EncodeNum",
              "Property to get current encoded text number.  Value is a interger.", "",
              &CChatEditBox::getEncodeNum, nullptr);
} // namespace CChatEditboxProperty
} // namespace QGUI
