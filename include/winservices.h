// Windows services the module calls, with the observable contracts of the
// Windows calls, over this platform. Each keeps what a test needs to see.
#pragma once

#include <cstdint>

#include "platform_api.h"
#include "winapi.h"

// The cursor display count: ShowCursor(true) raises it, ShowCursor(false)
// lowers it; the cursor shows while the count is 0 or more. Returns the new
// count.
QPLATFORM_API int ShowCursor(bool show);
// The current count, and a way for tests to start from a known one.
QPLATFORM_API int GetCursorDisplayCount();
QPLATFORM_API void SetCursorDisplayCount(int count);

// Records the request to end the message loop.
QPLATFORM_API void PostQuitMessage(int exitCode);
// The number of quit requests posted so far, and the last exit code.
QPLATFORM_API int GetQuitRequestCount();
QPLATFORM_API int GetLastQuitExitCode();

// System metrics: SM_CXSCREEN and SM_CYSCREEN answer the screen size the
// host gave with SetScreenSize, 0 until it gives one; other indices answer 0,
// as Windows does for a metric it does not know.
enum
{
    SM_CXSCREEN = 0,
    SM_CYSCREEN = 1
};
QPLATFORM_API int GetSystemMetrics(int index);
// The host's screen size in pixels; a negative size counts as 0.
QPLATFORM_API void SetScreenSize(int width, int height);

// A modal message box: the stand-in shows none. It keeps the last box and
// the number shown, hands each to the host's handler (when one is set) and
// answers IDOK, as a box with only an OK button does.
enum : UINT
{
    MB_OK = 0x00000000
};
enum
{
    IDOK = 1
};
QPLATFORM_API int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type);
struct MessageBoxRecord
{
    HWND owner;
    const char* text;    // valid until the next box
    const char* caption; // valid until the next box
    UINT type;
};
// How the host shows a box (null: boxes are only recorded).
typedef void (*MessageBoxHandler)(const MessageBoxRecord& box, void* user);
QPLATFORM_API void SetMessageBoxHandler(MessageBoxHandler handler, void* user);
QPLATFORM_API int GetMessageBoxCount();
// The last box shown; null before the first.
QPLATFORM_API const MessageBoxRecord* GetLastMessageBox();

// Keyboard focus: SetFocus gives it to a window and answers the window that
// had it; GetFocus answers the window that has it (null at first).
QPLATFORM_API HWND SetFocus(HWND window);
QPLATFORM_API HWND GetFocus();

// The thread that owns a window: the host drives everything from the one
// thread that made its windows, so every window belongs to the calling
// thread. processId (when not null) receives the process id. A null window
// answers 0.
QPLATFORM_API uint32_t GetWindowThreadProcessId(HWND window, uint32_t* processId);
