// The game edit box: numeric mode and its bound, insertion, the caret
// offset, the clipboard keys, and keys kept inside an editable box.
#include "TextInputHarness.h"
#include "widgets/GameEditBox.h"

namespace
{
struct GameEditBoxTest : input::TextInputHarness
{
    QGUI::CGameEditBox* box = nullptr;
    int invalid = 0;

    void addLooks(harness::Style& s) override
    {
        looks::EditBox(s, "H/GameEditBox", "QXGame/GameEditBox", "Core/Editbox");
        looks::EditBox(s, "H/RichContentEdit", "QXGame/RichContentEdit", "QXGame/RichContentEditRenderer");
    }
    void SetUp() override
    {
        input::TextInputHarness::SetUp();
        box = make("box");
    }
    QGUI::CGameEditBox* make(const char* name, const char* type = "H/GameEditBox", CEGUI::Window* parent = nullptr)
    {
        auto* b = create<QGUI::CGameEditBox>(type, name, 10, 10, 204, 20, parent);
        b->subscribeEvent(QGUI::CGameEditBox::EventInvalidEntryAttempted, [this](const CEGUI::EventArgs&) {
            ++invalid;
            return true;
        });
        b->activate();
        return b;
    }
    void type(const std::string& text)
    {
        for (char c : text)
            send(WM_CHAR, static_cast<unsigned char>(c));
    }
    std::string text() const { return box->getText().c_str(); }
};

TEST_F(GameEditBoxTest, NumericModeTakesDigitsAndClampsToTheMaximumAsUnsigned)
{
    struct Case
    {
        const char* max; // null: the default (no bound)
        const char* typed;
        const char* text;
        int events;
    } cases[] = {
        {"100", "123", "100", 1},
        {"100", "1a2", "12", 0},
        {"3000000000", "4000000000", "3000000000", 1},
        // A number over 32 bits does not wrap under the bound.
        {nullptr, "4294967296", "4294967295", 1},
        {"0", "5", "0", 1},
    };
    int n = 0;
    for (const Case& c : cases)
    {
        box = make(("num" + std::to_string(n++)).c_str());
        box->setProperty("Numeric", "True");
        if (c.max)
            box->setProperty("MaxNumber", c.max);
        invalid = 0;
        type(c.typed);
        EXPECT_EQ(text(), c.text) << c.typed;
        EXPECT_EQ(invalid, c.events) << c.typed;
        if (c.events)
        {
            EXPECT_EQ(box->getCaretIndex(), 0u) << c.typed;
        }
    }
}

TEST_F(GameEditBoxTest, InsertTextGoesInAtTheCaretOrForTheSelectionAndRefusalsChangeNothing)
{
    EXPECT_EQ(box->getProperty("InsertText"), "");
    box->setText("hello world");
    box->setCaretIndex(5);
    box->setProperty("InsertText", ",");
    EXPECT_EQ(text(), "hello, world");
    EXPECT_EQ(box->getCaretIndex(), 6u);
    EXPECT_EQ(box->getProperty("InsertText"), "");

    box->setSelection(7, 12);
    EXPECT_TRUE(box->insertText("there"));
    EXPECT_EQ(text(), "hello, there");
    EXPECT_EQ(box->getCaretIndex(), 12u);

    // Too long for the box: nothing changes, the selection stays.
    box->setMaxTextLength(13);
    box->setSelection(0, 5);
    EXPECT_FALSE(box->insertText("goodbye"));
    EXPECT_EQ(text(), "hello, there");
    EXPECT_EQ(box->getSelectionLength(), 5u);
    EXPECT_EQ(invalid, 0);

    // A numeric box refuses letters and numbers over its bound, with the
    // event, and keeps its selection.
    box->setMaxTextLength(100);
    box->setText("12");
    box->setProperty("Numeric", "True");
    box->setProperty("MaxNumber", "500");
    box->setSelection(0, 1);
    EXPECT_FALSE(box->insertText("x"));
    EXPECT_FALSE(box->insertText("99"));
    box->setProperty("MaxNumber", "4294967295");
    EXPECT_FALSE(box->insertText("99999999999"));
    EXPECT_EQ(text(), "12");
    EXPECT_EQ(box->getSelectionLength(), 1u);
    EXPECT_EQ(invalid, 3);
    box->setProperty("MaxNumber", "500");
    EXPECT_TRUE(box->insertText("4"));
    EXPECT_EQ(text(), "42");
}

TEST_F(GameEditBoxTest, TheCaretOffsetIsMeasuredAtTextChangesAndCappedAtTheInnerWidth)
{
    EXPECT_EQ(box->getCaratOffset(), 0.0f);
    type("abc");
    EXPECT_EQ(box->getCaratOffset(), 3 * kGlyphWidth);
    // Moving the caret changes no text.
    box->setCaretIndex(1);
    EXPECT_EQ(box->getCaratOffset(), 3 * kGlyphWidth);
    type("d");
    box->setCaretIndex(0);
    EXPECT_EQ(box->getCaratOffset(), 2 * kGlyphWidth);

    box->setText(std::string(100, 'x'));
    box->setCaretIndex(100);
    box->insertText("y");
    EXPECT_EQ(box->getCaratOffset(), box->getUnclippedInnerRect().get().getWidth());
}

TEST_F(GameEditBoxTest, ControlCXVCopyCutAndPasteThroughTheClipboard)
{
    box->setText("copy this text");
    box->setSelection(5, 9);
    EXPECT_TRUE(control('c'));
    EXPECT_EQ(clipboard(), "this");
    EXPECT_EQ(text(), "copy this text");

    EXPECT_TRUE(control('x'));
    EXPECT_EQ(text(), "copy  text");
    box->setCaretIndex(10);
    control('v');
    EXPECT_EQ(text(), "copy  textthis");
    EXPECT_EQ(box->getCaretIndex(), 14u);

    // Without Control the codes go to the box like any character (the test
    // font has no glyph for them, so nothing is typed).
    send(WM_CHAR, 22);
    EXPECT_EQ(text(), "copy  textthis");
}

TEST_F(GameEditBoxTest, ReadOnlyAndMaskedBoxesRefuseWhatTheyMust)
{
    ASSERT_TRUE(QGUI::SetClipboardText("clip"));
    box->setText("secret");
    box->setSelection(0, 3);
    box->setTextMasked(true);
    EXPECT_FALSE(box->copyToClipboard());
    EXPECT_FALSE(box->cutToClipboard());
    EXPECT_FALSE(box->pasteFromClipboard());
    EXPECT_EQ(clipboard(), "clip");
    EXPECT_EQ(text(), "secret");

    box->setTextMasked(false);
    box->setReadOnly(true);
    box->setSelection(0, 3);
    control('x');
    control('v');
    EXPECT_EQ(text(), "secret");
    control('c');
    EXPECT_EQ(clipboard(), "sec");
}

TEST_F(GameEditBoxTest, ANumericBoxPastesOnlyPositiveNumbers)
{
    box->setProperty("Numeric", "True");
    for (const char* refused : {"0", "-5", "12abc", " 7"})
    {
        ASSERT_TRUE(QGUI::SetClipboardText(refused));
        EXPECT_FALSE(box->pasteFromClipboard()) << refused;
        EXPECT_EQ(text(), "") << refused;
    }
    ASSERT_TRUE(QGUI::SetClipboardText("42"));
    EXPECT_TRUE(box->pasteFromClipboard());
    EXPECT_EQ(text(), "42");
    // Over the bound: refused with the event.
    box->setProperty("MaxNumber", "100");
    box->setCaretIndex(2);
    EXPECT_FALSE(box->pasteFromClipboard());
    EXPECT_EQ(text(), "42");
    EXPECT_EQ(invalid, 1);
}

TEST_F(GameEditBoxTest, KeysPressedInAnEditableBoxGoNoFurther)
{
    CEGUI::Window* panel = create("DefaultWindow", "panel", 0, 0, 300, 100);
    int panelKeys = 0;
    panel->subscribeEvent(CEGUI::Window::EventKeyDown, [&](const CEGUI::EventArgs&) {
        ++panelKeys;
        return false;
    });
    QGUI::CGameEditBox* inner = make("inner", "H/GameEditBox", panel);
    for (UINT key : {UINT('A'), UINT(VK_RETURN), UINT(VK_TAB), UINT(VK_F1)})
    {
        EXPECT_TRUE(send(WM_KEYDOWN, key)) << key;
        send(WM_KEYUP, key);
    }
    EXPECT_EQ(panelKeys, 0);
    EXPECT_TRUE(isNil("enter_runs"));

    // A read-only box lets them go on.
    inner->setReadOnly(true);
    send(WM_KEYDOWN, 'A');
    EXPECT_FALSE(send(WM_KEYDOWN, VK_RETURN));
    EXPECT_EQ(panelKeys, 2);
    EXPECT_EQ(number("enter_runs"), 1);
}

// Keys are kept by counting the box as the modal window while it handles
// them; a modal window a handler opens meanwhile stays modal.
TEST_F(GameEditBoxTest, AModalWindowChosenWhileAKeyIsHandledStays)
{
    CEGUI::GUIContext& ctx = CEGUI::System::getSingleton().getDefaultGUIContext();
    CEGUI::Window* dialog = create("DefaultWindow", "dialog", 300, 300, 50, 50);
    EXPECT_EQ(ctx.getModalWindow(), nullptr);
    box->subscribeEvent(CEGUI::Editbox::EventTextAccepted, [dialog](const CEGUI::EventArgs&) {
        dialog->setModalState(true);
        return true;
    });
    EXPECT_TRUE(send(WM_KEYDOWN, 'A'));
    EXPECT_EQ(ctx.getModalWindow(), nullptr);
    EXPECT_TRUE(send(WM_KEYDOWN, VK_RETURN));
    EXPECT_EQ(ctx.getModalWindow(), dialog);
}

TEST_F(GameEditBoxTest, PropertiesAndTheRichContentEdit)
{
    EXPECT_EQ(box->getProperty("Numeric"), "False");
    EXPECT_EQ(box->getProperty("MaxNumber"), "4294967295");
    box->setProperty("MaxNumber", "-1");
    EXPECT_EQ(box->getMaxNumber(), 0xFFFFFFFFu);
    EXPECT_EQ(box->FindSharePros("Numeric"), box->getPropertyInstance("Numeric"));
    EXPECT_EQ(box->FindSharePros("Text"), nullptr);

    // The same box under its own type and renderer.
    auto* rich = make("rich", "H/RichContentEdit");
    ASSERT_NE(dynamic_cast<QGUI::CRichContentEdit*>(rich), nullptr);
    rich->setProperty("Numeric", "True");
    rich->setProperty("MaxNumber", "9");
    type("7a8");
    EXPECT_EQ(rich->getText(), "9");
    frame();
    EXPECT_FALSE(quadsOfColour(looks::kEditEnabled).empty());
}
} // namespace
