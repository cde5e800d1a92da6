#include "events/TdrPresets.h"

namespace mr3x::events {

namespace {

constexpr int kShortRangeStart = 25, kLongRangeStart = 21;

std::string scaleFor(bool longRange)
{
    return longRange ? "2" : "1";
}

std::string rangeText(bool longRange)
{
    return longRange ? "800m" : "400m";
}

/// Models whose plot starts at the short range's point whatever their range.
TdrPresets fixedStartPresets(bool longRange)
{
    return {kShortRangeStart, kShortRangeStart, scaleFor(longRange), rangeText(longRange)};
}

} // namespace

TdrPresets tdrPresetsFor(const RecordTrailer& trailer)
{
    switch (trailer.modelByte()) {
    case 43:
    case 38:
        return fixedStartPresets(trailer.longRange());
    case 26:
        return fixedStartPresets((trailer.mode() & 1) != 0);
    default:
        break;
    }
    const bool longRange = trailer.longRange();
    const int start = longRange ? kLongRangeStart : kShortRangeStart;
    return {start, start, scaleFor(longRange), std::nullopt};
}

} // namespace mr3x::events
