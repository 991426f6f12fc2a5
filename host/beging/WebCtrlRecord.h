// What the stand-in host's web-control module records; the module serves it
// to the host as "QHostWebCtrlRecord001".
#pragma once

#include <cstdint>

#define QHOST_WEBCTRL_RECORD_VERSION "QHostWebCtrlRecord001"

struct WebCtrlRecord
{
    uint32_t preTranslateCalls;  // PreTranslateMessage calls so far
    uintptr_t lastMessage;       // the message of the last call
    uintptr_t claimedMessage;    // a message the manager claims (0: none)
};
