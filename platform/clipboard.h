// The clipboard and movable global memory, with the contracts of the Windows
// calls of the same names, as an in-process store.
//
// The clipboard holds one data block per format. A block handed over with
// SetClipboardData belongs to the clipboard from then on (EmptyClipboard
// frees it); a block it refused stays the caller's. Text set in one of the
// two text formats is offered in the other as well, converted when it is
// asked for: CF_TEXT in the local code page, CF_UNICODETEXT in UTF-16.
//
// Test seams: failures of the next calls of OpenClipboard, GlobalAlloc,
// GlobalLock and SetClipboardData can be asked for, raw bytes can be put on
// the clipboard as another program would (unterminated ones included), and
// the number of live global blocks can be read.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform_api.h"

typedef void* HGLOBAL;
typedef void* HANDLE;

enum : uint32_t
{
    CF_TEXT = 1,
    CF_UNICODETEXT = 13
};

enum : uint32_t
{
    GMEM_FIXED = 0x0000,
    GMEM_MOVEABLE = 0x0002,
    GMEM_ZEROINIT = 0x0040
};

// Opens the clipboard for the calling code; false while it is open already.
QPLATFORM_API bool OpenClipboard(void* ownerWindow);
// False when the clipboard is not open.
QPLATFORM_API bool CloseClipboard();
// Frees every block on the clipboard; false when the clipboard is not open.
QPLATFORM_API bool EmptyClipboard();
// Puts a block on the clipboard under a format, replacing (and freeing)
// what that format held. Null, leaving the block the caller's, when the
// clipboard is not open, the block is not a live global block, or the
// format is 0.
QPLATFORM_API HANDLE SetClipboardData(uint32_t format, HANDLE data);
// Whether data of that format can be had (text formats stand for each
// other); the clipboard need not be open.
QPLATFORM_API bool IsClipboardFormatAvailable(uint32_t format);
// The clipboard's block for that format (converted from the other text
// format when needed); null when the clipboard is not open or holds no such
// data. The block stays the clipboard's.
QPLATFORM_API HANDLE GetClipboardData(uint32_t format);

// A block of size bytes (at least one byte is kept); null when it cannot be
// had.
QPLATFORM_API HGLOBAL GlobalAlloc(uint32_t flags, size_t size);
// Frees a block; null on success, the handle itself when it names no live
// block.
QPLATFORM_API HGLOBAL GlobalFree(HGLOBAL block);
// The block's bytes, its lock count raised; null for no live block.
QPLATFORM_API void* GlobalLock(HGLOBAL block);
// Lowers the lock count; whether the block is still locked.
QPLATFORM_API bool GlobalUnlock(HGLOBAL block);
// The block's size in bytes; 0 for no live block.
QPLATFORM_API size_t GlobalSize(HGLOBAL block);

// --- test seams ---
// Empties and closes the clipboard and clears the failures asked for.
QPLATFORM_API void ClipboardReset();
// Makes the next count calls of each function fail.
QPLATFORM_API void ClipboardFailOpen(int count);
QPLATFORM_API void ClipboardFailGlobalAlloc(int count);
QPLATFORM_API void ClipboardFailGlobalLock(int count);
QPLATFORM_API void ClipboardFailSetData(int count);
// Puts size bytes on the clipboard under a format exactly as given (no
// terminator is added), as another program may; what was there before goes.
QPLATFORM_API void ClipboardPutRaw(uint32_t format, const void* bytes, size_t size);
// Global blocks allocated and not yet freed, the clipboard's own included.
QPLATFORM_API size_t GlobalLiveBlocks();
