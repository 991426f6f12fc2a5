// The window renderer of the creature viewer: the look's frame and
// background, the "Picked" imagery when the viewer is picked, and the
// game's picture of the creature at the renderer's image offset.
#pragma once

#include "widgets/QXRenderer.h"

namespace CEGUI
{
class CCreatureViewerRenderer : public QGUI::QXRenderer
{
public:
    static const String TypeName; // "QXGame/CreatureViewer"

    // Where the picture is anchored for the map operation (the renderer's
    // start: the middle of the bottom edge, 24 pixels left and 16 up) and
    // for the icon operation (the middle of the bottom edge, 2 pixels up).
    static UVector2 MapImageOffset();
    static UVector2 IconImageOffset();

    explicit CCreatureViewerRenderer(const String& type);
    void render() override;

protected:
    void onUpdate() override {}
    void collectTextureRequests(QGUI::CRendererState& state) override;
};
} // namespace CEGUI
