// The host's web controls, served by its module "Beging.dat" through its
// exported CreateInterface: the manager "IWEBCTRLMGR_INTERFACE1", which
// sees window messages first, and one native web control per
// "IWEBCTRL_INTERFACE2" request, which shows a page over the game window.
// Addresses and texts cross this boundary in UTF-8.
#pragma once

#include <cstdint>

#include "interface.h"
#include "winapi.h"

#define WEBCTRLMGR_INTERFACE_VERSION "IWEBCTRLMGR_INTERFACE1"
#define WEBCTRL_INTERFACE_VERSION "IWEBCTRL_INTERFACE2"

class IWebCtrlMgr
{
public:
    // Lets the manager look at a window message first (the message, or a
    // pointer to the host's message record); non-zero when the message
    // belongs to a web control.
    virtual int32_t PreTranslateMessage(uintptr_t message) = 0;

protected:
    ~IWebCtrlMgr() {}
};

// Where a native control sits, in screen pixels.
struct WebCtrlRect
{
    int32_t x, y, width, height;
};

// What a web control asks of the window that owns it. The control calls
// these on the thread that drives the interface.
class IWebCallBack
{
public:
    // The control's native window exists.
    virtual void OnCreated(void* nativeWindow) = 0;
    // Asked before each navigation, the control's own and the page's; false
    // stops it. reserved is the control's and is not used.
    virtual bool OnBeforeNavigate(const char* address, void* reserved) = 0;
    // A page finished loading.
    virtual void OnNavigateComplete(const char* address) = 0;
    // The page's title changed.
    virtual void OnTitleChange(const char* title) = 0;
    // The page asks to tell the user something.
    virtual void OnShowMessage(const char* text) = 0;
    // The page asks for a window of its own (address, and the control's
    // own request record).
    virtual void OnNewWindow(const char* address, void* request) = 0;

protected:
    ~IWebCallBack() {}
};

// Style flag of Create: the native control is a child of the given window.
constexpr uint32_t WEBCTRL_STYLE_CHILD = 0x80000000u;

// One native web control. After Release it is gone: nothing may call it.
class IWebCtrl
{
public:
    // Makes the native control for the parent window, which the given
    // thread owns; false when it could not be made.
    virtual bool Create(uint32_t style, const WebCtrlRect* rect, HWND parent, uint32_t threadId) = 0;
    // The control asks this callback from now on (null: nobody).
    virtual void SetCallBack(IWebCallBack* callback) = 0;
    // Opens an address (asking the callback first); flags 0.
    virtual void Navigate(const char* address, int32_t flags) = 0;
    virtual void Show(bool show) = 0;
    // Places the native control. unscaled: true when the rectangle is the
    // game surface's own (nothing was scaled), false when it was scaled from
    // the surface to the screen.
    virtual void SetRect(const WebCtrlRect* rect, bool unscaled) = 0;
    // Destroys the control.
    virtual void Release() = 0;

protected:
    ~IWebCtrl() {}
};
