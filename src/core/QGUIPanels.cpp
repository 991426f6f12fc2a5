// Panels by handle, the closable-window stack and window sounds.
#include <CEGUI/CEGUI.h>

#include <algorithm>
#include <exception>
#include <string>

#include "WindowManagerExt.h"
#include "core/QGUI.h"
#include "render/GuiString.h"
#include "render/QXResourceProvider.h"
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

// Runs the part of a panel operation that calls into the GUI library. An
// exception (a name the new parent holds already, a handler that throws) is
// logged and gives the failure answer, so none reaches the host or the
// script.
template <class Result, class Step>
Result Guarded(const char* operation, Result failure, Step step)
{
    try
    {
        return step();
    }
    catch (const std::exception& e)
    {
        LogLine(CEGUI::String("QGUI::CQGUI::") + operation + ": " + StringFromUtf8(e.what()),
                CEGUI::Errors);
    }
    catch (...)
    {
        LogLine(CEGUI::String("QGUI::CQGUI::") + operation + ": unknown error", CEGUI::Errors);
    }
    return failure;
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
//
// Scripts run while panels are made, shown and released (window sounds,
// creation scripts, event handlers), and they may release the panel or
// free the caller's handle object meanwhile. So each operation keeps its
// own copy of the handle and looks the panel up again after a call that
// can reach a script.

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
    // Remembered whatever happens: a script that fails is logged by the
    // script module, a file that is missing runs as an empty chunk.
    CEGUI::System::getSingleton().executeScriptFile(StringFromUtf8(file.c_str()), "");
    return 2;
}

