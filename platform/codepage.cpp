#include "codepage.h"

#include <iconv.h>

#include <cerrno>
#include <atomic>
#include <cstring>
#include <mutex>
#include <string>
#include <vector>

namespace
{

#if defined(__BYTE_ORDER__) && __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
const char* const kWideCharset = "UTF-16BE";
const char kReplacementWide[2] = {'\xFF', '\xFD'};
#else
const char* const kWideCharset = "UTF-16LE";
const char kReplacementWide[2] = {'\xFD', '\xFF'};
#endif
const char kReplacementUtf8[3] = {'\xEF', '\xBF', '\xBD'};

// The converters are stateful and cached; one lock keeps them to one caller.
std::mutex s_mutex;
uint32_t s_localCodePage = 936;
// Whether the local code page writes ASCII as ASCII (GBK does).
std::atomic<bool> s_localKeepsAscii{true};

struct Converter
{
    uint32_t codePage;
    bool toWide;
    iconv_t cd;
};
std::vector<Converter>& Converters()
{
    static std::vector<Converter>* converters = new std::vector<Converter>; // kept for the process
    return *converters;
}

std::string CharsetFor(uint32_t codePage)
{
    if (codePage == CP_UTF8)
        return "UTF-8";
    if (codePage == 54936)
        return "GB18030";
    return "CP" + std::to_string(codePage);
}

iconv_t NoConverter()
{
    return reinterpret_cast<iconv_t>(-1);
}

// The converter between the code page and UTF-16 (called with the lock held).
iconv_t ConverterFor(uint32_t codePage, bool toWide)
{
    if (codePage == CP_ACP)
        codePage = s_localCodePage;
    for (const Converter& c : Converters())
        if (c.codePage == codePage && c.toWide == toWide)
            return c.cd;
    std::string charset = CharsetFor(codePage);
    iconv_t cd = toWide ? iconv_open(kWideCharset, charset.c_str()) : iconv_open(charset.c_str(), kWideCharset);
    Converters().push_back(Converter{codePage, toWide, cd}); // failures are remembered too
    return cd;
}

// Collects converted bytes: counts them all, and copies them while they fit.
struct Sink
{
    char* out;       // null: count only
    size_t capacity; // bytes
    size_t length = 0;
    bool overflow = false;

    void Put(const char* bytes, size_t n)
    {
        if (out)
        {
            if (n > capacity - length)
            {
                overflow = true;
                return;
            }
            std::memcpy(out + length, bytes, n);
        }
        length += n;
    }
};

struct Replacement
{
    const char* bytes;
    size_t size;
};

// Runs the input through the converter. An invalid or unconvertible sequence
// fails the conversion when strict, else is replaced and skipped. Returns
// false on failure, including output that does not fit the sink.
bool Convert(iconv_t cd, const char* input, size_t inputBytes, bool wideInput, Sink& sink,
             const Replacement& replacement, bool strict, bool* replaced)
{
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(input);
    size_t inLeft = inputBytes;
    char scratch[1024];
    while (inLeft > 0)
    {
        char* out = scratch;
        size_t outLeft = sizeof(scratch);
        size_t result = iconv(cd, &in, &inLeft, &out, &outLeft);
        int error = errno;
        sink.Put(scratch, static_cast<size_t>(out - scratch));
        if (sink.overflow)
            return false;
        if (result != static_cast<size_t>(-1))
            continue;
        if (error == E2BIG)
            continue;
        if (error != EILSEQ && error != EINVAL)
            return false;
        if (strict)
            return false;
        size_t skip = 1;
        if (wideInput)
        {
            skip = 2;
            if (inLeft >= 4)
            {
                char16_t first, second;
                std::memcpy(&first, in, 2);
                std::memcpy(&second, in + 2, 2);
                if (first >= 0xD800 && first < 0xDC00 && second >= 0xDC00 && second < 0xE000)
                    skip = 4; // a valid pair that the code page cannot hold: one default character
            }
        }
        if (skip > inLeft)
            skip = inLeft;
        in += skip;
        inLeft -= skip;
        sink.Put(replacement.bytes, replacement.size);
        if (sink.overflow)
            return false;
        if (replaced)
            *replaced = true;
    }
    // Close any shift state (none for the code pages in use).
    char* out = scratch;
    size_t outLeft = sizeof(scratch);
    if (iconv(cd, nullptr, nullptr, &out, &outLeft) == static_cast<size_t>(-1))
        return false;
    sink.Put(scratch, static_cast<size_t>(out - scratch));
    return !sink.overflow;
}

size_t WideLength(const char16_t* text)
{
    size_t n = 0;
    while (text[n])
        ++n;
    return n;
}

} // namespace

