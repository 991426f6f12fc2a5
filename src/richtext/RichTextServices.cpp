// The rich-text engine's ways to the main object and the host.
#include "richtext/RichTextServices.h"

#include <CEGUI/System.h>

#include "IQGUI.h"
#include "IQXRender.h"
#include "KeyValues.h"
#include "core/QGUI.h"
#include "widgets/QGUIExtraFacoryManager.h"
#include "render/QXRenderer.h"

namespace QGUI
{
namespace TextBlocks
{
namespace
{
bool g_standInsSet = false;
ServiceStandIns g_standIns{nullptr, nullptr, nullptr};

int g_creatureId = 0;
bool g_creatureIdAsked = false;
IQXTextureManager* g_textureManager = nullptr;

void QueryPictureCreatureId()
{
    IQGUI* main = GetMainObject();
    if (!main)
        return;
    KeyValues* request = new KeyValues("GameCreatureProvider");
    request->SetString("WhichOne", "Picture");
    KeyValues* reply = new KeyValues("");
    if (main->QueryKeyVal(request, reply))
        g_creatureId = reply->GetInt("CreatureId", g_creatureId);
    request->deleteThis();
    reply->deleteThis();
}

// The texture manager of the module's renderer. Only a manager that was
// found is kept, so a look-up before start-up is made again later.
IQXTextureManager* GetPictureTextureManager()
{
    if (g_standInsSet)
        return g_standIns.textureManager;
    if (g_textureManager)
        return g_textureManager;
    CEGUI::System* system = CEGUI::System::getSingletonPtr();
    if (!system)
        return nullptr;
    auto* renderer = dynamic_cast<QXUI::CQXRenerder*>(system->getRenderer());
    IQXRender* render = renderer ? renderer->getRenderInterface() : nullptr;
    g_textureManager = render ? render->GetTextureManager() : nullptr;
    return g_textureManager;
}
} // namespace

IQGUI* GetMainObject()
{
    if (g_standInsSet)
        return g_standIns.mainObject;
    return QGUIExtraFacoryManager::Instance().GetMainObject();
}

bool FetchItemColour(int itemId, uint32_t& colour)
{
    colour = 0;
    if (g_standInsSet)
        return g_standIns.fetchItemColour && g_standIns.fetchItemColour(itemId, colour);
    return CQGUI::GetGlobalObject()->TryFetchColourBySet("item_color", itemId, colour);
}

int GetPictureCreatureId()
{
    if (!g_creatureIdAsked)
    {
        g_creatureIdAsked = true;
        QueryPictureCreatureId();
    }
    return g_creatureId;
}

CEGUI::Sizef GetPictureSize(uint16_t group, uint16_t number)
{
    IQXTextureManager* manager = GetPictureTextureManager();
    IQXHostTexture* texture = manager ? manager->GetPicture(group, number) : nullptr;
    if (!texture)
        return CEGUI::Sizef(0.0f, 0.0f);
    return CEGUI::Sizef(static_cast<float>(texture->GetWidth()),
                        static_cast<float>(texture->GetHeight()));
}

void SetServiceStandIns(const ServiceStandIns* standIns)
{
    g_standInsSet = standIns != nullptr;
    g_standIns = standIns ? *standIns : ServiceStandIns{nullptr, nullptr, nullptr};
    g_creatureId = 0;
    g_creatureIdAsked = false;
    g_textureManager = nullptr;
}
} // namespace TextBlocks
} // namespace QGUI
