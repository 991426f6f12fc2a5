// The game tooltip's window renderer: it draws the look's state imagery
// and sizes the tooltip from the tooltip's rich-text document, which the
// GUI library's tooltips ask their renderer for.
#pragma once

#include <CEGUI/widgets/Tooltip.h>

#include "core/ModuleMemory.h"

namespace CEGUI
{
class CQXToolTipRenderer : public TooltipWindowRenderer, public QGUI::CModuleObject
{
public:
    static const String TypeName; // "QXGame/TooltipRenderer"

    explicit CQXToolTipRenderer(const String& type);

    void render() override;
    // The game tooltip's content size; on another tooltip, the size of its
    // text in its font.
    Sizef getTextSize() const override;
};
} // namespace CEGUI
