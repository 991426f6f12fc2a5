// The parser of the chat lines the game sends ("_KeyVal_Chat_Recv"): it
// hands the line's channel, speaker and text to the script global
// "gFn_chat_recv", which shows the line where the interface keeps its chat.
#pragma once

#include "script/KeyValueParser.h"

namespace QGUI
{
namespace KEYVAL_PARSER
{
extern const char* const kChatLineMessage;
extern const char* const kChatLineScript;

class CChatLineParser : public IKeyValueParser, public LazyCreator<IKeyValueParser, CChatLineParser, KeyValues*>
{
public:
    explicit CChatLineParser(KeyValues* message) : IKeyValueParser(message) {}

    // A line needs its text; channel and speaker may be left out (empty).
    bool CanHandle() override;
    // False when the scripts have no such global or it fails (logged).
    bool Handle() override;
};
} // namespace KEYVAL_PARSER
} // namespace QGUI
