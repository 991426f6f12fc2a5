// Decodes arbitrary bytes with the module's UTF-8 decoder and holds every
// step against an independent reader, glibc's iconv, asked for one
// character at a time: where iconv reads a character, the module reads the
// same code point over the same bytes; where iconv refuses (EILSEQ for an
// ill-formed sequence, EINVAL for one the text's end cuts short), the
// module gives one U+FFFD for that byte and goes on at the next. The whole
// text, NUL-terminated and counted, must decode to what those steps give.
//
// glibc's UTF-8 reader refuses what the standard refuses and no more: lead
// bytes C0, C1 and F5-FF, over-long forms, surrogates, values above
// U+10FFFF and sequences cut short, while noncharacters such as U+FFFE are
// read as the standard reads them. So no case is set aside here; another
// iconv (GNU libiconv, musl) may not be as strict, and this target then
// reports its leniency.
//
// Input: the text, up to its first NUL (StringFromUtf8 reads NUL-terminated
// text).

#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include <iconv.h>

#include "render/GuiString.h"

namespace
{
void Check(bool condition)
{
    if (!condition)
        __builtin_trap();
}

// The sequence iconv reads at the start of bytes; length 0 when it refuses.
QGUI::Utf8Sequence ReadWithIconv(iconv_t cd, const unsigned char* bytes, size_t available)
{
    char* in = reinterpret_cast<char*>(const_cast<unsigned char*>(bytes));
    size_t inLeft = available;
    unsigned char out[4];
    char* outNext = reinterpret_cast<char*>(out);
    size_t outLeft = sizeof(out);
    errno = 0;
    // Room for one character: iconv reads one, then stops with E2BIG (or
    // with nothing left to read), or reads none and says why.
    const size_t result = iconv(cd, &in, &inLeft, &outNext, &outLeft);
    if (outLeft == 0)
    {
        const CEGUI::utf32 codePoint = out[0] | (out[1] << 8) | (out[2] << 16) |
                                       (static_cast<CEGUI::utf32>(out[3]) << 24);
        return {codePoint, available - inLeft};
    }
    Check(result == static_cast<size_t>(-1) && (errno == EILSEQ || errno == EINVAL));
    Check(inLeft == available);
    return {0, 0};
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const iconv_t cd = iconv_open("UTF-32LE", "UTF-8");
    Check(cd != reinterpret_cast<iconv_t>(-1));
    const size_t length = strnlen(reinterpret_cast<const char*>(data), size);
    // Copies of exactly the text's bytes (and of the text with its NUL), so
    // that a read past either end is a sanitizer report.
    const std::vector<unsigned char> text(data, data + length);
    std::vector<char> terminated(text.begin(), text.end());
    terminated.push_back('\0');
    const unsigned char* bytes = text.data();

    std::vector<CEGUI::utf32> expected;
    for (size_t i = 0; i < length;)
    {
        iconv(cd, nullptr, nullptr, nullptr, nullptr);
        const QGUI::Utf8Sequence theirs = ReadWithIconv(cd, bytes + i, length - i);
        const QGUI::Utf8Sequence ours = QGUI::DecodeUtf8Sequence(bytes + i, length - i);
        Check(ours.length == theirs.length);
        if (theirs.length == 0)
        {
            expected.push_back(0xFFFD);
            ++i;
            continue;
        }
        Check(ours.codePoint == theirs.codePoint);
        expected.push_back(theirs.codePoint);
        i += theirs.length;
    }

    const CEGUI::String whole = QGUI::StringFromUtf8(terminated.data());
    Check(std::vector<CEGUI::utf32>(whole.ptr(), whole.ptr() + whole.length()) == expected);
    const CEGUI::String counted = QGUI::StringFromUtf8(reinterpret_cast<const char*>(bytes), length);
    Check(counted == whole);
    return 0;
}
