// The exact draw calls the renderer hands to the host, frame after frame:
// depth order across window buffers, owned buffers and drawables, ties in
// queueing order, the half-pixel shift and truncation, game objects to the
// engine client, and what idle frames and changes between frames draw.
#include <gtest/gtest.h>

#include <CEGUI/CEGUI.h>
#include <CEGUI/RenderEffect.h>
#include <CEGUI/RenderQueue.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "DrawRecorder.h"
#include "GuiFixture.h"
#include "render/QXRenderer.h"
#include "render/QXTexture.h"

using QXUI::CQXGeometryBuffer;
using QXUI::CQXRenerder;
using QXUI::CQXTexture;

namespace
{
const QXUI::QuadColours kWhite{0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
const CEGUI::Rectf kScreen(0, 0, 800, 600);

// A drawable that queues one quad of its texture where it is drawn, moved
// right by shift, and counts how often it was asked to draw.
struct QuadDrawable : QXUI::IExtraDrawable
{
    const CQXTexture* texture = nullptr;
    float shift = 0;
    uint64_t version = 0;
    int draws = 0;
    void drawExtra(CQXRenerder& r, const CEGUI::Rectf& dest, float z, const CEGUI::Rectf*) override
    {
        ++draws;
        CEGUI::Rectf moved = dest;
        moved.offset(CEGUI::Vector2f(shift, 0));
        r.addQuad(moved, z, texture, CEGUI::Rectf(0, 0, 1, 1), kWhite, 0);
    }
    uint64_t drawVersion() const override { return version; }
};

struct TwoPasses : CEGUI::RenderEffect
{
    int getPassCount() const override { return 2; }
    void performPreRenderFunctions(const int) override {}
    void performPostRenderFunctions() override {}
    bool realiseGeometry(CEGUI::RenderingWindow&, CEGUI::GeometryBuffer&) override { return false; }
    bool update(const float, CEGUI::RenderingWindow&) override { return false; }
};

// Kind, x and y of each call ("A 9 9" for an alpha quad at 9, 9; "O 5 199
// 199" for object 5 at 199, 199); enough to tell the scene's quads apart.
std::vector<std::string> Shapes(const std::vector<std::string>& lines)
{
    std::vector<std::string> shapes;
    for (const std::string& line : lines)
    {
        std::istringstream in(line);
        std::string kind, a, b, c;
        in >> kind >> a >> b >> c;
        shapes.push_back(kind == "O" ? kind + " " + a + " " + b + " " + c : kind + " " + a + " " + b);
    }
    return shapes;
}

using Lines = std::vector<std::string>;

struct DrawSequenceTest : ::testing::Test
{
    fake::DrawLog log;
    fake::LoggingRender render;
    fake::LoggingEngine engine;
    CreateInterfaceFn factories[1] = {&fake::Factories::Serve};
    std::unique_ptr<CQXRenerder> r;
    CQXTexture* img = nullptr;    // 64 x 32, alpha
    CQXTexture* plain = nullptr;  // 64 x 32 from a .tex file, no alpha
    CQXTexture* obj = nullptr;    // game object 5, render operation 2
    CEGUI::RenderQueue queue;

    void SetUp() override
    {
        render.log = &log;
        engine.log = &log;
        fake::Factories::render = &render;
        fake::Factories::engine = &engine;
        fake::Factories::fileSystem = nullptr;
        r.reset(new CQXRenerder(factories, 1));
        static const uint32_t pixels[64 * 32] = {};
        img = r->createTexture();
        img->loadFromMemory(pixels, 64, 32, CEGUI::Texture::PF_RGBA);
        plain = r->createTexture("b.tex", "");
        obj = r->createTexture();
        obj->makeGameObject(5, 2);
    }
    void TearDown() override
    {
        r.reset();
        fake::Factories::render = nullptr;
        fake::Factories::engine = nullptr;
    }
    CQXGeometryBuffer& buffer()
    {
        auto& gb = static_cast<CQXGeometryBuffer&>(r->createGeometryBuffer());
        gb.setClippingRegion(kScreen);
        return gb;
    }
    // One frame as the GUI library draws it: the queue, then a cursor-like
    // buffer drawn on its own.
    Lines frame(const CEGUI::GeometryBuffer* immediate = nullptr)
    {
        r->beginRendering();
        r->getDefaultRenderTarget().draw(queue);
        if (immediate)
            r->getDefaultRenderTarget().draw(*immediate);
        r->endRendering();
        return log.take();
    }
};

TEST_F(DrawSequenceTest, QueuedFramesDrawInDepthOrderAndIdleFramesRepeatThem)
{
    // Window 1 (depth 1.0): two images and, between them, a large one
    // pushed 0.0025 back, behind the next two windows.
    CQXGeometryBuffer& w1 = buffer();
    w1.setActiveTexture(img);
    fake::AppendImage(w1, 10, 10, 20, 20);
    w1.setZOffset(-0.0025f);
    w1.setActiveTexture(plain);
    fake::AppendImage(w1, 0, 0, 100, 100, 0, 0, 0.5f, 0.5f);
    w1.setZOffset(0);
    w1.setActiveTexture(img);
    fake::AppendImage(w1, 30, 30, 40, 40);
    // Its extra buffer, 0.0005 behind it: a game object drawn by a drawable,
    // then an image of its own.
    CQXGeometryBuffer& e1 = buffer();
    e1.setOwner(&w1, 0.0005f);
    QuadDrawable objectDrawable;
    objectDrawable.texture = obj;
    e1.addDrawable(&objectDrawable, CEGUI::Rectf(200, 200, 232, 232), 0, nullptr);
    e1.setActiveTexture(img);
    fake::AppendImage(e1, 50, 50, 60, 60);
    // Window 2 (0.999), moved by (5, 5) and clipped to 30 x 30: one image cut
    // to its left part, one a hair in front that ties with it.
    CQXGeometryBuffer& w2 = buffer();
    w2.setTranslation(CEGUI::Vector3f(5, 5, 0));
    w2.setClippingRegion(CEGUI::Rectf(0, 0, 30, 30));
    w2.setActiveTexture(img);
    fake::AppendImage(w2, 10, 10, 50, 50);
    w2.setZOffset(1e-9f);
    fake::AppendImage(w2, 0, 0, 8, 8);
    w2.setZOffset(0);
    // Window 3 (0.998): a game-object image, and a drawable 0.0001 behind it.
    CQXGeometryBuffer& w3 = buffer();
    w3.setActiveTexture(obj);
    fake::AppendImage(w3, 100, 100, 132, 132);
    QuadDrawable imageDrawable;
    imageDrawable.texture = img;
    w3.addDrawable(&imageDrawable, CEGUI::Rectf(300, 300, 310, 310), -0.0001f, nullptr);
    // Window 4 (0.997), drawn in two passes.
    CQXGeometryBuffer& w4 = buffer();
    TwoPasses passes;
    w4.setRenderEffect(&passes);
    w4.setActiveTexture(img);
    fake::AppendImage(w4, 400, 400, 410, 410);
    fake::AppendImage(w4, 420, 400, 430, 410);
    // A cursor, drawn at once after the queue (shifted like queued quads).
    CQXGeometryBuffer& cursor = buffer();
    cursor.setActiveTexture(img);
    fake::AppendImage(cursor, 600, 500, 612, 519);

    for (CQXGeometryBuffer* gb : {&w1, &e1, &w2, &w3, &w4})
        queue.addGeometryBuffer(*gb);

    const Lines first = frame(&cursor);
    EXPECT_EQ(Shapes(first), (Lines{"O 5 199 199", "A 49 49", "A 9 9", "A 29 29", "A 14 14",
                                    "A 4 4", "O 5 99 99", "A 299 299", "Q 0 0", "A 399 399",
                                    "A 419 399", "A 399 399", "A 419 399", "A 599 499"}));
    // The clipped image: 15 of its 40 pixels, the texture cut to match.
    EXPECT_EQ(first[4], "A 14 14 t0 0.625 1.25 | 0 0 0.375 0.375 | "
                        "FF000001 FF000002 FF000004 FF000003 | 0.999000013");
    EXPECT_EQ(first[8], "Q 0 0 t1 3.125 6.25 | 0 0 0.5 0.5 | "
                        "FF000001 FF000002 FF000004 FF000003 | 0.997500002");
    EXPECT_EQ(first[0], "O 5 199 199 231 231 1.00049996 2 | 0 0 1 1");
    EXPECT_EQ(first[13], "A 599 499 t0 0.1875 0.59375 | 0 0 1 1 | "
                         "FF000001 FF000002 FF000004 FF000003 | 0");

    // Nothing changed: the same calls again, game objects included.
    EXPECT_EQ(frame(&cursor), first);
    EXPECT_EQ(frame(&cursor), first);

    // New geometry in window 2.
    w2.reset();
    w2.setActiveTexture(img);
    fake::AppendImage(w2, 2, 3, 12, 13);
    Lines changed = frame();
    EXPECT_EQ(Shapes(changed), (Lines{"O 5 199 199", "A 49 49", "A 9 9", "A 29 29", "A 6 7",
                                      "O 5 99 99", "A 299 299", "Q 0 0", "A 399 399", "A 419 399",
                                      "A 399 399", "A 419 399"}));
    EXPECT_EQ(frame(), changed);

    // Without window 1 and its extra buffer every later window moves up a
    // step: window 2 now at 1.0, and window 1's image behind them is gone.
    queue.reset();
    for (CQXGeometryBuffer* gb : {&w2, &w3, &w4})
        queue.addGeometryBuffer(*gb);
    Lines fewer = frame();
    EXPECT_EQ(Shapes(fewer), (Lines{"A 6 7", "O 5 99 99", "A 299 299", "A 399 399", "A 419 399",
                                    "A 399 399", "A 419 399"}));
    EXPECT_EQ(fewer[0], "A 6 7 t0 0.15625 0.3125 | 0 0 1 1 | FF000001 FF000002 FF000004 "
                        "FF000003 | 1");
    EXPECT_EQ(frame(), fewer);
}

TEST_F(DrawSequenceTest, TextureChangesBetweenFramesReachTheHost)
{
    CQXGeometryBuffer& w1 = buffer();
    w1.setActiveTexture(plain);
    fake::AppendImage(w1, 10, 10, 20, 20);
    w1.setActiveTexture(obj);
    fake::AppendImage(w1, 30, 30, 40, 40);
    CQXGeometryBuffer& w2 = buffer();
    QuadDrawable objectDrawable;
    objectDrawable.texture = obj;
    w2.addDrawable(&objectDrawable, CEGUI::Rectf(50, 50, 60, 60), 0, nullptr);
    queue.addGeometryBuffer(w1);
    queue.addGeometryBuffer(w2);

    const Lines first = frame();
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(Shapes(first), (Lines{"Q 9 9", "O 5 29 29", "O 5 49 49"}));
    EXPECT_EQ(first[0].substr(0, 9), "Q 9 9 t0 ");

    // The object behind the placeholder changes: the engine is told at once.
    obj->makeGameObject(9, 4);
    Lines lines = frame();
    EXPECT_EQ(Shapes(lines), (Lines{"Q 9 9", "O 9 29 29", "O 9 49 49"}));
    EXPECT_EQ(lines[1], "O 9 29 29 39 39 1 4 | 0 0 1 1");

    // A reloaded texture draws with its new host texture; one that did not
    // load draws nothing, and a load that works again brings it back.
    r->reloadTexture(plain, "c.tex", "");
    lines = frame();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].substr(0, 9), "Q 9 9 t1 ");
    render.failLoad = true;
    r->reloadTexture(plain, "d.tex", "");
    EXPECT_EQ(Shapes(frame()), (Lines{"O 9 29 29", "O 9 49 49"}));
    render.failLoad = false;
    plain->loadFromFile("e.tga", "");
    lines = frame();
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].substr(0, 9), "A 9 9 t2 ");

    // A placeholder turned into a picture draws as one.
    static const uint32_t pixels[4] = {};
    obj->loadFromMemory(pixels, 2, 2, CEGUI::Texture::PF_RGBA);
    EXPECT_EQ(Shapes(frame()), (Lines{"A 9 9", "A 29 29", "A 49 49"}));
}

