// The per-frame update against hostile hosts and windows: frame times that
// are no number, windows whose drawing or updating throws every frame.
#include "GuiFixture.h"

#include <cmath>
#include <limits>

namespace
{
struct FrameTest : GuiFixture
{
    void SetUp() override
    {
        GuiFixture::SetUp();
        ASSERT_EQ(run("gc = 0 polls = 0 guides = 0 "
                      "function gFn_timely_gc() gc = gc + 1 return 0 end "
                      "function gFn_try_catch_focus_ui() polls = polls + 1 return 0 end "
                      "function gFn_guide_cmd_text_draw_moni() guides = guides + 1 return 0 end"),
                      "");
    }
    void frame(float seconds)
    {
        host.frametime = seconds;
        if (std::isfinite(seconds) && seconds > 0.0f)
            host.curtime += seconds;
        gui->Update();
    }
    CEGUI::Window* addWindow()
    {
        CEGUI::Window* w = CEGUI::WindowManager::getSingleton().createWindow("DefaultWindow");
        w->setArea(CEGUI::URect(CEGUI::UDim(0, 0), CEGUI::UDim(0, 0), CEGUI::UDim(0, 20), CEGUI::UDim(0, 20)));
        gui->GetRootWindow()->addChild(w);
        return w;
    }
};

bool Throw(const CEGUI::EventArgs&)
{
    throw CEGUI::InvalidRequestException("this window fails every frame");
}

TEST_F(FrameTest, FrameTimesThatAreNoNumberNeverStopTheTimers)
{
    const float bad[] = {std::numeric_limits<float>::quiet_NaN(), std::numeric_limits<float>::infinity(),
                         -std::numeric_limits<float>::infinity(), -1000.0f, -0.5f};
    for (float f : bad)
        frame(f);
    host.curtime = std::numeric_limits<float>::infinity();
    gui->Update();
    host.curtime = std::numeric_limits<float>::quiet_NaN();
    gui->Update();
    EXPECT_EQ(number("gc"), 0);
    host.curtime = 10.0f;
    const double pollsBefore = number("polls");

    // Six seconds of ordinary frames: the 5 s call comes once, the 0.1 s
    // poll keeps coming.
    for (int i = 0; i < 60; ++i)
        frame(0.1f);
    EXPECT_EQ(number("gc"), 1);
    EXPECT_GE(number("polls") - pollsBefore, 25);
}

TEST_F(FrameTest, AWindowThatThrowsEveryFrameStopsOnlyItsOwnStep)
{
    CEGUI::Window* drawing = addWindow();
    drawing->subscribeEvent(CEGUI::Window::EventRenderingStarted, CEGUI::Event::Subscriber(&Throw));
    CEGUI::Window* updating = addWindow();
    updating->subscribeEvent(CEGUI::Window::EventUpdated, CEGUI::Event::Subscriber(&Throw));

    for (int i = 0; i < 60; ++i)
    {
        drawing->invalidate();
        gui->QueueGuideCmdText("a", "b", 1, 2, 3);
        gui->playSoundEffect(0, 0, "tick");
        frame(0.1f);
    }
    // Guide texts, sounds and both timers kept running.
    EXPECT_EQ(number("guides"), 60);
    EXPECT_EQ(engine.received.size(), 60u);
    EXPECT_EQ(number("gc"), 1);
    EXPECT_GE(number("polls"), 25);
    EXPECT_TRUE(logger->hasPrefix("QGUI::CQGUI::Update: "));

    // Once the failing windows are gone, frames draw again.
    CEGUI::WindowManager::getSingleton().destroyWindow(drawing);
    CEGUI::WindowManager::getSingleton().destroyWindow(updating);
    const size_t lines = logger->lines.size();
    addWindow();
    frame(0.1f);
    for (size_t i = lines; i < logger->lines.size(); ++i)
        EXPECT_EQ(logger->lines[i].first.find("QGUI::CQGUI::Update: "), std::string::npos);
}
} // namespace
