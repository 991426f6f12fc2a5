// The main interface of the interface module, handed out as "QGUI001".
#pragma once

#include <cstdint>

#include "HostGlobals.h"
#include "interface.h"
#include "winapi.h"

#define QGUI_INTERFACE_VERSION "QGUI001"

class KeyValues;

// A panel handle: low 16 bits the pool slot, high 16 bits a serial number.
struct HandleBase
{
    uint32_t value = 0;
};

// Input statuses.
enum QGUIStatus
{
    QGUI_STATUS_MOUSE_OVER_UI = 0,
    QGUI_STATUS_ALT = 1,
    QGUI_STATUS_CONTROL = 2,
    QGUI_STATUS_SHIFT = 3,
    QGUI_STATUS_LBUTTON = 4,
    QGUI_STATUS_MBUTTON = 5,
    QGUI_STATUS_RBUTTON = 6,
    QGUI_STATUS_COUNT = 7
};

// Screen rectangle in pixels.
struct QGUIRect
{
    int32_t left, top, right, bottom;
};

// Corner colours, ARGB.
struct QGUIColours
{
    uint32_t topLeft, topRight, bottomLeft, bottomRight;
};

struct QGUIScale
{
    float x, y;
};

struct lua_State;
typedef int (*ScriptPackageOpenFn)(lua_State*);

namespace CEGUI { class Window; }