TEST_F(DrawSequenceTest, DrawablesAreAskedAgainOnlyWhenTheyOrTheirBufferChange)
{
    CQXGeometryBuffer& w1 = buffer();
    w1.setActiveTexture(img);
    fake::AppendImage(w1, 10, 10, 20, 20);
    QuadDrawable objectDrawable;
    objectDrawable.texture = obj;
    w1.addDrawable(&objectDrawable, CEGUI::Rectf(50, 50, 60, 60), 0, nullptr);
    queue.addGeometryBuffer(w1);

    const Lines first = frame();
    EXPECT_EQ(Shapes(first), (Lines{"O 5 49 49", "A 9 9"}));
    // Idle frames replay its quads: the engine still hears of the object
    // every frame, but the drawable is not asked again.
    EXPECT_EQ(frame(), first);
    EXPECT_EQ(frame(), first);
    EXPECT_EQ(objectDrawable.draws, 1);

    // What it draws changed and it says so: the next frame shows it.
    objectDrawable.shift = 100;
    ++objectDrawable.version;
    EXPECT_EQ(Shapes(frame()), (Lines{"O 5 149 49", "A 9 9"}));
    EXPECT_EQ(objectDrawable.draws, 2);

    // The buffer moved or its clip changed: asked again at the new place.
    w1.setTranslation(CEGUI::Vector3f(5, 0, 0));
    EXPECT_EQ(Shapes(frame()), (Lines{"O 5 154 49", "A 14 9"}));
    EXPECT_EQ(objectDrawable.draws, 3);
    w1.setClippingRegion(CEGUI::Rectf(0, 0, 100, 100));
    frame();
    EXPECT_EQ(objectDrawable.draws, 4);

    // Dropped from the buffer: gone from the frame.
    w1.clearDrawables();
    EXPECT_EQ(Shapes(frame()), (Lines{"A 14 9"}));
}

