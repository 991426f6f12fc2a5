// The window renderer "QGUI/MultiColumnList": the GUI library's Falagard
// multi-column list renderer with striped rows. Every second row gets a band
// across the items area, in the colours of the list's "OddColour" property
// (a look supplies it; without one the band is transparent), drawn with the
// selection brush of the first item met.
#pragma once

#include <CEGUI/WindowRendererSets/Core/MultiColumnList.h>

namespace CEGUI
{
class CGameMultiColumnList : public FalagardMultiColumnList
{
public:
    static const String TypeName; // "QGUI/MultiColumnList"
    // Depth of the bands and items relative to the list's own imagery
    // (less is further in front): three layers of 0.0001.
    static constexpr float ItemDepth = -3 * 0.0001f;

    explicit CGameMultiColumnList(const String& type) : FalagardMultiColumnList(type) {}

    void render() override;
};
} // namespace CEGUI
