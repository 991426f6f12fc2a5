// A minimal game widget and window renderer for the base-widget tests: the
// widget counts its refreshes and binds to the object id its test sets; the
// renderer requests that object's picture.
#pragma once

#include <CEGUI/CEGUI.h>

#include "IQGUI.h"
#include "widgets/QGUIExtraFacoryManager.h"
#include "widgets/QXRenderer.h"
#include "widgets/QXWindow.h"
#include "widgets/WidgetFactories.h"

namespace harness
{
class GameWindow : public QGUI::QXWindow
{
public:
    GameWindow(const CEGUI::String& type, const CEGUI::String& name) : QGUI::QXWindow(type, name) {}

    int refreshes = 0;
    uint32_t objectId = 0;   // what the next refresh binds to
    uint32_t renderOp = 1;
    uint32_t boundId = 0;

    using QGUI::QXWindow::drawSelf;

protected:
    void refreshGameObject() override
    {
        ++refreshes;
        if (QGUI::IQGUI* main = QGUI::MainObject())
        {
            if (boundId)
                main->UnbindWindowFromObject(this, int(boundId));
            if (objectId)
                main->BindWindowToObject(this, int(objectId));
        }
        boundId = objectId;
    }
};

class GameRenderer : public QGUI::QXRenderer
{
public:
    explicit GameRenderer(const CEGUI::String& type) : QGUI::QXRenderer(type) {}
    void render() override
    {
        renderStateImagery("Normal");
        QGUI::QXRenderer::render();
    }

protected:
    void onUpdate() override {}
    void collectTextureRequests(QGUI::CRendererState& state) override
    {
        if (auto* w = dynamic_cast<GameWindow*>(d_window))
            state.addTextureRequest({w->objectId, w->renderOp, 0.0f, 0.0f});
    }
};

// Registers "T/Game" and the renderer "T/GameRenderer" with the GUI system.
inline void AddTestWidgetFactories()
{
    static QGUI::CWidgetFactory<GameWindow> windows("T/Game");
    static QGUI::CRendererFactory<GameRenderer> renderers("T/GameRenderer");
    if (!CEGUI::WindowFactoryManager::getSingleton().isFactoryPresent("T/Game"))
        CEGUI::WindowFactoryManager::getSingleton().addFactory(&windows);
    if (!CEGUI::WindowRendererManager::getSingleton().isFactoryPresent("T/GameRenderer"))
        CEGUI::WindowRendererManager::getSingleton().addFactory(&renderers);
}
} // namespace harness