namespace QGUI
{
// A panel: a window tree built from a layout and its script.
class IPanel
{
public:
    virtual ~IPanel() {}
    virtual const char* GetName() = 0;
};

class IQGUI : public IBaseInterface
{
public:
    virtual bool Init(CreateInterfaceFn* factories, int32_t count, HostGlobals* host) = 0;
    virtual void ShutDown() = 0;
    virtual void Activate() = 0;
    virtual void Deactivate() = 0;
    virtual bool IsActive() = 0;
    virtual void Update() = 0;
    virtual bool ProcessMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;
    virtual void SetHostFlag(bool flag) = 0;
    virtual IPanel* CreatePanel(HandleBase* handle, const char* name) = 0;
    virtual IPanel* QueryPanel(HandleBase* handle) = 0;
    virtual void ReleasePanel(HandleBase* handle) = 0;
    virtual IPanel* CreateSheetPanel(HandleBase* handle, bool makeSheet) = 0;
    virtual bool SetPanelAsSheet(HandleBase* handle, int flag) = 0;
    virtual void HidePanel(HandleBase* handle) = 0;
    virtual bool AddToChildPanel(HandleBase* parent, HandleBase* child) = 0;
    virtual bool AddPanelToRoot(HandleBase* handle) = 0;
    virtual bool LoadUIStyle(const char* style) = 0;
    // Messages are KeyValues trees (KeyValues.h); either side may make,
    // read and destroy them.
    // A message from the game, for the parser registered under its name.
    // True when a parser took it: the module has destroyed it. False leaves
    // it the caller's.
    virtual bool RecvKeyVal(KeyValues* message) = 0;
    // A message to the game: its names and string values are rewritten in
    // place from UTF-8 into the local code page, then it goes to the engine
    // client's RecvKeyVal, whose answer is returned (without an engine
    // client, to RecvKeyVal above). False leaves it the caller's.
    virtual bool SendKeyVal(KeyValues* message) = 0;
    // A question to the game: the request, rewritten as SendKeyVal does,
    // goes with the reply to the engine client, which fills the reply (false
    // without an engine client). Both stay the caller's.
    virtual bool QueryKeyVal(KeyValues* request, KeyValues* reply) = 0;
    virtual bool ExecuteScpritFile(const char* file) = 0;
    virtual int ExecuteScriptGlobal(const char* name) = 0;
    virtual int CallScriptGlobalNumber(const char* name, int value) = 0;
    virtual bool IsStatusOn(int32_t status) = 0;
    virtual bool GetMousePosition(int32_t* x, int32_t* y) = 0;
    virtual bool RedrawPanel(HandleBase* handle) = 0;
    virtual bool EnablePanel(HandleBase* handle, bool enable) = 0;
    virtual bool IsPanelActive(HandleBase* handle) = 0;
    virtual bool ShowPanel(HandleBase* handle, bool show) = 0;
    virtual bool IsPanelVisible(HandleBase* handle) = 0;
    virtual bool IsPanelValid(HandleBase* handle) = 0;
    virtual bool MovePanelToFront(HandleBase* handle, bool front) = 0;
    virtual const char* GetPanelName(HandleBase* handle) = 0;
    virtual void FirePanelEvent(HandleBase* handle, const char* eventName) = 0;
    virtual void UpdateDisplaySize() = 0;
    virtual void RegisterGameWindow(CEGUI::Window* window) = 0;
    virtual void UnregisterGameWindow(CEGUI::Window* window) = 0;
    virtual bool IsGameWindowRegistered(CEGUI::Window* window) = 0;
    virtual void OpenScriptPackage(ScriptPackageOpenFn open) = 0;
    virtual void RefreshWindowsByName(const char* key) = 0;
    virtual void RegisterWindowByName(CEGUI::Window* window, const char* key) = 0;
    virtual void UnregisterWindowByName(CEGUI::Window* window, const char* key) = 0;
    virtual void BindWindowToObject(CEGUI::Window* window, int objectId) = 0;
    virtual void UnbindWindowFromObject(CEGUI::Window* window, int objectId) = 0;
    virtual void RefreshObjectWindows(int objectId) = 0;
    virtual void RebindObjectWindows(int oldId, int newId) = 0;
    virtual const char* FetchString(const char* key) = 0;
    virtual const char* CallScriptGlobalNumberToString(const char* name, int value) = 0;
    virtual int DrawText(const char* utf8Text, const QGUIRect* rect, const QGUIColours* colours,
                         const QGUIRect* clip, int format, int font, const QGUIScale* scale) = 0;
    virtual int DrawTextColour(const char* text, const QGUIRect* rect, uint32_t colour,
                               const QGUIRect* clip, int format, int font) = 0;
    virtual bool LoadFont(int index, const char* fontName) = 0;
    virtual const char* GetFontName(int index) = 0;
    virtual double FetchNumber(const char* key) = 0;
    virtual uint32_t FetchColour(const char* key) = 0;
    virtual int CallScriptGlobalNumberString(const char* name, int value, const char* text) = 0;
    virtual const char* CallScriptGlobal2Strings(const char* name, const char* a, const char* b) = 0;
    virtual const char* CallScriptGlobal2Strings2Numbers(const char* name, const char* a,
                                                         const char* b, int n1, int n2) = 0;
    virtual void ReloadStyleImageset(const char* style, const char* variant, const char* ext) = 0;
    virtual void OnDisplaySizeChanged() = 0;
    virtual void playSoundEffect(int32_t x, int32_t y, const char* name) = 0;
    virtual double CallScriptGlobalStringNumber(const char* name, const char* s, int value) = 0;
    virtual bool MarkWindowName(const char* name) = 0;
    virtual bool UnmarkWindowName(const char* name) = 0;
    virtual HostGlobals* GetHostGlobals() = 0;
    virtual int CallScriptGlobal2Strings4Numbers(const char* name, const char* a, const char* b,
                                                 int n1, int n2, int n3, int n4) = 0;
    virtual QGUIRect* GetTextExtent(QGUIRect* out, int font, const char* text) = 0;
    virtual uint32_t FetchColourBySet(const char* key, int set) = 0;
    virtual float GetStatusDuration(int32_t status) = 0;
    virtual bool SetStatus(int32_t status, int32_t value) = 0;
    virtual int CallScriptFunction(const char* name, const char* format, ...) = 0;
    virtual void QueueGuideCmdText(const char* first, const char* second, int a, int b, int c) = 0;
    virtual CreateInterfaceFn GetInterfaceFactory(int index) = 0;
    virtual const void* GetMainWindow() = 0;
    virtual void ShowSystemCursor(bool show) = 0;
    virtual bool TransformScreenRect(QGUIRect* rect, bool inverse) = 0;
    virtual void ManipulateHTMLWindow(int a, int b, int c) = 0;
    virtual bool HasHTMLWindow() = 0;
    virtual int DrawTextEx(const char* utf8Text, const QGUIRect* rect, const QGUIColours* colours,
                           const QGUIRect* clip, int format, int font, const QGUIScale* scale,
                           const uint32_t* extraColour) = 0;
    virtual int DrawTextColourEx(const char* text, const QGUIRect* rect, uint32_t colour,
                                 const QGUIRect* clip, int format, int font,
                                 const uint32_t* extraColour) = 0;
    // message: the host's window message, or a pointer to its message record.
    virtual bool IsWebCtrlMessage(uintptr_t message) = 0;
    virtual int32_t GetUserValue() = 0;
    virtual void ReleaseRootPanel(HandleBase* handle) = 0;
};
} // namespace QGUI
