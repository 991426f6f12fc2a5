// The module's one main object: start-up over the host's interfaces, the
// per-frame update, input, panels, messages and the script-call services.
#pragma once

#include <deque>
#include <set>
#include <string>
#include <vector>

#include "IBaseFileSystem.h"
#include "IQEngineClient.h"
#include "IQGUI.h"
#include "IQXRender.h"
#include "core/DispatchScope.h"
#include "core/Panel.h"
#include "core/WebWindowSet.h"
#include "core/WindowRegistry.h"
#include "strtools.h"

namespace CEGUI
{
class EventArgs;
class Font;
} // namespace CEGUI
class IWebCtrlMgr;
namespace QXUI
{
class CQXRenerder;
class CQXResourceProvider;
}

// Opens the scope of an operation of the main object or the input method,
// or leaves it at once with the operation's failure answer unless the
// module runs (Init made the GUI system and ShutDown has not come):
// QGUI_OPEN_CALL_SCOPE(false), or QGUI_OPEN_CALL_SCOPE() in an operation
// without a result. Every operation starts with it, so a host or script
// that calls before start-up or after shut-down gets that answer and nothing
// is touched. The scope (QGUI::CModuleCallScope) lasts for the rest of the
// operation.
#define QGUI_OPEN_CALL_SCOPE(...)                  \
    if (!::QGUI::CQGUI::IsRunning())               \
        return __VA_ARGS__;                        \
    const ::QGUI::CModuleCallScope qguiCallScope

namespace QGUI
{
// What an operation holds while it runs: numbers are read and written in
// the "C" locale, whatever the host or a script set with setlocale (the GUI
// library reads the numbers of looks, layouts and properties through the C
// library, and Lua's number texts follow the locale too); and the GUI
// library's dead pool is emptied only once the outermost operation ends.
struct CModuleCallScope
{
    CModuleCallScope() : dispatch(CDispatchScope::Call) {}
    const CNumberTextScope numbers;
    const CDispatchScope dispatch;
};
} // namespace QGUI

namespace QGUI
{
class CScriptSystem;
class LuaScriptModule;

class CQGUI : public IQGUI
{
public:
    struct GuideCmdText
    {
        std::string first;
        std::string second;
        int a, b, c;
    };
    struct SoundRequest
    {
        int32_t x, y;
        std::string name;
    };

    CQGUI();
    ~CQGUI() override;

    // The one main object (also what "QGUI001" hands out).
    static CQGUI* GetGlobalObject();
    // Whether the module runs: Init made the GUI system, ShutDown has not
    // come (see QGUI_OPEN_CALL_SCOPE).
    static bool IsRunning();

