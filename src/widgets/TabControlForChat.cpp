#include "widgets/TabControlForChat.h"

#include "widgets/LookImagery.h"

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

void CTabControlForChat::performChildWindowLayout(bool nonclient_sized_hint, bool client_sized_hint)
{
    if (CheckLookPart(*this, isChild(TabButtonPaneName) && isChild(ContentPaneName), "tab panes"))
        CEGUI::TabControl::performChildWindowLayout(nonclient_sized_hint, client_sized_hint);
    else
        CEGUI::Window::performChildWindowLayout(nonclient_sized_hint, client_sized_hint);
}
} // namespace QGUI
