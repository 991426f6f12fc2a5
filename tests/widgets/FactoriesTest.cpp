// The window and window-renderer factories, the renderer-module entry
// points and the data-provider map.
#include <CEGUI/FactoryModule.h>

#include "WidgetHarness.h"
#include "widgets/QGUIExtraFacoryManager.h"
#include "widgets/WidgetFactories.h"

extern "C" unsigned int registerAllFactories();
extern "C" void registerFactory(const CEGUI::String& type);
extern "C" CEGUI::FactoryModule& getWindowRendererFactoryModule();

namespace
{
struct FactoriesTest : harness::WidgetHarness
{
    size_t skipLines() const
    {
        size_t n = 0;
        for (const auto& l : logger->lines)
            n += l.second == CEGUI::Standard && l.first.find("' appears to be already registered, skipping.") !=
                                                    std::string::npos;
        return n;
    }
};

TEST_F(FactoriesTest, InitAddsEveryWindowAndRendererFactoryInTableOrder)
{
    CEGUI::WindowFactoryManager& windows = CEGUI::WindowFactoryManager::getSingleton();
    CEGUI::WindowRendererManager& renderers = CEGUI::WindowRendererManager::getSingleton();
    ASSERT_GE(QGUI::WindowFactoryCount(), 2u);
    EXPECT_STREQ(QGUI::WindowFactoryType(0), "QXGame/ItemIcon");
    for (unsigned int i = 0; i < QGUI::WindowFactoryCount(); ++i)
        EXPECT_TRUE(windows.isFactoryPresent(QGUI::WindowFactoryType(i))) << QGUI::WindowFactoryType(i);
    for (unsigned int i = 0; i < QGUI::RendererFactoryCount(); ++i)
        EXPECT_TRUE(renderers.isFactoryPresent(QGUI::RendererFactoryType(i))) << QGUI::RendererFactoryType(i);
    EXPECT_EQ(QGUI::WindowFactoryType(QGUI::WindowFactoryCount()), nullptr);

    CEGUI::Window* spell = CEGUI::WindowManager::getSingleton().createWindow("QXGame/SpellIcon", "s");
    EXPECT_EQ(spell->getType(), "QXGame/SpellIcon");
    CEGUI::WindowManager::getSingleton().destroyWindow(spell);
}

TEST_F(FactoriesTest, RegisteringAgainSkipsEachRowWithALogLine)
{
    const size_t before = skipLines();
    EXPECT_EQ(registerAllFactories(), QGUI::RendererFactoryCount());
    EXPECT_EQ(skipLines() - before, QGUI::RendererFactoryCount());
    EXPECT_TRUE(logger->has("WindowRenderer factory 'QXGame/ItemIcon' appears to be already registered, skipping.",
                            CEGUI::Standard));
    // Through the factory module a scheme's renderer set uses, the same.
    EXPECT_EQ(getWindowRendererFactoryModule().registerAllFactories(), QGUI::RendererFactoryCount());
    EXPECT_EQ(skipLines() - before, 2 * QGUI::RendererFactoryCount());
}

TEST_F(FactoriesTest, RegisterFactoryAddsOneKnownTypeAndRefusesOthers)
{
    CEGUI::WindowRendererManager& renderers = CEGUI::WindowRendererManager::getSingleton();
    renderers.removeFactory("QXGame/ItemIcon");
    ASSERT_FALSE(renderers.isFactoryPresent("QXGame/ItemIcon"));
    registerFactory("QXGame/ItemIcon");
    EXPECT_TRUE(renderers.isFactoryPresent("QXGame/ItemIcon"));

    try
    {
        registerFactory("QXGame/NoSuchRenderer");
        FAIL() << "no exception";
    }
    catch (const CEGUI::UnknownObjectException& e)
    {
        EXPECT_EQ(e.getMessage(), "::registerFactory - The window renderer factory for type "
                                  "'QXGame/NoSuchRenderer' is not known in this module.");
    }
    // The factory module keeps its factories when a scheme lets it go.
    getWindowRendererFactoryModule().unregisterAllFactories();
    EXPECT_TRUE(renderers.isFactoryPresent("QXGame/ItemIcon"));
}

TEST_F(FactoriesTest, TheProviderMapNamesProvidersAndHoldsTheMainObject)
{
    QGUI::QGUIExtraFacoryManager& map = QGUI::QGUIExtraFacoryManager::Instance();
    EXPECT_EQ(map.GetMainObject(), gui);
    EXPECT_TRUE(map.IsInitialised());
    const std::pair<const char*, const char*> rows[] = {
        {"QXGame/ItemIcon", "GamePackageManagerProxy"}, {"QXGame/GameValueText", "GameCreatureProvider"},
        {"QXGame/PercentBar", "GameCreatureProvider"},  {"QXGame/CreatureViewer", "GameCreatureProvider"},
        {"QXGame/SpellIcon", "SpellProxyMgr"},          {"QXGame/BuffIcon", "BuffMgr"},
        {"QXGame/GameMultiLine", ""},                   {"", ""},
    };
    for (const auto& row : rows)
        EXPECT_EQ(map.GetProviderName(row.first), row.second) << row.first;
}
} // namespace

namespace
{
// A window made by a script without a look (a misspelt mapping, a window
// built by hand) is made, given a text, drawn and destroyed like any other;
// what it does without is logged.
TEST_F(FactoriesTest, EveryWindowTypeLivesAndDiesWithoutALook)
{
    std::string types = "types = {";
    for (unsigned int i = 0; i < QGUI::WindowFactoryCount(); ++i)
        types += std::string("'") + QGUI::WindowFactoryType(i) + "',";
    ASSERT_EQ(run(types + "} made = {}"), "");
    ASSERT_EQ(run("local wm = CEGUI.WindowManager:getSingleton()\n"
                  "local root = CEGUI.System:getSingleton():getDefaultGUIContext():getRootWindow()\n"
                  "for i, t in ipairs(types) do\n"
                  "  made[i] = wm:createWindow(t, 'bare' .. i)\n"
                  "  root:addChild(made[i])\n"
                  "  made[i]:setText('a few words {N x:name} ' .. string.rep('w', 200))\n"
                  "end"),
              "");
    frame();
    ASSERT_EQ(run("local wm = CEGUI.WindowManager:getSingleton()\n"
                  "for i, w in ipairs(made) do wm:destroyWindow(w) end\n"
                  "wm:cleanDeadPool()"),
              "");
    frame();
    EXPECT_TRUE(logger->has("QGUI: 'QXGame/GameChatBox' window 'bare10' has no look that gives it its "
                            "scrollbars; it does without.",
                            CEGUI::Warnings));
}
} // namespace
