#include "link/CommandTable.h"

#include "common/Text.h"

#include <algorithm>
#include <stdexcept>

namespace mr3x::commands {

namespace {

using enum Command;
using enum WakeUp;

// clang-format off
constexpr std::array table{
//  command           text    follow-up pause  reply patterns             time-out wake-up  pause
//  progress                               success                                 time-out
//  received file            receiving                       received
    CommandRow{Settings, "X", "", 0, "Finished X|Finished x", 5000, EmptySends, 500,
        "Requesting Settings", "Settings downloaded", "Timeout downloading Settings",
        "%1 Settings.txt", "", ""},
    CommandRow{Index, "p", "", 0, "Finished P|Finished p", 10000, None, 0,
        "Downloading Index ", "Index request acknowledged", "Timeout acknowledging request for index file",
        "%1.IDX", "", "Index file downloaded"},
    CommandRow{EventRecord, "f", "", 0, "Finished F|Finished f", 3000, None, 0,
        "Requesting event record %1", "Request for Event %1 acknowledged", "Timeout acknowledging request for Event %1",
        "Event_%1.EVT", "", "Event %1 received"},
    CommandRow{ManualTrigger, "y1", "", 0, "Finished Y|Finished y", 15000, None, 0,
        "Requesting Manual Trigger", "Manual Trigger request acknowledged", "Timeout in request for Manual Trigger",
        "Manual Trigger.ACT", "Downloading Manual Trigger", "Manual Trigger downloaded"},
    CommandRow{SetTime, "T", "", 0, "Finished T|Finished t", 5000, None, 0,
        "Setting Date and Time = %1", "Time set", "Timeout setting time", "", "", ""},
    CommandRow{SetThreshold, "h", "", 0, "Finished H|Finished h", 5000, None, 0,
        "Setting trigger threshold = %1", "Trigger threshold set", "Timeout changing trigger threshold", "", "", ""},
    CommandRow{SetDuration, "d", "", 0, "Finished D|Finished d", 5000, None, 0,
        "Setting trigger duration = %1 samples", "Trigger duration set", "Timeout setting trigger duration", "", "", ""},
    CommandRow{SetId, "N", "", 0, "Finished N|Finished n", 5000, None, 0,
        "Setting ID", "ID set", "Timeout setting ID", "", "", ""},
    CommandRow{SetHardware, "g", "", 0, "Finished G|Finished g", 10000, LineEnds, 0,
        "Setting hardware", "TDR hardware set", "Timeout setting hardware", "", "", ""},
    CommandRow{Arm, "e", "", 0, "", 0, None, 0, "", "", "", "", "", ""},
    CommandRow{StopAtLogOn, "=", "-", 1000, "stopped by serial comm!", 2000, None, 0,
        "Disarming local unit...", "Local unit disarmed", "No connection to Local Unit via COM%1", "", "", ""},
    // The terminal's status line starts with the value TimedOut read, which is 0 or 1 here.
    CommandRow{StopFromTerminal, "=", "-", 100, "stopped by serial comm!", 5000, None, 0,
        "", "0  Local unit is disarmed", "1  Local unit is disarmed", "", "", ""},
    CommandRow{KeepAlive, "R", "", 0, "", 0, None, 0, "", "", "", "", "", ""},
    CommandRow{Version, "V", "", 0, "", 0, None, 0, "", "", "", "", "", ""},
    CommandRow{ReportToDataDesk, "W", "", 0, "", 0, None, 0, "", "", "", "", "", ""},
    CommandRow{AutoReportOn, "A1", "", 0, "", 0, None, 0, "", "", "", "", "", ""},
    CommandRow{ReportingOff, "A0", "", 0, "", 0, None, 0, "", "", "", "", "", ""},
    CommandRow{MsModeOn, "A2", "", 0, "", 0, None, 0, "", "", "", "", "", ""},
    CommandRow{CtrlB, "\x02", "", 0, "", 0, None, 0, "", "", "", "", "", ""},
    CommandRow{CtrlC, "\x03", "", 0, "", 0, None, 0, "", "", "", "", "", ""},
    CommandRow{Ack, "\x06", "", 0, "", 0, None, 0, "", "", "", "", "", ""},
};
// clang-format on

std::string fill(std::string_view text, std::string_view shown)
{
    std::string out(text);
    if (const auto at = out.find("%1"); at != std::string::npos)
        out.replace(at, 2, shown);
    return out;
}

std::string withoutLeadingBlanks(std::string_view text)
{
    const auto first = text.find_first_not_of(' ');
    return first == std::string_view::npos ? std::string() : std::string(text.substr(first));
}

/// Padded with blanks or cut to exactly `width` characters.
std::string fitted(std::string_view text, std::size_t width)
{
    std::string out(text.substr(0, std::min(text.size(), width)));
    out.resize(width, ' ');
    return out;
}

} // namespace

const CommandRow& rowOf(Command command)
{
    const auto it = std::find_if(table.begin(), table.end(), [command](const CommandRow& row) { return row.command == command; });
    if (it == table.end())
        throw std::logic_error("a command is missing from the command table");
    return *it;
}

Exchange exchangeFor(Command command, std::string_view arguments, std::string_view shown)
{
    const CommandRow& row = rowOf(command);
    Exchange e;
    e.command = command;
    e.text = std::string(row.text) + std::string(arguments);
    e.followUp = row.followUp;
    e.followUpPauseMs = row.followUpPauseMs;
    e.replyPatterns = row.replyPatterns;
    e.timeoutMs = row.timeoutMs;
    e.wakeUp = row.wakeUp;
    e.wakeUpPauseMs = row.wakeUpPauseMs;
    e.progress = fill(row.progress, shown);
    e.success = fill(row.success, shown);
    e.timeout = fill(row.timeout, shown);
    e.receivedFile = fill(row.receivedFile, shown);
    e.receiving = fill(row.receiving, shown);
    e.received = fill(row.received, shown);
    return e;
}

Exchange eventRecordRequest(std::string_view shownNumber)
{
    const long long onTheWire = leadingInteger(shownNumber) - 1;
    return exchangeFor(EventRecord, zeroPad(std::to_string(onTheWire), 2), shownNumber);
}

ClockFields clockFields(int year, int month, int day, int hour, int minute, int second)
{
    return {twoDigits(year - 2000), twoDigits(month), twoDigits(day), twoDigits(hour), twoDigits(minute), twoDigits(second)};
}

Exchange setTimeRequest(const ClockFields& f)
{
    std::string digits;
    for (const std::string& field : f)
        digits += field;
    const std::string shown = f[0] + "/" + f[1] + "/" + f[2] + "  " + f[3] + ":" + f[4] + ":" + f[5];
    return exchangeFor(SetTime, digits, shown);
}

Exchange setThresholdRequest(std::string_view thresholdText)
{
    return exchangeFor(SetThreshold, zeroPad(thresholdText, 2), withoutLeadingBlanks(thresholdText));
}

Exchange setDurationRequest(std::string_view durationText)
{
    return exchangeFor(SetDuration, zeroPad(durationText, 2), withoutLeadingBlanks(durationText));
}

std::string idRecord(std::string_view yymmdd, std::string_view job, std::string_view location)
{
    return std::string(yymmdd) + "," + fitted(job, 24) + "," + fitted(location, 24) + "," + std::string(16, ' ') + ",";
}

Exchange setIdRequest(std::string_view record)
{
    return exchangeFor(SetId, record);
}

Exchange setHardwareRequest(const std::array<std::string, 9>& fields)
{
    std::string joined;
    for (std::size_t i = 0; i < fields.size(); ++i)
        joined += (i == 0 ? "" : ",") + fields[i];
    return exchangeFor(SetHardware, joined);
}

Exchange stopAtLogOn(std::string_view portNumber)
{
    return exchangeFor(StopAtLogOn, {}, portNumber);
}

std::string receivedFileName(Command command, std::string_view shown)
{
    return fill(rowOf(command).receivedFile, shown);
}

Exchange versionQuery()
{
    // The table's "V" waits for nothing (the terminal shows the reply as it comes); the identity
    // check needs the whole reply.
    Exchange e = exchangeFor(Version);
    e.replyPatterns = "Finished V|Finished v";
    e.timeoutMs = 5000;
    return e;
}

std::optional<std::string> reportedSerial(std::string_view reply)
{
    constexpr std::string_view key = "serial ";
    const auto at = reply.find(key);
    if (at == std::string_view::npos)
        return std::nullopt;
    const auto begin = at + key.size();
    const auto end = reply.find_first_of(" \t\r\n", begin);
    const std::string_view serial = reply.substr(begin, end == std::string_view::npos ? std::string_view::npos : end - begin);
    if (serial.empty())
        return std::nullopt;
    return std::string(serial);
}

} // namespace mr3x::commands
