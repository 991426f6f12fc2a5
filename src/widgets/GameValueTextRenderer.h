// The window renderers of the value text and the percent bar. The value
// text draws the look's frame, background and text; the percent bar draws
// its background, the lit part of the bar (up to the bar's value) in the
// window's "LightColour", highlights, frame and evenly spaced dividers
// ("Divide"), from look pieces named after its style.
#pragma once

#include <set>

#include "widgets/QXRenderer.h"

namespace CEGUI
{
class CGameValueTextRenderer : public QGUI::QXRenderer
{
public:
    static const String TypeName; // "QXGame/GameValueText"

    explicit CGameValueTextRenderer(const String& type);
    void render() override;

protected:
    void onUpdate() override {}
    void collectTextureRequests(QGUI::CRendererState&) override {}
};

class CPercentBarRenderer : public QGUI::QXRenderer
{
public:
    static const String TypeName; // "QXGame/PercentBar"
    // Width of a divider strip in pixels.
    static constexpr float DividerWidth = 2.0f;

    explicit CPercentBarRenderer(const String& type);
    void render() override;

    // The prefix of the look's names for the bar's parts ("Broad" gives
    // "BroadProgressArea", "BroadLights", "BroadHighLights", "BroadFrame").
    const String& getStyle() const { return d_style; }
    void setStyle(const String& style);
    // The window's "Divide" as a number; 0 when the window has none.
    int getDivide() const;
    // The window's "LightColour"; opaque white when the window has none.
    Colour getLightColour() const;

    Property* FindRendererProperty(const String& name) const override;

protected:
    void onUpdate() override {}
    void collectTextureRequests(QGUI::CRendererState&) override {}

private:
    void renderDividers(const Rectf& area) const;
    // Says once per name that the look lacks a piece the style names.
    void reportMissing(const String& name);

    String d_style;
    std::set<String> d_reported;
};
} // namespace CEGUI
