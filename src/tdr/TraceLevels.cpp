#include "tdr/TraceLevels.h"

#include "tdr/TdrPlot.h"

#include <algorithm>
#include <cmath>

namespace mr3x::tdr {

std::size_t TraceLevels::indexAtOrAfter(double x) const
{
    if (level.empty() || !(step > 0))
        return size();
    const double steps = std::ceil((x - firstX) / step - 1e-9);
    if (steps <= 0)
        return 0;
    return std::min(size(), static_cast<std::size_t>(steps));
}

TraceLevels manualTestLevels(const TdrTrace& trace)
{
    const std::array<std::uint8_t, 512> points = interleaveManual(trace.samples);
    return {std::vector<double>(points.begin(), points.end()), 1, 1};
}

std::optional<TraceLevels> eventPulseLevels(std::span<const std::uint8_t, 8192> area, int pulse, int phase)
{
    if (pulse < 0 || pulse >= kPulseCount)
        return std::nullopt;
    if (pulse + 3 < kPulseCount) {
        const Interleaved points = interleaveEvent(area, pulse, phase);
        return TraceLevels{std::vector<double>(points.level.begin(), points.level.end()), 1, 1};
    }
    const auto block = area.subspan(static_cast<std::size_t>(pulse) * kPulseSamples, kPulseSamples);
    return TraceLevels{std::vector<double>(block.begin(), block.end()), 4, 4};
}

TraceLevels trsLevels(std::span<const std::uint8_t, 8192> samples)
{
    return {std::vector<double>(samples.begin(), samples.end()), 1, 1};
}

} // namespace mr3x::tdr
