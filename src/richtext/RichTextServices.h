// Where the rich-text engine reaches the game, the scripts and the host:
// the main object, and the host's texture manager for picture sizes.
#pragma once

#include <CEGUI/Size.h>

#include <cstdint>

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
// "item_color"), through the main object; false when none answered one (no
// main object, or the scripts gave no colour text).
bool FetchItemColour(int itemId, uint32_t& colour);

// Creature id under which the game draws pictures: asked of the game once,
// on first use, whatever the answer; 0 until then or when nobody answered.
int GetPictureCreatureId();

// Pixel size of a game picture; (0, 0) when the host has no such picture or
// no texture manager can be found.
CEGUI::Sizef GetPictureSize(uint16_t group, uint16_t number);

// Stand-ins for the main object and the texture manager (either may be
// null, meaning none); the cached creature id and texture manager are
// forgotten. Null restores the module's own look-ups.
struct ServiceStandIns
{
    IQGUI* mainObject;
    IQXTextureManager* textureManager;
};
void SetServiceStandIns(const ServiceStandIns* standIns);
} // namespace TextBlocks
} // namespace QGUI
