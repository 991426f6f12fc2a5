#include "widgets/GameMultiColumnList.h"

#include <CEGUI/Image.h>
#include <CEGUI/PropertyHelper.h>
#include <CEGUI/widgets/ListHeader.h>
#include <CEGUI/widgets/ListboxItem.h>
#include <CEGUI/widgets/MultiColumnList.h>
#include <CEGUI/widgets/Scrollbar.h>

#include "render/QXRenderer.h"

namespace CEGUI
{
const String CGameMultiColumnList::TypeName("QGUI/MultiColumnList");

namespace
{
// Sets a depth offset on the list's buffer for as long as it lives, when the
// buffer is the module's.
struct BufferDepth
{
    BufferDepth(GeometryBuffer& buffer, float z) : d_buffer(dynamic_cast<QXUI::CQXGeometryBuffer*>(&buffer))
    {
        if (d_buffer)
            d_buffer->setZOffset(z);
    }
    ~BufferDepth()
    {
        if (d_buffer)
            d_buffer->setZOffset(0.0f);
    }
    QXUI::CQXGeometryBuffer* d_buffer;
};

// A column's width in pixels: its share of the header rounded to a pixel,
// plus its offset.
float ColumnWidth(const ListHeader& header, uint column)
{
    const UDim width = header.getColumnWidth(column);
    return float(int(width.d_scale * header.getPixelSize().d_width + 0.5f)) + width.d_offset;
}
} // namespace

void CGameMultiColumnList::render()
{
    // A look may pair this renderer with another kind of window: nothing to
    // draw then.
    MultiColumnList* w = dynamic_cast<MultiColumnList*>(d_window);
    if (!w)
        return;
    const ListHeader* header = w->getListHeader();
    const Scrollbar* vertScrollbar = w->getVertScrollbar();
    const Scrollbar* horzScrollbar = w->getHorzScrollbar();
    const Image* band = nullptr;

    cacheListboxBaseImagery();

    const Rectf itemsArea(getListRenderArea());
    ColourRect bandColours(Colour(0.0f, 0.0f, 0.0f, 0.0f));
    if (w->isPropertyPresent("OddColour"))
        bandColours = PropertyHelper<ColourRect>::fromString(w->getProperty("OddColour"));

    GeometryBuffer& buffer = w->getGeometryBuffer();
    BufferDepth depth(buffer, ItemDepth);
    const float alpha = w->getEffectiveAlpha();
    float y = itemsArea.top() - vertScrollbar->getScrollPosition();
    for (uint row = 0; row < w->getRowCount(); ++row)
    {
        float x = itemsArea.left() - horzScrollbar->getScrollPosition();
        const float height = w->getHighestRowItemHeight(row);
        // The band goes first: the row's items are drawn over it.
        if ((row & 1) && band)
        {
            const Rectf bandRect(itemsArea.left(), y, itemsArea.right(), y + height);
            const Rectf clip = bandRect.getIntersection(itemsArea);
            band->render(buffer, bandRect, &clip, bandColours);
        }
        for (uint column = 0; column < w->getColumnCount(); ++column)
        {
            const float width = ColumnWidth(*header, column);
            if (ListboxItem* item = w->getItemAtGridReference(MCLGridRef(row, column)))
            {
                if (!band)
                    band = item->getSelectionBrushImage();
                const Rectf itemRect(x, y, x + width, y + height);
                const Rectf clipper = itemRect.getIntersection(itemsArea);
                if (clipper.getWidth() != 0)
                    item->draw(buffer, itemRect, alpha, &clipper);
            }
            x += width;
        }
        y += height;
    }
}
} // namespace CEGUI
