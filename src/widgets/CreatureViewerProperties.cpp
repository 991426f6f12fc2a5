// The creature viewer's property objects and its shared property set, in
// the set's order.
#include "widgets/CreatureViewerProperties.h"

namespace QGUI
{
namespace
{
CCreatureViewerProperty::WhichOne s_WhichOne;
CCreatureViewerProperty::RenderOper s_RenderOper;
CCreatureViewerProperty::DirectId s_DirectId;
CCreatureViewerProperty::Picked s_Picked;
} // namespace

CEGUI::ShareProSet CCreatureViewer::SharePropertySet{&s_WhichOne, &s_RenderOper, &s_DirectId, &s_Picked};
} // namespace QGUI
