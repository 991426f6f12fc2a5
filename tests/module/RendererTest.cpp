#include <gtest/gtest.h>

#include <CEGUI/Exceptions.h>
#include <CEGUI/Vertex.h>

#include <cmath>

#include "DrawRecorder.h"
#include "FakeHost.h"
#include "render/QXRenderer.h"
#include "render/QXResourceProvider.h"
#include "render/QXTexture.h"

using QXUI::CQXRenerder;
using QXUI::CQXTexture;
using QXUI::QuadColours;

namespace
{
const QuadColours kWhite{0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
const CEGUI::Rectf kFullTex(0, 0, 1, 1);

struct RendererTest : ::testing::Test
{
    fake::Render render;
    fake::Engine engine;
    CreateInterfaceFn factories[1] = {&fake::Factories::Serve};

    void SetUp() override
    {
        fake::Factories::render = &render;
        fake::Factories::engine = &engine;
        fake::Factories::fileSystem = nullptr;
    }
    void TearDown() override
    {
        fake::Factories::render = nullptr;
        fake::Factories::engine = nullptr;
    }
    // A 64 x 32 texture from memory (alpha set).
    CQXTexture* memoryTexture(CQXRenerder& r)
    {
        static const uint32_t pixels[64 * 32] = {};
        CQXTexture* t = r.createTexture();
        t->loadFromMemory(pixels, 64, 32, CEGUI::Texture::PF_RGBA);
        return t;
    }
};

TEST_F(RendererTest, ConnectsToTheHost)
{
    render.caps[0] = 4096;
    render.caps[1] = 2048;
    CQXRenerder r(factories, 1);
    EXPECT_EQ(r.getRenderInterface(), &render);
    EXPECT_EQ(r.getEngineClient(), &engine);
    EXPECT_EQ(r.getMaxTextureSize(), 2048u);
    EXPECT_FLOAT_EQ(r.getWidth(), 800.0f);
    EXPECT_FLOAT_EQ(r.getHeight(), 600.0f);
    EXPECT_EQ(r.getDefaultRenderTarget().getArea(), CEGUI::Rectf(0, 0, 800, 600));
    EXPECT_EQ(r.getHorzScreenDPI(), 96u);
}

TEST_F(RendererTest, WithoutARenderInterfaceNothingIsDrawnOrTouched)
{
    fake::Factories::render = nullptr;
    {
        CQXRenerder r(factories, 1);
        EXPECT_EQ(r.getRenderInterface(), nullptr);
        EXPECT_FLOAT_EQ(r.getWidth(), 0.0f);
        EXPECT_EQ(r.getMaxTextureSize(), 0u);
        CQXTexture* t = r.createTexture();
        t->loadFromMemory("abcd", 1, 1, CEGUI::Texture::PF_RGBA);
        EXPECT_EQ(t->getHostTexture(), nullptr);
        r.addQuad(CEGUI::Rectf(0, 0, 10, 10), 0.5f, t, kFullTex, kWhite, 0);
        r.setQueueingEnabled(true);
        r.addQuad(CEGUI::Rectf(0, 0, 10, 10), 0.5f, t, kFullTex, kWhite, 0);
        r.doRender();
    }
    EXPECT_TRUE(render.draws.empty());
    EXPECT_TRUE(render.removedListeners.empty());
}

TEST_F(RendererTest, QueuedQuadsDrawGreatestDepthFirstAndKeepInsertionOrderOnTies)
{
    CQXRenerder r(factories, 1);
    CQXTexture* t = memoryTexture(r);
    r.setQueueingEnabled(true);
    r.addQuad(CEGUI::Rectf(1, 0, 11, 10), 0.5f, t, kFullTex, kWhite, 0);
    r.addQuad(CEGUI::Rectf(2, 0, 12, 10), 0.9f, t, kFullTex, kWhite, 0);
    r.addQuad(CEGUI::Rectf(3, 0, 13, 10), 0.5f, t, kFullTex, kWhite, 0);
    EXPECT_TRUE(render.draws.empty());
    r.doRender();
    ASSERT_EQ(render.draws.size(), 3u);
    EXPECT_EQ(render.draws[0].x, 1);  // 2 - 0.5 truncated
    EXPECT_EQ(render.draws[1].x, 0);  // 1 - 0.5
    EXPECT_EQ(render.draws[2].x, 2);  // 3 - 0.5
    EXPECT_FLOAT_EQ(render.draws[0].z, 0.9f);

    // Drawing leaves the list; clearing empties it.
    r.doRender();
    EXPECT_EQ(render.draws.size(), 6u);
    r.clearRenderList();
    r.doRender();
    EXPECT_EQ(render.draws.size(), 6u);
}

TEST_F(RendererTest, ShiftTruncateScaleAndColourOrder)
{
    CQXRenerder r(factories, 1);
    CQXTexture* t = memoryTexture(r);
    r.setQueueingEnabled(true);
    const QuadColours colours{0x11111111, 0x22222222, 0x33333333, 0x44444444};
    // Half the texture (32 x 16 texels) stretched over 64 x 64 pixels.
    r.addQuad(CEGUI::Rectf(10.0f, 20.0f, 74.0f, 84.0f), 0.1f, t, CEGUI::Rectf(0, 0, 0.5f, 0.5f),
              colours, 0);
    r.addQuad(CEGUI::Rectf(10.7f, 20.0f, 20.7f, 30.0f), 0.0f, t, kFullTex, kWhite, 0);
    r.doRender();
    ASSERT_EQ(render.draws.size(), 2u);
    const fake::DrawCall& d = render.draws[0];
    EXPECT_TRUE(d.alpha);
    EXPECT_EQ(d.x, 9);
    EXPECT_EQ(d.y, 19);
    EXPECT_FLOAT_EQ(d.scale[0], 2.0f);
    EXPECT_FLOAT_EQ(d.scale[1], 4.0f);
    EXPECT_FLOAT_EQ(d.src[2], 0.5f);
    // top-left, top-right, bottom-right, bottom-left
    EXPECT_EQ(d.colours[0], 0x11111111u);
    EXPECT_EQ(d.colours[1], 0x22222222u);
    EXPECT_EQ(d.colours[2], 0x44444444u);
    EXPECT_EQ(d.colours[3], 0x33333333u);
    EXPECT_EQ(render.draws[1].x, 10);
}

TEST_F(RendererTest, EmptyTextureRectanglesAreDroppedInBothModes)
{
    CQXRenerder r(factories, 1);
    CQXTexture* t = memoryTexture(r);
    r.addQuad(CEGUI::Rectf(0, 0, 10, 10), 0.0f, t, CEGUI::Rectf(0.5f, 0, 0.5f, 1), kWhite, 0);
    r.setQueueingEnabled(true);
    r.addQuad(CEGUI::Rectf(0, 0, 10, 10), 0.0f, t, CEGUI::Rectf(0, 0.2f, 1, 0.2f), kWhite, 0);
    r.doRender();
    EXPECT_TRUE(render.draws.empty());
    EXPECT_TRUE(r.getQuadList().empty());
}

TEST_F(RendererTest, ImmediateQuadsObeyTheEngineUnlessOverridden)
{
    CQXRenerder r(factories, 1);
    CQXTexture* t = memoryTexture(r);
    engine.suppressed = true;
    r.addQuad(CEGUI::Rectf(0, 0, 10, 10), 0.0f, t, kFullTex, kWhite, 0);
    EXPECT_TRUE(render.draws.empty());
    r.setImmediateOverride(true);
    r.addQuad(CEGUI::Rectf(0, 0, 10, 10), 0.0f, t, kFullTex, kWhite, 0);
    EXPECT_EQ(render.draws.size(), 1u);
    r.setImmediateOverride(false);
    engine.suppressed = false;
    r.addQuad(CEGUI::Rectf(0, 0, 10, 10), 0.0f, t, kFullTex, kWhite, 0);
    EXPECT_EQ(render.draws.size(), 2u);
}

TEST_F(RendererTest, GameObjectsGoToTheEngineFromTheQueueOnly)
{
    CQXRenerder r(factories, 1);
    CQXTexture* obj = r.createTexture();
    obj->makeGameObject(0xFFFFFFF0u, 17);
    EXPECT_EQ(obj->getWidth(), 1);
    r.addQuad(CEGUI::Rectf(0, 0, 10, 10), 0.0f, obj, kFullTex, kWhite, 0);
    EXPECT_TRUE(engine.objects.empty());
    r.setQueueingEnabled(true);
    r.addQuad(CEGUI::Rectf(100, 50, 40, 40), 0.25f, obj, CEGUI::Rectf(0, 0, 3, 4), kWhite, 0);
    r.doRender();
    ASSERT_EQ(engine.objects.size(), 1u);
    EXPECT_EQ(engine.objects[0].id, 0xFFFFFFF0u);
    EXPECT_EQ(engine.objects[0].op, 17u);
    EXPECT_EQ(engine.objects[0].left, 99);
    EXPECT_EQ(engine.objects[0].top, 49);
    EXPECT_EQ(engine.objects[0].tex[3], 4);
    EXPECT_TRUE(render.draws.empty());

    // The placeholder made through the library's memory loader.
    CQXTexture* placeholder = r.createTexture();
    placeholder->loadFromMemory(nullptr, 1234, 7, 3);
    EXPECT_EQ(placeholder->getObjectId(), 1234u);
    EXPECT_EQ(placeholder->getRenderOp(), 3u);
    EXPECT_EQ(placeholder->getHostTexture(), nullptr);
}

TEST_F(RendererTest, ATextureThatDidNotLoadDrawsNothing)
{
    CQXRenerder r(factories, 1);
    CQXTexture* t = r.createTexture();
    r.setQueueingEnabled(true);
    r.addQuad(CEGUI::Rectf(0, 0, 10, 10), 0.0f, t, kFullTex, kWhite, 0);
    r.doRender();
    EXPECT_TRUE(render.draws.empty());
    EXPECT_TRUE(engine.objects.empty());
}

TEST_F(RendererTest, MemoryTexturesAndFailedCreation)
{
    CQXRenerder r(factories, 1);
    const uint32_t pixels[4] = {};
    CQXTexture* t = r.createTexture();
    t->loadFromMemory(pixels, 2, 2, CEGUI::Texture::PF_RGB);
    EXPECT_TRUE(t->isAlpha());
    EXPECT_EQ(t->getWidth(), 2);
    EXPECT_EQ(render.updates, 1);
    EXPECT_EQ(t->getSize(), CEGUI::Sizef(2, 2));
    EXPECT_FLOAT_EQ(t->getTexelScaling().d_x, 0.5f);

    render.failCreate = true;
    t->loadFromMemory(pixels, 2, 2, CEGUI::Texture::PF_RGBA);
    EXPECT_EQ(t->getHostTexture(), nullptr);
    EXPECT_EQ(render.releases, 1);
    t->updateFromMemory(0, 0, pixels, 2, 2, 1);
    EXPECT_EQ(render.updates, 1);
}

TEST_F(RendererTest, DestroyingATextureReleasesItAndForgetsItsQueuedQuads)
{
    CQXRenerder r(factories, 1);
    CQXTexture* t = memoryTexture(r);
    CQXTexture* other = memoryTexture(r);
    r.setQueueingEnabled(true);
    r.addQuad(CEGUI::Rectf(0, 0, 10, 10), 0.0f, t, kFullTex, kWhite, 0);
    r.addQuad(CEGUI::Rectf(0, 0, 10, 10), 0.0f, other, kFullTex, kWhite, 0);
    r.destroyTexture(t);
    EXPECT_EQ(render.releases, 1);
    EXPECT_EQ(r.getTextureCount(), 1u);
    r.doRender();
    ASSERT_EQ(render.draws.size(), 1u);
    EXPECT_EQ(render.draws[0].texture, other->getHostTexture());
    // Not listed (already destroyed) or null: nothing happens.
    r.destroyTexture(static_cast<CQXTexture*>(nullptr));
    r.destroyAllTextures();
    EXPECT_EQ(r.getTextureCount(), 0u);
    EXPECT_EQ(render.releases, 2);
}

TEST_F(RendererTest, ZeroSizedHostTexturesAndNanDepthsAreSafe)
{
    CQXRenerder r(factories, 1);
    render.loadW = 0;
    CQXTexture* t = r.createTexture();
    const uint32_t px = 0;
    t->loadFromMemory(&px, 0, 0, CEGUI::Texture::PF_RGBA);
    r.setQueueingEnabled(true);
    r.addQuad(CEGUI::Rectf(0, 0, 10, 10), 0.0f, t, kFullTex, kWhite, 0);
    CQXTexture* good = memoryTexture(r);
    r.addQuad(CEGUI::Rectf(0, 0, 10, 10), std::nanf(""), good, kFullTex, kWhite, 0);
    r.addQuad(CEGUI::Rectf(0, 0, 10, 10), 0.5f, good, kFullTex, kWhite, 0);
    r.doRender();
    ASSERT_EQ(render.draws.size(), 2u);
    EXPECT_FLOAT_EQ(render.draws[0].z, 0.5f);
    EXPECT_FLOAT_EQ(render.draws[1].z, 0.0f);
}

TEST_F(RendererTest, NamedTexturesFollowTheLibraryRules)
{
    CQXRenerder r(factories, 1);
    CEGUI::Texture& t = r.createTexture("glyphs", CEGUI::Sizef(256, 256));
    EXPECT_TRUE(r.isTextureDefined("glyphs"));
    EXPECT_EQ(&r.getTexture("glyphs"), &t);
    EXPECT_THROW(r.createTexture("glyphs"), CEGUI::AlreadyExistsException);
    EXPECT_THROW(r.getTexture("missing"), CEGUI::UnknownObjectException);
    r.destroyTexture("glyphs");
    EXPECT_FALSE(r.isTextureDefined("glyphs"));
    EXPECT_EQ(r.createTextureTarget(), nullptr);
}

TEST_F(RendererTest, DestructionRemovesTheListenerAndReleasesTextures)
{
    {
        CQXRenerder r(factories, 1);
        memoryTexture(r);
    }
    EXPECT_EQ(render.removedListeners.size(), 1u);
    EXPECT_EQ(render.releases, 1);
}

// Geometry arrives as two triangles per image; the buffer turns them back
// into quads, translated and clipped on the CPU.
using fake::AppendImage;

TEST_F(RendererTest, GeometryBuffersBecomeTranslatedClippedQuads)
{
    CQXRenerder r(factories, 1);
    CQXTexture* t = memoryTexture(r);
    auto& gb = static_cast<QXUI::CQXGeometryBuffer&>(r.createGeometryBuffer());
    gb.setActiveTexture(t);
    AppendImage(gb, 0, 0, 100, 50, 0, 0, 1, 1);
    gb.setTranslation(CEGUI::Vector3f(10, 20, 0));
    gb.setClippingRegion(CEGUI::Rectf(10, 20, 60, 70));  // right half clipped away
    r.beginRendering();
    r.setQueueingEnabled(true);
    gb.draw();
    EXPECT_FLOAT_EQ(gb.getFrameZ(), 1.0f);
    r.doRender();
    ASSERT_EQ(render.draws.size(), 1u);
    const fake::DrawCall& d = render.draws[0];
    EXPECT_EQ(d.x, 9);
    EXPECT_EQ(d.y, 19);
    EXPECT_FLOAT_EQ(d.src[2], 0.5f);
    EXPECT_FLOAT_EQ(d.src[3], 1.0f);
    EXPECT_EQ(d.colours[0], 0xFF000001u);
    EXPECT_EQ(d.colours[1], 0xFF000002u);
    EXPECT_EQ(d.colours[2], 0xFF000004u);
    EXPECT_EQ(d.colours[3], 0xFF000003u);

    // The next window buffer sits one step nearer; an owned buffer takes its
    // owner's depth plus the bias.
    auto& next = static_cast<QXUI::CQXGeometryBuffer&>(r.createGeometryBuffer());
    next.draw();
    EXPECT_FLOAT_EQ(next.getFrameZ(), 0.999f);
    auto& extra = static_cast<QXUI::CQXGeometryBuffer&>(r.createGeometryBuffer());
    extra.setOwner(&next, 0.0005f);
    extra.draw();
    EXPECT_FLOAT_EQ(extra.getFrameZ(), 0.9995f);

    // Fully clipped away: nothing queued.
    gb.setClippingRegion(CEGUI::Rectf(500, 500, 600, 600));
    r.clearRenderList();
    gb.draw();
    EXPECT_TRUE(r.getQuadList().empty());
    r.setQueueingEnabled(false);
}

TEST_F(RendererTest, StrayGeometryIsDropped)
{
    CQXRenerder r(factories, 1);
    CQXTexture* t = memoryTexture(r);
    CEGUI::GeometryBuffer& gb = r.createGeometryBuffer();
    gb.setActiveTexture(t);
    CEGUI::Vertex v[4];
    for (CEGUI::Vertex& x : v)
        x.position = CEGUI::Vector3f(1, 2, 0);
    gb.appendGeometry(v, 4);
    r.setQueueingEnabled(true);
    gb.draw();
    EXPECT_TRUE(r.getQuadList().empty());
    r.setQueueingEnabled(false);
}

struct ProviderTest : ::testing::Test
{
    fake::FileSystem fs;
    fake::Render render;
    CreateInterfaceFn factories[1] = {&fake::Factories::Serve};
    void SetUp() override
    {
        fake::Factories::fileSystem = &fs;
        fake::Factories::render = &render;
    }
    void TearDown() override
    {
        fake::Factories::fileSystem = nullptr;
        fake::Factories::render = nullptr;
    }
};

TEST_F(ProviderTest, DirectoriesOfAGroupAreTriedInRegistrationOrder)
{
    QXUI::CQXResourceProvider rp(factories, 1);
    rp.setResourceGroupDirectory("lua_scripts", "a\\");
    rp.setResourceGroupDirectory("lua_scripts", "b\\");
    rp.setResourceGroupDirectory("lua_scripts", "c\\");
    rp.setResourceGroupDirectory("schemes", "s\\");
    fs.files["b\\x.lua"] = "second";
    fs.files["c\\x.lua"] = "third";
    CEGUI::RawDataContainer data;
    rp.loadRawDataContainer("x.lua", data, "lua_scripts");
    ASSERT_EQ(data.getSize(), 6u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(data.getDataPtr()), 6), "second");
    EXPECT_EQ(fs.opened, (std::vector<std::string>{"a\\x.lua", "b\\x.lua"}));
    rp.unloadRawDataContainer(data);
    EXPECT_EQ(data.getDataPtr(), nullptr);
    EXPECT_EQ(data.getSize(), 0u);

    // An empty group tries every directory of every group.
    fs.opened.clear();
    fs.files["s\\only.scheme"] = "x";
    rp.loadRawDataContainer("only.scheme", data, "");
    EXPECT_EQ(data.getSize(), 1u);
    EXPECT_EQ(fs.opened.size(), 4u);
    rp.unloadRawDataContainer(data);

    // Directories as registered, for textures.
    EXPECT_EQ(rp.getGroupDirectory("lua_scripts"), "c\\");
    EXPECT_EQ(rp.getGroupDirectory("nothing"), "");
}

TEST_F(ProviderTest, ShortReadsAndBadSizesLeaveTheContainerEmpty)
{
    QXUI::CQXResourceProvider rp(factories, 1);
    rp.setResourceGroupDirectory("g", "a\\");
    rp.setResourceGroupDirectory("g", "b\\");
    fs.files["a\\f"] = "0123456789";
    fs.files["b\\f"] = "good";
    fs.shortRead["a\\f"] = 3;
    CEGUI::RawDataContainer data;
    rp.loadRawDataContainer("f", data, "g");
    EXPECT_EQ(data.getDataPtr(), nullptr);
    EXPECT_EQ(fs.opened.size(), 1u);  // the next directory is not tried

    fs.shortRead.clear();
    fs.sizeOverride["a\\f"] = -1;
    rp.loadRawDataContainer("f", data, "g");
    EXPECT_EQ(data.getDataPtr(), nullptr);

    rp.loadRawDataContainer("missing", data, "g");
    EXPECT_EQ(data.getDataPtr(), nullptr);
}

TEST_F(ProviderTest, WithoutAFileSystemNothingLoads)
{
    fake::Factories::fileSystem = nullptr;
    QXUI::CQXResourceProvider rp(factories, 1);
    rp.setResourceGroupDirectory(nullptr, nullptr);
    CEGUI::RawDataContainer data;
    rp.loadRawDataContainer("f", data, "");
    EXPECT_EQ(data.getDataPtr(), nullptr);
}

TEST_F(ProviderTest, TexturesLoadByExtensionFromTheGroupDirectory)
{
    QXUI::CQXResourceProvider rp(factories, 1);
    rp.setResourceGroupDirectory("imagesets", "resource\\UI\\imagesets\\");
    CQXRenerder r(factories, 1);
    r.setResourceProvider(&rp);

    CQXTexture* t = r.createTexture("a.tga", "imagesets");
    EXPECT_TRUE(t->isAlpha());
    EXPECT_EQ(t->getWidth(), 64);
    CQXTexture* u = r.createTexture("b.tex", "imagesets");
    EXPECT_FALSE(u->isAlpha());
    ASSERT_EQ(render.loaded.size(), 2u);
    EXPECT_EQ(render.loaded[0], "tga:resource\\UI\\imagesets\\a.tga");
    EXPECT_EQ(render.loaded[1], "tex:resource\\UI\\imagesets\\b.tex");

    // Other extensions (and capitals) load nothing.
    r.createTexture("c.TGA", "imagesets");
    r.createTexture("d.png", "imagesets");
    r.createTexture("noext", "imagesets");
    EXPECT_EQ(render.loaded.size(), 2u);

    // Loading again releases the first host texture.
    t->loadFromFile("e.tga", "imagesets");
    EXPECT_EQ(render.releases, 1);
    render.failLoad = true;
    t->loadFromFile("f.tga", "imagesets");
    EXPECT_EQ(t->getHostTexture(), nullptr);
    EXPECT_EQ(render.releases, 2);
}
} // namespace
