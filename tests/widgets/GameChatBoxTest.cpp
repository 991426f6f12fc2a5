// The chat box: the ring of message windows, their heights and stacking,
// expiry, the view that follows or stays, fonts, properties, and scripts
// that meddle while a message is laid out.
#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <utility>

#include "ChatLooks.h"
#include "richtext/GameMultiLine.h"
#include "widgets/GameChatBox.h"

namespace
{
using QGUI::CGameChatBox;
using QGUI::CGameMultiLine;

// One line of the test font: 12 pixels, and 17 for its window.
const float kLine = 12.0f;
const float kOneLine = kLine + CGameChatBox::MessageOverlap;

struct ChatBoxTest : richwindow::RichWindowTest
{
    void addLooks(harness::Style& s) override
    {
        richwindow::RichWindowTest::addLooks(s);
        chatlooks::MessageWindow(s);
        chatlooks::ChatBox(s);
    }

    CGameChatBox* box(uint32_t capacity, float life = 0.0f, const char* name = "chat")
    {
        auto* b = create<CGameChatBox>("H/ChatBox", name, 10, 10, 215, 100);
        if (b)
        {
            b->setChatCapacity(capacity);
            b->setMsgLife(life);
        }
        return b;
    }
    static CEGUI::Scrollbar* bar(CGameChatBox* b) { return b->getVertScrollbar(); }
    // The messages held, top to bottom: text and top.
    static std::vector<std::pair<std::string, float>> stack(const CGameChatBox* b)
    {
        std::vector<std::pair<std::string, float>> out;
        for (uint32_t i = 0; i < 64; ++i)
            if (b->isHolding(i))
                out.emplace_back(b->findMessageWindow(i)->getText().c_str(), b->getMessageTop(i));
        std::sort(out.begin(), out.end(), [](const auto& a, const auto& c) { return a.second < c.second; });
        return out;
    }
    static std::vector<std::string> texts(const CGameChatBox* b)
    {
        std::vector<std::string> out;
        for (const auto& m : stack(b))
            out.push_back(m.first);
        return out;
    }
    static float height(const CGameChatBox* b, uint32_t slot) { return b->getMessageHeight(slot); }
    // Frames of the given length until `seconds` have passed.
    void run(float seconds, float frame = 0.5f)
    {
        host.frametime = frame;
        for (float t = 0; t < seconds - 1e-4f; t += frame)
            this->frame();
    }
    using richwindow::RichWindowTest::run;
    // Whether exactly the held messages the view reaches are shown, each
    // at its place in the stack.
    static bool shownAsTheViewReaches(CGameChatBox* b)
    {
        const float top = bar(b)->getScrollPosition();
        const float bottom = top + bar(b)->getPageSize();
        for (uint32_t i = 0; i < b->getMessageCount(); ++i)
        {
            const CGameMultiLine* w = b->findMessageWindow(i);
            if (!w)
                continue;
            const bool reached = b->isHolding(i) && b->getMessageTop(i) < bottom &&
                                 b->getMessageTop(i) + b->getMessageHeight(i) > top;
            if (w->isVisible() != reached)
                return false;
            if (reached && (w->getYPosition().d_offset != b->getMessageTop(i) ||
                            w->getHeight().d_offset != b->getMessageHeight(i)))
                return false;
        }
        return true;
    }
    // The message at the top of the view.
    static std::string topLine(CGameChatBox* b)
    {
        const float at = bar(b)->getScrollPosition();
        std::string line;
        float best = -1;
        for (const auto& m : stack(b))
            if (m.second <= at && m.second > best)
            {
                best = m.second;
                line = m.first;
            }
        return line;
    }
};

TEST_F(ChatBoxTest, TheRingFillsThenOverwritesTheOldestAndStacksOldestFirst)
{
    CGameChatBox* b = box(3);
    for (const char* m : {"one", "two", "three", "four", "five"})
        EXPECT_TRUE(b->PushChatText(m));
    // Slots 0, 1, 2 filled, then 0 and 1 overwritten; the oldest is slot 2.
    EXPECT_EQ(b->findMessageWindow(0)->getText(), "four");
    EXPECT_EQ(b->findMessageWindow(1)->getText(), "five");
    EXPECT_EQ(b->findMessageWindow(2)->getText(), "three");
    EXPECT_EQ(b->findMessageWindow(3), nullptr);
    EXPECT_EQ(b->getFirstIndex(), 2u);
    EXPECT_EQ(b->getMessageCount(), 3u);
    // One line each: 17 pixels high, stacked 5 pixels into each other.
    const std::vector<std::pair<std::string, float>> expected = {
        {"three", 0.0f}, {"four", kLine}, {"five", 2 * kLine}};
    EXPECT_EQ(stack(b), expected);
    for (uint32_t i = 0; i < 3; ++i)
    {
        const CGameMultiLine* w = b->findMessageWindow(i);
        EXPECT_EQ(w->getParent(), b->getContentPane());
        EXPECT_EQ(w->getName(), "chat__qxauto_single__" + std::to_string(i));
        EXPECT_EQ(w->getID(), CGameChatBox::SlotHolding);
        EXPECT_FLOAT_EQ(w->getHeight().d_offset, kOneLine);
        EXPECT_FALSE(w->isFrameEnabled());
        EXPECT_TRUE(w->isForceHideVertScrollbar());
        EXPECT_FALSE(w->isRiseOnClickEnabled());
    }

    // A box of capacity 0 takes nothing and makes no window.
    CGameChatBox* none = box(0, 0.0f, "none");
    EXPECT_FALSE(none->PushChatText("lost"));
    none->setProperty("PushChat", "lost too");
    EXPECT_EQ(none->getContentPane()->getChildCount(), 0u);
}

TEST_F(ChatBoxTest, MessageHeightsFollowTheirDocuments)
{
    CGameChatBox* b = box(5);
    // 24 characters fit a line; then 22 beside the bar, once it shows.
    b->PushChatText("a\nb\nc");                      // three lines
    b->PushChatText(std::string(30, 'x'));           // wraps to two
    b->PushChatText("{N Aldric:Aldric} says {I 1001:[Short sword]} is mine"); // two
    EXPECT_FLOAT_EQ(height(b, 0), 3 * kLine + 5);
    EXPECT_FLOAT_EQ(height(b, 1), 2 * kLine + 5);
    EXPECT_FLOAT_EQ(height(b, 2), 2 * kLine + 5);
    const std::vector<float> tops = {0, 3 * kLine, 5 * kLine};
    for (uint32_t i = 0; i < 3; ++i)
    {
        EXPECT_FLOAT_EQ(b->getMessageTop(i), tops[i]) << i;
        EXPECT_FLOAT_EQ(b->findMessageWindow(i)->getYPosition().d_offset, tops[i]) << i;
        EXPECT_FLOAT_EQ(b->findMessageWindow(i)->getHeight().d_offset, height(b, i)) << i;
    }

    // Two more lines bring the bar, which narrows every message: a line
    // of 23 characters now takes two, and the stack follows.
    b->PushChatText(std::string(23, 'y'));
    b->PushChatText("last");
    ASSERT_TRUE(bar(b)->isVisible());
    EXPECT_FLOAT_EQ(b->findMessageWindow(3)->getPixelSize().d_width, 185.0f);
    EXPECT_FLOAT_EQ(height(b, 3), 2 * kLine + 5);
    EXPECT_FLOAT_EQ(b->getMessageTop(4), 9 * kLine);
    EXPECT_FLOAT_EQ(bar(b)->getDocumentSize(), 10 * kLine + 5);
}

TEST_F(ChatBoxTest, ScriptsPushUtf8LinesThroughThePackage)
{
    CGameChatBox* b = box(4);
    ASSERT_NE(b, nullptr);
    ASSERT_EQ(run(R"lua(
        local root = CEGUI.System:getSingleton():getDefaultGUIContext():getRootWindow()
        local chat = tolua.cast(root:getChild("chat"), "QGUI::CGameChatBox")
        pushed = tostring(chat:PushChatText("caf\195\169 {T x:y}"))
        pushed_nil = tostring(chat:PushChatText(nil))
        ok, message = pcall(QGUI.CGameChatBox.PushChatText, nil, "lost")
        ok = tostring(ok)
    )lua"),
              "");
    frame();
    EXPECT_EQ(text("pushed"), "true");
    EXPECT_EQ(text("ok"), "false");
    EXPECT_EQ(text("pushed_nil"), "true");
    EXPECT_EQ(text("message"), "invalid 'self' in function 'PushChatText'");
    const std::vector<std::string> lines = texts(b);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "caf\xC3\xA9 {T x:y}");
    EXPECT_EQ(lines[1], "\n"); // nil is the empty line, as the edit box holds it
}