bool SetLocalCodePage(uint32_t codePage)
{
    if (codePage == CP_ACP)
        return true;
    {
        std::lock_guard<std::mutex> lock(s_mutex);
        if (ConverterFor(codePage, true) == NoConverter() || ConverterFor(codePage, false) == NoConverter())
            return false;
        s_localKeepsAscii = false;
        s_localCodePage = codePage;
    }
    // Probe once whether ASCII passes through the code page unchanged, both ways.
    char ascii[127];
    char16_t wide[127];
    char back[127];
    for (int i = 0; i < 127; ++i)
        ascii[i] = static_cast<char>(i + 1);
    bool keeps = MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, ascii, 127, wide, 127) == 127 &&
                 WideCharToMultiByte(codePage, 0, wide, 127, back, 127, nullptr, nullptr) == 127 &&
                 std::memcmp(ascii, back, sizeof ascii) == 0;
    for (int i = 0; keeps && i < 127; ++i)
        keeps = wide[i] == static_cast<char16_t>(i + 1);
    s_localKeepsAscii = keeps;
    return true;
}

bool LocalCodePageKeepsAscii()
{
    return s_localKeepsAscii;
}

uint32_t GetLocalCodePage()
{
    std::lock_guard<std::mutex> lock(s_mutex);
    return s_localCodePage;
}

int MultiByteToWideChar(uint32_t codePage, uint32_t flags, const char* multiByte, int multiByteCount,
                        char16_t* wide, int wideCount)
{
    if (!multiByte || multiByteCount == 0 || multiByteCount < -1 || wideCount < 0 || (wideCount > 0 && !wide))
        return 0;
    if (flags & ~static_cast<uint32_t>(MB_ERR_INVALID_CHARS))
        return 0;
    size_t inputBytes = multiByteCount == -1 ? std::strlen(multiByte) + 1 : static_cast<size_t>(multiByteCount);

    std::lock_guard<std::mutex> lock(s_mutex);
    iconv_t cd = ConverterFor(codePage, true);
    if (cd == NoConverter())
        return 0;
    Sink sink{wideCount > 0 ? reinterpret_cast<char*>(wide) : nullptr, static_cast<size_t>(wideCount) * 2};
    Replacement replacement{kReplacementWide, sizeof(kReplacementWide)};
    if (!Convert(cd, multiByte, inputBytes, false, sink, replacement, (flags & MB_ERR_INVALID_CHARS) != 0, nullptr))
        return 0;
    size_t units = sink.length / 2;
    if (units > 0x7FFFFFFF)
        return 0;
    return static_cast<int>(units);
}

int WideCharToMultiByte(uint32_t codePage, uint32_t flags, const char16_t* wide, int wideCount, char* multiByte,
                        int multiByteCount, const char* defaultChar, int* usedDefaultChar)
{
    if (!wide || wideCount == 0 || wideCount < -1 || multiByteCount < 0 || (multiByteCount > 0 && !multiByte))
        return 0;
    if (flags & ~static_cast<uint32_t>(WC_ERR_INVALID_CHARS))
        return 0;
    const bool utf8 = codePage == CP_UTF8;
    if (utf8 && (defaultChar || usedDefaultChar))
        return 0;
    if (!utf8 && (flags & WC_ERR_INVALID_CHARS))
        return 0;
    size_t units = wideCount == -1 ? WideLength(wide) + 1 : static_cast<size_t>(wideCount);
    if (usedDefaultChar)
        *usedDefaultChar = 0;

    std::lock_guard<std::mutex> lock(s_mutex);
    iconv_t cd = ConverterFor(codePage, false);
    if (cd == NoConverter())
        return 0;
    Sink sink{multiByteCount > 0 ? multiByte : nullptr, static_cast<size_t>(multiByteCount)};
    char fallback = defaultChar && defaultChar[0] ? defaultChar[0] : '?';
    Replacement replacement = utf8 ? Replacement{kReplacementUtf8, sizeof(kReplacementUtf8)} : Replacement{&fallback, 1};
    bool replaced = false;
    if (!Convert(cd, reinterpret_cast<const char*>(wide), units * 2, true, sink, replacement,
                 (flags & WC_ERR_INVALID_CHARS) != 0, &replaced))
        return 0;
    if (usedDefaultChar && replaced)
        *usedDefaultChar = 1;
    if (sink.length > 0x7FFFFFFF)
        return 0;
    return static_cast<int>(sink.length);
}
