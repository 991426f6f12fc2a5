#include "script/ScriptSystem.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>

#include <CEGUI/Exceptions.h>
#include <CEGUI/PropertyHelper.h>
#include <CEGUI/System.h>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
#include <lualib.h>
}

#include "KeyValues.h"
#include "script/LuaScriptModule.h"
#include "script/ScriptSupport.h"

using QGUI::ScriptSupport::PushGlobal;
using QGUI::ScriptSupport::ToInt32;
using QGUI::ScriptSupport::Utf8ToString;

namespace
{
const char* OrNull(const char* text)
{
    return text ? text : "(null)";
}

// The debugger that belongs to the script system. Reached through a
// function so that it exists whenever the script system does, whatever the
// order in which the library's static objects are built.
CLuaDebugger& ScriptDebugger()
{
    static CLuaDebugger debugger;
    return debugger;
}

int (*g_openMainScriptPackage)(lua_State*) = nullptr;

void PushText(lua_State* L, const char* text)
{
    if (text)
        lua_pushstring(L, text);
    else
        lua_pushnil(L);
}

void PushText(lua_State* L, QGUI::ScriptText text)
{
    if (text.text)
        lua_pushlstring(L, text.text, text.length);
    else
        lua_pushnil(L);
}

QGUI::ScriptText TextOf(const char* text)
{
    return QGUI::ScriptText{text, text ? std::strlen(text) : 0};
}

void LogText(CEGUI::LoggingLevel level, const CEGUI::String& text)
{
    try
    {
        if (CEGUI::Logger* logger = CEGUI::Logger::getSingletonPtr())
            logger->logEvent(text, level);
    }
    catch (...)
    {
        // Logging never fails its caller.
    }
}
} // namespace

// ---------------------------------------------------------------------------
// CLuaDebugger

CLuaDebugger::CLuaDebugger() : m_nHookCount(10)
{
}

CLuaDebugger::~CLuaDebugger()
{
}

void CLuaDebugger::InstallHook(lua_State* L)
{
    if (L)
        lua_sethook(L, &CLuaDebugger::Hook, 0, m_nHookCount);
}

// Only an error that converts to text (a string or a number) is logged; a
// table, nil or other error object leaves no line.
void CLuaDebugger::LogLuaError(lua_State* L)
{
    if (!L || lua_gettop(L) == 0 || !lua_isstring(L, -1))
        return;
    QGUI::CScriptSystem::LogError("Error: %s\n", lua_tostring(L, -1));
}

void CLuaDebugger::Hook(lua_State* L, lua_Debug* ar)
{
    switch (ar->event)
    {
    case LUA_HOOKCALL:
        DumpCallStack(L);
        break;
    case LUA_HOOKLINE:
    case LUA_HOOKCOUNT:
        TraceLine(L);
        break;
    default:
        break;
    }
}

void CLuaDebugger::DumpCallStack(lua_State* L)
{
    QGUI::CScriptSystem::LogError("---- Call Stack ----\n");
    lua_Debug ar;
    for (int level = 0; lua_getstack(L, level, &ar); ++level)
    {
        if (lua_getinfo(L, "Snlu", &ar))
            QGUI::CScriptSystem::LogError("%d %s %s %d @%d %s\n", level, OrNull(ar.namewhat),
                                          OrNull(ar.name), ar.nups, ar.linedefined,
                                          ar.short_src);
    }
}

void CLuaDebugger::TraceLine(lua_State* L)
{
    lua_Debug ar;
    if (lua_getstack(L, 0, &ar) && lua_getinfo(L, "Sl", &ar))
        QGUI::CScriptSystem::LogError("exe %s on line %d\n", ar.short_src, ar.currentline);
}

int CLuaDebugger::LuaTrace(lua_State* L)
{
    const char* text = lua_tostring(L, 1);
    lua_Debug ar;
    std::memset(&ar, 0, sizeof(ar));
    if (lua_getstack(L, 1, &ar))
        lua_getinfo(L, "Snl", &ar);
    QGUI::CScriptSystem::LogError("script: %s -- at %s(%d)\n", OrNull(text), OrNull(ar.source),
                                  ar.currentline);
    return 0;
}

