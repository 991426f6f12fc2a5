// The module's side of the main script package: functions bound in place of
// a member where the member alone would not be safe from a script, and the
// allocation hooks of the generated binding.
//
// tolua lets nil through its string and user-type checks as a null pointer,
// so every function here treats null as invalid input. KeyValues trees a
// script owns are freed by the garbage collector; when the module takes such
// a tree (an accepted message, deleteThis), the script's ownership is dropped
// first so the tree is not freed twice.
#pragma once

#include <type_traits>

extern "C" {
#include <lua.h>
}

#include "IQGUI.h"
#include "KeyValues.h"
#include "script/ScriptSupport.h"

class CUtlBuffer;

namespace QGUI
{
class CQGUI;

namespace MainPackageAdapters
{
// Removes the object from tolua's table of objects the scripts own, so the
// garbage collector leaves it alone. Nothing happens for objects the scripts
// do not own.
void ReleaseScriptOwnership(lua_State* L, const void* object);
// Whether the scripts own the object (it is in tolua's table).
bool IsScriptOwned(lua_State* L, const void* object);

// --- KeyValues -------------------------------------------------------------

// False for a null text; otherwise the load.
bool LoadFromBuffer(KeyValues* self, const char* resourceName, const char* buffer,
                    IBaseFileSystem* fileSystem, const char* pathId);
// The scripts' "wchar_t" values are the trees' UTF-16 texts, passed through
// unread. A null default is the empty wide text.
const wchar_t* GetWString(KeyValues* self, const char* keyName, const wchar_t* defaultValue);
void SetWString(KeyValues* self, const char* keyName, const wchar_t* value);
// Nothing without a buffer.
void RecursiveSaveToFile(KeyValues* self, CUtlBuffer* buffer, int indentLevel);
// Destroys the tree; a tree the script owned leaves the collector first.
void deleteThis(KeyValues* self, lua_State* L);

// --- the main object -------------------------------------------------------

// True when the module took the message (a parser consumed it, or the
// engine client accepted it): the script no longer owns it then. False
// leaves it the script's. A null message is refused.
bool RecvKeyVal(CQGUI* self, KeyValues* message, lua_State* L);
bool SendKeyVal(CQGUI* self, KeyValues* message, lua_State* L);
bool IsStatusOn(const CQGUI* self, int status);

// --- allocation hooks of the generated binding ------------------------------

inline const char16_t* ToModuleArg(const wchar_t* text)
{
    return reinterpret_cast<const char16_t*>(text);
}
template <class Arg>
Arg ToModuleArg(Arg arg)
{
    return arg;
}

HandleBase* NewHandle();

// "new", "new_local" and the call form. KeyValues nodes come from their own
// allocator (the key-values system); handles from the module's pool.
template <class T, class... Args>
T* New(Args... args)
{
    if constexpr (sizeof...(Args) == 0 && std::is_same<T, HandleBase>::value)
        return NewHandle();
    else
        return new T(ToModuleArg(args)...);
}

// "delete" and the collectors. Each drops the script's ownership first, so
// an object deleted by hand is not collected again.
void Delete(lua_State* L, KeyValues* node);
void Delete(lua_State* L, HandleBase* handle);
// Panels belong to the main object's pool, which reuses their memory: the
// script's "delete" (and a collector, should a script take ownership of a
// panel) frees nothing and logs that panels are released with ReleasePanel.
void Delete(lua_State* L, IPanel* panel);

// A script number on its way into a C++ parameter: an int drops the fraction
// toward zero, and NaN or a value outside the int range gives INT_MIN
// instead of an undefined conversion.
struct ScriptNumber
{
    lua_Number value;
    explicit operator int() const { return ScriptSupport::ToInt32(value); }
    explicit operator float() const { return static_cast<float>(value); }
    explicit operator double() const { return value; }
};
} // namespace MainPackageAdapters
} // namespace QGUI

#if defined(QGUI_MAIN_PACKAGE_BINDING)
// Only the generated binding defines QGUI_MAIN_PACKAGE_BINDING; it has
// included tolua++.h already.

#include "core/QGUI.h"

// The adapters are called by their script names.
using namespace QGUI::MainPackageAdapters;

// The status constants of the "QGUI" module.
namespace QGUI
{
using ::QGUI_STATUS_ALT;
using ::QGUI_STATUS_CONTROL;
using ::QGUI_STATUS_LBUTTON;
using ::QGUI_STATUS_MBUTTON;
using ::QGUI_STATUS_MOUSE_OVER_UI;
using ::QGUI_STATUS_RBUTTON;
using ::QGUI_STATUS_SHIFT;
} // namespace QGUI

// The binding writes Mtolua_new((Type)(args)) and Mtolua_delete(object).
#undef Mtolua_new
#define Mtolua_new(EXP) QGUI_MAIN_PACKAGE_NEW EXP
#define QGUI_MAIN_PACKAGE_NEW(TYPE) ::QGUI::MainPackageAdapters::New<TYPE>
#undef Mtolua_delete
#define Mtolua_delete(EXP) ::QGUI::MainPackageAdapters::Delete(tolua_S, EXP)
// The binding converts numbers with casts: (int) tolua_tonumber(...).
#define tolua_tonumber(L, narg, def) \
    ::QGUI::MainPackageAdapters::ScriptNumber { tolua_tonumber(L, narg, def) }
#endif
