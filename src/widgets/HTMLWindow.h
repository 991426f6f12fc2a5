// The web-page window: a window over which the host's native web control
// shows a page. The window makes the control when it is built, keeps it
// over its inner area in screen pixels, shows it while the window is shown
// in the interface, opens the address of its "URL" property and releases
// the control when it goes. One callback object answers every control: it
// lets only the addresses of the web-address check through and tells the
// user about every other one.
#pragma once

#include <CEGUI/Rect.h>
#include <CEGUI/WindowFactory.h>

#include <cstddef>

#include "IWebCtrl.h"
#include "core/WebWindowSet.h"
#include "widgets/QXWindow.h"

namespace QGUI
{
class CHTMLWindow;

// The longest part of a refused address the refusal message shows, in
// bytes; a longer address is cut there and ends with "...".
constexpr size_t kMaxShownWebAddress = 256;

// The one callback of the module's web controls. Its owner is the control
// made last (with its window), until that window's control goes.
class CWebCallBack final : public IWebCallBack
{
public:
    static CWebCallBack& Instance();

    void OnCreated(void*) override {}
    // Allowed addresses show the owner's control when its window is shown;
    // a refused one shows the refusal message ("sys_error_dangerous_url1",
    // the address, "sys_error_dangerous_url2", caption "error") unless the
    // module has no main object. Any failure refuses.
    bool OnBeforeNavigate(const char* address, void* reserved) override;
    void OnNavigateComplete(const char*) override {}
    void OnTitleChange(const char*) override {}
    // A message box with the text, an empty caption and an OK button.
    void OnShowMessage(const char* text) override;
    void OnNewWindow(const char*, void*) override {}

    void SetOwner(IWebCtrl* control, CHTMLWindow* window);
    // Clears the owner when it is this control.
    void ForgetOwner(const IWebCtrl* control);
    IWebCtrl* GetOwner() const { return m_pOwner; }

private:
    IWebCtrl* m_pOwner = nullptr;
    CHTMLWindow* m_pOwnerWindow = nullptr;
};

class CHTMLWindow : public QXWindow, public IWebWindow
{
public:
    static const CEGUI::String WidgetTypeName; // "QXGame/HTMLWindow"

    CHTMLWindow(const CEGUI::String& type, const CEGUI::String& name);
    ~CHTMLWindow() override;

    CEGUI::Property* FindSharePros(const CEGUI::String& name) const override;
    void WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const override;

    const CEGUI::String& getURL() const { return m_URL; }
    // Stores a new address and has the control open it; the same address
    // again opens nothing.
    void setURL(const CEGUI::String& url);
    // The native control; null before it is made, without one, and once it
    // is released.
    IWebCtrl* getWebCtrl() const { return m_pWebCtrl; }

    // Makes the native control for the window (its factory calls this once
    // the window is built). Without a main object, a main window or a
    // control the window stays a plain window.
    void onConstructionEnded();
    // Places the control over the window's inner area again.
    void UpdatePlacement() override;
    // Whether the page shows: the window is shown in the interface.
    bool isPageShown() const { return isShownInContext(); }
    // Shows the control, when the window is shown (an allowed navigation).
    void showPageIfShown();

    // Whether any web-page window has its control.
    static bool IsAnyOpen();
    // Places every web-page window's control again (the main window moved).
    static void UpdateAllPlacements();

    void notifyScreenAreaChanged(bool recursive = true) override;

protected:
    void onSized(CEGUI::ElementEventArgs& e) override;
    void onMoved(CEGUI::ElementEventArgs& e) override;
    void onShown(CEGUI::WindowEventArgs& e) override;
    void onHidden(CEGUI::WindowEventArgs& e) override;
    void onDestructionStarted(CEGUI::WindowEventArgs& e) override;
    void drawSelf(const CEGUI::RenderingContext& ctx) override;
    // The window shows no game object.
    void refreshGameObject() override {}

    static CEGUI::ShareProSet SharePropertySet;

private:
    // Where the control goes: the inner area in screen pixels, and whether
    // it was left unscaled.
    WebCtrlRect placement(bool* unscaled) const;
    // Places the control when the inner area is not the one last placed.
    void placeIfMoved();
    // Tells the control to show or hide when that differs from what it was
    // last told.
    void followVisibility();
    void showControl(bool show);
    // Releases the control, once; the window then has none.
    void releaseControl();
    // The window's area and visibility change with its ancestors' (and
    // with the root the interface shows) without a notice to it: each frame
    // the control follows them.
    void followWindow();
    void joinFrameFollowing();
    void leaveFrameFollowing();
    static bool FollowAll(const CEGUI::EventArgs& args);

    CEGUI::String m_URL;
    IWebCtrl* m_pWebCtrl = nullptr;
    // The unclipped inner rectangle last placed.
    CEGUI::Rectf m_LastInnerRect{0, 0, 0, 0};
    bool m_bControlShown = false;
    HWND m_hMainWindow = nullptr;
};

// Makes web-page windows and makes their controls once they are built.
class CHTMLWindowFactory : public CEGUI::WindowFactory
{
public:
    explicit CHTMLWindowFactory(const CEGUI::String& type) : CEGUI::WindowFactory(type) {}
    CEGUI::Window* createWindow(const CEGUI::String& name) override;
    void destroyWindow(CEGUI::Window* window) override { delete window; }

    // The factory, built on first use with its window type.
    static CEGUI::WindowFactory& Instance(const char* type);
};
} // namespace QGUI
