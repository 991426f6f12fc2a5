// The think-timed frame window: "Think" once a cycle of the GUI's time
// pulses, also while hidden, from handlers in C++ and in layout scripts.
#include "WidgetHarness.h"
#include "widgets/ThinkableFrameWindow.h"

namespace
{
struct ThinkableFrameWindowTest : harness::WidgetHarness
{
    int thinks = 0;

    void addLooks(harness::Style& s) override
    {
        // A frame window's look must give it its title bar and close button.
        s.look("H/ThinkFrame", "QXGame/CThinkableFrameWindow", "Core/Default",
               {{"Enabled", 0xFF102030}, {"Disabled", 0xFF102030}}, {}, {},
               "<Child type=\"CEGUI/Titlebar\" nameSuffix=\"__auto_titlebar__\"><Area>" +
                   harness::Style::dim("LeftEdge", 0) + harness::Style::dim("TopEdge", 0) +
                   harness::Style::dim("Width", 10) + harness::Style::dim("Height", 10) +
                   "</Area></Child>"
                   "<Child type=\"CEGUI/PushButton\" nameSuffix=\"__auto_closebutton__\"><Area>" +
                   harness::Style::dim("LeftEdge", 0) + harness::Style::dim("TopEdge", 0) +
                   harness::Style::dim("Width", 10) + harness::Style::dim("Height", 10) + "</Area></Child>");
    }

    QGUI::CThinkableFrameWindow* window(const char* cycle, CEGUI::Window* parent = nullptr)
    {
        auto* w = create<QGUI::CThinkableFrameWindow>("H/ThinkFrame", "think", 10, 10, 200, 100, parent);
        if (cycle)
            w->setProperty("ThinkingCycle", cycle);
        w->subscribeEvent(QGUI::CThinkableFrameWindow::EventThink, [this](const CEGUI::EventArgs& e) {
            EXPECT_EQ(static_cast<const CEGUI::WindowEventArgs&>(e).window->getName(), "think");
            ++thinks;
            return true;
        });
        return w;
    }
    // The pulses after which "Think" fired, counting from 1.
    std::vector<int> thinkingPulses(int pulses)
    {
        std::vector<int> fired;
        for (int i = 1; i <= pulses; ++i)
        {
            const int before = thinks;
            frame();
            if (thinks != before)
                fired.push_back(i);
        }
        return fired;
    }
};

TEST_F(ThinkableFrameWindowTest, ThinksOnceACycleAfterThePulsesThatExceedIt)
{
    window("1");
    host.frametime = 0.25f;
    // Four pulses bring the countdown to 0; the fifth fires and starts the
    // full cycle again.
    EXPECT_EQ(thinkingPulses(15), (std::vector<int>{5, 10, 15}));
}

TEST_F(ThinkableFrameWindowTest, NoCycleNeverThinksAndSettingACycleRestartsIt)
{
    QGUI::CThinkableFrameWindow* w = window(nullptr);
    EXPECT_EQ(w->getProperty("ThinkingCycle"), "0");
    host.frametime = 0.25f;
    EXPECT_TRUE(thinkingPulses(10).empty());

    w->setProperty("ThinkingCycle", "0.5");
    EXPECT_EQ(w->getProperty("ThinkingCycle"), "0.5");
    frame();
    // The same value again restarts from the full cycle.
    w->setProperty("ThinkingCycle", "0.5");
    EXPECT_EQ(thinkingPulses(3), (std::vector<int>{3}));
    // An off timer stops at once.
    w->setProperty("ThinkingCycle", "0");
    EXPECT_TRUE(thinkingPulses(10).empty());
}

TEST_F(ThinkableFrameWindowTest, AWindowOrParentHiddenKeepsThinking)
{
    CEGUI::Window* parent = create("DefaultWindow", "parent", 0, 0, 400, 300);
    QGUI::CThinkableFrameWindow* w = window("0.5", parent);
    host.frametime = 0.25f;
    w->hide();
    EXPECT_EQ(thinkingPulses(3), (std::vector<int>{3}));
    w->show();
    parent->hide();
    EXPECT_EQ(thinkingPulses(3), (std::vector<int>{3}));
}

TEST_F(ThinkableFrameWindowTest, HandlersMaySetANewCycleOrDestroyTheWindow)
{
    QGUI::CThinkableFrameWindow* w = window("0.25");
    host.frametime = 0.25f;
    w->subscribeEvent(QGUI::CThinkableFrameWindow::EventThink, [w](const CEGUI::EventArgs&) {
        w->setProperty("ThinkingCycle", "0.75");
        return true;
    });
    // The handler's cycle holds from the first "Think" on.
    EXPECT_EQ(thinkingPulses(10), (std::vector<int>{2, 6, 10}));

    w->subscribeEvent(QGUI::CThinkableFrameWindow::EventThink, [this, w](const CEGUI::EventArgs&) {
        destroy(w);
        return true;
    });
    EXPECT_EQ(thinkingPulses(10), (std::vector<int>{4}));
}

TEST_F(ThinkableFrameWindowTest, ALayoutScriptSubscribesToThink)
{
    ASSERT_EQ(run("clock = 0\n"
                  "function on_think(e)\n"
                  "  clock = clock + 1\n"
                  "  CEGUI.toWindowEventArgs(e).window:setText('tick ' .. clock)\n"
                  "end"),
              "");
    CEGUI::Window* w = CEGUI::WindowManager::getSingleton().loadLayoutFromString(
        "<GUILayout version=\"4\"><Window type=\"H/ThinkFrame\" name=\"clockwnd\">"
        "<Property name=\"ThinkingCycle\" value=\"0.5\" />"
        "<Event name=\"Think\" function=\"on_think\" /></Window></GUILayout>");
    root->addChild(w);
    host.frametime = 0.25f;
    for (int i = 0; i < 9; ++i)
        frame();
    EXPECT_EQ(number("clock"), 3.0);
    EXPECT_EQ(w->getText(), "tick 3");
}

TEST_F(ThinkableFrameWindowTest, TheCycleRoundTripsThroughLayouts)
{
    CEGUI::WindowManager& wm = CEGUI::WindowManager::getSingleton();
    QGUI::CThinkableFrameWindow* w = window(nullptr);
    EXPECT_EQ(wm.getLayoutAsString(*w).find("ThinkingCycle"), CEGUI::String::npos);
    w->setProperty("ThinkingCycle", "2.5");
    CEGUI::Window* copy = wm.loadLayoutFromString(wm.getLayoutAsString(*w));
    EXPECT_EQ(copy->getProperty("ThinkingCycle"), "2.5");
    EXPECT_FLOAT_EQ(static_cast<QGUI::CThinkableFrameWindow*>(copy)->getRemaining(), 2.5f);
    wm.destroyWindow(copy);
}
} // namespace
