// Records of the objects the scripts hold, and the invalidation of their
// userdata when the module frees or hands over an object.
#include "script/ScriptObjects.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <unordered_map>

extern "C" {
#include <lauxlib.h>
#include <lua.h>
}
#include <tolua++.h>

#include "KeyValues.h"

namespace QGUI
{
namespace ScriptObjects
{
namespace
{
enum Kind : unsigned char
{
    KIND_KEYVALUES,
    KIND_HANDLE,
    KIND_PANEL,
    KIND_FILE_ENTRY,
    KIND_IMAGE_ITEM
};

const char* const kTypeNames[] = {"KeyValues", "HandleBase", "QGUI::IPanel", "SHELL::FileInfo",
                                  "CEGUI::ListboxImageItem"};

struct Record
{
    Kind kind;
    bool root;
};

// Never destroyed: nodes may still be freed while the library unloads,
// after static objects are gone.
struct Registry
{
    std::unordered_map<const void*, Record> records;
    // Node -> the tree it chains to, as the scripts set them.
    std::unordered_map<KeyValues*, KeyValues*> chains;
    std::vector<lua_State*> states;
};

Registry& Objects()
{
    static Registry* registry = new Registry;
    return *registry;
}

char g_attachKey;

bool KindOfType(const char* type, Kind* kind)
{
    if (!type)
        return false;
    // A constant object is the same object.
    if (std::strncmp(type, "const ", 6) == 0)
        type += 6;
    for (unsigned i = 0; i < sizeof(kTypeNames) / sizeof(kTypeNames[0]); ++i)
    {
        if (std::strcmp(type, kTypeNames[i]) == 0)
        {
            *kind = static_cast<Kind>(i);
            return true;
        }
    }
    return false;
}

// The state's userdata for the object: its pointer becomes null, and it
// leaves tolua's table of userdata by address and its table of objects the
// collector frees.
void KillUserdata(lua_State* L, const void* object, Kind kind)
{
    if (!lua_checkstack(L, 4))
        return;
    const int top = lua_gettop(L);
    // Each class keeps its userdata by address in its metatable (shared
    // with its "const" twin); tolua falls back to one table in the registry.
    luaL_getmetatable(L, kTypeNames[kind]);
    if (lua_istable(L, -1))
    {
        lua_pushstring(L, "tolua_ubox");
        lua_rawget(L, -2);
    }
    if (!lua_istable(L, -1))
    {
        lua_pushstring(L, "tolua_ubox");
        lua_rawget(L, LUA_REGISTRYINDEX);
    }
    if (lua_istable(L, -1))
    {
        lua_pushlightuserdata(L, const_cast<void*>(object));
        lua_rawget(L, -2);
        if (lua_type(L, -1) == LUA_TUSERDATA)
            *static_cast<void**>(lua_touserdata(L, -1)) = nullptr;
        lua_pop(L, 1);
        lua_pushlightuserdata(L, const_cast<void*>(object));
        lua_pushnil(L);
        lua_rawset(L, -3);
    }
    lua_settop(L, top);

    lua_pushstring(L, "tolua_gc");
    lua_rawget(L, LUA_REGISTRYINDEX);
    if (lua_istable(L, -1))
    {
        lua_pushlightuserdata(L, const_cast<void*>(object));
        lua_pushnil(L);
        lua_rawset(L, -3);
    }
    lua_settop(L, top);
}

// Runs when the state closes (the collector of a userdata kept in its
// registry): its userdata are no longer followed.
int DetachState(lua_State* L)
{
    std::vector<lua_State*>& states = Objects().states;
    states.erase(std::remove(states.begin(), states.end(), L), states.end());
    return 0;
}

void OnNodeDestroyed(KeyValues* node)
{
    Forget(node);
}

template <class Visit>
void WalkTree(KeyValues* tree, Visit visit)
{
    std::vector<KeyValues*> pending;
    if (tree)
        pending.push_back(tree);
    while (!pending.empty())
    {
        KeyValues* node = pending.back();
        pending.pop_back();
        if (!visit(node))
            return;
        if (KeyValues* sub = node->GetFirstSubKey())
            pending.push_back(sub);
        if (KeyValues* peer = node->GetNextKey())
            pending.push_back(peer);
    }
}
} // namespace

void Attach(lua_State* L)
{
    if (!L)
        return;
    KeyValues::SetDestroyObserver(&OnNodeDestroyed);
    std::vector<lua_State*>& states = Objects().states;
    if (std::find(states.begin(), states.end(), L) != states.end())
        return;
    const int top = lua_gettop(L);
    lua_pushlightuserdata(L, &g_attachKey);
    lua_newuserdata(L, 1);
    lua_newtable(L);
    lua_pushcfunction(L, &DetachState);
    lua_setfield(L, -2, "__gc");
    lua_setmetatable(L, -2);
    lua_rawset(L, LUA_REGISTRYINDEX);
    lua_settop(L, top);
    states.push_back(L);
}

void Push(lua_State* L, void* object, const char* type)
{
    tolua_pushusertype(L, object, type);
    Kind kind;
    if (object && KindOfType(type, &kind))
        Objects().records.emplace(object, Record{kind, false});
}

void AdoptRoot(KeyValues* node)
{
    if (node)
        Objects().records[node] = Record{KIND_KEYVALUES, true};
}

void AdoptMember(KeyValues* node)
{
    if (node)
        Objects().records[node] = Record{KIND_KEYVALUES, false};
}

bool IsRoot(const KeyValues* node)
{
    const auto& records = Objects().records;
    const auto it = records.find(node);
    return it != records.end() && it->second.kind == KIND_KEYVALUES && it->second.root;
}

void RecordChain(KeyValues* node, KeyValues* chain)
{
    if (!node)
        return;
    Registry& objects = Objects();
    if (!chain)
    {
        objects.chains.erase(node);
        return;
    }
    objects.chains[node] = chain;
    // Both ends must be followed: the chain goes when either is forgotten.
    objects.records.emplace(node, Record{KIND_KEYVALUES, false});
    objects.records.emplace(chain, Record{KIND_KEYVALUES, false});
}

void Forget(const void* object)
{
    Registry& objects = Objects();
    if (objects.records.empty())
        return;
    const auto it = objects.records.find(object);
    if (it == objects.records.end())
        return;
    const Kind kind = it->second.kind;
    objects.records.erase(it);
    if (kind == KIND_KEYVALUES && !objects.chains.empty())
    {
        objects.chains.erase(static_cast<KeyValues*>(const_cast<void*>(object)));
        for (auto c = objects.chains.begin(); c != objects.chains.end();)
        {
            if (c->second == object)
            {
                c->first->ChainKeyValue(nullptr);
                c = objects.chains.erase(c);
            }
            else
                ++c;
        }
    }
    for (lua_State* L : objects.states)
        KillUserdata(L, object, kind);
}

bool AnyRecorded()
{
    return !Objects().records.empty();
}

TreeHandOver::TreeHandOver(KeyValues* tree)
{
    const auto& records = Objects().records;
    if (records.empty())
        return;
    WalkTree(tree, [&](KeyValues* node) {
        if (records.count(node))
            m_Nodes.push_back(node);
        return true;
    });
}

void TreeHandOver::Taken()
{
    for (const void* node : m_Nodes)
        Forget(node);
    m_Nodes.clear();
}

bool TreeHolds(KeyValues* tree, const KeyValues* target)
{
    bool found = false;
    WalkTree(tree, [&](KeyValues* node) {
        found = node == target;
        return !found;
    });
    return found;
}
} // namespace ScriptObjects
} // namespace QGUI
