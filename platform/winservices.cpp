#include "winservices.h"

#include <sys/syscall.h>
#include <unistd.h>

#include <string>

namespace
{
struct ShownBox
{
    std::string text;
    std::string caption;
    MessageBoxRecord record{};
};
ShownBox g_lastBox;
int g_boxCount = 0;
MessageBoxHandler g_boxHandler = nullptr;
void* g_boxUser = nullptr;
HWND g_focus = nullptr;
int g_cursorCount = 0;
int g_quitRequests = 0;
int g_lastExitCode = 0;
int g_screenWidth = 0;
int g_screenHeight = 0;
} // namespace

int ShowCursor(bool show)
{
    g_cursorCount += show ? 1 : -1;
    return g_cursorCount;
}

int GetCursorDisplayCount()
{
    return g_cursorCount;
}

void SetCursorDisplayCount(int count)
{
    g_cursorCount = count;
}

void PostQuitMessage(int exitCode)
{
    ++g_quitRequests;
    g_lastExitCode = exitCode;
}

int GetQuitRequestCount()
{
    return g_quitRequests;
}

int GetLastQuitExitCode()
{
    return g_lastExitCode;
}

int GetSystemMetrics(int index)
{
    switch (index)
    {
    case SM_CXSCREEN:
        return g_screenWidth;
    case SM_CYSCREEN:
        return g_screenHeight;
    default:
        return 0;
    }
}

void SetScreenSize(int width, int height)
{
    g_screenWidth = width > 0 ? width : 0;
    g_screenHeight = height > 0 ? height : 0;
}

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type)
{
    g_lastBox.text = text ? text : "";
    g_lastBox.caption = caption ? caption : "";
    g_lastBox.record = MessageBoxRecord{owner, g_lastBox.text.c_str(), g_lastBox.caption.c_str(), type};
    ++g_boxCount;
    if (g_boxHandler)
        g_boxHandler(g_lastBox.record, g_boxUser);
    return IDOK;
}

void SetMessageBoxHandler(MessageBoxHandler handler, void* user)
{
    g_boxHandler = handler;
    g_boxUser = user;
}

int GetMessageBoxCount()
{
    return g_boxCount;
}

const MessageBoxRecord* GetLastMessageBox()
{
    return g_boxCount ? &g_lastBox.record : nullptr;
}

HWND SetFocus(HWND window)
{
    HWND previous = g_focus;
    g_focus = window;
    return previous;
}

HWND GetFocus()
{
    return g_focus;
}

uint32_t GetWindowThreadProcessId(HWND window, uint32_t* processId)
{
    if (!window)
        return 0;
    if (processId)
        *processId = static_cast<uint32_t>(getpid());
    return static_cast<uint32_t>(syscall(SYS_gettid));
}
