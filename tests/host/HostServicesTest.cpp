// The host services the module reaches through the factory list: texture
// manager, factories, engine client, clock, and the web-control module.
#include <gtest/gtest.h>

#include <dlfcn.h>

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <regex>
#include <sstream>

#include "FakeFileSystem.h"
#include "HostEngineClient.h"
#include "HostFactories.h"
#include "HostImage.h"
#include "HostRender.h"
#include "IWebCtrl.h"
#include "KeyValues.h"
#include "SampleArt.h"
#include "WebCtrlRecord.h"

using namespace QHost;

namespace
{
Image Solid(uint32_t w, uint32_t h, uint32_t argb)
{
    Image image;
    image.width = w;
    image.height = h;
    image.argb.assign(size_t(w) * h, argb);
    return image;
}

class TextureManagerTest : public ::testing::Test
{
protected:
    TextureManagerTest() : render(32, 32, &files) {}

    FakeFileSystem files;
    HostRender render;
    IQXTextureManager& manager() { return *render.GetTextureManager(); }
};
} // namespace

TEST_F(TextureManagerTest, LoadsTgaAndTexThroughTheFileSystem)
{
    files.files["resource\\UI\\imagesets\\a.tga"] = EncodeTga(Solid(3, 2, 0xFF112233), true, false);
    files.files["resource\\UI\\imagesets\\b.tex"] = EncodeTex(Solid(5, 4, 0xFF445566));

    IQXHostTexture* tga = manager().LoadTextureEx("resource\\UI\\imagesets\\a.tga", 1);
    ASSERT_NE(tga, nullptr);
    EXPECT_EQ(tga->GetWidth(), 3u);
    EXPECT_EQ(tga->GetHeight(), 2u);
    IQXHostTexture* tex = manager().LoadTexture("resource\\UI\\imagesets\\b.tex");
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(tex->GetWidth(), 5u);

    // Opened as given, for reading, below the path id "GAME"; every handle closed.
    ASSERT_EQ(files.opens.size(), 2u);
    EXPECT_EQ(files.opens[0].path, "resource\\UI\\imagesets\\a.tga");
    EXPECT_EQ(files.opens[0].mode, "rb");
    EXPECT_EQ(files.opens[0].pathId, "GAME");
    EXPECT_TRUE(files.open.empty());

    ASSERT_EQ(render.loads.size(), 2u);
    EXPECT_TRUE(render.loads[0].ex);
    EXPECT_EQ(render.loads[0].alpha, 1);
    EXPECT_TRUE(render.loads[0].loaded);
    EXPECT_FALSE(render.loads[1].ex);
    EXPECT_EQ(render.liveTextureCount(), 2u);

    tga->Release();
    tex->Release();
    EXPECT_EQ(render.liveTextureCount(), 0u);
    EXPECT_EQ(render.releaseCount, 2u);
}

TEST_F(TextureManagerTest, MissingShortCorruptOrUnknownFilesGiveNull)
{
    files.files["bad.tga"] = {1, 2, 3};
    files.files["good.tga"] = EncodeTga(Solid(2, 2, 0xFF000000), false, false);
    files.files["picture.png"] = EncodeTga(Solid(2, 2, 0xFF000000), false, false);

    EXPECT_EQ(manager().LoadTextureEx("missing.tga", 1), nullptr);
    EXPECT_EQ(manager().LoadTextureEx("bad.tga", 1), nullptr);
    EXPECT_EQ(manager().LoadTextureEx("picture.png", 1), nullptr);
    files.shortReads = true;
    EXPECT_EQ(manager().LoadTextureEx("good.tga", 1), nullptr);
    EXPECT_EQ(manager().LoadTexture(nullptr), nullptr);

    EXPECT_EQ(render.liveTextureCount(), 0u);
    EXPECT_TRUE(files.open.empty()); // closed on every failure too
    ASSERT_EQ(render.loads.size(), 5u);
    for (const auto& load : render.loads)
        EXPECT_FALSE(load.loaded) << load.path;

    HostRender noFiles(8, 8, nullptr);
    EXPECT_EQ(noFiles.LoadTextureEx("good.tga", 1), nullptr);
}

