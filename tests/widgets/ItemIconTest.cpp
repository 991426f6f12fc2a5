// Item and spell icons: the queries and bindings of each item type, click
// messages, picking, read-only reasons, tooltips and comparison, properties
// and the renderer's drawing.
#include "WidgetHarness.h"
#include "widgets/ItemIcon.h"

namespace
{
const uint32_t kNormal = 0xFF0000A0;
const uint32_t kPicked = 0xFF00A000;

struct ItemIconTest : harness::WidgetHarness
{
    void addLooks(harness::Style& s) override
    {
        s.look("H/ItemIcon", "QXGame/ItemIcon", "QXGame/ItemIcon", {{"Normal", kNormal}, {"PickedFrame", kPicked}},
               {{"TextArea", "0,20,40,40"}}, {},
               "<PropertyDefinition name=\"NormalTextColour\" type=\"Colour\" initialValue=\"FFFFFF00\" />");
        s.look("H/SpellIcon", "QXGame/SpellIcon", "QXGame/ItemIcon", {{"Normal", kNormal}});
        // Without "Normal", "PickedFrame" and "TextArea".
        s.look("H/BareIcon", "QXGame/ItemIcon", "QXGame/ItemIcon", {});
        s.look("H/MaskIcon", "QXGame/ItemIcon", "QXGame/ItemIcon", {}, {}, {},
               "<PropertyDefinition name=\"bgmask\" type=\"String\" initialValue=\"set:H image:White\" />");
    }
    QGUI::CItemIcon* icon(const char* type = "H/ItemIcon", const char* name = "icon", float x = 100)
    {
        return create<QGUI::CItemIcon>(type, name, x, 100, 40, 40);
    }
    void setSlot(CEGUI::Window* w, const char* itemType)
    {
        w->setProperty("ItemType", itemType);
        w->setProperty("PackageName", "Bag");
        w->setProperty("PackageId", "2");
        w->setProperty("PackageIndex", "5");
    }
    const std::vector<int>* bound(CEGUI::Window* w) { return gui->GetWindowRegistry().objectsOfWindow(w); }
};

TEST_F(ItemIconTest, EachItemTypeAsksItsProviderWithItsKeys)
{
    struct Case
    {
        const char* itemType;
        const char* spellIndex; // null: none
        const char* provider;
        std::vector<std::string> keys;
    } cases[] = {
        {"Item", nullptr, "GamePackageManagerProxy", {"ItemType", "PackageName", "PackageId", "PackageIndex"}},
        {"Spell", "3", "SpellProxyMgr", {"ItemType", "Spell_Index"}},
        {"Spell", nullptr, "SpellProxyMgr", {"ItemType", "PackageName"}},
        {"Shortcut", nullptr, "SpellProxyMgr", {"ItemType", "PackageIndex"}},
        {"ShortcutItem", nullptr, "ItemTemplMgr", {"ItemType", "PackageIndex"}},
        {"SpellInSet", nullptr, "SpellSetMgr", {"ItemType", "PackageName", "PackageId", "PackageIndex", "ReadOnly"}},
        {"GangTech", nullptr, "GangTechMgr", {"ItemType", "PackageId", "PackageIndex"}},
        {"CsmKey", nullptr, "CsmKeyMgr", {"ItemType", "PackageId", "PackageIndex"}},
        {"CsmKey", "3", "CsmKeyMgr", {"ItemType", "Spell_Index"}},
    };
    int n = 0;
    for (const Case& c : cases)
    {
        game.answerInt(c.provider, "CellId", 1000 + n);
        QGUI::CItemIcon* w = icon("H/ItemIcon", ("icon" + std::to_string(n)).c_str());
        setSlot(w, c.itemType);
        if (c.spellIndex)
            w->setProperty("Spell_Index", c.spellIndex);
        game.clear();
        frame();
        const harness::Record* q = game.lastQuery(c.provider);
        ASSERT_NE(q, nullptr) << c.itemType;
        EXPECT_EQ(q->keyNames(), c.keys) << c.itemType;
        EXPECT_EQ(q->value("ItemType"), c.itemType);
        EXPECT_EQ(q->type("ItemType"), KeyValues::TYPE_STRING);
        EXPECT_EQ(q->value("PackageIndex"), q->has("PackageIndex") ? "5" : "");
        EXPECT_EQ(q->type("PackageId"), q->has("PackageId") ? KeyValues::TYPE_INT : -1);
        EXPECT_EQ(q->value("Spell_Index"), q->has("Spell_Index") ? "3" : "");
        // Bound to the object the game named, which shows in "TargetId".
        EXPECT_EQ(w->GetTargetId(), uint32_t(1000 + n)) << c.itemType;
        ASSERT_NE(bound(w), nullptr);
        EXPECT_EQ(*bound(w), std::vector<int>{1000 + n});
        EXPECT_EQ(w->getProperty("TargetId"), std::to_string(1000 + n));
        ++n;
    }
}

TEST_F(ItemIconTest, RefusalsAndMissingIdsKeepOrDropTheBindingByItemType)
{
    struct Case
    {
        const char* itemType;
        const char* provider;
        uint32_t afterRefusal;
    } cases[] = {
        {"Item", "GamePackageManagerProxy", 0},  {"Spell", "SpellProxyMgr", 0},
        {"Shortcut", "SpellProxyMgr", 77},      {"ShortcutItem", "ItemTemplMgr", 77},
        {"SpellInSet", "SpellSetMgr", 77},      {"GangTech", "GangTechMgr", 77},
        {"CsmKey", "CsmKeyMgr", 0},
    };
    int n = 0;
    for (const Case& c : cases)
    {
        game.answerInt(c.provider, "CellId", 77);
        QGUI::CItemIcon* w = icon("H/ItemIcon", ("icon" + std::to_string(n++)).c_str());
        setSlot(w, c.itemType);
        frame();
        ASSERT_EQ(w->GetTargetId(), 77u) << c.itemType;
        int changes = 0;
        w->subscribeEvent(QGUI::CItemIcon::EventTargetIdChanged, [&](const CEGUI::EventArgs&) {
            ++changes;
            return true;
        });
        // A reply without an id keeps the binding.
        game.answer(c.provider, [](const harness::Record&, KeyValues&) { return true; });
        w->invalidate();
        frame();
        EXPECT_EQ(w->GetTargetId(), 77u) << c.itemType;
        EXPECT_EQ(changes, 0);

        game.answers.erase(c.provider);
        w->invalidate();
        frame();
        EXPECT_EQ(w->GetTargetId(), c.afterRefusal) << c.itemType;
        EXPECT_EQ(changes, c.afterRefusal == 77 ? 0 : 1) << c.itemType;
        EXPECT_EQ(bound(w) != nullptr, c.afterRefusal != 0) << c.itemType;
        destroy(w);
    }
}

TEST_F(ItemIconTest, DirectIdsUnknownTypesAndTheSpellIconsProvider)
{
    QGUI::CItemIcon* direct = icon();
    direct->setProperty("CellId", "1234");
    QGUI::CItemIcon* unknown = icon("H/ItemIcon", "unknown", 200);
    unknown->setProperty("ItemType", "Potion");
    QGUI::CItemIcon* spell = icon("H/SpellIcon", "spell", 300);
    frame();
    EXPECT_EQ(direct->GetTargetId(), 1234u);
    EXPECT_EQ(game.queriesNamed("GamePackageManagerProxy"), 0u);
    // An "Item" row of a spell icon asks the spell provider.
    EXPECT_EQ(game.queriesNamed("SpellProxyMgr"), 1u);
    EXPECT_EQ(game.queriesNamed(""), 0u);
    EXPECT_EQ(unknown->GetTargetId(), 0u);
    EXPECT_EQ(spell->getProviderKey(), "SpellProxyMgr");
    click(unknown);
    EXPECT_TRUE(game.messages.empty());
}

TEST_F(ItemIconTest, ClickMessagesNameTheirKeysAndTheButton)
{
    struct Case
    {
        const char* itemType;
        const char* message;
        std::vector<std::string> keys;
    } cases[] = {
        {"Item", "_KeyVal_ItemIcon_Click", {"PackageName", "PackageId", "PackageIndex"}},
        {"Spell", "_KeyVal_Spell_Click", {"Spell_Proxy_Id"}},
        {"Shortcut", "_KeyVal_Shortcut_Click", {"Shortcur_Pos"}},
        {"ShortcutItem", "_KeyVal_ShortcutItem_Click", {"Shortcur_Pos"}},
        {"SpellInSet", "_KeyVal_SpellInSet_Click", {"PackageName", "PackageId", "PackageIndex"}},
        {"GangTech", "_KeyVal_TechIcon_Click", {"PackageId", "PackageIndex"}},
        {"CsmKey", "_KeyVal_CsmKey_Click", {}},
    };
    game.answerInt("SpellProxyMgr", "CellId", 31);
    QGUI::CItemIcon* w = icon();
    for (const Case& c : cases)
    {
        setSlot(w, c.itemType);
        frame();
        game.messages.clear();
        click(w, harness::Right);
        ASSERT_EQ(game.messages.size(), 1u) << c.itemType;
        const harness::Record& m = game.messages[0];
        EXPECT_EQ(m.name, c.message);
        std::vector<std::string> keys = c.keys;
        keys.push_back("_KeyVal_Cmd_MouseButton_Type");
        EXPECT_EQ(m.keyNames(), keys) << c.itemType;
        EXPECT_EQ(m.value("_KeyVal_Cmd_MouseButton_Type"), "_KeyVal_Cmd_MouseButton_Right");
        EXPECT_EQ(m.value("PackageName"), m.has("PackageName") ? "Bag" : "");
        EXPECT_EQ(m.value("Shortcur_Pos"), m.has("Shortcur_Pos") ? "5" : "");
        EXPECT_EQ(m.value("Spell_Proxy_Id"), m.has("Spell_Proxy_Id") ? "31" : "");
    }
    setSlot(w, "Item");
    game.messages.clear();
    click(w, harness::Left);
    click(w, harness::Middle);
    ASSERT_EQ(game.messages.size(), 2u);
    EXPECT_EQ(game.messages[0].value("_KeyVal_Cmd_MouseButton_Type"), "_KeyVal_Cmd_MouseButton_Left");
    EXPECT_EQ(game.messages[1].value("_KeyVal_Cmd_MouseButton_Type"), "");
    // A message the game refuses is not lost to a leak (the sanitizer build
    // checks), and nothing else happens.
    game.acceptMessages = false;
    click(w);
    EXPECT_EQ(game.messages.size(), 3u);
}

TEST_F(ItemIconTest, PickingFiresOnTheParentThenTheIconAndPostsNothing)
{
    CEGUI::Window* parent = create("DefaultWindow", "bag", 0, 0, 400, 400);
    auto* w = create<QGUI::CItemIcon>("H/ItemIcon", "icon", 100, 100, 40, 40, parent);
    w->setProperty("ClickIsPick", "True");
    std::vector<std::string> order;
    const CEGUI::String picked = QGUI::CItemIcon::EventIconPicked;
    parent->subscribeEvent(picked, [&](const CEGUI::EventArgs&) {
        order.push_back("parent");
        return true;
    });
    w->subscribeEvent(picked, [&](const CEGUI::EventArgs& e) {
        order.push_back("icon");
        EXPECT_EQ(static_cast<const CEGUI::MouseEventArgs&>(e).window, w);
        return true;
    });
    click(w);
    EXPECT_EQ(order, (std::vector<std::string>{"parent", "icon"}));
    EXPECT_TRUE(game.messages.empty());

    // A parent handler that destroys the icon leaves the second firing safe.
    parent->subscribeEvent(picked, [&](const CEGUI::EventArgs&) {
        destroy(w);
        return true;
    });
    click(w);
    frame();
}

TEST_F(ItemIconTest, AReadOnlyIconPrintsItsReasonInsteadOfPosting)
{
    ASSERT_EQ(run("printed = {} function gFn_print_reason(n, text) printed[#printed + 1] = n .. ':' .. text "
                  "return 0 end"),
              "");
    QGUI::CItemIcon* w = icon();
    w->setProperty("ReadOnly", "True");
    click(w);
    EXPECT_EQ(run("count = #printed"), "");
    EXPECT_EQ(number("count"), 0);
    w->setProperty("WhyReadOnly", CEGUI::String(reinterpret_cast<const CEGUI::utf8*>("Bound \xE2\x80\x94 cannot move")));
    click(w);
    EXPECT_EQ(run("reason = printed[1]"), "");
    EXPECT_EQ(text("reason"), "0:Bound \xE2\x80\x94 cannot move");
    EXPECT_TRUE(game.messages.empty());
}

TEST_F(ItemIconTest, TooltipsAndComparisonComeFromTheGame)
{
    game.answerInt("GamePackageManagerProxy", "CellId", 50);
    game.answer("GameObjectTooltip", [](const harness::Record& r, KeyValues& reply) {
        if (r.value("ObjectId") != "50")
            return false;
        reply.SetString("GameObjectTooltipValue", "Sword");
        return true;
    });
    game.answerInt("GameObjectCompare", "GameObjectCompareId", 51);
    QGUI::CItemIcon* w = icon();
    w->setTooltipText("layout tip");
    frame();
    EXPECT_EQ(w->getTooltipText(), "Sword");
    EXPECT_EQ(w->getProperty("GameObjectCompareId"), "51");
    EXPECT_EQ(game.lastQuery("GameObjectCompare")->value("ObjectId"), "50");

    // An object is never compared with itself.
    game.answerInt("GameObjectCompare", "GameObjectCompareId", 50);
    w->invalidate();
    frame();
    EXPECT_EQ(w->getCompareId(), 0u);

    // A new slot whose tooltip the game refuses shows the tooltip saved when
    // the index changed.
    w->setProperty("PackageIndex", "3");
    game.answerInt("GamePackageManagerProxy", "CellId", 60);
    frame();
    EXPECT_EQ(w->GetTargetId(), 60u);
    EXPECT_EQ(w->getTooltipText(), "Sword");
    // Other item types ask no comparison.
    const size_t compares = game.queriesNamed("GameObjectCompare");
    w->setProperty("ItemType", "GangTech");
    game.answerInt("GangTechMgr", "CellId", 70);
    frame();
    EXPECT_EQ(game.queriesNamed("GameObjectCompare"), compares);
    EXPECT_EQ(w->getCompareId(), 0u);
}

TEST_F(ItemIconTest, PropertyTextsAndDefaults)
{
    QGUI::CItemIcon* w = icon();
    struct Case
    {
        const char* name;
        const char* initial;
        const char* set;
        const char* readBack;
    } cases[] = {
        {"PackageName", "", "Bag", "Bag"},
        {"PackageIndex", "4294967295", "-1", "4294967295"},
        {"CellId", "0", "12", "12"},
        {"ItemType", "Item", "Spell", "Spell"},
        {"ClickIsPick", "False", "true", "True"},
        {"Picked", "False", "True", "True"},
        {"TargetId", "0", "99", "0"},
        {"ReadOnly", "False", "1", "False"},
        {"PackageId", "0", "7", "7"},
        {"Spell_Index", "4294967295", "False", "0"},
        {"RenderOper", "RenderIcon", "RenderDarkIcon", "RenderDarkIcon"},
        {"WhyReadOnly", "", "no", "no"},
    };
    for (const Case& c : cases)
    {
        EXPECT_EQ(w->getProperty(c.name), c.initial) << c.name;
        w->setProperty(c.name, c.set);
        EXPECT_EQ(w->getProperty(c.name), c.readBack) << c.name;
    }
    EXPECT_EQ(w->getRenderOper(), 17u);
    w->setProperty("RenderOper", "Bogus");
    EXPECT_EQ(w->getRenderOper(), 0u);
    EXPECT_EQ(w->getProperty("RenderOper"), "RenderMap");
    w->setRenderOper(5);
    EXPECT_EQ(w->getProperty("RenderOper"), "");
    EXPECT_EQ(w->getPropertyInstance("Picked")->getHelp(),
              "Property to get/set the if this CQXItemIcon is picked.  Value is a boolean.");
}

TEST_F(ItemIconTest, ALayoutSavedAndLoadedAgainKeepsItsMeaning)
{
    QGUI::CItemIcon* w = icon();
    w->setProperty("PackageIndex", "0");
    w->setProperty("Spell_Index", "4294967295");
    w->setProperty("FrameEnabled", "True");
    w->setProperty("Picked", "True");
    w->setProperty("RenderOper", "RenderSmallIcon");
    w->setProperty("ImageOffset", "{{0,4},{1,-4}}");
    CEGUI::Window* copy = saveAndReload(w);
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->getProperty("PackageIndex"), "0");
    EXPECT_EQ(copy->getProperty("Spell_Index"), "4294967295");
    EXPECT_EQ(copy->getProperty("FrameEnabled"), "True");
    EXPECT_EQ(copy->getProperty("BackgroundEnabled"), "False");
    EXPECT_EQ(copy->getProperty("Picked"), "True");
    EXPECT_EQ(copy->getProperty("RenderOper"), "RenderSmallIcon");
    EXPECT_EQ(copy->getProperty("ImageOffset"), "{{0,4},{1,-4}}");
    CEGUI::WindowManager::getSingleton().destroyWindow(copy);
}