    bool Init(CreateInterfaceFn* factories, int32_t count, HostGlobals* host) override;
    void ShutDown() override;
    void Activate() override;
    void Deactivate() override;
    bool IsActive() override;
    void Update() override;
    bool ProcessMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
    void SetHostFlag(bool flag) override;
    IPanel* CreatePanel(HandleBase* handle, const char* name) override;
    IPanel* QueryPanel(HandleBase* handle) override;
    void ReleasePanel(HandleBase* handle) override;
    IPanel* CreateSheetPanel(HandleBase* handle, bool makeSheet) override;
    bool SetPanelAsSheet(HandleBase* handle, int flag) override;
    void HidePanel(HandleBase* handle) override;
    bool AddToChildPanel(HandleBase* parent, HandleBase* child) override;
    bool AddPanelToRoot(HandleBase* handle) override;
    bool LoadUIStyle(const char* style) override;
    bool RecvKeyVal(KeyValues* message) override;
    bool SendKeyVal(KeyValues* message) override;
    bool QueryKeyVal(KeyValues* request, KeyValues* reply) override;
    bool ExecuteScpritFile(const char* file) override;
    int ExecuteScriptGlobal(const char* name) override;
    int CallScriptGlobalNumber(const char* name, int value) override;
    bool IsStatusOn(int32_t status) override;
    bool GetMousePosition(int32_t* x, int32_t* y) override;
    bool RedrawPanel(HandleBase* handle) override;
    bool EnablePanel(HandleBase* handle, bool enable) override;
    bool IsPanelActive(HandleBase* handle) override;
    bool ShowPanel(HandleBase* handle, bool show) override;
    bool IsPanelVisible(HandleBase* handle) override;
    bool IsPanelValid(HandleBase* handle) override;
    bool MovePanelToFront(HandleBase* handle, bool front) override;
    const char* GetPanelName(HandleBase* handle) override;
    void FirePanelEvent(HandleBase* handle, const char* eventName) override;
    void UpdateDisplaySize() override;
    void RegisterGameWindow(CEGUI::Window* window) override;
    void UnregisterGameWindow(CEGUI::Window* window) override;
    bool IsGameWindowRegistered(CEGUI::Window* window) override;
    void OpenScriptPackage(ScriptPackageOpenFn open) override;
    void RefreshWindowsByName(const char* key) override;
    void RegisterWindowByName(CEGUI::Window* window, const char* key) override;
    void UnregisterWindowByName(CEGUI::Window* window, const char* key) override;
    void BindWindowToObject(CEGUI::Window* window, int objectId) override;
    void UnbindWindowFromObject(CEGUI::Window* window, int objectId) override;
    void RefreshObjectWindows(int objectId) override;
    void RebindObjectWindows(int oldId, int newId) override;
    const char* FetchString(const char* key) override;
    const char* CallScriptGlobalNumberToString(const char* name, int value) override;
    int DrawText(const char* utf8Text, const QGUIRect* rect, const QGUIColours* colours,
                 const QGUIRect* clip, int format, int font, const QGUIScale* scale) override;
    int DrawTextColour(const char* text, const QGUIRect* rect, uint32_t colour,
                       const QGUIRect* clip, int format, int font) override;
    bool LoadFont(int index, const char* fontName) override;
    const char* GetFontName(int index) override;
    double FetchNumber(const char* key) override;
    uint32_t FetchColour(const char* key) override;
    int CallScriptGlobalNumberString(const char* name, int value, const char* text) override;
    const char* CallScriptGlobal2Strings(const char* name, const char* a, const char* b) override;
    const char* CallScriptGlobal2Strings2Numbers(const char* name, const char* a, const char* b,
                                                 int n1, int n2) override;
    void ReloadStyleImageset(const char* style, const char* variant, const char* ext) override;
    void OnDisplaySizeChanged() override;
    void playSoundEffect(int32_t x, int32_t y, const char* name) override;
    double CallScriptGlobalStringNumber(const char* name, const char* s, int value) override;
    bool MarkWindowName(const char* name) override;
    bool UnmarkWindowName(const char* name) override;
    HostGlobals* GetHostGlobals() override;
    int CallScriptGlobal2Strings4Numbers(const char* name, const char* a, const char* b, int n1,
                                         int n2, int n3, int n4) override;
    QGUIRect* GetTextExtent(QGUIRect* out, int font, const char* text) override;
    uint32_t FetchColourBySet(const char* key, int set) override;
    // The same, false when the scripts gave no colour text (see
    // CScriptSystem::TryFetchColourBySet).
    bool TryFetchColourBySet(const char* key, int set, uint32_t& colour);
    float GetStatusDuration(int32_t status) override;
    bool SetStatus(int32_t status, int32_t value) override;
    int CallScriptFunction(const char* name, const char* format, ...) override;
    void QueueGuideCmdText(const char* first, const char* second, int a, int b, int c) override;
    CreateInterfaceFn GetInterfaceFactory(int index) override;
    const void* GetMainWindow() override;
    void ShowSystemCursor(bool show) override;
    bool TransformScreenRect(QGUIRect* rect, bool inverse) override;
    void ManipulateHTMLWindow(int a, int b, int c) override;
    bool HasHTMLWindow() override;
    int DrawTextEx(const char* utf8Text, const QGUIRect* rect, const QGUIColours* colours,
                   const QGUIRect* clip, int format, int font, const QGUIScale* scale,
                   const uint32_t* extraColour) override;
    int DrawTextColourEx(const char* text, const QGUIRect* rect, uint32_t colour,
                         const QGUIRect* clip, int format, int font,
                         const uint32_t* extraColour) override;
    bool IsWebCtrlMessage(uintptr_t message) override;
    int32_t GetUserValue() override;
    void ReleaseRootPanel(HandleBase* handle) override;

    // --- inside the module ---
    // Committed characters of the input method.
    static void onImeChar(uint16_t unit);
    bool translateVirtualKey(WPARAM virtualKey, uint32_t* keyCode) const;
    static int statusFromScanCode(uint32_t keyCode);
    // Closes the topmost open closable panel; false when none is open.
    bool closeTopmostPanel();
    void pushOnCloseStack(const HandleBase& handle);
    void removeFromCloseStack(const HandleBase& handle);
    static bool onWindowSoundEvent(const CEGUI::EventArgs& args);
    // The sound "gFn_get_window_sound" names for a window and state, UTF-8.
    std::string windowSound(const char* windowName, const char* state);
    // Runs a panel script the first time its name is seen (2); 1 after.
    int runPanelScriptOnce(const std::string& file);
    // ReleasePanel of the panel's own handle: a script's delete of a panel.
    void ReleasePanelObject(IPanel* panel);
    // Panel of a handle whose window is still alive; null otherwise.
    CPanel* livePanel(const HandleBase* handle) const;
    // Destroys the panel's window (as a root window when asked), if it has
    // one.
    void releaseWindow(CPanel* panel, bool asRoot);
    const PanelHandlePool& GetPanelPool() const { return m_Panels; }
    const std::deque<uint32_t>& GetCloseStack() const { return m_CloseStack; }
    HandleBase* GetRootPanelHandle() const { return m_pRootPanelHandle; }
    // Converts key names and string values of the tree to the local code page.
    bool convertKeyValToLocal(KeyValues* node);
    CScriptSystem* GetScriptSystem() const { return m_pScriptSystem; }
    LuaScriptModule* GetScriptModule() const { return m_pScriptModule; }
    QXUI::CQXRenerder* GetRenderer() const { return m_pRenderer; }
    QXUI::CQXResourceProvider* GetResourceProvider() const { return m_pResourceProvider; }
    IQEngineClient* GetEngineClient() const { return m_pEngineClient; }
    IBaseFileSystem* GetFileSystem() const { return m_pFileSystem; }
    IQXRender* GetRenderInterface() const { return m_pRenderInterface; }
    CEGUI::Window* GetRootWindow() const { return m_pRootWindow; }
    bool IsInitialised() const { return m_bInitialised; }
    const CWindowRegistry& GetWindowRegistry() const { return m_WindowRegistry; }
    const std::vector<SoundRequest>& GetSoundQueue() const { return m_SoundQueue; }
    const std::vector<GuideCmdText>& GetGuideTexts() const { return m_GuideTexts; }

