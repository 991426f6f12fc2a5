#include "winservices.h"

namespace
{
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
