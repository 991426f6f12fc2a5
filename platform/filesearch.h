// File search with the contracts of FindFirstFileA, FindNextFileA and
// FindClose, over the POSIX directory calls.
//
// Patterns and names are in the local code page, as the "A" calls have them;
// on disk, names are UTF-8. Both '\' and '/' separate path pieces, and a
// pattern that starts with a separator starts at the file-system root. The
// last piece of the pattern selects names: '*' stands for any run of
// characters, '?' for one, letters match in either case, and "*.*" matches
// every name. "." and ".." are reported like any other folder.
#pragma once

#include <cstdint>

#include "platform_api.h"

enum : uint32_t
{
    FILE_ATTRIBUTE_READONLY = 0x01,
    FILE_ATTRIBUTE_DIRECTORY = 0x10,
    FILE_ATTRIBUTE_NORMAL = 0x80
};

// Room for any name of the file system (255 bytes) in any code page (at most
// four bytes a character), with its terminator.
constexpr int FIND_NAME_SIZE = 4 * 255 + 1;

// One entry of a search.
struct WIN32_FIND_DATAA
{
    uint32_t dwFileAttributes;
    char cFileName[FIND_NAME_SIZE];
};

typedef void* HANDLE;
#define INVALID_HANDLE_VALUE (reinterpret_cast<HANDLE>(static_cast<intptr_t>(-1)))

// Starts a search and fills the first entry; INVALID_HANDLE_VALUE when the
// folder cannot be read (missing, not a folder, no access, a path that is
// not text of the code page) or when no name matches.
QPLATFORM_API HANDLE FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* data);
// Fills the next entry; 0 at the end, or for a handle that is not an open
// search.
QPLATFORM_API int FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data);
// Ends a search; 0 for a handle that is not an open search.
QPLATFORM_API int FindClose(HANDLE search);
