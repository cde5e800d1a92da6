// The unit's settings text, as the settings file holds it, through everything the program reads
// from it: the split into fields, the SIM number, the list lines, each field's range check and
// the panel choice it sets, and the hardware command those choices send back to the unit.
//
// What must hold whatever the file holds:
// - the split loses nothing: the fields joined by "," are the text after "Parameters:";
// - the SIM number loses its "Finished X" line and nothing before the line ends;
// - the list shows one line per field but the last, up to field 20, each "i: label field";
// - a field in range has no message; one out of range has one naming its value;
// - every panel choice is an entry its list, button group or slider has (the panel indexes its
//   buttons and lists with them), and every value in range comes back unchanged through the
//   hardware command's fields, which keep their widths.
#include "FuzzCheck.h"
#include "common/Text.h"
#include "unitsettings/PanelChoices.h"
#include "unitsettings/SettingsText.h"
#include "unitsettings/SetupArguments.h"

#include <string>

using namespace mr3x;
using namespace mr3x::unitsettings;

namespace {

void checkSplit(const std::vector<std::string>& lines, const std::vector<std::string>& fields)
{
    std::string joined;
    for (const std::string& line : lines)
        joined += line;
    const std::size_t marker = joined.find("Parameters:");
    const std::size_t start = marker == std::string::npos ? 10 : marker + 11;
    const std::string text = start < joined.size() ? joined.substr(start) : std::string();

    FUZZ_CHECK(!fields.empty());
    std::string rejoined;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        FUZZ_CHECK(fields[i].find(',') == std::string::npos);
        rejoined += (i == 0 ? "" : ",") + fields[i];
    }
    FUZZ_CHECK(rejoined == text);
}

void checkSimNumber(const std::string& field)
{
    const std::string sim = withoutFinishedLine(field);
    FUZZ_CHECK(field.compare(0, sim.size(), sim) == 0);
    FUZZ_CHECK(sim.find("Finished X") == std::string::npos);
    FUZZ_CHECK(sim.find("Finished x") == std::string::npos);
    if (sim.size() < field.size()) {
        // Only line ends, blanks and the line itself were cut.
        const std::string cut = field.substr(sim.size());
        const std::size_t line = cut.find_first_not_of("\r\n ");
        FUZZ_CHECK(line != std::string::npos);
        FUZZ_CHECK(cut.compare(line, 9, "Finished ") == 0);
        FUZZ_CHECK(sim.empty() || (sim.back() != '\r' && sim.back() != '\n' && sim.back() != ' '));
    }
}

void checkList(const std::vector<std::string>& fields)
{
    std::array<std::string, 21> labels;
    for (std::size_t i = 0; i < labels.size(); ++i)
        labels[i] = "L" + std::to_string(i) + "=";
    const std::vector<std::string> lines = listLines(fields, labels);
    FUZZ_CHECK(lines.size() == std::min<std::size_t>(fields.size() - 1, 21));
    for (std::size_t i = 0; i < lines.size(); ++i)
        FUZZ_CHECK(lines[i] == std::to_string(i) + ": " + labels[i] + fields[i]);
}

struct RangeOf {
    Field field;
    long long lowest, highest;
};
constexpr RangeOf rangesOf[] = {
    {Threshold, 12, 35}, {Duration, 2, 10}, {CurrentFsd, 0, 7}, {Phase, 0, 5}, {TriggerMode, 0, 3},
    {RangePulse, 0, 95}, {Gain, 0, 20},     {Balance, 0, 60},   {BalanceMode, 0, 9},
};

FieldCheck checked(const std::vector<std::string>& fields, const RangeOf& r)
{
    const std::optional<FieldCheck> check = checkField(fields, r.field);
    FUZZ_CHECK(check.has_value() == (static_cast<std::size_t>(r.field) < fields.size()));
    if (!check) // the panel keeps what it shows: taken here as the field's default
        return FieldCheck{0, false, {}};
    FUZZ_CHECK(check->value == leadingInteger(fields[static_cast<std::size_t>(r.field)]));
    FUZZ_CHECK(check->inRange == (check->value >= r.lowest && check->value <= r.highest));
    if (check->inRange)
        FUZZ_CHECK(check->message.empty());
    else
        FUZZ_CHECK(check->message.find("(" + std::to_string(check->value) + ")") != std::string::npos);
    return *check;
}

