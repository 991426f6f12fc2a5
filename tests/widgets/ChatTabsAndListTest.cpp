// The chat tab control, drawn like a plain window, and the multi-column
// list renderer's striped rows.
#include <algorithm>
#include <tuple>

#include "TextInputHarness.h"
#include "widgets/TabControlForChat.h"

namespace
{
const float kListX = 10, kListY = 10;
const float kItemsTop = kListY + 20;

// Where the renderer puts a quad edge given at v (half a pixel up and left).
int Px(float v)
{
    return int(v - 0.5f);
}

struct ChatTabsAndListTest : harness::WidgetHarness
{
    void addLooks(harness::Style& s) override
    {
        looks::Scrollbars(s);
        looks::List(s, "H/StripedList", true);
        looks::List(s, "H/PlainList", false);
        s.look("H/StockList", "CEGUI/MultiColumnList", "Core/MultiColumnList", {{"Enabled", looks::kListBase}},
               {{"ItemRenderingArea", "0,20,200,200"}}, {},
               looks::Child("H/ListHeader", "__auto_listheader__", "0 0", "0 0", "1 0", "0 20") +
                   looks::Child("H/VScrollbar", "__auto_vscrollbar__", "1 -8", "0 20", "1 0", "1 0") +
                   looks::Child("H/HScrollbar", "__auto_hscrollbar__", "0 0", "1 -8", "1 0", "1 0"));
        // The module's renderers paired with windows of another kind.
        s.look("H/BadList", "DefaultWindow", "QGUI/MultiColumnList", {{"Enabled", looks::kListBase}},
               {{"ItemRenderingArea", "0,0,10,10"}});
        looks::EditBox(s, "H/BadEdit", "DefaultWindow", "QXGame/RichContentEditRenderer");
        looks::Tabs(s, "H/ChatTabs", "QXGame/TabControlForChat");
        looks::Tabs(s, "H/StockTabs", "CEGUI/TabControl");
    }

