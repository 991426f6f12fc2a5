// Value texts and percent bars: the provider and property queries and the
// bindings they make, refusals, the bar's value, tooltip and events, the two
// renderers' drawing, properties and a saved layout.
#include <algorithm>

#include "WidgetHarness.h"
#include "widgets/GameValueText.h"
#include "widgets/GameValueTextRenderer.h"

namespace
{
// Imagery colours of the test looks.
const uint32_t kEnabledFrame = 0xFF000011, kDisabledFrame = 0xFF000012;
const uint32_t kWithFrameEnabledBg = 0xFF000021, kWithFrameDisabledBg = 0xFF000022;
const uint32_t kNoFrameEnabledBg = 0xFF000023, kNoFrameDisabledBg = 0xFF000024;
const uint32_t kEnabled = 0xFF000031, kDisabled = 0xFF000032;
const uint32_t kBarBackground = 0xFF000041, kLights = 0xFFFFFFFF, kHighLights = 0xFF000043;
const uint32_t kBarFrame = 0xFF000044, kDivider = 0xFF000045;

struct GameValueTextTest : harness::WidgetHarness
{
    void addLooks(harness::Style& s) override
    {
        s.look("H/ValueText", "QXGame/GameValueText", "QXGame/GameValueText",
               {{"EnabledFrame", kEnabledFrame},
                {"DisabledFrame", kDisabledFrame},
                {"WithFrameEnabledBackground", kWithFrameEnabledBg},
                {"WithFrameDisabledBackground", kWithFrameDisabledBg},
                {"NoFrameEnabledBackground", kNoFrameEnabledBg},
                {"NoFrameDisabledBackground", kNoFrameDisabledBg},
                {"Enabled", kEnabled},
                {"Disabled", kDisabled}});
        s.look("H/TextOnly", "QXGame/GameValueText", "QXGame/GameValueText", {}, {}, {},
               harness::Style::textImagery("Enabled"));
        const std::vector<std::pair<std::string, uint32_t>> bar = {
            {"BackGround", kBarBackground}, {"BroadLights", kLights}, {"BroadHighLights", kHighLights},
            {"BroadFrame", kBarFrame},      {"Divider", kDivider}};
        s.look("H/PercentBar", "QXGame/PercentBar", "QXGame/PercentBar", bar, {{"BroadProgressArea", "10,5,110,15"}},
               {}, "<PropertyDefinition name=\"Divide\" type=\"int\" initialValue=\"0\" />");
        s.look("H/ColouredBar", "QXGame/PercentBar", "QXGame/PercentBar", bar,
               {{"BroadProgressArea", "10,5,110,15"}}, {},
               "<PropertyDefinition name=\"LightColour\" type=\"Colour\" initialValue=\"FFFF0000\" />");
        s.look("H/PlainBar", "QXGame/PercentBar", "QXGame/PercentBar", bar, {{"BroadProgressArea", "10,5,110,15"}});
    }

    // The fake game: creatures by selector, properties by object id.
    std::map<std::string, int> creatures;
    std::map<std::pair<int, std::string>, std::string> properties;
    void SetUp() override
    {
        WidgetHarness::SetUp();
        game.answer("GameCreatureProvider", [this](const harness::Record& q, KeyValues& reply) {
            auto it = creatures.find(q.value("WhichOne"));
            if (it == creatures.end())
                return false;
            if (it->second != -2) // -2: answer without an id
                reply.SetInt("CreatureId", it->second);
            return true;
        });
        game.answer("GameObjectProperty", [this](const harness::Record& q, KeyValues& reply) {
            auto it = properties.find({std::stoi(q.value("ObjectId")), q.value("WhichProperty")});
            if (it == properties.end())
                return false;
            reply.SetString("PropertyStringValue", it->second.c_str());
            return true;
        });
    }

