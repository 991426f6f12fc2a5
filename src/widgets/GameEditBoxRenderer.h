// The window renderer of the rich content edit: the GUI library's Falagard
// edit box renderer under the module's own renderer type. Which renderer a
// window gets is data: paired with a window that is no edit box, it draws
// and updates nothing (the library's renderer would read the window as an
// edit box).
#pragma once

#include <CEGUI/WindowRendererSets/Core/Editbox.h>

namespace CEGUI
{
class CRichContentEditRenderer : public FalagardEditbox
{
public:
    static const String TypeName; // "QXGame/RichContentEditRenderer"

    explicit CRichContentEditRenderer(const String& type) : FalagardEditbox(type) {}

    void render() override;
    void update(float elapsed) override;

private:
    bool isOnEditbox() const;
};
} // namespace CEGUI
