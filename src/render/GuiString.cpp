#include "render/GuiString.h"

#include <cstring>

namespace QGUI
{
Utf8Sequence DecodeUtf8Sequence(const unsigned char* bytes, size_t available)
{
    const Utf8Sequence none = {0, 0};
    const unsigned char lead = bytes[0];
    if (lead < 0x80)
        return {lead, 1};
    // The length and first bits a lead byte gives, and the range its first
    // continuation byte must fall in: narrower than 80-BF after E0 and F0
    // (over-long forms), ED (surrogates) and F4 (past U+10FFFF).
    size_t length;
    CEGUI::utf32 value;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF)
        length = 2, value = lead & 0x1F;
    else if (lead >= 0xE0 && lead <= 0xEF)
        length = 3, value = lead & 0x0F;
    else if (lead >= 0xF0 && lead <= 0xF4)
        length = 4, value = lead & 0x07;
    else
        return none;
    if (lead == 0xE0)
        low = 0xA0;
    else if (lead == 0xED)
        high = 0x9F;
    else if (lead == 0xF0)
        low = 0x90;
    else if (lead == 0xF4)
        high = 0x8F;
    if (available < length || bytes[1] < low || bytes[1] > high)
        return none;
    for (size_t i = 1; i < length; ++i)
    {
        if ((bytes[i] & 0xC0) != 0x80)
            return none;
        value = (value << 6) | (bytes[i] & 0x3F);
    }
    return {value, length};
}

CEGUI::String StringFromUtf8(const char* text)
{
    return text ? StringFromUtf8(text, std::strlen(text)) : CEGUI::String();
}

CEGUI::String StringFromUtf8(const char* text, size_t length)
{
    CEGUI::String out;
    if (!text)
        return out;
    // The library's string grows by what each character needs: room for
    // the whole text at once keeps long texts linear.
    out.reserve(length);
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    size_t i = 0;
    while (i < length)
    {
        const Utf8Sequence s = DecodeUtf8Sequence(p + i, length - i);
        if (s.length == 0)
        {
            out.push_back(0xFFFD);
            ++i;
        }
        else
        {
            out.push_back(s.codePoint);
            i += s.length;
        }
    }
    return out;
}
} // namespace QGUI