TEST_F(DrawSequenceTest, BuffersQueuedTwiceOrGoneAndQueuesDrawnInTurn)
{
    CQXGeometryBuffer& w1 = buffer();
    w1.setActiveTexture(img);
    fake::AppendImage(w1, 10, 10, 20, 20);
    CQXGeometryBuffer& w2 = buffer();
    w2.setActiveTexture(img);
    fake::AppendImage(w2, 30, 30, 40, 40);
    // One buffer twice in a queue: drawn at both depths.
    for (CQXGeometryBuffer* gb : {&w1, &w2, &w1})
        queue.addGeometryBuffer(*gb);
    const Lines twice = frame();
    EXPECT_EQ(twice, (Lines{"A 9 9 t0 0.15625 0.3125 | 0 0 1 1 | FF000001 FF000002 FF000004 FF000003 | 1",
                            "A 29 29 t0 0.15625 0.3125 | 0 0 1 1 | FF000001 FF000002 FF000004 FF000003 | "
                            "0.999000013",
                            "A 9 9 t0 0.15625 0.3125 | 0 0 1 1 | FF000001 FF000002 FF000004 FF000003 | "
                            "0.998000026"}));
    EXPECT_EQ(frame(), twice);

    // Two queues drawn in turn, frame after frame, each in its own order.
    CEGUI::RenderQueue overlay;
    CQXGeometryBuffer& top = buffer();
    top.setActiveTexture(plain);
    fake::AppendImage(top, 50, 50, 60, 60);
    overlay.addGeometryBuffer(top);
    overlay.addGeometryBuffer(w2);
    for (int i = 0; i < 3; ++i)
    {
        r->beginRendering();
        r->getDefaultRenderTarget().draw(queue);
        r->getDefaultRenderTarget().draw(overlay);
        EXPECT_EQ(Shapes(log.take()), (Lines{"A 9 9", "A 29 29", "A 9 9", "Q 49 49", "A 29 29"}));
    }

    // A buffer destroyed after the frame: the list keeps what it drew.
    r->beginRendering();
    r->getDefaultRenderTarget().draw(queue);
    log.take();
    r->destroyGeometryBuffer(w2);
    r->destroyGeometryBuffer(w1);
    r->doRender();
    EXPECT_EQ(Shapes(log.take()), (Lines{"A 9 9", "A 29 29", "A 9 9"}));
}

