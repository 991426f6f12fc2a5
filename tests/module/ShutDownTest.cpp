// After ShutDown every operation of the main object and the input method
// answers its failure value and touches nothing.
#include "GuiFixture.h"

#include "core/IMEBase.h"

namespace
{
struct ShutDownTest : GuiFixture
{
    void addFiles() override
    {
        fs.files["resource\\UI\\schemes\\T.scheme"] =
            "<?xml version=\"1.0\" ?><GUIScheme version=\"5\" name=\"T\">"
            "<WindowRendererSet filename=\"CEGUICoreWindowRendererSet\" /></GUIScheme>";
        fs.files["resource\\UI\\lua_scripts\\touch.lua"] = "touched = (touched or 0) + 1";
    }
};

TEST_F(ShutDownTest, EveryOperationIsInertAfterShutDown)
{
    CEGUI::SchemeManager::getSingleton().createFromFile("T.scheme");
    ASSERT_EQ(run("calls = 0 function counted() calls = calls + 1 return 1 end "
                  "function FetchStringFn() calls = calls + 1 return 'x' end "
                  "function FetchNumberFn() calls = calls + 1 return 1 end "
                  "gFn_timely_gc = counted gFn_try_catch_focus_ui = counted"),
              "");
    HandleBase live;
    ASSERT_NE(gui->CreatePanel(&live, nullptr), nullptr);
    ASSERT_TRUE(gui->AddPanelToRoot(&live));
    gui->playSoundEffect(0, 0, "queued");
    ASSERT_TRUE(gui->ExecuteScpritFile("touch.lua"));

    gui->ShutDown();
    EXPECT_TRUE(logger->hasPrefix("QGUI::CQGUI::ShutDown: CostAll = "));
    // The schemes went.
    EXPECT_FALSE(CEGUI::SchemeManager::getSingleton().isDefined("T"));
    EXPECT_FALSE(gui->IsRunning());

    const size_t lines = logger->lines.size();
    const size_t draws = render.draws.size();
    host.curtime += 10.0f;
    host.frametime = 10.0f;
    gui->Update();
    EXPECT_FALSE(gui->ProcessMessage(nullptr, WM_MOUSEMOVE, 0, (20 << 16) | 20));
    EXPECT_FALSE(gui->ProcessMessage(nullptr, WM_KEYDOWN, VK_RETURN, 0));
    EXPECT_FALSE(gui->LoadUIStyle("T"));
    gui->ReloadStyleImageset("T", "", "tga");

    HandleBase fresh;
    EXPECT_EQ(gui->CreatePanel(&fresh, nullptr), nullptr);
    EXPECT_EQ(fresh.value, 0u);
    EXPECT_EQ(gui->CreateSheetPanel(&fresh, true), nullptr);
    EXPECT_EQ(gui->QueryPanel(&live), nullptr);
    EXPECT_FALSE(gui->IsPanelValid(&live));
    EXPECT_FALSE(gui->ShowPanel(&live, false));
    EXPECT_FALSE(gui->EnablePanel(&live, false));
    EXPECT_FALSE(gui->IsPanelVisible(&live));
    EXPECT_FALSE(gui->MovePanelToFront(&live, true));
    EXPECT_FALSE(gui->RedrawPanel(&live));
    EXPECT_FALSE(gui->SetPanelAsSheet(&live, 1));
    EXPECT_FALSE(gui->AddPanelToRoot(&live));
    EXPECT_FALSE(gui->AddToChildPanel(&live, &live));
    EXPECT_EQ(gui->GetPanelName(&live), nullptr);
    gui->HidePanel(&live);
    gui->FirePanelEvent(&live, "x");
    gui->ReleasePanel(&live);
    gui->ReleaseRootPanel(gui->GetRootPanelHandle());
    EXPECT_EQ(gui->GetPanelPool().liveCount(), 2u);  // nothing was released

    KeyValues* message = new KeyValues("_KeyVal_UpdateTitle");
    EXPECT_FALSE(gui->SendKeyVal(message));
    EXPECT_FALSE(gui->RecvKeyVal(message));
    EXPECT_FALSE(gui->QueryKeyVal(message, message));
    message->deleteThis();  // still the caller's

    EXPECT_FALSE(gui->ExecuteScpritFile("touch.lua"));
    EXPECT_EQ(gui->ExecuteScriptGlobal("counted"), -1);
    EXPECT_EQ(gui->CallScriptGlobalNumber("counted", 1), -1);
    EXPECT_EQ(gui->CallScriptFunction("counted", "%d", 1), -1);
    EXPECT_STREQ(gui->FetchString("k"), "");
    EXPECT_EQ(gui->FetchNumber("k"), 0.0);
    EXPECT_STREQ(gui->CallScriptGlobal2Strings("counted", "a", "b"), "");
    EXPECT_FALSE(gui->IsStatusOn(QGUI_STATUS_MOUSE_OVER_UI));
    EXPECT_FALSE(gui->SetStatus(0, 1));
    int32_t x = 7, y = 7;
    EXPECT_FALSE(gui->GetMousePosition(&x, &y));
    EXPECT_EQ(x, 7);
    gui->playSoundEffect(0, 0, "later");
    gui->QueueGuideCmdText("a", "b", 1, 2, 3);
    gui->Activate();
    EXPECT_FALSE(gui->IsActive());

    CIMEBase& ime = GetIMEBase();
    EXPECT_EQ(ime.EnableIme(1), 0);
    EXPECT_EQ(ime.SetCaretPosition(1, 2, 0, 0, 3), 0);
    LPARAM lParam = 0;
    bool trapped = false;
    EXPECT_FALSE(ime.ProcessMessage(nullptr, WM_CHAR, 'a', lParam, &trapped));
    QGUI::CQGUI::onImeChar(u'a');

    // Nothing ran, nothing was drawn, queued or logged; a second ShutDown
    // does nothing either.
    gui->ShutDown();
    EXPECT_EQ(number("calls"), 0);
    EXPECT_EQ(number("touched"), 1);
    EXPECT_EQ(render.draws.size(), draws);
    EXPECT_EQ(gui->GetSoundQueue().size(), 1u);
    EXPECT_TRUE(gui->GetGuideTexts().empty());
    EXPECT_TRUE(engine.received.empty());
    EXPECT_EQ(logger->lines.size(), lines);
}
} // namespace
