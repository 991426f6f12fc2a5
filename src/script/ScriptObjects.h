// The module's objects as the scripts hold them. Every KeyValues node, panel
// handle and panel, search entry of the file browser and image list item
// that a script package hands to a script is recorded here. When the module frees an object, or hands it to a receiver that
// will free it, the scripts' references to it die: the userdata the script
// holds then carries a null pointer, so it passes as nil and methods called
// on it raise the binding's "invalid 'self'" error. A later object at the
// same address gets a userdata of its own.
//
// KeyValues nodes are freed through the node's destruction observer, so
// every path that destroys a node (a parser, Clear, a deleted parent, the
// collector) is covered. Trees handed to the engine client, which frees
// them with code of its own, are forgotten at the hand-over.
//
// Each recorded node is also known as a root or a member. A root is owned
// by the script or by nobody: made by the script, copied, or cut out of
// its tree. A member is owned by another node (a sub-key, or a peer that
// follows another node). The script package lets a script delete, link as
// a peer, or hand to a receiver only roots, so no node ever has two owners
// and no tree is linked into itself.
#pragma once

#include <vector>

struct lua_State;
class KeyValues;

namespace QGUI
{
namespace ScriptObjects
{
// Makes the userdata of the state follow the recorded objects, until the
// state closes. The script package attaches the state it opens on.
void Attach(lua_State* L);

// Pushes the object as a user type of the given type (nil for null) and
// records it: "KeyValues" nodes (as members unless recorded already),
// "HandleBase" handles, "QGUI::IPanel" panels, "SHELL::FileInfo" entries of
// a search and "CEGUI::ListboxImageItem" list items, constant or not. Other
// types are pushed unrecorded. The script packages push every object
// through here.
void Push(lua_State* L, void* object, const char* type);

// Records a node as a root (made for the script, or cut out of its tree).
void AdoptRoot(KeyValues* node);
// Records a node as a member of the tree of another node.
void AdoptMember(KeyValues* node);
// Whether the node is recorded as a root.
bool IsRoot(const KeyValues* node);

// Records that the node consults the chained tree (null: no chain). When
// the chained tree is forgotten the chain is cleared.
void RecordChain(KeyValues* node, KeyValues* chain);

// The module freed the object or a receiver took it: the scripts'
// references to it die. Unrecorded objects are ignored.
void Forget(const void* object);

// Whether any object is recorded (the module skips its walks otherwise).
bool AnyRecorded();

// A tree handed to a receiver that may free it with code of its own: the
// recorded nodes of the tree (its sub-keys and following peers too) are
// gathered before the hand-over, while the tree is still readable, and
// forgotten by Taken once the receiver took it.
class TreeHandOver
{
public:
    explicit TreeHandOver(KeyValues* tree);
    void Taken();

private:
    std::vector<const void*> m_Nodes;
};

// Whether target is the node itself or lies in its tree (its sub-keys and
// the peers that follow it, at any depth).
bool TreeHolds(KeyValues* tree, const KeyValues* target);
} // namespace ScriptObjects
} // namespace QGUI