TEST_F(ChatBoxTest, PropertiesReadAndWriteAsScriptsUseThem)
{
    CGameChatBox* b = box(0);
    struct Case
    {
        const char* name;
        const char* value;
        const char* reads;
    } cases[] = {
        {"ChatCapacity", "7", "7"},     {"ChatCapacity", "-1", "4294967295"},
        {"MsgLife", "2.5", "2"},        {"MsgLife", "nan", "0"},
        {"MsgLife", "-3", "0"},         {"MsgLife", "0.5", "0"},
        {"PushChat", "hello", ""},      {"Clear", "anything", ""},
        {"DefaultColour", "FF112233", "FF112233"},
        {"Indent1stLine", "12", "12"},  {"IndentRestLine", "-4", "-4"},
        {"IndentRestLine", "False", "0"},
    };
    for (const Case& c : cases)
    {
        b->setProperty(c.name, c.value);
        EXPECT_EQ(b->getProperty(c.name), c.reads) << c.name << " = " << c.value;
    }
    EXPECT_FLOAT_EQ(b->getMsgLife(), 0.5f);

    // A new box's colour is the property's default, so a saved box without
    // one reads the same colour back.
    CGameChatBox* fresh = box(1, 0.0f, "fresh");
    EXPECT_EQ(fresh->getProperty("DefaultColour"), "FF000000");
    EXPECT_TRUE(fresh->getPropertyInstance("DefaultColour")->isDefault(fresh));
    EXPECT_FALSE(b->getPropertyInstance("DefaultColour")->isDefault(b));
}

