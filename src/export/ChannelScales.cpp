#include "export/ChannelScales.h"

#include "events/EventParameters.h"
#include "events/Meters.h"

namespace mr3x::exports {

namespace {

ChannelScale voltage(std::string name, std::string phase)
{
    return {std::move(name), std::move(phase), "V", events::kVoltsPerLevel, -events::kVoltageZero * events::kVoltsPerLevel};
}

/// The current in amps when its full scale is known; else in levels from its zero.
ChannelScale current(const std::optional<std::string>& fullScale)
{
    if (!fullScale)
        return {"I", "", "levels", 1, -double(events::kCurrentZero)};
    const double amps = events::ampsPerLevel(*fullScale);
    return {"I", "", "A", amps, -events::kCurrentZero * amps};
}

} // namespace

bool currentInAmps(const events::EventRecord& record)
{
    return events::describeEvent(record).fsd.has_value();
}

std::array<ChannelScale, events::kChannels> channelScales(const events::EventRecord& record)
{
    return {voltage("Vr", "R"), voltage("Vy", "Y"), voltage("Vb", "B"), current(events::describeEvent(record).fsd)};
}

} // namespace mr3x::exports
