// The decorate window: dragging by the left button inside its parent, the
// cursor kept in the grandparent (or the display) while it lasts and given
// its previous constraint back after it.
#include "WidgetHarness.h"
#include "widgets/DecorateWindow.h"

namespace
{
struct DecorateWindowTest : harness::WidgetHarness
{
    CEGUI::Window* grandparent = nullptr;
    CEGUI::Window* parent = nullptr;
    QGUI::CQXDecorateWindow* deco = nullptr;

    // The decorate window at (170, 160)-(270, 210) on the screen, in a
    // parent at (150, 150) inside a grandparent at (50, 50)-(550, 450).
    void SetUp() override
    {
        WidgetHarness::SetUp();
        if (HasFatalFailure())
            return;
        grandparent = create("DefaultWindow", "grandparent", 50, 50, 500, 400);
        parent = create("DefaultWindow", "parent", 100, 100, 300, 200, grandparent);
        deco = create<QGUI::CQXDecorateWindow>("QXGame/DecorateWindow", "deco", 20, 10, 100, 50, parent);
        ASSERT_NE(deco, nullptr);
        deco->setProperty("DraggingEnabled", "True");
    }

    CEGUI::MouseCursor& cursor()
    {
        return CEGUI::System::getSingleton().getDefaultGUIContext().getMouseCursor();
    }
    CEGUI::Rectf constraint() { return cursor().getConstraintArea(); }
    void moveTo(int x, int y) { send(WM_MOUSEMOVE, 0, MakeMouseLParam(x, y)); }
    void press(int x, int y, UINT message = WM_LBUTTONDOWN)
    {
        moveTo(x, y);
        send(message, 0, MakeMouseLParam(x, y));
    }
    void release(int x, int y, UINT message = WM_LBUTTONUP) { send(message, 0, MakeMouseLParam(x, y)); }
    CEGUI::Vector2f offset() const
    {
        return CEGUI::Vector2f(deco->getPosition().d_x.d_offset, deco->getPosition().d_y.d_offset);
    }
};

const CEGUI::Rectf kDisplay(0, 0, 800, 600);

TEST_F(DecorateWindowTest, DragsWithTheMouseInsideTheGrandparentsArea)
{
    press(180, 170);
    EXPECT_TRUE(deco->isDragging());
    EXPECT_EQ(constraint(), CEGUI::Rectf(50, 50, 550, 450));
    moveTo(190, 175);
    EXPECT_EQ(offset(), CEGUI::Vector2f(30, 15));
    // Half a pixel is added before truncating toward zero, so a move left
    // or up falls a pixel short (-40 moves -39), made up by the next one.
    moveTo(150, 200);
    EXPECT_EQ(offset(), CEGUI::Vector2f(-9, 40));
    // The cursor cannot leave the grandparent, nor the window follow it.
    moveTo(10, 10);
    EXPECT_EQ(offset(), CEGUI::Vector2f(-109, -109));
    release(50, 50);
    EXPECT_FALSE(deco->isDragging());
    EXPECT_EQ(constraint(), kDisplay);
    moveTo(300, 300);
    EXPECT_EQ(offset(), CEGUI::Vector2f(-109, -109));
}

TEST_F(DecorateWindowTest, WithoutAGrandparentTheCursorStaysOnTheDisplay)
{
    // Within a previous constraint only the shared part is left.
    const CEGUI::Rectf previous(100, 100, 700, 500);
    cursor().setConstraintArea(&previous);
    auto* top = create<QGUI::CQXDecorateWindow>("QXGame/DecorateWindow", "top", 200, 200, 50, 50);
    top->setProperty("DraggingEnabled", "True");
    press(210, 210);
    EXPECT_TRUE(top->isDragging());
    EXPECT_EQ(constraint(), previous);
    release(210, 210);
    press(180, 170);
    EXPECT_EQ(constraint(), CEGUI::Rectf(100, 100, 550, 450));
    release(180, 170);
    EXPECT_EQ(constraint(), previous);
}

TEST_F(DecorateWindowTest, OnlyALeftPressOnTheWindowItselfWithDraggingOnStartsADrag)
{
    CEGUI::Window* child = create("DefaultWindow", "child", 0, 0, 20, 20, deco);
    press(175, 165); // on the child
    EXPECT_FALSE(deco->isDragging());
    release(175, 165);
    press(200, 180, WM_RBUTTONDOWN);
    EXPECT_FALSE(deco->isDragging());
    moveTo(210, 190);
    release(210, 190, WM_RBUTTONUP);
    EXPECT_EQ(offset(), CEGUI::Vector2f(20, 10));
    deco->setProperty("DraggingEnabled", "False");
    press(200, 180);
    EXPECT_FALSE(deco->isDragging());
    EXPECT_EQ(constraint(), kDisplay);
    release(200, 180);
    // A right button during a drag does not end it.
    deco->setProperty("DraggingEnabled", "True");
    press(200, 180);
    send(WM_RBUTTONDOWN, 0, MakeMouseLParam(200, 180));
    send(WM_RBUTTONUP, 0, MakeMouseLParam(200, 180));
    EXPECT_TRUE(deco->isDragging());
    (void)child;
}

TEST_F(DecorateWindowTest, TurningDraggingOffEndsTheDragAtOnce)
{
    press(180, 170);
    ASSERT_TRUE(deco->isDragging());
    deco->setProperty("DraggingEnabled", "False");
    EXPECT_FALSE(deco->isDragging());
    EXPECT_EQ(constraint(), kDisplay);
    EXPECT_EQ(deco->getProperty("DraggingEnabled"), "False");
    moveTo(200, 200);
    EXPECT_EQ(offset(), CEGUI::Vector2f(20, 10));
}

TEST_F(DecorateWindowTest, MovesAreRoundedHalfUp)
{
    CEGUI::GUIContext& ctx = CEGUI::System::getSingleton().getDefaultGUIContext();
    ctx.injectMousePosition(180, 170);
    ctx.injectMouseButtonDown(CEGUI::LeftButton);
    ctx.injectMousePosition(182.5f, 170);
    EXPECT_EQ(offset(), CEGUI::Vector2f(23, 10));
    // The window moved under the cursor: the next move counts from there.
    ctx.injectMousePosition(180.5f, 167.5f);
    EXPECT_EQ(offset(), CEGUI::Vector2f(21, 8));
    ctx.injectMouseButtonUp(CEGUI::LeftButton);
}

TEST_F(DecorateWindowTest, ACaptureThatWasNoDragLeavesTheConstraintAlone)
{
    const CEGUI::Rectf mine(10, 10, 400, 300);
    cursor().setConstraintArea(&mine);
    deco->activate();
    ASSERT_TRUE(deco->captureInput());
    deco->releaseInput();
    EXPECT_EQ(constraint(), mine);
}

TEST_F(DecorateWindowTest, AGrandparentOffTheDisplayKeepsThePreviousConstraint)
{
    grandparent->setPosition(CEGUI::UVector2(CEGUI::UDim(0, 900), CEGUI::UDim(0, 50)));
    parent->setClippedByParent(false);
    parent->setPosition(CEGUI::UVector2(CEGUI::UDim(0, -750), CEGUI::UDim(0, 100)));
    press(180, 170);
    ASSERT_TRUE(deco->isDragging());
    EXPECT_EQ(constraint(), kDisplay);
    moveTo(185, 170);
    EXPECT_EQ(offset(), CEGUI::Vector2f(25, 10));
}

TEST_F(DecorateWindowTest, DestroyingTheWindowMidDragFreesTheCursor)
{
    press(180, 170);
    ASSERT_TRUE(deco->isDragging());
    destroy(deco);
    EXPECT_EQ(constraint(), kDisplay);
    moveTo(600, 500);
    frame();
}

TEST_F(DecorateWindowTest, TakenFromItsParentMidDragTheWindowStopsMoving)
{
    press(180, 170);
    ASSERT_TRUE(deco->isDragging());
    parent->removeChild(deco);
    moveTo(200, 200);
    release(200, 200);
    EXPECT_EQ(offset(), CEGUI::Vector2f(20, 10));
    EXPECT_EQ(constraint(), kDisplay);
    frame();
    destroy(deco);
    frame();
}

TEST_F(DecorateWindowTest, PropertiesAndLayoutRoundTrip)
{
    CEGUI::WindowManager& wm = CEGUI::WindowManager::getSingleton();
    auto* fresh = static_cast<QGUI::CQXDecorateWindow*>(wm.createWindow("QXGame/DecorateWindow", "fresh"));
    EXPECT_EQ(fresh->getProperty("DraggingEnabled"), "False");
    EXPECT_EQ(wm.getLayoutAsString(*fresh).find("DraggingEnabled"), CEGUI::String::npos);
    const CEGUI::String layout = wm.getLayoutAsString(*deco);
    EXPECT_NE(layout.find("name=\"DraggingEnabled\" value=\"True\""), CEGUI::String::npos);
    CEGUI::Window* copy = wm.loadLayoutFromString(layout);
    EXPECT_TRUE(static_cast<QGUI::CQXDecorateWindow*>(copy)->isDraggingEnabled());
    wm.destroyWindow(copy);
    wm.destroyWindow(fresh);
}
} // namespace
