// The multiline input and edit box: keys kept inside, the clipboard keys,
// read-only boxes, and pastes against the maximum length.
#include "TextInputHarness.h"
#include "widgets/GameMultilineEditbox.h"

namespace
{
struct GameMultilineEditboxTest : input::TextInputHarness
{
    CEGUI::Window* panel = nullptr;
    int panelKeys = 0;

    void addLooks(harness::Style& s) override
    {
        looks::Scrollbars(s);
        looks::MultiLine(s, "H/MultilineEditbox", "QXGame/GameMultilineEditbox");
        looks::MultiLine(s, "H/MultilineInput", "QXGame/GameMultilineInput");
    }
    void SetUp() override
    {
        input::TextInputHarness::SetUp();
        panel = create("DefaultWindow", "panel", 0, 0, 400, 300);
        panel->subscribeEvent(CEGUI::Window::EventKeyDown, [this](const CEGUI::EventArgs&) {
            ++panelKeys;
            return false;
        });
    }
    template <class Box>
    Box* make(const char* type, const char* name)
    {
        Box* b = create<Box>(type, name, 10, 10, 200, 100, panel);
        b->activate();
        return b;
    }
};

TEST_F(GameMultilineEditboxTest, ControlKeysCopyCutAndPasteWithoutLineFeeds)
{
    auto* box = make<QGUI::CGameMultilineEditbox>("H/MultilineEditbox", "box");
    box->setText("first line\nsecond");
    box->setSelection(6, 10);
    control('x');
    EXPECT_EQ(clipboard(), "line");
    EXPECT_EQ(box->getText(), "first \nsecond\n");
    EXPECT_EQ(box->getCaretIndex(), 6u);

    ASSERT_TRUE(QGUI::SetClipboardText("a\r\nb\nc"));
    control('v');
    EXPECT_EQ(box->getText(), "first a\rbc\nsecond\n");
    EXPECT_EQ(box->getCaretIndex(), 10u);
    EXPECT_EQ(panelKeys, 0);
}

TEST_F(GameMultilineEditboxTest, APasteThatDoesNotFitChangesNothing)
{
    auto* box = make<QGUI::CGameMultilineEditbox>("H/MultilineEditbox", "box");
    box->setMaxTextLength(6);
    box->setText("abcd");
    box->setSelection(1, 3);
    ASSERT_TRUE(QGUI::SetClipboardText("wxyz"));
    // 4 - 2 + 4 = 6 characters: fits exactly.
    EXPECT_TRUE(box->pasteFromClipboard());
    EXPECT_EQ(box->getText(), "awxyzd\n");

    box->setSelection(0, 2);
    ASSERT_TRUE(QGUI::SetClipboardText("123"));
    EXPECT_FALSE(box->pasteFromClipboard());
    EXPECT_EQ(box->getText(), "awxyzd\n");
    EXPECT_EQ(box->getSelectionLength(), 2u);
    // The whole text selected, its own line break with it.
    box->setSelection(0, 7);
    EXPECT_TRUE(box->pasteFromClipboard());
    EXPECT_EQ(box->getText(), "123\n");
}

TEST_F(GameMultilineEditboxTest, AReadOnlyEditBoxOnlyCopiesAndLetsKeysGoOn)
{
    auto* box = make<QGUI::CGameMultilineEditbox>("H/MultilineEditbox", "box");
    box->setText("fixed");
    box->setReadOnly(true);
    box->setSelection(0, 3);
    ASSERT_TRUE(QGUI::SetClipboardText("pasted"));
    control('x');
    control('v');
    send(WM_CHAR, 'z');
    EXPECT_EQ(box->getText(), "fixed\n");
    control('c');
    EXPECT_EQ(clipboard(), "fix");

    panelKeys = 0;
    send(WM_KEYDOWN, 'A');
    EXPECT_EQ(panelKeys, 1);
    box->setReadOnly(false);
    EXPECT_TRUE(send(WM_KEYDOWN, 'A'));
    EXPECT_EQ(panelKeys, 1);
}

TEST_F(GameMultilineEditboxTest, TheInputKeepsEveryKeyAndHasNoClipboardKeys)
{
    auto* input = make<QGUI::CGameMultilineInput>("H/MultilineInput", "input");
    for (bool readOnly : {false, true})
    {
        input->setReadOnly(readOnly);
        for (UINT key : {UINT('A'), UINT(VK_RETURN), UINT(VK_ESCAPE)})
        {
            EXPECT_TRUE(send(WM_KEYDOWN, key)) << key;
            send(WM_KEYUP, key);
        }
    }
    EXPECT_EQ(panelKeys, 0);
    EXPECT_TRUE(isNil("enter_runs"));

    input->setReadOnly(false);
    input->setText("abc");
    input->setSelection(0, 3);
    control('x');
    EXPECT_EQ(input->getText(), "abc\n");
    EXPECT_EQ(clipboard(), "<none>");
}
} // namespace
