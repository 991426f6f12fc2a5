#include <gtest/gtest.h>

#include <CEGUI/CEGUI.h>

#include "FakeHost.h"
#include "KeyValues.h"
#include "RecordingLogger.h"
#include "core/IMEBase.h"
#include "core/InterfaceRegistry.h"
#include "core/QGUI.h"
#include "render/QXRenderer.h"
#include "render/QXResourceProvider.h"

namespace
{
// Each test runs in a process of its own: the main object is the module's
// one static object and can start only once.
struct MainObjectTest : ::testing::Test
{
    RecordingLogger* logger = new RecordingLogger;  // the GUI system takes it over
    fake::Render render;
    fake::Engine engine;
    fake::FileSystem fs;
    HostGlobals host{};
    CreateInterfaceFn factories[1] = {&fake::Factories::Serve};
    QGUI::CQGUI* gui = QGUI::CQGUI::GetGlobalObject();

    void SetUp() override
    {
        fake::Factories::render = &render;
        fake::Factories::engine = &engine;
        fake::Factories::fileSystem = &fs;
        host.frametime = 1.0f / 30;
    }
    void TearDown() override
    {
        for (KeyValues* m : engine.received)
            m->deleteThis();
        fake::Factories::render = nullptr;
        fake::Factories::engine = nullptr;
        fake::Factories::fileSystem = nullptr;
    }
    CIMEBase* ime() { return static_cast<CIMEBase*>(static_cast<IIMEBaseInterface*>(CreateInterface("QIME001", nullptr))); }
};

TEST_F(MainObjectTest, TheRegistryHandsOutTheMainObject)
{
    EXPECT_EQ(CreateInterface("QGUI001", nullptr), static_cast<QGUI::IQGUI*>(gui));
}

TEST_F(MainObjectTest, InitWithoutHostRecordCreatesNothing)
{
    EXPECT_FALSE(gui->Init(factories, 1, nullptr));
    EXPECT_EQ(CEGUI::System::getSingletonPtr(), nullptr);
    EXPECT_FALSE(gui->IsInitialised());
    // Nothing to update or shut down yet; neither may crash.
    gui->Update();
    gui->ShutDown();
}

TEST_F(MainObjectTest, InitStartsTheGuiOverTheHost)
{
    ASSERT_TRUE(gui->Init(factories, 1, &host));
    CEGUI::System* system = CEGUI::System::getSingletonPtr();
    ASSERT_NE(system, nullptr);
    EXPECT_EQ(&system->getRenderer()->getDefaultRenderTarget(),
              &gui->GetRenderer()->getDefaultRenderTarget());
    EXPECT_EQ(gui->GetRenderInterface(), &render);
    EXPECT_EQ(gui->GetEngineClient(), &engine);
    EXPECT_EQ(gui->GetFileSystem(), &fs);
    EXPECT_EQ(gui->GetHostGlobals(), &host);

    // The root window is the sheet and covers the display.
    CEGUI::Window* root = system->getDefaultGUIContext().getRootWindow();
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root, gui->GetRootWindow());
    EXPECT_EQ(root->getPixelSize(), CEGUI::Sizef(800, 600));

    // Directories in registration order, group defaults set.
    const auto& dirs = gui->GetResourceProvider()->getDirectoryList();
    ASSERT_EQ(dirs.size(), 8u);
    EXPECT_EQ(dirs[0].first, "lua_scripts");
    EXPECT_EQ(dirs[1].second, "resource\\UI\\lua_scripts_csm\\");
    EXPECT_EQ(dirs[7].first, "looknfeels");
    EXPECT_EQ(dirs[7].second, "resource\\UI\\looknfeel\\");
    EXPECT_EQ(CEGUI::Scheme::getDefaultResourceGroup(), "schemes");
    EXPECT_EQ(CEGUI::WindowManager::getDefaultResourceGroup(), "layouts");
    EXPECT_EQ(CEGUI::ScriptModule::getDefaultResourceGroup(), "lua_scripts");
    EXPECT_EQ(CEGUI::ImageManager::getImagesetDefaultResourceGroup(), "imagesets");

    // The web control module was asked for through the file system.
    EXPECT_EQ(fs.modulesAsked, std::vector<std::string>{"Beging.dat"});
    EXPECT_EQ(gui->GetInterfaceFactory(0), nullptr);
    // The input method started on the engine's game window.
    EXPECT_EQ(ime()->GetWindow(), reinterpret_cast<HWND>(0x1234));

