// Questions the widgets ask the game about one game object: its tooltip
// text and the object to compare it with.
#pragma once

#include <CEGUI/String.h>

#include <cstdint>
#include <memory>

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
} // namespace QGUI