TEST_F(TextureManagerTest, UpdateTextureTakesArgbValuesInMemoryOrder)
{
    IQXHostTexture* tex = manager().CreateTexture(2, 2, QXTEXFMT_A8R8G8B8);
    ASSERT_NE(tex, nullptr);
    EXPECT_EQ(tex->GetWidth(), 2u);
    auto* host = static_cast<HostTexture*>(tex);
    // A new texture is fully transparent.
    EXPECT_EQ(host->image.argb, std::vector<uint32_t>(4, 0u));

    // Bytes B, G, R, A in memory: one little-endian 0x80FF2010 value.
    const uint8_t bytes[4] = {0x10, 0x20, 0xFF, 0x80};
    manager().UpdateTexture(tex, 1, 1, bytes, 1, 1, 1);
    const uint32_t values[2] = {0x40000000u | 0x00123456u, 0x00ABCDEFu};
    manager().UpdateTexture(tex, 0, 0, values, 2, 1, 1);

    EXPECT_EQ(host->image.at(1, 1), 0x80FF2010u);
    EXPECT_EQ(host->image.at(0, 0), 0x40123456u);
    EXPECT_EQ(host->image.at(1, 0), 0x00ABCDEFu);
    EXPECT_EQ(host->image.at(0, 1), 0x00000000u);

    // Without the alpha flag the pixels are opaque.
    manager().UpdateTexture(tex, 0, 0, values, 2, 1, 0);
    EXPECT_EQ(host->image.at(1, 0), 0xFFABCDEFu);

    ASSERT_EQ(render.createCalls.size(), 1u);
    EXPECT_EQ(render.createCalls[0], std::make_pair(2u, 2u));
    ASSERT_EQ(render.updateCalls.size(), 3u);
    EXPECT_EQ(render.updateCalls[0].x, 1);
    EXPECT_EQ(render.updateCalls[2].alpha, 0);
}

TEST_F(TextureManagerTest, UpdateTextureKeepsInsideTheTexture)
{
    IQXHostTexture* tex = manager().CreateTexture(4, 4, QXTEXFMT_A8R8G8B8);
    std::vector<uint32_t> block(9, 0xFFFFFFFF);
    manager().UpdateTexture(tex, 2, 2, block.data(), 3, 3, 1);   // hangs over right and bottom
    manager().UpdateTexture(tex, -2, -2, block.data(), 3, 3, 1); // hangs over left and top
    manager().UpdateTexture(tex, 0, 0, nullptr, 3, 3, 1);
    manager().UpdateTexture(nullptr, 0, 0, block.data(), 3, 3, 1);

    const Image& image = static_cast<HostTexture*>(tex)->image;
    int set = 0;
    for (uint32_t v : image.argb)
        set += v == 0xFFFFFFFF;
    EXPECT_EQ(set, 4 + 1);
    EXPECT_EQ(image.at(3, 3), 0xFFFFFFFFu);
    EXPECT_EQ(image.at(0, 0), 0xFFFFFFFFu);
}

TEST_F(TextureManagerTest, CreateTextureRefusesWhatItCannotMake)
{
    EXPECT_EQ(manager().CreateTexture(0, 16, QXTEXFMT_A8R8G8B8), nullptr);
    EXPECT_EQ(manager().CreateTexture(16, 16, 22), nullptr);
    EXPECT_EQ(manager().CreateTexture(70000, 70000, QXTEXFMT_A8R8G8B8), nullptr);
    EXPECT_EQ(render.createCalls.size(), 3u);
}

TEST_F(TextureManagerTest, GamePicturesComeFromTheTableAndStayWithTheRenderer)
{
    IQXHostTexture* preset = manager().GetPicture(1, 2);
    ASSERT_NE(preset, nullptr);
    EXPECT_EQ(preset->GetWidth(), 16u);
    EXPECT_EQ(manager().GetPicture(3, 7), nullptr);
    render.setPicture(3, 7, Solid(24, 16, 0xFF00FF00));
    IQXHostTexture* picture = manager().GetPicture(3, 7);
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->GetWidth(), 24u);
    EXPECT_EQ(picture->GetHeight(), 16u);
    picture->Release(); // not the caller's: nothing happens
    EXPECT_EQ(manager().GetPicture(3, 7), picture);
    EXPECT_EQ(manager().GetPicture(7, 3), nullptr);
    ASSERT_EQ(render.pictureRequests.size(), 5u);
    EXPECT_EQ(render.pictureRequests[1], std::make_pair(3u, 7u));

    // A picture can be drawn like any texture of the renderer.
    const float scale[2] = {1, 1}, zero[3] = {0, 0, 0}, src[4] = {0, 0, 1, 1};
    const uint32_t white[4] = {0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
    render.DrawQuadAlpha(0, 0, preset, scale, zero, src, white, 0);
    EXPECT_EQ(render.pixel(15, 15), HostRender::kPicture12Colour);
    EXPECT_EQ(render.invalidTextureDraws, 0u);
}

