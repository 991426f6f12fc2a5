// Styles loaded again and again, also from the scripts the loading itself
// calls, while a tooltip is on screen.
#include "GuiFixture.h"

namespace
{
// A style named `name`: font, imageset with the mouse arrow, a tooltip look
// and a scheme mapping the tooltip type to it.
void AddStyle(fake::FileSystem& fs, const std::string& name, const std::string& tooltipType)
{
    fs.files["resource\\UI\\fonts\\" + name + ".font"] =
        "<?xml version=\"1.0\" ?><Font version=\"3\" name=\"" + name +
        "-12\" filename=\"DejaVuSans.ttf\" type=\"FreeType\" size=\"12\" nativeHorzRes=\"1024\" "
        "nativeVertRes=\"768\" autoScaled=\"false\"/>";
    fs.files["resource\\UI\\imagesets\\" + name + "Look.imageset"] =
        "<?xml version=\"1.0\" ?><Imageset version=\"2\" name=\"" + name + "Look\" imagefile=\"" + name +
        "Look.tga\" nativeHorzRes=\"1024\" nativeVertRes=\"768\" autoScaled=\"false\">"
        "<Image name=\"MouseArrow\" xPos=\"0\" yPos=\"0\" width=\"16\" height=\"16\" /></Imageset>";
    fs.files["resource\\UI\\looknfeel\\" + name + ".looknfeel"] =
        "<?xml version=\"1.0\" ?><Falagard version=\"7\"><WidgetLook name=\"" + name + "/Tooltip\">"
        "<NamedArea name=\"TextArea\"><Area><Dim type=\"LeftEdge\"><AbsoluteDim value=\"0\" /></Dim>"
        "<Dim type=\"TopEdge\"><AbsoluteDim value=\"0\" /></Dim><Dim type=\"Width\"><UnifiedDim scale=\"1\" "
        "type=\"Width\" /></Dim><Dim type=\"Height\"><UnifiedDim scale=\"1\" type=\"Height\" /></Dim></Area>"
        "</NamedArea><StateImagery name=\"Enabled\" /><StateImagery name=\"Disabled\" /></WidgetLook></Falagard>";
    fs.files["resource\\UI\\schemes\\" + name + "Look.scheme"] =
        "<?xml version=\"1.0\" ?><GUIScheme version=\"5\" name=\"" + name + "Look\"><Imageset filename=\"" +
        name + "Look.imageset\" /><LookNFeel filename=\"" + name + ".looknfeel\" />"
        "<WindowRendererSet filename=\"CEGUICoreWindowRendererSet\" /><FalagardMapping windowType=\"" +
        tooltipType + "\" targetType=\"CEGUI/Tooltip\" renderer=\"Core/Tooltip\" lookNFeel=\"" + name +
        "/Tooltip\" /></GUIScheme>";
}

struct StyleReloadTest : GuiFixture
{
    void addFiles() override
    {
        ASSERT_TRUE(fs.addDiskFile("resource\\UI\\fonts\\DejaVuSans.ttf",
                                   "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
        AddStyle(fs, "S", "QXLook/Tooltip");
        AddStyle(fs, "T", "TLook/Tooltip");
        // Style P draws with a pixmap font, "P-px", glyph images "P-px/g".
        AddStyle(fs, "P", "PLook/Tooltip");
        fs.files["resource\\UI\\imagesets\\PGlyphs.imageset"] =
            "<?xml version=\"1.0\" ?><Imageset version=\"2\" name=\"P-px\" imagefile=\"PGlyphs.tga\" "
            "autoScaled=\"false\"><Image name=\"g\" xPos=\"0\" yPos=\"0\" width=\"8\" height=\"12\" /></Imageset>";
        fs.files["resource\\UI\\fonts\\P.font"] =
            "<?xml version=\"1.0\" ?><Font version=\"3\" name=\"P-px\" filename=\"PGlyphs.imageset\" "
            "type=\"Pixmap\" autoScaled=\"false\"><Mapping codepoint=\"97\" image=\"g\" horzAdvance=\"8\" /></Font>";
    }
    CEGUI::GUIContext& context() { return CEGUI::System::getSingleton().getDefaultGUIContext(); }
};

TEST_F(StyleReloadTest, ATooltipIsKeptAcrossReloadsAndTakenUpAgain)
{
    ASSERT_TRUE(gui->LoadUIStyle("S"));
    CEGUI::Tooltip* s = context().getDefaultTooltipObject();
    ASSERT_NE(s, nullptr);
    EXPECT_EQ(s->getType(), "QXLook/Tooltip");
    ASSERT_TRUE(gui->LoadUIStyle("S"));
    EXPECT_EQ(context().getDefaultTooltipObject(), s);

    ASSERT_TRUE(gui->LoadUIStyle("T"));
    CEGUI::Tooltip* t = context().getDefaultTooltipObject();
    ASSERT_NE(t, nullptr);
    EXPECT_EQ(t->getType(), "TLook/Tooltip");
    EXPECT_TRUE(CEGUI::WindowManager::getSingleton().isAlive(s));
    ASSERT_TRUE(gui->LoadUIStyle("S"));
    EXPECT_EQ(context().getDefaultTooltipObject(), s);

    // A tooltip a script destroys is made anew by the next load.
    CEGUI::WindowManager::getSingleton().destroyWindow(s);
    ASSERT_TRUE(gui->LoadUIStyle("T"));
    ASSERT_TRUE(gui->LoadUIStyle("S"));
    ASSERT_NE(context().getDefaultTooltipObject(), nullptr);
    EXPECT_EQ(context().getDefaultTooltipObject()->getType(), "QXLook/Tooltip");
}

TEST_F(StyleReloadTest, FontsLoadedAgainAreTheLiveFontsAndStillDraw)
{
    const QGUIRect box{10, 10, 200, 40};
    const QGUIColours white{0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF, 0xFFFFFFFF};
    for (const std::string style : {"P", "S"})
    {
        ASSERT_EQ(run("gui = QGUI.CQGUI:GetGlobalObject() "
                      "assert(gui:LoadUIStyle('" + style + "')) assert(gui:LoadUIStyle('" + style + "'))"),
                  "");
        const std::string font = gui->GetFontName(0);
        ASSERT_TRUE(gui->LoadFont(1, style.c_str()));
        ASSERT_TRUE(gui->LoadFont(1, style.c_str()));
        EXPECT_EQ(gui->GetFontName(1), font);
        for (int index : {0, 1})
        {
            render.draws.clear();
            EXPECT_GT(gui->DrawText("aaa", &box, &white, nullptr, 0, index, nullptr), 0) << style;
            EXPECT_EQ(render.draws.size(), 3u) << style;
        }
    }
    EXPECT_TRUE(CEGUI::ImageManager::getSingleton().isDefined("P-px/g"));
    EXPECT_FALSE(logger->hasPrefix("Deleted image"));
}

TEST_F(StyleReloadTest, StylesLoadedFromTheStylesOwnCallsWhileATooltipShows)
{
    // The tooltip timings come from a script that loads styles itself.
    ASSERT_EQ(run("gui = QGUI.CQGUI:GetGlobalObject() depth = 0 flip = false "
                  "function FetchNumberFn(k) "
                  "  if k == 'tooltip_display' and depth < 3 then depth = depth + 1 flip = not flip "
                  "    gui:LoadUIStyle(flip and 'T' or 'S') depth = depth - 1 end "
                  "  if k == 'tooltip_hover' then return 0 end return 5 end"),
              "");
    ASSERT_TRUE(gui->LoadUIStyle("S"));
    CEGUI::Window* tipped = CEGUI::WindowManager::getSingleton().createWindow("DefaultWindow", "tipped");
    tipped->setArea(CEGUI::URect(CEGUI::UDim(0, 500), CEGUI::UDim(0, 400), CEGUI::UDim(0, 800), CEGUI::UDim(0, 600)));
    tipped->setTooltipText("a tooltip with some words in it");
    gui->GetRootWindow()->addChild(tipped);

    unsigned seed = 1;
    for (int i = 0; i < 200; ++i)
    {
        seed = seed * 1103515245u + 12345u;
        const int x = 480 + static_cast<int>((seed >> 8) % 330);
        const int y = 380 + static_cast<int>((seed >> 16) % 230);
        gui->ProcessMessage(nullptr, WM_MOUSEMOVE, 0, (y << 16) | x);
        gui->Update();
        if (i % 7 == 3)
        {
            ASSERT_TRUE(gui->LoadUIStyle(i % 2 ? "S" : "T"));
        }
    }
    ASSERT_NE(context().getDefaultTooltipObject(), nullptr);
    HandleBase later;
    EXPECT_NE(gui->CreatePanel(&later, nullptr), nullptr);
    EXPECT_TRUE(gui->AddPanelToRoot(&later));
    gui->Update();
}
} // namespace
