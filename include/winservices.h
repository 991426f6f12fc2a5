// Windows services the module calls, with the observable contracts of the
// Windows calls, over this platform. Each keeps what a test needs to see.
#pragma once

#include "platform_api.h"

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
