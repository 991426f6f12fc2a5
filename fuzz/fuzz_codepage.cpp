// Converts arbitrary bytes between the code pages and UTF-16 with every
// buffer size that matters, checks the counts against the conversions and
// the UTF-8 round trip, and runs the bounded string helpers.
//
// Input: one byte choosing the code page and flags, then the text.

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "codepage.h"
#include "strtools.h"

namespace
{

const uint32_t kCodePages[] = {CP_ACP, CP_UTF8, 936, 1252, 932, 54936, 950, 99999};

void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

void NarrowToWide(uint32_t codePage, uint32_t flags, const char* text, int length)
{
    int needed = MultiByteToWideChar(codePage, flags, text, length, nullptr, 0);
    if (needed <= 0)
        return;
    std::vector<char16_t> out(static_cast<size_t>(needed) + 1, u'#');
    Check(MultiByteToWideChar(codePage, flags, text, length, out.data(), needed) == needed);
    Check(out[static_cast<size_t>(needed)] == u'#');
    if (needed > 1)
    {
        std::vector<char16_t> small(static_cast<size_t>(needed - 1));
        Check(MultiByteToWideChar(codePage, flags, text, length, small.data(), needed - 1) == 0);
    }
}

void WideToNarrow(uint32_t codePage, uint32_t flags, const char16_t* text, int length)
{
    int needed = WideCharToMultiByte(codePage, flags, text, length, nullptr, 0, nullptr, nullptr);
    if (needed <= 0)
        return;
    std::vector<char> out(static_cast<size_t>(needed) + 1, '#');
    Check(WideCharToMultiByte(codePage, flags, text, length, out.data(), needed, nullptr, nullptr) == needed);
    Check(out[static_cast<size_t>(needed)] == '#');
    if (needed > 1)
    {
        std::vector<char> small(static_cast<size_t>(needed - 1));
        Check(WideCharToMultiByte(codePage, flags, text, length, small.data(), needed - 1, nullptr, nullptr) == 0);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    const uint8_t options = data[0];
    const uint32_t codePage = kCodePages[options & 7];
    const char* bytes = reinterpret_cast<const char*>(data + 1);
    const int length = static_cast<int>(size - 1);
    std::string text(bytes, static_cast<size_t>(length)); // NUL-terminated copy

    if (length > 0)
    {
        NarrowToWide(codePage, (options & 8) ? MB_ERR_INVALID_CHARS : 0, bytes, length);
        std::vector<char16_t> wide((static_cast<size_t>(length) + 1) / 2 + 1, u'\0');
        std::memcpy(wide.data(), bytes, static_cast<size_t>(length) & ~size_t(1));
        int units = length / 2;
        if (units > 0)
        {
            const uint32_t wideFlags = (codePage == CP_UTF8 && (options & 8)) ? WC_ERR_INVALID_CHARS : 0;
            WideToNarrow(codePage, wideFlags, wide.data(), units);
            WideToNarrow(codePage, wideFlags, wide.data(), -1);
        }
        (void)Utf16ToMultiByte(wide.data(), static_cast<int>(codePage));
    }
    NarrowToWide(codePage, 0, text.c_str(), -1);

    // Valid UTF-8 survives a trip through UTF-16.
    int units = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.c_str(), -1, nullptr, 0);
    if (units > 0)
    {
        std::u16string wide(MultiByteToUtf16(text.c_str(), CP_UTF8));
        Check(std::string(Utf16ToMultiByte(wide.c_str(), CP_UTF8)) == text.substr(0, std::strlen(text.c_str())));
    }
    (void)Utf8ToAnsi(text.c_str(), "");
    (void)AnsiToUtf8(text.c_str(), "");
    (void)MultiByteToUtf16(text.c_str(), static_cast<int>(codePage));

    (void)StringToInt(text.c_str());
    (void)StringToFloat(text.c_str());
    char small[8] = "ab";
    StrNCat(small, text.c_str(), sizeof(small), (options >> 4) - 1);
    Check(std::strlen(small) < sizeof(small));
    StrNCopy(small, text.c_str(), (options >> 5) + 1 > 8 ? 8 : (options >> 5) + 1);
    Check(StrSnprintf(small, sizeof(small), "%s", text.c_str()) <= static_cast<int>(sizeof(small)));
    return 0;
}
