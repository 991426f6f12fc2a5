// What the stand-in host's web-control module records; the module serves it
// to the host as "QHostWebCtrlRecord001".
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "IWebCtrl.h"

#define QHOST_WEBCTRL_RECORD_VERSION "QHostWebCtrlRecord001"

// One web control the module handed out: every call it got, in order, one
// line each, and where it stands now. It draws nothing.
//   "Create 80000000 10 20 300 200 0x1234 77"  style (hex), rectangle, parent, thread
//   "SetCallBack 1"                            1: a callback, 0: none
//   "Navigate http://a.example/ 0"             address, flags
//   "Show 1"
//   "SetRect 10 20 300 200 1"                  rectangle, unscaled flag
//   "Release"
// A Navigate asks the callback first, as a real control does; the page is
// the last address it let through. Calls after Release are counted and
// recorded with the suffix " after Release".
struct WebCtrlLog
{
    std::vector<std::string> calls;
    bool created = false;
    bool released = false;
    bool visible = false;
    WebCtrlRect rect{0, 0, 0, 0};
    bool unscaled = false;
    IWebCallBack* callback = nullptr;
    std::string page;
    uint32_t callsAfterRelease = 0;
};

struct WebCtrlRecord
{
    uint32_t preTranslateCalls = 0;  // PreTranslateMessage calls so far
    uintptr_t lastMessage = 0;       // the message of the last call
    uintptr_t claimedMessage = 0;    // a message the manager claims (0: none)
    // Every control handed out, in order; released ones stay listed.
    std::vector<std::unique_ptr<WebCtrlLog>> controls;
    // Makes the next "IWEBCTRL_INTERFACE2" requests fail (none handed out).
    bool refuseControls = false;
    // Makes Create of the next controls fail.
    bool failCreate = false;

    // The controls not released, in order.
    std::vector<const WebCtrlLog*> live() const
    {
        std::vector<const WebCtrlLog*> out;
        for (const auto& c : controls)
            if (!c->released)
                out.push_back(c.get());
        return out;
    }
};