TEST_F(DrawSequenceTest, VertexGroupsCountFromTheStartOfTheirBatch)
{
    CEGUI::Vertex image[6];
    auto set = [](CEGUI::Vertex& v, float x, float y, float u, float w) {
        v.position = CEGUI::Vector3f(x, y, 0);
        v.tex_coords = CEGUI::Vector2f(u, w);
        v.colour_val = CEGUI::Colour(0xFFFFFFFF);
    };
    set(image[0], 10, 10, 0, 0);
    set(image[1], 10, 20, 0, 1);
    set(image[2], 20, 20, 1, 1);
    set(image[3], 20, 10, 1, 0);
    image[4] = image[0];
    image[5] = image[2];

    // Half an image, then a whole one in another texture: the half is
    // dropped, not joined to the next batch.
    CQXGeometryBuffer& split = buffer();
    split.setActiveTexture(img);
    split.appendGeometry(image, 3);
    split.setActiveTexture(plain);
    split.appendGeometry(image, 6);
    EXPECT_EQ(split.getVertexCount(), 9u);
    EXPECT_EQ(split.getBatchCount(), 2u);
    // One image vertex by vertex; a group that is no image, then an image.
    CQXGeometryBuffer& single = buffer();
    single.setActiveTexture(img);
    for (const CEGUI::Vertex& v : image)
        single.appendVertex(v);
    CEGUI::Vertex stray[6];
    for (CEGUI::Vertex& v : stray)
        v.position = CEGUI::Vector3f(1, 2, 0);
    single.appendGeometry(stray, 6);
    fake::AppendImage(single, 40, 40, 50, 50);
    queue.addGeometryBuffer(split);
    queue.addGeometryBuffer(single);
    EXPECT_EQ(Shapes(frame()), (Lines{"Q 9 9", "A 9 9", "A 39 39"}));
}

