// The icons' property objects and their shared property set, in the set's
// order.
#include "widgets/ItemIconProperties.h"

namespace QGUI
{
namespace
{
ItemIconProperty::PackageName s_PackageName;
ItemIconProperty::PackageIndex s_PackageIndex;
ItemIconProperty::DirectId s_DirectId;
ItemIconProperty::ItemType s_ItemType;
ItemIconProperty::ClickIsPick s_ClickIsPick;
ItemIconProperty::Picked s_Picked;
ItemIconProperty::TargetId s_TargetId;
ItemIconProperty::ReadOnly s_ReadOnly;
ItemIconProperty::PackageId s_PackageId;
ItemIconProperty::SpellIndex s_SpellIndex;
ItemIconProperty::RenderOper s_RenderOper;
ItemIconProperty::WhyReadOnly s_WhyReadOnly;
} // namespace

CEGUI::ShareProSet CItemIcon::SharePropertySet{
    &s_PackageName, &s_PackageIndex, &s_DirectId, &s_ItemType, &s_ClickIsPick, &s_Picked,
    &s_TargetId, &s_ReadOnly, &s_PackageId, &s_SpellIndex, &s_RenderOper, &s_WhyReadOnly};
} // namespace QGUI
