#include "GuiFixture.h"

#include "KeyValues.h"

namespace
{
// "中" in UTF-8 and in the local code page (GBK).
const char kUtf8[] = "\xE4\xB8\xAD";
const char kLocal[] = "\xD6\xD0";

struct MessageTest : GuiFixture
{
};

TEST_F(MessageTest, SentTreesReachTheEngineInTheLocalCodePage)
{
    KeyValues* message = new KeyValues(kUtf8);
    message->SetInt(nullptr, 5);
    message->SetString((std::string("k") + kUtf8).c_str(), kUtf8);
    message->SetWString("wide", u"\u4E2D");
    KeyValues* inner = message->FindKey("block", true);
    inner->SetString("deep", kUtf8);
    ASSERT_TRUE(gui->SendKeyVal(message));
    ASSERT_EQ(engine.received.size(), 1u);
    EXPECT_STREQ(message->GetName(), kLocal);
    EXPECT_STREQ(message->GetString((std::string("k") + kLocal).c_str()), kLocal);
    EXPECT_STREQ(message->FindKey("block")->GetString("deep"), kLocal);
    EXPECT_EQ(std::u16string(message->GetWString("wide")), u"\u4E2D");

    // A refused message stays the sender's.
    engine.accept = false;
    KeyValues* refused = new KeyValues("x");
    EXPECT_FALSE(gui->SendKeyVal(refused));
    engine.received.pop_back();
    refused->deleteThis();
    EXPECT_FALSE(gui->SendKeyVal(nullptr));
}

TEST_F(MessageTest, QueriesConvertTheRequestOnly)
{
    engine.answer = [](KeyValues* request, KeyValues* reply) {
        reply->SetString("echo", request->GetString("ask"));
        reply->SetString("raw", "\xE4\xB8\xAD");
        return true;
    };
    KeyValues* request = new KeyValues("GameObjectProperty");
    KeyValues* reply = new KeyValues("");
    request->SetString("ask", kUtf8);
    EXPECT_TRUE(gui->QueryKeyVal(request, reply));
    EXPECT_STREQ(reply->GetString("echo"), kLocal);
    EXPECT_STREQ(reply->GetString("raw"), kUtf8);
    EXPECT_FALSE(gui->QueryKeyVal(request, nullptr));
    EXPECT_FALSE(gui->QueryKeyVal(nullptr, reply));
    request->deleteThis();
    reply->deleteThis();
}

struct NoEngineMessageTest : GuiFixture
{
    NoEngineMessageTest() { withEngine = false; }
};

TEST_F(NoEngineMessageTest, WithoutAnEngineMessagesReachTheParsers)
{
    // Taken by its parser and destroyed with it (ASan sees a double free or
    // a leak otherwise).
    EXPECT_TRUE(gui->SendKeyVal(new KeyValues("_KeyVal_UpdateTitle")));
    EXPECT_TRUE(gui->RecvKeyVal(new KeyValues("_KeyVal_UpdateTitle", "title", "x")));

    // No parser: refused, untouched, still the caller's.
    KeyValues* other = new KeyValues("_keyval_updatetitle");
    EXPECT_FALSE(gui->RecvKeyVal(other));
    EXPECT_FALSE(gui->SendKeyVal(other));
    EXPECT_STREQ(other->GetName(), "_keyval_updatetitle");
    other->deleteThis();
    EXPECT_FALSE(gui->RecvKeyVal(nullptr));
    EXPECT_FALSE(gui->QueryKeyVal(nullptr, nullptr));

    // Sounds without an engine are refused and deleted by the update.
    gui->playSoundEffect(0, 0, "click");
    gui->Update();
}

struct StyleTest : GuiFixture
{
    void addFiles() override
    {
        ASSERT_TRUE(fs.addDiskFile("resource\\UI\\fonts\\DejaVuSans.ttf",
                                   "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf"));
        fs.files["resource\\UI\\fonts\\S.font"] =
            "<?xml version=\"1.0\" ?><Font version=\"3\" name=\"S-12\" filename=\"DejaVuSans.ttf\" "
            "type=\"FreeType\" size=\"12\" nativeHorzRes=\"1024\" nativeVertRes=\"768\" autoScaled=\"false\"/>";
        fs.files["resource\\UI\\imagesets\\SLook.imageset"] =
            "<?xml version=\"1.0\" ?><Imageset version=\"2\" name=\"SLook\" imagefile=\"SLook.tga\" "
            "nativeHorzRes=\"1024\" nativeVertRes=\"768\" autoScaled=\"false\">"
            "<Image name=\"MouseArrow\" xPos=\"0\" yPos=\"0\" width=\"16\" height=\"16\" /></Imageset>";
        fs.files["resource\\UI\\schemes\\SLook.scheme"] =
            "<?xml version=\"1.0\" ?><GUIScheme version=\"5\" name=\"SLook\">"
            "<Imageset filename=\"SLook.imageset\" />"
            "<LookNFeel filename=\"S.looknfeel\" />"
            "<WindowRendererSet filename=\"CEGUICoreWindowRendererSet\" />"
            "<FalagardMapping windowType=\"QXLook/Tooltip\" targetType=\"CEGUI/Tooltip\" renderer=\"Core/Tooltip\" lookNFeel=\"S/Tooltip\" />"
            "</GUIScheme>";
        fs.files["resource\\UI\\looknfeel\\S.looknfeel"] =
            "<?xml version=\"1.0\" ?><Falagard version=\"7\"><WidgetLook name=\"S/Tooltip\">"
            "<NamedArea name=\"TextArea\"><Area><Dim type=\"LeftEdge\"><AbsoluteDim value=\"0\" /></Dim>"
            "<Dim type=\"TopEdge\"><AbsoluteDim value=\"0\" /></Dim><Dim type=\"Width\"><UnifiedDim scale=\"1\" type=\"Width\" /></Dim>"
            "<Dim type=\"Height\"><UnifiedDim scale=\"1\" type=\"Height\" /></Dim></Area></NamedArea>"
            "<StateImagery name=\"Enabled\" /><StateImagery name=\"Disabled\" /></WidgetLook></Falagard>";
    }
};

TEST_F(StyleTest, LoadingAStyleSetsFontCursorTooltipAndTimings)
{
    ASSERT_EQ(run("asked = '' function FetchNumberFn(k) asked = asked .. k .. ';' "
                  "if k == 'tooltip_hover' then return 0.25 end if k == 'tooltip_display' then return 4 end return 1 end"),
              "");
    EXPECT_TRUE(gui->LoadUIStyle("S"));
    EXPECT_TRUE(CEGUI::FontManager::getSingleton().isDefined("S-12"));
    CEGUI::GUIContext& ctx = CEGUI::System::getSingleton().getDefaultGUIContext();
    ASSERT_NE(ctx.getMouseCursor().getDefaultImage(), nullptr);
    EXPECT_EQ(ctx.getMouseCursor().getDefaultImage()->getName(), "SLook/MouseArrow");
    EXPECT_EQ(ctx.getDefaultTooltipObject()->getType(), "QXLook/Tooltip");
    ASSERT_NE(ctx.getDefaultTooltipObject(), nullptr);
    EXPECT_FLOAT_EQ(ctx.getDefaultTooltipObject()->getHoverTime(), 0.25f);
    EXPECT_FLOAT_EQ(ctx.getDefaultTooltipObject()->getDisplayTime(), 4.0f);
    EXPECT_EQ(text("asked"), "tooltip_hover;tooltip_display;tooltip_fade;");
    // The style's texture came through the host as a .tga.
    bool loaded = false;
    for (const std::string& l : render.loaded)
        loaded = loaded || l == "tga:resource\\UI\\imagesets\\SLook.tga";
    EXPECT_TRUE(loaded);

    // Loading again works; a style without an imageset answers false.
    EXPECT_TRUE(gui->LoadUIStyle("S"));
    fs.files["resource\\UI\\fonts\\N.font"] = fs.files["resource\\UI\\fonts\\S.font"];
    EXPECT_FALSE(gui->LoadUIStyle("N"));
    EXPECT_FALSE(gui->LoadUIStyle("Nothing"));
    EXPECT_FALSE(gui->LoadUIStyle(nullptr));
}

TEST_F(StyleTest, ReloadingTheImagesetReadsTheVariant)
{
    ASSERT_TRUE(gui->LoadUIStyle("S"));
    render.loaded.clear();
    gui->ReloadStyleImageset("S", "", "tga");
    gui->ReloadStyleImageset("S", "Night", "tga");
    gui->ReloadStyleImageset("Missing", "", "tga");
    EXPECT_EQ(render.loaded, (std::vector<std::string>{"tga:resource\\UI\\imagesets\\SLook.tga",
                                                       "tga:resource\\UI\\imagesets\\SLook_Night.tga"}));
}
} // namespace
