// The chat edit box: item pieces pushed by id and name, the encoded text
// built from the scripts' link texts, the piece limit, and scripts that
// misbehave while the text is encoded.
#include "TextInputHarness.h"
#include "widgets/ChatEditBox.h"

namespace
{
struct ChatEditBoxTest : harness::WidgetHarness
{
    QGUI::CChatEditBox* box = nullptr;

    void addLooks(harness::Style& s) override { looks::EditBox(s, "H/ChatEditBox", "QXGame/ChatEditBox", "Core/Editbox"); }
    void SetUp() override
    {
        harness::WidgetHarness::SetUp();
        box = create<QGUI::CChatEditBox>("H/ChatEditBox", "chat", 10, 10, 300, 20);
        ASSERT_NE(box, nullptr);
        ASSERT_EQ(run("links = 0\n"
                      "function gFn_make_chat_item_text(id)\n"
                      "  links = links + 1\n"
                      "  return '{I ' .. id .. ':[' .. id .. ']}'\n"
                      "end"),
                  "");
    }
    void link(const char* id, const char* name)
    {
        box->setProperty("PushId", id);
        box->setProperty("PushText", name);
    }
    std::string encoded() { return box->getProperty("EncodedText").c_str(); }
};

TEST_F(ChatEditBoxTest, PushedItemsAreAppendedAndEncodedAsLinks)
{
    box->setText("look: ");
    box->setCaretIndex(0);
    link("7", "Sword");
    EXPECT_EQ(box->getText(), "look: Sword");
    EXPECT_EQ(box->getProperty("EncodeNum"), "0");
    EXPECT_EQ(encoded(), "look: {I 7:[7]}");
    EXPECT_EQ(box->getProperty("EncodeNum"), "1");

    // The same name twice: first the first, then the second.
    box->setText(box->getText() + " and ");
    link("8", "Sword");
    link("4294967295", "Orb");
    EXPECT_EQ(encoded(), "look: {I 7:[7]} and {I 8:[8]}{I 4294967295:[4294967295]}");
    EXPECT_EQ(box->getEncodeNum(), 3u);
}

TEST_F(ChatEditBoxTest, ThePieceLimitLeavesTheRestAsItIs)
{
    link("1", "Axe");
    box->setText(box->getText() + " ");
    link("2", "Bow");
    box->setProperty("MaxEncodeNum", "1");
    EXPECT_EQ(encoded(), "{I 1:[1]} Bow");
    EXPECT_EQ(box->getProperty("EncodeNum"), "2");
    EXPECT_EQ(number("links"), 1);

    box->setProperty("MaxEncodeNum", "0");
    EXPECT_EQ(encoded(), "{I 1:[1]} {I 2:[2]}");
    EXPECT_EQ(box->getProperty("EncodeNum"), "2");
}

TEST_F(ChatEditBoxTest, PiecesGoWithTheTextOrWhenTheirNameIsGone)
{
    link("1", "Axe");
    box->setText("Axe edited");
    // Still a piece while the box is not empty: the name is found again.
    EXPECT_EQ(encoded(), "{I 1:[1]} edited");
    box->setText("");
    EXPECT_EQ(box->getPieceCount(), 0u);
    box->setText("Axe");
    EXPECT_EQ(encoded(), "Axe");
    EXPECT_EQ(box->getEncodeNum(), 0u);

    // A name not in the text is skipped and not counted.
    link("2", "Bow");
    box->setText("no bow here");
    EXPECT_EQ(encoded(), "no bow here");
    EXPECT_EQ(box->getEncodeNum(), 0u);
}

TEST_F(ChatEditBoxTest, AnIdWithoutItsNameLinksNothing)
{
    box->setText("hello");
    box->setProperty("PushId", "9");
    EXPECT_EQ(encoded(), "hello");
    EXPECT_EQ(box->getEncodeNum(), 0u);
    EXPECT_EQ(number("links"), 0);
}

TEST_F(ChatEditBoxTest, ANameTooLongForTheBoxIsNotPushed)
{
    box->setMaxTextLength(8);
    box->setText("hi ");
    link("3", "Long Name");
    EXPECT_EQ(box->getText(), "hi ");
    link("4", "Cap");
    EXPECT_EQ(encoded(), "hi {I 4:[4]}");
}

TEST_F(ChatEditBoxTest, ActionAndReadOnlyProperties)
{
    link("5", "Gem");
    EXPECT_EQ(box->getProperty("PushId"), "");
    EXPECT_EQ(box->getProperty("PushText"), "");
    EXPECT_EQ(box->getProperty("MaxEncodeNum"), "4294967295");
    box->setProperty("EncodedText", "forged");
    box->setProperty("EncodeNum", "9");
    EXPECT_EQ(box->getText(), "Gem");
    EXPECT_EQ(box->getEncodeNum(), 0u);
    // The edit box's own properties are there too.
    box->setProperty("Numeric", "True");
    EXPECT_TRUE(box->isNumericOnly());
    EXPECT_NE(box->FindSharePros("InsertText"), nullptr);
    EXPECT_NE(box->FindSharePros("PushId"), nullptr);
}

TEST_F(ChatEditBoxTest, LinkTextsFromFailingOrMeddlingScriptsAreSafe)
{
    link("1", "Axe");
    box->setText(box->getText() + " ");
    link("2", "Bow");
    // The link global fails: that link is empty, the rest goes on.
    ASSERT_EQ(run("function gFn_make_chat_item_text(id)\n"
                  "  if id == 1 then error('no link') end\n"
                  "  return '<' .. id .. '>'\n"
                  "end"),
              "");
    EXPECT_EQ(encoded(), " <2>");
    EXPECT_EQ(box->getEncodeNum(), 2u);

    // The global empties the box and pushes more while the text is encoded:
    // the encoding finishes on the text it started with.
    ASSERT_EQ(run("function gFn_make_chat_item_text(id)\n"
                  "  local w = CEGUI.System:getSingleton():getDefaultGUIContext():getRootWindow():getChild('chat')\n"
                  "  w:setText('')\n"
                  "  w:setProperty('PushId', '3')\n"
                  "  w:setProperty('PushText', 'Cup')\n"
                  "  return '{' .. id .. '}'\n"
                  "end"),
              "");
    EXPECT_EQ(encoded(), "{1} {2}");
    EXPECT_EQ(box->getText(), "Cup");

    // The global asks for the encoded text itself: the script system's
    // nesting limit ends the recursion with empty links.
    box->setText("");
    link("5", "Orb");
    ASSERT_EQ(run("function gFn_make_chat_item_text(id)\n"
                  "  local w = CEGUI.System:getSingleton():getDefaultGUIContext():getRootWindow():getChild('chat')\n"
                  "  return '<' .. w:getProperty('EncodedText') .. '>'\n"
                  "end"),
              "");
    const std::string deep = encoded();
    EXPECT_EQ(deep.substr(0, 2), "<<");
    EXPECT_EQ(box->getText(), "Orb");

    // Link text in UTF-8 from the script comes through whole.
    ASSERT_EQ(run("function gFn_make_chat_item_text(id) return '\xE7\x89\xA9' end"), "");
    EXPECT_EQ(box->getEncodedText(), CEGUI::String(reinterpret_cast<const CEGUI::utf8*>("\xE7\x89\xA9")));
}
} // namespace
