// UTF-8 text into the GUI library's strings. The library's own decoding
// trusts its input and reads past the end of a sequence cut short; text
// from outside the module goes through here instead.
#pragma once

#include <CEGUI/String.h>

namespace QGUI
{
// Decodes UTF-8; each byte that does not start a valid sequence (and each
// overlong form, surrogate or sequence cut short) becomes U+FFFD. Null is
// the empty text.
CEGUI::String StringFromUtf8(const char* text);
} // namespace QGUI
