// The rich-text tests' fixture: lays text out the way the document widgets
// do, over the stand-ins, and shows the document as lines of blocks.
#pragma once

#include <gtest/gtest.h>

#include "RichTextStandIns.h"
#include "richtext/ColourTable.h"
#include "richtext/Document.h"
#include "richtext/ParserManager.h"
#include "richtext/RichTextServices.h"

namespace richtext_test
{
// Colours of the tests.
constexpr uint32_t kRed = 0xFFFF0000u;
constexpr uint32_t kClick1 = 0xFF00FF00u;
constexpr uint32_t kClick2 = 0xFF0000FFu;
constexpr uint32_t kClick3 = 0xFFFFFF00u;

// One block as the tests look at it.
struct BlockView
{
    std::string text;
    float left, top, right, bottom;
    uint32_t colour;
};

class RichTextTest : public ::testing::Test
{
protected:
    FixedFont font;
    FixedFont cmdFont;
    TestWindow window;
    FakeMain main;
    FakePictures pictures;
    QGUI::TextParser::CSimpleParserManager& manager = QGUI::TextParser::CSimpleParserManager::Instance();
    QGUI::IDoc* doc = nullptr;

    void SetUp() override
    {
        QGUI::TextBlocks::ServiceStandIns standIns{&main, &pictures, main.ItemColours()};
        QGUI::TextBlocks::SetServiceStandIns(&standIns);
        auto& colours = QGUI::TextParser::CColorPropertyManager::Instance();
        colours.RegisterColor("red", kRed, 0xFF000000u);
        colours.SetClickColor(kClick1, kClick2, kClick3);
        window.font = &font;
        window.cmdFont = &cmdFont;
        doc = manager.CreateDoc();
    }
    void TearDown() override
    {
        manager.DestroyDoc(doc);
        QGUI::TextBlocks::SetServiceStandIns(nullptr);
    }

    // Lays the window's text out the way the document widgets do.
    void layout(const CEGUI::String& text, float rightEdge)
    {
        window.text = text;
        doc->Clear();
        doc->SetLineSpacing(0.0f);
        doc->SetRightEdge(rightEdge);
        if (!text.empty())
        {
            doc->CommitItemRefs(&window);
            manager.Parse(&window, window.text, doc);
            doc->UpdateItemRefs();
        }
    }
    QGUI::TextBlocks::CRichTextDoc& richDoc() { return static_cast<QGUI::TextBlocks::CRichTextDoc&>(*doc); }
    // The blocks of each line.
    std::vector<std::vector<BlockView>> lines()
    {
        std::vector<std::vector<BlockView>> result;
        for (const QGUI::TextBlocks::CTextLine* line : richDoc().GetLines())
        {
            result.emplace_back();
            for (const QGUI::ITextBlock* block : line->GetBlocks())
            {
                const CEGUI::Rectf& r = block->GetRect();
                auto* text = dynamic_cast<const QGUI::TextBlocks::CPlainText*>(block);
                result.back().push_back(BlockView{block->GetText(&window).c_str(), r.left(), r.top(),
                                                  r.right(), r.bottom(),
                                                  text ? text->GetOwnTextColour() : 0});
            }
        }
        return result;
    }
    // The texts of each line, blocks joined by "|".
    std::vector<std::string> lineTexts()
    {
        std::vector<std::string> result;
        for (const auto& line : lines())
        {
            std::string joined;
            for (const BlockView& b : line)
                joined += (joined.empty() ? "" : "|") + b.text;
            result.push_back(joined);
        }
        return result;
    }
    // Every block of the document, top to bottom.
    std::vector<QGUI::ITextBlock*> blocks()
    {
        std::vector<QGUI::ITextBlock*> result;
        for (const QGUI::TextBlocks::CTextLine* line : richDoc().GetLines())
            for (QGUI::ITextBlock* block : line->GetBlocks())
                result.push_back(block);
        return result;
    }
};
} // namespace richtext_test
