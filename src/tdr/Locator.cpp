#include "tdr/Locator.h"

#include "tdr/HeldRounding.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

namespace mr3x::tdr {

namespace {

constexpr long long halfTrace = 4096;
constexpr long long offsetMin = std::numeric_limits<std::int16_t>::min();
constexpr long long offsetMax = std::numeric_limits<std::int16_t>::max();

} // namespace

long long signKeepingMod(long long value, long long divisor)
{
    // C++'s % already keeps the dividend's sign; -1 is left out because LLONG_MIN % -1 overflows.
    if (divisor == 0 || divisor == -1)
        return 0;
    return value % divisor;
}

LockResult lockTraces(int slaveOffset, double difference, double zeroCursorX)
{
    const long long offset = std::clamp(slaveOffset + heldHalfEven(difference), offsetMin, offsetMax);
    const long long pan = static_cast<long long>(std::floor(held(zeroCursorX))) - kPanStep;
    return {static_cast<int>(offset), static_cast<int>(std::clamp<long long>(pan, kPanMin, kPanMax))};
}

LocateResult locateWindow(int index, double injection, int slaveOffset)
{
    if (index < 0 || index > 3)
        return {0, false};
    const bool slave = index % 2 == 1;
    const double sample = slave ? injection - slaveOffset : injection;
    long long start = signKeepingMod(heldHalfEven(sample), halfTrace);
    if (index >= 2)
        start += halfTrace;
    return {start, start >= kPanMin && start <= kPanMax};
}

} // namespace mr3x::tdr
