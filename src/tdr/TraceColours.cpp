#include "tdr/TraceColours.h"

#include <array>
#include <string>

namespace mr3x::tdr {

namespace {

struct PhaseColours {
    std::string_view dashed;    // "R-N"
    std::string_view dashless;  // "RN"
    Rgb label;
    Rgb trace;
};

// In the order the colours are tried: a later match overrides an earlier one.
constexpr std::array<PhaseColours, 6> phases{{
    {"R-N", "RN", {255, 128, 128}, {255, 0, 0}},
    {"Y-N", "YN", {255, 255, 128}, {255, 255, 0}},
    {"B-N", "BN", {192, 192, 255}, {0, 0, 255}},
    {"R-Y", "RY", {255, 192, 128}, {255, 128, 0}},
    {"Y-B", "YB", {128, 255, 128}, {0, 255, 0}},
    {"B-R", "BR", {255, 128, 255}, {192, 0, 192}},
}};

constexpr std::string_view trsMark = "=TRS";
constexpr Rgb trsLabelColour{192, 192, 192};

bool contains(std::string_view text, std::string_view part)
{
    return text.find(part) != std::string_view::npos;
}

/// The phase followed by `joint` ("=" echo, "x" cross), with or without its dash.
bool namesPhase(std::string_view text, const PhaseColours& phase, char joint)
{
    return contains(text, std::string(phase.dashed) + joint) || contains(text, std::string(phase.dashless) + joint);
}

} // namespace

Rgb testLabelColour(std::string_view filePath, std::string_view listText)
{
    Rgb colour = kWhite;
    for (const PhaseColours& phase : phases) {
        if (namesPhase(filePath, phase, '=') || namesPhase(listText, phase, 'x'))
            colour = phase.label;
    }
    if (contains(filePath, trsMark))
        colour = trsLabelColour;
    return colour;
}

Rgb manualTraceColour(std::string_view testName)
{
    Rgb colour = kBlack;
    for (const PhaseColours& phase : phases) {
        if (namesPhase(testName, phase, '=') || namesPhase(testName, phase, 'x'))
            colour = phase.trace;
    }
    if (contains(testName, trsMark))
        colour = kManualTrsColour;
    return colour;
}

} // namespace mr3x::tdr
