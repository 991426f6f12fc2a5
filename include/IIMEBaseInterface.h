// The input-method interface handed out as "QIME001".
#pragma once

#include <cstdint>

#define QIME_INTERFACE_VERSION "QIME001"

class IIMEBaseInterface
{
public:
    // mode > 0 enables the input method; answers the mode unchanged.
    virtual int32_t EnableIme(int32_t mode) = 0;
    // Places the caret at (x + dx, y); a and b are not used.
    virtual int32_t SetCaretPosition(int32_t x, int32_t y, int32_t a, int32_t b, int32_t dx) = 0;
    virtual ~IIMEBaseInterface() {}
};
