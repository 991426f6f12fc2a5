// The host engine client, "QEngineClient001": the game side of the host.
#pragma once

#include <cstdint>

#include "interface.h"

#define QENGINECLIENT_INTERFACE_VERSION "QEngineClient001"

class KeyValues;

// Fields of the display-mode record that the module reads.
struct QDisplayMode
{
    uint8_t hostReserved0[10];
    uint16_t width;           // byte 10: drawing surface width
    uint16_t height;          // byte 12: drawing surface height
    uint8_t hostReserved1[8];
    uint8_t unscaled;         // byte 22: no scaling between screen and surface
    uint8_t offsetEighth;     // byte 23: vertical offset of one eighth of the height
};

// The record answered by GetMainWindow; its first field is the game window.
struct QMainWindowRecord
{
    void* hwnd;
};

class IQEngineClient : public IBaseInterface
{
public:
    // A message in the local code page; true = accepted (the receiver owns it).
    virtual bool RecvKeyVal(KeyValues* message) = 0;
    // Fills the reply; true when the game answered.
    virtual bool QueryKeyVal(KeyValues* request, KeyValues* reply) = 0;
    // Draws a game object into the rectangle at the given depth.
    virtual void RenderObjectQuad(uint32_t objectId, int left, int top, int right, int bottom,
                                  float z, uint32_t renderOp, const int* texRect) = 0;
    // True: immediate interface quads must not be drawn now.
    virtual bool IsGuiRenderSuppressed() = 0;
    virtual const QDisplayMode* GetDisplayMode() = 0;
    virtual const QMainWindowRecord* GetMainWindow() = 0;
};
