// The host's clock record, passed to IQGUI::Init and read on every frame.
#pragma once

#include <cstddef>
#include <cstdint>

struct HostGlobals
{
    float curtime;          // byte 0: current time, seconds
    uint8_t hostReserved0[12];
    float frametime;        // byte 16: duration of the current frame, seconds
    uint8_t hostReserved1[20];
    uint8_t paused;         // byte 40: non-zero suppresses time pulse and rendering
    uint8_t hostReserved2[23];
};

static_assert(offsetof(HostGlobals, curtime) == 0, "current time at byte 0");
static_assert(offsetof(HostGlobals, frametime) == 16, "frame time at byte 16");
static_assert(offsetof(HostGlobals, paused) == 40, "pause flag at byte 40");
