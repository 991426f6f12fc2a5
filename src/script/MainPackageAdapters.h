// The module's side of the main script package: functions bound in place of
// a member where the member alone would not be safe from a script, and the
// allocation hooks of the generated binding.
//
// tolua lets nil through its string and user-type checks as a null pointer,
// so every function here treats null as invalid input. KeyValues trees a
// script owns are freed by the garbage collector; when the module takes such
// a tree (an accepted message, deleteThis), the script's ownership is dropped
// first so the tree is not freed twice.
//
// Every object goes to the scripts through ScriptObjects, which kills the
// scripts' references when the module frees or takes the object. The
// functions that change who owns a KeyValues node keep its rules: only a
// root (a node no other node owns) may be deleted, linked as a peer or
// handed to a receiver, and no tree is linked into itself. A script that
// breaks a rule gets a script error naming the function.
#pragma once

#include <type_traits>

extern "C" {
#include <lua.h>
}

#include "IQGUI.h"
#include "KeyValues.h"
#include "script/ScriptObjects.h"
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
// The wide text of a key, given to the script as a UTF-8 string (what the
// key holds is converted and stored back as the tree's GetWString does). A
// missing key, or one whose text does not convert, gives the default (the
// empty text for nil). The text stays valid until the next call.
const char* GetWString(KeyValues* self, const char* keyName, const char* defaultValue);
// Stores a UTF-8 string as the key's wide text. The "wchar_t" form takes
// the tree's own UTF-16 texts; nil stores the empty wide text.
void SetWString(KeyValues* self, const char* keyName, const char* value);
void SetWString(KeyValues* self, const char* keyName, const wchar_t* value);
// Nothing without a buffer.
void RecursiveSaveToFile(KeyValues* self, CUtlBuffer* buffer, int indentLevel);
// Destroys a root and its tree; a tree the script owned leaves the
// collector first. A member is refused.
void deleteThis(KeyValues* self, lua_State* L);
// Cuts a sub-key of this node out of its list; it becomes a root the script
// deletes. A node that is no sub-key of this one is left as it is.
void RemoveSubKey(KeyValues* self, KeyValues* subKey);
// Links a root as this node's next peer: this node's tree owns it from now
// on (the script's collector no longer does). The peer this node had, cut
// off, becomes a root. Refused: a member, this node itself, and a root
// whose tree holds this node. Nil cuts the old peer off.
void SetNextKey(KeyValues* self, KeyValues* peer, lua_State* L);
// Chains a tree, followed so that the chain goes when that tree is freed.
void ChainKeyValue(KeyValues* self, KeyValues* chain);
// A copy the script owns and deletes (a root).
KeyValues* MakeCopy(KeyValues* self);

// --- the main object -------------------------------------------------------

// True when the module took the message (a parser consumed it, or the
// engine client accepted it): the script's references to it are dead then.
// False leaves it the script's. A null message is refused; a member is a
// script error.
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
    {
        return NewHandle();
    }
    else
    {
        T* object = new T(ToModuleArg(args)...);
        if constexpr (std::is_same<T, KeyValues>::value)
            ScriptObjects::AdoptRoot(object);
        return object;
    }
}

// "delete" and the collectors. Each drops the script's ownership first, so
// an object deleted by hand is not collected again.
void Delete(lua_State* L, KeyValues* node);
void Delete(lua_State* L, HandleBase* handle);
// Panels belong to the main object's pool, which reuses their memory: the
// script's "delete" (and a collector, should a script take ownership of a
// panel) releases the panel through the pool as ReleasePanel does.
void Delete(lua_State* L, IPanel* panel);

// A script number on its way into a C++ parameter: an int drops the fraction
// toward zero, and NaN or a value outside the int range gives INT_MIN
// instead of an undefined conversion. An unsigned takes every whole number
// up to 4294967295 as it is and any other value as the int rule gives it,
// in two's complement (-1 is 4294967295).
struct ScriptNumber
{
    lua_Number value;
    explicit operator int() const { return ScriptSupport::ToInt32(value); }
    explicit operator unsigned int() const
    {
        return value >= 0.0 && value < 4294967296.0 ? static_cast<unsigned int>(value)
                                                    : static_cast<unsigned int>(ScriptSupport::ToInt32(value));
    }
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
// Every object reaches the scripts through the records of ScriptObjects.
#define tolua_pushusertype(L, value, type) ::QGUI::ScriptObjects::Push(L, value, type)
// The binding converts numbers with casts: (int) tolua_tonumber(...).
#define tolua_tonumber(L, narg, def) \
    ::QGUI::MainPackageAdapters::ScriptNumber { tolua_tonumber(L, narg, def) }
#endif