// ---------------------------------------------------------------------------

class FactoryTest : public ::testing::Test
{
protected:
    FactoryTest() : render(16, 16), engine(&render)
    {
        InstallHostInterfaces(&render, &engine, &files);
    }
    ~FactoryTest() override { InstallHostInterfaces(nullptr, nullptr, nullptr); }

    HostRender render;
    HostEngineClient engine;
    FakeFileSystem files;
};

TEST_F(FactoryTest, EachNameIsServedByExactlyOneFactoryWithReturnCodeZero)
{
    const char* names[kFactoryCount] = {QXRENDER_INTERFACE_VERSION, QENGINECLIENT_INTERFACE_VERSION,
                                        FILESYSTEM_INTERFACE_VERSION};
    for (const char* name : names)
    {
        int served = 0;
        for (int i = 0; i < kFactoryCount; ++i)
        {
            int32_t rc = -1;
            void* object = HostFactories()[i](name, &rc);
            if (rc == IFACE_OK)
            {
                ++served;
                EXPECT_NE(object, nullptr);
            }
            else
            {
                EXPECT_EQ(rc, IFACE_FAILED) << name;
                EXPECT_EQ(object, nullptr) << name;
            }
        }
        EXPECT_EQ(served, 1) << name;
    }
}

TEST_F(FactoryTest, ObjectsAreHandedOutAsTheNamedInterface)
{
    // The render object has several interfaces; the pointer handed out must
    // be usable as an IQXRender.
    void* qx = RenderFactory("QXRender", nullptr);
    EXPECT_EQ(qx, static_cast<void*>(static_cast<IQXRender*>(&render)));
    EXPECT_EQ(static_cast<IQXRender*>(qx)->GetViewport()->width, 16);
    void* client = EngineClientFactory("QEngineClient001", nullptr);
    EXPECT_EQ(client, static_cast<void*>(static_cast<IQEngineClient*>(&engine)));
    EXPECT_EQ(FileSystemFactory("FileSystem001", nullptr),
              static_cast<void*>(static_cast<IBaseFileSystem*>(&files)));
}

TEST_F(FactoryTest, NamesMatchExactly)
{
    int32_t rc = IFACE_OK;
    EXPECT_EQ(RenderFactory("qxrender", &rc), nullptr);
    EXPECT_EQ(rc, IFACE_FAILED);
    rc = IFACE_OK;
    EXPECT_EQ(RenderFactory("QXRender ", &rc), nullptr);
    EXPECT_EQ(rc, IFACE_FAILED);
    rc = IFACE_OK;
    EXPECT_EQ(FileSystemFactory("", &rc), nullptr);
    EXPECT_EQ(rc, IFACE_FAILED);
    rc = IFACE_OK;
    EXPECT_EQ(EngineClientFactory(nullptr, &rc), nullptr);
    EXPECT_EQ(rc, IFACE_FAILED);
}

TEST_F(FactoryTest, WithdrawnObjectsAreNotServed)
{
    InstallHostInterfaces(&render, nullptr, nullptr);
    int32_t rc = IFACE_OK;
    EXPECT_EQ(EngineClientFactory("QEngineClient001", &rc), nullptr);
    EXPECT_EQ(rc, IFACE_FAILED);
    rc = IFACE_OK;
    EXPECT_EQ(FileSystemFactory("FileSystem001", &rc), nullptr);
    EXPECT_EQ(rc, IFACE_FAILED);
    EXPECT_NE(RenderFactory("QXRender", &rc), nullptr);
    EXPECT_EQ(rc, IFACE_OK);
}

// ---------------------------------------------------------------------------

