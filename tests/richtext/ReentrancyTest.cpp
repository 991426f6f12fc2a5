// Scripts and message handlers that run while the engine is busy: they lay
// the same window out again, clear it, destroy its document or start a
// parse of their own. Nothing freed may be touched (the sanitizer build
// checks), and the work in progress must come out as it would without them.
#include "RichTextTestSupport.h"

#include "richtext/PlainLayout.h"

using namespace richtext_test;
using QGUI::TextBlocks::CCmdText;

namespace
{
TEST_F(RichTextTest, AClickWhoseScriptReplacesTheTextKeepsWhatItSends)
{
    layout("{C /first:First}", 1000.0f);
    main.onCall = [&](const FakeMain::ScriptCall&) { layout("{C /second:Second} more", 1000.0f); };
    EXPECT_TRUE(doc->OnMouseButton(&window, 5.0f, 5.0f, QGUI::DOC_BUTTON_LEFT, true));
    main.onCall = nullptr;
    ASSERT_EQ(main.sent.size(), 1u);
    EXPECT_STREQ(main.sent[0]->GetString("_KeyVal_Cmd_Content"), "/first");
    EXPECT_EQ(main.calls[0].text, "/first");
    EXPECT_EQ(lineTexts(), std::vector<std::string>{"Second| more"});
}

TEST_F(RichTextTest, AClickWhoseMessageHandlerClearsTheWindowStillCallsTheScript)
{
    layout("{M /m:Manual}{E 1}", 1000.0f);
    main.onSend = [&](KeyValues*) { layout("", 1000.0f); };
    EXPECT_TRUE(doc->OnMouseButton(&window, 5.0f, 5.0f, QGUI::DOC_BUTTON_LEFT, true));
    ASSERT_EQ(main.calls.size(), 1u);
    EXPECT_EQ(main.calls[0].text, "/m");
    EXPECT_STREQ(main.sent[0]->GetString("_KeyVal_Cmd_WholeText"), "{M /m:Manual}{E 1}");

    pictures.add(4, 14501, 20, 20);
    layout("{E 1}", 1000.0f);
    EXPECT_TRUE(doc->OnMouseButton(&window, 5.0f, 5.0f, QGUI::DOC_BUTTON_LEFT, true));
    EXPECT_EQ(main.sent.size(), 2u);
    EXPECT_TRUE(richDoc().GetLines().empty());
}

TEST_F(RichTextTest, AParseStartedWhileAnItemAsksForItsColourLeavesTheOuterRunIntact)
{
    const char* outer = "a{I 5:Sword}b{C /c:d}{T red:e}f{N n:Name}";
    layout(outer, 1000.0f);
    const auto expected = lines();
    std::vector<std::string> expectedCommands;
    for (QGUI::ITextBlock* block : blocks())
        if (auto* c = dynamic_cast<CCmdText*>(block))
            expectedCommands.push_back(c->GetCommand(&window).c_str());

    TestWindow other;
    other.font = &font;
    other.colour = 0xFF0000FFu;
    other.text = "x{I 6:y}{C /z:w}{T red:v}{N m:u}";
    QGUI::IDoc* otherDoc = manager.CreateDoc();
    main.itemColour = [&](const char*, int id) -> uint32_t {
        if (id == 5)
        {
            otherDoc->Clear();
            otherDoc->SetRightEdge(1000.0f);
            otherDoc->CommitItemRefs(&other);
            manager.Parse(&other, other.text, otherDoc);
            otherDoc->UpdateItemRefs();
        }
        return 0;
    };
    layout(outer, 1000.0f);
    main.itemColour = nullptr;
    const auto got = lines();
    ASSERT_EQ(got.size(), expected.size());
    for (size_t i = 0; i < got.size(); ++i)
    {
        ASSERT_EQ(got[i].size(), expected[i].size());
        for (size_t j = 0; j < got[i].size(); ++j)
        {
            EXPECT_EQ(got[i][j].text, expected[i][j].text);
            EXPECT_EQ(got[i][j].colour, expected[i][j].colour) << got[i][j].text;
            EXPECT_EQ(got[i][j].right, expected[i][j].right);
        }
    }
    std::vector<std::string> commands;
    for (QGUI::ITextBlock* block : blocks())
        if (auto* c = dynamic_cast<CCmdText*>(block))
            commands.push_back(c->GetCommand(&window).c_str());
    EXPECT_EQ(commands, expectedCommands);
    EXPECT_EQ(manager.GetDefaultParser()->GetColors(), QGUI::TextParser::kDefaultColorPair);
    manager.DestroyDoc(otherDoc);
}

TEST_F(RichTextTest, AScriptThatRelaysTheSameWindowDuringItsParseBreaksNothing)
{
    int depth = 0;
    main.itemColour = [&](const char*, int) -> uint32_t {
        if (depth++ == 0)
            layout("{I 2:other} text {C /c:cmd}", 1000.0f);
        return 0;
    };
    layout("before {I 1:item} after {T red:coloured text}", 1000.0f);
    main.itemColour = nullptr;
    // The document holds whatever the two parses left; every block reads a
    // range of the window's current text.
    for (QGUI::ITextBlock* block : blocks())
        block->GetText(&window);
    doc->OnMouseMove(&window, 5.0f, 5.0f, 0);
}

TEST_F(RichTextTest, ADocumentDestroyedDuringItsParseGoesWhenTheParseEnds)
{
    window.text = "a{I 1:item}b{T red:c}";
    doc->SetRightEdge(1000.0f);
    doc->CommitItemRefs(&window);
    main.itemColour = [&](const char*, int) -> uint32_t {
        manager.DestroyDoc(doc);
        manager.DestroyDoc(doc); // given back twice: still one deletion
        return 0;
    };
    manager.Parse(&window, window.text, doc);
    main.itemColour = nullptr;
    doc = nullptr; // deleted by now; the leak checker would see it otherwise
}

TEST_F(RichTextTest, ItemReferenceScriptsMayLayTheWindowOutAgain)
{
    layout("{I 1:a}", 1000.0f);
    main.onCall = [&](const FakeMain::ScriptCall& call) {
        if (call.name == "gFn_chatItem_add_ref" && call.number == 2)
            layout("{I 3:c}", 1000.0f);
    };
    layout("{I 2:b}", 1000.0f);
    main.onCall = nullptr;
    EXPECT_EQ(main.callNames(),
              (std::vector<std::string>{"gFn_chatItem_add_ref(1)", "gFn_chatItem_add_ref(2)",
                                        "gFn_chatItem_add_ref(3)", "gFn_chatItem_release_ref(2)",
                                        "gFn_chatItem_release_ref(1)"}));
    EXPECT_EQ(lineTexts(), std::vector<std::string>{"c"});
}
} // namespace
