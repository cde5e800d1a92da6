#include "events/Dips.h"

#include "events/Meters.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace mr3x::events {

namespace {

constexpr double kLeastReference = 1.0;

/// Where the squared rms passes `level` between values k - 1 and k, in sample groups: values sit
/// at the middle of their cycles.
double crossing(const std::vector<double>& rms, std::size_t k, double level)
{
    const double before = rms[k - 1] * rms[k - 1], after = rms[k] * rms[k];
    const double share = after != before ? (before - level * level) / (before - after) : 1.0;
    return kHalfCycleGroups * (static_cast<double>(k) + std::clamp(share, 0.0, 1.0));
}

struct Thresholds {
    DipKind kind;
    double starts, ends;  // shares of the reference
    bool below;           // a dip falls below; a swell rises above
};

/// The events of one kind (dips, or swells) on one phase.
void measureKind(const std::vector<double>& rms, int channel, double reference, const Thresholds& t,
                 std::vector<Dip>& out)
{
    const double start = t.starts * reference, end = t.ends * reference;
    const auto beyondStart = [&](double v) { return t.below ? v < start : v > start; };
    const auto backPastEnd = [&](double v) { return t.below ? v >= end : v <= end; };
    std::optional<Dip> open;
    for (std::size_t k = 0; k < rms.size(); ++k) {
        if (!open) {
            if (!beyondStart(rms[k]))
                continue;
            open = Dip{channel, t.kind, rms[k], 0, k == 0 ? 0.0 : crossing(rms, k, start), 0, false};
            continue;
        }
        if (backPastEnd(rms[k])) {
            open->durationGroups = crossing(rms, k, end) - open->startGroup;
            out.push_back(*open);
            open.reset();
            continue;
        }
        open->residualVolts = t.below ? std::min(open->residualVolts, rms[k]) : std::max(open->residualVolts, rms[k]);
    }
    if (open) {
        open->pastEnd = true;
        open->durationGroups = kSampleGroups - open->startGroup;
        out.push_back(*open);
    }
}

/// The first cycle's rms of the three phases, the middle one: a phase already dipped when the
/// recording starts, or not connected, does not set the others' reference.
double firstCycleReference(const std::vector<std::vector<double>>& rms)
{
    std::array<double, kVoltageChannels> first{};
    for (std::size_t c = 0; c < first.size(); ++c)
        first[c] = rms[c].front();
    std::sort(first.begin(), first.end());
    return first[1];
}

} // namespace

std::vector<double> halfCycleRms(const EventRecord& record, int channel)
{
    std::vector<double> values;
    for (int first = 0; first + kCycleGroups <= kSampleGroups; first += kHalfCycleGroups) {
        double sum = 0;
        for (int g = first; g < first + kCycleGroups; ++g) {
            const double volts = (record.sample(g, channel) - kVoltageZero) * kVoltsPerLevel;
            sum += volts * volts;
        }
        values.push_back(std::sqrt(sum / kCycleGroups));
    }
    return values;
}

DipMeasurement measureDips(const EventRecord& record, std::optional<double> nominalVolts)
{
    DipMeasurement m;
    std::vector<std::vector<double>> rms;
    for (int c = 0; c < kVoltageChannels; ++c)
        rms.push_back(halfCycleRms(record, c));
    m.nominalReference = nominalVolts && *nominalVolts > 0;
    m.referenceVolts = m.nominalReference ? *nominalVolts : firstCycleReference(rms);
    if (!(m.referenceVolts >= kLeastReference))
        return m;
    const double reference = m.referenceVolts;
    for (int c = 0; c < kVoltageChannels; ++c) {
        std::vector<Dip> found;
        measureKind(rms[std::size_t(c)], c, reference, {DipKind::Dip, kDipStarts, kDipEnds, true}, found);
        measureKind(rms[std::size_t(c)], c, reference, {DipKind::Swell, kSwellStarts, kSwellEnds, false}, found);
        std::sort(found.begin(), found.end(), [](const Dip& a, const Dip& b) { return a.startGroup < b.startGroup; });
        for (Dip& dip : found) {
            dip.residualPercent = 100 * dip.residualVolts / reference;
            if (dip.kind == DipKind::Dip && dip.residualVolts < kInterruptionBelow * reference)
                dip.kind = DipKind::Interruption;
            m.dips.push_back(dip);
        }
    }
    return m;
}

double groupsToMs(double groups, int lineFrequency)
{
    return groups * 1000.0 / (kCycleGroups * static_cast<double>(lineFrequency));
}

std::string voltageChannelName(int channel)
{
    static const char* const names[kVoltageChannels] = {"Vr", "Vy", "Vb"};
    return channel >= 0 && channel < kVoltageChannels ? names[channel] : "";
}

} // namespace mr3x::events
