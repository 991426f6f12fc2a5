// The rich content edit's renderer type name.
#include "widgets/GameEditBoxRenderer.h"

namespace CEGUI
{
const String CRichContentEditRenderer::TypeName("QXGame/RichContentEditRenderer");
} // namespace CEGUI
