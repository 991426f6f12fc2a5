// The game-data widgets against hostile scripts and a hostile game:
// handlers that set values again, destroy their window, fail or change
// what a refresh asks; replies of the wrong type, of huge size or of
// malformed text.
#include "WidgetHarness.h"
#include "widgets/BuffIcon.h"
#include "widgets/CreatureViewer.h"
#include "widgets/GameValueText.h"

namespace
{
struct GameDataHostileTest : harness::WidgetHarness
{
    void addLooks(harness::Style& s) override
    {
        // The value text draws its text.
        s.look("H/ValueText", "QXGame/GameValueText", "QXGame/GameValueText", {}, {}, {},
               harness::Style::textImagery("Enabled"));
        s.look("H/PercentBar", "QXGame/PercentBar", "QXGame/PercentBar", {{"BroadLights", 0xFFFFFFFF}},
               {{"BroadProgressArea", "0,0,100,10"}});
        s.look("H/BuffIcon", "QXGame/BuffIcon", "QXGame/BuffIcon", {});
        s.look("H/Viewer", "QXGame/CreatureViewer", "QXGame/CreatureViewer", {});
    }
    std::string lookUp(const char* name)
    {
        return std::string("local w = CEGUI.System:getSingleton():getDefaultGUIContext():getRootWindow():getChild('") +
               name + "')\n";
    }
};

TEST_F(GameDataHostileTest, PercentHandlersThatSetTheValueAgainOrFailDoNotRecurse)
{
    auto* w = create<QGUI::CPercentBar>("H/PercentBar", "hp", 10, 10, 100, 10);
    ASSERT_EQ(run(lookUp("hp") + "fired = 0\n"
                                 "w:subscribeEvent('PercentChanged', function(e)\n"
                                 "  fired = fired + 1\n"
                                 "  local bar = CEGUI.toWindowEventArgs(e).window\n"
                                 "  bar:setProperty('Value', tostring(1 - tonumber(bar:getProperty('Value'))))\n"
                                 "end)\n"
                                 "w:subscribeEvent('PercentChanged', function(e) error('handler fails') end)"),
              "");
    w->setProperty("Value", "0.25");
    EXPECT_EQ(number("fired"), 1.0);
    EXPECT_EQ(w->getProperty("Value"), "0.75");
    w->setProperty("Value", "0.1");
    EXPECT_EQ(number("fired"), 2.0);
    EXPECT_EQ(w->getProperty("Value"), "0.9");
    size_t failures = 0;
    for (const auto& line : logger->lines)
        failures += line.first.find("handler fails") != std::string::npos;
    EXPECT_EQ(failures, 2u);
    ASSERT_NO_THROW(frame());
    ASSERT_EQ(quadsOfColour(0xFFFFFFFF).size(), 1u);
    EXPECT_EQ(quadsOfColour(0xFFFFFFFF)[0].width, 90.0f);
}

TEST_F(GameDataHostileTest, AHandlerMayDestroyTheBarItFiresOn)
{
    game.answerInt("GameCreatureProvider", "CreatureId", 7);
    game.answer("GameObjectProperty", [](const harness::Record&, KeyValues& reply) {
        reply.SetString("PropertyStringValue", "0.1");
        return true;
    });
    auto* w = create<QGUI::CPercentBar>("H/PercentBar", "hp", 10, 10, 100, 10);
    ASSERT_EQ(run(lookUp("hp") + "w:subscribeEvent('PercentChanged', function(e)\n"
                                 "  CEGUI.WindowManager:getSingleton():destroyWindow(CEGUI.toWindowEventArgs(e).window)\n"
                                 "end)"),
              "");
    frame();
    frame();
    EXPECT_FALSE(CEGUI::WindowManager::getSingleton().isAlive(w));
    EXPECT_EQ(gui->GetWindowRegistry().windowsOfObject(7), nullptr);
    gui->RefreshObjectWindows(7);
    ASSERT_NO_THROW(frame());
}

TEST_F(GameDataHostileTest, AChangeMadeByARefreshHandlerIsNotLost)
{
    game.answerInt("GameCreatureProvider", "CreatureId", 7);
    game.answer("GameObjectProperty", [](const harness::Record& q, KeyValues& reply) {
        reply.SetString("PropertyStringValue", ("value of " + q.value("WhichProperty")).c_str());
        return true;
    });
    auto* w = create<QGUI::CGameValueText>("H/ValueText", "v", 10, 10, 100, 20);
    w->setProperty("WhichProperty", "Name");
    ASSERT_EQ(run(lookUp("v") + "w:subscribeEvent('GameObjectUpdated', function(e)\n"
                                "  w:setProperty('WhichProperty', 'Level')\n"
                                "end)"),
              "");
    frame();
    frame();
    EXPECT_EQ(w->getText(), "value of Level");
    EXPECT_FALSE(w->isRefreshPending());
}

TEST_F(GameDataHostileTest, RepliesOfTheWrongTypeHugeOrMalformedAreShownSafely)
{
    const std::string huge(1 << 20, '9');
    struct Case
    {
        const char* what;
        std::function<void(KeyValues&)> creature;
        std::function<void(KeyValues&)> property;
        std::string text;
        int object;
    } cases[] = {
        {"an id as text", [](KeyValues& r) { r.SetString("CreatureId", "12"); },
         [](KeyValues& r) { r.SetString("PropertyStringValue", "ok"); }, "ok", 12},
        {"a property as a number", [](KeyValues& r) { r.SetInt("CreatureId", 13); },
         [](KeyValues& r) { r.SetInt("PropertyStringValue", 42); }, "42", 13},
        {"a huge text", [](KeyValues& r) { r.SetInt("CreatureId", 14); },
         [&](KeyValues& r) { r.SetString("PropertyStringValue", huge.c_str()); }, huge, 14},
        {"bytes that are no text of the code page", [](KeyValues& r) { r.SetInt("CreatureId", 15); },
         [](KeyValues& r) { r.SetString("PropertyStringValue", "a\xff\xfe" "b"); }, "", 15},
    };
    auto* text = create<QGUI::CGameValueText>("H/ValueText", "v", 10, 10, 100, 20);
    auto* bar = create<QGUI::CPercentBar>("H/PercentBar", "b", 10, 40, 100, 10);
    bar->setProperty("Tooltips2", "HP");
    for (const Case& c : cases)
    {
        game.answer("GameCreatureProvider", [&](const harness::Record&, KeyValues& r) {
            c.creature(r);
            return true;
        });
        game.answer("GameObjectProperty", [&](const harness::Record&, KeyValues& r) {
            c.property(r);
            return true;
        });
        text->invalidate();
        bar->invalidate();
        ASSERT_NO_THROW(frame()) << c.what;
        EXPECT_EQ(text->getObjectId(), c.object) << c.what;
        if (!c.text.empty())
        {
            EXPECT_EQ(text->getText(), c.text) << c.what;
        }
        EXPECT_GE(bar->getValue(), 0.0f) << c.what;
        EXPECT_LE(bar->getValue(), 1.0f) << c.what;
        // The label and the percentage, however large the reading.
        EXPECT_LT(bar->getTooltipText().length(), 80u) << c.what;
    }
}

TEST_F(GameDataHostileTest, WidgetsBuiltBeforeTheGameAnswersAndAfterShutDownStayQuiet)
{
    auto* text = create<QGUI::CGameValueText>("H/ValueText", "v", 10, 10, 100, 20);
    auto* bar = create<QGUI::CPercentBar>("H/PercentBar", "b", 10, 40, 100, 10);
    auto* buff = create<QGUI::CBuffIcon>("H/BuffIcon", "buff", 10, 60, 32, 32);
    auto* viewer = create<QGUI::CCreatureViewer>("H/Viewer", "c", 50, 60, 32, 32);
    // Nothing answers: every query is refused.
    ASSERT_NO_THROW(frame());
    EXPECT_EQ(text->getText(), "");
    EXPECT_EQ(bar->getValue(), 0.5f);
    EXPECT_EQ(buff->getObjectId(), 0u);
    EXPECT_EQ(viewer->getCreatureId(), 0);
    gui->ShutDown();
    game.clear();
    text->setProperty("WhichOne", "Player");
    viewer->setProperty("WhichOne", "Player");
    buff->setProperty("BuffIndex", "4");
    bar->setProperty("Value", "0.3");
    gui->RefreshObjectWindows(0);
    ASSERT_NO_THROW(frame());
    EXPECT_TRUE(game.queries.empty());
    for (CEGUI::Window* w : std::initializer_list<CEGUI::Window*>{text, bar, buff, viewer})
        destroy(w);
    CEGUI::WindowManager::getSingleton().cleanDeadPool();
}
} // namespace
