#include "events/WaveformGeometry.h"

#include "events/Dips.h"
#include "events/Meters.h"

#include "common/Rounding.h"
#include "common/Text.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace mr3x::events {

namespace {

// The grid sits so that a given pulse lies under the same part of the waveform on every unit:
// 34 grid steps left of x 1600 on the early units, 18 on the later ones.
constexpr double kGridAnchorX = 1600;
constexpr int kEarlyStepsLeft = 34, kLateStepsLeft = 18;
constexpr double kEarlyZoomStart = 760, kLateZoomStart = 1080;

// A click picks a position by whole steps of 20 units, not 20.2.
constexpr long long kPickStep = 20;

constexpr double kMeteringLeft = 400, kMeteringRight = 7600;
constexpr int kRawLowestPoint = 80;

bool isEarlyVersion(std::string_view version)
{
    return version.empty() || version == "0" || version == "1" || version == "3";
}

} // namespace

int markerOrigin(std::string_view version)
{
    const int stepsLeft = isEarlyVersion(version) ? kEarlyStepsLeft : kLateStepsLeft;
    return int(roundHalfEven(kGridAnchorX - kGridStep * stepsLeft));
}

double zoomStart(std::string_view version)
{
    return version == "2" || leadingNumber(version) > 3 ? kLateZoomStart : kEarlyZoomStart;
}

double gridX(int position, int origin)
{
    return position * kGridStep + origin;
}

std::optional<int> gridPositionAt(double x, int origin)
{
    const double offset = x - origin;
    // Far outside the picture (or not a number) picks nothing, before any whole-number conversion.
    if (!(std::abs(offset) < kFullWidth * 2))
        return std::nullopt;
    const long long k = roundHalfEven(offset) / kPickStep;
    if (k < 0 || k >= kGridPositions)
        return std::nullopt;
    return int(k);
}

int measuringPointAt(double x, bool raw)
{
    const double held = std::isnan(x) ? kMeteringLeft : std::clamp(x, kMeteringLeft, kMeteringRight);
    const int m = int(roundHalfEven(held + 5) / 10);
    return raw ? std::max(m, kRawLowestPoint) : m;
}

double sampleX(int n)
{
    return n * 10.0 / 4.0;
}

std::uint32_t channelColourBgr(int channel)
{
    static constexpr std::array<std::uint32_t, 4> kColours{0x0000FF, 0x00FFFF, 0xFF0000, 0x808080};
    return channel >= 0 && channel < int(kColours.size()) ? kColours[std::size_t(channel)] : 0;
}

std::vector<WavePoint> channelTrace(const EventRecord& record, int channel)
{
    std::vector<WavePoint> points;
    points.reserve(kSampleGroups + 1);
    points.push_back({0.0, double(record.sample(0, channel))});
    for (int g = 0; g < kSampleGroups; ++g)
        points.push_back({sampleX(kChannels * g + channel + 1), double(record.sample(g, channel))});
    return points;
}

std::vector<WavePoint> halfCycleRmsLine(const EventRecord& record, int channel)
{
    std::vector<WavePoint> points;
    const std::vector<double> rms = halfCycleRms(record, channel);
    for (std::size_t k = 0; k < rms.size(); ++k) {
        const int middle = kHalfCycleGroups * int(k) + kHalfCycleGroups;
        points.push_back({sampleX(kChannels * middle + channel + 1), kVoltageZero + rms[k] / kVoltsPerLevel});
    }
    return points;
}

} // namespace mr3x::events
