// The command table: the reply rule for every letter command, and the argument builders.
#include "link/CommandTable.h"

#include <gtest/gtest.h>

#include <cctype>

using namespace mr3x::commands;

namespace {

const Command everyCommand[] = {
    Command::Settings,  Command::Index,          Command::EventRecord,      Command::ManualTrigger,
    Command::SetTime,   Command::SetThreshold,   Command::SetDuration,      Command::SetId,
    Command::SetHardware, Command::Arm,          Command::StopAtLogOn,      Command::StopFromTerminal,
    Command::KeepAlive, Command::Version,        Command::ReportToDataDesk, Command::AutoReportOn,
    Command::ReportingOff, Command::MsModeOn,    Command::CtrlB,            Command::CtrlC,
    Command::Ack,
};

} // namespace

TEST(CommandTable, EveryLetterCommandWaitsForFinishedAndItsLetterInEitherCase)
{
    for (const Command command : everyCommand) {
        const CommandRow& row = rowOf(command);
        SCOPED_TRACE(std::string(row.text));
        EXPECT_EQ(row.command, command);
        if (row.replyPatterns.empty()) {
            EXPECT_EQ(row.timeoutMs, 0);
            continue;
        }
        EXPECT_GT(row.timeoutMs, 0);
        EXPECT_FALSE(row.success.empty());
        EXPECT_FALSE(row.timeout.empty());
        if (row.text == "=")
            continue; // the stop command answers with its own text
        const char letter = row.text[0];
        const std::string upper(1, static_cast<char>(std::toupper(letter)));
        const std::string lower(1, static_cast<char>(std::tolower(letter)));
        EXPECT_EQ(row.replyPatterns, "Finished " + upper + "|Finished " + lower);
    }
}

TEST(CommandTable, BuildsTheEventRequestFromTheShownRecordNumber)
{
    const Exchange e = eventRecordRequest("05");
    EXPECT_EQ(e.text, "f04");
    EXPECT_EQ(eventRecordRequest("01").text, "f00");
    EXPECT_EQ(eventRecordRequest("10").text, "f09");
    EXPECT_EQ(eventRecordRequest("40").text, "f39");
    EXPECT_EQ(e.progress, "Requesting event record 05");
    EXPECT_EQ(e.success, "Request for Event 05 acknowledged");
    EXPECT_EQ(e.timeout, "Timeout acknowledging request for Event 05");
    EXPECT_EQ(e.receivedFile, "Event_05.EVT");
    EXPECT_EQ(e.received, "Event 05 received");
    EXPECT_EQ(e.timeoutMs, 3000);
}

TEST(CommandTable, BuildsTheClockCommandWithTwoDigitsPerField)
{
    const ClockFields fields = clockFields(2031, 3, 7, 9, 5, 3);
    const Exchange e = setTimeRequest(fields);
    EXPECT_EQ(e.text, "T310307090503");
    EXPECT_EQ(e.progress, "Setting Date and Time = 31/03/07  09:05:03");
    // A year past 2099 keeps its last two digits.
    EXPECT_EQ(setTimeRequest(clockFields(2105, 12, 31, 23, 59, 59)).text, "T051231235959");
}

TEST(CommandTable, PadsThresholdAndDurationKeepingALeadingBlank)
{
    EXPECT_EQ(setThresholdRequest("15").text, "h15");
    EXPECT_EQ(setThresholdRequest("15").progress, "Setting trigger threshold = 15");
    EXPECT_EQ(setThresholdRequest("7").text, "h07");
    EXPECT_EQ(setThresholdRequest("123").text, "h23") << "too long: the last digits are kept";
    EXPECT_EQ(setDurationRequest(" 3").text, "d 3");
    EXPECT_EQ(setDurationRequest(" 3").progress, "Setting trigger duration = 3 samples");
    EXPECT_EQ(setDurationRequest(" 10").text, "d10");
}

TEST(CommandTable, BuildsTheIdentificationRecordOf75Characters)
{
    const std::string record = idRecord("260501", "A job name longer than twenty-four", "Sub");
    const Exchange e = setIdRequest(record);
    EXPECT_EQ(e.text.size(), 75u);
    EXPECT_EQ(e.text, "N260501,A job name longer than t,Sub" + std::string(21, ' ') + "," + std::string(16, ' ') + ",");
}

TEST(CommandTable, BuildsTheHardwareCommandWithItsWakeUp)
{
    const Exchange e = setHardwareRequest({"15", " 3", "0", "1", "2", "042", "10", "10", "5"});
    EXPECT_EQ(e.text, "g15, 3,0,1,2,042,10,10,5");
    EXPECT_EQ(e.wakeUp, WakeUp::LineEnds);
    EXPECT_EQ(e.timeoutMs, 10000);
}

TEST(CommandTable, NamesTheLogOnTimeOutAfterThePort)
{
    const Exchange e = stopAtLogOn("3");
    EXPECT_EQ(e.text, "=");
    EXPECT_EQ(e.followUp, "-");
    EXPECT_EQ(e.followUpPauseMs, 1000);
    EXPECT_EQ(e.timeout, "No connection to Local Unit via COM3");
    EXPECT_EQ(receivedFileName(Command::Index, "UNIT 7"), "UNIT 7.IDX");
    EXPECT_EQ(receivedFileName(Command::Settings, "UNIT 7"), "UNIT 7 Settings.txt");
}
