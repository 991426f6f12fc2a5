// The base widget and base window renderer: refresh on demand, the extra
// render cache and its object quads, the renderer state, shared and
// renderer properties.
#include "TestWidgets.h"
#include "WidgetHarness.h"
#include "render/QXRenderer.h"
#include "widgets/ItemIcon.h"

namespace
{
struct BaseWidgetTest : harness::WidgetHarness
{
    void addLooks(harness::Style& s) override
    {
        s.look("H/Game", "T/Game", "T/GameRenderer", {{"Normal", 0xFF101010}});
        // A renderer of game objects on a window that is not a game window.
        s.look("H/Mismatch", "DefaultWindow", "QXGame/ItemIcon", {{"Normal", 0xFF202020}});
        // A look that defines properties under names the module uses.
        s.look("H/Shadow", "T/Game", "T/GameRenderer", {{"Normal", 0xFF303030}}, {}, {},
               "<PropertyDefinition name=\"Sparking\" type=\"String\" initialValue=\"look\" />"
               "<PropertyDefinition name=\"FrameEnabled\" type=\"String\" initialValue=\"look\" />");
    }
    void SetUp() override
    {
        WidgetHarness::SetUp();
        harness::AddTestWidgetFactories();
    }
    harness::GameWindow* gameWindow(const char* name, float x, float y, float w, float h,
                              CEGUI::Window* parent = nullptr)
    {
        return create<harness::GameWindow>("H/Game", name, x, y, w, h, parent);
    }
    QXUI::CQXRenerder& renderer() { return *gui->GetRenderer(); }
    int updates = 0;
    void countUpdates(CEGUI::Window* w)
    {
        w->subscribeEvent(QGUI::QXWindow::EventGameObjectUpdated, [this](const CEGUI::EventArgs&) {
            ++updates;
            return true;
        });
    }
};

TEST_F(BaseWidgetTest, RefreshRunsOncePerBurstAndNotInIdleFrames)
{
    auto* w = gameWindow("w", 10, 10, 40, 40);
    countUpdates(w);
    w->objectId = 77;
    frame();
    EXPECT_EQ(w->refreshes, 1);
    EXPECT_EQ(updates, 1);
    EXPECT_EQ(game.queries.size(), 0u);

    for (int i = 0; i < 5; ++i)
        w->invalidate();
    frame();
    EXPECT_EQ(w->refreshes, 2);
    frame();
    frame();
    EXPECT_EQ(w->refreshes, 2);
    EXPECT_EQ(updates, 2);
}

TEST_F(BaseWidgetTest, RefreshHandlersMayMakeAndDestroyWindows)
{
    auto* w = gameWindow("w", 10, 10, 40, 40);
    gameWindow("next", 60, 10, 40, 40);
    w->objectId = 4;
    ASSERT_EQ(run("local root = CEGUI.System:getSingleton():getDefaultGUIContext():getRootWindow()\n"
                  "local wm = CEGUI.WindowManager:getSingleton()\n"
                  "root:getChild('w'):subscribeEvent('GameObjectUpdated', function(e)\n"
                  "  wm:destroyWindow(root:getChild('w'))\n"
                  "end)\n"
                  "root:getChild('next'):subscribeEvent('GameObjectUpdated', function(e)\n"
                  "  root:addChild(wm:createWindow('DefaultWindow', 'made'))\n"
                  "end)"),
              "");
    // Shown windows refresh before the GUI is drawn, so the windows the
    // handlers take away or add are drawn as they are now.
    frame();
    frame();
    EXPECT_FALSE(CEGUI::WindowManager::getSingleton().isAlive(w));
    EXPECT_TRUE(root->isChild("made"));
    EXPECT_EQ(game.objectQuads.size(), 1u);
    EXPECT_FALSE(CEGUI::WindowManager::getSingleton().isLocked());
}

TEST_F(BaseWidgetTest, ARefreshLeftToTheDrawingCannotMakeWindows)
{
    auto* w = gameWindow("w", 10, 10, 40, 40);
    ASSERT_EQ(run("local root = CEGUI.System:getSingleton():getDefaultGUIContext():getRootWindow()\n"
                  "root:getChild('w'):subscribeEvent('GameObjectUpdated', function(e)\n"
                  "  root:addChild(CEGUI.WindowManager:getSingleton():createWindow('DefaultWindow', 'made'))\n"
                  "end)"),
              "");
    // Drawn without the main object's update: the refresh runs inside the
    // drawing, and the handler fails with an error of its own.
    CEGUI::System::getSingleton().renderAllGUIContexts();
    EXPECT_FALSE(root->isChild("made"));
    EXPECT_EQ(w->refreshes, 1);
    EXPECT_FALSE(CEGUI::WindowManager::getSingleton().isLocked());
    frame();
}

TEST_F(BaseWidgetTest, ObjectQuadsReachTheEngineEveryFrameIncludingReplays)
{
    auto* w = gameWindow("w", 100, 100, 40, 40);
    w->objectId = 1234;
    w->renderOp = 17;
    for (int f = 0; f < 3; ++f)
    {
        frame();
        ASSERT_EQ(game.objectQuads.size(), 1u) << "frame " << f;
        const fake::ObjectQuad& q = game.objectQuads[0];
        EXPECT_EQ(q.id, 1234u);
        EXPECT_EQ(q.op, 17u);
        // No offset: the anchor is the window's top-left; right and bottom
        // hold the size; both shifted by half a pixel and truncated.
        EXPECT_EQ(q.left, 99);
        EXPECT_EQ(q.top, 99);
        EXPECT_EQ(q.right, 39);
        EXPECT_EQ(q.bottom, 39);
        EXPECT_EQ(q.tex[2], 1);
        // Behind the window's own imagery.
        ASSERT_EQ(quadsOfColour(0xFF101010).size(), 1u);
        EXPECT_GT(q.z, quadsOfColour(0xFF101010)[0].z);
    }
    EXPECT_EQ(w->refreshes, 1);
}

TEST_F(BaseWidgetTest, ImageOffsetPlacesTheAnchor)
{
    auto* w = gameWindow("w", 100, 100, 40, 40);
    w->objectId = 1;
    struct Case
    {
        const char* offset;
        int left, top;
    } cases[] = {
        {"{{0,0},{0,0}}", 99, 99},
        {"{{0.5,0},{0.5,0}}", 119, 119},
        {"{{1,-8},{1,-8}}", 131, 131},
    };
    for (const Case& c : cases)
    {
        w->setProperty("ImageOffset", c.offset);
        w->requestRedraw();
        frame();
        ASSERT_EQ(game.objectQuads.size(), 1u) << c.offset;
        EXPECT_EQ(game.objectQuads[0].left, c.left) << c.offset;
        EXPECT_EQ(game.objectQuads[0].top, c.top) << c.offset;
        EXPECT_EQ(w->getProperty("ImageOffset"), c.offset);
    }
}

TEST_F(BaseWidgetTest, ClippedZeroSizedAndHiddenWindowsQueueWhatIsVisible)
{
    // A parent 20 pixels wide holds a 40-pixel child: half of it shows.
    auto* parent = create("DefaultWindow", "p", 100, 100, 20, 40);
    auto* half = gameWindow("half", 0, 0, 40, 40, parent);
    half->objectId = 5;
    auto* flat = gameWindow("flat", 300, 100, 40, 0);
    flat->objectId = 6;
    auto* thin = gameWindow("thin", 400, 100, 0, 40);
    thin->objectId = 7;
    frame();
    ASSERT_EQ(game.objectQuads.size(), 1u);
    EXPECT_EQ(game.objectQuads[0].id, 5u);
    // The texture rectangle covers the visible half.
    bool found = false;
    for (const QXUI::QuadRecord& q : renderer().getQuadList())
    {
        if (q.hostTexture || q.object.objectId != 5)
            continue;
        found = true;
        EXPECT_FLOAT_EQ(q.tex[0], 0.0f);
        EXPECT_FLOAT_EQ(q.tex[2], 0.5f);
        EXPECT_FLOAT_EQ(q.tex[3], 1.0f);
    }
    EXPECT_TRUE(found);
    // The windows without area still refreshed; a hidden one draws nothing.
    EXPECT_EQ(flat->refreshes, 1);
    half->hide();
    frame();
    EXPECT_TRUE(game.objectQuads.empty());
}

TEST_F(BaseWidgetTest, SparkingAddsTheGamesSparkingObjectAfterTheWindowsOwn)
{
    QGUI::QXRenderer::ForgetSparkingObject();
    auto* w = gameWindow("w", 10, 10, 40, 40);
    w->objectId = 3;
    frame();
    EXPECT_EQ(game.objectQuads.size(), 1u);
    EXPECT_EQ(game.queriesNamed("GameCreatureProvider"), 0u);

    // The game does not know its sparking object yet: asked again at each
    // render, drawn as object 0 meanwhile.
    game.answer("GameCreatureProvider", [](const harness::Record&, KeyValues&) { return true; });
    w->setSparkingState(2);
    frame();
    ASSERT_EQ(game.objectQuads.size(), 2u);
    EXPECT_EQ(game.objectQuads[1].id, 0u);
    EXPECT_EQ(game.lastQuery("GameCreatureProvider")->value("WhichOne"), "Sparking");
    w->requestRedraw();
    frame();
    EXPECT_EQ(game.queriesNamed("GameCreatureProvider"), 2u);

    game.answerInt("GameCreatureProvider", "CreatureId", 900);
    w->requestRedraw();
    frame();
    ASSERT_EQ(game.objectQuads.size(), 2u);
    EXPECT_EQ(game.objectQuads[0].id, 3u);
    EXPECT_EQ(game.objectQuads[1].id, 900u);
    EXPECT_EQ(game.objectQuads[1].op, 2u);
    w->requestRedraw();
    frame();
    EXPECT_EQ(game.queriesNamed("GameCreatureProvider"), 3u);
}

TEST_F(BaseWidgetTest, RedrawOnlyWhenAValueChanges)
{
    auto* w = gameWindow("w", 10, 10, 40, 40);
    frame();
    int redraws = 0;
    w->subscribeEvent(CEGUI::Window::EventInvalidated, [&](const CEGUI::EventArgs&) {
        ++redraws;
        return true;
    });
    w->setProperty("Sparking", "0");
    w->setProperty("GameObjectCompareId", "55");
    w->setProperty("FrameEnabled", "False");
    EXPECT_EQ(redraws, 0);
    w->setProperty("Sparking", "4");
    w->setProperty("FrameEnabled", "True");
    w->setProperty("BackgroundEnabled", "true");
    EXPECT_EQ(redraws, 3);
    EXPECT_EQ(w->getProperty("GameObjectCompareId"), "55");
    EXPECT_EQ(w->getProperty("Sparking"), "4");
    EXPECT_EQ(w->getProperty("FrameEnabled"), "True");
    EXPECT_EQ(w->getProperty("BackgroundEnabled"), "True");
    w->setProperty("FrameEnabled", "yes");
    EXPECT_EQ(w->getProperty("FrameEnabled"), "False");
    EXPECT_FALSE(w->isRefreshPending());
}

TEST_F(BaseWidgetTest, NoTexturesBeforeTheModuleIsStarted)
{
    QGUI::QGUIExtraFacoryManager::Instance().SetInitialised(false);
    auto* w = gameWindow("w", 10, 10, 40, 40);
    w->objectId = 8;
    frame();
    EXPECT_TRUE(game.objectQuads.empty());
    QGUI::QGUIExtraFacoryManager::Instance().SetInitialised(true);
    w->requestRedraw();
    frame();
    EXPECT_EQ(game.objectQuads.size(), 1u);
}

TEST_F(BaseWidgetTest, ARendererTakenOffStopsDrawingAndATextureLeakIsNone)
{
    auto* w = gameWindow("w", 10, 10, 40, 40);
    w->objectId = 8;
    frame();
    const size_t textures = renderer().getTextureCount();
    for (int i = 0; i < 3; ++i)
    {
        w->requestRedraw();
        frame();
    }
    EXPECT_EQ(renderer().getTextureCount(), textures);
    // The old renderer's state goes; nothing may still draw it.
    w->setWindowRenderer("QXGame/ItemIcon");
    EXPECT_EQ(w->getExtraRenderCache().getDrawableCount(), 0u);
    frame();
    frame();
    // Its object texture went with it; the new one has no object to show.
    EXPECT_EQ(renderer().getTextureCount(), textures - 1);
    EXPECT_TRUE(game.objectQuads.empty());
}

TEST_F(BaseWidgetTest, AGameRendererOnAnotherWindowDrawsItsLookOnly)
{
    create("H/Mismatch", "m", 10, 10, 40, 40);
    frame();
    EXPECT_TRUE(game.objectQuads.empty());
    EXPECT_EQ(quadsOfColour(0xFF202020).size(), 1u);
    EXPECT_TRUE(game.queries.empty());
}

TEST_F(BaseWidgetTest, ALookDefiningAModulePropertyNameWins)
{
    CEGUI::Window* w = nullptr;
    ASSERT_NO_THROW(w = create("H/Shadow", "s", 10, 10, 40, 40));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->getProperty("Sparking"), "look");
    EXPECT_EQ(w->getProperty("FrameEnabled"), "look");
    EXPECT_TRUE(logger->hasPrefix("QGUI::QXWindow: the look 'H/Shadow' of window 's' defines the property 'Sparking'"));
    // Another look gives the module's property back.
    w->setLookNFeel("H/Game");
    EXPECT_EQ(w->getProperty("Sparking"), "0");
    frame();
}

