// Command, name, item and emote texts: their blocks, the click messages and
// script calls they make, the guide records of their drawing, and the item
// references the document reports.
#include "RichTextTestSupport.h"

#include <CEGUI/Image.h>

#include "keyvaluessystem.h"

using namespace richtext_test;
using QGUI::TextBlocks::CCmdText;

namespace
{
// The keys of a message in order, "name=value".
std::vector<std::string> Keys(KeyValues* message)
{
    std::vector<std::string> keys;
    for (KeyValues* k = message->GetFirstSubKey(); k; k = k->GetNextKey())
        keys.push_back(std::string(k->GetName()) + "=" + k->GetString());
    return keys;
}

struct CommandCase
{
    const char* key;
    int opcode;
    const char* command; // sent for "{KEY 12:Shown}"
};

class CommandTagTest : public RichTextTest, public ::testing::WithParamInterface<CommandCase>
{
};

TEST_P(CommandTagTest, ClickPostsTheCommandAndTellsTheScripts)
{
    const CommandCase& c = GetParam();
    const std::string text = std::string("say {") + c.key + " 12:Shown}";
    layout(CEGUI::String(text), 1000.0f);
    const auto b = blocks();
    ASSERT_EQ(b.size(), 2u);
    auto* command = dynamic_cast<CCmdText*>(b[1]);
    ASSERT_NE(command, nullptr);
    EXPECT_EQ(command->GetOpcode(), c.opcode);
    EXPECT_EQ(command->GetOwnTextColour(), kClick1);
    EXPECT_EQ(command->GetSecondColour(), kClick2);

    EXPECT_TRUE(doc->OnMouseButton(&window, 45.0f, 10.0f, QGUI::DOC_BUTTON_LEFT, true));
    ASSERT_EQ(main.sent.size(), 1u);
    EXPECT_STREQ(main.sent[0]->GetName(), "_KeyVal_Cmd_Click");
    EXPECT_EQ(Keys(main.sent[0]),
              (std::vector<std::string>{std::string("_KeyVal_Cmd_Content=") + c.command,
                                        "_KeyVal_Cmd_Text=Shown", "_KeyVal_Cmd_WholeText=" + text,
                                        "_KeyVal_Cmd_Opcode=" + std::to_string(c.opcode),
                                        "_KeyVal_Cmd_MouseButton_Type=_KeyVal_Cmd_MouseButton_Left"}));
    ASSERT_FALSE(main.calls.empty());
    EXPECT_EQ(main.calls.back().name, "gFn_guide_cmd_text_on_click");
    EXPECT_EQ(main.calls.back().number, c.opcode);
    EXPECT_EQ(main.calls.back().text, c.command);
    EXPECT_EQ(main.statuses, (std::vector<std::pair<int, int>>{{QGUI_STATUS_MOUSE_OVER_UI, 1}}));
}

INSTANTIATE_TEST_SUITE_P(Keys, CommandTagTest,
                         ::testing::Values(CommandCase{"C", 0, "12"}, CommandCase{"N", 1, "Shown"},
                                           CommandCase{"CN", 2, "Shown"}, CommandCase{"Npc", 3, "12"},
                                           CommandCase{"I", 4, "12"}, CommandCase{"M", 5, "12"},
                                           CommandCase{"H", 6, "12"}, CommandCase{"XZC", 8, "12"},
                                           CommandCase{"Cl", 9, "12"}));

TEST_F(RichTextTest, ButtonsAndReleasesOfACommand)
{
    layout("{C /wave:Wave}", 1000.0f);
    const auto b = blocks();
    // A release updates the pressed state and is taken, without a click.
    EXPECT_TRUE(doc->OnMouseButton(&window, 5.0f, 5.0f, QGUI::DOC_BUTTON_LEFT, false));
    EXPECT_FALSE(b[0]->IsPressed());
    EXPECT_TRUE(main.sent.empty());
    EXPECT_TRUE(doc->OnMouseButton(&window, 5.0f, 5.0f, QGUI::DOC_BUTTON_RIGHT, true));
    EXPECT_TRUE(b[0]->IsPressed());
    EXPECT_TRUE(doc->OnMouseButton(&window, 5.0f, 5.0f, 2, true));
    ASSERT_EQ(main.sent.size(), 2u);
    EXPECT_STREQ(main.sent[0]->GetString("_KeyVal_Cmd_MouseButton_Type"), "_KeyVal_Cmd_MouseButton_Right");
    EXPECT_STREQ(main.sent[1]->GetString("_KeyVal_Cmd_MouseButton_Type"), "");
    // Outside every block nothing is taken.
    EXPECT_FALSE(doc->OnMouseButton(&window, 45.0f, 5.0f, QGUI::DOC_BUTTON_LEFT, true));
}

TEST_F(RichTextTest, ACommandWithoutArgumentsSendsTheEmptyCommand)
{
    // The second tag has no separator: no command, the colours of the first.
    layout("{C /a:x}{C y}", 1000.0f);
    auto* second = dynamic_cast<CCmdText*>(blocks()[1]);
    ASSERT_NE(second, nullptr);
    EXPECT_FALSE(second->HasCommand());
    EXPECT_EQ(second->GetOwnTextColour(), kClick1);
    EXPECT_TRUE(doc->OnMouseButton(&window, 15.0f, 5.0f, QGUI::DOC_BUTTON_LEFT, true));
    ASSERT_EQ(main.sent.size(), 1u);
    EXPECT_STREQ(main.sent[0]->GetString("_KeyVal_Cmd_Content"), "");
    EXPECT_STREQ(main.sent[0]->GetString("_KeyVal_Cmd_Text"), "y");
    EXPECT_EQ(main.calls.back().text, "");
}

TEST_F(RichTextTest, AWrappedNameSendsTheWholeNameFromEachPart)
{
    layout("{N x:Abcdefghijkl}", 100.0f);
    EXPECT_EQ(lineTexts(), (std::vector<std::string>{"Abcdefghij", "kl"}));
    for (QGUI::ITextBlock* block : blocks())
        EXPECT_EQ(static_cast<CCmdText*>(block)->GetCommand(&window), "Abcdefghijkl");
    EXPECT_TRUE(doc->OnMouseButton(&window, 5.0f, 25.0f, QGUI::DOC_BUTTON_LEFT, true));
    ASSERT_EQ(main.sent.size(), 1u);
    EXPECT_STREQ(main.sent[0]->GetString("_KeyVal_Cmd_Content"), "Abcdefghijkl");
    EXPECT_STREQ(main.sent[0]->GetString("_KeyVal_Cmd_Text"), "kl");
}

TEST_F(RichTextTest, ARefusedClickMessageIsDeleted)
{
    layout("{C /wave:Wave}{E 3}", 1000.0f);
    pictures.add(4, 14503, 10, 10);
    layout("{C /wave:Wave}{E 3}", 1000.0f);
    main.accept = false;
    const uint64_t nodes = KeyValuesSystem()->GetStats().liveNodes;
    doc->OnMouseButton(&window, 5.0f, 15.0f, QGUI::DOC_BUTTON_LEFT, true);
    doc->OnMouseButton(&window, 45.0f, 15.0f, QGUI::DOC_BUTTON_LEFT, true);
    EXPECT_EQ(main.refused, 2);
    EXPECT_EQ(KeyValuesSystem()->GetStats().liveNodes, nodes);
}

TEST_F(RichTextTest, ItemsTakeTheGameColourAndAreReportedOnce)
{
    std::vector<int> asked;
    main.itemColour = [&](const char* key, int id) -> uint32_t {
        EXPECT_STREQ(key, "item_color");
        asked.push_back(id);
        return id == 8 ? 0xFFAABBCCu : 0;
    };
    layout("{I 7:Sword}{I 8:Shield}{I 0x8:Shield}", 1000.0f);
    EXPECT_EQ(asked, (std::vector<int>{7, 8, 8}));
    const auto l = lines();
    EXPECT_EQ(l[0][0].colour, kClick1);
    EXPECT_EQ(l[0][1].colour, 0xFFAABBCCu);
    EXPECT_EQ(static_cast<CCmdText*>(blocks()[1])->GetSecondColour(), 0xFF000000u);
    EXPECT_EQ(main.callNames(),
              (std::vector<std::string>{"gFn_chatItem_add_ref(7)", "gFn_chatItem_add_ref(8)"}));

    main.calls.clear();
    layout("{I 7:Sword}{I 8:Shield}{I 0x8:Shield}", 1000.0f);
    EXPECT_TRUE(main.calls.empty());
    layout("{I 8:Shield} and {I 9:Helm}", 1000.0f);
    EXPECT_EQ(main.callNames(),
              (std::vector<std::string>{"gFn_chatItem_add_ref(9)", "gFn_chatItem_release_ref(7)"}));
}

TEST_F(RichTextTest, EmotesSendTheirNumber)
{
    struct
    {
        const char* text;
        int picture;
    } cases[] = {{"{E 12}", 14512}, {"{E x:12}", 14512}, {"{E 250}", 14699}, {"{E -1}", 14500}};
    for (const auto& c : cases)
    {
        layout(c.text, 1000.0f);
        const auto b = blocks();
        ASSERT_EQ(b.size(), 1u) << c.text;
        auto* emote = dynamic_cast<QGUI::TextBlocks::CEmoteBlock*>(b[0]);
        ASSERT_NE(emote, nullptr) << c.text;
        EXPECT_EQ(emote->group, 4);
        EXPECT_EQ(emote->number, c.picture) << c.text;
    }
    pictures.add(4, 14512, 24, 24);
    layout("{E 12}", 1000.0f);
    // A button on an emote clicks it, pressed or not.
    EXPECT_TRUE(doc->OnMouseButton(&window, 5.0f, 5.0f, QGUI::DOC_BUTTON_RIGHT, false));
    ASSERT_EQ(main.sent.size(), 1u);
    EXPECT_EQ(Keys(main.sent[0]),
              (std::vector<std::string>{"_KeyVal_Cmd_Opcode=7",
                                        "_KeyVal_Cmd_MouseButton_Type=_KeyVal_Cmd_MouseButton_Right",
                                        "_KeyVal_Cmd_PicIdx=12", "_KeyVal_Cmd_Content=_KeyVal_Cmd_Content",
                                        "_KeyVal_Cmd_Text=_KeyVal_Cmd_Text"}));
    EXPECT_TRUE(main.calls.empty());
    EXPECT_TRUE(main.statuses.empty());
}

// An image that records where it is drawn.
struct Brush final : CEGUI::Image
{
    CEGUI::String name = "brush";
    CEGUI::Sizef size{1, 1};
    CEGUI::Vector2f offset{0, 0};
    mutable std::vector<std::pair<CEGUI::Rectf, uint32_t>> drawn;
    const CEGUI::String& getName() const override { return name; }
    const CEGUI::Sizef& getRenderedSize() const override { return size; }
    const CEGUI::Vector2f& getRenderedOffset() const override { return offset; }
    void render(CEGUI::GeometryBuffer&, const CEGUI::Rectf& dest, const CEGUI::Rectf*,
                const CEGUI::ColourRect& colours) const override
    {
        drawn.emplace_back(dest, colours.d_top_left.getARGB());
    }
    void notifyDisplaySizeChanged(const CEGUI::Sizef&) override {}
};

TEST_F(RichTextTest, DrawnCommandsRegisterGuideRecordsAndShowTheirHover)
{
    Brush brush;
    NullBuffer buffer;
    const QGUI::DrawContext ctx{&buffer, nullptr, CEGUI::Rectf(0, 0, 200, 100), CEGUI::Rectf(10, 20, 210, 120)};
    layout("ab{Npc /go:Guard}", 1000.0f);
    doc->Draw(&window, ctx);
    doc->Draw(&window, ctx);
    ASSERT_EQ(main.guides.size(), 2u);
    EXPECT_EQ(main.guides[0].command, "/go");
    EXPECT_EQ(main.guides[0].window, "chat");
    EXPECT_EQ(main.guides[0].opcode, 3);
    EXPECT_EQ(main.guides[0].x, 10 + 20 + 25);
    EXPECT_EQ(main.guides[0].y, 20 + 10);
    // The plain text is drawn in the window font, the command in its own.
    EXPECT_EQ(font.drawn.size(), 2u);
    ASSERT_EQ(cmdFont.drawn.size(), 2u);
    EXPECT_EQ(cmdFont.drawn[0].colour, kClick1);

    window.brush = &brush;
    doc->OnMouseMove(&window, 30.0f, 10.0f, 0);
    cmdFont.drawn.clear();
    doc->Draw(&window, ctx);
    ASSERT_EQ(brush.drawn.size(), 1u);
    EXPECT_EQ(brush.drawn[0].first, CEGUI::Rectf(30, 20, 80, 40));
    EXPECT_EQ(brush.drawn[0].second, kClick2);
    EXPECT_EQ(cmdFont.drawn[0].colour, kClick3);

    // Without a command font or a brush the command is not drawn, and
    // nothing breaks.
    window.cmdFont = nullptr;
    window.brush = nullptr;
    cmdFont.drawn.clear();
    doc->Draw(&window, ctx);
    EXPECT_TRUE(cmdFont.drawn.empty());
    EXPECT_EQ(main.guides.size(), 4u);
}
} // namespace
