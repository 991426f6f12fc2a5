// The buff icon's property objects and its shared property set, in the
// set's order.
#include "widgets/BuffIconProperties.h"

namespace QGUI
{
namespace
{
GameBuffIconProperties::BuffIndex s_BuffIndex;
GameBuffIconProperties::DirectId s_DirectId;
} // namespace

CEGUI::ShareProSet CBuffIcon::SharePropertySet{&s_BuffIndex, &s_DirectId};
} // namespace QGUI
