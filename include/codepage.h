// Code-page conversion with the contracts of the Windows calls of the same
// names. Wide text is UTF-16 in 16-bit units (char16_t), never wchar_t.
//
// Code page 0 is the local code page (GBK, 936, unless the host chose
// another); 65001 is UTF-8, 54936 GB18030; any other number n names the
// converter "CPn" of the C library.
#pragma once

#include <cstdint>

#include "platform_api.h"

#ifndef CP_ACP
#define CP_ACP 0
#endif
#ifndef CP_UTF8
#define CP_UTF8 65001
#endif
#ifndef MB_ERR_INVALID_CHARS
#define MB_ERR_INVALID_CHARS 0x00000008
#endif
#ifndef WC_ERR_INVALID_CHARS
#define WC_ERR_INVALID_CHARS 0x00000080
#endif

// Sets the local code page; false (and nothing changed) when the platform
// cannot convert it.
QPLATFORM_API bool SetLocalCodePage(uint32_t codePage);
QPLATFORM_API uint32_t GetLocalCodePage();
// True when the local code page writes ASCII text as the same bytes, so
// plain ASCII needs no conversion to or from it.
QPLATFORM_API bool LocalCodePageKeepsAscii();

// Converts multiByteCount bytes of text (-1: up to and including its NUL) to
// UTF-16. With wideCount 0 only the number of units needed is returned.
// Returns the units written, or 0 on failure: bad arguments, an unknown code
// page, an output that does not fit (nothing is written past wideCount), or
// an invalid sequence when MB_ERR_INVALID_CHARS is given; without that flag
// an invalid sequence becomes U+FFFD.
QPLATFORM_API int MultiByteToWideChar(uint32_t codePage, uint32_t flags, const char* multiByte,
                                      int multiByteCount, char16_t* wide, int wideCount);

// Converts wideCount units of UTF-16 (-1: up to and including the NUL) to
// the code page. With multiByteCount 0 only the bytes needed are returned.
// A character the code page cannot hold becomes the default character (the
// first byte of defaultChar, else '?') and sets *usedDefaultChar; for UTF-8
// an unpaired surrogate becomes U+FFFD, or fails with WC_ERR_INVALID_CHARS,
// and defaultChar / usedDefaultChar must be null.
QPLATFORM_API int WideCharToMultiByte(uint32_t codePage, uint32_t flags, const char16_t* wide, int wideCount,
                                      char* multiByte, int multiByteCount, const char* defaultChar,
                                      int* usedDefaultChar);
