#pragma once
// Every command the program sends to the Local Unit, in one table: its text, the second send of
// the two-part stop command, the reply patterns that end the wait, the time-out, the wake-up sent
// before it, and the status-line texts of its exchange. The functions below build a command's
// full exchange from its arguments, by the zero-padding rule (zeros put in front, the rightmost
// characters kept).
//
// The unit answers a completed command with "Finished " and the command letter, in either case,
// so a command with letter L waits for "Finished L|Finished l".
#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace mr3x::commands {

enum class Command {
    Settings,         // "X": the settings text, captured into the unit's settings file
    Index,            // "p": acknowledged, then the index file by file transfer
    EventRecord,      // "f" + record number - 1: acknowledged, then "Event_nn.EVT"; the program ACKs it
    ManualTrigger,    // "y1": a manual recording, then "Manual Trigger.ACT"
    SetTime,          // "T" + yymmddhhnnss
    SetThreshold,     // "h" + 2 characters
    SetDuration,      // "d" + 2 characters
    SetId,            // "N" + the identification record
    SetHardware,      // "g" + 9 comma-separated fields
    Arm,              // "e": the unit leaves serial control and arms itself
    StopAtLogOn,      // "=", pause, "-": the unit stops recording
    StopFromTerminal, // the same from the terminal's "Send DISARM"
    KeepAlive,        // "R"
    Version,          // "V"
    ReportToDataDesk, // "W"
    AutoReportOn,     // "A1"
    ReportingOff,     // "A0" (ends automatic reporting and M-S mode alike)
    MsModeOn,         // "A2"
    CtrlB,            // character code 2
    CtrlC,            // character code 3
    Ack,              // character code 6: confirms receipt of an event record
};

enum class WakeUp {
    None,
    EmptySends, // two sends of an empty text
    LineEnds,   // "\r\n" sent twice
};

/// One row of the table. In the texts, "%1" stands for the argument the user knows the command
/// by (the record number, the threshold, the port number).
struct CommandRow {
    Command command;
    std::string_view text;          // the command's fixed text; its arguments follow it
    std::string_view followUp;      // a second send after followUpPauseMs ("-" after "=")
    int followUpPauseMs;
    std::string_view replyPatterns; // "|"-separated; empty when the program waits for nothing
    int timeoutMs;
    WakeUp wakeUp;
    int wakeUpPauseMs;              // the pause before the wake-up sends
    std::string_view progress;      // the status line while the command runs
    std::string_view success;       // ... when the unit answered in time
    std::string_view timeout;       // ... when it did not
    std::string_view receivedFile;  // the file that follows the answer, if any
    std::string_view receiving;     // the status line while that file comes, if the program shows one
    std::string_view received;      // ... once it has come
};

/// The table's row of a command.
const CommandRow& rowOf(Command command);

/// A command ready to run: the row with its arguments filled in.
struct Exchange {
    Command command;
    std::string text;
    std::string followUp;
    int followUpPauseMs = 0;
    std::string replyPatterns;
    int timeoutMs = 0;
    WakeUp wakeUp = WakeUp::None;
    int wakeUpPauseMs = 0;
    std::string progress;
    std::string success;
    std::string timeout;
    std::string receivedFile;
    std::string receiving;
    std::string received;

    /// Whether the program waits for a reply.
    bool waits() const { return !replyPatterns.empty(); }
};

/// The command's exchange: `arguments` go after its text, `shown` replaces "%1" in its texts.
Exchange exchangeFor(Command command, std::string_view arguments = {}, std::string_view shown = {});

/// "f" with the shown two-digit record number less one: the shown record 05 is asked for as "f04".
Exchange eventRecordRequest(std::string_view shownNumber);

/// The unit's clock as six two-digit fields: year - 2000, month, day, hour, minute, second.
using ClockFields = std::array<std::string, 6>;
ClockFields clockFields(int year, int month, int day, int hour, int minute, int second);
/// "T" and the six fields; shown as "yy/mm/dd  hh:nn:ss".
Exchange setTimeRequest(const ClockFields& fields);

/// "h" and two characters of the threshold list's text ("15" goes out as "h15").
Exchange setThresholdRequest(std::string_view thresholdText);
/// "d" and two characters of the duration list's text (" 3" goes out as "d 3", " 10" as "d10").
Exchange setDurationRequest(std::string_view durationText);

/// The identification record: the location's date as yymmdd, the job and the location names
/// each padded with blanks or cut to 24 characters, and 16 blanks, each field ended by ",".
std::string idRecord(std::string_view yymmdd, std::string_view job, std::string_view location);
/// "N" and the identification record.
Exchange setIdRequest(std::string_view record);

/// "g" and the nine hardware fields joined by ",".
Exchange setHardwareRequest(const std::array<std::string, 9>& fields);

/// "=", a pause of 1000 ms and "-", waiting 2000 ms for "stopped by serial comm!"; its time-out
/// text ends in the port number.
Exchange stopAtLogOn(std::string_view portNumber);

/// The file a request brings: the unit name + ".IDX", "Event_" + nn + ".EVT", ...
std::string receivedFileName(Command command, std::string_view shown);

// Texts of the link that belong to no single command.
inline constexpr std::string_view busyText = "Communications in progress";
/// "V" as the identity check sends it: the unit reports its model, firmware and serial number
/// ("M-R3X M-R32 firmware 2.4 serial MR-0101") and ends with "Finished V".
Exchange versionQuery();
/// The serial number a version reply reports after "serial "; nothing when it reports none.
std::optional<std::string> reportedSerial(std::string_view reply);

inline constexpr std::string_view transferFailedText = "File transfer failed";
inline constexpr std::string_view transferAbortedText = "File transfer aborted";
inline constexpr std::string_view bytesTransferredText = " bytes transferred";

} // namespace mr3x::commands