TEST(EngineClientTest, GameObjectsAreRecordedAndDrawnAsTheirPictures)
{
    FakeFileSystem fs;
    const std::string data = "\"GameData\" { \"Objects\" { \"5\" { \"Picture\" \"FF4080C0\" } } }";
    fs.files["objects.txt"] = std::vector<uint8_t>(data.begin(), data.end());
    HostRender render(64, 64);
    render.setBackground(0xFF000000);
    render.clearFrame();
    HostEngineClient engine(&render);
    ASSERT_TRUE(engine.LoadGameData(&fs, "objects.txt"));
    const int texRect[4] = {1, 2, 3, 4};
    // Anchor (20, 20), area 32 x 32: a 16-pixel square from (12, 12).
    engine.RenderObjectQuad(5, 20, 20, 32, 32, 0.25f, 1, texRect);
    engine.RenderObjectQuad(0xFFFFFFFFu, 40, 40, 32, 32, 0.5f, 17, nullptr);

    ASSERT_EQ(engine.objectQuads.size(), 2u);
    EXPECT_EQ(engine.objectQuads[0].objectId, 5u);
    EXPECT_EQ(engine.objectQuads[0].texRect[3], 4);
    EXPECT_FLOAT_EQ(engine.objectQuads[0].z, 0.25f);
    EXPECT_EQ(engine.objectQuads[1].renderOp, 17u);
    EXPECT_FALSE(engine.objectQuads[1].hasTexRect);

    EXPECT_EQ(render.pixel(11, 20), 0xFF000000u);
    EXPECT_EQ(render.pixel(12, 20), HostEngineClient::kPictureOutline);
    EXPECT_EQ(render.pixel(13, 14), 0xFF4080C0u);
    EXPECT_EQ(render.pixel(20, 20), HostEngineClient::Lightened(0xFF4080C0u));
    EXPECT_EQ(render.pixel(27, 20), HostEngineClient::kPictureOutline);
    EXPECT_EQ(render.pixel(28, 20), 0xFF000000u);
    // An object without a picture draws nothing; a dark operation darkens.
    EXPECT_EQ(render.pixel(40, 40), 0xFF000000u);
    engine.RenderObjectQuad(5, 40, 40, 32, 32, 0.5f, 17, nullptr);
    EXPECT_EQ(render.pixel(33, 34), HostEngineClient::Darkened(0xFF4080C0u));
    EXPECT_EQ(HostEngineClient::Darkened(0xFF4080C0u), 0xFF204060u);
}

TEST(EngineClientTest, SlotQueriesNameTheObjectInASlot)
{
    FakeFileSystem fs;
    const std::string data = "\"GameData\" { \"Slots\" { \"Bags\" { \"Bag\" { \"0\" \"1001\" } "
                             "\"Spell_Index\" { \"2\" \"2001\" } } } }";
    fs.files["objects.txt"] = std::vector<uint8_t>(data.begin(), data.end());
    HostEngineClient engine;
    ASSERT_TRUE(engine.LoadGameData(&fs, "objects.txt"));
    KeyValues* request = new KeyValues("Bags", "PackageName", "Bag");
    KeyValues* reply = new KeyValues("");
    request->SetInt("PackageIndex", 0);
    EXPECT_TRUE(engine.QueryKeyVal(request, reply));
    EXPECT_EQ(reply->GetInt("CellId"), 1001);
    request->SetInt("PackageIndex", 1);
    EXPECT_FALSE(engine.QueryKeyVal(request, reply));
    KeyValues* spell = new KeyValues("Bags", "Spell_Index", 2);
    EXPECT_TRUE(engine.QueryKeyVal(spell, reply));
    EXPECT_EQ(reply->GetInt("CellId"), 2001);
    request->SetName("Other");
    EXPECT_FALSE(engine.QueryKeyVal(request, reply));
    spell->deleteThis();
    request->deleteThis();
    reply->deleteThis();
}

