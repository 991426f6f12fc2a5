// The chat box's property objects and its shared property set, in the set's
// order.
#include "widgets/GameChatBoxProperties.h"

namespace QGUI
{
namespace
{
GameChatBoxProperty::ChatCapacity s_ChatCapacity;
GameChatBoxProperty::PushChat s_PushChat;
GameChatBoxProperty::DefaultTextColour s_DefaultColour;
GameChatBoxProperty::ClearChat s_ClearChat;
GameChatBoxProperty::IndentRestLine s_IndentRestLine;
GameChatBoxProperty::Indent1stLine s_Indent1stLine;
GameChatBoxProperty::MsgLife s_MsgLife;
} // namespace

CEGUI::ShareProSet CGameChatBox::SharePropertySet{&s_ChatCapacity,   &s_PushChat,      &s_DefaultColour, &s_ClearChat,
                                                  &s_IndentRestLine, &s_Indent1stLine, &s_MsgLife};
} // namespace QGUI
