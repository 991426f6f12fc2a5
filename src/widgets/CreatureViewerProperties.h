// The properties of the creature viewer.
#pragma once

#include "widgets/CreatureViewer.h"
#include "widgets/SharedProperties.h"

namespace QGUI
{
namespace CCreatureViewerProperty
{
// The defaults of "WhichOne" and "CellId" are the texts of a new window's
// values, so that a layout saved and loaded again keeps its meaning.
QGUI_PROPERTY(WhichOne, CCreatureViewer, StringText, "WhichOne",
              "Property to get/set the which object for the text to evaluate .  Value is a string.", "",
              &CCreatureViewer::getWhichOne, &CCreatureViewer::setWhichOne);
QGUI_PROPERTY(RenderOper, CCreatureViewer, StringText, "RenderOper",
              "Property to get/set the render operation for the viewer .  Value is a int.", "0",
              &CCreatureViewer::getRenderOperName, &CCreatureViewer::setRenderOperName);
QGUI_PROPERTY(DirectId, CCreatureViewer, UintText, "CellId",
              "Property to get/set the direct item id of CQXItemIcon.  Value is a int.", "4294967295",
              &CCreatureViewer::getDirectId, &CCreatureViewer::setDirectId);
QGUI_PROPERTY(Picked, CCreatureViewer, BoolText, "Picked",
              "Property to get/set the if this CCreatureViewer is picked.  Value is a boolean.", "False",
              &CCreatureViewer::isPicked, &CCreatureViewer::setPicked);
} // namespace CCreatureViewerProperty
} // namespace QGUI