TEST(EngineClientTest, DisplayModeMainWindowAndSuppression)
{
    HostRender render(640, 480);
    HostEngineClient engine(&render);
    const QDisplayMode* mode = engine.GetDisplayMode();
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->width, 640);
    EXPECT_EQ(mode->height, 480);
    EXPECT_NE(mode->unscaled, 0);
    EXPECT_EQ(mode->offsetEighth, 0);
    // The module reads the record at fixed offsets.
    EXPECT_EQ(*reinterpret_cast<const uint16_t*>(reinterpret_cast<const uint8_t*>(mode) + 10), 640);

    ASSERT_NE(engine.GetMainWindow(), nullptr);
    EXPECT_NE(engine.GetMainWindow()->hwnd, nullptr);

    EXPECT_FALSE(engine.IsGuiRenderSuppressed());
    engine.guiRenderSuppressed = true;
    EXPECT_TRUE(engine.IsGuiRenderSuppressed());
    EXPECT_EQ(engine.suppressQueries, 2u);
    EXPECT_FALSE(engine.QueryKeyVal(nullptr, nullptr));
    EXPECT_FALSE(engine.RecvKeyVal(nullptr));
    EXPECT_TRUE(engine.messages.empty());
}

TEST(EngineClientTest, PostedMessagesAreKeptAndFreed)
{
    HostEngineClient engine;
    KeyValues* first = new KeyValues("_KeyVal_Play_Sound");
    KeyValues* second = new KeyValues("second");
    EXPECT_TRUE(engine.RecvKeyVal(first));
    EXPECT_TRUE(engine.RecvKeyVal(second));
    ASSERT_EQ(engine.messages.size(), 2u);
    EXPECT_EQ(engine.messages[0], first);
    engine.freeMessages(); // under the sanitizers a double or missing free shows
    EXPECT_TRUE(engine.messages.empty());
    engine.RecvKeyVal(new KeyValues("left for the destructor"));
}

TEST(EngineClientTest, QueriesAreAnsweredFromTheGameData)
{
    FakeFileSystem fs;
    const std::string data = "\"GameData\" { \"Objects\" { \"7\" { \"Name\" \"Axe\" \"Tooltip\" \"An axe\\nSharp\" "
                             "\"CompareId\" \"8\" } } \"Creatures\" { \"Player\" \"1\" } }";
    fs.files["game\\objects.txt"] = std::vector<uint8_t>(data.begin(), data.end());
    HostEngineClient engine;
    KeyValues* request = new KeyValues("GameObjectProperty", "ObjectId", 7);
    KeyValues* reply = new KeyValues("");
    EXPECT_FALSE(engine.QueryKeyVal(request, reply));  // no data yet
    ASSERT_TRUE(engine.LoadGameData(&fs, "game\\objects.txt"));

    request->SetString("WhichProperty", "Name");
    EXPECT_TRUE(engine.QueryKeyVal(request, reply));
    EXPECT_STREQ(reply->GetString("PropertyStringValue"), "Axe");
    request->SetString("WhichProperty", "Weight");
    EXPECT_FALSE(engine.QueryKeyVal(request, reply));
    request->SetName("GameObjectTooltip");
    EXPECT_TRUE(engine.QueryKeyVal(request, reply));
    EXPECT_STREQ(reply->GetString("GameObjectTooltipValue"), "An axe\nSharp");
    request->SetName("GameObjectCompare");
    EXPECT_TRUE(engine.QueryKeyVal(request, reply));
    EXPECT_EQ(reply->GetInt("GameObjectCompareId"), 8);
    request->SetInt("ObjectId", 9);
    EXPECT_FALSE(engine.QueryKeyVal(request, reply));

    KeyValues* creature = new KeyValues("GameCreatureProvider", "WhichOne", "Player");
    EXPECT_TRUE(engine.QueryKeyVal(creature, reply));
    EXPECT_EQ(reply->GetInt("CreatureId"), 1);
    creature->SetString("WhichOne", "Nobody");
    EXPECT_FALSE(engine.QueryKeyVal(creature, reply));
    EXPECT_FALSE(engine.QueryKeyVal(nullptr, reply));
    EXPECT_FALSE(engine.LoadGameData(&fs, "missing.txt"));
    creature->deleteThis();
    request->deleteThis();
    reply->deleteThis();
}

