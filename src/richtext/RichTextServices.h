// Where the rich-text engine reaches the game, the scripts and the host:
// the main object, and the host's texture manager for picture sizes.
#pragma once

#include <CEGUI/Size.h>

#include <cstdint>
#include <functional>

class IQXTextureManager;

namespace QGUI
{
class IQGUI;

namespace TextBlocks
{
// The main object clicks, item references and picture queries go to; null
// before the module has started.
IQGUI* GetMainObject();

// The scripts' colour of an item ("FetchColourBySetFn" with the set
// "item_color"), through the main object; false when none answered one (the
// module not running, or the scripts gave no colour text).
bool FetchItemColour(int itemId, uint32_t& colour);

// Creature id under which the game draws pictures: asked of the game once,
// on first use, whatever the answer; 0 until then or when nobody answered.
int GetPictureCreatureId();

// Pixel size of a game picture; (0, 0) when the host has no such picture or
// no texture manager can be found.
CEGUI::Sizef GetPictureSize(uint16_t group, uint16_t number);

// How an item's colour is fetched from the scripts: false when none was
// given.
typedef std::function<bool(int itemId, uint32_t& colour)> ItemColourFetch;

// Stand-ins for the main object, the texture manager and the item colour
// fetch (any may be null, meaning none); the cached creature id and texture
// manager are forgotten. Null restores the module's own look-ups.
struct ServiceStandIns
{
    IQGUI* mainObject;
    IQXTextureManager* textureManager;
    ItemColourFetch fetchItemColour;
};
void SetServiceStandIns(const ServiceStandIns* standIns);
} // namespace TextBlocks
} // namespace QGUI
