#include "script/MainPackageAdapters.h"

#include <CEGUI/Logger.h>

#include <new>

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

// Runs a hand-over of a tree to the module. When the module took it, the
// script's claim goes. Should the call fail with an exception, whether the
// tree was taken is unknown: the claim goes too, since a tree kept by the
// script's collector that the module already destroyed would be freed
// twice, while the other way at worst leaks it.
template <class Call>
bool HandOver(lua_State* L, KeyValues* message, Call call)
{
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

const wchar_t* GetWString(KeyValues* self, const char* keyName, const wchar_t* defaultValue)
{
    const char16_t* fallback = defaultValue ? ToModuleArg(defaultValue) : u"";
    return reinterpret_cast<const wchar_t*>(self->GetWString(keyName, fallback));
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
    Delete(L, self);
}

// ---------------------------------------------------------------------------
// The main object

bool RecvKeyVal(CQGUI* self, KeyValues* message, lua_State* L)
{
    if (!message)
        return false;
    return HandOver(L, message, [&] { return self->RecvKeyVal(message); });
}

bool SendKeyVal(CQGUI* self, KeyValues* message, lua_State* L)
{
    if (!message)
        return false;
    return HandOver(L, message, [&] { return self->SendKeyVal(message); });
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
    ReleaseScriptOwnership(L, handle);
    handle->~HandleBase();
    ModulePoolFree(handle);
}

void Delete(lua_State*, IPanel* panel)
{
    if (!panel)
        return;
    if (CEGUI::Logger* logger = CEGUI::Logger::getSingletonPtr())
        logger->logEvent("QGUI.IPanel:delete: a panel belongs to the main object and is released "
                         "with QGUI.CQGUI:ReleasePanel; the panel was kept.",
                         CEGUI::Errors);
}
} // namespace MainPackageAdapters
} // namespace QGUI
