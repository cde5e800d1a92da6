#include "export/EventSummary.h"

#include "common/Text.h"
#include "events/EventParameters.h"

namespace mr3x::exports {

namespace {

constexpr const char* kUnknown = "---";

std::string shown(const std::optional<std::string>& value)
{
    return value && !trim(*value).empty() ? trim(*value) : kUnknown;
}

} // namespace

std::vector<ParameterRow> eventParameterRows(const events::EventRecord& record)
{
    const events::EventParameters p = events::describeEvent(record);
    const std::string pulse = shown(p.pulseWidth) + " " + shown(p.onOff);
    return {
        {"Unit", shown(p.unit)},
        {"Version", shown(p.version)},
        {"FSD", shown(p.fsd)},
        {"Trigger", shown(p.trigChannel)},
        {"Test", shown(p.phase)},
        {"Internal", shown(p.internal)},
        {"Gain", shown(p.gain)},
        {"Range", shown(p.longShort)},
        {"Pulse", pulse},
        {"Mode", shown(p.mode)},
        {"Threshold", shown(p.threshold)},
        {"Duration", shown(p.duration)},
        {"Injection", shown(p.injection)},
        {"Pre/Post", shown(p.preTrigger)},
        {"Job", shown(p.trailerJob)},
        {"Location", shown(p.trailerLocation)},
    };
}

} // namespace mr3x::exports
