// The input-method layer of the GUI library build. No system input method is
// used: the layer remembers its callbacks, window, enabled flag and caret,
// traps nothing, and lets a test or the host deliver composed text through
// the character callback.
#pragma once

#include <cstddef>
#include <cstdint>

#include "winapi.h"

typedef void (*ImeUiDrawRectFn)(int, int, int, int, uint32_t);
typedef void* (*ImeUiAllocFn)(size_t);
typedef void (*ImeUiFreeFn)(void*);
typedef void (*ImeUiDrawFansFn)(const void*, unsigned);
typedef void (*ImeUiCharFn)(uint16_t);

bool ImeUi_Initialize(HWND window, bool disable);
void ImeUi_SetCallback(ImeUiDrawRectFn drawRect, ImeUiAllocFn alloc, ImeUiFreeFn release,
                       ImeUiDrawFansFn drawFans, ImeUiCharFn onChar);
// Sees a window message first; sets *trapped when the layer keeps it.
// Returns non-zero when the layer handled the message.
intptr_t ImeUi_ProcessMessage(HWND window, UINT message, WPARAM wParam, LPARAM& lParam,
                              bool* trapped);
void ImeUi_EnableIme(bool enable);
void ImeUi_SetCaretPosition(int x, int y);

// State of the layer, for tests and the host.
struct ImeUiState
{
    HWND window;
    bool initialised;
    bool enabled;
    int caretX, caretY;
    ImeUiCharFn onChar;
    ImeUiAllocFn alloc;
    ImeUiFreeFn release;
    bool trapNext;        // the next message is trapped (test seam)
};
const ImeUiState& ImeUi_GetState();
// Makes the layer trap the next message it sees.
void ImeUi_TrapNextMessage();
// Delivers committed UTF-16 units through the character callback, as the
// input method does when a composition ends. Returns the units delivered.
size_t ImeUi_Commit(const char16_t* units, size_t count);