TEST_F(ChatBoxTest, PushesCarryTheColourAndNewWindowsTheIndents)
{
    CGameChatBox* b = box(3);
    b->setProperty("DefaultColour", "FF112233");
    b->setProperty("Indent1stLine", "8");
    b->setProperty("IndentRestLine", "16");
    b->setProperty("PushChat", "first");
    CGameMultiLine* w = b->findMessageWindow(0);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->getProperty("DefaultColour"), "FF112233");
    EXPECT_EQ(w->getIndent1stLine(), 8);
    EXPECT_EQ(w->getIndentRestLine(), 16);
    // The colour goes with every push; indents only with a new window.
    b->setProperty("DefaultColour", "FF445566");
    b->setProperty("IndentRestLine", "0");
    b->PushChatText("second");
    EXPECT_EQ(b->findMessageWindow(1)->getProperty("DefaultColour"), "FF445566");
    EXPECT_EQ(w->getIndentRestLine(), 16);
    EXPECT_EQ(b->findMessageWindow(1)->getIndentRestLine(), 0);

    // "Clear" empties and hides every slot; the ring starts again at 0.
    b->setProperty("Clear", "");
    EXPECT_TRUE(stack(b).empty());
    EXPECT_EQ(b->getMessageCount(), 0u);
    EXPECT_EQ(b->getFirstIndex(), 0u);
    EXPECT_FLOAT_EQ(bar(b)->getDocumentSize(), 0.0f);
    b->PushChatText("again");
    EXPECT_EQ(b->findMessageWindow(0)->getText(), "again");
    EXPECT_EQ(texts(b), std::vector<std::string>{"again"});
}

TEST_F(ChatBoxTest, OneMessageExpiresEachLifeAndAPushRestartsTheLife)
{
    CGameChatBox* b = box(5, 2.0f);
    for (const char* m : {"a", "b", "c"})
        b->PushChatText(m);
    run(1.5f);
    EXPECT_EQ(texts(b), (std::vector<std::string>{"a", "b", "c"}));
    run(0.5f);
    EXPECT_EQ(texts(b), (std::vector<std::string>{"b", "c"}));
    EXPECT_EQ(b->findMessageWindow(0)->getID(), CGameChatBox::SlotFree);
    EXPECT_FLOAT_EQ(b->getMessageTop(1), 0.0f);
    // A push one second in restarts the two seconds.
    run(1.0f);
    b->PushChatText("d");
    run(1.5f);
    EXPECT_EQ(texts(b), (std::vector<std::string>{"b", "c", "d"}));
    run(0.5f);
    EXPECT_EQ(texts(b), (std::vector<std::string>{"c", "d"}));

    // Hidden, and inside a hidden parent, the box goes on expiring.
    CEGUI::Window* parent = create("DefaultWindow", "parent", 0, 0, 400, 400);
    b->getParent()->removeChild(b);
    parent->addChild(b);
    parent->hide();
    b->hide();
    run(2.0f);
    EXPECT_EQ(texts(b), std::vector<std::string>{"d"});
    run(2.0f);
    EXPECT_TRUE(texts(b).empty());
    // With nothing to retire the life is not restarted; the next push
    // restarts it.
    run(3.0f);
    b->PushChatText("e");
    EXPECT_FLOAT_EQ(b->getRemainingLife(), 2.0f);
    // The slot at the first index, never used yet, takes it.
    EXPECT_EQ(texts(b), std::vector<std::string>{"e"});
    EXPECT_EQ(b->getMessageCount(), 5u);
}

