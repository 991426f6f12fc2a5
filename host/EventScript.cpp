#include "EventScript.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>

#include "HostSession.h"

namespace QHost
{
namespace
{
// The key and button bits of a mouse message's wParam.
enum : WPARAM
{
    MK_LBUTTON_ = 0x0001,
    MK_RBUTTON_ = 0x0002,
    MK_SHIFT_ = 0x0004,
    MK_CONTROL_ = 0x0008,
    MK_MBUTTON_ = 0x0010
};

constexpr uint32_t kKeyPreviouslyDown = 1u << 30;
constexpr uint32_t kKeyReleased = 1u << 31;

// What the keyboard and mouse hold between events, for packing.
struct InputState
{
    WPARAM buttons = 0; // MK_* bits
    bool keyDown[0x10000] = {};
    int x = 0, y = 0;
    bool placed = false; // a position was given
};

bool ParseSigned(const std::string& text, long low, long high, long& out)
{
    if (text.empty())
        return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(text.c_str(), &end, 10);
    if (errno || *end || v < low || v > high)
        return false;
    out = v;
    return true;
}

// Decimal, or hexadecimal after "0x" / "0X"; no sign.
bool ParseCode(const std::string& text, long& out)
{
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = hex ? text.substr(2) : text;
    if (digits.empty() || digits[0] == '-' || digits[0] == '+')
        return false;
    char* end = nullptr;
    errno = 0;
    const long v = std::strtol(digits.c_str(), &end, hex ? 16 : 10);
    if (errno || *end || v < 0 || v > 0xFFFF)
        return false;
    out = v;
    return true;
}

LPARAM Packed(uint32_t bits)
{
    return static_cast<LPARAM>(bits);
}

WPARAM MouseKeys(const InputState& s)
{
    WPARAM keys = s.buttons;
    bool shift = false, control = false;
    for (long vk : {long(VK_SHIFT), long(VK_LSHIFT), long(VK_RSHIFT)})
        shift = shift || s.keyDown[vk];
    for (long vk : {long(VK_CONTROL), long(VK_LCONTROL), long(VK_RCONTROL)})
        control = control || s.keyDown[vk];
    if (shift)
        keys |= MK_SHIFT_;
    if (control)
        keys |= MK_CONTROL_;
    return keys;
}

struct MouseVerb
{
    const char* name;
    UINT message;
    WPARAM button; // MK_* bit it presses (down) or releases (up); 0 for a move
    bool down;
};

const MouseVerb kMouseVerbs[] = {
    {"move", WM_MOUSEMOVE, 0, false},          {"ldown", WM_LBUTTONDOWN, MK_LBUTTON_, true},
    {"lup", WM_LBUTTONUP, MK_LBUTTON_, false}, {"rdown", WM_RBUTTONDOWN, MK_RBUTTON_, true},
    {"rup", WM_RBUTTONUP, MK_RBUTTON_, false}, {"mdown", WM_MBUTTONDOWN, MK_MBUTTON_, true},
    {"mup", WM_MBUTTONUP, MK_MBUTTON_, false}};

// The arguments of a script call: numbers and quoted texts, separated by
// blanks.
bool ParseArguments(const std::string& text, std::vector<ScriptArgument>& out, std::string& why)
{
    size_t i = 0;
    while (true)
    {
        i = text.find_first_not_of(" \t", i);
        if (i == std::string::npos)
            return true;
        if (out.size() == kMaxScriptArguments)
        {
            why = "'call' takes at most " + std::to_string(kMaxScriptArguments) + " arguments";
            return false;
        }
        ScriptArgument argument;
        if (text[i] == '"')
        {
            bool closed = false;
            for (++i; i < text.size() && !closed; ++i)
            {
                if (text[i] == '"')
                    closed = true;
                else if (text[i] != '\\')
                    argument.text += text[i];
                else if (i + 1 < text.size() && (text[i + 1] == '"' || text[i + 1] == '\\'))
                    argument.text += text[++i];
                else
                {
                    why = "in a quoted text only \\\" and \\\\ are escapes";
                    return false;
                }
            }
            if (!closed || (i < text.size() && text[i] != ' ' && text[i] != '\t'))
            {
                why = closed ? "a quoted text must be followed by a blank" : "a quoted text is not closed";
                return false;
            }
        }
        else
        {
            const size_t end = std::min(text.find_first_of(" \t", i), text.size());
            long number = 0;
            if (!ParseSigned(text.substr(i, end - i), INT32_MIN, INT32_MAX, number))
            {
                why = "an argument of 'call' is a signed 32-bit number or a quoted text";
                return false;
            }
            argument.number = true;
            argument.value = int(number);
            i = end;
        }
        out.push_back(argument);
    }
}

// One event line (comment and blanks already gone) into its messages,
// appended to out.
bool ParseLine(const std::string& line, long lastFrame, InputState& state,
               std::vector<HostMessage>& out, std::string& why)
{
    HostMessage m;
    std::istringstream in(line);
    std::string frameText, verb, a, b, extra;
    in >> frameText >> verb;
    long frame = 0;
    if (!ParseSigned(frameText, 1, 100000000, frame))
    {
        why = "the frame must be a number from 1";
        return false;
    }
    if (frame < lastFrame)
    {
        why = "frames must not go back";
        return false;
    }
    m.frame = frame;
    // The event as written: what follows the frame number.
    const size_t gap = line.find_first_of(" \t");
    const size_t start = gap == std::string::npos ? gap : line.find_first_not_of(" \t", gap);
    m.text = start == std::string::npos ? std::string() : line.substr(start);

    for (const MouseVerb& v : kMouseVerbs)
    {
        if (verb != v.name)
            continue;
        long x = 0, y = 0;
        if (!(in >> a >> b) || (in >> extra))
        {
            why = std::string("'") + v.name + "' takes x and y";
            return false;
        }
        if (!ParseSigned(a, -32768, 32767, x) || !ParseSigned(b, -32768, 32767, y))
        {
            why = "coordinates must be signed 16-bit numbers";
            return false;
        }
        // Windows reports a move before a button changes at a new place;
        // the button messages alone do not move the cursor.
        if (v.button && (!state.placed || state.x != int(x) || state.y != int(y)))
        {
            HostMessage move = m;
            move.text = "move " + a + " " + b + " (before " + v.name + ")";
            move.message = WM_MOUSEMOVE;
            move.wParam = MouseKeys(state);
            move.lParam = MakeMouseLParam(int(x), int(y));
            out.push_back(move);
        }
        if (v.button && v.down)
            state.buttons |= v.button;
        else if (v.button)
            state.buttons &= ~v.button;
        state.x = int(x);
        state.y = int(y);
        state.placed = true;
        m.message = v.message;
        m.wParam = MouseKeys(state);
        m.lParam = MakeMouseLParam(state.x, state.y);
        out.push_back(m);
        return true;
    }

    if (verb == "wheel")
    {
        long delta = 0;
        if (!(in >> a) || (in >> extra) || !ParseSigned(a, -32768, 32767, delta))
        {
            why = "'wheel' takes one signed 16-bit delta";
            return false;
        }
        m.message = WM_MOUSEWHEEL;
        m.wParam = MakeWheelWParam(int(delta), unsigned(MouseKeys(state)));
        // The wheel reports the cursor's screen position; the host's client
        // area starts at the screen's origin.
        m.lParam = MakeMouseLParam(state.x, state.y);
        out.push_back(m);
        return true;
    }

    if (verb == "keydown" || verb == "keyup" || verb == "char")
    {
        long code = 0;
        if (!(in >> a) || (in >> extra) || !ParseCode(a, code))
        {
            why = "'" + verb + "' takes one code from 0 to 0xFFFF";
            return false;
        }
        m.wParam = WPARAM(code);
        if (verb == "keydown")
        {
            m.message = WM_KEYDOWN;
            m.lParam = Packed(1u | (state.keyDown[code] ? kKeyPreviouslyDown : 0u));
            state.keyDown[code] = true;
        }
        else if (verb == "keyup")
        {
            m.message = WM_KEYUP;
            m.lParam = Packed(1u | kKeyPreviouslyDown | kKeyReleased);
            state.keyDown[code] = false;
        }
        else
        {
            m.message = WM_CHAR;
            m.lParam = Packed(1u);
        }
        out.push_back(m);
        return true;
    }

    if (verb == "gameset")
    {
        long object = 0;
        std::string value;
        if (!(in >> a >> b) || !ParseSigned(a, INT32_MIN, INT32_MAX, object))
        {
            why = "'gameset' takes an object id, a property and a value";
            return false;
        }
        std::getline(in >> std::ws, value);
        if (value.empty())
        {
            why = "'gameset' takes an object id, a property and a value";
            return false;
        }
        m.gameData = true;
        m.objectId = int(object);
        m.property = b;
        m.value = value;
        out.push_back(m);
        return true;
    }

    if (verb == "call")
    {
        if (!(in >> m.global) || m.global[0] == '"')
        {
            why = "'call' takes the name of a script global, then its arguments";
            return false;
        }
        std::string rest;
        std::getline(in, rest);
        if (!ParseArguments(rest, m.arguments, why))
            return false;
        m.scriptCall = true;
        out.push_back(m);
        return true;
    }

    why = "unknown event '" + verb + "'";
    return false;
}

// Where a comment starts: the first '#' outside a quoted text; npos for none.
size_t CommentStart(const std::string& line)
{
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i)
    {
        if (quoted && line[i] == '\\')
            ++i;
        else if (line[i] == '"')
            quoted = !quoted;
        else if (!quoted && line[i] == '#')
            return i;
    }
    return std::string::npos;
}
} // namespace

