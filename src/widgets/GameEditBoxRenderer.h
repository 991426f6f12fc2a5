// The window renderer of the rich content edit: the GUI library's Falagard
// edit box renderer under the module's own renderer type.
#pragma once

#include <CEGUI/WindowRendererSets/Core/Editbox.h>

namespace CEGUI
{
class CRichContentEditRenderer : public FalagardEditbox
{
public:
    static const String TypeName; // "QXGame/RichContentEditRenderer"

    explicit CRichContentEditRenderer(const String& type) : FalagardEditbox(type) {}
};
} // namespace CEGUI
