#include "core/IMEBase.h"

#include <algorithm>
#include <cstdint>

#include "ImeUi.h"
#include "core/ModuleMemory.h"
#include "core/QGUI.h"

CIMEBase::CIMEBase()
{
    ImeUi_SetCaretPosition(100, 100);
}

CIMEBase::~CIMEBase() {}

int32_t CIMEBase::EnableIme(int32_t mode)
{
    QGUI_OPEN_CALL_SCOPE(0);
    ImeUi_EnableIme(mode > 0);
    return mode;
}

int32_t CIMEBase::SetCaretPosition(int32_t x, int32_t y, int32_t, int32_t, int32_t dx)
{
    QGUI_OPEN_CALL_SCOPE(0);
    // The offset saturates at the ends of the int range instead of
    // overflowing.
    const int64_t caretX = std::clamp<int64_t>(static_cast<int64_t>(x) + dx, INT32_MIN, INT32_MAX);
    ImeUi_SetCaretPosition(static_cast<int32_t>(caretX), y);
    return 1;
}

bool CIMEBase::Initialize(HWND window)
{
    ImeUi_SetCallback(nullptr, &QGUI::ModulePoolAlloc, &QGUI::ModulePoolFree, nullptr,
                      &QGUI::CQGUI::onImeChar);
    m_hWnd = window;
    ImeUi_Initialize(window, false);
    return true;
}

bool CIMEBase::ProcessMessage(HWND window, UINT message, WPARAM wParam, LPARAM& lParam,
                              bool* trapped)
{
    QGUI_OPEN_CALL_SCOPE(false);
    return ImeUi_ProcessMessage(window, message, wParam, lParam, trapped) != 0;
}
