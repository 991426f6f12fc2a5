// The chat lines of the game, on their way to the scripts.
#include "script/ChatLineParser.h"

#include "KeyValues.h"
#include "core/QGUI.h"

namespace QGUI
{
namespace KEYVAL_PARSER
{
const char* const kChatLineMessage = "_KeyVal_Chat_Recv";
const char* const kChatLineScript = "gFn_chat_recv";

bool CChatLineParser::CanHandle()
{
    return m_pMessage && m_pMessage->FindKey("Text");
}

// The texts are the game's, in the local code page; the call hands them to
// the scripts in UTF-8.
bool CChatLineParser::Handle()
{
    return CQGUI::GetGlobalObject()->CallScriptFunction(kChatLineScript, "%s%s%s",
                                                        m_pMessage->GetString("Channel", ""),
                                                        m_pMessage->GetString("Name", ""),
                                                        m_pMessage->GetString("Text", "")) >= 0;
}
} // namespace KEYVAL_PARSER
} // namespace QGUI
