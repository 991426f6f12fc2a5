// The properties of the buff icon.
#pragma once

#include "widgets/BuffIcon.h"
#include "widgets/SharedProperties.h"

namespace QGUI
{
namespace GameBuffIconProperties
{
QGUI_PROPERTY(BuffIndex, CBuffIcon, UintText, "BuffIndex",
              "Property to get/set the index for the Buff Icon.  Value is a int.", "0", &CBuffIcon::getBuffIndex,
              &CBuffIcon::setBuffIndex);
// The default is the text of the initial "no direct id", so that a layout
// saved and loaded again keeps its meaning.
QGUI_PROPERTY(DirectId, CBuffIcon, UintText, "CellId",
              "Property to get/set the direct item id of the Buff Icon.  Value is a int.", "4294967295",
              &CBuffIcon::getDirectId, &CBuffIcon::setDirectId);
} // namespace GameBuffIconProperties
} // namespace QGUI
