// The module's script system: the one Lua state, calls of script globals
// with typed arguments and results, the fetch calls of localised texts,
// numbers and colours, and the dispatch of game messages to the parsers
// registered under their names. Also the debugger that hooks the state and
// writes script errors to the log.
#pragma once

#include "core/ModuleMemory.h"
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <string>

#include <CEGUI/Logger.h>
#include <CEGUI/String.h>

#include "interface.h"
#include "script/KeyValueParser.h"

struct lua_State;
struct lua_Debug;
class KeyValues;

namespace CEGUI { class Font; }


// Hooks a Lua state for tracing and writes script errors to the log.
class CLuaDebugger
{
public:
    CLuaDebugger();
    virtual ~CLuaDebugger();

    // Installs Hook with no event mask and the instruction count of this
    // debugger: the hook stays inactive until a mask is set.
    void InstallHook(lua_State* L);
    // Logs the error on top of the stack as "Error: <text>\n" when it
    // converts to text; any other error object is not logged.
    void LogLuaError(lua_State* L);

    static void Hook(lua_State* L, lua_Debug* ar);
    static void DumpCallStack(lua_State* L);
    static void TraceLine(lua_State* L);
    // The script global "trace": logs its argument with the caller's source
    // and line.
    static int LuaTrace(lua_State* L);
    // The state's panic function: logs the error on top of the stack.
    static int LuaPanic(lua_State* L);

    int GetHookCount() const { return m_nHookCount; }

private:
    int32_t m_nHookCount;
};

namespace QGUI
{
// A text argument of a call into the scripts, with its length; a null text
// is passed as nil.
struct ScriptText
{
    const char* text;
    size_t length;
};

class CScriptSystem : public CModuleObject
{
public:
    // Creator and deleter of the parser registered under a message name.
    struct ParserFactory
    {
        IKeyValueParser* (*creator)(KeyValues*);
        void (*deleter)(IKeyValueParser*);
    };

    CScriptSystem();
    virtual ~CScriptSystem();

    virtual lua_State* GetLuaState();
    // Runs a script file of the default script resource group. False for a
    // null name, a file not found and a script that failed (each logged).
    virtual bool ExecuteScriptFile(const char* file);
    // Runs a global function without arguments through the GUI library's
    // script module: its number result; 1 when the name is no function.
    virtual int ExecuteScriptGlobal(const char* name);
    virtual int CallGlobalNumber(const char* name, int value);
    // Opens the second script package, guards every bound function on the
    // state, and registers the message parsers.
    virtual bool Init(CreateInterfaceFn* factories, int count);
    // Hands the message to the parser registered under its name; true when
    // that parser handled it. A message that finds a parser is destroyed with
    // the parser; one without a parser stays its caller's.
    virtual bool DispatchKeyVal(KeyValues* message);
    virtual bool RecvKeyVal(KeyValues* message);
    // "FetchStringFn"(key); null when the script gives no text.
    virtual const char* FetchString(const char* key);
    // "FetchNumberFn"(key); 0 when the script gives no number.
    virtual double FetchNumber(const char* key);
    virtual const char* CallGlobalNumberToString(const char* name, unsigned int value);
    // "preload_texts"(font).
    virtual void PreloadTexts(CEGUI::Font* font);
    virtual int CallGlobalNumberString(const char* name, unsigned int value, const char* text);
    virtual const char* CallGlobal2Strings(const char* name, const char* a, const char* b);
    virtual const char* CallGlobal2Strings2Numbers(const char* name, const char* a,
                                                   const char* b, unsigned int n1,
                                                   unsigned int n2);
    // "FetchColourFn"(key) as packed ARGB.
    virtual uint32_t FetchColour(const char* key);
    virtual double CallGlobalStringNumber(const char* name, const char* text, int value);
    virtual int CallGlobal2Strings4Numbers(const char* name, const char* a, const char* b,
                                           int n1, int n2, int n3, int n4);
    // "FetchColourBySetFn"(key, index) as packed ARGB.
    virtual uint32_t FetchColourBySet(const char* key, int index);
    // The same, false when the fetch gave no text (the global is missing,
    // fails or answers no text); colour is then the colour of no text.
    bool TryFetchColourBySet(const char* key, int index, uint32_t& colour);

    // CallGlobal2Strings2Numbers (with numbers) and CallGlobal2Strings
    // (without) for texts of known length: the text result goes into result,
    // which is emptied when the call fails. False on failure.
    bool CallGlobal2Strings2Numbers(const char* name, ScriptText a, ScriptText b,
                                    const unsigned int* numbers, int count, std::string& result);

    // As DispatchKeyVal; taken (when given) tells whether the message was
    // destroyed, so a caller that shares ownership with the scripts can
    // release its claim.
    bool DispatchKeyVal(KeyValues* message, bool* taken);

    // Inserts a parser factory under a message name; false (and the
    // existing record kept) when the name is present.
    bool RegisterParser(const char* messageName, const ParserFactory& factory);

    // The opener of the second script package, called by Init. Set by the
    // code that builds the package; while unset Init opens none.
    static void SetMainScriptPackage(int (*open)(lua_State*));

    // Logs "ScriptError: " + the formatted text (cut to 1,023 bytes) at
    // error level; a null or empty format logs nothing. Returns 0.
    static int LogError(const char* format, ...)
#if defined(__GNUC__)
        __attribute__((format(printf, 1, 2)))
#endif
        ;
    // Logs "ScriptError: " + text at the given level.
    static void LogMessage(CEGUI::LoggingLevel level, const CEGUI::String& text);

private:
    CScriptSystem(const CScriptSystem&) = delete;
    CScriptSystem& operator=(const CScriptSystem&) = delete;

    // The protected call of a global: the looked-up function is checked,
    // nargs arguments pushed by push() are passed, one result is left on the
    // stack on success. top is the stack top on entry.
    template <class Push>
    bool CallGlobal(const char* name, int nargs, int top, Push push);
    bool ResultIsNumber(const char* name, int top);
    bool ResultIsString(const char* name, int top);
    bool FetchText(const char* global, const char* key, const int* index, std::string& out);

    lua_State* m_pLuaState;
    std::map<std::string, ParserFactory, std::less<>> m_Parsers;

    // Text results, each kept until the next call of its operation.
    std::string m_FetchStringResult;
    std::string m_NumberToStringResult;
    std::string m_TwoStringsResult;
    std::string m_TwoStringsTwoNumbersResult;
    std::string m_ColourText;
};
} // namespace QGUI
