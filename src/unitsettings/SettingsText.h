#pragma once
// The unit's settings text, as captured from its answer to "X": the fields after "Parameters:",
// the list lines the settings view shows, and each field's range check with its message.
//
// The unit sends a title line, then "Parameters:" and its fields separated by ",", the last one
// (the SIM number) followed by its "Finished X" line. The capture's lines are joined without their
// line ends before the split, so the SIM number and "Finished X" meet in the last field.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mr3x::unitsettings {

/// The fields of the settings text, by number.
enum Field : int {
    BaudRate = 0,
    Threshold = 1,
    Duration = 2,
    RecordCount = 3,
    CurrentFsd = 4,
    Phase = 5,
    TriggerMode = 6,
    RangePulse = 7,
    Gain = 8,
    Balance = 9,
    BalanceMode = 10,
    Version = 11,
    SimNumber = 17,
};

/// Field 11 of a unit that reports over GPRS; its field 0 is then shown as "......".
inline constexpr std::string_view gprsMarker = "DA";
inline constexpr std::string_view hiddenBaudRate = "......";
/// Field 11 of an "M-S32" unit.
inline constexpr std::string_view msMarker = "E1";
inline constexpr std::string_view msModel = "M-S32";

/// The labels put before fields 6 and 7 once a settings file has been read.
inline constexpr std::string_view triggerModeLabel = "Trigger mode: ";
inline constexpr std::string_view rangePulseLabel = "Pre-trigger/Pulse/Range: ";

/// The lines joined without their line ends; the text after the first "Parameters:" split at
/// every ",". A text without "Parameters:" is split from its eleventh character on.
std::vector<std::string> splitParameters(const std::vector<std::string>& lines);

/// The SIM number field without the "Finished X" (or "Finished x") line the capture ends with,
/// and without the line-end characters and blanks before it.
std::string withoutFinishedLine(std::string_view field);

/// "i: " + label + field for the fields 0 to the last but one, at most up to field 20.
std::vector<std::string> listLines(const std::vector<std::string>& fields,
                                   const std::array<std::string, 21>& labels);

/// A field read as a number (leading blanks allowed; a text that does not start with a number
/// reads as 0) and checked against its range.
struct FieldCheck {
    long long value = 0;
    bool inRange = true;
    std::string message; // the out-of-range message; empty in range
};

/// The check of a field that has a range (1, 2, 4 to 10); nothing when the settings text is too
/// short to hold the field.
std::optional<FieldCheck> checkField(const std::vector<std::string>& fields, Field field);

/// A settings text read and checked, as the control panel takes it.
struct CheckedSettings {
    std::vector<std::string> fields;            // the SIM number without its "Finished X" line
    bool msUnit = false;                        // field 11 is the "M-S32" marker
    std::array<std::optional<FieldCheck>, SimNumber + 1> checks{}; // by field; empty: not taken
    std::vector<std::string> problems;          // the out-of-range messages, in the panel's order
};

/// Splits the captured lines and checks every field the panel takes, in the order it takes
/// them: threshold, duration, the current full scale (not on an "M-S32", which has none),
/// phase, trigger mode, range and pulse, gain, balance, balance mode.
CheckedSettings checkSettings(const std::vector<std::string>& lines);

} // namespace mr3x::unitsettings
