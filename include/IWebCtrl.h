// The web control manager "IWEBCTRLMGR_INTERFACE1", served by the host's
// module "Beging.dat" through its exported CreateInterface.
#pragma once

#include <cstdint>

#include "interface.h"

#define WEBCTRLMGR_INTERFACE_VERSION "IWEBCTRLMGR_INTERFACE1"

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