void checkChoices(const std::vector<std::string>& fields)
{
    const FieldCheck threshold = checked(fields, rangesOf[0]);
    const FieldCheck duration = checked(fields, rangesOf[1]);
    const FieldCheck fsd = checked(fields, rangesOf[2]);
    const FieldCheck phase = checked(fields, rangesOf[3]);
    const FieldCheck mode = checked(fields, rangesOf[4]);
    const FieldCheck rangePulse = checked(fields, rangesOf[5]);
    const FieldCheck gain = checked(fields, rangesOf[6]);
    const FieldCheck balance = checked(fields, rangesOf[7]);
    const FieldCheck balanceMode = checked(fields, rangesOf[8]);

    // The panel's lists: thresholds "12" to "35", durations " 2" to " 10", pre/post three entries;
    // its buttons: four FSD, six phases, two ranges, three references.
    const int thresholdAt = thresholdEntry(threshold);
    const int durationAt = durationEntry(duration);
    FUZZ_CHECK(thresholdAt >= 0 && thresholdAt < 24);
    FUZZ_CHECK(durationAt >= 0 && durationAt < 9);
    const std::optional<int> fsdAt = fsdButton(fsd);
    FUZZ_CHECK(!fsdAt || (*fsdAt >= 0 && *fsdAt < 4));
    const int phaseAt = phaseButton(phase);
    FUZZ_CHECK(phaseAt >= 0 && phaseAt < 6);
    const RangeAndPulse parts = rangeAndPulse(rangePulse);
    FUZZ_CHECK(parts.range == 0 || parts.range == 1);
    FUZZ_CHECK(parts.pulseWidth >= 1 && parts.pulseWidth <= 8);
    FUZZ_CHECK(parts.prePostEntry >= 0 && parts.prePostEntry < 3);
    const int gainAt = gainValue(gain);
    const int balanceAt = balanceValue(balance);
    FUZZ_CHECK(gainAt >= 0 && gainAt <= 20);
    FUZZ_CHECK(balanceAt >= 0 && balanceAt <= 60);
    const BalanceChoice choice = balanceChoice(balanceMode);
    FUZZ_CHECK(!choice.reference || (*choice.reference >= 0 && *choice.reference < 3));
    (void)tdrMode(mode);

    // What the panel then sends, read back the way the unit's text is read.
    HardwareChoice sent;
    sent.thresholdText = std::to_string(12 + thresholdAt);
    sent.durationText = " " + std::to_string(2 + durationAt);
    sent.fsdTag = std::to_string((1 << fsdAt.value_or(0)) - 1); // buttons 0 to 3 send 0, 1, 3, 7
    sent.phaseIndex = std::to_string(phaseAt);
    sent.hardwareByte = hardwareByte(parts);
    sent.gain = gainAt;
    sent.balance = balanceAt;
    if (choice.mode && choice.reference) {
        const int modeTag = *choice.mode == TdrModeButton::Cross ? 2 : 0;
        sent.referenceTag = *choice.reference == 0   ? 0
                            : *choice.reference == 1 ? firstReferenceTag(modeTag)
                                                     : secondReferenceTag(modeTag);
    }
    sent.filterOn = choice.filterOn.value_or(true);
    const std::array<std::string, 9> out = hardwareFields(sent);
    FUZZ_CHECK(out[0].size() == 2 && out[1].size() == 2 && out[4].size() == 1 && out[5].size() == 3);
    FUZZ_CHECK(out[6].size() == 2 && out[7].size() == 2 && out[8].size() == 1);

    if (threshold.inRange)
        FUZZ_CHECK(leadingInteger(out[0]) == threshold.value);
    if (duration.inRange)
        FUZZ_CHECK(leadingInteger(out[1]) == duration.value);
    if (fsd.inRange && fsdAt)
        FUZZ_CHECK(leadingInteger(out[2]) == fsd.value);
    if (phase.inRange)
        FUZZ_CHECK(leadingInteger(out[3]) == phase.value);
    if (rangePulse.inRange) {
        // With the pulse off the unit's width bits mean nothing and are not kept.
        const long long kept = parts.pulseOn ? rangePulse.value : rangePulse.value & ~0x1CLL;
        FUZZ_CHECK(leadingInteger(out[5]) == kept);
    }
    if (gain.inRange)
        FUZZ_CHECK(leadingInteger(out[6]) == gain.value);
    if (balance.inRange)
        FUZZ_CHECK(leadingInteger(out[7]) == balance.value);
    if (balanceMode.inRange && balanceMode.value < 5)
        FUZZ_CHECK(leadingInteger(out[8]) == balanceMode.value);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::vector<std::string> lines = fuzz::textLines(data, size);
    const std::vector<std::string> fields = splitParameters(lines);
    checkSplit(lines, fields);
    if (fields.size() > SimNumber)
        checkSimNumber(fields[SimNumber]);
    checkList(fields);
    checkChoices(fields);
    return 0;
}