TEST_F(DrawSequenceTest, CornersBeyondTheIntRangeComeAsIntMin)
{
    r->setQueueingEnabled(true);
    r->clearRenderList();
    const float nan = std::nanf("");
    r->addQuad(CEGUI::Rectf(nan, 1e20f, 30, 40), 0.5f, img, CEGUI::Rectf(0, 0, 1, 1), kWhite, 0);
    r->addQuad(CEGUI::Rectf(-1e20f, 5, 3e9f, 9), 0.25f, obj, CEGUI::Rectf(0, 0, 1, 1), kWhite, 0);
    r->doRender();
    r->setQueueingEnabled(false);
    const Lines lines = log.take();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(Shapes(lines)[0], "A -2147483648 -2147483648");
    EXPECT_EQ(lines[1], "O 5 -2147483648 4 -2147483648 8 0.25 2 | 0 0 1 1");
}

// A whole interface through the GUI library: two framed panels with images,
// texts and a game-object picture, and the cursor. Every frame's calls are
// compared with the ones recorded in DrawSequence.golden (rewritten when
// QGUI_WRITE_GOLDEN is set).
const char* kScheme = R"(<?xml version="1.0" ?>
<GUIScheme version="5" name="D">
  <Imageset filename="D.imageset" />
  <Font filename="D.font" />
  <LookNFeel filename="D.looknfeel" />
  <WindowRendererSet filename="CEGUICoreWindowRendererSet" />
  <FalagardMapping windowType="D/Panel" targetType="DefaultWindow" renderer="Core/Default" lookNFeel="D/Panel" />
  <FalagardMapping windowType="D/Image" targetType="DefaultWindow" renderer="Core/Default" lookNFeel="D/Image" />
  <FalagardMapping windowType="D/Text" targetType="DefaultWindow" renderer="Core/Default" lookNFeel="D/Text" />
</GUIScheme>)";

const char* kImageset = R"(<?xml version="1.0" ?>
<Imageset version="2" name="D" imagefile="D.tga" nativeHorzRes="800" nativeVertRes="600" autoScaled="false">
  <Image name="Corner" xPos="0" yPos="0" width="8" height="8" />
  <Image name="Back" xPos="8" yPos="0" width="8" height="8" />
  <Image name="Icon" xPos="16" yPos="0" width="32" height="32" />
  <Image name="Gem" xPos="48" yPos="0" width="16" height="16" />
  <Image name="Arrow" xPos="0" yPos="16" width="12" height="16" />
</Imageset>)";

const char* kFont = R"(<?xml version="1.0" ?>
<Font version="3" name="D" filename="DejaVuSans.ttf" type="FreeType" size="10" nativeHorzRes="800" nativeVertRes="600" autoScaled="false" />)";

#define D_AREA(l, t, w, h)                                                                     \
    "<Area><Dim type=\"LeftEdge\">" l "</Dim><Dim type=\"TopEdge\">" t "</Dim>"                \
    "<Dim type=\"Width\">" w "</Dim><Dim type=\"Height\">" h "</Dim></Area>"