    // New windows update while hidden and show their text literally.
    CEGUI::Window* w = CEGUI::WindowManager::getSingleton().createWindow("DefaultWindow", "w");
    EXPECT_EQ(w->getUpdateMode(), CEGUI::WUM_ALWAYS);
    EXPECT_FALSE(w->isTextParsingEnabled());
    CEGUI::WindowManager::getSingleton().destroyWindow(w);

    // A second start is refused.
    EXPECT_FALSE(gui->Init(factories, 1, &host));
    EXPECT_TRUE(logger->has("QGUI::CQGUI::Init: the interface is already initialised.", CEGUI::Errors));
}

TEST_F(MainObjectTest, InitWithoutFileSystemOrEngineClientStillStarts)
{
    fake::Factories::fileSystem = nullptr;
    fake::Factories::engine = nullptr;
    ASSERT_TRUE(gui->Init(factories, 1, &host));
    EXPECT_EQ(gui->GetFileSystem(), nullptr);
    EXPECT_EQ(gui->GetEngineClient(), nullptr);
    EXPECT_EQ(ime()->GetWindow(), nullptr);
    EXPECT_EQ(gui->GetMainWindow(), nullptr);
    gui->Update();
}

TEST_F(MainObjectTest, AnEngineWithoutAWindowDoesNotStartTheInputMethod)
{
    engine.hasWindow = false;
    ASSERT_TRUE(gui->Init(factories, 1, &host));
    EXPECT_EQ(ime()->GetWindow(), nullptr);
}

TEST_F(MainObjectTest, ShutDownLogsThePoolAndUnloadsSchemes)
{
    ASSERT_TRUE(gui->Init(factories, 1, &host));
    gui->Update();
    gui->ShutDown();
    EXPECT_TRUE(logger->hasPrefix("QGUI::CQGUI::ShutDown: CostAll = "));
    bool standard = false;
    for (const auto& l : logger->lines)
        if (l.first.find("ShutDown: CostAll = ") != std::string::npos)
            standard = l.second == CEGUI::Standard && l.first.size() > 30 &&
                       l.first.substr(l.first.size() - 4) == "(dl)";
    EXPECT_TRUE(standard);
}

TEST_F(MainObjectTest, SoundRequestsAreQueuedOnce)
{
    ASSERT_TRUE(gui->Init(factories, 1, &host));
    gui->playSoundEffect(0, 0, "a");
    gui->playSoundEffect(0, 0, "a");
    EXPECT_EQ(gui->GetSoundQueue().size(), 1u);
    gui->playSoundEffect(1, 0, "a");
    gui->playSoundEffect(0, 0, "b");
    gui->playSoundEffect(0, 0, nullptr);
    EXPECT_EQ(gui->GetSoundQueue().size(), 3u);

    gui->Update();
    EXPECT_TRUE(gui->GetSoundQueue().empty());
}

TEST_F(MainObjectTest, GuideTextsAreHeldUntilTheNextUpdate)
{
    ASSERT_TRUE(gui->Init(factories, 1, &host));
    gui->QueueGuideCmdText("a", nullptr, 1, 2, 3);
    ASSERT_EQ(gui->GetGuideTexts().size(), 1u);
    EXPECT_EQ(gui->GetGuideTexts()[0].second, "");
    gui->Update();
    EXPECT_TRUE(gui->GetGuideTexts().empty());
}

TEST_F(MainObjectTest, ActivationClearsMarkedNames)
{
    ASSERT_TRUE(gui->Init(factories, 1, &host));
    EXPECT_FALSE(gui->IsActive());
    EXPECT_TRUE(gui->MarkWindowName("w"));
    gui->Activate();
    EXPECT_TRUE(gui->IsActive());
    EXPECT_FALSE(gui->UnmarkWindowName("w"));
    gui->MarkWindowName("w");
    EXPECT_TRUE(gui->UnmarkWindowName("w"));
    EXPECT_FALSE(gui->UnmarkWindowName(nullptr));
    gui->Deactivate();
    EXPECT_FALSE(gui->IsActive());
}

