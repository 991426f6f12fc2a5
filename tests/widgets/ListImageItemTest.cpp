// The list image item: the picture its text names, measured and drawn in a
// list row, over the selection brush. Drawn here by a window that lays its
// items out as a list does, one row under the other.
#include <gtest/gtest.h>

#include <CEGUI/CEGUI.h>

#include <memory>
#include <string>
#include <vector>

#include "WidgetHarness.h"
#include "widgets/ListImageItem.h"
#include "widgets/WidgetFactories.h"

namespace
{
// A window that draws list items into rows of its own.
class RowsWindow : public CEGUI::Window
{
public:
    RowsWindow(const CEGUI::String& type, const CEGUI::String& name) : CEGUI::Window(type, name) {}

    struct Row
    {
        const CEGUI::ListboxItem* item;
        CEGUI::Rectf area; // window pixels
        float alpha;
        bool clipped;      // clip to the window's top 10 pixels
    };
    std::vector<Row> rows;

protected:
    void populateGeometryBuffer() override
    {
        const CEGUI::Rectf top(0, 0, getPixelSize().d_width, 10);
        for (const Row& row : rows)
            row.item->draw(getGeometryBuffer(), row.area, row.alpha, row.clipped ? &top : nullptr);
    }
};

const uint32_t kBrush = 0xFF00FF00;
// The list at (100, 50) as the host is handed it: the renderer moves quads
// half a pixel up and left, and the host's positions are whole pixels.
const int kListX = 100 - 1;
const int kListY = 50 - 1;

struct ListImageItemTest : harness::WidgetHarness
{
    void addStyleFiles() override
    {
        fs.files["resource\\UI\\imagesets\\L.imageset"] =
            "<?xml version=\"1.0\" ?><Imageset version=\"2\" name=\"L\" imagefile=\"H.tga\" autoScaled=\"false\">"
            "<Image name=\"Sixteen\" xPos=\"0\" yPos=\"0\" width=\"16\" height=\"16\" />"
            "<Image name=\"Wide\" xPos=\"0\" yPos=\"16\" width=\"40\" height=\"10\" /></Imageset>";
    }
    void SetUp() override
    {
        WidgetHarness::SetUp();
        if (HasFatalFailure())
            return;
        CEGUI::ImageManager::getSingleton().loadImageset("L.imageset");
        static QGUI::CWidgetFactory<RowsWindow> factory("T/Rows");
        if (!CEGUI::WindowFactoryManager::getSingleton().isFactoryPresent("T/Rows"))
            CEGUI::WindowFactoryManager::getSingleton().addFactory(&factory);
        list = create<RowsWindow>("T/Rows", "rows", 100, 50, 300, 200);
    }

    RowsWindow* list = nullptr;

    std::unique_ptr<CEGUI::ListboxImageItem> item(const char* text)
    {
        return std::make_unique<CEGUI::ListboxImageItem>(text);
    }
    // Draws the rows alone and answers the quads.
    std::vector<harness::Quad> draw(std::vector<RowsWindow::Row> rows)
    {
        list->rows = std::move(rows);
        list->invalidate();
        frame();
        return quads();
    }
};
} // namespace

TEST_F(ListImageItemTest, TheTextNamesTheImageInEitherNotation)
{
    struct Case
    {
        const char* text;
        float width, height;
    } cases[] = {
        {"set:L image:Sixteen", 16, 16},
        {"  set:L   image:Wide  ", 40, 10},
        {"L/Wide", 40, 10},
        {"set:L image:Nothing", 0, 0},
        {"set:L", 0, 0},
        {"image:Sixteen set:L", 0, 0},
        {"L/", 0, 0},
        {"", 0, 0},
        {"Sixteen", 0, 0},
    };
    for (const Case& c : cases)
    {
        const CEGUI::Sizef size = item(c.text)->getPixelSize();
        EXPECT_EQ(size, CEGUI::Sizef(c.width, c.height)) << c.text;
        EXPECT_EQ(item(c.text)->getImage() != nullptr, c.width > 0) << c.text;
    }
    // A long text is not a buffer's end.
    EXPECT_EQ(item(("set:" + std::string(500, 'x') + " image:" + std::string(500, 'y')).c_str())->getImage(),
              nullptr);
}

