// A list entry that shows a picture instead of a text: the image its item
// text names ("Set/Image", or the older "set:Set image:Image"), at its own
// size in the middle of the row, over the selection brush when selected.
// List boxes, combo boxes and multi-column lists take it like a text item.
#pragma once

#include <CEGUI/widgets/ListboxItem.h>

#include "core/ModuleMemory.h"

namespace CEGUI
{
class Image;

class ListboxImageItem : public ListboxItem, public QGUI::CModuleObject
{
public:
    ListboxImageItem(const String& text, uint item_id = 0, void* item_data = 0, bool disabled = false,
                     bool auto_delete = true);
    ~ListboxImageItem() override;

    // The image the item text names, read again on every call; null when it
    // names none.
    const Image* getImage() const;

    // The image's size; (0, 0) without one.
    Sizef getPixelSize() const override;
    // The selection brush over the whole row (selection colours, faded by
    // alpha), then the image at its own size centred in the row, opaque
    // white whatever the alpha.
    void draw(GeometryBuffer& buffer, const Rectf& targetRect, float alpha,
              const Rectf* clipper) const override;
};
} // namespace CEGUI