bool ParseEventScript(const std::string& script, std::vector<HostMessage>* out, std::string* error)
{
    std::vector<HostMessage> parsed;
    auto state = std::make_unique<InputState>();
    std::istringstream lines(script);
    std::string line;
    int number = 0;
    long lastFrame = 1;
    while (std::getline(lines, line))
    {
        ++number;
        const size_t hash = CommentStart(line);
        if (hash != std::string::npos)
            line.erase(hash);
        if (line.find_first_not_of(" \t\r") == std::string::npos)
            continue;
        line.erase(0, line.find_first_not_of(" \t"));
        line.erase(line.find_last_not_of(" \t\r") + 1);
        std::string why;
        const size_t first = parsed.size();
        if (!ParseLine(line, lastFrame, *state, parsed, why))
        {
            if (error)
                *error = "line " + std::to_string(number) + ": " + why;
            return false;
        }
        for (size_t i = first; i < parsed.size(); ++i)
            parsed[i].line = number;
        lastFrame = parsed.back().frame;
    }
    if (out)
        out->insert(out->end(), parsed.begin(), parsed.end());
    return true;
}

bool LoadEventScript(const std::string& path, std::vector<HostMessage>* out, std::string* error)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
    {
        if (error)
            *error = "cannot read " + path;
        return false;
    }
    std::stringstream text;
    text << in.rdbuf();
    if (!ParseEventScript(text.str(), out, error))
    {
        if (error)
            *error = path + ": " + *error;
        return false;
    }
    return true;
}

