#pragma once
// Rounding for the numbers the viewer reads back from its labels (the injection, a cursor's x,
// a distance), which a damaged file or a hand-edited value can make anything: the value is held
// within +-10^15 first, so no conversion to a whole number can overflow, and a value that is no
// number at all reads as 0.
#include "common/Rounding.h"

#include <algorithm>
#include <cmath>

namespace mr3x::tdr {

inline double held(double value)
{
    constexpr double limit = 1e15;
    return std::isnan(value) ? 0.0 : std::clamp(value, -limit, limit);
}

inline long long heldHalfEven(double value)
{
    return roundHalfEven(held(value));
}

} // namespace mr3x::tdr
