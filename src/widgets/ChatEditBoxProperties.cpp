// The chat edit box's property objects and its shared property set, in the
// set's order.
#include "widgets/ChatEditBoxProperties.h"

namespace QGUI
{
namespace
{
CChatEditboxProperty::PushId s_PushId;
CChatEditboxProperty::PushText s_PushText;
CChatEditboxProperty::EncodedText s_EncodedText;
CChatEditboxProperty::MaxEncodeNum s_MaxEncodeNum;
CChatEditboxProperty::EncodeNum s_EncodeNum;
} // namespace

CEGUI::ShareProSet CChatEditBox::SharePropertySet{&s_PushId, &s_PushText, &s_EncodedText, &s_MaxEncodeNum,
                                                  &s_EncodeNum};
} // namespace QGUI
