#include "unitsettings/PanelChoices.h"

#include <algorithm>
#include <array>

namespace mr3x::unitsettings {

namespace {

constexpr int firstThreshold = 12;
constexpr int firstDuration = 2;
constexpr int filterOffOffset = 5;
constexpr int crossModeTag = 2;

int value(const FieldCheck& check)
{
    return static_cast<int>(check.value);
}

// clang-format off
constexpr std::array<TriggerModeEntry, triggerModeCount> triggerModes{{
    //  filter pulse  index tag  pulse frame
    {true,  true,  0, 2, true},   // TDR Voltage Dip & Current
    {true,  true,  1, 0, true},   // TRS MASTER (Filter ON)
    {false, true,  1, 0, true},   // TRS MASTER (Filter OFF)
    {true,  false, 1, 0, false},  // TRS SLAVE (Filter ON)
    {false, false, 1, 0, false},  // TRS SLAVE (Filter OFF)
}};

constexpr std::array<ReferenceCaptions, 6> referencesByPhase{{
    {"Y-N", "B-N"},  // R-N
    {"B-N", "R-N"},  // Y-N
    {"R-N", "Y-N"},  // B-N
    {"B-Y", "R-B"},  // R-Y
    {"R-B", "Y-R"},  // Y-B
    {"Y-R", "B-Y"},  // B-R
}};

struct Colour {
    std::string_view caption;
    long bgr;
};
constexpr std::array<Colour, 6> colours{{
    {"R-N", 255},       // red
    {"Y-N", 65535},     // yellow
    {"B-N", 0xFF0000},  // blue
    {"B-Y", 65280},     // green
    {"R-B", 0xFF00FF},  // magenta
    {"Y-R", 33023},     // orange
}};
// clang-format on

} // namespace

int thresholdEntry(const FieldCheck& check)
{
    return check.inRange ? value(check) - firstThreshold : 3;
}

int durationEntry(const FieldCheck& check)
{
    return check.inRange ? value(check) - firstDuration : 1;
}

std::optional<int> fsdButton(const FieldCheck& check)
{
    if (!check.inRange)
        return 0;
    switch (value(check)) {
    case 0: return 0;
    case 1: return 1;
    case 3: return 2;
    case 7: return 3;
    default: return std::nullopt;
    }
}

int phaseButton(const FieldCheck& check)
{
    return check.inRange ? value(check) : 0;
}

bool tdrMode(const FieldCheck& check)
{
    return !check.inRange || value(check) >= 2;
}

RangeAndPulse rangeAndPulse(const FieldCheck& check)
{
    if (!check.inRange)
        return {};
    const int bits = value(check);
    return {bits & 1, (bits & 2) != 0, ((bits >> 2) & 7) + 1, (bits >> 5) & 3};
}

int hardwareByte(const RangeAndPulse& parts)
{
    const int pulse = parts.pulseOn ? (parts.pulseWidth - 1) * 4 + 2 : 0;
    return (parts.range == 1 ? 1 : 0) + pulse + parts.prePostEntry * 32;
}

int gainValue(const FieldCheck& check)
{
    return check.inRange ? value(check) : 10;
}

int balanceValue(const FieldCheck& check)
{
    return check.inRange ? value(check) : 10;
}

BalanceChoice balanceChoice(const FieldCheck& check)
{
    if (!check.inRange)
        return {TdrModeButton::Echo, 0, std::nullopt};
    const int tag = value(check);
    // With the filter off the unit's value names no mode or reference the panel trusts: the
    // panel keeps the choice it shows.
    if (tag >= filterOffOffset)
        return {std::nullopt, std::nullopt, false};
    if (tag == 0)
        return {TdrModeButton::Echo, 0, true};
    const bool cross = tag > firstReferenceTag(0);
    const int modeTag = cross ? crossModeTag : 0;
    return {cross ? TdrModeButton::Cross : TdrModeButton::Echo, tag == firstReferenceTag(modeTag) ? 1 : 2, true};
}

TriggerModeEntry triggerModeEntry(int entry)
{
    return triggerModes.at(static_cast<std::size_t>(std::clamp(entry, 0, triggerModeCount - 1)));
}

int triggerModeFor(bool tdr, bool pulseOn, bool filterOn)
{
    if (tdr)
        return 0;
    if (pulseOn)
        return filterOn ? 1 : 2;
    return filterOn ? 3 : 4;
}

ReferenceCaptions referenceCaptions(int phase)
{
    return referencesByPhase.at(static_cast<std::size_t>(std::clamp(phase, 0, 5)));
}

long referenceColour(std::string_view caption)
{
    const auto it = std::find_if(colours.begin(), colours.end(), [caption](const Colour& c) { return c.caption == caption; });
    return it == colours.end() ? -1 : it->bgr;
}

int balanceCode(int referenceTag, bool filterOn)
{
    return referenceTag + (filterOn ? 0 : filterOffOffset);
}

} // namespace mr3x::unitsettings
