// The game tooltip: its queries to the game, its sizes and the compare box,
// the hover, fade and display sequence stepped once per host frame, targets
// that go away while it shows them, and the timings a style gives it.
#include <tuple>

#include "ChatLooks.h"
#include "TestWidgets.h"
#include "richtext/GameMultiLine.h"
#include "widgets/GameTooltip.h"

extern "C" void registerFactory(const CEGUI::String& type);

namespace
{
using QGUI::CQXToolTip;

const char* const kLongSword = "Long sword\nDamage 9-14"; // widest line 88 pixels

struct TooltipTest : harness::WidgetHarness
{
    CQXToolTip* tip = nullptr;

    void addLooks(harness::Style& s) override
    {
        chatlooks::MessageWindow(s);
        chatlooks::Tooltip(s);
    }
    void addStyleFiles() override
    {
        // A style "G" whose tooltip is the game tooltip.
        ASSERT_TRUE(fs.addDiskFile("resource\\UI\\fonts\\DejaVuSans.ttf",
                                   "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
        fs.files["resource\\UI\\fonts\\G.font"] =
            "<?xml version=\"1.0\" ?><Font version=\"3\" name=\"G-12\" filename=\"DejaVuSans.ttf\" "
            "type=\"FreeType\" size=\"12\" autoScaled=\"false\"/>";
        fs.files["resource\\UI\\imagesets\\GLook.imageset"] =
            "<?xml version=\"1.0\" ?><Imageset version=\"2\" name=\"GLook\" imagefile=\"GLook.tga\" "
            "autoScaled=\"false\"><Image name=\"MouseArrow\" xPos=\"0\" yPos=\"0\" width=\"16\" height=\"16\" />"
            "</Imageset>";
        fs.files["resource\\UI\\schemes\\GLook.scheme"] =
            "<?xml version=\"1.0\" ?><GUIScheme version=\"5\" name=\"GLook\"><Imageset filename=\"GLook.imageset\" />"
            "<FalagardMapping windowType=\"GLook/Tooltip\" targetType=\"QXGame/Tooltip\" "
            "renderer=\"QXGame/TooltipRenderer\" lookNFeel=\"H/Tooltip\" /></GUIScheme>";
    }
    void SetUp() override
    {
        harness::WidgetHarness::SetUp();
        if (HasFatalFailure())
            return;
        harness::AddTestWidgetFactories();
        tip = dynamic_cast<CQXToolTip*>(CEGUI::WindowManager::getSingleton().createWindow("H/Tooltip", "tip"));
        ASSERT_NE(tip, nullptr);
        context().setDefaultTooltipObject(tip);
        game.answer("GameObjectTooltip", [](const harness::Record& r, KeyValues& reply) {
            if (r.value("ObjectId") == "7")
                reply.SetString("GameObjectTooltipValue", kLongSword);
            return r.value("ObjectId") == "7" || r.value("ObjectId") == "9";
        });
    }
    static CEGUI::GUIContext& context() { return CEGUI::System::getSingleton().getDefaultGUIContext(); }

    // A game window with a tooltip text and an object to compare with.
    harness::GameWindow* target(const std::string& name, const std::string& text, uint32_t compareId,
                                float x = 100, float y = 100)
    {
        auto* w = create<harness::GameWindow>("T/Game", name, x, y, 50, 50);
        if (w)
        {
            w->setTooltipText(text);
            w->setCompareId(compareId);
        }
        return w;
    }
    void moveTo(const CEGUI::Window* w)
    {
        const CEGUI::Rectf r = w->getUnclippedOuterRect().get();
        send(WM_MOUSEMOVE, 0, MakeMouseLParam(int(r.left()) + 10, int(r.top()) + 10));
    }
};

TEST_F(TooltipTest, TheCompareBoxShowsTheGamesTextForTheTargetsCompareId)
{
    tip->setTargetWindow(target("sword", "Short sword\nDamage 4-7", 7));
    EXPECT_EQ(tip->getMainBox()->getText(), "Short sword\nDamage 4-7");
    // The tooltip is the size of its document: 11 characters by 2 lines,
    // plus the rich-text window's margin.
    EXPECT_EQ(tip->getContentSize(), CEGUI::Sizef(88 + 4, 24 + 4));
    EXPECT_EQ(tip->getPixelSize(), CEGUI::Sizef(92, 28));

    ASSERT_EQ(game.queriesNamed("GameObjectTooltip"), 1u);
    const harness::Record* q = game.lastQuery("GameObjectTooltip");
    EXPECT_EQ(q->keyNames(), (std::vector<std::string>{"ObjectId", "GameObjectNeedCmpTxt"}));
    EXPECT_EQ(q->value("ObjectId"), "7");
    EXPECT_EQ(q->value("GameObjectNeedCmpTxt"), "1");
    EXPECT_EQ(q->type("GameObjectNeedCmpTxt"), KeyValues::TYPE_INT);

    // Beside the tooltip, framed, taking no input, the size of its own
    // document plus its frame, which it lays out in without a new break.
    QGUI::CGameMultiLine* compare = tip->getCompareBox();
    ASSERT_NE(compare, nullptr);
    EXPECT_TRUE(compare->isVisible());
    EXPECT_TRUE(compare->isDisabled());
    EXPECT_TRUE(compare->isFrameEnabled());
    EXPECT_EQ(compare->getText(), kLongSword);
    EXPECT_EQ(compare->getPixelSize(), CEGUI::Sizef(88 + 12, 24 + 12));
    EXPECT_FLOAT_EQ(compare->getDocHeight(), 24 + 4);
    const CEGUI::Rectf own = tip->getUnclippedOuterRect().get();
    const CEGUI::Rectf beside = compare->getUnclippedOuterRect().get();
    EXPECT_FLOAT_EQ(beside.left(), own.right());
    EXPECT_FLOAT_EQ(beside.top(), own.top());
    const CEGUI::Rectf total = tip->getTotalArea();
    EXPECT_EQ(total, CEGUI::Rectf(own.left(), own.top(), beside.right(), beside.bottom()));

    // The same text again asks the game nothing.
    tip->setText(tip->getText());
    EXPECT_EQ(game.queriesNamed("GameObjectTooltip"), 1u);
    EXPECT_TRUE(compare->isVisible());
}

TEST_F(TooltipTest, WithoutAnAnsweredCompareIdTheMainTextStandsAlone)
{
    struct Case
    {
        const char* name;
        uint32_t compareId; // none for a window without the property
        bool hasProperty;
        bool asks;
    } cases[] = {
        {"no object to compare", 0, true, false},
        {"refused", 8, true, true},
        {"answered without a text", 9, true, true},
        {"a window without compare ids", 7, false, false},
    };
    for (const Case& c : cases)
    {
        // A shown compare box first, that the case must hide.
        tip->setTargetWindow(target(std::string("shown ") + c.name, std::string("before ") + c.name, 7));
        ASSERT_TRUE(tip->getCompareBox()->isVisible()) << c.name;
        const size_t asked = game.queriesNamed("GameObjectTooltip");
        CEGUI::Window* w = c.hasProperty ? static_cast<CEGUI::Window*>(target(c.name, c.name, c.compareId))
                                         : create("DefaultWindow", c.name, 100, 100, 50, 50);
        w->setTooltipText(c.name);
        tip->setTargetWindow(w);
        EXPECT_EQ(game.queriesNamed("GameObjectTooltip") - asked, c.asks ? 1u : 0u) << c.name;
        EXPECT_FALSE(tip->getCompareBox()->isVisible()) << c.name;
        EXPECT_EQ(tip->getTotalArea(), tip->getUnclippedOuterRect().get()) << c.name;
        EXPECT_EQ(tip->getMainBox()->getText(), c.name);
    }
    // An empty text has no size.
    tip->setText("");
    EXPECT_EQ(tip->getContentSize(), CEGUI::Sizef(0, 0));
    EXPECT_EQ(tip->getPixelSize(), CEGUI::Sizef(0, 0));
}

TEST_F(TooltipTest, TheTooltipAndItsCompareBoxStayOnTheScreen)
{
    const CEGUI::Sizef screen = root->getPixelSize();
    harness::GameWindow* edge = target("edge", "Short sword\nDamage 4-7", 7, screen.d_width - 60, 100);
    moveTo(edge);
    ASSERT_EQ(tip->getTargetWindow(), edge);
    const CEGUI::Rectf total = tip->getTotalArea();
    EXPECT_GT(total.getWidth(), 150.0f);
    EXPECT_LE(total.right(), screen.d_width);
    EXPECT_GE(total.left(), 0.0f);
}

TEST_F(TooltipTest, HoverFadeDisplayAndHideStepOncePerHostFrame)
{
    tip->setHoverTime(0.5f);
    tip->setFadeTime(0.25f);
    tip->setDisplayTime(1.0f);
    host.frametime = 0.125f;
    // The tooltip has taken the host's clock before.
    tip->setTargetWindow(root);
    frame();
    // Frames after the mouse came over a target: whether the tooltip shows
    // and how opaque it is.
    auto sequence = [&](const char* name, int updatesPerFrame) {
        harness::GameWindow* w = target(name, name, 0, 300, 300);
        moveTo(w);
        std::vector<std::pair<bool, float>> seen;
        for (int k = 1; k <= 18; ++k)
        {
            frame();
            for (int u = 1; u < updatesPerFrame; ++u)
                gui->Update();
            seen.emplace_back(tip->isVisible(), tip->isVisible() ? tip->getAlpha() : 0.0f);
        }
        send(WM_MOUSEMOVE, 0, MakeMouseLParam(5, 5));
        destroy(w);
        frame();
        return seen;
    };
    // Four frames of hover, two of fading in, eight shown, two fading out.
    const std::vector<std::pair<bool, float>> expected = {
        {false, 0}, {false, 0}, {false, 0}, {true, 0}, {true, 0.5f}, {true, 1},   {true, 1},  {true, 1},  {true, 1},
        {true, 1},  {true, 1},  {true, 1},  {true, 1}, {true, 1},    {true, 0.5f}, {false, 0}, {false, 0}, {false, 0},
    };
    EXPECT_EQ(sequence("once", 1), expected);
    EXPECT_EQ(sequence("twice", 2), expected);

    // The mouse leaving starts the fade out at the next frame; no fade time
    // hides the tooltip at once.
    harness::GameWindow* w = target("leave", "leave", 0, 300, 300);
    moveTo(w);
    for (int k = 0; k < 6; ++k)
        frame();
    ASSERT_TRUE(tip->isShowing());
    send(WM_MOUSEMOVE, 0, MakeMouseLParam(5, 5));
    frame();
    frame();
    EXPECT_FLOAT_EQ(tip->getAlpha(), 0.5f);
    frame();
    EXPECT_FALSE(tip->isVisible());
    tip->setFadeTime(-1.0f);
    EXPECT_EQ(tip->getFadeTime(), 0.0f);
    moveTo(w);
    for (int k = 0; k < 5; ++k)
        frame();
    EXPECT_TRUE(tip->isVisible());
    EXPECT_FLOAT_EQ(tip->getAlpha(), 1.0f);
    send(WM_MOUSEMOVE, 0, MakeMouseLParam(5, 5));
    frame();
    EXPECT_FALSE(tip->isVisible());
}

TEST_F(TooltipTest, ATargetDestroyedWhileShownOrAwaitedIsNotTouched)
{
    tip->setHoverTime(0.0f);
    tip->setFadeTime(0.0f);
    harness::GameWindow* shown = target("shown", "shown", 7);
    moveTo(shown);
    frame(); // the first update only takes the host's clock
    frame();
    ASSERT_TRUE(tip->isVisible());
    destroy(shown);
    frame();
    frame();
    EXPECT_FALSE(tip->isVisible());
    EXPECT_NE(tip->getTargetWindow(), static_cast<CEGUI::Window*>(shown));

    // Set as the target by hand, away from the mouse, and destroyed before
    // the hover time is up.
    tip->setHoverTime(10.0f);
    harness::GameWindow* awaited = target("awaited", "awaited", 0, 400, 400);
    tip->setTargetWindow(awaited);
    frame();
    destroy(awaited);
    for (int k = 0; k < 4; ++k)
        frame();
    EXPECT_NE(tip->getTargetWindow(), static_cast<CEGUI::Window*>(awaited));
    EXPECT_FALSE(tip->isVisible());
}

TEST_F(TooltipTest, AStyleWithTheGameTooltipGivesItsTimesFadeIncluded)
{
    ASSERT_EQ(run("function FetchNumberFn(k) "
                  "if k == 'tooltip_hover' then return 0.25 elseif k == 'tooltip_display' then return 4 "
                  "elseif k == 'tooltip_fade' then return 0.5 end return 0 end"),
              "");
    ASSERT_TRUE(gui->LoadUIStyle("G"));
    auto* styled = dynamic_cast<CQXToolTip*>(context().getDefaultTooltipObject());
    ASSERT_NE(styled, nullptr);
    EXPECT_EQ(styled->getType(), "GLook/Tooltip");
    EXPECT_FLOAT_EQ(styled->getHoverTime(), 0.25f);
    EXPECT_FLOAT_EQ(styled->getDisplayTime(), 4.0f);
    EXPECT_FLOAT_EQ(styled->getFadeTime(), 0.5f);
}

TEST_F(TooltipTest, MakingTheBoxesAgainKeepsThemAndTheRendererRegistersByName)
{
    QGUI::CGameMultiLine* main = tip->getMainBox();
    QGUI::CGameMultiLine* compare = tip->getCompareBox();
    tip->initialiseComponents();
    EXPECT_EQ(tip->getMainBox(), main);
    EXPECT_EQ(tip->getCompareBox(), compare);
    EXPECT_EQ(tip->getChildCount(), 2u);

    // Beside the renderer table, not in it, yet known by name.
    CEGUI::WindowRendererManager& renderers = CEGUI::WindowRendererManager::getSingleton();
    ASSERT_TRUE(renderers.isFactoryPresent("QXGame/TooltipRenderer"));
    renderers.removeFactory("QXGame/TooltipRenderer");
    registerFactory("QXGame/TooltipRenderer");
    EXPECT_TRUE(renderers.isFactoryPresent("QXGame/TooltipRenderer"));
}
} // namespace