TEST_F(ListImageItemTest, TheImageKeepsItsSizeInTheMiddleOfTheRowWithItsOwnColours)
{
    auto icon = item("set:L image:Sixteen");
    const std::vector<harness::Quad> drawn = draw({{icon.get(), CEGUI::Rectf(0, 0, 100, 20), 0.5f, false}});
    ASSERT_EQ(drawn.size(), 1u);
    // 42 pixels in, 2 down, at the list's position; alpha does not reach it.
    EXPECT_EQ(drawn[0].x, kListX + 42);
    EXPECT_EQ(drawn[0].y, kListY + 2);
    EXPECT_EQ(drawn[0].width, 16);
    EXPECT_EQ(drawn[0].height, 16);
    EXPECT_EQ(drawn[0].colour, 0xFFFFFFFFu);
}

TEST_F(ListImageItemTest, ASelectedItemDrawsTheBrushOverTheRowFadedByAlphaThenTheImage)
{
    auto icon = item("L/Sixteen");
    auto blank = item("L/None");
    for (auto* i : {icon.get(), blank.get()})
    {
        i->setSelectionBrushImage(&CEGUI::ImageManager::getSingleton().get("H/White"));
        i->setSelectionColours(CEGUI::Colour(kBrush));
        i->setSelected(true);
    }
    const std::vector<harness::Quad> drawn = draw({{icon.get(), CEGUI::Rectf(0, 0, 100, 20), 0.5f, false},
                                                   {blank.get(), CEGUI::Rectf(0, 20, 100, 40), 1.0f, false}});
    ASSERT_EQ(drawn.size(), 3u);
    EXPECT_EQ(drawn[0].x, kListX);
    EXPECT_EQ(drawn[0].width, 100);
    EXPECT_EQ(drawn[0].height, 20);
    EXPECT_EQ(drawn[0].colour, 0x7F00FF00u);
    EXPECT_EQ(drawn[1].colour, 0xFFFFFFFFu);
    EXPECT_EQ(drawn[1].x, kListX + 42);
    // An item naming no image draws only its brush.
    EXPECT_EQ(drawn[2].y, kListY + 20);
    EXPECT_EQ(drawn[2].colour, kBrush);

    // Unselected, or without a brush, nothing but the image.
    icon->setSelected(false);
    blank->setSelectionBrushImage(nullptr);
    EXPECT_EQ(draw({{icon.get(), CEGUI::Rectf(0, 0, 100, 20), 1.0f, false},
                    {blank.get(), CEGUI::Rectf(0, 20, 100, 40), 1.0f, false}})
                  .size(),
              1u);
}

TEST_F(ListImageItemTest, TheImageIsClippedAndRowsNarrowerThanItOverhangEvenly)
{
    auto wide = item("L/Wide");
    // A row of 20 x 4: the 40 x 10 image hangs 10 and 3 pixels out.
    std::vector<harness::Quad> drawn = draw({{wide.get(), CEGUI::Rectf(50, 20, 70, 24), 1.0f, false}});
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].x, kListX + 40);
    EXPECT_EQ(drawn[0].y, kListY + 17);
    // Clipped to the top 10 pixels of the window: 3 pixels of it show.
    drawn = draw({{wide.get(), CEGUI::Rectf(0, 0, 40, 16), 1.0f, true}});
    ASSERT_EQ(drawn.size(), 1u);
    EXPECT_EQ(drawn[0].y, kListY + 3);
    EXPECT_FLOAT_EQ(drawn[0].height, 7);
}

TEST_F(ListImageItemTest, AnImageThatGoesAwayIsNoLongerDrawnOrMeasured)
{
    auto icon = item("L/Sixteen");
    EXPECT_EQ(icon->getPixelSize(), CEGUI::Sizef(16, 16));
    CEGUI::ImageManager::getSingleton().destroy("L/Sixteen");
    EXPECT_EQ(icon->getPixelSize(), CEGUI::Sizef(0, 0));
    EXPECT_TRUE(draw({{icon.get(), CEGUI::Rectf(0, 0, 100, 20), 1.0f, false}}).empty());
    // Its text names it again once it is back.
    CEGUI::ImageManager::getSingleton().loadImageset("L.imageset");
    EXPECT_EQ(icon->getPixelSize(), CEGUI::Sizef(16, 16));
}