TEST(EngineClientTest, ASentChatLineComesBackAsTheGamesChatLine)
{
    FakeFileSystem fs;
    const std::string data = "\"GameData\" { \"Chat\" { \"PlayerName\" \"Taliesin\" } }";
    fs.files["game\\objects.txt"] = std::vector<uint8_t>(data.begin(), data.end());
    HostEngineClient engine;
    engine.echo = nullptr;
    KeyValues* sent = new KeyValues("_KeyVal_Chat_Send");
    sent->SetString("Channel", "Party");
    sent->SetString("Text", "hello {I 1001:[Short sword]}");
    EXPECT_TRUE(engine.RecvKeyVal(sent));
    ASSERT_TRUE(engine.LoadGameData(&fs, "game\\objects.txt"));
    EXPECT_TRUE(engine.RecvKeyVal(new KeyValues("_KeyVal_Chat_Send", "Text", "again")));
    EXPECT_TRUE(engine.RecvKeyVal(new KeyValues("_KeyVal_Other")));
    std::vector<KeyValues*> lines = engine.takeToInterface();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_TRUE(engine.toInterface.empty());
    EXPECT_EQ(HostEngineClient::Describe(lines[0]),
              "_KeyVal_Chat_Recv {Channel=\"Party\" Name=\"Player\" Text=\"hello {I 1001:[Short sword]}\"}");
    EXPECT_EQ(HostEngineClient::Describe(lines[1]), "_KeyVal_Chat_Recv {Channel=\"\" Name=\"Taliesin\" Text=\"again\"}");
    for (KeyValues* line : lines)
        line->deleteThis();
    // Lines not taken go with the engine client.
    engine.RecvKeyVal(new KeyValues("_KeyVal_Chat_Send", "Text", "left"));
}

TEST(EngineClientTest, EachMessageIsPrintedAsOneLineWhenItArrives)
{
    HostEngineClient engine;
    std::FILE* out = std::tmpfile();
    ASSERT_NE(out, nullptr);
    engine.echo = out;

    // Strings arrive in the local code page (GBK here) and print as UTF-8;
    // quotes, backslashes and control characters are escaped.
    KeyValues* message = new KeyValues("_KeyVal_Sample_Click");
    message->SetString("Button", "Send\"\\\n\xD6\xD0");
    message->SetInt("Count", -3);
    message->SetFloat("Scale", 0.5f);
    message->SetWString("Wide", u"\u4E2D!");
    KeyValues* sub = message->FindKey("Sub", true);
    sub->SetInt("Id", 7);
    sub->FindKey("Empty", true);
    EXPECT_TRUE(engine.RecvKeyVal(message));
    engine.echo = nullptr;
    EXPECT_TRUE(engine.RecvKeyVal(new KeyValues("quiet")));
    ASSERT_EQ(engine.messages.size(), 2u);

    std::rewind(out);
    char line[512];
    ASSERT_NE(std::fgets(line, sizeof line, out), nullptr);
    EXPECT_STREQ(line, "engine received: _KeyVal_Sample_Click {Button=\"Send\\\"\\\\\\x0A\u4E2D\" "
                       "Count=-3 Scale=0.5 Wide=\"\u4E2D!\" Sub {Id=7 Empty {}}}\n");
    EXPECT_EQ(std::fgets(line, sizeof line, out), nullptr);
    std::fclose(out);
    EXPECT_EQ(HostEngineClient::Describe(nullptr), "");
}

TEST(HostClockTest, FixedStepsAndPauseFlagAtTheirOffsets)
{
    HostClock clock(0.25f);
    HostGlobals* g = clock.globals();
    EXPECT_EQ(g->curtime, 0.0f);
    clock.advance();
    clock.advance();
    EXPECT_FLOAT_EQ(g->curtime, 0.5f);
    EXPECT_FLOAT_EQ(g->frametime, 0.25f);
    clock.setPaused(true);
    const auto* bytes = reinterpret_cast<const uint8_t*>(g);
    EXPECT_NE(bytes[40], 0);
    float atZero, atSixteen;
    std::memcpy(&atZero, bytes, 4);
    std::memcpy(&atSixteen, bytes + 16, 4);
    EXPECT_FLOAT_EQ(atZero, 0.5f);
    EXPECT_FLOAT_EQ(atSixteen, 0.25f);
    clock.setPaused(false);
    EXPECT_EQ(bytes[40], 0);

    // Many small steps do not drift.
    HostClock thirty;
    for (int i = 0; i < 3000; ++i)
        thirty.advance();
    EXPECT_NEAR(thirty.globals()->curtime, 100.0f, 1e-4f);
}

// ---------------------------------------------------------------------------

