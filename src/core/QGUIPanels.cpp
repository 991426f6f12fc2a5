// Panels by handle, the closable-window stack and window sounds.
#include <CEGUI/CEGUI.h>

#include <algorithm>
#include <exception>
#include <string>

#include "WindowManagerExt.h"
#include "core/QGUI.h"
#include "script/LuaScriptModule.h"
#include "script/ScriptSystem.h"

namespace QGUI
{
namespace
{
void LogLine(const CEGUI::String& text, CEGUI::LoggingLevel level)
{
    if (CEGUI::Logger* logger = CEGUI::Logger::getSingletonPtr())
        logger->logEvent(text, level);
}

// The close button of a panel's frame window, when it has one.
CEGUI::Window* CloseButton(CEGUI::Window* window)
{
    auto* frame = dynamic_cast<CEGUI::FrameWindow*>(window);
    if (!frame || !frame->isChild(CEGUI::FrameWindow::CloseButtonName))
        return nullptr;
    return frame->getChild(CEGUI::FrameWindow::CloseButtonName);
}

} // namespace

// ---------------------------------------------------------------------------
// Panels

CPanel* CQGUI::livePanel(const HandleBase* handle) const
{
    if (!handle)
        return nullptr;
    CPanel* panel = m_Panels.get(*handle);
    return panel && panel->GetWindow() ? panel : nullptr;
}

int CQGUI::runPanelScriptOnce(const std::string& file)
{
    if (!m_RunPanelScripts.insert(file).second)
        return 1;
    if (m_pScriptModule && !m_pScriptModule->runScriptFile(file, ""))
    {
        // Not remembered: the next creation of the panel tries again.
        m_RunPanelScripts.erase(file);
        return 0;
    }
    return 2;
}

IPanel* CQGUI::CreatePanel(HandleBase* handle, const char* name)
{
    QGUI_REQUIRE_RUNNING(nullptr);
    if (!handle)
        return nullptr;
    CPanel* panel = m_Panels.allocate(*handle);
    if (!panel)
    {
        LogLine("QGUI::CQGUI::CreatePanel: no panel can be created, every panel slot is in use.",
                CEGUI::Errors);
        return nullptr;
    }
    const std::string panelName = name ? name : "";
    CEGUI::WindowManager& wm = CEGUI::WindowManager::getSingleton();
    CEGUI::Window* window = nullptr;
    try
    {
        if (panelName.empty())
        {
            window = wm.createWindow("DefaultWindow", "");
        }
        else
        {
            window = wm.loadLayoutFromFile(panelName + ".layout", "");
            if (window)
            {
                bool moveToFront = true;
                const std::string opening = windowSound(window->getName().c_str(), "on");
                if (window->isEventPresent(CEGUI::FrameWindow::EventCloseClicked))
                {
                    window->subscribeScriptedEvent(CEGUI::Window::EventShown,
                                                   "gFn_capture_frame_window_visible");
                    window->subscribeScriptedEvent(CEGUI::Window::EventHidden,
                                                   "gFn_capture_frame_window_visible");
                }
                else
                {
                    window->subscribeScriptedEvent(CEGUI::FrameWindow::EventCloseClicked,
                                                   "on_close_self");
                    window->subscribeEvent(CEGUI::Window::EventDestructionStarted,
                                           CEGUI::Event::Subscriber(&CQGUI::onWindowSoundEvent));
                    playSoundEffect(0, 0, opening.c_str());
                }
                if (window->isPropertyPresent("MoveToFrontWhenPop") &&
                    window->getProperty("MoveToFrontWhenPop") == "False")
                    moveToFront = false;
                if (moveToFront)
                    window->moveToFront();
            }
        }
    }
    catch (const CEGUI::Exception& e)
    {
        LogLine("QGUI::CQGUI::CreatePanel: the panel '" + CEGUI::String(panelName.c_str()) +
                    "' could not be created: " + e.getMessage(),
                CEGUI::Errors);
        if (window && wm.isAlive(window))
            wm.destroyWindow(window);
        window = nullptr;
    }
    if (!window)
    {
        // Nothing half made stays behind: the slot goes back to the pool.
        if (!panelName.empty())
            LogLine("QGUI::CQGUI::CreatePanel: the layout '" + CEGUI::String(panelName.c_str()) +
                        ".layout' gave no window.",
                    CEGUI::Errors);
        m_Panels.release(*handle);
        return nullptr;
    }

    panel->SetWindow(window);
    window->setUserString("resourceName", panelName.c_str());
    pushOnCloseStack(*handle);

    if (panelName.empty())
        return panel;
    const int run = runPanelScriptOnce(panelName + ".lua");
    if (run == 0)
    {
        LogLine("QGUI::CQGUI::CreatePanel: the script '" + CEGUI::String(panelName.c_str()) +
                    ".lua' of the panel failed; the panel was not created.",
                CEGUI::Errors);
        removeFromCloseStack(*handle);
        if (panel->GetWindow())
            wm.destroyWindow(panel->GetWindow());
        m_Panels.release(*handle);
        return nullptr;
    }
    if (run == 1)
    {
        try
        {
            CEGUI::System::getSingleton().executeScriptGlobal(panelName + "_on_create");
        }
        catch (...)
        {
        }
    }
    return panel;
}

IPanel* CQGUI::QueryPanel(HandleBase* handle)
{
    QGUI_REQUIRE_RUNNING(nullptr);
    return handle ? m_Panels.get(*handle) : nullptr;
}

void CQGUI::ReleasePanel(HandleBase* handle)
{
    QGUI_REQUIRE_RUNNING();
    if (!handle || !m_Panels.isValid(*handle))
        return;
    removeFromCloseStack(*handle);
    CPanel* panel = m_Panels.get(*handle);
    if (CEGUI::Window* window = panel->GetWindow())
    {
        if (window == m_pRootWindow)
            m_pRootWindow = nullptr;
        CEGUI::WindowManager::getSingleton().destroyWindow(window);
    }
    m_Panels.release(*handle);
}

void CQGUI::ReleaseRootPanel(HandleBase* handle)
{
    QGUI_REQUIRE_RUNNING();
    if (!handle || !m_Panels.isValid(*handle))
        return;
    CPanel* panel = m_Panels.get(*handle);
    if (CEGUI::Window* window = panel->GetWindow())
    {
        if (window == m_pRootWindow)
            m_pRootWindow = nullptr;
        CEGUI::destroyRootWindow(window);
    }
    m_Panels.release(*handle);
}

IPanel* CQGUI::CreateSheetPanel(HandleBase* handle, bool makeSheet)
{
    QGUI_REQUIRE_RUNNING(nullptr);
    IPanel* panel = CreatePanel(handle, nullptr);
    if (panel && makeSheet)
        SetPanelAsSheet(handle, 1);
    m_CloseStack.clear();
    return panel;
}

bool CQGUI::SetPanelAsSheet(HandleBase* handle, int flag)
{
    QGUI_REQUIRE_RUNNING(false);
    CPanel* panel = livePanel(handle);
    if (!panel || flag != 1)
        return false;
    CEGUI::System::getSingleton().getDefaultGUIContext().setRootWindow(panel->GetWindow());
    m_pRootWindow = panel->GetWindow();
    return true;
}

void CQGUI::HidePanel(HandleBase* handle)
{
    QGUI_REQUIRE_RUNNING();
    if (CPanel* panel = livePanel(handle))
        panel->GetWindow()->setVisible(false);
}

bool CQGUI::AddToChildPanel(HandleBase* parent, HandleBase* child)
{
    QGUI_REQUIRE_RUNNING(false);
    CPanel* p = livePanel(parent);
    CPanel* c = livePanel(child);
    if (!p || !c || p == c)
        return false;
    p->GetWindow()->addChild(c->GetWindow());
    return true;
}

bool CQGUI::AddPanelToRoot(HandleBase* handle)
{
    QGUI_REQUIRE_RUNNING(false);
    CPanel* panel = livePanel(handle);
    if (!panel)
        return false;
    CEGUI::Window* sheet = CEGUI::System::getSingleton().getDefaultGUIContext().getRootWindow();
    if (!sheet || sheet == panel->GetWindow())
        return false;
    sheet->addChild(panel->GetWindow());
    return true;
}

// ---------------------------------------------------------------------------
// Operations on one panel

bool CQGUI::RedrawPanel(HandleBase* handle)
{
    QGUI_REQUIRE_RUNNING(false);
    CPanel* panel = livePanel(handle);
    if (!panel)
        return false;
    panel->GetWindow()->invalidate();
    return true;
}

bool CQGUI::EnablePanel(HandleBase* handle, bool enable)
{
    QGUI_REQUIRE_RUNNING(false);
    CPanel* panel = livePanel(handle);
    if (!panel)
        return false;
    panel->GetWindow()->setEnabled(enable);
    return true;
}

bool CQGUI::IsPanelActive(HandleBase* handle)
{
    QGUI_REQUIRE_RUNNING(false);
    CPanel* panel = livePanel(handle);
    return panel && panel->GetWindow()->isActive();
}

bool CQGUI::ShowPanel(HandleBase* handle, bool show)
{
    QGUI_REQUIRE_RUNNING(false);
    CPanel* panel = livePanel(handle);
    if (!panel)
        return false;
    CEGUI::Window* window = panel->GetWindow();
    window->setVisible(show);
    window->setEnabled(show);
    if (show)
    {
        pushOnCloseStack(*handle);
    }
    else
    {
        window->moveToBack();
        removeFromCloseStack(*handle);
    }
    return true;
}

bool CQGUI::IsPanelVisible(HandleBase* handle)
{
    QGUI_REQUIRE_RUNNING(false);
    CPanel* panel = livePanel(handle);
    return panel && panel->GetWindow()->isEffectiveVisible();
}

bool CQGUI::IsPanelValid(HandleBase* handle)
{
    QGUI_REQUIRE_RUNNING(false);
    return livePanel(handle) != nullptr;
}

bool CQGUI::MovePanelToFront(HandleBase* handle, bool front)
{
    QGUI_REQUIRE_RUNNING(false);
    CPanel* panel = livePanel(handle);
    if (!panel)
        return false;
    if (front)
        panel->GetWindow()->moveToFront();
    else
        panel->GetWindow()->moveToBack();
    return true;
}

const char* CQGUI::GetPanelName(HandleBase* handle)
{
    QGUI_REQUIRE_RUNNING(nullptr);
    CPanel* panel = livePanel(handle);
    return panel ? panel->GetWindowName().c_str() : nullptr;
}

void CQGUI::FirePanelEvent(HandleBase* handle, const char* eventName)
{
    QGUI_REQUIRE_RUNNING();
    CPanel* panel = livePanel(handle);
    if (!panel)
        return;
    CEGUI::WindowEventArgs args(panel->GetWindow());
    panel->GetWindow()->fireEvent(eventName ? eventName : "qgui_default_event", args, "");
}

// ---------------------------------------------------------------------------
// The closable-window stack and window sounds

void CQGUI::pushOnCloseStack(const HandleBase& handle)
{
    CPanel* panel = livePanel(&handle);
    if (!panel || !CloseButton(panel->GetWindow()))
        return;
    removeFromCloseStack(handle);
    m_CloseStack.push_back(handle.value);
}

void CQGUI::removeFromCloseStack(const HandleBase& handle)
{
    auto it = std::find(m_CloseStack.begin(), m_CloseStack.end(), handle.value);
    if (it != m_CloseStack.end())
        m_CloseStack.erase(it);
}

bool CQGUI::closeTopmostPanel()
{
    if (m_CloseStack.empty())
    {
        ExecuteScriptGlobal("panel_oper_system");
        return false;
    }
    while (!m_CloseStack.empty())
    {
        HandleBase top;
        top.value = m_CloseStack.back();
        CPanel* panel = livePanel(&top);
        CEGUI::Window* button = panel ? CloseButton(panel->GetWindow()) : nullptr;
        if (button && button->isEffectiveVisible())
        {
            CEGUI::WindowEventArgs args(panel->GetWindow());
            panel->GetWindow()->fireEvent(CEGUI::FrameWindow::EventCloseClicked, args,
                                          CEGUI::FrameWindow::EventNamespace);
            return true;
        }
        m_CloseStack.pop_back();
    }
    return true;
}

// Sound names stay in UTF-8 from the script to the sound queue; the message
// that carries them is converted once, when it is sent.
std::string CQGUI::windowSound(const char* windowName, const char* state)
{
    if (!m_pScriptSystem)
        return std::string();
    const char* sound = m_pScriptSystem->CallGlobal2Strings("gFn_get_window_sound", windowName, state);
    return sound ? sound : "";
}

bool CQGUI::onWindowSoundEvent(const CEGUI::EventArgs& args)
{
    CQGUI* gui = GetGlobalObject();
    const CEGUI::Window* window = static_cast<const CEGUI::WindowEventArgs&>(args).window;
    // Windows destroyed after the scripts are gone make no sound.
    if (!window || !gui->m_pScriptSystem)
        return true;
    const std::string closing = gui->windowSound(window->getName().c_str(), "off");
    gui->playSoundEffect(0, 0, closing.c_str());
    return true;
}
} // namespace QGUI
