// The game progress bar: progress from value and maximum, its events, the
// once-per-frame advance by speed that stops at the bar's ends, and the
// renderer's imagery and text.
#include "WidgetHarness.h"
#include "widgets/GameProgressBar.h"
#include "widgets/QGUIExtraFacoryManager.h"

namespace
{
const uint32_t kBackGround = 0xFF101010;
const uint32_t kLights = 0xFFFFFFFF;
const uint32_t kHighLights = 0xFF303030;
const uint32_t kFrame = 0xFF404040;

struct GameProgressBarTest : harness::WidgetHarness
{
    int toOne = 0;
    int toZero = 0;

    void addLooks(harness::Style& s) override
    {
        const std::vector<std::pair<std::string, uint32_t>> states = {
            {"BackGround", kBackGround}, {"Lights", kLights}, {"HighLights", kHighLights}, {"Frame", kFrame}};
        s.look("H/Bar", "QXGame/GameProgressBar", "QXGame/GameProgressBarRenderer", states,
               {{"ProgressArea", "10,5,110,25"}});
        s.look("H/ColouredBar", "QXGame/GameProgressBar", "QXGame/GameProgressBarRenderer", states,
               {{"ProgressArea", "10,5,110,25"}}, {},
               "<PropertyDefinition name=\"LightColour\" type=\"Colour\" initialValue=\"FF20C040\" />"
               "<PropertyDefinition name=\"TextColour\" type=\"Colour\" initialValue=\"FFFFFF00\" />");
        s.look("H/BareBar", "QXGame/GameProgressBar", "QXGame/GameProgressBarRenderer", {});
        // The renderer on a window of another class.
        s.look("H/NotABar", "DefaultWindow", "QXGame/GameProgressBarRenderer", states,
               {{"ProgressArea", "10,5,110,25"}});
    }

