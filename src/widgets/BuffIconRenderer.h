// The window renderer of the buff icon: the game's picture of the buff's
// object, centred in the window (and the sparking overlay), nothing else.
#pragma once

#include "widgets/QXRenderer.h"

namespace CEGUI
{
class CBuffIconRenderer : public QGUI::QXRenderer
{
public:
    static const String TypeName; // "QXGame/BuffIcon"
    // The render operation the buff's picture is drawn with.
    static constexpr uint32_t BuffRenderOp = 1;

    explicit CBuffIconRenderer(const String& type);

protected:
    void onUpdate() override {}
    void collectTextureRequests(QGUI::CRendererState& state) override;
};
} // namespace CEGUI