TEST_F(ItemIconTest, TheRendererDrawsPictureTextLookAndFrameInDepthOrder)
{
    game.answerInt("GamePackageManagerProxy", "CellId", 42);
    QGUI::CItemIcon* w = icon();
    w->setText("12");
    frame();
    // Nothing picked: the look's "Normal" imagery only.
    EXPECT_EQ(quadsOfColour(kNormal).size(), 1u);
    EXPECT_TRUE(quadsOfColour(kPicked).empty());
    w->setProperty("Picked", "True");
    frame();
    const std::vector<harness::Quad> normal = quadsOfColour(kNormal);
    const std::vector<harness::Quad> picked = quadsOfColour(kPicked);
    const std::vector<harness::Quad> text = glyphs();
    ASSERT_EQ(normal.size(), 1u);
    ASSERT_EQ(picked.size(), 1u);
    ASSERT_EQ(text.size(), 2u);
    ASSERT_EQ(game.objectQuads.size(), 1u);
    // Object picture furthest back, then the text, the look, the frame.
    EXPECT_GT(game.objectQuads[0].z, text[0].z);
    EXPECT_GT(text[0].z, normal[0].z);
    EXPECT_GE(normal[0].z, picked[0].z);
    EXPECT_EQ(game.objectQuads[0].left, 119); // anchored at the centre
    EXPECT_EQ(game.objectQuads[0].op, 1u);
    // Right-aligned in "TextArea" (window pixels 0,20 - 40,40), in the
    // look's text colour.
    EXPECT_EQ(text[1].x, 140 - 8 - 1);
    EXPECT_EQ(text[0].x, 140 - 16 - 1);
    EXPECT_EQ(text[0].y, 120 - 1);
    EXPECT_EQ(text[0].colour, 0xFFFFFF00u);
}

