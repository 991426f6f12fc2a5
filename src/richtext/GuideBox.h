// The guide box: the rich-text window under a type of its own, so that
// layouts and looks can give guide texts their own renderer. The renderer
// draws, under the rich-text window's drawing, the state imagery that the
// window's "StateImage" property (defined by the look) names.
#pragma once

#include "richtext/GameMultiLine.h"
#include "richtext/GameMultiLineRenderer.h"

namespace QGUI
{
class GuideBox : public CGameMultiLine
{
public:
    static const CEGUI::String WidgetTypeName; // "QXGame/GuideBox"

    GuideBox(const CEGUI::String& type, const CEGUI::String& name) : CGameMultiLine(type, name) {}
};
} // namespace QGUI

namespace CEGUI
{
class GuideBoxRenderer : public GameMultiLineRenderer
{
public:
    static const String TypeName; // "QXGame/GuideBox"

    explicit GuideBoxRenderer(const String& type) : GameMultiLineRenderer(type) {}
    // A look without "StateImage", or a value naming no imagery of the look,
    // draws no extra imagery (logged once per renderer).
    void render() override;

private:
    bool m_bMissingLogged = false;
};
} // namespace CEGUI
