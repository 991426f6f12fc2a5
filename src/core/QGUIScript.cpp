// The main object's calls into the scripts: code-page conversion of the
// arguments and results, and its own formatted call of a script global.
#include <CEGUI/CEGUI.h>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}

#include <cstdarg>
#include <cstring>
#include <exception>
#include <string>

#include "codepage.h"
#include "core/QGUI.h"
#include "script/LuaScriptModule.h"
#include "script/ScriptSupport.h"
#include "script/ScriptSystem.h"
#include "strtools.h"

namespace QGUI
{
namespace
{
// The main object's own debugger, for the formatted call's errors.
CLuaDebugger s_Debugger;

// Script text (UTF-8) into the local code page, kept in the caller's string.
const char* ToLocal(std::string& keep, const char* utf8)
{
    if (!utf8)
        utf8 = "";
    // Plain ASCII goes straight into the result, not through the buffers.
    const size_t length = std::strlen(utf8);
    if (LocalCodePageKeepsAscii() && IsAsciiText(utf8, length))
        keep.assign(utf8, length);
    else
        keep = Utf8ToAnsi(utf8, "");
    return keep.c_str();
}

// Local text into script text (UTF-8); null is the empty text. Plain ASCII
// passes as it is when the local code page keeps ASCII; a converted text is
// kept in the caller's string.
ScriptText ToScriptText(const char* local, std::string& keep, bool keepsAscii)
{
    if (!local)
        return ScriptText{"", 0};
    size_t length = 0;
    if (MeasureAsciiText(local, length) && keepsAscii)
        return ScriptText{local, length};
    keep = AnsiToUtf8(local, "");
    return ScriptText{keep.data(), keep.size()};
}

const char* ToScript(const char* local, std::string& keep)
{
    return ToScriptText(local, keep, LocalCodePageKeepsAscii()).text;
}

// A script result (UTF-8) turned into the local code page where it stands.
const char* ToLocalInPlace(std::string& text, bool keepsAscii)
{
    if (keepsAscii && IsAsciiText(text.data(), text.size()))
        return text.c_str();
    text = Utf8ToAnsi(text.c_str(), "");
    return text.c_str();
}

// A two-text call of the script system with the texts converted, its text
// result converted back and kept in result.
const char* CallForText(CScriptSystem* scripts, const char* name, const char* a, const char* b,
                        const unsigned int* numbers, int count, std::string& result)
{
    if (!scripts)
    {
        result.clear();
        return result.c_str();
    }
    const bool keepsAscii = LocalCodePageKeepsAscii();
    std::string keepA, keepB;
    const ScriptText textA = ToScriptText(a, keepA, keepsAscii);
    const ScriptText textB = ToScriptText(b, keepB, keepsAscii);
    scripts->CallGlobal2Strings2Numbers(name, textA, textB, numbers, count, result);
    return ToLocalInPlace(result, keepsAscii);
}
} // namespace

bool CQGUI::ExecuteScpritFile(const char* file)
{
    QGUI_OPEN_CALL_SCOPE(false);
    return m_pScriptSystem ? m_pScriptSystem->ExecuteScriptFile(file) : false;
}

int CQGUI::ExecuteScriptGlobal(const char* name)
{
    QGUI_OPEN_CALL_SCOPE(-1);
    return m_pScriptSystem ? m_pScriptSystem->ExecuteScriptGlobal(name) : -1;
}

int CQGUI::CallScriptGlobalNumber(const char* name, int value)
{
    QGUI_OPEN_CALL_SCOPE(-1);
    return m_pScriptSystem ? m_pScriptSystem->CallGlobalNumber(name, value) : -1;
}

void CQGUI::OpenScriptPackage(ScriptPackageOpenFn open)
{
    QGUI_OPEN_CALL_SCOPE();
    if (open && m_pScriptSystem)
        OpenLuaPackage(m_pScriptSystem->GetLuaState(), open);
}

const char* CQGUI::FetchString(const char* key)
{
    QGUI_OPEN_CALL_SCOPE("");
    static std::string result;
    return ToLocal(result, m_pScriptSystem ? m_pScriptSystem->FetchString(key) : nullptr);
}

const char* CQGUI::CallScriptGlobalNumberToString(const char* name, int value)
{
    QGUI_OPEN_CALL_SCOPE("");
    static std::string result;
    return ToLocal(result, m_pScriptSystem ? m_pScriptSystem->CallGlobalNumberToString(
                                                 name, static_cast<unsigned int>(value))
                                           : nullptr);
}

double CQGUI::FetchNumber(const char* key)
{
    QGUI_OPEN_CALL_SCOPE(0.0);
    return m_pScriptSystem ? m_pScriptSystem->FetchNumber(key) : 0.0;
}

uint32_t CQGUI::FetchColour(const char* key)
{
    QGUI_OPEN_CALL_SCOPE(0);
    return m_pScriptSystem ? m_pScriptSystem->FetchColour(key) : 0;
}

uint32_t CQGUI::FetchColourBySet(const char* key, int set)
{
    QGUI_OPEN_CALL_SCOPE(0);
    return m_pScriptSystem ? m_pScriptSystem->FetchColourBySet(key, set) : 0;
}

bool CQGUI::TryFetchColourBySet(const char* key, int set, uint32_t& colour)
{
    colour = 0;
    QGUI_OPEN_CALL_SCOPE(false);
    return m_pScriptSystem && m_pScriptSystem->TryFetchColourBySet(key, set, colour);
}

int CQGUI::CallScriptGlobalNumberString(const char* name, int value, const char* text)
{
    QGUI_OPEN_CALL_SCOPE(-1);
    if (!m_pScriptSystem)
        return -1;
    std::string keep;
    return m_pScriptSystem->CallGlobalNumberString(name, static_cast<unsigned int>(value),
                                                   ToScript(text, keep));
}

const char* CQGUI::CallScriptGlobal2Strings(const char* name, const char* a, const char* b)
{
    QGUI_OPEN_CALL_SCOPE("");
    static std::string result;
    return CallForText(m_pScriptSystem, name, a, b, nullptr, 0, result);
}

const char* CQGUI::CallScriptGlobal2Strings2Numbers(const char* name, const char* a,
                                                    const char* b, int n1, int n2)
{
    QGUI_OPEN_CALL_SCOPE("");
    static std::string result;
    const unsigned int numbers[2] = {static_cast<unsigned int>(n1), static_cast<unsigned int>(n2)};
    return CallForText(m_pScriptSystem, name, a, b, numbers, 2, result);
}

double CQGUI::CallScriptGlobalStringNumber(const char* name, const char* s, int value)
{
    QGUI_OPEN_CALL_SCOPE(-1.0);
    if (!m_pScriptSystem)
        return -1.0;
    std::string keep;
    return m_pScriptSystem->CallGlobalStringNumber(name, ToScript(s, keep), value);
}

int CQGUI::CallScriptGlobal2Strings4Numbers(const char* name, const char* a, const char* b,
                                            int n1, int n2, int n3, int n4)
{
    QGUI_OPEN_CALL_SCOPE(-1);
    if (!m_pScriptSystem)
        return -1;
    std::string keepA, keepB;
    return m_pScriptSystem->CallGlobal2Strings4Numbers(name, ToScript(a, keepA),
                                                       ToScript(b, keepB), n1, n2, n3, n4);
}

int CQGUI::CallScriptFunction(const char* name, const char* format, ...)
{
    QGUI_OPEN_CALL_SCOPE(-1);
    if (!m_pScriptSystem || !name)
        return -1;
    lua_State* L = m_pScriptSystem->GetLuaState();
    const int top = lua_gettop(L);
    if (!ScriptSupport::PushGlobal(L, name) || !lua_isfunction(L, -1))
    {
        lua_settop(L, top);
        CScriptSystem::LogError("%s' as name not represent a global Lua function", name);
        return -1;
    }

    va_list args;
    va_start(args, format);
    int count = 0;
    for (const char* f = format ? format : ""; *f; ++f)
    {
        if (*f != '%')
            continue;
        if (!f[1])
            break;
        ++f;
        switch (*f)
        {
        case 'd':
            lua_pushnumber(L, va_arg(args, int));
            ++count;
            break;
        case 's':
        {
            std::string keep;
            lua_pushstring(L, ToScript(va_arg(args, const char*), keep));
            ++count;
            break;
        }
        case 'b':
            lua_pushnumber(L, static_cast<unsigned char>(va_arg(args, int)));
            ++count;
            break;
        case 'w':
            lua_pushnumber(L, static_cast<uint16_t>(va_arg(args, int)));
            ++count;
            break;
        default:
            break;
        }
    }
    va_end(args);

    if (ProtectedLuaCall(L, count, 1, 0) != 0)
    {
        s_Debugger.LogLuaError(L);
        lua_settop(L, top);
        return -1;
    }
    if (!lua_isnumber(L, -1))
    {
        lua_settop(L, top);
        CScriptSystem::LogError("%s' return value as it's not a number", name);
        return -1;
    }
    const int result = ScriptSupport::ToInt32(lua_tonumber(L, -1));
    lua_settop(L, top);
    return result;
}

void CQGUI::ManipulateHTMLWindow(int a, int b, int c)
{
    QGUI_OPEN_CALL_SCOPE();
    try
    {
        CallScriptFunction("gFn_manipulate_HTML_window", "%d%d%d", a, b, c);
    }
    catch (...)
    {
    }
}
} // namespace QGUI
