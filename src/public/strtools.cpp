#include "strtools.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <vector>

#include "codepage.h"
#include "tier0.h"

namespace
{

std::vector<char>& NarrowBuffer()
{
    static std::vector<char> buffer(CODEPAGE_BUFFER_SIZE, '\0');
    return buffer;
}

std::vector<char16_t>& WideBuffer()
{
    static std::vector<char16_t> buffer(CODEPAGE_BUFFER_SIZE, u'\0');
    return buffer;
}

int HexDigit(unsigned char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// The "C" locale, made once; null only when it cannot be made.
locale_t NumberTextLocale()
{
    static const locale_t locale = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return locale;
}

} // namespace

CNumberTextScope::CNumberTextScope() : m_previous(static_cast<locale_t>(0))
{
    if (locale_t c = NumberTextLocale())
        m_previous = uselocale(c);
}

CNumberTextScope::~CNumberTextScope()
{
    if (m_previous)
        uselocale(m_previous);
}

bool CNumberTextScope::IsHeld()
{
    const locale_t c = NumberTextLocale();
    return c && uselocale(static_cast<locale_t>(0)) == c;
}

const char* Utf16ToMultiByte(const char16_t* wide, int codePage)
{
    std::vector<char>& out = NarrowBuffer();
    if (!wide)
    {
        out[0] = '\0';
        return out.data();
    }
    const uint32_t cp = static_cast<uint32_t>(codePage);
    int written = WideCharToMultiByte(cp, 0, wide, -1, out.data(), static_cast<int>(out.size()), nullptr, nullptr);
    if (written == 0)
    {
        int needed = WideCharToMultiByte(cp, 0, wide, -1, nullptr, 0, nullptr, nullptr);
        if (needed > static_cast<int>(out.size()))
        {
            out.resize(static_cast<size_t>(needed));
            written = WideCharToMultiByte(cp, 0, wide, -1, out.data(), needed, nullptr, nullptr);
        }
    }
    if (written == 0)
        out[0] = '\0';
    return out.data();
}

const char16_t* MultiByteToUtf16(const char* text, int codePage)
{
    std::vector<char16_t>& out = WideBuffer();
    if (!text)
    {
        out[0] = u'\0';
        return out.data();
    }
    const uint32_t cp = static_cast<uint32_t>(codePage);
    int written = MultiByteToWideChar(cp, 0, text, -1, out.data(), static_cast<int>(out.size()));
    if (written == 0)
    {
        int needed = MultiByteToWideChar(cp, 0, text, -1, nullptr, 0);
        if (needed > static_cast<int>(out.size()))
        {
            out.resize(static_cast<size_t>(needed));
            written = MultiByteToWideChar(cp, 0, text, -1, out.data(), needed);
        }
    }
    if (written == 0)
        out[0] = u'\0';
    else
        out[static_cast<size_t>(written) - 1] = u'\0';
    return out.data();
}

namespace
{
// Plain ASCII reads the same in UTF-8 and in a local code page that keeps
// ASCII: it is copied into the narrow buffer unconverted. False when the
// text needs the conversion.
bool CopyAsciiToNarrow(const char* text, const char** result)
{
    if (!LocalCodePageKeepsAscii())
        return false;
    const size_t length = std::strlen(text);
    if (!IsAsciiText(text, length))
        return false;
    std::vector<char>& out = NarrowBuffer();
    if (out.size() < length + 1)
        out.resize(length + 1);
    std::memcpy(out.data(), text, length + 1);
    *result = out.data();
    return true;
}
} // namespace

const char* Utf8ToAnsi(const char* text, const char* defaultValue)
{
    if (!text)
        return defaultValue;
    const char* ascii = nullptr;
    if (CopyAsciiToNarrow(text, &ascii))
        return ascii;
    return Utf16ToMultiByte(MultiByteToUtf16(text, CP_UTF8), CP_ACP);
}

const char* AnsiToUtf8(const char* text, const char* defaultValue)
{
    if (!text)
        return defaultValue;
    const char* ascii = nullptr;
    if (CopyAsciiToNarrow(text, &ascii))
        return ascii;
    return Utf16ToMultiByte(MultiByteToUtf16(text, CP_ACP), CP_UTF8);
}

char* StrNCat(char* dest, const char* src, int destSize, int maxCharsToAppend)
{
    AssertValidStringPtr(dest);
    AssertValidStringPtr(src);
    _AssertValidWritePtr(dest, destSize);
    if (!dest || !src || destSize <= 0 || maxCharsToAppend == 0)
        return dest;
    const size_t size = static_cast<size_t>(destSize);
    const size_t length = strnlen(dest, size);
    if (length >= size)
        return dest;
    size_t count = size - 1 - length;
    if (maxCharsToAppend > 0 && static_cast<size_t>(maxCharsToAppend) < count)
        count = static_cast<size_t>(maxCharsToAppend);
    count = strnlen(src, count);
    if (count == 0)
        return dest;
    std::memcpy(dest + length, src, count);
    dest[length + count] = '\0';
    dest[size - 1] = '\0';
    return dest;
}

int StrSnprintf(char* dest, int size, const char* format, ...)
{
    AssertValidStringPtr(format);
    _AssertValidWritePtr(dest, size);
    if (!dest || size <= 0 || !format)
        return 0;
    CNumberTextScope numbers;
    va_list args;
    va_start(args, format);
    int length = std::vsnprintf(dest, static_cast<size_t>(size), format, args);
    va_end(args);
    if (length < 0)
    {
        dest[0] = '\0';
        return 0;
    }
    if (length >= size)
    {
        dest[size - 1] = '\0';
        return size;
    }
    return length;
}

void StrNCopy(char* dest, const char* src, int size)
{
    AssertValidStringPtr(src);
    _AssertValidWritePtr(dest, size);
    if (!dest || size <= 0)
        return;
    if (!src)
    {
        dest[0] = '\0';
        return;
    }
    size_t count = strnlen(src, static_cast<size_t>(size) - 1);
    std::memcpy(dest, src, count);
    dest[count] = '\0';
}

int StringToInt(const char* text)
{
    AssertValidStringPtr(text);
    if (!text)
        return 0;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    uint32_t sign = 1;
    if (*p == '-')
    {
        sign = static_cast<uint32_t>(-1);
        ++p;
    }
    uint32_t value = 0;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X'))
    {
        p += 2;
        for (int digit; (digit = HexDigit(*p)) >= 0; ++p)
            value = (value << 4) + static_cast<uint32_t>(digit);
    }
    else if (*p == '\'')
    {
        value = static_cast<uint32_t>(static_cast<int32_t>(static_cast<int8_t>(p[1])));
    }
    else
    {
        for (; *p >= '0' && *p <= '9'; ++p)
            value = value * 10 + (*p - '0');
    }
    return static_cast<int32_t>(value * sign);
}

float StringToFloat(const char* text)
{
    AssertValidStringPtr(text);
    if (!text)
        return 0.0f;
    const unsigned char* p = reinterpret_cast<const unsigned char*>(text);
    double sign = 1.0;
    if (*p == '-')
    {
        sign = -1.0;
        ++p;
    }
    double value = 0.0;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X'))
    {
        p += 2;
        for (int digit; (digit = HexDigit(*p)) >= 0; ++p)
            value = value * 16.0 + digit;
    }
    else if (*p == '\'')
    {
        value = static_cast<int8_t>(p[1]);
    }
    else
    {
        long digits = 0;
        long pointAt = -1;
        for (;; ++p)
        {
            if (*p == '.')
                pointAt = digits;
            else if (*p >= '0' && *p <= '9')
            {
                value = value * 10.0 + (*p - '0');
                ++digits;
            }
            else
                break;
        }
        if (pointAt >= 0)
            for (long i = pointAt; i < digits; ++i)
                value /= 10.0;
    }
    value *= sign;
    // Beyond the float range the result is an infinity.
    if (value > 3.4028234663852886e38)
        return __builtin_huge_valf();
    if (value < -3.4028234663852886e38)
        return -__builtin_huge_valf();
    return static_cast<float>(value);
}

int WideSprintf(char16_t* dest, int destUnits, const char16_t* format, ...)
{
    if (!dest || destUnits <= 0)
        return 0;
    if (!format)
    {
        dest[0] = u'\0';
        return 0;
    }
    // The format is taken as ASCII; numbers format the same in both widths.
    std::vector<char> narrowFormat;
    for (const char16_t* f = format; *f; ++f)
        narrowFormat.push_back(*f < 0x80 ? static_cast<char>(*f) : '?');
    narrowFormat.push_back('\0');

    std::vector<char> text(static_cast<size_t>(destUnits));
    CNumberTextScope numbers;
    va_list args;
    va_start(args, format);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wformat-nonliteral"
    int length = std::vsnprintf(text.data(), text.size(), narrowFormat.data(), args);
#pragma GCC diagnostic pop
    va_end(args);
    if (length < 0)
    {
        dest[0] = u'\0';
        return 0;
    }
    int count = length < destUnits ? length : destUnits - 1;
    for (int i = 0; i < count; ++i)
        dest[i] = static_cast<unsigned char>(text[static_cast<size_t>(i)]);
    dest[count] = u'\0';
    return count;
}

int WideLength(const char16_t* text)
{
    if (!text)
        return 0;
    int n = 0;
    while (text[n])
        ++n;
    return n;
}