#define D_ABS(v) "<AbsoluteDim value=\"" #v "\" />"
#define D_WIDTH "<UnifiedDim scale=\"1\" type=\"Width\" />"
#define D_HEIGHT "<UnifiedDim scale=\"1\" type=\"Height\" />"
#define D_LESS(size, v) "<OperatorDim op=\"Subtract\"><UnifiedDim scale=\"1\" type=\"" #size "\" />" D_ABS(v) "</OperatorDim>"
#define D_STATES "<StateImagery name=\"Enabled\"><Layer><Section section=\"main\" /></Layer></StateImagery>" \
                 "<StateImagery name=\"Disabled\"><Layer><Section section=\"main\" /></Layer></StateImagery>"

const char* kLooks =
    "<?xml version=\"1.0\" ?><Falagard version=\"7\">"
    "<WidgetLook name=\"D/Panel\"><Property name=\"AutoRenderingSurface\" value=\"false\" />"
    "<ImagerySection name=\"main\">"
    "<ImageryComponent>" D_AREA(D_ABS(0), D_ABS(0), D_WIDTH, D_HEIGHT)
    "<Image name=\"D/Back\" /><VertFormat type=\"Tiled\" /><HorzFormat type=\"Stretched\" /></ImageryComponent>"
    "<ImageryComponent>" D_AREA(D_ABS(0), D_ABS(0), D_ABS(8), D_ABS(8)) "<Image name=\"D/Corner\" /></ImageryComponent>"
    "<ImageryComponent>" D_AREA(D_LESS(Width, 8), D_LESS(Height, 8), D_ABS(8), D_ABS(8))
    "<Image name=\"D/Corner\" /></ImageryComponent>"
    "</ImagerySection>" D_STATES "</WidgetLook>"
    "<WidgetLook name=\"D/Image\">"
    "<PropertyDefinition name=\"Picture\" type=\"Image\" initialValue=\"D/Icon\" redrawOnWrite=\"true\" />"
    "<Property name=\"AutoRenderingSurface\" value=\"false\" />"
    "<ImagerySection name=\"main\"><ImageryComponent>" D_AREA(D_ABS(0), D_ABS(0), D_WIDTH, D_HEIGHT)
    "<ImageProperty name=\"Picture\" /><VertFormat type=\"Stretched\" /><HorzFormat type=\"Stretched\" />"
    "</ImageryComponent></ImagerySection>" D_STATES "</WidgetLook>"
    "<WidgetLook name=\"D/Text\"><Property name=\"AutoRenderingSurface\" value=\"false\" />"
    "<ImagerySection name=\"main\"><TextComponent>" D_AREA(D_ABS(0), D_ABS(0), D_WIDTH, D_HEIGHT)
    "<Colours topLeft=\"FFFFFFFF\" topRight=\"FFFFFF00\" bottomLeft=\"FF00FFFF\" bottomRight=\"FFFF00FF\" />"
    "</TextComponent></ImagerySection>" D_STATES "</WidgetLook>"
    "</Falagard>";

const char* kFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf";

std::string GoldenPath()
{
    std::string path = __FILE__;
    return path.substr(0, path.find_last_of('/') + 1) + "DrawSequence.golden";
}

struct DrawSequenceGui : GuiFixture
{
    fake::DrawLog log;
    fake::LoggingRender loggingRender;
    fake::LoggingEngine loggingEngine;
    CEGUI::WindowManager* wm = nullptr;
    CEGUI::Window* root = nullptr;
    std::vector<std::string> frames;
    int frameNumber = 0;

    fake::Engine* engineClient() override { return &loggingEngine; }
    void addFiles() override
    {
        // The main object starts over the logging stand-ins.
        loggingRender.log = &log;
        loggingEngine.log = &log;
        fake::Factories::render = &loggingRender;
        fs.files["resource\\UI\\schemes\\D.scheme"] = kScheme;
        fs.files["resource\\UI\\imagesets\\D.imageset"] = kImageset;
        fs.files["resource\\UI\\fonts\\D.font"] = kFont;
        fs.files["resource\\UI\\looknfeel\\D.looknfeel"] = kLooks;
        fs.addDiskFile("resource\\UI\\fonts\\DejaVuSans.ttf", kFontFile);
    }
    CEGUI::Window* add(CEGUI::Window* parent, const char* type, float x, float y, float w, float h,
                       const char* text = nullptr)
    {
        CEGUI::Window* win = wm->createWindow(type);
        win->setPosition(CEGUI::UVector2(CEGUI::UDim(0, x), CEGUI::UDim(0, y)));
        win->setSize(CEGUI::USize(CEGUI::UDim(0, w), CEGUI::UDim(0, h)));
        if (text)
            win->setText(reinterpret_cast<const CEGUI::utf8*>(text));
        parent->addChild(win);
        return win;
    }
    void recordFrame(const char* what)
    {
        CEGUI::System::getSingleton().renderAllGUIContexts();
        frames.push_back("frame " + std::to_string(++frameNumber) + ": " + what);
        for (const std::string& line : log.take())
            frames.push_back(line);
    }
};

