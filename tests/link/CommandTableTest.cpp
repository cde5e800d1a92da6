// The command table: the reply rule for every letter command, and the arguments at their limits.
#include "link/CommandTable.h"

#include <gtest/gtest.h>

#include <cctype>

using namespace mr3x::commands;

TEST(CommandTable, EveryLetterCommandWaitsForFinishedAndItsLetterInEitherCase)
{
    for (int c = 0; c <= static_cast<int>(Command::Ack); ++c) {
        const CommandRow& row = rowOf(static_cast<Command>(c));
        SCOPED_TRACE(std::string(row.text));
        EXPECT_EQ(static_cast<int>(row.command), c);
        if (row.replyPatterns.empty() || row.text == "=") // the stop command answers with its own text
            continue;
        EXPECT_GT(row.timeoutMs, 0);
        const auto letter = static_cast<unsigned char>(row.text[0]);
        EXPECT_EQ(row.replyPatterns, std::string("Finished ") + static_cast<char>(std::toupper(letter)) + "|Finished "
                                         + static_cast<char>(std::tolower(letter)));
    }
}

TEST(CommandTable, ArgumentsKeepTheirRightmostDigits)
{
    EXPECT_EQ(eventRecordRequest("01").text, "f00");
    EXPECT_EQ(eventRecordRequest("40").text, "f39");
    EXPECT_EQ(eventRecordRequest("40").receivedFile, "Event_40.EVT");
    EXPECT_EQ(setTimeRequest(clockFields(2105, 12, 31, 23, 59, 59)).text, "T051231235959");
    EXPECT_EQ(setThresholdRequest("7").text, "h07");
    EXPECT_EQ(setDurationRequest(" 10").text, "d10");
}
