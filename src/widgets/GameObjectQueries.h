// Questions the widgets ask the game about one game object: its tooltip
// text, the object to compare it with, one of its properties, and which
// creature a provider's selector names.
#pragma once

#include <CEGUI/String.h>

#include <cstdint>
#include <memory>
#include <string>

class KeyValues;

namespace QGUI
{
class IQGUI;

// Deletes a KeyValues tree it holds.
struct KeyValuesDeleter
{
    void operator()(KeyValues* kv) const;
};
typedef std::unique_ptr<KeyValues, KeyValuesDeleter> KeyValuesPtr;

// The game's tooltip text of an object ("GameObjectTooltip"), converted to
// UTF-8; false when there is no main object, the game refuses or its reply
// holds no text. With
// needCompareText the request also asks for the comparison text.
bool QueryObjectTooltip(IQGUI* main, int32_t objectId, bool needCompareText, CEGUI::String& text);
// The object the game compares an object with ("GameObjectCompare"); 0
// when there is none, no main object, or the game refuses.
uint32_t QueryObjectCompareId(IQGUI* main, int32_t objectId);
// The text of an object's property ("GameObjectProperty"), as the game
// wrote it (local code page); false when there is no main object or the
// game refuses. A reply without the key gives the empty text.
bool QueryObjectProperty(IQGUI* main, int32_t objectId, const CEGUI::String& property,
                         std::string& value);
// The creature a provider's selector names (the request is named after the
// provider, the reply key is "CreatureId"); false when there is no main
// object or the game refuses. A reply without the key gives -1.
bool QueryCreatureId(IQGUI* main, const std::string& provider, const CEGUI::String& whichOne,
                     int32_t& id);
} // namespace QGUI
