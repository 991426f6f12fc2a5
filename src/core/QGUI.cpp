#include "core/QGUI.h"

#include <CEGUI/CEGUI.h>

#include <clocale>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <exception>
#include <string>
#include <utility>

#include "IWebCtrl.h"
#include "KeyValues.h"
#include "core/GuiLog.h"
#include "core/HostCallGuard.h"
#include "core/IMEBase.h"
#include "core/InterfaceRegistry.h"
#include "core/ModuleMemory.h"
#include "render/GuiString.h"
#include "render/QXRenderer.h"
#include "LocalizeString.h"
#include "render/QXResourceProvider.h"
#include "script/LuaScriptModule.h"
#include "script/MainPackage.h"
#include "script/ScriptSystem.h"
#include "strtools.h"
#include "widgets/MouseWalk.h"
#include "widgets/QGUIExtraFacoryManager.h"

namespace QGUI
{
namespace
{
// Counts down the frame durations to the next "gFn_timely_gc" call.
float g_fGcCountdown = 5.0f;

const char kGuiLogFile[] = "CEGUI.log";

// Puts the process's number locale back as it was when the keeper was
// made: the GUI system's start-up sets it to "C" for the whole process,
// which is the host's to choose.
class ProcessNumberLocaleKeeper
{
public:
    ProcessNumberLocaleKeeper()
    {
        if (const char* current = std::setlocale(LC_NUMERIC, nullptr))
            m_Saved = current;
    }
    ~ProcessNumberLocaleKeeper()
    {
        if (!m_Saved.empty())
            std::setlocale(LC_NUMERIC, m_Saved.c_str());
    }
    ProcessNumberLocaleKeeper(const ProcessNumberLocaleKeeper&) = delete;
    ProcessNumberLocaleKeeper& operator=(const ProcessNumberLocaleKeeper&) = delete;

private:
    std::string m_Saved;
};

void LogEvent(const CEGUI::String& text, CEGUI::LoggingLevel level)
{
    if (CEGUI::Logger* logger = CEGUI::Logger::getSingletonPtr())
        logger->logEvent(text, level);
}

// Restores what windows did before: every window updates even when hidden,
// window text is shown as it is, without markup, and mouse input that a
// window leaves unhandled goes on to its parent.
bool OnWindowCreated(const CEGUI::EventArgs& args)
{
    CEGUI::Window* window = static_cast<const CEGUI::WindowEventArgs&>(args).window;
    if (window)
    {
        window->setUpdateMode(CEGUI::WUM_ALWAYS);
        window->setTextParsingEnabled(false);
        EnableMouseWalk(*window);
    }
    return true;
}
} // namespace
} // namespace QGUI

// Static objects in registration order: the input method, then the main
// object; look-up finds them in the reverse order.
static CIMEBase s_IMEBase;
static void* CreateIMEBase()
{
    return static_cast<IIMEBaseInterface*>(&s_IMEBase);
}
static InterfaceRegistration s_IMEBaseReg(CreateIMEBase, QIME_INTERFACE_VERSION);
CIMEBase& GetIMEBase()
{
    return s_IMEBase;
}

static QGUI::CQGUI s_QGUI;
static void* CreateQGUI()
{
    return static_cast<QGUI::IQGUI*>(&s_QGUI);
}
static InterfaceRegistration s_QGUIReg(CreateQGUI, QGUI_INTERFACE_VERSION);

