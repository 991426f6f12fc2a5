// Buff icons: the buff provider's query made at once, direct ids, refusals,
// the tooltip, the object picture, properties and a saved layout.

#include "WidgetHarness.h"
#include "widgets/BuffIcon.h"

namespace
{
struct BuffIconTest : harness::WidgetHarness
{
    void addLooks(harness::Style& s) override { s.look("H/BuffIcon", "QXGame/BuffIcon", "QXGame/BuffIcon", {}); }

    // Buff objects by index, tooltips by object id.
    std::map<int, int> buffs;
    std::map<int, std::string> tooltips;
    bool refuse = false;
    void SetUp() override
    {
        WidgetHarness::SetUp();
        game.answer("BuffMgr", [this](const harness::Record& q, KeyValues& reply) {
            if (refuse)
                return false;
            auto it = buffs.find(std::stoi(q.value("BuffIndex")));
            if (it != buffs.end())
                reply.SetInt("CellId", it->second);
            return true;
        });
        game.answer("GameObjectTooltip", [this](const harness::Record& q, KeyValues& reply) {
            auto it = tooltips.find(std::stoi(q.value("ObjectId")));
            if (it == tooltips.end())
                return false;
            reply.SetString("GameObjectTooltipValue", it->second.c_str());
            return true;
        });
    }
    QGUI::CBuffIcon* icon(const char* name = "buff") { return create<QGUI::CBuffIcon>("H/BuffIcon", name, 100, 100, 32, 32); }
    std::vector<int> objectsOf(CEGUI::Window* w)
    {
        const std::vector<int>* ids = gui->GetWindowRegistry().objectsOfWindow(w);
        return ids ? *ids : std::vector<int>();
    }
};

TEST_F(BuffIconTest, ABuffIndexIsAskedAtOnceAndBindsTheObjectNamed)
{
    buffs = {{0, 300}, {3, 303}};
    tooltips = {{303, "Blessed\n10 s"}, {300, "Shield"}};
    QGUI::CBuffIcon* w = icon();
    EXPECT_EQ(w->getProviderKey(), "BuffMgr");
    game.clear();
    w->setProperty("BuffIndex", "3");
    // No frame drawn: asked while the property was set.
    const harness::Record* q = game.lastQuery("BuffMgr");
    ASSERT_NE(q, nullptr);
    EXPECT_EQ(q->keyNames(), std::vector<std::string>{"BuffIndex"});
    EXPECT_EQ(q->value("BuffIndex"), "3");
    EXPECT_EQ(q->type("BuffIndex"), KeyValues::TYPE_INT);
    EXPECT_EQ(w->getObjectId(), 303u);
    EXPECT_EQ(objectsOf(w), std::vector<int>{303});
    EXPECT_EQ(w->getTooltipText(), "Blessed\n10 s");

    // The same index again asks nothing.
    game.clear();
    w->setProperty("BuffIndex", "3");
    EXPECT_TRUE(game.queries.empty());

    // The game reports a change of the buff: the tooltip is read again.
    frame();
    tooltips[303] = "Blessed\n9 s";
    gui->RefreshObjectWindows(303);
    frame();
    EXPECT_EQ(w->getTooltipText(), "Blessed\n9 s");
    EXPECT_EQ(objectsOf(w), std::vector<int>{303});
}

TEST_F(BuffIconTest, DirectIdsRefusalsAndRepliesWithoutAnObject)
{
    buffs = {{0, 300}};
    tooltips = {{300, "Shield"}, {55, "Haste"}};
    QGUI::CBuffIcon* w = icon();
    frame();
    ASSERT_EQ(w->getObjectId(), 300u);

    struct Case
    {
        const char* what;
        const char* property;
        const char* value;
        bool refuse;
        uint32_t object;
        const char* tooltip;
        size_t buffQueries;
    } cases[] = {
        {"a direct id binds without asking", "CellId", "55", false, 55, "Haste", 0},
        {"back to the index", "CellId", "4294967295", false, 300, "Shield", 1},
        {"an index without an object keeps the binding", "BuffIndex", "1", false, 300, "Shield", 1},
        {"a refusal unbinds and clears the tooltip", "BuffIndex", "0", true, 0, "", 1},
        {"an object again", "BuffIndex", "1", false, 0, "", 1},
        {"and the index that has one", "BuffIndex", "0", false, 300, "Shield", 1},
        {"direct id 0 binds nothing", "CellId", "0", false, 0, "", 0},
    };
    for (const Case& c : cases)
    {
        refuse = c.refuse;
        game.clear();
        w->setProperty(c.property, c.value);
        EXPECT_EQ(w->getObjectId(), c.object) << c.what;
        EXPECT_EQ(objectsOf(w), c.object ? std::vector<int>{int(c.object)} : std::vector<int>()) << c.what;
        EXPECT_EQ(w->getTooltipText(), c.tooltip) << c.what;
        EXPECT_EQ(game.queriesNamed("BuffMgr"), c.buffQueries) << c.what;
    }
}

TEST_F(BuffIconTest, TheGameDrawsTheBuffsObjectCentred)
{
    buffs = {{0, 300}};
    icon();
    frame();
    ASSERT_EQ(game.objectQuads.size(), 1u);
    const fake::ObjectQuad& q = game.objectQuads[0];
    EXPECT_EQ(q.id, 300u);
    EXPECT_EQ(q.op, 1u);
    EXPECT_EQ(q.left, 100 + 16 - 1);
    EXPECT_EQ(q.top, 100 + 16 - 1);
    EXPECT_EQ(q.right, 31);
    EXPECT_EQ(q.bottom, 31);
}

TEST_F(BuffIconTest, PropertiesReadTheirDefaultsAndALayoutReloadsTheSame)
{
    QGUI::CBuffIcon* w = icon();
    EXPECT_EQ(w->getProperty("BuffIndex"), "0");
    EXPECT_EQ(w->getProperty("CellId"), "4294967295");
    for (const char* name : {"BuffIndex", "CellId"})
        EXPECT_EQ(w->getProperty(name), w->getPropertyInstance(name)->getDefault(w)) << name;
    EXPECT_EQ(w->getPropertyInstance("CellId")->getHelp(),
              "Property to get/set the direct item id of the Buff Icon.  Value is a int.");

    expectLayoutKeeps(w, {{"BuffIndex", "2"}, {"CellId", "0"}});
}

TEST_F(BuffIconTest, AfterShutDownPropertiesAskNothing)
{
    buffs = {{1, 301}};
    QGUI::CBuffIcon* w = icon();
    frame();
    gui->ShutDown();
    game.clear();
    w->setProperty("BuffIndex", "1");
    w->setProperty("CellId", "9");
    EXPECT_TRUE(game.queries.empty());
    EXPECT_EQ(w->getProperty("CellId"), "9");
    destroy(w);
}
} // namespace
