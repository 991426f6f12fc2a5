// The rich-text engine inside the started module: measuring with a real
// font, and the ways to the game, the scripts and the host that the module
// provides (engine client, Lua globals, guide records, the renderer's
// geometry buffers and the host's pictures).
#include "GuiFixture.h"
#include "RichTextStandIns.h"

#include "render/QXRenderer.h"
#include "richtext/Document.h"
#include "richtext/ParserManager.h"
#include "richtext/TextBlocks.h"

namespace
{
using richtext_test::RecordingSink;
using richtext_test::TestWindow;

struct PictureRender : fake::Render
{
    fake::Texture picture{30, 40, nullptr};
    IQXHostTexture* GetPicture(uint32_t group, uint32_t number) override
    {
        return group == 3 && number == 17 ? &picture : nullptr;
    }
};

struct RichTextInModule : GuiFixture
{
    PictureRender pictureRender;
    const CEGUI::Font* font = nullptr;

    void addFiles() override
    {
        // The host's render interface with a picture stands in for the plain one.
        fake::Factories::render = &pictureRender;
        ASSERT_TRUE(fs.addDiskFile("resource\\UI\\fonts\\DejaVuSans.ttf",
                                   "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
        fs.files["resource\\UI\\fonts\\R.font"] =
            "<?xml version=\"1.0\" ?><Font version=\"3\" name=\"R-12\" filename=\"DejaVuSans.ttf\" "
            "type=\"FreeType\" size=\"12\" nativeHorzRes=\"1024\" nativeVertRes=\"768\" autoScaled=\"false\"/>";
    }
    void SetUp() override
    {
        GuiFixture::SetUp();
        font = &CEGUI::FontManager::getSingleton().createFromFile("R.font");
    }
};

TEST_F(RichTextInModule, MeasuringAgreesWithTheFont)
{
    QGUI::CFontMetrics metrics(font);
    EXPECT_EQ(metrics.GetLineSpacing(), font->getLineSpacing());
    const CEGUI::String texts[] = {
        "Hello, world", "tab\tand\nbreak", CEGUI::String(reinterpret_cast<const CEGUI::utf8*>("\xE4\xB8\xAD\xE6\x96\x87 text")),
        CEGUI::String(1, 0x10FFFF) + "unknown glyph", "WWWWWWWWWWWWWWWWWWWWiiiiiiiiiii"};
    for (const CEGUI::String& text : texts)
    {
        EXPECT_EQ(metrics.GetTextExtent(text, 0, text.length()), font->getTextExtent(text)) << text;
        EXPECT_EQ(metrics.GetTextExtent(text, 3, 5), font->getTextExtent(text.substr(3, 5))) << text;
        for (float px : {-1.0f, 0.0f, 5.0f, 23.5f, 60.0f, 1000.0f})
            EXPECT_EQ(metrics.GetCharsThatFit(text, 2, 7, px), font->getCharAtPixel(text.substr(2, 7), px))
                << text << " at " << px;
        // Stopped early, the width is still too wide.
        const float full = font->getTextExtent(text);
        const float stopped = metrics.GetTextExtent(text, 0, text.length(), 2.0f, full / 2);
        EXPECT_GT(2.0f + stopped, full / 2) << text;
        EXPECT_LE(stopped, full) << text;
    }
}

TEST_F(RichTextInModule, ClicksItemsGuidesAndPicturesReachTheGameAndTheScripts)
{
    ASSERT_EQ(run("function FetchColourBySetFn(key, id) return id == 12 and 'FFAABBCC' or '' end "
                  "refs = '' function gFn_chatItem_add_ref(id) refs = refs .. id .. ';' end "
                  "function gFn_guide_cmd_text_on_click(op, cmd) clicked = op .. ' ' .. cmd end"),
              "");
    engine.answer = [](KeyValues* request, KeyValues* reply) {
        if (std::string(request->GetName()) != "GameCreatureProvider")
            return false;
        reply->SetInt("CreatureId", 99);
        return true;
    };
    QGUI::CFontMetrics metrics(font);
    TestWindow window;
    window.font = &metrics;
    window.cmdFont = &metrics;
    window.text = "{I 12:Sword} {C /wave:Wave}{P 3:17}";
    auto& manager = QGUI::TextParser::CSimpleParserManager::Instance();
    QGUI::IDoc* doc = manager.CreateDoc();
    doc->SetRightEdge(400.0f);
    doc->CommitItemRefs(&window);
    manager.Parse(&window, window.text, doc);
    doc->UpdateItemRefs();
    EXPECT_EQ(text("refs"), "12;");

    auto& lines = static_cast<QGUI::TextBlocks::CRichTextDoc*>(doc)->GetLines();
    ASSERT_EQ(lines.size(), 1u);
    const auto& blocks = lines[0]->GetBlocks();
    ASSERT_EQ(blocks.size(), 4u);
    EXPECT_EQ(static_cast<QGUI::TextBlocks::CPlainText*>(blocks[0])->GetOwnTextColour(), 0xFFAABBCCu);
    EXPECT_EQ(blocks[3]->GetRect().getSize(), CEGUI::Sizef(30, 40));

    // Drawn into a module geometry buffer: text and the guide record of the
    // command; the picture goes out with the game's creature.
    auto& buffer = static_cast<QXUI::CQXGeometryBuffer&>(
        CEGUI::System::getSingleton().getRenderer()->createGeometryBuffer());
    RecordingSink sink;
    doc->Draw(&window, QGUI::DrawContext{&buffer, &sink, CEGUI::Rectf(0, 0, 400, 100),
                                         CEGUI::Rectf(0, 0, 400, 100)});
    EXPECT_GT(buffer.getVertexCount(), 0u);
    EXPECT_EQ(buffer.getZOffset(), 0.0f);
    CEGUI::System::getSingleton().getRenderer()->destroyGeometryBuffer(buffer);
    ASSERT_EQ(gui->GetGuideTexts().size(), 2u);
    EXPECT_EQ(gui->GetGuideTexts()[0].first, "12");
    EXPECT_EQ(gui->GetGuideTexts()[0].a, 4);
    EXPECT_EQ(gui->GetGuideTexts()[1].first, "/wave");
    EXPECT_EQ(gui->GetGuideTexts()[1].second, "chat");
    ASSERT_EQ(sink.requests.size(), 1u);
    EXPECT_EQ(sink.requests[0].creature, 99u);

    const CEGUI::Rectf& command = blocks[2]->GetRect();
    EXPECT_TRUE(doc->OnMouseButton(&window, command.left() + 1, command.top() + 1,
                                   QGUI::DOC_BUTTON_LEFT, true));
    ASSERT_EQ(engine.received.size(), 1u);
    EXPECT_STREQ(engine.received[0]->GetString("_KeyVal_Cmd_Content"), "/wave");
    EXPECT_EQ(text("clicked"), "0 /wave");
    manager.DestroyDoc(doc);
}
} // namespace
