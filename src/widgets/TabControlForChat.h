// The chat panel's tab control: the GUI library's tab control drawn like a
// plain window, its renderer's imagery drawn for the control itself as well
// as for its tab buttons and pane.
#pragma once

#include <CEGUI/widgets/TabControl.h>

#include "core/ModuleMemory.h"

namespace QGUI
{
class CTabControlForChat : public CEGUI::TabControl, public CModuleObject
{
public:
    static const CEGUI::String WidgetTypeName; // "QXGame/TabControlForChat"

    CTabControlForChat(const CEGUI::String& type, const CEGUI::String& name);

    // The tab control lays out its button and content panes; one made
    // without a look has neither and lays out like a plain window.
    void performChildWindowLayout(bool nonclient_sized_hint = false, bool client_sized_hint = false) override;

protected:
    void drawSelf(const CEGUI::RenderingContext& ctx) override;
};
} // namespace QGUI
