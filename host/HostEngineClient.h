// The engine client "QEngineClient001" of the stand-in host: the game side.
// It keeps the messages posted to it and prints each as it arrives, draws
// game objects as flat placeholder rectangles into the frame, and records
// what it is asked.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "IBaseFileSystem.h"
#include "IQEngineClient.h"

namespace QHost
{
class HostRender;

class HostEngineClient final : public IQEngineClient
{
public:
    // One RenderObjectQuad call.
    struct ObjectQuad
    {
        uint32_t objectId;
        int left, top, right, bottom;
        float z;
        uint32_t renderOp;
        int texRect[4];
        bool hasTexRect;
    };

    // A game object's picture is a square of its "Picture" colour inset by
    // kPictureInset pixels from the area, with a one-pixel outline and a
    // lighter core (the middle third); render operations with a dark bit
    // halve its colours.
    static constexpr int kPictureInset = 8;
    static constexpr uint32_t kPictureOutline = 0xFF101010;
    static constexpr uint32_t kDarkRenderOps = 0x30;

    // render: the frame that game objects are drawn into (may be null).
    explicit HostEngineClient(HostRender* render = nullptr);
    ~HostEngineClient() override;

    HostEngineClient(const HostEngineClient&) = delete;
    HostEngineClient& operator=(const HostEngineClient&) = delete;

    // Accepts every message, prints "engine received: " and its
    // description as one line to `echo` (when not null), and keeps it until
    // freeMessages (or the destructor); a null message is refused. A chat
    // line the interface sends ("_KeyVal_Chat_Send") comes back as the
    // game's chat line (see toInterface).
    bool RecvKeyVal(KeyValues* message) override;
    // Answers from the game data (LoadGameData):
    //   "GameObjectProperty" (ObjectId, WhichProperty) -> PropertyStringValue,
    //     the value as the data writes it (a number "0.8", not "0.800000")
    //   "GameObjectTooltip" (ObjectId) -> GameObjectTooltipValue
    //   "GameObjectCompare" (ObjectId) -> GameObjectCompareId
    //   "GameCreatureProvider" and other providers (WhichOne) -> CreatureId
    //   slot providers (a block under "Slots" named after the request) ->
    //     CellId, from the block's container (the request's "PackageName",
    //     or the name of its index key without one) at the request's
    //     "Spell_Index", or "BuffIndex", or else "PackageIndex"
    // Anything the data does not hold is not answered (false).
    bool QueryKeyVal(KeyValues* request, KeyValues* reply) override;
    // Reads the game data, a KeyValues text with the blocks "Objects" (one
    // block per object id, its properties inside; "Tooltip" and "CompareId"
    // answer the tooltip and comparison queries, "Picture" is the colour of
    // its picture as hex ARGB), "Creatures" (creature ids by "WhichOne"
    // name), "Slots" and "Chat" ("PlayerName", the speaker of the player's
    // chat lines). Quoted texts may hold the escapes \n, \t, \" and \\.
    // False when the file does not load.
    bool LoadGameData(IBaseFileSystem* fileSystem, const char* path);
    // Sets one property of an object in the game data, making the object
    // when the data has none of that id; false without game data. The
    // module learns of it when the host refreshes the object's windows.
    bool SetObjectProperty(int objectId, const char* property, const char* value);
    // Records the call and draws the object's picture into the frame: the
    // module hands over the object's anchor in left and top and the size of
    // its area in right and bottom. The game's picture creature ("Picture"
    // under "Creatures") draws the game picture its render operation names
    // (rich-text pictures and emotes) at the anchor, unclipped.
    void RenderObjectQuad(uint32_t objectId, int left, int top, int right, int bottom, float z,
                          uint32_t renderOp, const int* texRect) override;
    bool IsGuiRenderSuppressed() override;
    const QDisplayMode* GetDisplayMode() override;
    const QMainWindowRecord* GetMainWindow() override;

    // Deletes the kept messages and the messages for the interface.
    void freeMessages();
    // Hands over the messages the game has for the interface, oldest first;
    // they are the caller's.
    std::vector<KeyValues*> takeToInterface();

    // One line for a message: its name, then its keys in braces, each as
    // name=value (strings quoted, in UTF-8; the module hands them over in
    // the local code page), sub-trees nested in braces:
    //   _KeyVal_Sample_Click {Button="SendButton" Count=1}
    static std::string Describe(KeyValues* message);

    std::vector<KeyValues*> messages;   // in the order received, owned
    // The game's messages for the interface, owned until taken: for each
    // chat line sent, "_KeyVal_Chat_Recv" with its "Channel", the player's
    // name as "Name" and its "Text", as the game's chat server answers.
    std::vector<KeyValues*> toInterface;
    std::vector<ObjectQuad> objectQuads; // cleared by the host at each frame's start
    size_t queryCount = 0;
    size_t suppressQueries = 0;
    bool guiRenderSuppressed = false;
    std::FILE* echo = stdout; // where received messages are printed; null: nowhere

    // The "Picture" colour of an object in the game data; 0 for none.
    uint32_t PictureColour(uint32_t objectId) const;
    // The creature that draws game pictures; 0 when the data names none.
    uint32_t PictureCreatureId() const;
    static uint32_t Darkened(uint32_t argb);
    static uint32_t Lightened(uint32_t argb);

private:
    void drawPicture(uint32_t objectId, int anchorX, int anchorY, int width, int height,
                     uint32_t renderOp);
    void drawGamePicture(uint32_t packed, int x, int y, float z);

    HostRender* d_render;
    KeyValues* d_gameData = nullptr;
    QDisplayMode d_displayMode{};
    QMainWindowRecord d_mainWindow{};
};
} // namespace QHost
