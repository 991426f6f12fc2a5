// The window renderer of the game progress bar: from the window's look, the
// "BackGround" imagery, the "Lights" and "HighLights" imageries in the
// filled part of the "ProgressArea", the "Frame" imagery, and the window
// text centred in the progress area in front of them.
#pragma once

#include <CEGUI/WindowRenderer.h>

#include "core/ModuleMemory.h"

namespace CEGUI
{
class GameProgressBarRenderer : public WindowRenderer, public QGUI::CModuleObject
{
public:
    static const String TypeName;               // "QXGame/GameProgressBarRenderer"
    static const String LightColourPropertyName; // "LightColour"
    static const String TextColourPropertyName;  // "TextColour"
    // Depth of the text relative to the imagery: four layers in front.
    static constexpr float TextDepth = -4.0f * 0.0001f;

    explicit GameProgressBarRenderer(const String& type);
    void render() override;

private:
    // The colour a window property names, opaque white without it.
    Colour windowColour(const String& property) const;
    void renderText(const Rectf& area) const;
};
} // namespace CEGUI
