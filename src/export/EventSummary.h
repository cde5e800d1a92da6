#pragma once
// An event's parameters as the exports list them (a CSV file's header block, the fault report):
// the captions of the slot's Settings and Details tabs under their own names, in the order the
// tabs show them. A value the tables do not know reads "---".
#include "events/EventRecord.h"

#include <string>
#include <vector>

namespace mr3x::exports {

struct ParameterRow {
    std::string label;
    std::string value;
    friend bool operator==(const ParameterRow&, const ParameterRow&) = default;
};

std::vector<ParameterRow> eventParameterRows(const events::EventRecord& record);

} // namespace mr3x::exports
