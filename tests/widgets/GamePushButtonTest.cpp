// The game push button: its click sound, asked of the game at the button's
// centre after the "Clicked" subscribers, or silence.
#include "WidgetHarness.h"
#include "render/GuiString.h"
#include "widgets/GamePushButton.h"
#include "widgets/QGUIExtraFacoryManager.h"

namespace
{
struct GamePushButtonTest : harness::WidgetHarness
{
    QGUI::CGamePushButton* button(float x = 10, float y = 5, float w = 21, float h = 15)
    {
        return create<QGUI::CGamePushButton>("QXGame/GamePushButton", "button", x, y, w, h);
    }
    std::vector<std::string> soundsPosted()
    {
        std::vector<std::string> names;
        for (const harness::Record& m : game.messages)
            if (m.name == "_KeyVal_Play_Sound")
                names.push_back(m.value("_KeyVal_Sound_Name"));
        return names;
    }
};

TEST_F(GamePushButtonTest, AClickPlaysTheSoundAtTheCentreAfterTheSubscribers)
{
    QGUI::CGamePushButton* b = button();
    bool queuedBefore = true;
    b->subscribeEvent(CEGUI::PushButton::EventClicked, [&](const CEGUI::EventArgs&) {
        queuedBefore = !gui->GetSoundQueue().empty();
        return true;
    });
    click(b);
    EXPECT_FALSE(queuedBefore);
    // Inner area x 10 to 31, y 5 to 20: the centre truncated.
    ASSERT_EQ(gui->GetSoundQueue().size(), 1u);
    EXPECT_EQ(gui->GetSoundQueue()[0].x, 20);
    EXPECT_EQ(gui->GetSoundQueue()[0].y, 12);
    EXPECT_EQ(gui->GetSoundQueue()[0].name, "interface.button");
    frame();
    EXPECT_EQ(soundsPosted(), std::vector<std::string>{"interface.button"});
}

TEST_F(GamePushButtonTest, TheSoundNameChoosesTheSoundOrSilence)
{
    QGUI::CGamePushButton* b = button();
    EXPECT_EQ(b->getProperty("SoundName"), "interface.button");
    b->setProperty("SoundName", "");
    click(b);
    frame();
    EXPECT_TRUE(soundsPosted().empty());
    const CEGUI::String gong = QGUI::StringFromUtf8("ui/gong \xC3\xA9");
    b->setProperty("SoundName", gong);
    click(b);
    ASSERT_EQ(gui->GetSoundQueue().size(), 1u);
    EXPECT_EQ(gui->GetSoundQueue()[0].name, "ui/gong \xC3\xA9"); // as UTF-8
    frame();
    EXPECT_EQ(soundsPosted().size(), 1u);

    CEGUI::WindowManager& wm = CEGUI::WindowManager::getSingleton();
    CEGUI::Window* copy = wm.loadLayoutFromString(wm.getLayoutAsString(*b));
    EXPECT_EQ(copy->getProperty("SoundName"), gong);
    wm.destroyWindow(copy);
}

TEST_F(GamePushButtonTest, WidgetsWithoutTheMainObjectStayQuiet)
{
    QGUI::CGamePushButton* b = button();
    QGUI::QGUIExtraFacoryManager& providers = QGUI::QGUIExtraFacoryManager::Instance();
    providers.SetMainObject(nullptr);
    click(b);
    providers.SetMainObject(gui);
    EXPECT_TRUE(gui->GetSoundQueue().empty());
    // After shut-down the button still clicks, silently.
    gui->ShutDown();
    click(b);
    destroy(b);
}

TEST_F(GamePushButtonTest, ASubscriberMayDestroyTheButtonOrChangeItsSound)
{
    QGUI::CGamePushButton* b = button();
    b->subscribeEvent(CEGUI::PushButton::EventClicked, [b](const CEGUI::EventArgs&) {
        b->setSoundName("ui/other");
        return true;
    });
    click(b);
    ASSERT_EQ(gui->GetSoundQueue().size(), 1u);
    EXPECT_EQ(gui->GetSoundQueue()[0].name, "ui/other");

    b->subscribeEvent(CEGUI::PushButton::EventClicked, [this, b](const CEGUI::EventArgs&) {
        destroy(b);
        return true;
    });
    click(b);
    frame();
    EXPECT_FALSE(CEGUI::WindowManager::getSingleton().isAlive(b));
}
} // namespace