int CLuaDebugger::LuaPanic(lua_State* L)
{
    const char* text = lua_gettop(L) > 0 ? lua_tostring(L, -1) : nullptr;
    lua_Debug ar;
    std::memset(&ar, 0, sizeof(ar));
    if (lua_getstack(L, 1, &ar))
        lua_getinfo(L, "Snl", &ar);
    QGUI::CScriptSystem::LogError("script: %s -- at %s(%d)\n", OrNull(text), OrNull(ar.source),
                                  ar.currentline);
    return 0;
}

namespace QGUI
{
// ---------------------------------------------------------------------------
// Construction

CScriptSystem::CScriptSystem() : m_pLuaState(luaL_newstate())
{
    lua_State* L = m_pLuaState;
    if (!L)
        return;
    static const lua_CFunction kLibraries[] = {luaopen_base,   luaopen_package, luaopen_table,
                                               luaopen_io,     luaopen_os,      luaopen_string,
                                               luaopen_math};
    for (lua_CFunction open : kLibraries)
        lua_cpcall(L, open, nullptr);
    ScriptDebugger().InstallHook(L);
    lua_register(L, "trace", &CLuaDebugger::LuaTrace);
    lua_atpanic(L, &CLuaDebugger::LuaPanic);
}

CScriptSystem::~CScriptSystem()
{
    if (m_pLuaState)
    {
        lua_close(m_pLuaState);
        m_pLuaState = nullptr;
    }
}

lua_State* CScriptSystem::GetLuaState()
{
    return m_pLuaState;
}

void CScriptSystem::SetMainScriptPackage(int (*open)(lua_State*))
{
    g_openMainScriptPackage = open;
}

// ---------------------------------------------------------------------------
// Logging

int CScriptSystem::LogError(const char* format, ...)
{
    if (!format || !*format)
        return 0;
    char buffer[ScriptSupport::kMaxLogText + 1];
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(buffer, sizeof(buffer), format, args);
    va_end(args);
    if (written < 0)
        return 0;
    try
    {
        // A cut in the middle of a UTF-8 sequence decodes as one
        // replacement character.
        LogText(CEGUI::Errors, CEGUI::String("ScriptError: ") + Utf8ToString(buffer));
    }
    catch (...)
    {
    }
    return 0;
}

void CScriptSystem::LogMessage(CEGUI::LoggingLevel level, const CEGUI::String& text)
{
    try
    {
        LogText(level, CEGUI::String("ScriptError: ") + text);
    }
    catch (...)
    {
    }
}

// ---------------------------------------------------------------------------
// Calls of script globals

template <class Push>
bool CScriptSystem::CallGlobal(const char* name, int nargs, int top, Push push)
{
    lua_State* L = m_pLuaState;
    if (!PushGlobal(L, name))
    {
        ScriptDebugger().LogLuaError(L);
        lua_settop(L, top);
        return false;
    }
    if (!lua_isfunction(L, -1))
    {
        lua_settop(L, top);
        LogError("%s' as name not represent a global Lua function", OrNull(name));
        return false;
    }
    push(L);
    if (ProtectedLuaCall(L, nargs, 1, 0) != 0)
    {
        ScriptDebugger().LogLuaError(L);
        lua_settop(L, top);
        return false;
    }
    return true;
}

bool CScriptSystem::ResultIsNumber(const char* name, int top)
{
    if (lua_isnumber(m_pLuaState, -1))
        return true;
    lua_settop(m_pLuaState, top);
    LogError("%s' return value as it's not a number", OrNull(name));
    return false;
}

bool CScriptSystem::ResultIsString(const char* name, int top)
{
    if (lua_isstring(m_pLuaState, -1))
        return true;
    lua_settop(m_pLuaState, top);
    LogError("%s' return value as it's not a string", OrNull(name));
    return false;
}

int CScriptSystem::CallGlobalNumber(const char* name, int value)
{
    lua_State* L = m_pLuaState;
    if (!L)
        return -1;
    const int top = lua_gettop(L);
    if (!CallGlobal(name, 1, top, [value](lua_State* S) {
            lua_pushnumber(S, static_cast<lua_Number>(value));
        }))
        return -1;
    if (!ResultIsNumber(name, top))
        return -1;
    const int result = ToInt32(lua_tonumber(L, -1));
    lua_settop(L, top);
    return result;
}

int CScriptSystem::CallGlobalNumberString(const char* name, unsigned int value, const char* text)
{
    lua_State* L = m_pLuaState;
    if (!L)
        return -1;
    const int top = lua_gettop(L);
    if (!CallGlobal(name, 2, top, [value, text](lua_State* S) {
            lua_pushnumber(S, static_cast<lua_Number>(static_cast<uint32_t>(value)));
            PushText(S, text);
        }))
        return -1;
    if (!ResultIsNumber(name, top))
        return -1;
    const int result = ToInt32(lua_tonumber(L, -1));
    lua_settop(L, top);
    return result;
}

const char* CScriptSystem::CallGlobal2Strings(const char* name, const char* a, const char* b)
{
    if (!CallGlobal2Strings2Numbers(name, TextOf(a), TextOf(b), nullptr, 0, m_TwoStringsResult))
        return "";
    return m_TwoStringsResult.c_str();
}

const char* CScriptSystem::CallGlobal2Strings2Numbers(const char* name, const char* a,
                                                      const char* b, unsigned int n1,
                                                      unsigned int n2)
{
    const unsigned int numbers[2] = {n1, n2};
    if (!CallGlobal2Strings2Numbers(name, TextOf(a), TextOf(b), numbers, 2,
                                    m_TwoStringsTwoNumbersResult))
        return "";
    return m_TwoStringsTwoNumbersResult.c_str();
}

bool CScriptSystem::CallGlobal2Strings2Numbers(const char* name, ScriptText a, ScriptText b,
                                               const unsigned int* numbers, int count,
                                               std::string& result)
{
    result.clear();
    lua_State* L = m_pLuaState;
    if (!L)
        return false;
    const int top = lua_gettop(L);
    if (!CallGlobal(name, 2 + count, top, [a, b, numbers, count](lua_State* S) {
            PushText(S, a);
            PushText(S, b);
            for (int i = 0; i < count; ++i)
                lua_pushnumber(S, static_cast<lua_Number>(static_cast<uint32_t>(numbers[i])));
        }))
        return false;
    if (!ResultIsString(name, top))
        return false;
    size_t length = 0;
    const char* text = lua_tolstring(L, -1, &length);
    result.assign(text, length);
    lua_settop(L, top);
    return true;
}

int CScriptSystem::CallGlobal2Strings4Numbers(const char* name, const char* a, const char* b,
                                              int n1, int n2, int n3, int n4)
{
    lua_State* L = m_pLuaState;
    if (!L)
        return -1;
    const int top = lua_gettop(L);
    if (!CallGlobal(name, 6, top, [a, b, n1, n2, n3, n4](lua_State* S) {
            PushText(S, a);
            PushText(S, b);
            lua_pushnumber(S, static_cast<lua_Number>(n1));
            lua_pushnumber(S, static_cast<lua_Number>(n2));
            lua_pushnumber(S, static_cast<lua_Number>(n3));
            lua_pushnumber(S, static_cast<lua_Number>(n4));
        }))
        return -1;
    if (!ResultIsNumber(name, top))
        return -1;
    const int result = ToInt32(lua_tonumber(L, -1));
    lua_settop(L, top);
    return result;
}

const char* CScriptSystem::CallGlobalNumberToString(const char* name, unsigned int value)
{
    lua_State* L = m_pLuaState;
    if (!L)
        return "";
    const int top = lua_gettop(L);
    // No type test: a global that is no function fails as a call error.
    if (!PushGlobal(L, name))
    {
        ScriptDebugger().LogLuaError(L);
        lua_settop(L, top);
        return "";
    }
    lua_pushnumber(L, static_cast<lua_Number>(static_cast<uint32_t>(value)));
    if (ProtectedLuaCall(L, 1, 1, 0) != 0)
    {
        ScriptDebugger().LogLuaError(L);
        lua_settop(L, top);
        return "";
    }
    size_t length = 0;
    const char* text = lua_tolstring(L, -1, &length);
    if (text)
        m_NumberToStringResult.assign(text, length);
    lua_settop(L, top);
    return text ? m_NumberToStringResult.c_str() : nullptr;
}

// ---------------------------------------------------------------------------
// Calls made without a type test (the fetch family and two others). They
// run protected: a missing global or a script error is logged and gives the
// operation's default.

namespace
{
// Calls the function that sits below its nargs arguments, one result.
bool CallUnchecked(lua_State* L, int nargs, int top)
{
    if (ProtectedLuaCall(L, nargs, 1, 0) != 0)
    {
        ScriptDebugger().LogLuaError(L);
        lua_settop(L, top);
        return false;
    }
    return true;
}

bool PushGlobalOrLog(lua_State* L, const char* name, int top)
{
    if (PushGlobal(L, name))
        return true;
    ScriptDebugger().LogLuaError(L);
    lua_settop(L, top);
    return false;
}
} // namespace

bool CScriptSystem::FetchText(const char* global, const char* key, const int* index,
                              std::string& out)
{
    lua_State* L = m_pLuaState;
    if (!L)
        return false;
    const int top = lua_gettop(L);
    if (!PushGlobalOrLog(L, global, top))
        return false;
    lua_pushstring(L, key ? key : "");
    if (index)
        lua_pushnumber(L, static_cast<lua_Number>(*index));
    if (!CallUnchecked(L, index ? 2 : 1, top))
        return false;
    size_t length = 0;
    const char* text = lua_tolstring(L, -1, &length);
    if (text)
        out.assign(text, length);
    lua_settop(L, top);
    return text != nullptr;
}

const char* CScriptSystem::FetchString(const char* key)
{
    if (!FetchText("FetchStringFn", key, nullptr, m_FetchStringResult))
        return nullptr;
    return m_FetchStringResult.c_str();
}

double CScriptSystem::FetchNumber(const char* key)
{
    lua_State* L = m_pLuaState;
    if (!L)
        return 0.0;
    const int top = lua_gettop(L);
    if (!PushGlobalOrLog(L, "FetchNumberFn", top))
        return 0.0;
    lua_pushstring(L, key ? key : "");
    if (!CallUnchecked(L, 1, top))
        return 0.0;
    const double result = lua_tonumber(L, -1);
    lua_settop(L, top);
    return result;
}

namespace
{
uint32_t ColourOf(const std::string& text)
{
    return CEGUI::PropertyHelper<CEGUI::Colour>::fromString(Utf8ToString(text.c_str(),
                                                                         text.size()))
        .getARGB();
}
} // namespace

uint32_t CScriptSystem::FetchColour(const char* key)
{
    if (!FetchText("FetchColourFn", key, nullptr, m_ColourText))
        m_ColourText.clear();
    return ColourOf(m_ColourText);
}

uint32_t CScriptSystem::FetchColourBySet(const char* key, int index)
{
    uint32_t colour = 0;
    TryFetchColourBySet(key, index, colour);
    return colour;
}

bool CScriptSystem::TryFetchColourBySet(const char* key, int index, uint32_t& colour)
{
    const bool fetched = FetchText("FetchColourBySetFn", key, &index, m_ColourText);
    if (!fetched)
        m_ColourText.clear();
    colour = ColourOf(m_ColourText);
    return fetched;
}

double CScriptSystem::CallGlobalStringNumber(const char* name, const char* text, int value)
{
    lua_State* L = m_pLuaState;
    if (!L)
        return 0.0;
    const int top = lua_gettop(L);
    if (!PushGlobalOrLog(L, name, top))
        return 0.0;
    PushText(L, text);
    lua_pushnumber(L, static_cast<lua_Number>(value));
    if (!CallUnchecked(L, 2, top))
        return 0.0;
    const double result = lua_tonumber(L, -1);
    lua_settop(L, top);
    return result;
}

void CScriptSystem::PreloadTexts(CEGUI::Font* font)
{
    lua_State* L = m_pLuaState;
    if (!L)
        return;
    const int top = lua_gettop(L);
    if (!PushGlobalOrLog(L, "preload_texts", top))
        return;
    ScriptSupport::PushUserType(L, font, "CEGUI::Font");
    CallUnchecked(L, 1, top);
    lua_settop(L, top);
}

// ---------------------------------------------------------------------------
// Script files and script globals through the GUI library

bool CScriptSystem::ExecuteScriptFile(const char* file)
{
    if (!file)
        return false;
    try
    {
        // The module's script module tells whether the file was found and
        // ran.
        CEGUI::System* system = CEGUI::System::getSingletonPtr();
        auto* module = system ? dynamic_cast<LuaScriptModule*>(system->getScriptingModule()) : nullptr;
        if (!module)
        {
            LogError("%s' cannot run before the GUI system and its script module exist", file);
            return false;
        }
        return module->runScriptFile(Utf8ToString(file), "");
    }
    catch (const CEGUI::Exception& e)
    {
        LogMessage(CEGUI::Errors, e.getMessage());
    }
    catch (const std::exception& e)
    {
        LogError("%s", e.what());
    }
    return false;
}

int CScriptSystem::ExecuteScriptGlobal(const char* name)
{
    lua_State* L = m_pLuaState;
    if (!L)
        return 1;
    const int top = lua_gettop(L);
    if (!PushGlobalOrLog(L, name, top))
        return 1;
    if (!lua_isfunction(L, -1))
    {
        lua_settop(L, top);
        LogMessage(CEGUI::Standard,
                   Utf8ToString(OrNull(name)) + "' as name not represent a global Lua function");
        return 1;
    }
    int result = 1;
    try
    {
        if (CEGUI::System* system = CEGUI::System::getSingletonPtr())
            result = system->executeScriptGlobal(Utf8ToString(name));
        else
            LogError("%s' cannot run before the GUI system exists", name);
    }
    catch (const CEGUI::Exception& e)
    {
        LogMessage(CEGUI::Errors, e.getMessage());
        result = 1;
    }
    catch (const std::exception& e)
    {
        LogError("%s", e.what());
        result = 1;
    }
    lua_settop(L, top);
    return result;
}

// ---------------------------------------------------------------------------
// Start-up and messages

bool CScriptSystem::Init(CreateInterfaceFn* factories, int count)
{
    (void)factories;
    (void)count;
    if (m_pLuaState)
    {
        if (g_openMainScriptPackage)
            OpenLuaPackage(m_pLuaState, g_openMainScriptPackage);
        // Also covers a package opened before without the guard.
        GuardLuaBindings(m_pLuaState);
    }
    ParserFactory updateTitle = {&KEYVAL_PARSER::CUpdateTitleParser::Create,
                                 &KEYVAL_PARSER::CUpdateTitleParser::Destroy};
    RegisterParser(KEYVAL_PARSER::kUpdateTitleMessage, updateTitle);
    return true;
}

bool CScriptSystem::RegisterParser(const char* messageName, const ParserFactory& factory)
{
    if (!messageName || !factory.creator)
        return false;
    return m_Parsers.emplace(messageName, factory).second;
}

bool CScriptSystem::DispatchKeyVal(KeyValues* message)
{
    return DispatchKeyVal(message, nullptr);
}

bool CScriptSystem::DispatchKeyVal(KeyValues* message, bool* taken)
{
    if (taken)
        *taken = false;
    if (!message)
        return false;
    const char* name = message->GetName();
    if (!name)
        return false;
    const auto found = m_Parsers.find(name);
    if (found == m_Parsers.end())
        return false;
    IKeyValueParser* created = found->second.creator(message);
    if (!created)
        return false; // the message stays with the caller
    if (taken)
        *taken = true;
    // The parser owns the message now; both go when the dispatch ends, also
    // when a parser throws.
    std::unique_ptr<IKeyValueParser> parser(created);
    bool handled = false;
    if (parser->CanHandle())
    {
        parser->Handle();
        handled = true;
    }
    return handled;
}

bool CScriptSystem::RecvKeyVal(KeyValues* message)
{
    return DispatchKeyVal(message);
}
} // namespace QGUI