TEST_F(ChatBoxTest, NoLifeAndNonsenseTimesExpireNothing)
{
    CGameChatBox* forever = box(3, 0.0f, "forever");
    CGameChatBox* nan = box(3, std::numeric_limits<float>::quiet_NaN(), "nan");
    CGameChatBox* negative = box(3, -2.0f, "negative");
    for (CGameChatBox* b : {forever, nan, negative})
    {
        b->PushChatText("stays");
        EXPECT_FLOAT_EQ(b->getMsgLife(), 0.0f);
    }
    CGameChatBox* timed = box(3, 1.0f, "timed");
    timed->PushChatText("goes");
    timed->PushChatText("goes later");
    // Pulses that are no time at all, or run backwards, retire nothing and
    // leave the life as it was.
    for (float pulse : {std::numeric_limits<float>::quiet_NaN(), -5.0f})
    {
        const float now = host.curtime;
        host.frametime = pulse;
        frame();
        host.curtime = now + 1.0f;
    }
    run(10.0f);
    for (CGameChatBox* b : {forever, nan, negative})
        EXPECT_EQ(texts(b), std::vector<std::string>{"stays"});
    EXPECT_TRUE(texts(timed).empty());
}

TEST_F(ChatBoxTest, AFullRingWithAnExpiredSlotKeepsItsLiveMessages)
{
    CGameChatBox* b = box(3, 2.0f);
    for (const char* m : {"A", "B", "C"})
        b->PushChatText(m);
    run(2.0f); // A expires
    b->PushChatText("D");
    EXPECT_EQ(texts(b), (std::vector<std::string>{"B", "C", "D"}));
    EXPECT_EQ(b->findMessageWindow(0)->getText(), "D");
    // Full again: the oldest goes.
    b->PushChatText("E");
    EXPECT_EQ(texts(b), (std::vector<std::string>{"C", "D", "E"}));
}

TEST_F(ChatBoxTest, LoweringTheCapacityDropsTheSlotsPastIt)
{
    CGameChatBox* b = box(5);
    for (const char* m : {"1", "2", "3", "4", "5", "6"})
        b->PushChatText(m);
    ASSERT_EQ(b->getFirstIndex(), 1u);
    b->setProperty("ChatCapacity", "2");
    EXPECT_EQ(b->getMessageCount(), 2u);
    EXPECT_LT(b->getFirstIndex(), 2u);
    EXPECT_EQ(stack(b).size(), 2u);
    for (const char* m : {"7", "8", "9"})
        EXPECT_TRUE(b->PushChatText(m));
    EXPECT_EQ(texts(b), (std::vector<std::string>{"8", "9"}));
    EXPECT_EQ(b->findMessageWindow(5), nullptr);
    for (uint32_t i = 2; i < 5; ++i)
        EXPECT_FALSE(b->findMessageWindow(i)->isVisible()) << i;
    // Raised again, the slots come back into use.
    b->setChatCapacity(4);
    b->PushChatText("10");
    b->PushChatText("11");
    EXPECT_EQ(texts(b), (std::vector<std::string>{"8", "9", "10", "11"}));
    b->setChatCapacity(0);
    EXPECT_TRUE(stack(b).empty());
    EXPECT_FALSE(b->PushChatText("none"));
}

