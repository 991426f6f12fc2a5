// Creature viewers: the selector and direct ids, the binding they move, the
// render operation and the picture's anchor, the renderer's imagery,
// mismatched renderers, properties and a saved layout.
#include <algorithm>

#include "WidgetHarness.h"
#include "widgets/CreatureViewer.h"

namespace
{
const uint32_t kEnabledFrame = 0xFF000111, kDisabledFrame = 0xFF000112;
const uint32_t kWithFrameEnabledBg = 0xFF000121, kWithFrameDisabledBg = 0xFF000122;
const uint32_t kNoFrameEnabledBg = 0xFF000123, kNoFrameDisabledBg = 0xFF000124;
const uint32_t kPicked = 0xFF000131;

struct CreatureViewerTest : harness::WidgetHarness
{
    void addLooks(harness::Style& s) override
    {
        const std::vector<std::pair<std::string, uint32_t>> states = {
            {"EnabledFrame", kEnabledFrame},
            {"DisabledFrame", kDisabledFrame},
            {"WithFrameEnabledBackground", kWithFrameEnabledBg},
            {"WithFrameDisabledBackground", kWithFrameDisabledBg},
            {"NoFrameEnabledBackground", kNoFrameEnabledBg},
            {"NoFrameDisabledBackground", kNoFrameDisabledBg},
            {"Picked", kPicked}};
        s.look("H/Viewer", "QXGame/CreatureViewer", "QXGame/CreatureViewer", states);
        // The viewer's renderer on a plain window, and a viewer drawn by
        // another module renderer.
        s.look("H/PlainViewer", "DefaultWindow", "QXGame/CreatureViewer", states);
        s.look("H/OddViewer", "QXGame/CreatureViewer", "QXGame/GameValueText", {});
    }

