#include "events/DipClasses.h"

#include "common/Text.h"

#include <array>
#include <cmath>
#include <span>

namespace mr3x::events {

namespace {

struct Band {
    double bound;
    const char* name;
};

constexpr std::array<Band, 4> kDipRows{{{80, "90-80"}, {70, "80-70"}, {40, "70-40"}, {5, "40-5"}}};
constexpr std::array<Band, 5> kDipColumns{{{200, "10-200ms"}, {500, "200-500ms"}, {1000, "500-1000ms"},
                                           {5000, "1000-5000ms"}, {60000, "5000-60000ms"}}};
constexpr std::array<Band, 3> kSwellColumns{{{500, "10-500ms"}, {5000, "500-5000ms"}, {60000, "5000-60000ms"}}};
constexpr double kShortestMs = 10;

const char* kindName(DipKind kind)
{
    switch (kind) {
    case DipKind::Interruption: return "interruption";
    case DipKind::Swell: return "swell";
    default: return "dip";
    }
}

} // namespace

std::string oneDecimal(double value)
{
    return fixedDecimals(std::abs(value) < 0.05 ? 0.0 : value, 1);
}

std::string residualBand(DipKind kind, double percent)
{
    if (kind == DipKind::Swell)
        return percent >= 120 ? ">=120" : "120-110";
    if (percent >= 90)
        return "";
    for (const Band& row : kDipRows)
        if (percent >= row.bound)
            return row.name;
    return "<5";
}

std::string durationBand(DipKind kind, double ms)
{
    if (ms < kShortestMs)
        return "<10ms";
    for (const Band& column : kind == DipKind::Swell ? std::span<const Band>(kSwellColumns) : std::span<const Band>(kDipColumns))
        if (ms <= column.bound)
            return column.name;
    return ">60000ms";
}

std::string dipClass(const Dip& dip, int lineFrequency)
{
    return std::string(kindName(dip.kind)) + " " + residualBand(dip.kind, dip.residualPercent) + "%, "
           + durationBand(dip.kind, groupsToMs(dip.durationGroups, lineFrequency));
}

std::string dipLine(const Dip& dip, int lineFrequency)
{
    const std::string start = oneDecimal(groupsToMs(dip.startGroup, lineFrequency));
    const std::string duration = oneDecimal(groupsToMs(dip.durationGroups, lineFrequency));
    std::string line = voltageChannelName(dip.channel) + ": " + kindName(dip.kind) + " to "
                       + std::to_string(std::lround(dip.residualVolts)) + " V (" + oneDecimal(dip.residualPercent) + " %) from "
                       + start + " ms";
    line += dip.pastEnd ? ", runs past the recording (" + duration + " ms so far)" : " for " + duration + " ms";
    return line + ", " + dipClass(dip, lineFrequency);
}

std::string referenceLine(const DipMeasurement& m)
{
    return "Reference " + oneDecimal(m.referenceVolts) + " V (" + (m.nominalReference ? "nominal" : "first cycle") + ")";
}

std::vector<std::string> dipLines(const DipMeasurement& m, int lineFrequency)
{
    std::vector<std::string> lines{referenceLine(m)};
    for (const Dip& dip : m.dips)
        lines.push_back(dipLine(dip, lineFrequency));
    if (m.dips.empty())
        lines.emplace_back("No dip, swell or interruption");
    return lines;
}

} // namespace mr3x::events
