#pragma once
// The arguments of the identity and hardware commands, built from the control panel's choices.
// The command texts themselves, the two-digit rule and the identity record's layout belong to
// the command table (link/CommandTable.h).
#include <array>
#include <string>
#include <string_view>

namespace mr3x::unitsettings {

/// The panel's choices as the hardware command reads them: list texts and label captions as
/// they stand, numbers from the sliders, flags from the check boxes.
struct HardwareChoice {
    std::string thresholdText;  // cboThreshold, "12" to "35"
    std::string durationText;   // cboDuration, " 2" to " 10"
    std::string fsdTag;         // lblFSDTag: 0, 1, 3 or 7
    std::string phaseIndex;     // lblPhaseIndex: 0 to 5
    int triggerTag = 2;         // lblTriggerTag: 2 TDR, 0 TRS
    bool fileTransfer = false;  // chkFileTransfer ("F/T")
    int hardwareByte = 0;
    int gain = 10;
    int balance = 10;
    int referenceTag = 0;       // lblBalanceTag
    bool filterOn = true;
};

/// The mode digit: the trigger tag, plus 1 when the unit is not to send a trace (F/T unticked);
/// its last digit only.
std::string modeDigit(int triggerTag, bool fileTransfer);

/// The nine fields of the hardware command, in order: threshold, duration, FSD code, phase, mode
/// digit, hardware byte (three digits), gain, balance, balance code.
std::array<std::string, 9> hardwareFields(const HardwareChoice& choice);

/// The identity date yymmdd from a date written dd/mm/yyyy: its characters 9-10, 4-5 and 1-2.
std::string idDate(std::string_view dayMonthYear);

} // namespace mr3x::unitsettings
