// Whole pixels from computed coordinates: truncated toward zero, a value
// beyond 32 bits held at the nearest end, NaN read as 0.
#pragma once

#include <cstdint>
#include <limits>

namespace QGUI
{
inline int32_t SaturateToInt32(double value)
{
    if (!(value == value))
        return 0;
    if (value >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (value <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}
} // namespace QGUI
