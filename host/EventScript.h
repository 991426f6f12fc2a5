// The host's event script: window messages to feed to the module, each at
// a frame. One event per line, '#' starts a comment:
//
//   <frame> move <x> <y>       WM_MOUSEMOVE
//   <frame> ldown <x> <y>      WM_LBUTTONDOWN      (lup, rdown, rup, mdown,
//   <frame> lup <x> <y>        WM_LBUTTONUP         mup alike)
//   <frame> wheel <delta>      WM_MOUSEWHEEL at the last mouse position
//   <frame> keydown <vk>       WM_KEYDOWN
//   <frame> keyup <vk>         WM_KEYUP
//   <frame> char <code>        WM_CHAR
//   <frame> gameset <object> <property> <value>
//                              no message: the game's data changes (the
//                              object's property takes the value, the rest
//                              of the line) and the host refreshes the
//                              object's windows (RefreshObjectWindows)
//   <frame> call <global> [<argument> ...]
//                              no message: the game calls a script global
//                              through the module (CallScriptFunction), as
//                              it hands the interface its replies, e.g.
//                              the chat line of another player:
//                              48 call gFn_chat_recv "Trade" "Brenna" "hi"
//                              Up to kMaxScriptArguments arguments, each a
//                              signed 32-bit decimal number or a text in
//                              double quotes (UTF-8, handed over in the
//                              local code page; \" and \\ stand for a quote
//                              and a backslash, and a '#' inside does not
//                              start a comment)
//
// Frames count from 1 and never go back; vk and code are decimal or 0x
// hexadecimal, coordinates and deltas signed 16-bit decimal. wParam and
// lParam are packed as Windows packs them: mouse messages carry the
// buttons and modifier keys held after the event (MK_*) and the position
// as two signed 16-bit words; key messages carry a repeat count of 1 and,
// for key-up, the previous-state and transition bits. The scan-code field
// stays 0: the host has no keyboard layout. As Windows does, a button event
// at a place the mouse has not moved to is preceded by a WM_MOUSEMOVE there
// (button messages alone do not move the cursor).
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>
#include <vector>

#include "HostSession.h"
#include "winapi.h"

namespace QHost
{
struct HostMessage
{
    long frame = 0;
    int line = 0;     // line of the script it came from
    std::string text; // the event as written, without the frame; for an
                      // added move, "move x y (before <event>)"
    UINT message = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    // A change of the game's data instead of a window message (message 0).
    bool gameData = false;
    int objectId = 0;
    std::string property;
    std::string value;
    // A call of a script global instead of a window message (message 0).
    bool scriptCall = false;
    std::string global;
    std::vector<ScriptArgument> arguments;
};

// Parses a whole script. On the first bad line: false, nothing appended,
// and *error names the line and what is wrong.
bool ParseEventScript(const std::string& script, std::vector<HostMessage>* out, std::string* error);
// Reads and parses a script file.
bool LoadEventScript(const std::string& path, std::vector<HostMessage>* out, std::string* error);

// "WM_MOUSEMOVE" and so on; "WM_?" for a message the script cannot write.
const char* MessageName(UINT message);

// Feeds a parsed script frame by frame.
class EventPlayer
{
public:
    struct Result
    {
        const HostMessage* message;
        bool consumed; // what ProcessMessage answered; for a change of the
                       // game's data, whether the data took it; for a
                       // script call, whether it answered other than -1
        int answer;    // a script call's answer (CallScriptFunction's)
    };

    explicit EventPlayer(std::vector<HostMessage> messages) : d_messages(std::move(messages)) {}

    // Feeds every message due at `frame` through the session's
    // ProcessMessage (changes of the game's data through its
    // changeGameObject, script calls through its callScript), in script
    // order, and prints one line per event to
    // `report` (when not null). Call it once per frame, frames ascending,
    // before the frame's Update.
    void feedFrame(HostSession& session, long frame, std::FILE* report);

    const std::vector<Result>& results() const { return d_results; }
    // Messages not fed yet (their frame has not come).
    size_t pending() const { return d_messages.size() - d_next; }

private:
    std::vector<HostMessage> d_messages;
    std::vector<Result> d_results;
    size_t d_next = 0;
};
} // namespace QHost
