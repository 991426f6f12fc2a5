#include "core/IMEBase.h"

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
    ImeUi_EnableIme(mode > 0);
    return mode;
}

int32_t CIMEBase::SetCaretPosition(int32_t x, int32_t y, int32_t, int32_t, int32_t dx)
{
    ImeUi_SetCaretPosition(x + dx, y);
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
    return ImeUi_ProcessMessage(window, message, wParam, lParam, trapped) != 0;
}
