#include "widgets/GameEditBoxRenderer.h"

#include <CEGUI/widgets/Editbox.h>

namespace CEGUI
{
const String CRichContentEditRenderer::TypeName("QXGame/RichContentEditRenderer");

bool CRichContentEditRenderer::isOnEditbox() const
{
    return dynamic_cast<const Editbox*>(d_window) != nullptr;
}

void CRichContentEditRenderer::render()
{
    if (isOnEditbox())
        FalagardEditbox::render();
}

void CRichContentEditRenderer::update(float elapsed)
{
    if (isOnEditbox())
        FalagardEditbox::update(elapsed);
}
} // namespace CEGUI
