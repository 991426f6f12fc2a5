// The properties of the chat box.
#pragma once

#include "widgets/GameChatBox.h"
#include "widgets/SharedProperties.h"

namespace QGUI
{
namespace GameChatBoxProperty
{
QGUI_PROPERTY(ChatCapacity, CGameChatBox, UintText, "ChatCapacity",
              "Property to get/set the capacity of this game chat box.  Value is a interger.", "0",
              &CGameChatBox::getChatCapacity, &CGameChatBox::setChatCapacity);
// Actions: they read the empty text.
QGUI_PROPERTY(PushChat, CGameChatBox, StringText, "PushChat", "to push a chat", "", &CGameChatBox::emptyText,
              &CGameChatBox::pushChatProperty);
// The default text is the colour a new box has, so that a box saved with
// it reads it back.
QGUI_PROPERTY(DefaultTextColour, CGameChatBox, ColourText, "DefaultColour",
              "Property to get/set the default text colour of the game multiline.  Value is Colour", "FF000000",
              &CGameChatBox::getDefaultColour, &CGameChatBox::setDefaultColour);
QGUI_PROPERTY(ClearChat, CGameChatBox, StringText, "Clear", "Property to clear chats.  Value is empty", "",
              &CGameChatBox::emptyText, &CGameChatBox::clearChatProperty);
QGUI_PROPERTY(IndentRestLine, CGameChatBox, IntText, "IndentRestLine",
              "Property to get/set the rest line's indent of a chat box.  Value is a string.", "False",
              &CGameChatBox::getIndentRestLine, &CGameChatBox::setIndentRestLine);
QGUI_PROPERTY(Indent1stLine, CGameChatBox, IntText, "Indent1stLine",
              "Property to get/set the 1st line's indent of a chat box.  Value is a string.", "False",
              &CGameChatBox::getIndent1stLine, &CGameChatBox::setIndent1stLine);
QGUI_PROPERTY(MsgLife, CGameChatBox, FloatText, "MsgLife",
              "Property to get/set line life of a chat box.  Value is a float.", "0",
              &CGameChatBox::getMsgLifeSeconds, &CGameChatBox::setMsgLife);
} // namespace GameChatBoxProperty
} // namespace QGUI