    QGUI::GameProgressBar* bar(const char* name = "bar", const char* look = "H/Bar")
    {
        QGUI::GameProgressBar* b = create<QGUI::GameProgressBar>(look, name, 100, 100, 120, 30);
        b->subscribeEvent(QGUI::GameProgressBar::EventAdvancedToOne, [this](const CEGUI::EventArgs&) {
            ++toOne;
            return true;
        });
        b->subscribeEvent(QGUI::GameProgressBar::EventAdvancedToZero, [this](const CEGUI::EventArgs&) {
            ++toZero;
            return true;
        });
        return b;
    }
    size_t errorLines() const
    {
        size_t n = 0;
        for (const auto& l : logger->lines)
            n += l.second == CEGUI::Errors;
        return n;
    }
    // A bar with its values set through its properties, and one frame run
    // so that its next frame steps.
    QGUI::GameProgressBar* running(const char* max, const char* cur, const char* speed)
    {
        QGUI::GameProgressBar* b = bar();
        b->setProperty("MaxValue", max);
        b->setProperty("CurValue", cur);
        b->setProperty("Speed", speed);
        host.frametime = 0.5f;
        frame();
        return b;
    }
};

TEST_F(GameProgressBarTest, ProgressIsTheMagnitudeOfValueOverMaximum)
{
    struct Case
    {
        const char* max;
        const char* cur;
        float progress;
        const char* maxText;
    } cases[] = {
        {"100", "50", 0.5f, "100"}, {"200", "-50", 0.25f, "200"}, {"0", "50", 0.0f, "0"},
        {"100", "150", 1.0f, "100"}, {"-100", "25", 0.25f, "-100"},
        // Text that is no number reads 0; "nan" must not reach the drawing.
        {"nan", "50", 0.0f, "0"}, {"100", "nan", 0.0f, "100"}, {"abc", "50", 0.0f, "0"},
    };
    for (const Case& c : cases)
    {
        QGUI::GameProgressBar* b = bar(c.max);
        b->setProperty("MaxValue", c.max);
        b->setProperty("CurValue", c.cur);
        EXPECT_FLOAT_EQ(b->getProgress(), c.progress) << c.max << " " << c.cur;
        EXPECT_EQ(b->getProperty("MaxValue"), c.maxText);
        destroy(b);
    }
}

TEST_F(GameProgressBarTest, AValueSetAtTheEndOfTheSpeedsDirectionFiresOnce)
{
    QGUI::GameProgressBar* b = bar();
    b->setProperty("MaxValue", "100");
    b->setProperty("CurValue", "100"); // speed 0: no event
    EXPECT_EQ(toOne + toZero, 0);
    b->setProperty("Speed", "5");
    b->setProperty("CurValue", "120");
    EXPECT_EQ(toOne, 1);
    b->setProperty("CurValue", "120"); // unchanged: nothing
    EXPECT_EQ(toOne, 1);
    b->setProperty("Speed", "-5");
    b->setProperty("CurValue", "0");
    EXPECT_EQ(toZero, 1);
    b->setProperty("CurValue", "50");
    EXPECT_EQ(toOne, 1);
    EXPECT_EQ(toZero, 1);
}

TEST_F(GameProgressBarTest, AdvancesOncePerFrameUntilFull)
{
    QGUI::GameProgressBar* b = bar();
    b->setProperty("MaxValue", "100");
    b->setProperty("CurValue", "80");
    b->setProperty("Speed", "10");
    host.frametime = 0.5f;
    frame(); // the first update only notes the time
    EXPECT_FLOAT_EQ(b->getCurValue(), 80.0f);
    frame();
    EXPECT_FLOAT_EQ(b->getCurValue(), 85.0f);
    // A second update within the same host frame does not step.
    gui->Update();
    EXPECT_FLOAT_EQ(b->getCurValue(), 85.0f);
    frame();
    frame();
    EXPECT_FLOAT_EQ(b->getCurValue(), 95.0f);
    EXPECT_EQ(toOne, 0);
    frame();
    EXPECT_FLOAT_EQ(b->getCurValue(), 100.0f);
    EXPECT_FLOAT_EQ(b->getProgress(), 1.0f);
    EXPECT_EQ(toOne, 1);
    for (int i = 0; i < 5; ++i)
        frame();
    EXPECT_FLOAT_EQ(b->getCurValue(), 100.0f);
    EXPECT_EQ(toOne, 1);
    // Emptied by a script, it runs again.
    b->setProperty("CurValue", "0");
    frame();
    EXPECT_FLOAT_EQ(b->getCurValue(), 5.0f);
}

TEST_F(GameProgressBarTest, ANegativeSpeedStopsAtZeroInsteadOfRefilling)
{
    QGUI::GameProgressBar* b = running("100", "5", "-20");
    frame();
    EXPECT_FLOAT_EQ(b->getCurValue(), -5.0f);
    EXPECT_FLOAT_EQ(b->getProgress(), 0.05f);
    EXPECT_EQ(toZero, 1);
    for (int i = 0; i < 5; ++i)
        frame();
    EXPECT_FLOAT_EQ(b->getCurValue(), -5.0f);
    EXPECT_EQ(toZero, 1);
}

TEST_F(GameProgressBarTest, AZeroMaximumNeverRunsNorFiresEveryFrame)
{
    QGUI::GameProgressBar* b = running("0", "0", "10");
    for (int i = 0; i < 5; ++i)
        frame();
    EXPECT_FLOAT_EQ(b->getCurValue(), 0.0f);
    EXPECT_EQ(toOne, 0);
    // A value set above it fires once, on the change itself.
    b->setProperty("CurValue", "3");
    for (int i = 0; i < 5; ++i)
        frame();
    EXPECT_FLOAT_EQ(b->getCurValue(), 3.0f);
    EXPECT_EQ(toOne, 1);
}

TEST_F(GameProgressBarTest, AHiddenBarKeepsRunning)
{
    CEGUI::Window* parent = create("DefaultWindow", "parent", 0, 0, 400, 300);
    QGUI::GameProgressBar* b = create<QGUI::GameProgressBar>("H/Bar", "b", 10, 10, 120, 30, parent);
    b->setProperty("MaxValue", "100");
    b->setProperty("Speed", "10");
    parent->hide();
    host.frametime = 0.5f;
    frame();
    frame();
    frame();
    EXPECT_FLOAT_EQ(b->getCurValue(), 10.0f);
}

TEST_F(GameProgressBarTest, HandlersMayStopResetOrDestroyTheBar)
{
    QGUI::GameProgressBar* b = running("10", "0", "10");
    // The usual script: at the end the bar starts over.
    b->subscribeEvent(QGUI::GameProgressBar::EventAdvancedToOne, [b](const CEGUI::EventArgs&) {
        b->setProperty("CurValue", "0");
        return true;
    });
    frame();
    frame();
    EXPECT_EQ(toOne, 1);
    EXPECT_FLOAT_EQ(b->getCurValue(), 0.0f);
    frame();
    EXPECT_FLOAT_EQ(b->getCurValue(), 5.0f);

    QGUI::GameProgressBar* doomed = bar("doomed");
    doomed->setProperty("MaxValue", "1");
    doomed->setProperty("Speed", "10");
    doomed->subscribeEvent(QGUI::GameProgressBar::EventAdvancedToOne, [this, doomed](const CEGUI::EventArgs&) {
        destroy(doomed);
        return true;
    });
    frame();
    ASSERT_NO_THROW(frame());
    EXPECT_FALSE(CEGUI::WindowManager::getSingleton().isAlive(doomed));
    frame();
}

TEST_F(GameProgressBarTest, DestructionUnmarksTheWindowName)
{
    QGUI::GameProgressBar* b = bar("marked");
    gui->MarkWindowName("marked");
    destroy(b);
    EXPECT_FALSE(gui->UnmarkWindowName("marked"));
}

TEST_F(GameProgressBarTest, TheRendererFillsTheAreaByProgressAndCentresTheText)
{
    QGUI::GameProgressBar* b = bar("b", "H/ColouredBar");
    b->setProperty("MaxValue", "100");
    b->setProperty("CurValue", "50");
    b->setText("ab");
    frame();
    const std::vector<harness::Quad> back = quadsOfColour(kBackGround);
    const std::vector<harness::Quad> lights = quadsOfColour(0xFF20C040);
    const std::vector<harness::Quad> high = quadsOfColour(kHighLights);
    const std::vector<harness::Quad> frameQuads = quadsOfColour(kFrame);
    const std::vector<harness::Quad> text = glyphs();
    ASSERT_EQ(back.size(), 1u);
    ASSERT_EQ(lights.size(), 1u);
    ASSERT_EQ(high.size(), 1u);
    ASSERT_EQ(frameQuads.size(), 1u);
    ASSERT_EQ(text.size(), 2u);
    EXPECT_EQ(back[0].width, 120.0f);
    // The left half of the area (10 to 110 in the window), in the look's
    // light colour.
    EXPECT_EQ(lights[0].x, 100 + 10 - 1);
    EXPECT_EQ(lights[0].y, 100 + 5 - 1);
    EXPECT_EQ(lights[0].width, 50.0f);
    EXPECT_EQ(lights[0].height, 20.0f);
    EXPECT_EQ(high[0].width, 50.0f);
    // Painted back to front: background, lights, highlights, frame, text.
    EXPECT_GE(back[0].z, lights[0].z);
    EXPECT_GE(lights[0].z, high[0].z);
    EXPECT_GE(high[0].z, frameQuads[0].z);
    EXPECT_GT(frameQuads[0].z, text[0].z);
    // Two 8-pixel glyphs centred in the area, at its top.
    EXPECT_EQ(text[0].x, 100 + 10 + (100 - 16) / 2 - 1);
    EXPECT_EQ(text[0].y, 100 + 5 - 1);
    EXPECT_EQ(text[0].colour, 0xFFFFFF00u);

    // Game text is shown as it is, not read as markup.
    b->setText("[font='A']x");
    frame();
    EXPECT_EQ(glyphs().size(), 11u);

    b->setProperty("NeedText", "False");
    frame();
    EXPECT_TRUE(glyphs().empty());
    EXPECT_EQ(quadsOfColour(kBackGround).size(), 1u);
}

TEST_F(GameProgressBarTest, WithoutLookColoursLightsAndTextAreWhite)
{
    QGUI::GameProgressBar* b = bar();
    b->setProperty("MaxValue", "4");
    b->setProperty("CurValue", "1");
    b->setText("a");
    frame();
    const std::vector<harness::Quad> text = glyphs();
    ASSERT_EQ(text.size(), 1u);
    EXPECT_EQ(text[0].colour, 0xFFFFFFFFu);
    size_t lights = 0;
    for (const harness::Quad& q : quadsOfColour(kLights))
        lights += q.texture != text[0].texture && q.width == 25.0f;
    EXPECT_EQ(lights, 1u);
}

TEST_F(GameProgressBarTest, MissingLookPiecesOrAnotherWindowClassDrawWhatThereIs)
{
    QGUI::GameProgressBar* bare = bar("bare", "H/BareBar");
    bare->setText("x");
    CEGUI::Window* other = create("H/NotABar", "other", 300, 100, 120, 30);
    other->setText("y");
    const size_t errors = errorLines();
    ASSERT_NO_THROW(frame());
    EXPECT_EQ(errorLines(), errors);
    EXPECT_TRUE(glyphs().empty());
    EXPECT_EQ(quadsOfColour(kBackGround).size(), 1u); // the other window's
    EXPECT_TRUE(quadsOfColour(kLights).empty());      // its fill is empty
    EXPECT_EQ(quadsOfColour(kFrame).size(), 1u);
}

TEST_F(GameProgressBarTest, PropertiesReadAsWrittenAndRoundTripThroughLayouts)
{
    CEGUI::WindowManager& wm = CEGUI::WindowManager::getSingleton();
    QGUI::GameProgressBar* b = bar();
    const CEGUI::String fresh = wm.getLayoutAsString(*b);
    for (const char* name : {"MaxValue", "CurValue", "Speed", "NeedText"})
        EXPECT_EQ(fresh.find(name), CEGUI::String::npos) << name;
    EXPECT_EQ(b->getProperty("NeedText"), "True");

    const std::pair<const char*, const char*> values[] = {
        {"MaxValue", "250"}, {"CurValue", "12.5"}, {"Speed", "-2.5"}, {"NeedText", "False"}};
    for (const auto& v : values)
        b->setProperty(v.first, v.second);
    CEGUI::Window* copy = wm.loadLayoutFromString(wm.getLayoutAsString(*b));
    for (const auto& v : values)
        EXPECT_EQ(copy->getProperty(v.first), v.second) << v.first;
    EXPECT_FLOAT_EQ(static_cast<QGUI::GameProgressBar*>(copy)->getProgress(), 0.05f);
    wm.destroyWindow(copy);
}

TEST_F(GameProgressBarTest, WithoutTheMainObjectTheBarStandsStill)
{
    QGUI::GameProgressBar* b = running("100", "10", "10");
    QGUI::QGUIExtraFacoryManager& providers = QGUI::QGUIExtraFacoryManager::Instance();
    providers.SetMainObject(nullptr);
    frame();
    frame();
    EXPECT_FLOAT_EQ(b->getCurValue(), 10.0f);
    destroy(b);
    frame();
    providers.SetMainObject(gui);
}
} // namespace
