// The input-method object handed out as "QIME001".
#pragma once

#include "IIMEBaseInterface.h"
#include "winapi.h"

class CIMEBase : public IIMEBaseInterface
{
public:
    CIMEBase();
    ~CIMEBase() override;

    int32_t EnableIme(int32_t mode) override;
    int32_t SetCaretPosition(int32_t x, int32_t y, int32_t a, int32_t b, int32_t dx) override;

    bool Initialize(HWND window);
    bool ProcessMessage(HWND window, UINT message, WPARAM wParam, LPARAM& lParam, bool* trapped);

    HWND GetWindow() const { return m_hWnd; }

private:
    HWND m_hWnd = nullptr;
};

// The module's one input-method object.
CIMEBase& GetIMEBase();
