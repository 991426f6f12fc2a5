// The sample's character panel inside the stand-in host: its game windows
// show the player's name, health, mana, buffs and picture from the game
// data, and after the event script changes the player's data at a frame
// (the host then refreshes the player's windows) they show the new values.
#include <gtest/gtest.h>

#include <CEGUI/CEGUI.h>

#include <string>
#include <vector>

#include "EventScript.h"
#include "HostFileSystem.h"
#include "HostSession.h"
#include "KeyValues.h"
#include "SampleWindows.h"

using namespace QHost;

namespace
{
CEGUI::Window* Panel(const char* child)
{
    return PanelChild((std::string("QXCharacterPanel_Wnd/") + child).c_str());
}
} // namespace

TEST(CharacterPanelEndToEndTest, TheGamesDataAndItsChangesShowInThePanel)
{
    if (CEGUI::System::getSingletonPtr())
        GTEST_SKIP() << "another test of this process already started the GUI system";
    std::vector<HostMessage> events;
    std::string error;
    ASSERT_TRUE(LoadEventScript(QHOST_ROOT_DIR "/resource/UI/events/sample.events", &events, &error)) << error;

    HostFileSystem files(QHOST_ROOT_DIR);
    HostSession session(&files, 1024, 768);
    session.engine.echo = nullptr;
    ASSERT_TRUE(session.loadModule(QHOST_MODULE_PATH, &error)) << error;
    ASSERT_TRUE(session.init(&error)) << error;
    ASSERT_TRUE(session.gui()->ExecuteScpritFile("main.lua"));
    for (const char* child : {"Portrait", "Name", "Health", "Mana", "Buff0", "Buff1", "Status"})
        ASSERT_NE(Panel(child), nullptr) << child << " (see CEGUI.log)";

    // Before the change: the game data's values.
    EventPlayer player(events);
    long frame = 1;
    for (; frame < 26; ++frame)
        session.frame([&] { player.feedFrame(session, frame, nullptr); });
    EXPECT_EQ(Panel("Name")->getText(), "Aldric");
    EXPECT_EQ(Panel("Health")->getProperty("Value"), "0.8");
    EXPECT_EQ(Panel("Health")->getTooltipText(), "Health 80.00 %");
    EXPECT_EQ(Panel("Mana")->getProperty("Value"), "0.45");
    EXPECT_EQ(Panel("Status")->getText(), "Health now 80%");
    EXPECT_EQ(Panel("Buff0")->getTooltipText(), "Blessing: armour +5, 60 s left");
    EXPECT_EQ(Panel("Buff1")->getProperty("CellId"), "4294967295");

    // Frame 26 changes the player's health and name.
    for (; frame <= 30; ++frame)
        session.frame([&] { player.feedFrame(session, frame, nullptr); });
    size_t changes = 0;
    for (const EventPlayer::Result& r : player.results())
        if (r.message->gameData)
        {
            EXPECT_TRUE(r.consumed) << "line " << r.message->line;
            EXPECT_EQ(r.message->objectId, 1);
            ++changes;
        }
    EXPECT_EQ(changes, 2u);
    EXPECT_EQ(Panel("Name")->getText(), "Aldric the Wounded");
    EXPECT_EQ(Panel("Health")->getProperty("Value"), "0.3");
    EXPECT_EQ(Panel("Status")->getText(), "Health now 30%");
    EXPECT_EQ(Panel("Mana")->getProperty("Value"), "0.45");

    // The last frame: the lit part of each bar in its colour up to its
    // value, the trough after it; the game's pictures of the player and
    // the buffs (the middle of each is the picture's core).
    const HostRender& r = session.render;
    struct Bar
    {
        const char* name;
        float value;
        uint32_t light;
    } bars[] = {{"Health", 0.3f, 0xFFD03030}, {"Mana", 0.45f, 0xFF3060E0}};
    for (const Bar& b : bars)
    {
        const Box box = BoxOf(Panel(b.name));
        const int areaLeft = box.left + 2, areaWidth = box.right - box.left - 4;
        const int y = box.bottom - 4; // below the highlight
        EXPECT_EQ(r.pixel(areaLeft + int(areaWidth * b.value) - 4, y), b.light) << b.name;
        EXPECT_EQ(r.pixel(areaLeft + int(areaWidth * b.value) + 4, y), 0xFF101820u) << b.name;
    }
    // Dividers split the health bar in four.
    const Box health = BoxOf(Panel("Health"));
    const int quarter = health.left + 2 + (health.right - health.left - 4) / 4;
    EXPECT_EQ(r.pixel(quarter, health.bottom - 4), 0xFF101820u);
    struct Picture
    {
        const char* name;
        uint32_t colour;
    } pictures[] = {{"Portrait", 0xFFC89060}, {"Buff0", 0xFFF0E060}, {"Buff1", 0xFF60D060}};
    for (const Picture& p : pictures)
    {
        const Box box = BoxOf(Panel(p.name));
        EXPECT_EQ(r.pixel((box.left + box.right) / 2, (box.top + box.bottom) / 2), HostEngineClient::Lightened(p.colour))
            << p.name;
    }
    session.shutDown();
}