    // Web windows register once their native control exists and unregister
    // when it goes. The first shows the system cursor over the page; the
    // last one going hides it again.
    void RegisterWebWindow(IWebWindow* window);
    void UnregisterWebWindow(IWebWindow* window);
    const CWebWindowSet& GetWebWindows() const { return m_WebWindows; }
    // The host's main window moved: every web control is placed again.
    void OnMainWindowMoved();

private:
    bool initSteps(CreateInterfaceFn* factories, int32_t count, HostGlobals* host);
    // Runs body for the host call named operation; an exception it throws
    // is logged under that name and answers failure (core/HostCallGuard.h).
    template <class Result, class Body>
    Result guardHostCall(const char* operation, Result failure, Body&& body) const;
    template <class Body>
    void guardHostCall(const char* operation, Body&& body) const;
    // The font a font file defines: the loaded font of the file's font
    // name, or else one made from the file.
    static CEGUI::Font& fontFromFile(const CEGUI::String& file);
    // Text drawing: the font of a table entry, and the one drawing routine.
    CEGUI::Font* fontAt(int index) const;
    int drawTextImpl(const char* utf8Text, const QGUIRect* rect, const QGUIColours* colours,
                     const QGUIRect* clip, int format, int font, float xScale, float yScale);
    void runGuideTexts();
    void postSounds();
    void logHostException(const char* operation, const char* what) const;
    bool processMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void fillKeyTable();
    void setPressTime(int status, float seconds);
    void clearPressTimes();
    bool getStatusFlag(int status) const;
    bool injectAnsiChar(uint16_t c);
    void onMouseEnterWindow();
    void onMouseLeaveWindow();
    void updateCursorVisibility();
    void pullFrameWindowsOnScreen(CEGUI::Window* sheet);
    float currentTime() const;

    bool m_bActive = false;
    HostGlobals* m_pHostGlobals = nullptr;
    bool m_bHostFlag = true;
    bool m_bMouseInside = false;
    bool m_bSystemCursorForced = false;
    CScriptSystem* m_pScriptSystem = nullptr;
    IQEngineClient* m_pEngineClient = nullptr;
    unsigned char m_KeyTable[256] = {};
    HandleBase* m_pRootPanelHandle = nullptr;
    CEGUI::Font* m_Fonts[4] = {};
    float m_fNextFocusPoll = 0.0f;
    int32_t m_nUserValue = 0;
    std::set<std::string> m_MarkedWindowNames;
    std::vector<SoundRequest> m_SoundQueue;
    float m_PressTimes[QGUI_STATUS_COUNT] = {};
    int32_t m_StatusOverrides[QGUI_STATUS_COUNT] = {};
    std::vector<GuideCmdText> m_GuideTexts;
    bool m_bGuideListEmpty = false;
    CreateInterfaceFn m_pForeignFactory = nullptr;
    IWebCtrlMgr* m_pWebCtrlMgr = nullptr;
    CWebWindowSet m_WebWindows;
    std::deque<uint32_t> m_CloseStack;
    IQXRender* m_pRenderInterface = nullptr;
    PanelHandlePool m_Panels;
    std::set<std::string> m_RunPanelScripts;
    CWindowRegistry m_WindowRegistry;

    // What Init created (kept for the module's own use; never destroyed).
    QXUI::CQXRenerder* m_pRenderer = nullptr;
    QXUI::CQXResourceProvider* m_pResourceProvider = nullptr;
    LuaScriptModule* m_pScriptModule = nullptr;
    IBaseFileSystem* m_pFileSystem = nullptr;
    CSysModule m_pForeignModule = nullptr;
    CEGUI::Window* m_pRootWindow = nullptr;
    bool m_bInitialised = false;
    bool m_bShutDown = false;
};
} // namespace QGUI
