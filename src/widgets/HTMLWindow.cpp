#include "widgets/HTMLWindow.h"

#include <CEGUI/GUIContext.h>
#include <CEGUI/RenderQueue.h>
#include <CEGUI/RenderingSurface.h>
#include <CEGUI/System.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "IQEngineClient.h"
#include "IQGUI.h"
#include "core/Saturate.h"
#include "strtools.h"
#include "widgets/QGUIExtraFacoryManager.h"
#include "widgets/SharedProperties.h"
#include "widgets/WebAddressCheck.h"
#include "winservices.h"

namespace QGUI
{
const CEGUI::String CHTMLWindow::WidgetTypeName("QXGame/HTMLWindow");

namespace HTMLWindowProperty
{
QGUI_PROPERTY(URL, CHTMLWindow, StringText, "URL",
              "Property to get/set if this web ctrl's url.  Value is a string.", "",
              &CHTMLWindow::getURL, &CHTMLWindow::setURL);
} // namespace HTMLWindowProperty

namespace
{
HTMLWindowProperty::URL s_URL;

CWebCallBack s_WebCallBack;

// A localized text of the main object, copied (the main object keeps its
// answer only until its next one).
std::string Localized(IQGUI& main, const char* key)
{
    const char* text = main.FetchString(key);
    return text ? text : "";
}

// The address as the refusal message shows it: at most kMaxShownWebAddress
// bytes, not cut inside a UTF-8 sequence, in the local code page.
std::string ShownAddress(const char* address)
{
    std::string shown = address ? address : "";
    if (shown.size() > kMaxShownWebAddress)
    {
        size_t cut = kMaxShownWebAddress;
        while (cut > 0 && (static_cast<unsigned char>(shown[cut]) & 0xC0) == 0x80)
            --cut;
        shown.resize(cut);
        shown += "...";
    }
    return Utf8ToAnsi(shown.c_str(), "");
}

// Windows with a control, followed once a frame.
std::vector<CHTMLWindow*> s_WithControl;

// The refusal message for an address, in the local code page.
std::string RefusalMessage(IQGUI& main, const char* address)
{
    std::string message = Localized(main, "sys_error_dangerous_url1");
    message += ShownAddress(address);
    message += Localized(main, "sys_error_dangerous_url2");
    return message;
}

// The module's main window, as the engine client's record names it.
HWND MainWindowOf(IQGUI& main)
{
    const auto* record = static_cast<const QMainWindowRecord*>(main.GetMainWindow());
    return record ? static_cast<HWND>(record->hwnd) : nullptr;
}
} // namespace

CEGUI::ShareProSet CHTMLWindow::SharePropertySet{&s_URL};

// --- the callback ---

CWebCallBack& CWebCallBack::Instance()
{
    return s_WebCallBack;
}

void CWebCallBack::SetOwner(IWebCtrl* control, CHTMLWindow* window)
{
    m_pOwner = control;
    m_pOwnerWindow = control ? window : nullptr;
}

void CWebCallBack::ForgetOwner(const IWebCtrl* control)
{
    if (control && control == m_pOwner)
        SetOwner(nullptr, nullptr);
}

bool CWebCallBack::OnBeforeNavigate(const char* address, void*)
{
    try
    {
        if (IsWebAddressAllowed(address))
        {
            if (m_pOwnerWindow)
                m_pOwnerWindow->showPageIfShown();
            return true;
        }
        // The page can be told nothing without the main object's texts.
        IQGUI* main = MainObject();
        if (!main)
            return false;
        const std::string message = RefusalMessage(*main, address);
        const std::string caption = Localized(*main, "error");
        MessageBoxA(nullptr, message.c_str(), caption.c_str(), MB_OK);
        return false;
    }
    catch (...)
    {
        return false;
    }
}

void CWebCallBack::OnShowMessage(const char* text)
{
    try
    {
        const std::string local = Utf8ToAnsi(text ? text : "", "");
        MessageBoxA(nullptr, local.c_str(), "", MB_OK);
    }
    catch (...)
    {
    }
}

// --- the window ---

CHTMLWindow::CHTMLWindow(const CEGUI::String& type, const CEGUI::String& name) : QXWindow(type, name)
{
    SharePropertySet.applyTo(*this);
}

// A window deleted without being destroyed first still lets its control go.
CHTMLWindow::~CHTMLWindow()
{
    releaseControl();
}

CEGUI::Property* CHTMLWindow::FindSharePros(const CEGUI::String& name) const
{
    if (CEGUI::Property* own = SharePropertySet.GetpProperty(name))
        return own;
    return QXWindow::FindSharePros(name);
}

void CHTMLWindow::WriteSharePropToXML(CEGUI::XMLSerializer& xml, int& count) const
{
    QXWindow::WriteSharePropToXML(xml, count);
    writeSharedSet(SharePropertySet, xml, count);
}

void CHTMLWindow::onConstructionEnded()
{
    if (m_pWebCtrl)
        return;
    try
    {
        IQGUI* main = MainObject();
        if (!main)
            return;
        const HWND mainWindow = MainWindowOf(*main);
        const CreateInterfaceFn factory = main->GetInterfaceFactory(0);
        if (!mainWindow || !factory)
            return;
        IWebCtrl* control = static_cast<IWebCtrl*>(factory(WEBCTRL_INTERFACE_VERSION, nullptr));
        if (!control)
            return;
        bool unscaled = true;
        const WebCtrlRect rect = placement(&unscaled);
        if (!control->Create(WEBCTRL_STYLE_CHILD, &rect, mainWindow, GetWindowThreadProcessId(mainWindow, nullptr)))
        {
            control->Release();
            return;
        }
        m_pWebCtrl = control;
        m_hMainWindow = mainWindow;
        joinFrameFollowing();
        control->SetCallBack(&CWebCallBack::Instance());
        CWebCallBack::Instance().SetOwner(control, this);
        // Joining the web windows shows the system cursor over the page.
        QGUIExtraFacoryManager::Instance().RegisterWebWindow(this);
        SetFocus(mainWindow);
        // A control starts where the window is and as the window is.
        UpdatePlacement();
        showControl(isPageShown());
    }
    catch (...)
    {
    }
}

WebCtrlRect CHTMLWindow::placement(bool* unscaled) const
{
    const CEGUI::Rectf inner = getUnclippedInnerRect().get();
    // Whole screen pixels, truncated toward zero.
    QGUIRect r{SaturateToInt32(inner.left()), SaturateToInt32(inner.top()), SaturateToInt32(inner.right()),
               SaturateToInt32(inner.bottom())};
    *unscaled = true;
    if (IQGUI* main = MainObject())
        *unscaled = main->TransformScreenRect(&r, false);
    const double width = static_cast<double>(r.right) - r.left;
    const double height = static_cast<double>(r.bottom) - r.top;
    return WebCtrlRect{r.left, r.top, SaturateToInt32(width), SaturateToInt32(height)};
}

void CHTMLWindow::UpdatePlacement()
{
    m_LastInnerRect = getUnclippedInnerRect().get();
    if (!m_pWebCtrl)
        return;
    try
    {
        bool unscaled = true;
        const WebCtrlRect rect = placement(&unscaled);
        m_pWebCtrl->SetRect(&rect, unscaled);
    }
    catch (...)
    {
    }
}

void CHTMLWindow::placeIfMoved()
{
    if (m_pWebCtrl && getUnclippedInnerRect().get() != m_LastInnerRect)
        UpdatePlacement();
}

void CHTMLWindow::showControl(bool show)
{
    m_bControlShown = show;
    if (!m_pWebCtrl)
        return;
    try
    {
        m_pWebCtrl->Show(show);
    }
    catch (...)
    {
    }
}

void CHTMLWindow::followVisibility()
{
    const bool shown = isPageShown();
    if (m_pWebCtrl && shown != m_bControlShown)
        showControl(shown);
}

void CHTMLWindow::showPageIfShown()
{
    if (m_pWebCtrl && isPageShown())
        showControl(true);
}

void CHTMLWindow::setURL(const CEGUI::String& url)
{
    if (!ChangeValue(m_URL, url) || !m_pWebCtrl)
        return;
    // The control may call back into the module (and so into scripts that
    // set the address again) before it returns: it gets its own copy.
    const std::string address = m_URL.c_str();
    try
    {
        m_pWebCtrl->Navigate(address.c_str(), 0);
    }
    catch (...)
    {
    }
}

void CHTMLWindow::notifyScreenAreaChanged(bool recursive)
{
    QXWindow::notifyScreenAreaChanged(recursive);
    placeIfMoved();
    followVisibility();
}

void CHTMLWindow::onSized(CEGUI::ElementEventArgs& e)
{
    QXWindow::onSized(e);
    placeIfMoved();
}

void CHTMLWindow::onMoved(CEGUI::ElementEventArgs& e)
{
    QXWindow::onMoved(e);
    placeIfMoved();
}

void CHTMLWindow::onShown(CEGUI::WindowEventArgs& e)
{
    QXWindow::onShown(e);
    followVisibility();
}

void CHTMLWindow::onHidden(CEGUI::WindowEventArgs& e)
{
    QXWindow::onHidden(e);
    followVisibility();
}

void CHTMLWindow::onDestructionStarted(CEGUI::WindowEventArgs& e)
{
    QXWindow::onDestructionStarted(e);
    releaseControl();
}

void CHTMLWindow::drawSelf(const CEGUI::RenderingContext& ctx)
{
    placeIfMoved();
    QXWindow::drawSelf(ctx);
}

void CHTMLWindow::followWindow()
{
    placeIfMoved();
    followVisibility();
}

void CHTMLWindow::joinFrameFollowing()
{
    static CEGUI::Event::Connection s_frameHook;
    if (!s_frameHook.isValid())
        s_frameHook = CEGUI::System::getSingleton().getDefaultGUIContext().subscribeEvent(
            CEGUI::RenderingSurface::EventRenderQueueStarted, CEGUI::Event::Subscriber(&CHTMLWindow::FollowAll));
    s_WithControl.push_back(this);
}

void CHTMLWindow::leaveFrameFollowing()
{
    s_WithControl.erase(std::remove(s_WithControl.begin(), s_WithControl.end(), this), s_WithControl.end());
}

// The interface is drawn (whether or not anything in it changed): every
// window with a control follows its place and visibility. A control that
// goes meanwhile is not followed after it went.
bool CHTMLWindow::FollowAll(const CEGUI::EventArgs& args)
{
    if (static_cast<const CEGUI::RenderQueueEventArgs&>(args).queueID != CEGUI::RQ_BASE)
        return false;
    const std::vector<CHTMLWindow*> windows = s_WithControl;
    for (CHTMLWindow* window : windows)
    {
        if (std::find(s_WithControl.begin(), s_WithControl.end(), window) != s_WithControl.end())
            window->followWindow();
    }
    return false;
}

void CHTMLWindow::releaseControl()
{
    IWebCtrl* control = m_pWebCtrl;
    if (!control)
        return;
    // Whatever the release sets off finds the window without a control.
    m_pWebCtrl = nullptr;
    m_bControlShown = false;
    leaveFrameFollowing();
    CWebCallBack::Instance().ForgetOwner(control);
    // The last web window going hides the system cursor again.
    QGUIExtraFacoryManager::Instance().UnregisterWebWindow(this);
    try
    {
        control->Release();
    }
    catch (...)
    {
    }
    if (m_hMainWindow)
        SetFocus(m_hMainWindow);
}

bool CHTMLWindow::IsAnyOpen()
{
    return QGUIExtraFacoryManager::Instance().HasHTMLWindows();
}

void CHTMLWindow::UpdateAllPlacements()
{
    QGUIExtraFacoryManager::Instance().OnMainWindowMoved(0);
}

// --- the factory ---

CEGUI::Window* CHTMLWindowFactory::createWindow(const CEGUI::String& name)
{
    CHTMLWindow* window = new CHTMLWindow(d_type, name);
    window->onConstructionEnded();
    return window;
}

CEGUI::WindowFactory& CHTMLWindowFactory::Instance(const char* type)
{
    static CHTMLWindowFactory factory(type);
    return factory;
}
} // namespace QGUI