TEST(WebCtrlModuleTest, ServesTheManagerAndRecordsMessages)
{
    void* module = dlopen(QHOST_BEGING_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    auto factory = reinterpret_cast<CreateInterfaceFn>(dlsym(module, "CreateInterface"));
    ASSERT_NE(factory, nullptr);

    int32_t rc = -1;
    auto* manager = static_cast<IWebCtrlMgr*>(factory(WEBCTRLMGR_INTERFACE_VERSION, &rc));
    ASSERT_NE(manager, nullptr);
    EXPECT_EQ(rc, IFACE_OK);
    auto* record = static_cast<WebCtrlRecord*>(factory(QHOST_WEBCTRL_RECORD_VERSION, nullptr));
    ASSERT_NE(record, nullptr);

    const uint32_t before = record->preTranslateCalls;
    EXPECT_EQ(manager->PreTranslateMessage(0x0100), 0);
    EXPECT_EQ(record->preTranslateCalls, before + 1);
    EXPECT_EQ(record->lastMessage, 0x0100u);

    rc = IFACE_OK;
    EXPECT_EQ(factory("IWEBCTRL_INTERFACE1", &rc), nullptr);
    EXPECT_EQ(rc, IFACE_FAILED);
    EXPECT_EQ(factory(nullptr, nullptr), nullptr);
    dlclose(module);
}

// The stand-in controls keep what they are asked, ask their callback
// before a navigation, and record (rather than suffer) calls after Release.
TEST(WebCtrlModuleTest, ServesRecordingControls)
{
    void* module = dlopen(QHOST_BEGING_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    auto factory = reinterpret_cast<CreateInterfaceFn>(dlsym(module, "CreateInterface"));
    auto* record = static_cast<WebCtrlRecord*>(factory(QHOST_WEBCTRL_RECORD_VERSION, nullptr));
    const size_t before = record->controls.size();
    int32_t rc = IFACE_FAILED;
    auto* control = static_cast<IWebCtrl*>(factory(WEBCTRL_INTERFACE_VERSION, &rc));
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(rc, IFACE_OK);
    ASSERT_EQ(record->controls.size(), before + 1);
    const WebCtrlLog& log = *record->controls.back();

    struct OnlyAbout final : IWebCallBack
    {
        void OnCreated(void*) override {}
        bool OnBeforeNavigate(const char* address, void*) override { return std::strncmp(address, "about:", 6) == 0; }
        void OnNavigateComplete(const char*) override {}
        void OnTitleChange(const char*) override {}
        void OnShowMessage(const char*) override {}
        void OnNewWindow(const char*, void*) override {}
    } callback;
    const WebCtrlRect where{1, 2, 30, 40};
    EXPECT_FALSE(control->Create(WEBCTRL_STYLE_CHILD, &where, nullptr, 7));
    EXPECT_TRUE(control->Create(WEBCTRL_STYLE_CHILD, &where, reinterpret_cast<HWND>(0x10), 7));
    control->SetCallBack(&callback);
    control->Navigate("about:blank", 0);
    control->Navigate("http://evil.test/", 0);
    control->SetRect(&where, true);
    control->Show(true);
    EXPECT_EQ(log.page, "about:blank");
    EXPECT_TRUE(log.visible);
    EXPECT_EQ(log.rect.width, 30);
    control->Release();
    control->Show(true);
    EXPECT_FALSE(log.visible);
    EXPECT_EQ(log.callsAfterRelease, 1u);
    EXPECT_EQ(log.calls.back(), "Show 1 after Release");
    EXPECT_EQ(log.calls[2], "SetCallBack 1");
    EXPECT_EQ(log.calls[3], "Navigate about:blank 0");
    EXPECT_TRUE(record->live().empty() || record->live().back() != &log);
    dlclose(module);
}

// ---------------------------------------------------------------------------

TEST(SampleStyleTest, ImagesetNamesTheRectanglesTheArtIsDrawnIn)
{
    std::ifstream in(QHOST_SOURCE_UI "/imagesets/QXLook.imageset");
    ASSERT_TRUE(in) << "imageset missing";
    std::stringstream text;
    text << in.rdbuf();
    const std::string xml = text.str();

    std::vector<SampleArt::Piece> pieces(std::begin(SampleArt::kFramePieces),
                                         std::end(SampleArt::kFramePieces));
    pieces.insert(pieces.end(), {SampleArt::kButtonNormal, SampleArt::kButtonHover,
                                 SampleArt::kButtonPushed, SampleArt::kIcon,
                                 SampleArt::kMouseArrow, SampleArt::kTitlebar,
                                 SampleArt::kCloseNormal, SampleArt::kCloseHover,
                                 SampleArt::kClosePushed, SampleArt::kFolder, SampleArt::kFile,
                                 SampleArt::kWhite});
    // No two pictures overlap, and all lie inside the texture.
    for (size_t i = 0; i < pieces.size(); ++i)
    {
        const auto& a = pieces[i];
        EXPECT_LE(a.x + a.width, SampleArt::kTextureSize) << a.name;
        EXPECT_LE(a.y + a.height, SampleArt::kTextureSize) << a.name;
        for (size_t j = i + 1; j < pieces.size(); ++j)
        {
            const auto& b = pieces[j];
            const bool apart = a.x + a.width <= b.x || b.x + b.width <= a.x ||
                               a.y + a.height <= b.y || b.y + b.height <= a.y;
            EXPECT_TRUE(apart) << a.name << " overlaps " << b.name;
        }
    }
    for (const auto& p : pieces)
    {
        std::ostringstream want;
        want << "<Image name=\"" << p.name << "\" xPos=\"" << p.x << "\" yPos=\"" << p.y
             << "\" width=\"" << p.width << "\" height=\"" << p.height << "\"";
        EXPECT_NE(xml.find(want.str()), std::string::npos) << want.str();
    }
    EXPECT_NE(xml.find("imagefile=\"QXLook.tga\""), std::string::npos);
}

TEST(SampleStyleTest, GeneratedTextureHasTheDocumentedColours)
{
    std::ifstream in(QHOST_ROOT_DIR "/resource/UI/imagesets/QXLook.tga", std::ios::binary);
    ASSERT_TRUE(in) << "resource root not assembled";
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    Image art;
    ASSERT_TRUE(DecodeTga(bytes.data(), bytes.size(), art));
    EXPECT_EQ(art.width, uint32_t(SampleArt::kTextureSize));
    const auto& bg = SampleArt::kFramePieces[4];
    EXPECT_EQ(art.at(bg.x, bg.y), SampleArt::kFrameBackground);
    EXPECT_EQ(art.at(bg.x + 7, bg.y + 7), SampleArt::kFrameBackground);
    EXPECT_EQ(art.at(0, 0), SampleArt::kFrameOutline);
    EXPECT_EQ(art.at(1, 4), SampleArt::kFrameGold);
    // The arrow's tip is black and the space beside it transparent.
    EXPECT_EQ(art.at(SampleArt::kMouseArrow.x, SampleArt::kMouseArrow.y), 0xFF000000u);
    EXPECT_EQ(art.at(SampleArt::kMouseArrow.x + 5, SampleArt::kMouseArrow.y) >> 24, 0u);
    // The icon is round: opaque centre, transparent corner.
    EXPECT_EQ(art.at(SampleArt::kIcon.x + 16, SampleArt::kIcon.y + 16) >> 24, 0xFFu);
    EXPECT_EQ(art.at(SampleArt::kIcon.x, SampleArt::kIcon.y) >> 24, 0u);
    // The title bar: dark top line, gold bottom line, alike in every column.
    const auto& bar = SampleArt::kTitlebar;
    for (int x = bar.x; x < bar.x + bar.width; ++x)
    {
        EXPECT_EQ(art.at(x, bar.y), SampleArt::kFrameOutline);
        EXPECT_EQ(art.at(x, bar.y + bar.height - 1), SampleArt::kFrameGold);
        EXPECT_EQ(art.at(x, bar.y + 5), art.at(bar.x, bar.y + 5));
    }
    // The close buttons: outlined, a white cross through the middle.
    for (const auto& c : {SampleArt::kCloseNormal, SampleArt::kCloseHover, SampleArt::kClosePushed})
    {
        EXPECT_EQ(art.at(c.x, c.y), SampleArt::kFrameOutline) << c.name;
        EXPECT_EQ(art.at(c.x + 3, c.y + 3), SampleArt::kCloseCross) << c.name;
        EXPECT_EQ(art.at(c.x + c.width - 4, c.y + 3), SampleArt::kCloseCross) << c.name;
        EXPECT_NE(art.at(c.x + c.width / 2, c.y + 2), SampleArt::kCloseCross) << c.name;
    }
}
