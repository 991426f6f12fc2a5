#include "widgets/ListImageItem.h"

#include <CEGUI/ColourRect.h>
#include <CEGUI/Image.h>

#include "script/ScriptObjects.h"
#include "widgets/SharedProperties.h"

namespace CEGUI
{
namespace
{
// The image keeps its own colours.
const ColourRect kOpaqueWhite(Colour(0xFFFFFFFF));
} // namespace

ListboxImageItem::ListboxImageItem(const String& text, uint item_id, void* item_data, bool disabled,
                                   bool auto_delete)
    : ListboxItem(text, item_id, item_data, disabled, auto_delete)
{
}

// A list that took the item frees it: the scripts' references die with it.
ListboxImageItem::~ListboxImageItem()
{
    QGUI::ScriptObjects::Forget(this);
}

const Image* ListboxImageItem::getImage() const
{
    return QGUI::ImageFromPropertyText(getText());
}

Sizef ListboxImageItem::getPixelSize() const
{
    const Image* image = getImage();
    return image ? image->getRenderedSize() : Sizef(0, 0);
}

void ListboxImageItem::draw(GeometryBuffer& buffer, const Rectf& targetRect, float alpha,
                            const Rectf* clipper) const
{
    if (d_selected && d_selectBrush)
        d_selectBrush->render(buffer, targetRect, clipper, getModulateAlphaColourRect(d_selectCols, alpha));

    const Image* image = getImage();
    if (!image)
        return;
    const Sizef size = image->getRenderedSize();
    Rectf area = targetRect;
    area.offset(Vector2f((targetRect.getWidth() - size.d_width) / 2,
                         (targetRect.getHeight() - size.d_height) / 2));
    area.right(area.left() + size.d_width);
    area.bottom(area.top() + size.d_height);
    image->render(buffer, area, clipper, kOpaqueWhite);
}
} // namespace CEGUI