    // Creatures by selector; -2 answers without an id, a missing one refuses.
    std::map<std::string, int> creatures;
    void SetUp() override
    {
        WidgetHarness::SetUp();
        game.answer("GameCreatureProvider", [this](const harness::Record& q, KeyValues& reply) {
            auto it = creatures.find(q.value("WhichOne"));
            if (it == creatures.end())
                return false;
            if (it->second != -2)
                reply.SetInt("CreatureId", it->second);
            return true;
        });
    }
    QGUI::CCreatureViewer* viewer(const char* type = "H/Viewer", const char* name = "viewer")
    {
        return create<QGUI::CCreatureViewer>(type, name, 100, 100, 64, 64);
    }
    std::vector<int> objectsOf(CEGUI::Window* w)
    {
        const std::vector<int>* ids = gui->GetWindowRegistry().objectsOfWindow(w);
        return ids ? *ids : std::vector<int>();
    }
};

TEST_F(CreatureViewerTest, ADirectIdBindsWithoutAskingTheGame)
{
    QGUI::CCreatureViewer* w = viewer();
    w->setProperty("CellId", "42");
    frame();
    EXPECT_EQ(game.queriesNamed("GameCreatureProvider"), 0u);
    EXPECT_EQ(w->getCreatureId(), 42);
    EXPECT_EQ(objectsOf(w), std::vector<int>{42});
    w->setProperty("CellId", "42");
    EXPECT_FALSE(w->isRefreshPending());
    w->setProperty("CellId", "43");
    EXPECT_TRUE(w->isRefreshPending());
    frame();
    EXPECT_EQ(objectsOf(w), std::vector<int>{43});
}

TEST_F(CreatureViewerTest, TheSelectorsAnswersMoveTheBinding)
{
    QGUI::CCreatureViewer* w = viewer();
    w->setProperty("WhichOne", "Target");
    struct Case
    {
        const char* what;
        int answer; // -3: refused
        int shown;
        std::vector<int> bound;
    } cases[] = {
        {"7", 7, 7, {7}},
        {"then 9: no longer bound to 7", 9, 9, {9}},
        {"the same id: bound once", 9, 9, {9}},
        {"refused: nothing changes", -3, 9, {9}},
        {"no id in the reply: nothing changes", -2, 9, {9}},
        {"-1: nothing changes", -1, 9, {9}},
        {"0: unbound, bound to nothing", 0, 0, {}},
    };
    for (const Case& c : cases)
    {
        if (c.answer == -3)
            creatures.erase("Target");
        else
            creatures["Target"] = c.answer;
        w->invalidate();
        frame();
        EXPECT_EQ(w->getCreatureId(), c.shown) << c.what;
        EXPECT_EQ(objectsOf(w), c.bound) << c.what;
        const harness::Record* q = game.lastQuery("GameCreatureProvider");
        ASSERT_NE(q, nullptr);
        EXPECT_EQ(q->value("WhichOne"), "Target");
    }
    EXPECT_EQ(gui->GetWindowRegistry().windowsOfObject(7), nullptr);
}

TEST_F(CreatureViewerTest, ANewSelectorIsAskedAtTheNextFrame)
{
    creatures = {{"Player", 1}, {"Target", 2}};
    QGUI::CCreatureViewer* w = viewer();
    w->setProperty("WhichOne", "Player");
    frame();
    ASSERT_EQ(w->getCreatureId(), 1);
    w->setProperty("WhichOne", "Player");
    EXPECT_FALSE(w->isRefreshPending());
    w->setProperty("WhichOne", "Target");
    frame();
    EXPECT_EQ(w->getCreatureId(), 2);
    ASSERT_EQ(game.objectQuads.size(), 1u);
    EXPECT_EQ(game.objectQuads[0].id, 2u);
}

TEST_F(CreatureViewerTest, TheRenderOperationChoosesThePicturesAnchor)
{
    creatures = {{"Player", 1}};
    QGUI::CCreatureViewer* w = viewer();
    w->setProperty("WhichOne", "Player");
    struct Case
    {
        const char* oper;
        const char* readBack;
        uint32_t op;
        const char* offset;
        int left, top; // the quad the engine gets for the 64 x 64 window at (100, 100)
    } cases[] = {
        {"RenderMap", "RenderMap", 0, "{{0.5,-24},{1,-16}}", 100 + 32 - 24 - 1, 100 + 64 - 16 - 1},
        {"RenderIcon", "RenderIcon", 1, "{{0.5,0},{1,-2}}", 100 + 32 - 1, 100 + 64 - 2 - 1},
        {"RenderLargeIcon", "RenderLargeIcon", 2, "{{0.5,0},{1,-2}}", 100 + 32 - 1, 100 + 64 - 2 - 1},
        {"RenderSmallIcon", "RenderSmallIcon", 3, "{{0.5,0},{1,-2}}", 100 + 32 - 1, 100 + 64 - 2 - 1},
        {"RenderDarkIcon", "RenderMap", 0, "{{0.5,-24},{1,-16}}", 100 + 32 - 24 - 1, 100 + 64 - 16 - 1},
        {"RenderIcon", "RenderIcon", 1, "{{0.5,0},{1,-2}}", 100 + 32 - 1, 100 + 64 - 2 - 1},
        {"Bogus", "RenderMap", 0, "{{0.5,-24},{1,-16}}", 100 + 32 - 24 - 1, 100 + 64 - 16 - 1},
    };
    for (const Case& c : cases)
    {
        w->setProperty("RenderOper", c.oper);
        frame();
        EXPECT_EQ(w->getProperty("RenderOper"), c.readBack) << c.oper;
        EXPECT_EQ(w->getProperty("ImageOffset"), c.offset) << c.oper;
        ASSERT_EQ(game.objectQuads.size(), 1u) << c.oper;
        const fake::ObjectQuad& q = game.objectQuads[0];
        EXPECT_EQ(q.id, 1u);
        EXPECT_EQ(q.op, c.op) << c.oper;
        EXPECT_EQ(q.left, c.left) << c.oper;
        EXPECT_EQ(q.top, c.top) << c.oper;
        EXPECT_EQ(q.right, 63);
        EXPECT_EQ(q.bottom, 63);
    }
    w->setRenderOper(9);
    EXPECT_EQ(w->getProperty("RenderOper"), "");
}

TEST_F(CreatureViewerTest, TheRendererDrawsFrameBackgroundAndPicked)
{
    const uint32_t all[] = {kEnabledFrame,     kDisabledFrame,     kWithFrameEnabledBg, kWithFrameDisabledBg,
                            kNoFrameEnabledBg, kNoFrameDisabledBg, kPicked};
    struct Case
    {
        bool frame, background, disabled, picked;
        std::vector<uint32_t> drawn;
    } cases[] = {
        {false, false, false, false, {}},
        {true, true, false, false, {kEnabledFrame, kWithFrameEnabledBg}},
        {true, true, true, false, {kDisabledFrame, kWithFrameDisabledBg}},
        {false, true, true, true, {kNoFrameDisabledBg, kPicked}},
        {false, false, false, true, {kPicked}},
    };
    QGUI::CCreatureViewer* w = viewer();
    for (const Case& c : cases)
    {
        w->setProperty("FrameEnabled", c.frame ? "True" : "False");
        w->setProperty("BackgroundEnabled", c.background ? "True" : "False");
        w->setProperty("Picked", c.picked ? "True" : "False");
        w->setEnabled(!c.disabled);
        frame();
        std::vector<uint32_t> expected = c.drawn;
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(coloursDrawn(all), expected) << c.frame << c.background << c.disabled << c.picked;
    }
    // Picking asks the game again (the viewer re-reads its creature).
    game.clear();
    w->setProperty("Picked", "False");
    frame();
    EXPECT_EQ(game.queriesNamed("GameCreatureProvider"), 1u);
}

TEST_F(CreatureViewerTest, MismatchedRenderersAndWindowsDrawWhatTheyCan)
{
    creatures = {{"Player", 1}};
    // The viewer's renderer on a window that is no viewer: imagery only.
    CEGUI::Window* plain = create("H/PlainViewer", "plain", 10, 10, 64, 64);
    plain->setProperty("FrameEnabled", "True");
    // A viewer drawn by another renderer keeps its operation.
    QGUI::CCreatureViewer* odd = viewer("H/OddViewer", "odd");
    odd->setProperty("WhichOne", "Player");
    odd->setProperty("RenderOper", "RenderIcon");
    ASSERT_NO_THROW(frame());
    EXPECT_EQ(quadsOfColour(kEnabledFrame).size(), 1u);
    EXPECT_TRUE(game.objectQuads.empty());
    EXPECT_EQ(odd->getProperty("RenderOper"), "RenderIcon");
    EXPECT_EQ(odd->getCreatureId(), 1);
}

TEST_F(CreatureViewerTest, PropertiesReadTheirDefaultsAndALayoutReloadsTheSame)
{
    QGUI::CCreatureViewer* w = viewer();
    const char* names[] = {"WhichOne", "CellId", "Picked"};
    for (const char* name : names)
        EXPECT_EQ(w->getProperty(name), w->getPropertyInstance(name)->getDefault(w)) << name;
    EXPECT_EQ(w->getProperty("CellId"), "4294967295");
    EXPECT_EQ(w->getProperty("RenderOper"), "RenderMap");
    EXPECT_EQ(w->getPropertyInstance("RenderOper")->getHelp(),
              "Property to get/set the render operation for the viewer .  Value is a int.");

    expectLayoutKeeps(w, {{"WhichOne", "0"}, {"CellId", "0"}, {"Picked", "True"}, {"RenderOper", "RenderLargeIcon"}});
}
} // namespace
