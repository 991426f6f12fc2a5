// A host written from include/ alone, linked with the platform library
// only: it loads the interface module with dlopen, starts it over a render
// interface and an engine client of its own, trades KeyValues messages with
// it both ways, and shuts it down. Every failed check is printed; the exit
// status is 0 when all hold.
//
// Usage: MinimalHost <path of the interface module>
#include <dlfcn.h>

#include <cstdio>
#include <cstring>
#include <vector>

#include "IQEngineClient.h"
#include "IQGUI.h"
#include "IQXRender.h"
#include "KeyValues.h"
#include "codepage.h"
#include "keyvaluessystem.h"
#include "tier0.h"
#include "winservices.h"

namespace
{
const uint16_t kWidth = 640;
const uint16_t kHeight = 480;

int g_failures = 0;

void Check(bool holds, const char* what, int line)
{
    if (holds)
        return;
    ++g_failures;
    std::fprintf(stderr, "MinimalHost.cpp:%d: check failed: %s\n", line, what);
}
#define CHECK(condition) Check((condition), #condition, __LINE__)

bool Same(const char* a, const char* b)
{
    return a && b && std::strcmp(a, b) == 0;
}

// --- Render interface: textures keep their size, quads are counted --------

class Texture final : public IQXHostTexture
{
public:
    Texture(uint32_t width, uint32_t height) : d_width(width), d_height(height) {}
    void Release() override { delete this; }
    uint32_t GetWidth() override { return d_width; }
    uint32_t GetHeight() override { return d_height; }

private:
    uint32_t d_width, d_height;
};

class TextureManager final : public IQXTextureManager
{
public:
    IQXHostTexture* LoadTexture(const char*) override { return nullptr; }
    IQXHostTexture* LoadTextureEx(const char*, int) override { return nullptr; }
    IQXHostTexture* GetPicture(uint32_t, uint32_t) override { return nullptr; }
    IQXHostTexture* CreateTexture(uint32_t width, uint32_t height, int) override
    {
        return new Texture(width, height);
    }
    void UpdateTexture(IQXHostTexture*, int, int, const void*, uint32_t, uint32_t, int) override {}
};

class Drawer final : public IQXDrawer
{
public:
    void DrawQuad(int, int, IQXHostTexture*, const float*, const float*, const float*, const uint32_t*,
                  float) override
    {
        ++quads;
    }
    void DrawQuadAlpha(int, int, IQXHostTexture*, const float*, const float*, const float*,
                       const uint32_t*, float) override
    {
        ++quads;
    }
    int quads = 0;
};

class DeviceEvents final : public IQXDeviceEventSource
{
public:
    void RemoveListener(void*) override {}
};

class Render final : public IQXRender
{
public:
    IQXTextureManager* GetTextureManager() override { return &textures; }
    IQXDrawer* GetDrawer() override { return &drawer; }
    const uint32_t* GetDeviceCaps() override { return d_caps; }
    const QXViewport* GetViewport() override { return &d_viewport; }
    IQXDeviceEventSource* GetDeviceEventSource() override { return &d_events; }

    TextureManager textures;
    Drawer drawer;

private:
    uint32_t d_caps[2] = {4096, 4096};
    QXViewport d_viewport = {kWidth, kHeight};
    DeviceEvents d_events;
};

// --- Engine client: keeps the messages it accepts ----------------------------

class EngineClient final : public IQEngineClient
{
public:
    EngineClient()
    {
        d_mode.width = kWidth;
        d_mode.height = kHeight;
        d_mode.unscaled = 1;
    }

    // Accepted messages are the host's to destroy.
    bool RecvKeyVal(KeyValues* message) override
    {
        received.push_back(message);
        return true;
    }
    bool QueryKeyVal(KeyValues*, KeyValues*) override { return false; }
    void RenderObjectQuad(uint32_t, int, int, int, int, float, uint32_t, const int*) override {}
    bool IsGuiRenderSuppressed() override { return false; }
    const QDisplayMode* GetDisplayMode() override { return &d_mode; }
    const QMainWindowRecord* GetMainWindow() override { return &d_window; }

