// Small helpers shared by the script system and the script module: safe
// text conversion into the GUI library's strings, protected look-ups of
// script globals and handler names, and the number conversion rule.
#pragma once

#include <cstddef>

#include <CEGUI/String.h>

extern "C" {
#include <lua.h>
}

namespace QGUI
{
namespace ScriptSupport
{
// Script texts written to the log (error texts, chunk texts, names from the
// scripts) are cut to this many bytes, so a script cannot fill the log with
// one huge error.
constexpr size_t kMaxLogText = 1023;

// Builds a GUI-library string from UTF-8 bytes, through the module's
// checked decoder (StringFromUtf8, render/GuiString.h): each byte that
// starts no well-formed sequence becomes U+FFFD instead of being read past
// (the library's own decoder trusts its input).
CEGUI::String Utf8ToString(const char* text, size_t length);
CEGUI::String Utf8ToString(const char* text);

// The text of the error value at idx, or a fixed text when the value is not
// a string or a number.
const char* ErrorText(lua_State* L, int idx);
// The error text at idx as it goes to the log: cut to kMaxLogText bytes (a
// sequence cut in two ends as one replacement character).
CEGUI::String LogErrorText(lua_State* L, int idx);
// UTF-8 text, or a GUI-library string, cut for the log the same way.
CEGUI::String LogText(const char* text, size_t length);
CEGUI::String LogText(const CEGUI::String& text);

// Converts a script number to a 32-bit integer by dropping the fraction;
// NaN and values outside the int32 range give INT_MIN.
int ToInt32(lua_Number value);

// Pushes the global called name. A plain globals table is read directly;
// when the globals table has a metatable the look-up runs protected, so an
// erroring __index cannot reach the panic function. On such an error the
// error value is pushed instead and false is returned. Always pushes one
// value.
bool PushGlobal(lua_State* L, const char* name);

// Pushes the function a handler name stands for: a name without "." is a
// global; with dots, each part after the first is looked up in the table
// the previous part gave. Runs protected. On success pushes the function and
// returns true; on failure pushes the error message and returns false.
bool PushNamedFunction(lua_State* L, const char* name, size_t length);

// Pushes ptr as a tolua user type of the given type, or nil when the pointer
// is null or the type is not registered on the state. Always pushes one
// value.
void PushUserType(lua_State* L, const void* ptr, const char* type);
} // namespace ScriptSupport
} // namespace QGUI