    // A list with columns of the given header shares; cells[r] names the
    // columns of row r that hold an item ("-" for none).
    CEGUI::MultiColumnList* list(const char* type, std::vector<float> columns, std::vector<std::string> cells,
                                 float x = kListX)
    {
        auto* l = create<CEGUI::MultiColumnList>(type, type, x, kListY, 200, 200);
        for (size_t c = 0; c < columns.size(); ++c)
            l->addColumn("c", CEGUI::uint(c), CEGUI::UDim(columns[c], 0));
        for (size_t r = 0; r < cells.size(); ++r)
        {
            l->addRow();
            for (size_t c = 0; c < cells[r].size(); ++c)
            {
                if (cells[r][c] == '-')
                    continue;
                auto* item = new CEGUI::ListboxTextItem(std::string(1, cells[r][c]));
                item->setSelectionBrushImage("H/White");
                l->setItem(item, CEGUI::uint(c), CEGUI::uint(r));
            }
        }
        return l;
    }
    // The tops of the band quads drawn.
    std::vector<int> bandTops() const
    {
        std::vector<int> tops;
        for (const harness::Quad& q : quadsOfColour(looks::kOddColour))
            tops.push_back(q.y);
        return tops;
    }
    std::vector<std::pair<int, int>> glyphSpots() const
    {
        std::vector<std::pair<int, int>> spots;
        for (const harness::Quad& q : glyphs())
            spots.emplace_back(q.x, q.y);
        std::sort(spots.begin(), spots.end());
        return spots;
    }
};

TEST_F(ChatTabsAndListTest, EverySecondRowCarriesABandAcrossTheItemsArea)
{
    list("H/StripedList", {0.5f, 0.5f}, {"ab", "ab", "ab", "ab", "a-"});
    frame();
    const float row = kLineSpacing;
    EXPECT_EQ(bandTops(), (std::vector<int>{Px(kItemsTop + row), Px(kItemsTop + 3 * row)}));
    for (const harness::Quad& q : quadsOfColour(looks::kOddColour))
    {
        EXPECT_EQ(q.x, Px(kListX));
        EXPECT_EQ(q.width, 200.0f);
        EXPECT_EQ(q.height, kLineSpacing);
        // In front of the list's own imagery.
        EXPECT_LT(q.z, quadsOfColour(looks::kListBase).at(0).z);
    }
    EXPECT_EQ(glyphs().size(), 9u);
}

TEST_F(ChatTabsAndListTest, BandsStartAfterTheFirstItemAndEmptyCellsShiftNothing)
{
    list("H/StripedList", {0.5f, 0.5f}, {"--", "--", "-b", "a-", "--", "ab"});
    frame();
    const float row = kLineSpacing;
    // Rows 0 and 1 come before any item (and, empty, take no height): no
    // band on row 1; rows 3 and 5 (after the empty row 4) have one.
    EXPECT_EQ(bandTops(), (std::vector<int>{Px(kItemsTop + row), Px(kItemsTop + 2 * row)}));
    // The item of row 2 sits in the second column, 100 pixels in.
    const auto spots = glyphSpots();
    EXPECT_NE(std::find(spots.begin(), spots.end(), std::make_pair(Px(kListX + 100), Px(kItemsTop))), spots.end());
}

TEST_F(ChatTabsAndListTest, ScrolledSidewaysTheBandStillSpansTheAreaAndHiddenColumnsDrawNothing)
{
    CEGUI::MultiColumnList* l = list("H/StripedList", {0.5f, 0.5f, 0.5f}, {"abc", "abc"});
    frame();
    ASSERT_TRUE(l->getHorzScrollbar()->isVisible());
    l->getHorzScrollbar()->setScrollPosition(100);
    frame();
    const auto bands = quadsOfColour(looks::kOddColour);
    ASSERT_EQ(bands.size(), 1u);
    EXPECT_EQ(bands[0].x, Px(kListX));
    EXPECT_EQ(bands[0].width, 200.0f);
    // The first column is scrolled out: two glyphs per row are left.
    EXPECT_EQ(glyphs().size(), 4u);
    for (const harness::Quad& g : glyphs())
        EXPECT_GE(g.x, Px(kListX));
}

TEST_F(ChatTabsAndListTest, WithoutOddColourTheListDrawsAsTheStockOne)
{
    const std::vector<std::string> rows = {"ab", "ab", "ab"};
    list("H/PlainList", {0.5f, 0.5f}, rows);
    list("H/StockList", {0.5f, 0.5f}, rows, kListX + 250);
    frame();
    // Visible quads of each list, relative to the list.
    auto visible = [this](int left, int right) {
        std::vector<std::tuple<int, int, float, float, uint32_t>> out;
        for (const harness::Quad& q : quads())
            if ((q.colour >> 24) != 0 && q.x >= left && q.x < right)
                out.emplace_back(q.x - left, q.y, q.width, q.height, q.colour);
        std::sort(out.begin(), out.end());
        return out;
    };
    const auto ours = visible(int(kListX), int(kListX) + 200);
    EXPECT_FALSE(ours.empty());
    EXPECT_EQ(ours, visible(int(kListX) + 250, int(kListX) + 450));
}

TEST_F(ChatTabsAndListTest, TheChatTabControlDrawsItsOwnImagery)
{
    auto* chat = create<CEGUI::TabControl>("H/ChatTabs", "chat", 10, 300, 200, 100);
    auto* stock = create<CEGUI::TabControl>("H/StockTabs", "stock", 250, 300, 200, 100);
    ASSERT_NE(dynamic_cast<QGUI::CTabControlForChat*>(chat), nullptr);
    for (CEGUI::TabControl* tabs : {chat, stock})
    {
        CEGUI::Window* page = CEGUI::WindowManager::getSingleton().createWindow("DefaultWindow", "page");
        page->setText("All");
        tabs->addTab(page);
    }
    frame();
    const auto own = quadsOfColour(looks::kTabBase);
    ASSERT_EQ(own.size(), 1u);
    EXPECT_EQ(own[0].x, Px(10));
    EXPECT_EQ(own[0].width, 200.0f);
    // Both show their tab buttons.
    EXPECT_EQ(quadsOfColour(looks::kTabButton).size(), 2u);
}
} // namespace

namespace
{
// Which renderer a window gets is data: a look that pairs one of the
// module's renderers with a window of another kind draws nothing, and
// nothing breaks.
TEST_F(ChatTabsAndListTest, RenderersPairedWithAnotherKindOfWindowDrawNothing)
{
    create("H/BadList", "badList", 10, 10, 100, 100);
    CEGUI::Window* edit = create("H/BadEdit", "badEdit", 10, 120, 100, 20);
    edit->setText("text");
    frame();
    frame();
    EXPECT_TRUE(quadsOfColour(looks::kListBase).empty());
    EXPECT_TRUE(quadsOfColour(looks::kEditEnabled).empty());
}
} // namespace
