#include "script/MainPackageAdapters.h"

#include <new>
#include <stdexcept>
#include <string>

#include "codepage.h"

#include "core/ModuleMemory.h"
#include "core/QGUI.h"
#include "script/MainPackage.h"
#include "utlbuffer.h"

// The generated binding's opener.
int tolua_MainPackage_open(lua_State* tolua_S);

namespace QGUI
{
int OpenMainScriptPackage(lua_State* L)
{
    ScriptObjects::Attach(L);
    return tolua_MainPackage_open(L);
}

namespace MainPackageAdapters
{
namespace
{
// Pushes tolua's table of script-owned objects (pointer -> metatable), or
// nil before tolua was opened on the state.
void PushOwnedObjects(lua_State* L)
{
    lua_pushstring(L, "tolua_gc");
    lua_rawget(L, LUA_REGISTRYINDEX);
}

// A script that breaks a rule of the package: the guard of the bound
// functions turns the exception into a script error with this text.
[[noreturn]] void Refuse(const char* function, const char* why)
{
    throw std::runtime_error(std::string("error in function '") + function + "': " + why);
}

// Runs a hand-over of a tree to the module. When the module took it, the
// script's claim goes (and the main object killed the script's references).
// Should the call fail with an exception, whether the tree was taken is
// unknown: the claim goes too, since a tree kept by the script's collector
// that the module already destroyed would be freed twice, while the other
// way at worst leaks it.
template <class Call>
bool HandOver(lua_State* L, const char* function, KeyValues* message, Call call)
{
    if (!ScriptObjects::IsRoot(message))
        Refuse(function, "the message belongs to another tree; cut it out with RemoveSubKey first");
    bool taken = false;
    try
    {
        taken = call();
    }
    catch (...)
    {
        ReleaseScriptOwnership(L, message);
        throw;
    }
    if (taken)
        ReleaseScriptOwnership(L, message);
    return taken;
}
} // namespace

void ReleaseScriptOwnership(lua_State* L, const void* object)
{
    if (!L || !object)
        return;
    PushOwnedObjects(L);
    if (lua_istable(L, -1))
    {
        lua_pushlightuserdata(L, const_cast<void*>(object));
        lua_pushnil(L);
        lua_rawset(L, -3);
    }
    lua_pop(L, 1);
}

bool IsScriptOwned(lua_State* L, const void* object)
{
    if (!L || !object)
        return false;
    PushOwnedObjects(L);
    bool owned = false;
    if (lua_istable(L, -1))
    {
        lua_pushlightuserdata(L, const_cast<void*>(object));
        lua_rawget(L, -2);
        owned = !lua_isnil(L, -1);
        lua_pop(L, 1);
    }
    lua_pop(L, 1);
    return owned;
}

// ---------------------------------------------------------------------------
// KeyValues

bool LoadFromBuffer(KeyValues* self, const char* resourceName, const char* buffer,
                    IBaseFileSystem* fileSystem, const char* pathId)
{
    if (!buffer)
        return false;
    return self->LoadFromBuffer(resourceName, buffer, fileSystem, pathId);
}

const char* GetWString(KeyValues* self, const char* keyName, const char* defaultValue)
{
    static std::string text;
    const char* fallback = defaultValue ? defaultValue : "";
    const char16_t* wide = self->GetWString(keyName, nullptr);
    if (!wide)
        return fallback;
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return fallback;
    text.resize(static_cast<size_t>(size));
    if (WideCharToMultiByte(CP_UTF8, 0, wide, -1, &text[0], size, nullptr, nullptr) != size)
        return fallback;
    text.resize(static_cast<size_t>(size) - 1);
    return text.c_str();
}

void SetWString(KeyValues* self, const char* keyName, const char* value)
{
    std::u16string wide;
    const int units = value ? MultiByteToWideChar(CP_UTF8, 0, value, -1, nullptr, 0) : 0;
    if (units > 0)
    {
        wide.resize(static_cast<size_t>(units));
        if (MultiByteToWideChar(CP_UTF8, 0, value, -1, &wide[0], units) == units)
            wide.resize(static_cast<size_t>(units) - 1);
        else
            wide.clear();
    }
    self->SetWString(keyName, wide.c_str());
}

void SetWString(KeyValues* self, const char* keyName, const wchar_t* value)
{
    self->SetWString(keyName, ToModuleArg(value));
}

void RecursiveSaveToFile(KeyValues* self, CUtlBuffer* buffer, int indentLevel)
{
    if (buffer)
        self->RecursiveSaveToFile(*buffer, indentLevel);
}

void deleteThis(KeyValues* self, lua_State* L)
{
    if (!ScriptObjects::IsRoot(self))
        Refuse("deleteThis", "the key belongs to another tree; cut it out with RemoveSubKey first");
    Delete(L, self);
}

void RemoveSubKey(KeyValues* self, KeyValues* subKey)
{
    if (!subKey)
        return;
    for (KeyValues* sub = self->GetFirstSubKey(); sub; sub = sub->GetNextKey())
    {
        if (sub == subKey)
        {
            self->RemoveSubKey(subKey);
            ScriptObjects::AdoptRoot(subKey);
            return;
        }
    }
}

void SetNextKey(KeyValues* self, KeyValues* peer, lua_State* L)
{
    KeyValues* old = self->GetNextKey();
    if (peer == old)
        return;
    if (peer == self)
        Refuse("SetNextKey", "a key cannot be its own peer");
    if (peer && !ScriptObjects::IsRoot(peer))
        Refuse("SetNextKey", "the new peer belongs to another tree; cut it out with RemoveSubKey first");
    if (peer && ScriptObjects::TreeHolds(peer, self))
        Refuse("SetNextKey", "the new peer holds this key; the link would make a cycle");
    self->SetNextKey(peer);
    if (peer)
    {
        ScriptObjects::AdoptMember(peer);
        ReleaseScriptOwnership(L, peer);
    }
    // Cut off, the old peer and the peers after it belong to nobody; the
    // script may delete it now.
    if (old)
        ScriptObjects::AdoptRoot(old);
}

void ChainKeyValue(KeyValues* self, KeyValues* chain)
{
    self->ChainKeyValue(chain);
    ScriptObjects::RecordChain(self, chain);
}

KeyValues* MakeCopy(KeyValues* self)
{
    KeyValues* copy = self->MakeCopy();
    ScriptObjects::AdoptRoot(copy);
    return copy;
}

// ---------------------------------------------------------------------------
// The main object

bool RecvKeyVal(CQGUI* self, KeyValues* message, lua_State* L)
{
    if (!message)
        return false;
    return HandOver(L, "RecvKeyVal", message, [&] { return self->RecvKeyVal(message); });
}

bool SendKeyVal(CQGUI* self, KeyValues* message, lua_State* L)
{
    if (!message)
        return false;
    return HandOver(L, "SendKeyVal", message, [&] { return self->SendKeyVal(message); });
}

bool IsStatusOn(const CQGUI* self, int status)
{
    // Reading a status changes nothing; the main object's operation is
    // simply not declared const.
    return const_cast<CQGUI*>(self)->IsStatusOn(status);
}

// ---------------------------------------------------------------------------
// Allocation hooks

HandleBase* NewHandle()
{
    return new (ModulePoolAlloc(sizeof(HandleBase))) HandleBase();
}

void Delete(lua_State* L, KeyValues* node)
{
    if (!node)
        return;
    ReleaseScriptOwnership(L, node);
    node->deleteThis();
}

void Delete(lua_State* L, HandleBase* handle)
{
    if (!handle)
        return;
    ScriptObjects::Forget(handle);
    ReleaseScriptOwnership(L, handle);
    handle->~HandleBase();
    ModulePoolFree(handle);
}

void Delete(lua_State*, IPanel* panel)
{
    CQGUI::GetGlobalObject()->ReleasePanelObject(panel);
}
} // namespace MainPackageAdapters
} // namespace QGUI