IPanel* CQGUI::CreatePanel(HandleBase* handle, const char* name)
{
    QGUI_OPEN_CALL_SCOPE(nullptr);
    if (!handle)
        return nullptr;
    if (!m_Panels.allocate(*handle))
    {
        LogLine("QGUI::CQGUI::CreatePanel: no panel can be created, every panel slot is in use.",
                CEGUI::Errors);
        return nullptr;
    }
    const HandleBase created = *handle;
    const std::string panelName = name ? name : "";
    // The name is UTF-8; it names the layout and the script too.
    const CEGUI::String shownName = StringFromUtf8(panelName.c_str());
    CEGUI::WindowManager& wm = CEGUI::WindowManager::getSingleton();
    CEGUI::Window* window = nullptr;
    const CEGUI::String layout = shownName + ".layout";
    const CEGUI::String& layouts = CEGUI::WindowManager::getDefaultResourceGroup();
    // A layout not found is told as such, before the GUI library's parser
    // reports an empty file.
    const bool layoutFound = panelName.empty() || !m_pResourceProvider || m_pResourceProvider->exists(layout, layouts);
    if (!layoutFound)
        LogLine("QGUI::CQGUI::CreatePanel: the layout '" + layout + "' of the panel '" + shownName + "' was found " +
                    m_pResourceProvider->describeSearch(layout, layouts) + "; the panel has no window.",
                CEGUI::Errors);
    try
    {
        if (panelName.empty())
        {
            window = wm.createWindow("DefaultWindow", "");
        }
        else if (layoutFound)
        {
            window = wm.loadLayoutFromFile(layout, "");
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
    catch (const std::exception& e)
    {
        LogLine("QGUI::CQGUI::CreatePanel: the panel '" + shownName + "' could not be created: " +
                    StringFromUtf8(e.what()),
                CEGUI::Errors);
        if (window && wm.isAlive(window))
            wm.destroyWindow(window);
        window = nullptr;
    }

    CPanel* panel = m_Panels.get(created);
    if (!panel)
    {
        // Released by a script while its window was made.
        if (window && wm.isAlive(window))
            wm.destroyWindow(window);
        return nullptr;
    }
    if (window)
    {
        panel->SetWindow(window);
        window->setUserString("resourceName", shownName);
        pushOnCloseStack(created);
    }
    else if (layoutFound && !panelName.empty())
    {
        // The panel lives without a window; every operation on it answers
        // false, null or nothing.
        LogLine("QGUI::CQGUI::CreatePanel: the layout '" + shownName +
                    ".layout' gave no window; the panel '" + shownName + "' has none.",
                CEGUI::Errors);
    }

    if (!panelName.empty())
    {
        try
        {
            if (runPanelScriptOnce(panelName + ".lua") == 1)
                CEGUI::System::getSingleton().executeScriptGlobal(shownName + "_on_create");
        }
        catch (const std::exception& e)
        {
            LogLine("QGUI::CQGUI::CreatePanel: the script of the panel '" + shownName +
                        "' could not run: " + StringFromUtf8(e.what()),
                    CEGUI::Errors);
        }
    }
    // Null when the panel's own script released it.
    return m_Panels.get(created);
}

IPanel* CQGUI::QueryPanel(HandleBase* handle)
{
    QGUI_OPEN_CALL_SCOPE(nullptr);
    return handle ? m_Panels.get(*handle) : nullptr;
}

void CQGUI::ReleasePanel(HandleBase* handle)
{
    QGUI_OPEN_CALL_SCOPE();
    if (!handle || !m_Panels.isValid(*handle))
        return;
    const HandleBase released = *handle;
    removeFromCloseStack(released);
    releaseWindow(m_Panels.get(released), false);
    m_Panels.release(released);
}

void CQGUI::ReleasePanelObject(IPanel* panel)
{
    QGUI_OPEN_CALL_SCOPE();
    HandleBase handle;
    if (panel && m_Panels.handleOf(panel, handle))
        ReleasePanel(&handle);
}

void CQGUI::ReleaseRootPanel(HandleBase* handle)
{
    QGUI_OPEN_CALL_SCOPE();
    if (!handle || !m_Panels.isValid(*handle))
        return;
    const HandleBase released = *handle;
    releaseWindow(m_Panels.get(released), true);
    m_Panels.release(released);
}

// The panel lets go of its window before the window goes, so a script that
// the destruction reaches finds no window to destroy a second time.
void CQGUI::releaseWindow(CPanel* panel, bool asRoot)
{
    CEGUI::Window* window = panel->GetWindow();
    if (!window)
        return;
    panel->SetWindow(nullptr);
    if (window == m_pRootWindow)
        m_pRootWindow = nullptr;
    Guarded(asRoot ? "ReleaseRootPanel" : "ReleasePanel", false, [&] {
        if (asRoot)
            CEGUI::destroyRootWindow(window);
        else
            CEGUI::WindowManager::getSingleton().destroyWindow(window);
        return true;
    });
}

IPanel* CQGUI::CreateSheetPanel(HandleBase* handle, bool makeSheet)
{
    QGUI_OPEN_CALL_SCOPE(nullptr);
    IPanel* panel = CreatePanel(handle, nullptr);
    if (panel && makeSheet)
        SetPanelAsSheet(handle, 1);
    m_CloseStack.clear();
    return panel;
}

bool CQGUI::SetPanelAsSheet(HandleBase* handle, int flag)
{
    QGUI_OPEN_CALL_SCOPE(false);
    CPanel* panel = livePanel(handle);
    if (!panel || flag != 1)
        return false;
    CEGUI::Window* window = panel->GetWindow();
    return Guarded("SetPanelAsSheet", false, [&] {
        CEGUI::System::getSingleton().getDefaultGUIContext().setRootWindow(window);
        m_pRootWindow = window;
        return true;
    });
}

void CQGUI::HidePanel(HandleBase* handle)
{
    QGUI_OPEN_CALL_SCOPE();
    if (CPanel* panel = livePanel(handle))
    {
        CEGUI::Window* window = panel->GetWindow();
        Guarded("HidePanel", false, [&] {
            window->setVisible(false);
            return true;
        });
    }
}

bool CQGUI::AddToChildPanel(HandleBase* parent, HandleBase* child)
{
    QGUI_OPEN_CALL_SCOPE(false);
    CPanel* p = livePanel(parent);
    CPanel* c = livePanel(child);
    if (!p || !c)
        return false;
    CEGUI::Window* parentWindow = p->GetWindow();
    CEGUI::Window* childWindow = c->GetWindow();
    // A window cannot hold itself or one of its ancestors.
    if (parentWindow == childWindow || parentWindow->isAncestor(childWindow))
        return false;
    // The library refuses a child whose name the parent holds already.
    return Guarded("AddToChildPanel", false, [&] {
        parentWindow->addChild(childWindow);
        return true;
    });
}

bool CQGUI::AddPanelToRoot(HandleBase* handle)
{
    QGUI_OPEN_CALL_SCOPE(false);
    CPanel* panel = livePanel(handle);
    if (!panel)
        return false;
    CEGUI::Window* window = panel->GetWindow();
    CEGUI::Window* sheet = CEGUI::System::getSingleton().getDefaultGUIContext().getRootWindow();
    if (!sheet || sheet == window || sheet->isAncestor(window))
        return false;
    return Guarded("AddPanelToRoot", false, [&] {
        sheet->addChild(window);
        return true;
    });
}

// ---------------------------------------------------------------------------
// Operations on one panel

bool CQGUI::RedrawPanel(HandleBase* handle)
{
    QGUI_OPEN_CALL_SCOPE(false);
    CPanel* panel = livePanel(handle);
    if (!panel)
        return false;
    panel->GetWindow()->invalidate();
    return true;
}

bool CQGUI::EnablePanel(HandleBase* handle, bool enable)
{
    QGUI_OPEN_CALL_SCOPE(false);
    CPanel* panel = livePanel(handle);
    if (!panel)
        return false;
    CEGUI::Window* window = panel->GetWindow();
    return Guarded("EnablePanel", false, [&] {
        window->setEnabled(enable);
        return true;
    });
}

bool CQGUI::IsPanelActive(HandleBase* handle)
{
    QGUI_OPEN_CALL_SCOPE(false);
    CPanel* panel = livePanel(handle);
    return panel && panel->GetWindow()->isActive();
}

bool CQGUI::ShowPanel(HandleBase* handle, bool show)
{
    QGUI_OPEN_CALL_SCOPE(false);
    if (!livePanel(handle))
        return false;
    const HandleBase shown = *handle;
    return Guarded("ShowPanel", false, [&] {
        livePanel(&shown)->GetWindow()->setVisible(show);
        // Each change may reach a script that releases the panel.
        if (CPanel* panel = livePanel(&shown))
            panel->GetWindow()->setEnabled(show);
        if (show)
        {
            pushOnCloseStack(shown);
        }
        else
        {
            if (CPanel* panel = livePanel(&shown))
                panel->GetWindow()->moveToBack();
            removeFromCloseStack(shown);
        }
        return true;
    });
}

bool CQGUI::IsPanelVisible(HandleBase* handle)
{
    QGUI_OPEN_CALL_SCOPE(false);
    CPanel* panel = livePanel(handle);
    return panel && panel->GetWindow()->isEffectiveVisible();
}

bool CQGUI::IsPanelValid(HandleBase* handle)
{
    QGUI_OPEN_CALL_SCOPE(false);
    return livePanel(handle) != nullptr;
}

bool CQGUI::MovePanelToFront(HandleBase* handle, bool front)
{
    QGUI_OPEN_CALL_SCOPE(false);
    CPanel* panel = livePanel(handle);
    if (!panel)
        return false;
    CEGUI::Window* window = panel->GetWindow();
    return Guarded("MovePanelToFront", false, [&] {
        if (front)
            window->moveToFront();
        else
            window->moveToBack();
        return true;
    });
}

const char* CQGUI::GetPanelName(HandleBase* handle)
{
    QGUI_OPEN_CALL_SCOPE(nullptr);
    CPanel* panel = livePanel(handle);
    return panel ? panel->GetWindowName().c_str() : nullptr;
}

void CQGUI::FirePanelEvent(HandleBase* handle, const char* eventName)
{
    QGUI_OPEN_CALL_SCOPE();
    CPanel* panel = livePanel(handle);
    if (!panel)
        return;
    CEGUI::Window* window = panel->GetWindow();
    Guarded("FirePanelEvent", false, [&] {
        CEGUI::WindowEventArgs args(window);
        window->fireEvent(eventName ? StringFromUtf8(eventName) : CEGUI::String("qgui_default_event"),
                          args, "");
        return true;
    });
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