TEST_F(ItemIconTest, MissingLookPiecesAndFontsSkipTheirPartOnly)
{
    QGUI::CItemIcon* bare = icon("H/BareIcon", "bare");
    bare->setText("7");
    ASSERT_NO_THROW(frame());
    EXPECT_TRUE(glyphs().empty()); // no "TextArea"
    EXPECT_EQ(game.objectQuads.size(), 1u);

    // Font 1 names no font: the window's own font draws.
    QGUI::CItemIcon* w = icon("H/ItemIcon", "w");
    w->setText("7");
    frame();
    EXPECT_EQ(glyphs().size(), 1u);
    // Without any font there is no text, and no failure.
    CEGUI::FontManager::getSingleton().destroy("HFont");
    w->requestRedraw();
    ASSERT_NO_THROW(frame());
    EXPECT_TRUE(glyphs().empty());
    EXPECT_EQ(quadsOfColour(kNormal).size(), 1u);
}

TEST_F(ItemIconTest, ABackgroundMaskIsCentredInFront)
{
    QGUI::CItemIcon* w = icon("H/MaskIcon", "m");
    frame();
    std::vector<harness::Quad> mask;
    for (const harness::Quad& q : quads())
        if (q.width == 8.0f && q.height == 8.0f && q.colour == 0xFFFFFFFF)
            mask.push_back(q);
    ASSERT_EQ(mask.size(), 1u);
    EXPECT_EQ(mask[0].x, 100 + 16 - 1);
    EXPECT_EQ(mask[0].y, 100 + 16 - 1);
    ASSERT_EQ(game.objectQuads.size(), 1u);
    EXPECT_LT(mask[0].z, game.objectQuads[0].z - 0.009f);
    (void)w;
}
} // namespace

namespace
{
TEST_F(ItemIconTest, IconsOutliveTheStyleAndTheShutDown)
{
    game.answerInt("GamePackageManagerProxy", "CellId", 42);
    QGUI::CItemIcon* w = icon();
    w->setText("5");
    frame();
    gui->ShutDown();
    w->invalidate();
    frame();
    click(w);
    destroy(w);
    frame();
    // After shut-down frames draw nothing, so the window waits in the dead
    // pool; deleting it there still takes it out of the registry.
    CEGUI::WindowManager::getSingleton().cleanDeadPool();
    EXPECT_EQ(gui->GetWindowRegistry().liveWindowCount(), 0u);
}
} // namespace
