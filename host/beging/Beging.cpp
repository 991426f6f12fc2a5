// "Beging.dat", the stand-in host's web-control module. It serves a web
// control manager that has no web controls: it records the messages it is
// shown and claims only the one its record names.
#include <cstring>

#include "IWebCtrl.h"
#include "WebCtrlRecord.h"
#include "interface.h"

namespace
{
WebCtrlRecord s_record = {0, 0, 0};

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
} // namespace

QGUI_EXPORT void* CreateInterface(const char* name, int32_t* returnCode)
{
    void* found = nullptr;
    if (name && std::strcmp(name, WEBCTRLMGR_INTERFACE_VERSION) == 0)
        found = static_cast<IWebCtrlMgr*>(&s_manager);
    else if (name && std::strcmp(name, QHOST_WEBCTRL_RECORD_VERSION) == 0)
        found = &s_record;
    if (returnCode)
        *returnCode = found ? IFACE_OK : IFACE_FAILED;
    return found;
}
