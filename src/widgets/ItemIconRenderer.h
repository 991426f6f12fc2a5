// The window renderer of the item and spell icons: the look's "Normal"
// imagery, an optional background mask, the object's picture, the
// "PickedFrame" imagery when picked, and the window text right-aligned in
// the look's "TextArea".
#pragma once

#include "widgets/QXRenderer.h"

namespace CEGUI
{
class CItemIconRenderer : public QGUI::QXRenderer
{
public:
    static const String TypeName; // "QXGame/ItemIcon"

    // Depths, relative to the window's own imagery and to its extra cache.
    static constexpr float MaskDepth = -0.01f;
    static constexpr float TextDepth = -0.0001f;

    explicit CItemIconRenderer(const String& type);
    void render() override;

protected:
    void onUpdate() override {}
    void collectTextureRequests(QGUI::CRendererState& state) override;

private:
    void renderMask();
    void renderText();
};
} // namespace CEGUI