TEST_F(ChatBoxTest, AViewAtTheBottomFollowsAndAViewScrolledUpStaysOnItsLine)
{
    CGameChatBox* b = box(20);
    for (int i = 0; i < 12; ++i)
        b->PushChatText("line " + std::to_string(i));
    const float page = bar(b)->getPageSize();
    EXPECT_FLOAT_EQ(bar(b)->getScrollPosition(), bar(b)->getDocumentSize() - page);
    b->PushChatText("line 12");
    EXPECT_FLOAT_EQ(bar(b)->getScrollPosition(), bar(b)->getDocumentSize() - page);
    EXPECT_EQ(topLine(b), "line 5");
    // Only the messages in view are shown windows; scrolling shows others.
    EXPECT_TRUE(shownAsTheViewReaches(b));
    EXPECT_FALSE(b->findMessageWindow(0)->isVisible());
    bar(b)->setScrollPosition(0.0f);
    EXPECT_TRUE(shownAsTheViewReaches(b));
    EXPECT_TRUE(b->findMessageWindow(0)->isVisible());
    EXPECT_FALSE(b->findMessageWindow(12)->isVisible());
    bar(b)->setScrollPosition(bar(b)->getDocumentSize());

    for (int i = 13; i < 20; ++i)
        b->PushChatText("line " + std::to_string(i));

    // Scrolled up, 3 pixels into "line 8": arrivals into the full ring and
    // expiry keep that line where it is.
    bar(b)->setScrollPosition(8 * kLine + 3);
    ASSERT_EQ(topLine(b), "line 8");
    for (int i = 20; i < 25; ++i)
        b->PushChatText("line " + std::to_string(i));
    EXPECT_EQ(texts(b).front(), "line 5");
    EXPECT_EQ(topLine(b), "line 8");
    EXPECT_FLOAT_EQ(bar(b)->getScrollPosition(), 3 * kLine + 3);
    EXPECT_TRUE(shownAsTheViewReaches(b));
    b->setMsgLife(1.0f);
    b->PushChatText("line 25");
    run(2.0f);
    EXPECT_EQ(texts(b).front(), "line 8");
    EXPECT_EQ(topLine(b), "line 8");
    EXPECT_FLOAT_EQ(bar(b)->getScrollPosition(), 3.0f);
    EXPECT_TRUE(shownAsTheViewReaches(b));

    // Within 5 pixels of the end counts as the bottom.
    b->setMsgLife(0.0f);
    bar(b)->setScrollPosition(bar(b)->getDocumentSize() - page - 4);
    b->PushChatText("line 26");
    EXPECT_FLOAT_EQ(bar(b)->getScrollPosition(), bar(b)->getDocumentSize() - page - 4);
}

TEST_F(ChatBoxTest, TheViewDrawsTheLinesItShowsInTheBoxsColour)
{
    CGameChatBox* b = box(20);
    b->setProperty("DefaultColour", "FF445566");
    for (int i = 0; i < 12; ++i)
        b->PushChatText("line " + std::to_string(i % 10));
    frame();
    // The box's 100 pixels show the bottom of the stack: 8 whole lines and
    // a part of one, each of 6 glyphs, clipped to the box.
    std::map<int, int> rows;
    for (const harness::Quad& q : glyphs())
    {
        EXPECT_EQ(q.colour, 0xFF445566u);
        ++rows[q.y];
    }
    EXPECT_GE(rows.size(), 8u);
    EXPECT_LE(rows.size(), 9u);
    const CEGUI::Rectf area = b->getUnclippedOuterRect().get();
    for (const auto& row : rows)
    {
        EXPECT_GE(row.first + 1, int(area.top())) << row.first;
        EXPECT_LT(row.first, int(area.bottom())) << row.first;
    }
    EXPECT_EQ(rows.rbegin()->second, 6);
}

TEST_F(ChatBoxTest, AFontChangeReachesEveryMessageWindowAndItsHeight)
{
    CGameChatBox* b = box(4);
    b->PushChatText("twelve chars!");
    EXPECT_FLOAT_EQ(b->findMessageWindow(0)->getHeight().d_offset, kOneLine);
    b->setFont("HWide");
    CGameMultiLine* w = b->findMessageWindow(0);
    EXPECT_EQ(w->getFont()->getName(), "HWide");
    // Thirteen characters of 16 pixels take two lines of 200 pixels.
    EXPECT_FLOAT_EQ(w->getHeight().d_offset, 2 * kLine + 5);
    b->PushChatText("new");
    EXPECT_EQ(b->findMessageWindow(1)->getFont()->getName(), "HWide");
    EXPECT_FLOAT_EQ(b->findMessageWindow(1)->getYPosition().d_offset, 2 * kLine);
}

