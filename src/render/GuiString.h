// UTF-8 text into the GUI library's strings. The library's own decoding
// trusts its input and reads past the end of a sequence cut short; text
// from outside the module goes through here instead.
#pragma once

#include <cstddef>

#include <CEGUI/String.h>

namespace QGUI
{
// One UTF-8 sequence read: its code point and its length in bytes. A
// length of 0 means the bytes read start no well-formed sequence.
struct Utf8Sequence
{
    CEGUI::utf32 codePoint;
    size_t length;
};

// Reads the sequence at the start of the available bytes (at least one),
// as the UTF-8 standard's table of well-formed sequences has it: the lead
// bytes C0, C1 and F5-FF, a lead byte without the continuation bytes it
// needs, over-long forms, surrogates and values above U+10FFFF start none.
Utf8Sequence DecodeUtf8Sequence(const unsigned char* bytes, size_t available);

// Decodes UTF-8; each byte that does not start a well-formed sequence
// becomes U+FFFD and decoding goes on at the next byte. The first form
// stops at the first NUL; the second reads length bytes, NULs included.
// Null is the empty text.
CEGUI::String StringFromUtf8(const char* text);
CEGUI::String StringFromUtf8(const char* text, size_t length);
} // namespace QGUI