TEST_F(MainObjectTest, FramesRenderThroughTheHostUnlessPaused)
{
    ASSERT_TRUE(gui->Init(factories, 1, &host));
    // A window drawing one image of a memory texture.
    QXUI::CQXRenerder* renderer = gui->GetRenderer();
    static const uint32_t pixels[16] = {};
    CEGUI::Texture& tex = renderer->createTexture("solid");
    tex.loadFromMemory(pixels, CEGUI::Sizef(4, 4), CEGUI::Texture::PF_RGBA);
    auto& image = static_cast<CEGUI::BasicImage&>(
        CEGUI::ImageManager::getSingleton().create("BasicImage", "test/solid"));
    image.setTexture(&tex);
    image.setArea(CEGUI::Rectf(0, 0, 4, 4));
    CEGUI::Window* w = CEGUI::WindowManager::getSingleton().createWindow("DefaultWindow", "pic");
    w->setArea(CEGUI::URect(CEGUI::UDim(0, 10), CEGUI::UDim(0, 10), CEGUI::UDim(0, 50), CEGUI::UDim(0, 30)));
    gui->GetRootWindow()->addChild(w);
    w->subscribeEvent(CEGUI::Window::EventRenderingStarted, [&image, w](const CEGUI::EventArgs&) {
        return true;
    });
    // Draw the image into the window's own buffer each time it redraws.
    struct Painter
    {
        CEGUI::Image* image;
        bool operator()(const CEGUI::EventArgs& a) const
        {
            CEGUI::Window* win = static_cast<const CEGUI::WindowEventArgs&>(a).window;
            image->render(win->getGeometryBuffer(), CEGUI::Rectf(0, 0, 40, 20), nullptr,
                          CEGUI::ColourRect(CEGUI::Colour(1, 1, 1, 1)));
            return true;
        }
    };
    w->subscribeEvent(CEGUI::Window::EventRenderingEnded, Painter{&image});
    w->invalidate();

    gui->Update();
    const size_t first = render.draws.size();
    EXPECT_GE(first, 1u);
    bool found = false;
    for (const fake::DrawCall& d : render.draws)
        found = found || (d.x == 9 && d.y == 9 && d.scale[0] == 10.0f && d.scale[1] == 5.0f);
    EXPECT_TRUE(found);

    host.paused = 1;
    gui->Update();
    EXPECT_EQ(render.draws.size(), first);
}
} // namespace

namespace
{
TEST_F(MainObjectTest, WithoutARootPanelTheModuleStillRuns)
{
    // Every panel slot is taken before start-up: the root panel cannot be made.
    auto& pool = const_cast<QGUI::PanelHandlePool&>(gui->GetPanelPool());
    HandleBase last;
    for (uint32_t i = 0; i < QGUI::PanelHandlePool::kMaxSlots; ++i)
        ASSERT_NE(pool.allocate(last), nullptr);
    ASSERT_TRUE(gui->Init(factories, 1, &host));
    EXPECT_TRUE(logger->has("QGUI::CQGUI::Init: the root panel could not be created.", CEGUI::Errors));
    EXPECT_EQ(gui->GetRootWindow(), nullptr);
    EXPECT_FALSE(gui->IsPanelValid(gui->GetRootPanelHandle()));
    EXPECT_EQ(CEGUI::System::getSingleton().getDefaultGUIContext().getRootWindow(), nullptr);

    // Frames, input and panels answer without a sheet.
    gui->Update();
    EXPECT_FALSE(gui->ProcessMessage(nullptr, WM_MOUSEMOVE, 0, (10 << 16) | 10));
    EXPECT_FALSE(gui->ProcessMessage(nullptr, WM_LBUTTONDOWN, 0, (10 << 16) | 10));
    EXPECT_FALSE(gui->IsStatusOn(QGUI_STATUS_MOUSE_OVER_UI));
    HandleBase h;
    EXPECT_EQ(gui->CreatePanel(&h, nullptr), nullptr);
    pool.release(last);
    ASSERT_NE(gui->CreatePanel(&h, nullptr), nullptr);
    EXPECT_FALSE(gui->AddPanelToRoot(&h));
    // A panel made the sheet takes the root's place.
    EXPECT_TRUE(gui->SetPanelAsSheet(&h, 1));
    gui->Update();
    gui->ProcessMessage(nullptr, WM_MOUSEMOVE, 0, (20 << 16) | 20);
    EXPECT_EQ(CEGUI::System::getSingleton().getDefaultGUIContext().getRootWindow(),
              static_cast<QGUI::CPanel*>(gui->QueryPanel(&h))->GetWindow());
}
} // namespace