const char* MessageName(UINT message)
{
    switch (message)
    {
    case WM_MOUSEMOVE: return "WM_MOUSEMOVE";
    case WM_LBUTTONDOWN: return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP: return "WM_LBUTTONUP";
    case WM_RBUTTONDOWN: return "WM_RBUTTONDOWN";
    case WM_RBUTTONUP: return "WM_RBUTTONUP";
    case WM_MBUTTONDOWN: return "WM_MBUTTONDOWN";
    case WM_MBUTTONUP: return "WM_MBUTTONUP";
    case WM_MOUSEWHEEL: return "WM_MOUSEWHEEL";
    case WM_KEYDOWN: return "WM_KEYDOWN";
    case WM_KEYUP: return "WM_KEYUP";
    case WM_CHAR: return "WM_CHAR";
    default: return "WM_?";
    }
}

void EventPlayer::feedFrame(HostSession& session, long frame, std::FILE* report)
{
    // Messages of frames that were skipped are never fed late.
    while (d_next < d_messages.size() && d_messages[d_next].frame < frame)
        ++d_next;
    for (; d_next < d_messages.size() && d_messages[d_next].frame == frame; ++d_next)
    {
        const HostMessage& m = d_messages[d_next];
        if (m.scriptCall)
        {
            std::string format;
            const int answer = session.callScript(m.global, m.arguments, &format);
            d_results.push_back({&m, answer != -1, answer});
            if (report)
                std::fprintf(report, "frame %ld: %s -> CallScriptFunction(\"%s\"): %d\n", frame, m.text.c_str(),
                             format.c_str(), answer);
            continue;
        }
        if (m.gameData)
        {
            const bool taken = session.changeGameObject(m.objectId, m.property, m.value);
            d_results.push_back({&m, taken, 0});
            if (report)
                std::fprintf(report, "frame %ld: %s -> RefreshObjectWindows(%d): %s\n", frame, m.text.c_str(),
                             m.objectId, taken ? "changed" : "not changed");
            continue;
        }
        const bool consumed = session.feed(m.message, m.wParam, m.lParam);
        d_results.push_back({&m, consumed, 0});
        if (report)
            std::fprintf(report, "frame %ld: %s -> %s wParam=0x%llx lParam=0x%llx: %s\n", frame,
                         m.text.c_str(), MessageName(m.message),
                         static_cast<unsigned long long>(m.wParam),
                         static_cast<unsigned long long>(static_cast<uintptr_t>(m.lParam)),
                         consumed ? "consumed" : "not consumed");
    }
}
} // namespace QHost