    std::vector<KeyValues*> received;

private:
    QDisplayMode d_mode = {};
    QMainWindowRecord d_window = {this};
};

Render g_render;
EngineClient g_engine;

void* HostFactory(const char* name, int32_t* returnCode)
{
    void* found = nullptr;
    if (Same(name, QXRENDER_INTERFACE_VERSION))
        found = static_cast<IQXRender*>(&g_render);
    else if (Same(name, QENGINECLIENT_INTERFACE_VERSION))
        found = static_cast<IQEngineClient*>(&g_engine);
    if (returnCode)
        *returnCode = found ? IFACE_OK : IFACE_FAILED;
    return found;
}

uint64_t LiveNodes()
{
    return KeyValuesSystem()->GetStats().liveNodes;
}

// Allocations of the platform allocator not yet given back.
int64_t HeldAllocations()
{
    const MemAllocStats stats = GetMemAllocStats();
    return static_cast<int64_t>(stats.allocations) - static_cast<int64_t>(stats.frees);
}

void Frame(QGUI::IQGUI* gui, HostGlobals* globals)
{
    globals->curtime += globals->frametime;
    gui->Update();
}

// Both directions of the message boundary. Every tree is made on one side
// and destroyed on the other, and nothing is left over afterwards.
void TradeMessages(QGUI::IQGUI* gui, HostGlobals* globals)
{
    const uint64_t nodes = LiveNodes();
    const int64_t held = HeldAllocations();

    // From the host: a message with a parser is taken and destroyed by the
    // module, sub-keys and strings included.
    KeyValues* title = new KeyValues("_KeyVal_UpdateTitle", "Title", "Host");
    title->SetInt("Detail/Level", 7);
    CHECK(LiveNodes() == nodes + 4);
    CHECK(gui->RecvKeyVal(title));
    CHECK(LiveNodes() == nodes);

    // No message at all is refused on both paths.
    CHECK(!gui->RecvKeyVal(nullptr));
    CHECK(!gui->SendKeyVal(nullptr));

    // One without a parser is refused and stays the host's.
    KeyValues* unknown = new KeyValues("_KeyVal_NoParserHere", "Key", 1);
    CHECK(!gui->RecvKeyVal(unknown));
    CHECK(unknown->GetInt("Key") == 1);
    unknown->deleteThis();

    // From the module: a sound request goes out as a message at the next
    // frame; the host reads it and destroys it.
    gui->playSoundEffect(10, 20, "click");
    Frame(gui, globals);
    CHECK(g_engine.received.size() == 1);
    if (g_engine.received.size() == 1)
    {
        KeyValues* sound = g_engine.received[0];
        CHECK(Same(sound->GetName(), "_KeyVal_Play_Sound"));
        CHECK(Same(sound->GetString("_KeyVal_Sound_Name"), "click"));
        CHECK(sound->GetDataType("_KeyVal_Sound_Name") == KeyValues::TYPE_STRING);
        sound->deleteThis();
    }
    g_engine.received.clear();

    // Through the module and back: the module rewrites the host's UTF-8
    // texts into the local code page (GBK here) before the game gets them.
    const uint32_t codePage = GetLocalCodePage();
    CHECK(SetLocalCodePage(936));
    KeyValues* chat = new KeyValues("_KeyVal_Chat", "Text", u8"\u4f60\u597d");
    chat->SetInt("Channel", 3);
    CHECK(gui->SendKeyVal(chat));
    CHECK(g_engine.received.size() == 1 && g_engine.received[0] == chat);
    CHECK(Same(chat->GetString("Text"), "\xC4\xE3\xBA\xC3"));
    char16_t wide[8] = {};
    CHECK(MultiByteToWideChar(CP_ACP, 0, chat->GetString("Text"), -1, wide, 8) == 3);
    CHECK(wide[0] == 0x4F60 && wide[1] == 0x597D && wide[2] == 0);
    CHECK(chat->GetInt("Channel") == 3);
    chat->deleteThis();
    g_engine.received.clear();
    SetLocalCodePage(codePage);

    CHECK(LiveNodes() == nodes);
    CHECK(HeldAllocations() == held);
}
} // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
    {
        std::fprintf(stderr, "usage: %s <interface module>\n", argv[0]);
        return 2;
    }
    // The module stays loaded until the process ends: the GUI system keeps
    // its renderer and factories after ShutDown.
    void* module = dlopen(argv[1], RTLD_NOW | RTLD_LOCAL);
    if (!module)
    {
        std::fprintf(stderr, "cannot load %s: %s\n", argv[1], dlerror());
        return 1;
    }
    auto createInterface = reinterpret_cast<CreateInterfaceFn>(dlsym(module, "CreateInterface"));
    if (!createInterface)
    {
        std::fprintf(stderr, "%s exports no CreateInterface\n", argv[1]);
        return 1;
    }
    int32_t returnCode = IFACE_FAILED;
    auto* gui = static_cast<QGUI::IQGUI*>(createInterface(QGUI_INTERFACE_VERSION, &returnCode));
    if (!gui || returnCode != IFACE_OK)
    {
        std::fprintf(stderr, "%s does not serve %s\n", argv[1], QGUI_INTERFACE_VERSION);
        return 1;
    }

    SetScreenSize(kWidth, kHeight);
    HostGlobals globals = {};
    globals.frametime = 1.0f / 60.0f;
    CreateInterfaceFn factories[] = {&HostFactory};
    if (!gui->Init(factories, 1, &globals))
    {
        std::fprintf(stderr, "the module's Init failed\n");
        return 1;
    }
    Frame(gui, &globals);

    TradeMessages(gui, &globals);

    gui->ShutDown();
    if (g_failures)
        std::fprintf(stderr, "%d check(s) failed\n", g_failures);
    return g_failures ? 1 : 0;
}
