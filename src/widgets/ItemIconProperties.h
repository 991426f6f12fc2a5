// The properties of the item and spell icons.
#pragma once

#include "widgets/ItemIcon.h"
#include "widgets/SharedProperties.h"

namespace QGUI
{
namespace ItemIconProperty
{
QGUI_PROPERTY(PackageName, CItemIcon, StringText, "PackageName",
              "Property to get/set the package name for the CQXItemIcon.  Value is a string.", "",
              &CItemIcon::getPackageName, &CItemIcon::setPackageName);
// The default is the text of the initial "no slot" index, so that a layout
// saved and loaded again keeps its meaning.
QGUI_PROPERTY(PackageIndex, CItemIcon, UintText, "PackageIndex",
              "Property to get/set the package index for the CQXItemIcon.  Value is a int.",
              "4294967295", &CItemIcon::getPackageIndex, &CItemIcon::setPackageIndex);
QGUI_PROPERTY(DirectId, CItemIcon, UintText, "CellId",
              "Property to get/set the direct item id of CQXItemIcon.  Value is a int.", "0",
              &CItemIcon::getDirectId, &CItemIcon::setDirectId);
QGUI_PROPERTY(ItemType, CItemIcon, StringText, "ItemType",
              "Property to get/set the package name for the CQXItemIcon.  Value is a string.", "Item",
              &CItemIcon::getItemType, &CItemIcon::setItemType);
QGUI_PROPERTY(ClickIsPick, CItemIcon, BoolText, "ClickIsPick",
              "Property to get/set the if this CQXItemIcon click operation is pick.  Value is a boolean.",
              "0", &CItemIcon::isClickPick, &CItemIcon::setClickIsPick);
QGUI_PROPERTY(Picked, CItemIcon, BoolText, "Picked",
              "Property to get/set the if this CQXItemIcon is picked.  Value is a boolean.", "False",
              &CItemIcon::isPicked, &CItemIcon::setPicked);
// Set only by the icon's own refresh: writes are ignored.
QGUI_PROPERTY(TargetId, CItemIcon, IntText, "TargetId",
              "Property to get/set target id of this CQXItemIcon. Value is a int.", "0",
              &CItemIcon::getTargetIdSigned, nullptr);
QGUI_PROPERTY(ReadOnly, CItemIcon, BoolText, "ReadOnly",
              "Property to get/set the if this CQXItemIcon is read only.  Value is a boolean.", "False",
              &CItemIcon::isReadOnly, &CItemIcon::setReadOnly);
QGUI_PROPERTY(PackageId, CItemIcon, UintText, "PackageId",
              "Property to get/set the package id for the CQXItemIcon.  Value is a uint.", "0",
              &CItemIcon::getPackageId, &CItemIcon::setPackageId);
// The default is the text of the initial "no spell" index (see PackageIndex).
QGUI_PROPERTY(SpellIndex, CItemIcon, UintText, "Spell_Index",
              "Property to get/set the spell index.  Value is a integer.", "4294967295",
              &CItemIcon::getSpellIndex, &CItemIcon::setSpellIndex);
QGUI_PROPERTY(RenderOper, CItemIcon, StringText, "RenderOper",
              "Property to get/set the render operation for the icon .  Value is a int.", "0",
              &CItemIcon::getRenderOperName, &CItemIcon::setRenderOperName);
QGUI_PROPERTY(WhyReadOnly, CItemIcon, StringText, "WhyReadOnly",
              "Property to get/set the reason for read-only of this CQXItemIcon.  Value is a string.", "",
              &CItemIcon::getReadOnlyReason, &CItemIcon::setReadOnlyReason);
} // namespace ItemIconProperty
} // namespace QGUI