TEST_F(BaseWidgetTest, SharedPropertiesResolveThroughTheClassChain)
{
    auto* icon = create<QGUI::CItemIcon>("QXGame/ItemIcon", "icon", 0, 0, 10, 10);
    auto* w = gameWindow("w", 10, 10, 40, 40);
    ASSERT_NE(icon, nullptr);
    EXPECT_EQ(icon->FindSharePros("PackageId")->getName(), "PackageId");
    EXPECT_EQ(icon->FindSharePros("GameObjectCompareId")->getName(), "GameObjectCompareId");
    EXPECT_EQ(icon->FindSharePros("Text"), nullptr);
    EXPECT_EQ(w->FindSharePros("PackageId"), nullptr);
    // The same property object serves both windows.
    EXPECT_EQ(icon->getPropertyInstance("Sparking"), w->getPropertyInstance("Sparking"));

    std::ostringstream out;
    CEGUI::XMLSerializer xml(out);
    int count = 0;
    icon->WriteSharePropToXML(xml, count);
    // At their defaults: "ClickIsPick" (default "0", reads "False") and
    // "RenderOper" (default "0", reads a name) only.
    EXPECT_EQ(count, 2);
    icon->setProperty("GameObjectCompareId", "9");
    icon->setProperty("PackageId", "4");
    count = 0;
    icon->WriteSharePropToXML(xml, count);
    EXPECT_EQ(count, 4);
    EXPECT_NE(out.str().find("name=\"GameObjectCompareId\" value=\"9\""), std::string::npos);
}
} // namespace
