// Changes of the game's data at a frame of the host's event script: the
// "gameset" event, the engine client taking the change and answering with
// it, and buff slots in the game data.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "EventScript.h"
#include "FakeFileSystem.h"
#include "HostSession.h"
#include "KeyValues.h"

using namespace QHost;

namespace
{
void Serve(FakeFileSystem& fs, const char* path, const std::string& text)
{
    fs.files[path] = std::vector<uint8_t>(text.begin(), text.end());
}

std::string Property(HostEngineClient& engine, int objectId, const char* property)
{
    KeyValues* request = new KeyValues("GameObjectProperty", "ObjectId", objectId);
    KeyValues* reply = new KeyValues("");
    request->SetString("WhichProperty", property);
    const std::string value = engine.QueryKeyVal(request, reply) ? reply->GetString("PropertyStringValue") : "<refused>";
    request->deleteThis();
    reply->deleteThis();
    return value;
}
} // namespace

TEST(GameDataEventsTest, GamesetTakesAnObjectAPropertyAndTheRestOfTheLine)
{
    std::vector<HostMessage> out;
    std::string error;
    ASSERT_TRUE(ParseEventScript("3 gameset 1 Health 0.3\n4 gameset -7 Name  Aldric the Wounded  # renamed\n",
                                 &out, &error))
        << error;
    ASSERT_EQ(out.size(), 2u);
    EXPECT_TRUE(out[0].gameData);
    EXPECT_EQ(out[0].message, 0u);
    EXPECT_EQ(out[0].frame, 3);
    EXPECT_EQ(out[0].objectId, 1);
    EXPECT_EQ(out[0].property, "Health");
    EXPECT_EQ(out[0].value, "0.3");
    EXPECT_EQ(out[1].objectId, -7);
    EXPECT_EQ(out[1].value, "Aldric the Wounded");

    for (const char* bad : {"1 gameset", "1 gameset 1", "1 gameset 1 Health", "1 gameset one Health 1",
                            "1 gameset 99999999999 Health 1"})
    {
        std::vector<HostMessage> none;
        EXPECT_FALSE(ParseEventScript(bad, &none, &error)) << bad;
        EXPECT_EQ(error.rfind("line 1: 'gameset' takes", 0), 0u) << bad << " -> " << error;
        EXPECT_TRUE(none.empty());
    }
}

TEST(GameDataEventsTest, ThePlayerChangesTheDataAndReportsIt)
{
    FakeFileSystem fs;
    Serve(fs, "game\\objects.txt", "\"GameData\" { \"Objects\" { \"1\" { \"Health\" \"0.8\" } } }");
    HostSession session(&fs); // no module: the change reaches the data only
    EXPECT_EQ(Property(session.engine, 1, "Health"), "0.8"); // as the data writes it
    std::vector<HostMessage> events;
    std::string error;
    ASSERT_TRUE(ParseEventScript("2 gameset 1 Health 0.3\n2 gameset 5 Name New object\n", &events, &error));
    EventPlayer player(events);
    std::FILE* report = std::tmpfile();
    ASSERT_NE(report, nullptr);
    player.feedFrame(session, 2, report);
    ASSERT_EQ(player.results().size(), 2u);
    EXPECT_TRUE(player.results()[0].consumed);
    EXPECT_EQ(Property(session.engine, 1, "Health"), "0.3");
    EXPECT_EQ(Property(session.engine, 5, "Name"), "New object");

    std::rewind(report);
    char line[256];
    ASSERT_NE(std::fgets(line, sizeof line, report), nullptr);
    EXPECT_STREQ(line, "frame 2: gameset 1 Health 0.3 -> RefreshObjectWindows(1): changed\n");
    std::fclose(report);

    // Without game data there is nothing to change.
    FakeFileSystem empty;
    HostSession bare(&empty);
    EXPECT_FALSE(bare.changeGameObject(1, "Health", "0.3"));
    EXPECT_FALSE(session.engine.SetObjectProperty(1, "", "x"));
    EXPECT_FALSE(session.engine.SetObjectProperty(1, nullptr, "x"));
}

TEST(GameDataEventsTest, BuffSlotsAnswerByBuffIndex)
{
    FakeFileSystem fs;
    Serve(fs, "objects.txt", "\"GameData\" { \"Slots\" { \"BuffMgr\" { \"BuffIndex\" { \"1\" \"3002\" } } } }");
    HostEngineClient engine;
    ASSERT_TRUE(engine.LoadGameData(&fs, "objects.txt"));
    KeyValues* request = new KeyValues("BuffMgr", "BuffIndex", 1);
    KeyValues* reply = new KeyValues("");
    EXPECT_TRUE(engine.QueryKeyVal(request, reply));
    EXPECT_EQ(reply->GetInt("CellId"), 3002);
    request->SetInt("BuffIndex", 0);
    EXPECT_FALSE(engine.QueryKeyVal(request, reply));
    request->deleteThis();
    reply->deleteThis();
}
