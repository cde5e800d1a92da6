#include "unitsettings/SettingsText.h"

#include "common/Text.h"

#include <algorithm>

namespace mr3x::unitsettings {

namespace {

constexpr std::string_view parametersMarker = "Parameters:";
// Without the marker the text is read from its eleventh character, as if the marker stood at
// its start with one character missing.
constexpr std::size_t startWithoutMarker = 10;
constexpr std::size_t lastListedField = 20;

struct Range {
    Field field;
    long long lowest;
    long long highest;
    std::string_view before; // the message up to the value
    std::string_view after;  // the message after the value
};

// clang-format off
constexpr std::array ranges{
    Range{Threshold,    12, 35, "Threshold  (",                     ")\nvalue reset to default (15)"},
    Range{Duration,      2, 10, "Duration out of range (",          ")\n value reset to default (3)"},
    Range{CurrentFsd,    0,  7, "Current FSD out of range (",       ")\n value reset to default (0)"},
    Range{Phase,         0,  5, "Phase selection out of range (",   ")\n value reset to default (R-N)"},
    Range{TriggerMode,   0,  3, "TDR/TRS Mode out of range (",      ")\n values reset to Mode=TDR"},
    Range{RangePulse,    0, 95, "Range/Pulse/Pre_Post out of range (",
                                ")\n values reset to Range=Short, Pulse=ON(2), Pre/Post=7/1"},
    Range{Gain,          0, 20, "Gain setting out of range (",      ")\n value reset to default (10)"},
    Range{Balance,       0, 60, "Balance setting out of range (",   ")\n value reset to default (10)"},
    Range{BalanceMode,   0,  9, "Balance/Cross setting out of range (",
                                ")\n value reset to default (Echo mode and Internal)"},
};
// clang-format on

} // namespace

std::vector<std::string> splitParameters(const std::vector<std::string>& lines)
{
    std::string joined;
    for (const std::string& line : lines)
        joined += line;
    const std::size_t marker = joined.find(parametersMarker);
    const std::size_t start = marker == std::string::npos ? startWithoutMarker : marker + parametersMarker.size();
    const std::string_view text = start < joined.size() ? std::string_view(joined).substr(start) : std::string_view();

    std::vector<std::string> fields;
    std::size_t from = 0;
    for (;;) {
        const std::size_t comma = text.find(',', from);
        fields.emplace_back(text.substr(from, comma == std::string_view::npos ? std::string_view::npos : comma - from));
        if (comma == std::string_view::npos)
            return fields;
        from = comma + 1;
    }
}

std::string withoutFinishedLine(std::string_view field)
{
    std::size_t end = std::min(field.find("Finished X"), field.find("Finished x"));
    if (end == std::string_view::npos)
        return std::string(field);
    while (end > 0 && (field[end - 1] == '\r' || field[end - 1] == '\n' || field[end - 1] == ' '))
        --end;
    return std::string(field.substr(0, end));
}

std::vector<std::string> listLines(const std::vector<std::string>& fields, const std::array<std::string, 21>& labels)
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i + 1 < fields.size() && i <= lastListedField; ++i)
        lines.push_back(std::to_string(i) + ": " + labels[i] + fields[i]);
    return lines;
}

std::optional<FieldCheck> checkField(const std::vector<std::string>& fields, Field field)
{
    const auto index = static_cast<std::size_t>(field);
    if (index >= fields.size())
        return std::nullopt;
    FieldCheck check;
    check.value = leadingInteger(fields[index]);
    const auto range = std::find_if(ranges.begin(), ranges.end(), [field](const Range& r) { return r.field == field; });
    if (range == ranges.end())
        return check;
    check.inRange = check.value >= range->lowest && check.value <= range->highest;
    if (!check.inRange)
        check.message = std::string(range->before) + std::to_string(check.value) + std::string(range->after);
    return check;
}

CheckedSettings checkSettings(const std::vector<std::string>& lines)
{
    CheckedSettings read;
    read.fields = splitParameters(lines);
    if (read.fields.size() > SimNumber)
        read.fields[SimNumber] = withoutFinishedLine(read.fields[SimNumber]);
    read.msUnit = read.fields.size() > Version && read.fields[Version] == msMarker;
    for (const Field field : {Threshold, Duration, CurrentFsd, Phase, TriggerMode, RangePulse, Gain, Balance, BalanceMode}) {
        if (field == CurrentFsd && read.msUnit)
            continue;
        std::optional<FieldCheck> check = checkField(read.fields, field);
        if (check && !check->inRange)
            read.problems.push_back(check->message);
        read.checks[static_cast<std::size_t>(field)] = std::move(check);
    }
    return read;
}

} // namespace mr3x::unitsettings
