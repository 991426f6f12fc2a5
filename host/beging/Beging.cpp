// "Beging.dat", the stand-in host's web-control module. It serves a web
// control manager that records the messages it is shown and claims only
// the one its record names, and web controls that record what they are
// asked and draw nothing (the host draws where they sit).
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "IWebCtrl.h"
#include "WebCtrlRecord.h"
#include "interface.h"

namespace
{
WebCtrlRecord s_record;

class WebCtrlManager final : public IWebCtrlMgr
{
public:
    int32_t PreTranslateMessage(uintptr_t message) override
    {
        ++s_record.preTranslateCalls;
        s_record.lastMessage = message;
        return message != 0 && message == s_record.claimedMessage ? 1 : 0;
    }
};

WebCtrlManager s_manager;

std::string RectText(const WebCtrlRect* rect)
{
    if (!rect)
        return "null";
    char text[64];
    std::snprintf(text, sizeof text, "%d %d %d %d", rect->x, rect->y, rect->width, rect->height);
    return text;
}

// A control keeps living after Release (the module unloads it with the
// record), so a call that comes too late is recorded, not undefined.
class StandInWebCtrl final : public IWebCtrl
{
public:
    explicit StandInWebCtrl(WebCtrlLog& log) : d_log(log) {}

    bool Create(uint32_t style, const WebCtrlRect* rect, HWND parent, uint32_t threadId) override
    {
        char text[160];
        std::snprintf(text, sizeof text, "Create %x %s %p %u", style, RectText(rect).c_str(), parent,
                      threadId);
        record(text);
        if (d_log.released || s_record.failCreate || !parent)
            return false;
        d_log.created = true;
        if (rect)
            d_log.rect = *rect;
        return true;
    }
    void SetCallBack(IWebCallBack* callback) override
    {
        record(callback ? "SetCallBack 1" : "SetCallBack 0");
        if (!d_log.released)
            d_log.callback = callback;
    }
    void Navigate(const char* address, int32_t flags) override
    {
        const std::string target = address ? address : "";
        record("Navigate " + target + " " + std::to_string(flags));
        if (d_log.released || !d_log.created)
            return;
        if (!d_log.callback || d_log.callback->OnBeforeNavigate(target.c_str(), nullptr))
            d_log.page = target;
    }
    void Show(bool show) override
    {
        record(show ? "Show 1" : "Show 0");
        if (!d_log.released)
            d_log.visible = show;
    }
    void SetRect(const WebCtrlRect* rect, bool unscaled) override
    {
        record("SetRect " + RectText(rect) + (unscaled ? " 1" : " 0"));
        if (d_log.released || !rect)
            return;
        d_log.rect = *rect;
        d_log.unscaled = unscaled;
    }
    void Release() override
    {
        record("Release");
        d_log.released = true;
        d_log.visible = false;
        d_log.callback = nullptr;
    }

private:
    void record(const std::string& call)
    {
        if (d_log.released)
        {
            ++d_log.callsAfterRelease;
            d_log.calls.push_back(call + " after Release");
            return;
        }
        d_log.calls.push_back(call);
    }

    WebCtrlLog& d_log;
};

std::vector<std::unique_ptr<StandInWebCtrl>> s_controls;

IWebCtrl* NewControl()
{
    if (s_record.refuseControls)
        return nullptr;
    s_record.controls.push_back(std::make_unique<WebCtrlLog>());
    s_controls.push_back(std::make_unique<StandInWebCtrl>(*s_record.controls.back()));
    return s_controls.back().get();
}
} // namespace

QGUI_EXPORT void* CreateInterface(const char* name, int32_t* returnCode)
{
    void* found = nullptr;
    if (name && std::strcmp(name, WEBCTRLMGR_INTERFACE_VERSION) == 0)
        found = static_cast<IWebCtrlMgr*>(&s_manager);
    else if (name && std::strcmp(name, WEBCTRL_INTERFACE_VERSION) == 0)
        found = NewControl();
    else if (name && std::strcmp(name, QHOST_WEBCTRL_RECORD_VERSION) == 0)
        found = &s_record;
    if (returnCode)
        *returnCode = found ? IFACE_OK : IFACE_FAILED;
    return found;
}
