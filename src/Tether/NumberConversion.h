// Conversions of script numbers and adapter values to the 32-bit integers
// the player and the scripts exchange.
#ifndef TETHER_NUMBER_CONVERSION_H
#define TETHER_NUMBER_CONVERSION_H

#include <cmath>
#include <cstdint>
#include <limits>

namespace Tether {

// Truncates toward zero; out-of-range values stick to the nearest limit and
// NaN gives 0, so no script number can make the cast undefined.
inline int32_t DoubleToInt32(double dValue)
{
    if (std::isnan(dValue))
        return 0;
    if (dValue >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    if (dValue <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(dValue);
}

// The low 32 bits read as a signed integer: durations and times wider than
// the scripts' integers wrap instead of saturating.
inline int32_t LowInt32(unsigned long long ullValue)
{
    return static_cast<int32_t>(static_cast<uint32_t>(ullValue & 0xFFFFFFFFull));
}

}  // namespace Tether

#endif
