// Mouse input that a window leaves unhandled walks up to the windows that
// hold it: a panel's script hears presses and the wheel over its labels
// and pictures, but not what a button or a dragged window handles.
#include "WidgetHarness.h"
#include "widgets/DecorateWindow.h"

namespace
{
struct MouseWalkTest : harness::WidgetHarness
{
    void addLooks(harness::Style& style) override
    {
        style.look("H/Image", "DefaultWindow", "Core/StaticImage", {{"Enabled", 0xFF000201}, {"Disabled", 0xFF000202}});
        // A frame window's look gives it its title bar and close button.
        const std::string box = harness::Style::dim("LeftEdge", 0) + harness::Style::dim("TopEdge", 0) +
                                harness::Style::dim("Width", 10) + harness::Style::dim("Height", 10);
        style.look("H/Frame", "CEGUI/FrameWindow", "Core/Default", {{"Enabled", 0xFF000301}}, {}, {},
                   "<Child type=\"CEGUI/Titlebar\" nameSuffix=\"__auto_titlebar__\"><Area>" + box +
                       "</Area></Child><Child type=\"CEGUI/PushButton\" nameSuffix=\"__auto_closebutton__\"><Area>" +
                       box + "</Area></Child>");
        style.look("H/Button", "CEGUI/PushButton", "Core/Button",
                   {{"Normal", 0xFF000101}, {"Hover", 0xFF000102}, {"Pushed", 0xFF000103}, {"Disabled", 0xFF000104}});
    }

    // The panel's script writes down the presses, releases and wheel turns
    // it hears.
    void listenToPanel()
    {
        ASSERT_EQ(run("local root = CEGUI.System:getSingleton():getDefaultGUIContext():getRootWindow()\n"
                      "local panel = root:getChild('panel')\n"
                      "for _, name in ipairs({'MouseButtonDown', 'MouseButtonUp', 'MouseWheel'}) do\n"
                      "  panel:subscribeEvent(name, function(e)\n"
                      "    local m = CEGUI.toMouseEventArgs(e)\n"
                      "    local what = name == 'MouseWheel' and m.wheelChange or m.button\n"
                      "    heard = heard .. name:sub(6) .. what .. ' '\n"
                      "  end)\n"
                      "end"),
                  "");
    }

    // Clicks the window and answers what the panel's script heard.
    std::string heardOver(const CEGUI::Window* w, harness::Button button)
    {
        EXPECT_EQ(run("heard = ''"), "");
        click(w, button);
        return text("heard");
    }
};

TEST_F(MouseWalkTest, APanelHearsWhatItsChildrenLeaveUnhandled)
{
    CEGUI::Window* panel = create("DefaultWindow", "panel", 0, 0, 500, 400);
    CEGUI::Window* label = create("DefaultWindow", "label", 10, 10, 100, 30, panel);
    label->setText("Name");
    CEGUI::Window* image = create("H/Image", "image", 10, 50, 100, 50, panel);
    CEGUI::Window* deco = create("QXGame/DecorateWindow", "deco", 150, 10, 100, 90, panel);
    deco->setProperty("DraggingEnabled", "True");
    CEGUI::Window* button = create("H/Button", "button", 300, 10, 100, 40, panel);
    listenToPanel();

    // Plain windows: every button, also the first left press that makes
    // the window the active one, and the wheel.
    EXPECT_EQ(heardOver(label, harness::Left), "ButtonDown0 ButtonUp0 ");
    EXPECT_EQ(heardOver(image, harness::Left), "ButtonDown0 ButtonUp0 ");
    EXPECT_EQ(heardOver(image, harness::Right), "ButtonDown1 ButtonUp1 ");
    ASSERT_EQ(run("heard = ''"), "");
    EXPECT_TRUE(send(WM_MOUSEWHEEL, MakeWheelWParam(-120), MakeMouseLParam(20, 20)));
    EXPECT_EQ(text("heard"), "Wheel-1 ");

    // The decorate window drags with the left button only; a button takes
    // its left presses and releases, not the other buttons'.
    EXPECT_EQ(heardOver(deco, harness::Right), "ButtonDown1 ButtonUp1 ");
    EXPECT_EQ(heardOver(deco, harness::Left), "");
    EXPECT_FALSE(static_cast<QGUI::CQXDecorateWindow*>(deco)->isDragging());
    // (Twice: the first press also makes the button the active window.)
    EXPECT_EQ(heardOver(button, harness::Left) + heardOver(button, harness::Left), "");
    EXPECT_EQ(heardOver(button, harness::Middle), "ButtonDown2 ButtonUp2 ");

    // The host still hears that the interface took a press over a label.
    send(WM_MOUSEMOVE, 0, MakeMouseLParam(20, 20));
    EXPECT_TRUE(send(WM_LBUTTONDOWN, 0, MakeMouseLParam(20, 20)));
    EXPECT_TRUE(send(WM_LBUTTONUP, 0, MakeMouseLParam(20, 20)));

    // Scripts may fire mouse events with other arguments, or take the
    // panel away while a press walks up to it.
    EXPECT_EQ(run("local panel = CEGUI.System:getSingleton():getDefaultGUIContext():getRootWindow():getChild('panel')\n"
                  "local label = panel:getChild('label')\n"
                  "label:subscribeEvent('Hidden', function(e) label:fireEvent('MouseButtonDown', e, 'Window') end)\n"
                  "label:hide()\n"
                  "label:show()\n"
                  "panel:fireEvent('MouseWheel', CEGUI.MouseEventArgs:new_local(nil), 'Window')\n"
                  "collectgarbage()\n"
                  "label:subscribeEvent('MouseButtonDown', function(e)\n"
                  "  CEGUI.WindowManager:getSingleton():destroyWindow(panel)\n"
                  "  return false\n"
                  "end)"),
              "");
    click(label, harness::Left);
    frame();
    EXPECT_FALSE(CEGUI::WindowManager::getSingleton().isAlive(panel));
}

TEST_F(MouseWalkTest, DragContainersAndSizingFramesKeepTheirLeftPresses)
{
    CEGUI::Window* panel = create("DefaultWindow", "panel", 0, 0, 500, 400);
    CEGUI::Window* drag = create("DragContainer", "drag", 10, 10, 100, 50, panel);
    drag->setProperty("DraggingEnabled", "False");
    CEGUI::Window* frameWindow = create("H/Frame", "frame", 200, 100, 200, 100, panel);
    listenToPanel();

    // A drag container takes the capture on a left press even with its
    // dragging off, and the release with it.
    EXPECT_EQ(heardOver(drag, harness::Left), "");
    EXPECT_FALSE(drag->isCapturedByThis());
    EXPECT_EQ(heardOver(drag, harness::Right), "ButtonDown1 ButtonUp1 ");

    // A press on a frame's bottom sizing border and its release size the
    // frame; with the frame off there is no border to size by.
    const auto overBorder = [this] {
        EXPECT_EQ(run("heard = ''"), "");
        const LPARAM at = MakeMouseLParam(300, 196);
        send(WM_MOUSEMOVE, 0, at);
        send(WM_LBUTTONDOWN, 0, at);
        send(WM_LBUTTONUP, 0, at);
        return text("heard");
    };
    EXPECT_EQ(overBorder(), "");
    frameWindow->setProperty("FrameEnabled", "False");
    EXPECT_EQ(overBorder(), "ButtonDown0 ButtonUp0 ");
}
} // namespace
