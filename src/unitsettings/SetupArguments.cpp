#include "unitsettings/SetupArguments.h"

#include "common/Text.h"
#include "unitsettings/PanelChoices.h"

namespace mr3x::unitsettings {

namespace {

/// Characters `from` (counted from 1) to `from + count - 1`, as far as the text goes.
std::string_view middle(std::string_view text, std::size_t from, std::size_t count)
{
    return from - 1 < text.size() ? text.substr(from - 1, count) : std::string_view();
}

} // namespace

std::string modeDigit(int triggerTag, bool fileTransfer)
{
    const std::string digits = std::to_string(triggerTag + (fileTransfer ? 0 : 1));
    return digits.substr(digits.size() - 1);
}

std::array<std::string, 9> hardwareFields(const HardwareChoice& c)
{
    return {zeroPad(c.thresholdText, 2),
            zeroPad(c.durationText, 2),
            c.fsdTag,
            c.phaseIndex,
            modeDigit(c.triggerTag, c.fileTransfer),
            zeroPad(std::to_string(c.hardwareByte), 3),
            twoDigits(c.gain),
            zeroPad(std::to_string(c.balance), 2),
            std::to_string(balanceCode(c.referenceTag, c.filterOn))};
}

std::string idDate(std::string_view dayMonthYear)
{
    return std::string(middle(dayMonthYear, 9, 2)) + std::string(middle(dayMonthYear, 4, 2))
           + std::string(middle(dayMonthYear, 1, 2));
}

} // namespace mr3x::unitsettings
