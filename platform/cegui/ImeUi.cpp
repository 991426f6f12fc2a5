#include "ImeUi.h"

namespace
{
ImeUiState g_state{nullptr, false, false, 0, 0, nullptr, nullptr, nullptr, false};
} // namespace

bool ImeUi_Initialize(HWND window, bool disable)
{
    g_state.window = window;
    g_state.initialised = true;
    g_state.enabled = !disable;
    return true;
}

void ImeUi_SetCallback(ImeUiDrawRectFn, ImeUiAllocFn alloc, ImeUiFreeFn release, ImeUiDrawFansFn,
                       ImeUiCharFn onChar)
{
    g_state.alloc = alloc;
    g_state.release = release;
    g_state.onChar = onChar;
}

intptr_t ImeUi_ProcessMessage(HWND, UINT, WPARAM, LPARAM&, bool* trapped)
{
    const bool trap = g_state.trapNext;
    g_state.trapNext = false;
    if (trapped)
        *trapped = trap;
    return trap ? 1 : 0;
}

void ImeUi_EnableIme(bool enable)
{
    g_state.enabled = enable;
}

void ImeUi_SetCaretPosition(int x, int y)
{
    g_state.caretX = x;
    g_state.caretY = y;
}

const ImeUiState& ImeUi_GetState()
{
    return g_state;
}

void ImeUi_TrapNextMessage()
{
    g_state.trapNext = true;
}

size_t ImeUi_Commit(const char16_t* units, size_t count)
{
    if (!g_state.onChar || !units)
        return 0;
    for (size_t i = 0; i < count; ++i)
        g_state.onChar(static_cast<uint16_t>(units[i]));
    return count;
}
