#include "export/EventCsv.h"

#include "events/DipClasses.h"
#include "export/ChannelScales.h"
#include "export/EventSummary.h"
#include "export/EventTiming.h"
#include "export/ExportNumbers.h"

#include <cmath>

namespace mr3x::exports {

namespace {

constexpr const char* kLineEnd = "\r\n";

/// Milliseconds to a tenth of a microsecond: exact at 50 Hz (0.25 ms a group), and short at 60.
std::string milliseconds(int group, double rate)
{
    return decimalText(std::round(group * 1e7 / rate) / 1e4);
}

void appendParameterBlock(std::string& text, const events::EventRecord& record, int lineFrequency)
{
    for (const ParameterRow& row : eventParameterRows(record))
        text.append("# ").append(row.label).append(": ").append(row.value).append(kLineEnd);
    const std::optional<EventTiming> timing = eventTiming(record, lineFrequency);
    text.append("# Triggered: ").append(timing ? isoText(timing->trigger) : std::string("---")).append(kLineEnd);
    const int triggerGroup = preTriggerGroups(record);
    text.append("# Trigger at: ").append(milliseconds(triggerGroup, samplesPerSecond(lineFrequency))).append(" ms");
    text.append(kLineEnd);
    text.append("# Line frequency: ").append(std::to_string(lineFrequency)).append(" Hz").append(kLineEnd);
    for (const std::string& line : events::dipLines(events::measureDips(record), lineFrequency))
        text.append("# ").append(line).append(kLineEnd);
}

} // namespace

std::string eventCsv(const events::EventRecord& record, const EventCsvOptions& options)
{
    const auto channels = channelScales(record);
    const double rate = samplesPerSecond(options.lineFrequency);
    std::string text;
    text.reserve(std::size_t(events::kSampleGroups) * 48);
    if (options.withParameters)
        appendParameterBlock(text, record, options.lineFrequency);
    text.append("time (ms)");
    for (const ChannelScale& channel : channels)
        text.append(",").append(channel.name).append(" (").append(channel.unit).append(")");
    text.append(kLineEnd);
    for (int g = 0; g < events::kSampleGroups; ++g) {
        text.append(milliseconds(g, rate));
        for (int c = 0; c < events::kChannels; ++c)
            text.append(",").append(decimalText(channels[std::size_t(c)].valueOf(record.sample(g, c))));
        text.append(kLineEnd);
    }
    return text;
}

} // namespace mr3x::exports
