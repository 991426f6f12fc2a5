#include "widgets/TabControlForChat.h"

namespace QGUI
{
const CEGUI::String CTabControlForChat::WidgetTypeName("QXGame/TabControlForChat");

CTabControlForChat::CTabControlForChat(const CEGUI::String& type, const CEGUI::String& name)
    : CEGUI::TabControl(type, name)
{
}

// The tab control of the GUI library leaves its own drawing to its children.
void CTabControlForChat::drawSelf(const CEGUI::RenderingContext& ctx)
{
    CEGUI::Window::drawSelf(ctx);
}
} // namespace QGUI
