// String and code-page tools used across the module.
//
// Conversions between UTF-16, UTF-8 and the local code page go through two
// process-wide buffers, one narrow and one wide. A converted text stays valid
// until the next conversion that uses the same buffer; callers copy it before
// converting again. The buffers start at CODEPAGE_BUFFER_SIZE units and grow
// when a longer text arrives, so a text is always converted whole.
#pragma once

#include <locale.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

constexpr int CODEPAGE_BUFFER_SIZE = 10240;

// Wide text (with its terminator) to the code page, in the narrow buffer.
// A failed conversion gives the empty text.
const char* Utf16ToMultiByte(const char16_t* wide, int codePage);
// Narrow text in the code page (with its terminator) to UTF-16, in the wide
// buffer. A failed conversion gives the empty text.
const char16_t* MultiByteToUtf16(const char* text, int codePage);
// Whether the length bytes of text are all below 0x80.
inline bool IsAsciiText(const char* text, size_t length)
{
    size_t i = 0;
    for (; i + 8 <= length; i += 8)
    {
        uint64_t word;
        std::memcpy(&word, text + i, 8);
        if (word & 0x8080808080808080ull)
            return false;
    }
    for (; i < length; ++i)
        if (static_cast<unsigned char>(text[i]) >= 0x80)
            return false;
    return true;
}
// The length of a terminated text, and whether all its bytes are below
// 0x80, in one pass.
inline bool MeasureAsciiText(const char* text, size_t& length)
{
    unsigned char bits = 0;
    const char* p = text;
    for (; *p; ++p)
        bits |= static_cast<unsigned char>(*p);
    length = static_cast<size_t>(p - text);
    return bits < 0x80;
}
// UTF-8 to the local code page and back, through both buffers; the result is
// the narrow buffer (plain ASCII is copied there unconverted when the local
// code page keeps ASCII). A null text gives defaultValue itself.
const char* Utf8ToAnsi(const char* text, const char* defaultValue);
const char* AnsiToUtf8(const char* text, const char* defaultValue);

// Numbers as text never follow the process locale: while a CNumberTextScope
// lives, the calling thread formats and reads numbers in the "C" locale ('.'
// as the decimal point, no digit grouping), whatever a host or script set
// with setlocale. StrSnprintf and WideSprintf hold one; other printf- or
// scanf-style number conversions (the GUI library's property helpers among
// them) are made inside one.
class CNumberTextScope
{
public:
    CNumberTextScope();
    ~CNumberTextScope();
    CNumberTextScope(const CNumberTextScope&) = delete;
    CNumberTextScope& operator=(const CNumberTextScope&) = delete;

    // Whether the calling thread reads and writes numbers in the "C"
    // locale of a scope now.
    static bool IsHeld();

private:
    locale_t m_previous;
};

// Appends at most maxCharsToAppend characters of src (all when negative),
// cut so that dest keeps at most destSize - 1 characters. Nothing is touched
// when nothing fits or when dest holds no NUL within destSize.
char* StrNCat(char* dest, const char* src, int destSize, int maxCharsToAppend = -1);
// printf into dest, numbers with '.' as the decimal point whatever the
// process locale; returns the length, or size when the text was cut to
// size - 1 characters. A size of 0 or less writes nothing and returns 0.
int StrSnprintf(char* dest, int size, const char* format, ...) __attribute__((format(printf, 3, 4)));
// Copies at most size - 1 characters and terminates within size.
void StrNCopy(char* dest, const char* src, int size);

// Lenient parsers: an optional '-', then "0x" and hexadecimal digits, or a
// quote and one character, or decimal digits; they stop at the first
// character that does not fit. StringToFloat reads a fraction but no exponent.
int StringToInt(const char* text);
float StringToFloat(const char* text);

// printf with a 16-bit format into a destination of destUnits units
// (terminator included), numbers formatted as StrSnprintf does; returns the units written without the terminator.
int WideSprintf(char16_t* dest, int destUnits, const char16_t* format, ...);

// Length of a 16-bit text in units.
int WideLength(const char16_t* text);
