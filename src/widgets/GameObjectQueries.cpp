#include "widgets/GameObjectQueries.h"

#include "IQGUI.h"
#include "KeyValues.h"
#include "render/GuiString.h"
#include "strtools.h"

namespace QGUI
{
void KeyValuesDeleter::operator()(KeyValues* kv) const
{
    kv->deleteThis();
}

bool QueryObjectTooltip(IQGUI* main, int32_t objectId, bool needCompareText, CEGUI::String& text)
{
    if (!main)
        return false;
    KeyValuesPtr request(new KeyValues("GameObjectTooltip"));
    KeyValuesPtr reply(new KeyValues(""));
    request->SetInt("ObjectId", objectId);
    if (needCompareText)
        request->SetInt("GameObjectNeedCmpTxt", 1);
    // A reply without the text is no answer.
    if (!main->QueryKeyVal(request.get(), reply.get()) || !reply->FindKey("GameObjectTooltipValue"))
        return false;
    text = StringFromUtf8(AnsiToUtf8(reply->GetString("GameObjectTooltipValue", ""), ""));
    return true;
}

uint32_t QueryObjectCompareId(IQGUI* main, int32_t objectId)
{
    if (!main)
        return 0;
    KeyValuesPtr request(new KeyValues("GameObjectCompare"));
    KeyValuesPtr reply(new KeyValues(""));
    request->SetInt("ObjectId", objectId);
    if (!main->QueryKeyVal(request.get(), reply.get()))
        return 0;
    return static_cast<uint32_t>(reply->GetInt("GameObjectCompareId", 0));
}

bool QueryObjectProperty(IQGUI* main, int32_t objectId, const CEGUI::String& property,
                         std::string& value)
{
    if (!main)
        return false;
    KeyValuesPtr request(new KeyValues("GameObjectProperty"));
    KeyValuesPtr reply(new KeyValues(""));
    request->SetInt("ObjectId", objectId);
    request->SetString("WhichProperty", property.c_str());
    if (!main->QueryKeyVal(request.get(), reply.get()))
        return false;
    value = reply->GetString("PropertyStringValue", "");
    return true;
}

bool QueryCreatureId(IQGUI* main, const std::string& provider, const CEGUI::String& whichOne,
                     int32_t& id)
{
    if (!main)
        return false;
    KeyValuesPtr request(new KeyValues(provider.c_str()));
    KeyValuesPtr reply(new KeyValues(""));
    request->SetString("WhichOne", whichOne.c_str());
    if (!main->QueryKeyVal(request.get(), reply.get()))
        return false;
    id = reply->GetInt("CreatureId", -1);
    return true;
}
} // namespace QGUI
