#pragma once
// The two ways the program turns a computed number into a whole one. Values the user reads as
// results of arithmetic (meters, the injection's pulse block, the locator's offsets) round half
// to even; numbers only formatted for show ("##0 m", a raw meter) round half away from zero.
#include <cmath>

namespace mr3x {

/// 2.5 gives 2, 3.5 gives 4, -2.5 gives -2.
inline long long roundHalfEven(double value)
{
    const double down = std::floor(value);
    const double fraction = value - down;
    long long whole = static_cast<long long>(down);
    if (fraction > 0.5 || (fraction == 0.5 && whole % 2 != 0))
        ++whole;
    return whole;
}

/// 2.5 gives 3, -2.5 gives -3.
inline long long roundHalfAway(double value)
{
    return static_cast<long long>(std::llround(value));
}

} // namespace mr3x
