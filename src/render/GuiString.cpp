#include "render/GuiString.h"

#include <cstring>

namespace QGUI
{
CEGUI::String StringFromUtf8(const char* text)
{
    if (!text)
        return CEGUI::String();
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    // The library's string grows by what each character needs: room for
    // the whole text at once keeps long texts linear.
    CEGUI::String out;
    out.reserve(std::strlen(text));
    while (*p)
    {
        const unsigned char lead = *p;
        int extra = 0;
        CEGUI::utf32 c = lead;
        CEGUI::utf32 least = 0;
        if (lead >= 0xF0 && lead <= 0xF4)
            extra = 3, c = lead & 0x07, least = 0x10000;
        else if (lead >= 0xE0)
            extra = 2, c = lead & 0x0F, least = 0x800;
        else if (lead >= 0xC2 && lead < 0xE0)
            extra = 1, c = lead & 0x1F, least = 0x80;
        else if (lead >= 0x80)
            extra = -1;
        int taken = 1;
        for (int i = 1; i <= extra; ++i, ++taken)
        {
            if ((p[i] & 0xC0) != 0x80)
            {
                extra = -1;
                break;
            }
            c = (c << 6) | (p[i] & 0x3F);
        }
        if (extra < 0 || c < least || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
        {
            out.push_back(0xFFFD);
            p += 1;
            continue;
        }
        out.push_back(c);
        p += taken;
    }
    return out;
}
} // namespace QGUI