namespace QGUI
{
CQGUI* CQGUI::GetGlobalObject()
{
    return &s_QGUI;
}

bool CQGUI::IsRunning()
{
    return s_QGUI.m_bInitialised && !s_QGUI.m_bShutDown;
}

CQGUI::CQGUI()
{
    // Built first, the data-provider map outlives the main object, which
    // takes itself out of it when it goes.
    QGUIExtraFacoryManager::Instance();
    CScriptSystem::SetMainScriptPackage(&OpenMainScriptPackage);
    m_pScriptSystem = new CScriptSystem();
    fillKeyTable();
}

CQGUI::~CQGUI()
{
    // The GUI system, renderer, resource provider and script module that
    // Init made stay alive: by the time the library unloads, the host's
    // interfaces they would call while going may be gone. Nothing may reach
    // the scripts once their state is closed.
    SetLocalizeScriptModule(nullptr);
    QGUIExtraFacoryManager& providers = QGUIExtraFacoryManager::Instance();
    providers.SetInitialised(false);
    providers.SetMainObject(nullptr);
    delete m_pScriptSystem;
    m_pScriptSystem = nullptr;
    delete m_pRootPanelHandle;
    m_pRootPanelHandle = nullptr;
}

void CQGUI::logHostException(const char* operation, const char* what) const
{
    LogEvent(CEGUI::String("QGUI::CQGUI::") + operation + ": " +
                 (what ? StringFromUtf8(what) : CEGUI::String("unknown error")),
             CEGUI::Errors);
}

bool CQGUI::Init(CreateInterfaceFn* factories, int32_t count, HostGlobals* host)
{
    if (!host)
        return false;
    if (m_bInitialised)
    {
        LogEvent("QGUI::CQGUI::Init: the interface is already initialised.", CEGUI::Errors);
        return false;
    }
    // The module does not run yet, so the scope every running operation
    // holds (QGUI_OPEN_CALL_SCOPE) is taken here.
    const CModuleCallScope scope;
    return guardHostCall("Init", false, [&] { return initSteps(factories, count, host); });
}

bool CQGUI::initSteps(CreateInterfaceFn* factories, int32_t count, HostGlobals* host)
{
    m_pRenderInterface =
        static_cast<IQXRender*>(FindHostInterface(factories, count, QXRENDER_INTERFACE_VERSION));
    m_pRenderer = new QXUI::CQXRenerder(factories, count);
    m_pResourceProvider = new QXUI::CQXResourceProvider(factories, count);
    m_pRenderer->setResourceProvider(m_pResourceProvider);

    m_pScriptModule = new LuaScriptModule(m_pScriptSystem->GetLuaState());

    CEGUI::Exception::setStdErrEnabled(false);
    CGuiLog::StartUnlessStarted(kGuiLogFile);
    {
        const ProcessNumberLocaleKeeper hostLocale;
        CEGUI::System::create(*m_pRenderer, m_pResourceProvider, nullptr, nullptr, m_pScriptModule,
                              "", kGuiLogFile);
    }
    SetLocalizeScriptModule(m_pScriptModule);
    m_bInitialised = true;
    CEGUI::GlobalEventSet::getSingleton().subscribeEvent(
        CEGUI::WindowManager::EventNamespace + "/" + CEGUI::WindowManager::EventWindowCreated,
        CEGUI::Event::Subscriber(&OnWindowCreated));
    SubscribeMouseWalk();
    // The display size may only now reach the GUI system.
    m_pRenderer->updateDisplayArea();

    QXUI::CQXResourceProvider* rp = m_pResourceProvider;
    rp->setResourceGroupDirectory("lua_scripts", "resource\\UI\\lua_scripts\\");
    rp->setResourceGroupDirectory("lua_scripts", "resource\\UI\\lua_scripts_csm\\");
    rp->setResourceGroupDirectory("lua_scripts", "resource\\UI\\lua_scripts_lib\\");
    rp->setResourceGroupDirectory("schemes", "resource\\UI\\schemes\\");
    rp->setResourceGroupDirectory("imagesets", "resource\\UI\\imagesets\\");
    rp->setResourceGroupDirectory("fonts", "resource\\UI\\fonts\\");
    rp->setResourceGroupDirectory("layouts", "resource\\UI\\layouts\\");
    rp->setResourceGroupDirectory("looknfeels", "resource\\UI\\looknfeel\\");

    CEGUI::ImageManager::setImagesetDefaultResourceGroup("imagesets");
    CEGUI::Font::setDefaultResourceGroup("fonts");
    CEGUI::Scheme::setDefaultResourceGroup("schemes");
    CEGUI::WidgetLookManager::setDefaultResourceGroup("looknfeels");
    CEGUI::WindowManager::setDefaultResourceGroup("layouts");
    CEGUI::ScriptModule::setDefaultResourceGroup("lua_scripts");

    // The game widgets reach the main object through the data-provider map;
    // their window and window-renderer factories join the GUI system.
    QGUIExtraFacoryManager& providers = QGUIExtraFacoryManager::Instance();
    providers.SetMainObject(this);
    providers.SetInitialised(true);
    providers.RegisterWindowFactories();

    m_pScriptSystem->Init(factories, count);

    m_pEngineClient = static_cast<IQEngineClient*>(
        FindHostInterface(factories, count, QENGINECLIENT_INTERFACE_VERSION));
    m_pFileSystem = static_cast<IBaseFileSystem*>(
        FindHostInterface(factories, count, FILESYSTEM_INTERFACE_VERSION));

    // The web control module comes through the host file system; without
    // one there is none.
    if (m_pFileSystem)
    {
        m_pForeignModule = m_pFileSystem->LoadModule("Beging.dat");
        if (CreateInterfaceFn factory = GetModuleFactory(m_pForeignModule))
        {
            m_pForeignFactory = factory;
            m_pWebCtrlMgr =
                static_cast<IWebCtrlMgr*>(factory(WEBCTRLMGR_INTERFACE_VERSION, nullptr));
        }
    }

    m_pHostGlobals = host;

    if (m_pEngineClient)
    {
        if (const QMainWindowRecord* record = m_pEngineClient->GetMainWindow())
            s_IMEBase.Initialize(static_cast<HWND>(record->hwnd));
    }

    // The root panel covers the whole screen and is the GUI sheet.
    m_pRootPanelHandle = new HandleBase();
    CreatePanel(m_pRootPanelHandle, nullptr);
    CPanel* root = m_Panels.get(*m_pRootPanelHandle);
    if (root && root->GetWindow())
    {
        CEGUI::Window* window = root->GetWindow();
        window->setPosition(CEGUI::UVector2(CEGUI::UDim(0, 0), CEGUI::UDim(0, 0)));
        window->setSize(CEGUI::USize(CEGUI::UDim(1.0f, 0), CEGUI::UDim(1.0f, 0)));
        CEGUI::System::getSingleton().getDefaultGUIContext().setRootWindow(window);
        m_pRootWindow = window;
    }
    else
    {
        LogEvent("QGUI::CQGUI::Init: the root panel could not be created.", CEGUI::Errors);
    }

    m_bSystemCursorForced = false;
    return true;
}

void CQGUI::ShutDown()
{
    QGUI_OPEN_CALL_SCOPE();
    guardHostCall("ShutDown", [this] {
        char line[128];
        std::snprintf(line, sizeof(line), "QGUI::CQGUI::ShutDown: CostAll = %d(dl)",
                      static_cast<int>(ModulePoolBytes()));
        LogEvent(line, CEGUI::Standard);
        // From here on every operation is inert, also those that handlers
        // reach while the schemes go.
        m_bShutDown = true;
        CEGUI::SchemeManager::getSingleton().destroyAll();
    });
}

void CQGUI::Activate()
{
    QGUI_OPEN_CALL_SCOPE();
    m_bActive = true;
    m_fNextFocusPoll = 0.0f;
    m_MarkedWindowNames.clear();
    clearPressTimes();
}

void CQGUI::Deactivate()
{
    QGUI_OPEN_CALL_SCOPE();
    m_bActive = false;
    m_fNextFocusPoll = 0.0f;
    m_MarkedWindowNames.clear();
    clearPressTimes();
}

bool CQGUI::IsActive()
{
    QGUI_OPEN_CALL_SCOPE(false);
    return m_bActive;
}

void CQGUI::SetHostFlag(bool flag)
{
    QGUI_OPEN_CALL_SCOPE();
    m_bHostFlag = flag;
}

HostGlobals* CQGUI::GetHostGlobals()
{
    QGUI_OPEN_CALL_SCOPE(nullptr);
    return m_pHostGlobals;
}

void CQGUI::Update()
{
    QGUI_OPEN_CALL_SCOPE();
    if (!m_pHostGlobals)
        return;
    for (int32_t& o : m_StatusOverrides)
        o = 0;
    const HostGlobals* host = m_pHostGlobals;
    const bool paused = host->paused != 0;
    // A frame time that is no finite, positive number counts as 0, so it
    // cannot stop the GUI library's clock or the timers below for good.
    const float frame = std::isfinite(host->frametime) && host->frametime > 0.0f ? host->frametime
                                                                                 : 0.0f;
    // Each step runs on its own: one that fails (a window whose drawing
    // throws every frame) is logged, and the others still run.
    if (!paused)
        guardHostCall("Update", [frame] {
            CEGUI::System& system = CEGUI::System::getSingleton();
            system.injectTimePulse(frame);
            system.getDefaultGUIContext().injectTimePulse(frame);
        });
    guardHostCall("Update", [this] { runGuideTexts(); });
    guardHostCall("Update", [this] { postSounds(); });
    if (!paused)
        guardHostCall("Update", [this] {
            m_WindowRegistry.refreshShownWindows();
            CEGUI::System::getSingleton().renderAllGUIContexts();
        });

    g_fGcCountdown -= frame;
    if (g_fGcCountdown <= 0.0f)
    {
        ExecuteScriptGlobal("gFn_timely_gc");
        g_fGcCountdown = 5.0f;
    }
    // A current time that is no finite number skips the poll; it must not
    // move the next poll out of reach.
    if (std::isfinite(host->curtime) && host->curtime > m_fNextFocusPoll)
    {
        ExecuteScriptGlobal("gFn_try_catch_focus_ui");
        m_fNextFocusPoll = static_cast<float>(static_cast<double>(host->curtime) +
                                              static_cast<double>(0.1f));
    }
}

// Hands the queued guide texts to the scripts. The list is taken out first,
// so texts queued by the callbacks wait for the next frame.
void CQGUI::runGuideTexts()
{
    std::vector<GuideCmdText> records;
    records.swap(m_GuideTexts);
    bool emptyFrame = true;
    if (!records.empty())
    {
        ExecuteScriptGlobal("gFn_guide_cmd_text_draw_begin");
        for (const GuideCmdText& r : records)
            CallScriptFunction("gFn_guide_cmd_text_draw_moni", "%s%s%d%d%d", r.first.c_str(),
                               r.second.c_str(), r.a, r.b, r.c);
        ExecuteScriptGlobal("gFn_guide_cmd_text_draw_end");
        emptyFrame = false;
    }
    if (emptyFrame != m_bGuideListEmpty)
    {
        m_bGuideListEmpty = emptyFrame;
        ExecuteScriptGlobal("gFn_guide_cmd_text_draw_begin");
        ExecuteScriptGlobal("gFn_guide_cmd_text_draw_end");
    }
}

// Posts the queued sounds; the queue is taken out first so requests made
// while posting wait for the next frame.
void CQGUI::postSounds()
{
    std::vector<SoundRequest> requests;
    requests.swap(m_SoundQueue);
    for (const SoundRequest& r : requests)
    {
        // The name stays UTF-8 in the message: SendKeyVal converts it once.
        const char* local = Utf8ToAnsi(r.name.c_str(), "");
        if (!local || !*local)
            continue;
        KeyValues* message = new KeyValues("_KeyVal_Play_Sound");
        message->SetString("_KeyVal_Sound_Name", r.name.c_str());
        if (!SendKeyVal(message))
            message->deleteThis();
    }
}

void CQGUI::playSoundEffect(int32_t x, int32_t y, const char* name)
{
    QGUI_OPEN_CALL_SCOPE();
    if (!name)
        return;
    for (const SoundRequest& r : m_SoundQueue)
    {
        if (r.x == x && r.y == y && r.name == name)
            return;
    }
    m_SoundQueue.push_back(SoundRequest{x, y, name});
}

void CQGUI::QueueGuideCmdText(const char* first, const char* second, int a, int b, int c)
{
    QGUI_OPEN_CALL_SCOPE();
    m_GuideTexts.push_back(GuideCmdText{first ? first : "", second ? second : "", a, b, c});
}

// ---------------------------------------------------------------------------
// Marked window names.

// Marked names: kept, as the operation asks; always true.
bool CQGUI::MarkWindowName(const char* name)
{
    QGUI_OPEN_CALL_SCOPE(false);
    if (name)
        m_MarkedWindowNames.insert(name);
    return true;
}
// Marked names: true when the name was marked.
bool CQGUI::UnmarkWindowName(const char* name)
{
    QGUI_OPEN_CALL_SCOPE(false);
    return name && m_MarkedWindowNames.erase(name) > 0;
}

} // namespace QGUI