TEST_F(ChatBoxTest, MessageWindowsAreTheBoxsOwnFoundByPointer)
{
    // A window of the slot's name elsewhere is not the box's.
    CEGUI::Window* stranger = create("DefaultWindow", "chat__qxauto_single__0", 0, 0, 10, 10);
    CGameChatBox* b = box(2);
    b->PushChatText("mine");
    CGameMultiLine* w = b->findMessageWindow(0);
    ASSERT_NE(w, nullptr);
    EXPECT_NE(static_cast<CEGUI::Window*>(w), stranger);
    EXPECT_EQ(stranger->getText(), "");

    // A script destroys a message window, or takes it away: the slot gets
    // a window again.
    destroy(w);
    b->PushChatText("two");
    b->PushChatText("three");
    ASSERT_NE(b->findMessageWindow(0), nullptr);
    EXPECT_EQ(b->findMessageWindow(0)->getText(), "three");
    CGameMultiLine* taken = b->findMessageWindow(1);
    taken->getParent()->removeChild(taken);
    root->addChild(taken);
    EXPECT_EQ(b->findMessageWindow(1), nullptr);
    // The name is free again among the box's children: a new window.
    b->PushChatText("four");
    EXPECT_NE(b->findMessageWindow(1), taken);
    EXPECT_EQ(taken->getText(), "two");
    frame();

    // A child of another kind holding a slot's name blocks that slot.
    CGameChatBox* blocked = box(1, 0.0f, "blocked");
    blocked->addChild(CEGUI::WindowManager::getSingleton().createWindow("DefaultWindow", "blocked__qxauto_single__0"));
    EXPECT_FALSE(blocked->PushChatText("nowhere"));
    frame();
}

TEST_F(ChatBoxTest, ScriptsThatPushClearOrDestroyDuringALayoutAreSafe)
{
    // An item's colour comes from a script while the message is laid out.
    ASSERT_EQ(run("function chat() return CEGUI.System:getSingleton():getDefaultGUIContext()"
                  ":getRootWindow():getChild('chat') end\n"
                  "action = nil\n"
                  "function FetchColourBySetFn(key, id)\n"
                  "  if action == 'push' then action = nil chat():setProperty('PushChat', 'nested')\n"
                  "  elseif action == 'clear' then action = nil chat():setProperty('Clear', '')\n"
                  "  elseif action == 'always' then chat():setProperty('PushChat', 'again {I 1:x}')\n"
                  "  elseif action == 'destroy' then action = nil\n"
                  "    CEGUI.WindowManager:getSingleton():destroyWindow(chat()) end\n"
                  "  return 'FF00FFFF'\n"
                  "end"),
              "");
    CGameChatBox* b = box(40);
    ASSERT_EQ(run("action = 'push'"), "");
    EXPECT_TRUE(b->PushChatText("outer {I 1:x}"));
    EXPECT_EQ(texts(b), (std::vector<std::string>{"outer {I 1:x}", "nested"}));

    ASSERT_EQ(run("action = 'clear'"), "");
    b->PushChatText("cleared {I 1:x}");
    EXPECT_TRUE(texts(b).empty());
    b->PushChatText("after");
    EXPECT_EQ(texts(b), std::vector<std::string>{"after"});

    // A script that pushes on every layout is cut off with a log line.
    ASSERT_EQ(run("action = 'always'"), "");
    b->PushChatText("{I 1:x}");
    ASSERT_EQ(run("action = nil"), "");
    EXPECT_TRUE(logger->has("QGUI::CGameChatBox: window 'chat' was asked for a push or clear during every one; "
                            "the rest are dropped.",
                            CEGUI::Errors));
    EXPECT_LE(texts(b).size(), 2 + CGameChatBox::MaxDeferredOperations + 1);
    b->setProperty("Clear", "");
    EXPECT_TRUE(b->PushChatText("still works"));

    ASSERT_EQ(run("action = 'destroy'"), "");
    b->PushChatText("gone {I 1:x}");
    EXPECT_FALSE(CEGUI::WindowManager::getSingleton().isAlive(b));
    frame();
    frame();
}
} // namespace
