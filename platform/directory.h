// Directory creation with the contract of the Windows call.
#pragma once

#include "platform_api.h"

// Creates one directory; both '\' and '/' separate path pieces. Relative
// paths are taken from the current directory. Returns nonzero on success;
// 0 when the directory exists already or cannot be created.
QPLATFORM_API int CreateDirectoryA(const char* path, void* securityAttributes);
