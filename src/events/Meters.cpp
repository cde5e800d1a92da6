#include "events/Meters.h"

#include "common/Rounding.h"
#include "common/Text.h"

#include <algorithm>
#include <cmath>

namespace mr3x::events {

namespace {

// A full-scale text is a few digits; anything that reads bigger is held here, so every product
// below stays a finite number a whole-number conversion can take.
constexpr double kLargestScale = 1e12;

int zeroLevel(int channel)
{
    return channel == kCurrentChannel ? kCurrentZero : kVoltageZero;
}

double heldScale(double scale)
{
    return std::isfinite(scale) ? std::clamp(scale, -kLargestScale, kLargestScale) : 0.0;
}

/// A level's distance from its channel's zero.
int levelOf(const EventRecord& record, int group, int channel)
{
    return record.sample(group, channel) - zeroLevel(channel);
}

double rmsLevels(const EventRecord& record, int firstGroup, int channel)
{
    double sum = 0;
    for (int g = firstGroup; g < firstGroup + kRmsWindowGroups; ++g) {
        const int level = levelOf(record, g, channel);
        sum += double(level) * level;
    }
    return std::sqrt(sum / kRmsWindowGroups);
}

std::string unitsOf(int channel)
{
    return channel == kCurrentChannel ? "amps" : "volts";
}

} // namespace

double ampsPerLevel(std::string_view fullScaleText)
{
    return heldScale(leadingNumber(fullScaleText)) / 128.0;
}

bool isMeasuringPoint(int m)
{
    return m >= 1 && m <= kSampleGroups;
}

MeterReadings readMeters(const EventRecord& record, int m, bool raw, double amps)
{
    MeterReadings readings;
    m = std::clamp(m, 1, kSampleGroups);
    if (raw)
        m = std::max(m, kRawLookBackGroups);
    readings.measuringPoint = m;
    const int group = std::min(m, kSampleGroups - 1);
    readings.windowStart = std::clamp(m - kRmsWindowGroups / 2, 0, kSampleGroups - kRmsWindowGroups);

    const double ampsScale = heldScale(amps);
    for (int c = 0; c < kChannels; ++c) {
        const double scale = c == kCurrentChannel ? ampsScale : kVoltsPerLevel;
        ChannelMeter& meter = readings.channel[std::size_t(c)];
        const int d = levelOf(record, group, c);
        meter.instant = roundHalfEven(d * scale);
        // An rms is a size: a full-scale text read as negative turns the values round, not it.
        meter.rms = roundHalfEven(rmsLevels(record, readings.windowStart, c) * std::abs(scale));
        if (raw) {
            const int p = levelOf(record, group - kRawLookBackGroups, c);
            meter.rawLevels = std::abs(d) - std::abs(p);
            meter.rawScaled = double(meter.rawLevels) * scale;
        }
    }
    return readings;
}

std::string meterCaption(int channel, const ChannelMeter& meter, bool raw)
{
    const std::string units = unitsOf(channel);
    if (raw)
        return std::to_string(meter.rawLevels) + " levels (" + std::to_string(roundHalfAway(meter.rawScaled)) + " "
               + units + ")";
    return std::to_string(meter.instant) + " " + units + " (" + std::to_string(meter.rms) + " " + units + " rms)";
}

} // namespace mr3x::events
