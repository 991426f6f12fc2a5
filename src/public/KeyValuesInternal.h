// Number scanning shared by the KeyValues getters and the text reader, and
// the resource-name tests shared by the text reader and writer.
#pragma once

#include <cstddef>
#include <cstdint>

namespace kvtext
{

// The decimal number at the start of a text, as the runtime's conversions
// read it: white space, a sign, then digits (intEnd) optionally followed by a
// fraction and an exponent (floatEnd). Hexadecimal forms, "inf" and "nan"
// are not numbers here. An end equal to the text's start means no number.
struct NumberScan
{
    const char* start; // after leading white space
    const char* intEnd;
    const char* floatEnd;
    bool negative;
    uint64_t magnitude; // of the integer part, saturated above 2^32
};

NumberScan ScanNumber(const char* text, size_t length);
// The value of [start, floatEnd) in double precision; false when there is none.
bool ParseScannedFloat(const NumberScan& scan, double* value);

enum ValueKind
{
    VALUE_STRING,
    VALUE_INT,
    VALUE_FLOAT
};

// Typing of a value read from text: a float when the whole text is a decimal
// number reaching further than its integer part, an int when the whole text
// is an integer in the 32-bit range, else a string (also when empty or when
// the number does not fit its type).
ValueKind ClassifyValue(const char* text, size_t length, int* intValue, float* floatValue);

inline bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

// "/x", "\x" and drive names such as "C:x".
inline bool IsAbsoluteName(const char* name)
{
    if (IsSeparator(name[0]))
        return true;
    char c = name[0];
    return ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z')) && name[1] == ':';
}

} // namespace kvtext