TEST_F(DrawSequenceGui, FramesOfAWholeInterfaceMatchTheRecordedCalls)
{
    std::ifstream font(kFontFile);
    if (!font)
        GTEST_SKIP() << kFontFile << " is missing";
    CEGUI::SchemeManager::getSingleton().createFromFile("D.scheme");
    wm = &CEGUI::WindowManager::getSingleton();
    CEGUI::GUIContext& ctx = CEGUI::System::getSingleton().getDefaultGUIContext();
    root = ctx.getRootWindow();
    ASSERT_NE(root, nullptr);
    ctx.getMouseCursor().setDefaultImage("D/Arrow");
    ctx.injectMousePosition(700, 500);

    // A game-object picture: a placeholder texture behind an image.
    auto& renderer = static_cast<CQXRenerder&>(*CEGUI::System::getSingleton().getRenderer());
    CQXTexture* placeholder = renderer.createTexture();
    placeholder->makeGameObject(77, 3);
    auto& picture = static_cast<CEGUI::BasicImage&>(
        CEGUI::ImageManager::getSingleton().create("BasicImage", "D/Object"));
    picture.setTexture(placeholder);
    picture.setArea(CEGUI::Rectf(0, 0, 1, 1));

    CEGUI::Window* bag = add(root, "D/Panel", 20, 30, 300, 200);
    add(bag, "D/Image", 10, 10, 32, 32);
    CEGUI::Window* object = add(bag, "D/Image", 50, 10, 40, 40);
    object->setProperty("Picture", "D/Object");
    CEGUI::Window* gem = add(bag, "D/Image", 280, 180, 32, 32);  // hangs over the edge
    gem->setProperty("Picture", "D/Gem");
    CEGUI::Window* title = add(bag, "D/Text", 10, 60, 200, 20, "Bag of holding");
    CEGUI::Window* count = add(bag, "D/Text", 10, 90, 200, 20, "12 / 40");
    add(bag, "D/Text", 10, 120, 200, 20, "\xC3\x84pfel & Birnen");
    CEGUI::Window* faded = add(bag, "D/Image", 100, 150, 24, 24);
    faded->setAlpha(0.5f);
    CEGUI::Window* chest = add(root, "D/Panel", 200, 150, 160, 120);
    add(chest, "D/Text", 8, 8, 140, 20, "Chest");
    add(chest, "D/Image", 8, 40, 32, 32);

    recordFrame("first");
    recordFrame("idle");
    title->setText("Bag of many things");
    chest->setPosition(CEGUI::UVector2(CEGUI::UDim(0, 210), CEGUI::UDim(0, 160)));
    recordFrame("a text and a panel changed");
    recordFrame("idle");
    count->setVisible(false);
    recordFrame("a text hidden");
    placeholder->makeGameObject(78, 4);
    recordFrame("the placeholder shows another object");
    bag->moveToFront();
    recordFrame("the bag in front");
    CEGUI::System::getSingleton().invalidateAllCachedRendering();
    recordFrame("everything drawn again");
    recordFrame("idle");

    if (std::getenv("QGUI_WRITE_GOLDEN"))
    {
        std::ofstream out(GoldenPath());
        for (const std::string& line : frames)
            out << line << '\n';
        GTEST_SKIP() << "wrote " << GoldenPath();
    }
    std::ifstream in(GoldenPath());
    ASSERT_TRUE(in) << GoldenPath();
    std::vector<std::string> golden;
    for (std::string line; std::getline(in, line);)
        golden.push_back(line);
    const size_t n = std::min(golden.size(), frames.size());
    for (size_t i = 0; i < n; ++i)
        ASSERT_EQ(frames[i], golden[i]) << "line " << i + 1 << " of " << GoldenPath();
    EXPECT_EQ(frames.size(), golden.size());
}
} // namespace
