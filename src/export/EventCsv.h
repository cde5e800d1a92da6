#pragma once
// An event as a CSV file: a header row naming each column's unit, then one row a sample group,
// the time in milliseconds from the first group and the four channels in volts and amps (as the
// meters show them). Asked for, a block of comment lines ("# ...") with the event's parameters
// comes first. Lines end in CR LF; numbers are plain decimals with a point.
#include "events/EventRecord.h"

#include <string>

namespace mr3x::exports {

struct EventCsvOptions {
    int lineFrequency = 50;        // sets the time between groups: 80 groups a cycle
    bool withParameters = false;   // the comment block of the event's parameters
};

std::string eventCsv(const events::EventRecord& record, const EventCsvOptions& options);

} // namespace mr3x::exports