    template <class W>
    W* bound(const char* type, const char* name, const char* whichOne, const char* property, float x = 100,
             float y = 100)
    {
        W* w = create<W>(type, name, x, y, 120, 20);
        w->setProperty("WhichOne", whichOne);
        w->setProperty("WhichProperty", property);
        return w;
    }
    QGUI::CGameValueText* text(const char* name = "name") { return bound<QGUI::CGameValueText>("H/ValueText", name, "Player", "Name"); }
    QGUI::CPercentBar* bar(const char* type = "H/PercentBar", const char* name = "hp")
    {
        return bound<QGUI::CPercentBar>(type, name, "Player", "Health");
    }
    std::vector<int> objectsOf(CEGUI::Window* w)
    {
        const std::vector<int>* ids = gui->GetWindowRegistry().objectsOfWindow(w);
        return ids ? *ids : std::vector<int>();
    }
    // The lit part of a bar in the last frame: its width, 0 when not drawn.
    float litWidth()
    {
        const std::vector<harness::Quad> lit = quadsOfColour(kLights);
        return lit.empty() ? 0.0f : lit[0].width;
    }
};

TEST_F(GameValueTextTest, TheProviderAndPropertyQueriesBindAndShowTheValue)
{
    creatures["Player"] = 7;
    properties[{7, "Name"}] = "Aldric";
    QGUI::CGameValueText* w = text();
    EXPECT_EQ(w->getProviderKey(), "GameCreatureProvider");
    frame();
    const harness::Record* provider = game.lastQuery("GameCreatureProvider");
    ASSERT_NE(provider, nullptr);
    EXPECT_EQ(provider->keyNames(), std::vector<std::string>{"WhichOne"});
    EXPECT_EQ(provider->value("WhichOne"), "Player");
    EXPECT_EQ(provider->type("WhichOne"), KeyValues::TYPE_STRING);
    const harness::Record* property = game.lastQuery("GameObjectProperty");
    ASSERT_NE(property, nullptr);
    EXPECT_EQ(property->keyNames(), (std::vector<std::string>{"ObjectId", "WhichProperty"}));
    EXPECT_EQ(property->value("ObjectId"), "7");
    EXPECT_EQ(property->type("ObjectId"), KeyValues::TYPE_INT);
    EXPECT_EQ(property->value("WhichProperty"), "Name");
    EXPECT_EQ(w->getText(), "Aldric");
    EXPECT_EQ(w->getObjectId(), 7);
    EXPECT_EQ(objectsOf(w), std::vector<int>{7});

    // Idle frames ask nothing; a change the game reports for the object
    // shows at the next frame.
    game.clear();
    frame();
    EXPECT_TRUE(game.queries.empty());
    properties[{7, "Name"}] = "Aldric the Bold";
    gui->RefreshObjectWindows(7);
    frame();
    EXPECT_EQ(w->getText(), "Aldric the Bold");
}

TEST_F(GameValueTextTest, RefusalsAndRepliesWithoutAnIdKeepOrClearWhatTheyShould)
{
    creatures["Player"] = 7;
    properties[{7, "Name"}] = "Aldric";
    properties[{9, "Name"}] = "Brann";
    QGUI::CGameValueText* w = text();
    frame();
    ASSERT_EQ(w->getText(), "Aldric");

    struct Case
    {
        const char* what;
        int creature;      // -3: the provider refuses; -2: no id in the reply
        bool propertyKnown;
        const char* text;
        std::vector<int> boundTo;
        size_t propertyQueries;
    } cases[] = {
        {"provider refuses: nothing changes, nothing more is asked", -3, true, "Aldric", {7}, 0},
        {"no id: the binding stays, the property is read again", -2, true, "Aldric", {7}, 1},
        {"-1: the same", -1, true, "Aldric", {7}, 1},
        {"property refused: the empty text", 7, false, "", {7}, 1},
        {"a new id: the old binding goes", 9, true, "Brann", {9}, 1},
        {"the same id: the binding is left as it is", 9, true, "Brann", {9}, 1},
        {"id 0: unbound, bound to nothing", 0, false, "", {}, 1},
    };
    for (const Case& c : cases)
    {
        if (c.creature == -3)
            creatures.erase("Player");
        else
            creatures["Player"] = c.creature;
        if (!c.propertyKnown)
            properties.erase({7, "Name"});
        game.clear();
        w->invalidate();
        frame();
        EXPECT_EQ(w->getText(), c.text) << c.what;
        EXPECT_EQ(objectsOf(w), c.boundTo) << c.what;
        EXPECT_EQ(game.queriesNamed("GameObjectProperty"), c.propertyQueries) << c.what;
    }
    // Nothing is left bound to the objects the window showed.
    EXPECT_EQ(gui->GetWindowRegistry().windowsOfObject(7), nullptr);
    EXPECT_EQ(gui->GetWindowRegistry().windowsOfObject(9), nullptr);
}

TEST_F(GameValueTextTest, SelectorsAskAgainOnlyWhenTheyChange)
{
    creatures["Player"] = 7;
    creatures["Target"] = 8;
    QGUI::CGameValueText* w = text();
    frame();
    struct Case
    {
        const char* property;
        const char* value;
        size_t queries;
    } cases[] = {
        {"WhichOne", "Player", 0}, {"WhichProperty", "Name", 0}, {"WhichOne", "Target", 1}, {"WhichProperty", "Level", 1},
    };
    for (const Case& c : cases)
    {
        game.clear();
        w->setProperty(c.property, c.value);
        EXPECT_EQ(w->isRefreshPending(), c.queries != 0) << c.property << "=" << c.value;
        frame();
        EXPECT_EQ(game.queriesNamed("GameCreatureProvider"), c.queries) << c.property << "=" << c.value;
        EXPECT_EQ(w->getProperty(c.property), c.value);
    }
    EXPECT_EQ(w->getObjectId(), 8);
}

TEST_F(GameValueTextTest, GameTextIsShownLiterallyNotAsMarkup)
{
    creatures["Player"] = 7;
    properties[{7, "Name"}] = "[colour='FFFF0000'][font='HFont']Bob";
    QGUI::CGameValueText* w = bound<QGUI::CGameValueText>("H/TextOnly", "t", "Player", "Name");
    w->setWidth(CEGUI::UDim(0, 400));
    frame();
    EXPECT_EQ(w->getText(), "[colour='FFFF0000'][font='HFont']Bob");
    EXPECT_EQ(glyphs().size(), w->getText().length());
}

TEST_F(GameValueTextTest, TheValueTextDrawsFrameBackgroundAndStateByItsSwitches)
{
    struct Case
    {
        bool frame, background, disabled;
        std::vector<uint32_t> drawn;
    } cases[] = {
        {false, false, false, {kEnabled}},
        {true, false, false, {kEnabledFrame, kEnabled}},
        {true, true, false, {kEnabledFrame, kWithFrameEnabledBg, kEnabled}},
        {false, true, false, {kNoFrameEnabledBg, kEnabled}},
        {true, true, true, {kDisabledFrame, kWithFrameDisabledBg, kDisabled}},
        {false, true, true, {kNoFrameDisabledBg, kDisabled}},
    };
    const uint32_t all[] = {kEnabledFrame,     kDisabledFrame,    kWithFrameEnabledBg, kWithFrameDisabledBg,
                            kNoFrameEnabledBg, kNoFrameDisabledBg, kEnabled,            kDisabled};
    CEGUI::Window* parent = create("DefaultWindow", "p", 0, 0, 400, 400);
    QGUI::CGameValueText* w = create<QGUI::CGameValueText>("H/ValueText", "v", 10, 10, 60, 20, parent);
    for (const Case& c : cases)
    {
        w->setProperty("FrameEnabled", c.frame ? "True" : "False");
        w->setProperty("BackgroundEnabled", c.background ? "True" : "False");
        // Disabled through its parent: what counts is the effective state.
        parent->setEnabled(!c.disabled);
        frame();
        std::vector<uint32_t> expected = c.drawn;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(coloursDrawn(all), expected) << c.frame << c.background << c.disabled;
    }
}

TEST_F(GameValueTextTest, TheBarsValueIsClampedAndChangesFireOnce)
{
    QGUI::CPercentBar* w = bar();
    int fired = 0;
    w->subscribeEvent(QGUI::CPercentBar::EventPercentChanged, [&](const CEGUI::EventArgs& e) {
        EXPECT_EQ(static_cast<const CEGUI::WindowEventArgs&>(e).window, w);
        ++fired;
        return true;
    });
    EXPECT_EQ(w->getProperty("Value"), "0.5");
    struct Case
    {
        const char* set;
        const char* readBack;
        int fires;
    } cases[] = {
        {"0.5", "0.5", 0}, {"1.7", "1", 1},  {"1", "1", 0},       {"-3", "0", 1},   {"0.25", "0.25", 1},
        {"nan", "0", 1},   {"nan", "0", 0},  {"inf", "1", 1},     {"-inf", "0", 1}, {"junk", "0", 0},
    };
    for (const Case& c : cases)
    {
        fired = 0;
        w->setProperty("Value", c.set);
        EXPECT_EQ(w->getProperty("Value"), c.readBack) << c.set;
        EXPECT_EQ(fired, c.fires) << c.set;
    }
}

TEST_F(GameValueTextTest, TheGamesReadingSetsTheBarAndTheTooltip)
{
    creatures["Player"] = 7;
    QGUI::CPercentBar* w = bar();
    int fired = 0;
    w->subscribeEvent(QGUI::CPercentBar::EventPercentChanged, [&](const CEGUI::EventArgs&) {
        ++fired;
        return true;
    });
    struct Case
    {
        const char* reading; // null: the game refuses
        const char* label;
        const char* tooltip;
        float lit;           // of the 100-pixel bar area
        int fires;
    } cases[] = {
        {"0.25", "HP", "HP 25.00 %", 25, 1},
        {"0.25", "HP", "HP 25.00 %", 25, 0},
        {"0.25", "", "", 25, 0},
        {"0.5", "Health:", "Health: 50.00 %", 50, 1},
        {nullptr, "Other", "Health: 50.00 %", 50, 0},
        {"1", "HP", "HP 100.00 %", 100, 1},
        {"1.7", "HP", "HP 170.00 %", 100, 0},   // the tooltip shows the reading
        {"-0.5", "HP", "HP -50.00 %", 0, 1},
        {"0", "HP", "HP 0.00 %", 0, 0},
        {"garbage", "HP", "HP 0.00 %", 0, 0},
    };
    for (const Case& c : cases)
    {
        if (c.reading)
            properties[{7, "Health"}] = c.reading;
        else
            properties.erase({7, "Health"});
        w->setProperty("Tooltips2", c.label);
        fired = 0;
        w->invalidate();
        frame();
        EXPECT_EQ(w->getTooltipText(), c.tooltip) << (c.reading ? c.reading : "refused");
        EXPECT_EQ(litWidth(), c.lit) << (c.reading ? c.reading : "refused");
        EXPECT_EQ(fired, c.fires) << (c.reading ? c.reading : "refused");
    }
    // The lit part starts at the bar area's left edge and keeps its height.
    properties[{7, "Health"}] = "0.5";
    w->invalidate();
    frame();
    const std::vector<harness::Quad> lit = quadsOfColour(kLights);
    ASSERT_EQ(lit.size(), 1u);
    EXPECT_EQ(lit[0].x, 100 + 10 - 1);
    EXPECT_EQ(lit[0].y, 100 + 5 - 1);
    EXPECT_EQ(lit[0].height, 10.0f);
    EXPECT_EQ(quadsOfColour(kHighLights).size(), 1u);
    EXPECT_EQ(quadsOfColour(kHighLights)[0].width, 50.0f);
}

TEST_F(GameValueTextTest, ALabelBeginningWithANumberSignIsLocalised)
{
    ASSERT_EQ(run("HealthLabel = 'Lebenspunkte'"), "");
    QGUI::CPercentBar* w = bar();
    struct Case
    {
        const char* set;
        const char* stored;
    } cases[] = {
        {"#HealthLabel", "Lebenspunkte"}, {"#NoSuchGlobal", "#NoSuchGlobal"}, {"Plain #text", "Plain #text"},
        {"", ""},                          {"#", "#"},
    };
    for (const Case& c : cases)
    {
        w->setProperty("Tooltips2", c.set);
        EXPECT_EQ(w->getProperty("Tooltips2"), c.stored) << c.set;
    }
}

TEST_F(GameValueTextTest, TheBarDrawsItsPartsInOrderWithItsLightColour)
{
    QGUI::CPercentBar* plain = bar("H/PlainBar", "plain");
    plain->setProperty("Value", "0.5");
    frame();
    // Without "LightColour" the lights keep their own colour.
    const std::vector<harness::Quad> lit = quadsOfColour(kLights);
    ASSERT_EQ(lit.size(), 1u);
    const harness::Quad background = quadsOfColour(kBarBackground).at(0);
    const harness::Quad barFrame = quadsOfColour(kBarFrame).at(0);
    EXPECT_EQ(background.width, 120.0f);
    EXPECT_EQ(barFrame.width, 120.0f);
    EXPECT_GE(background.z, lit[0].z);
    EXPECT_GE(lit[0].z, barFrame.z);
    destroy(plain);

    QGUI::CPercentBar* red = bar("H/ColouredBar", "red");
    red->setProperty("Value", "0.5");
    frame();
    EXPECT_TRUE(quadsOfColour(kLights).empty());
    ASSERT_EQ(quadsOfColour(0xFFFF0000).size(), 1u);
    EXPECT_EQ(quadsOfColour(0xFFFF0000)[0].width, 50.0f);
    // The highlights are not tinted.
    EXPECT_EQ(quadsOfColour(kHighLights).size(), 1u);
}

TEST_F(GameValueTextTest, DividersSplitTheBarAreaEvenly)
{
    QGUI::CPercentBar* w = bar();
    struct Case
    {
        const char* divide;
        std::vector<int> at; // screen x of each divider
    } cases[] = {
        {"0", {}},
        {"1", {}},
        {"-4", {}},
        {"4", {135 - 1, 160 - 1, 185 - 1}},
        {"2", {160 - 1}},
        {"100", {}}, // each part a pixel wide: 99 dividers
        {"101", {}}, // parts narrower than a pixel: none
        {"2147483647", {}},
    };
    for (const Case& c : cases)
    {
        w->setProperty("Divide", c.divide);
        w->requestRedraw();
        frame();
        const std::vector<harness::Quad> dividers = quadsOfColour(kDivider);
        if (std::string(c.divide) == "100")
        {
            EXPECT_EQ(dividers.size(), 99u);
            continue;
        }
        std::vector<int> at;
        for (const harness::Quad& q : dividers)
        {
            at.push_back(q.x);
            EXPECT_EQ(q.width, 2.0f);
            EXPECT_EQ(q.height, 10.0f);
        }
        EXPECT_EQ(at, c.at) << c.divide;
    }
}

TEST_F(GameValueTextTest, AStyleTheLookLacksDrawsWhatThereIsAndSaysSoOnce)
{
    QGUI::CPercentBar* w = bar();
    w->setProperty("Divide", "4");
    EXPECT_EQ(w->getProperty("Style"), "Broad");
    w->setProperty("Style", "Thin");
    EXPECT_EQ(w->getProperty("Style"), "Thin");
    ASSERT_NO_THROW(frame());
    w->requestRedraw();
    ASSERT_NO_THROW(frame());
    EXPECT_EQ(quadsOfColour(kBarBackground).size(), 1u);
    EXPECT_TRUE(quadsOfColour(kLights).empty());
    EXPECT_TRUE(quadsOfColour(kBarFrame).empty());
    EXPECT_TRUE(quadsOfColour(kDivider).empty());
    size_t said = 0;
    for (const auto& line : logger->lines)
        said += line.first.find("'ThinProgressArea'") != std::string::npos;
    EXPECT_EQ(said, 1u);
    w->setProperty("Style", "Broad");
    frame();
    EXPECT_EQ(quadsOfColour(kDivider).size(), 3u);
    // The renderer's property is on bars only.
    EXPECT_FALSE(text()->isPropertyPresent("Style"));
}

TEST_F(GameValueTextTest, PropertiesReadTheirDefaultsAndALayoutReloadsTheSame)
{
    QGUI::CPercentBar* w = create<QGUI::CPercentBar>("H/PercentBar", "bar", 10, 10, 120, 20);
    for (const char* name : {"WhichOne", "WhichProperty", "Value", "Tooltips2"})
        EXPECT_EQ(w->getProperty(name), w->getPropertyInstance(name)->getDefault(w)) << name;
    EXPECT_EQ(w->getPropertyInstance("WhichProperty")->getHelp(),
              "Property to get/set the which object for the text to evaluate .  Value is a string.");
    EXPECT_EQ(w->getPropertyInstance("Style")->getDefault(w), "Broad");

    // Values that once matched the old default texts ("0") are kept.
    expectLayoutKeeps(w, {{"WhichOne", "0"},
                          {"WhichProperty", "Mana"},
                          {"Value", "0"},
                          {"Tooltips2", "MP"},
                          {"Style", "Thin"}});
}
} // namespace
