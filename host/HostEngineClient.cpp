#include "HostEngineClient.h"

#include <algorithm>

#include "HostRender.h"
#include "KeyValues.h"

namespace QHost
{
namespace
{
// Stands for the game window: only its address is handed out.
char s_gameWindow;
} // namespace

HostEngineClient::HostEngineClient(HostRender* render) : d_render(render)
{
    d_mainWindow.hwnd = &s_gameWindow;
}

HostEngineClient::~HostEngineClient()
{
    freeMessages();
}

void HostEngineClient::freeMessages()
{
    for (KeyValues* message : messages)
        message->deleteThis();
    messages.clear();
}

bool HostEngineClient::RecvKeyVal(KeyValues* message)
{
    if (!message)
        return false;
    messages.push_back(message);
    return true;
}

bool HostEngineClient::QueryKeyVal(KeyValues*, KeyValues*)
{
    ++queryCount;
    return false;
}

void HostEngineClient::RenderObjectQuad(uint32_t objectId, int left, int top, int right,
                                        int bottom, float z, uint32_t renderOp,
                                        const int* texRect)
{
    ObjectQuad quad{objectId, left, top, right, bottom, z, renderOp, {0, 0, 0, 0}, texRect != nullptr};
    if (texRect)
        std::copy(texRect, texRect + 4, quad.texRect);
    objectQuads.push_back(quad);
    if (d_render)
        d_render->fillRect(left, top, right, bottom, kObjectColour);
}

bool HostEngineClient::IsGuiRenderSuppressed()
{
    ++suppressQueries;
    return guiRenderSuppressed;
}

const QDisplayMode* HostEngineClient::GetDisplayMode()
{
    // Screen and drawing surface are the same frame here.
    const QXViewport* viewport = d_render ? d_render->GetViewport() : nullptr;
    d_displayMode.width = viewport ? viewport->width : 0;
    d_displayMode.height = viewport ? viewport->height : 0;
    d_displayMode.unscaled = 1;
    d_displayMode.offsetEighth = 0;
    return &d_displayMode;
}

const QMainWindowRecord* HostEngineClient::GetMainWindow()
{
    return &d_mainWindow;
}
} // namespace QHost
