// The files the unit makes from its latest settings: manual recordings and test traces. (How they
// go out by YMODEM, and its index and event records, are read by the program's own download
// tests: CommandExchangeTest, ManualTriggerTest, TdrTestRunTest.)
#include "TraceReading.h"
#include "UnitDriver.h"

#include <gtest/gtest.h>

using namespace mr3x::sim;
using namespace mr3x::sim::test;

namespace {

/// The file the unit offers after `command`, and the name it offers it under.
std::pair<std::string, Bytes> offerAfter(UnitDriver& d, const std::string& command)
{
    EXPECT_NE(d.ask(command, 100).find("Finished"), std::string::npos) << command;
    return {d.unit.lastOfferName(), d.unit.lastOfferBytes()};
}

std::string trailerText(const Bytes& record, std::size_t offset)
{
    const auto at = record.begin() + static_cast<std::ptrdiff_t>(trailerAt(record) + offset);
    return std::string(at, at + 24);
}

} // namespace

TEST(SimUnitFiles, ManualRecordingUsesTheClockAndTheLatestSettings)
{
    UnitDriver d(disarmed());
    d.ask("T270307090503");
    d.ask(identity("270301", "Cable 9", "Depot"));
    d.ask("\r\n\r\ng20, 4,3,2,3,042,12,30,1");
    d.run(2000);
    const auto [name, r] = offerAfter(d, "y1");
    EXPECT_EQ(name, "MANUAL.ACT");
    ASSERT_EQ(r.size(), kLongRecordBytes);
    // Taken two seconds and a little after the clock was set, by hand, with the FSD code from "g".
    EXPECT_EQ(std::vector<int>(r.begin(), r.begin() + 5), (std::vector<int>{27, 3, 7, 9, 5}));
    EXPECT_GE(r[5], 5);
    EXPECT_LE(r[5], 6);
    EXPECT_EQ(r[6], 0);
    EXPECT_EQ(r[7], 3);
    // Phase, gain, hardware byte, balance, mode, balance mode; threshold and duration.
    const std::vector<std::pair<std::size_t, int>> trailer{{6, 2},  {7, 12},  {8, 42},  {9, 30},
                                                           {10, 3}, {11, 1}, {14, 20}, {15, 4}};
    for (const auto& [offset, value] : trailer)
        EXPECT_EQ(r[trailerAt(r) + offset], value) << "trailer byte " << offset;
    EXPECT_EQ(trailerText(r, 26), "Cable 9                 ");
    EXPECT_EQ(trailerText(r, 51), "Depot                   ");
}

TEST(SimUnitFiles, TheTestTraceIsOfferedAfterAnEvenModeDigitOrAnMS32sTriggerSettingsAndWithdrawnByAnotherCommand)
{
    UnitDriver d(disarmed());
    // TDR with file transfer on: 512 samples and the trailer.
    const auto [name, tdr] = offerAfter(d, "\r\n\r\ng15, 3,0,4,2,035,10,10,0");
    EXPECT_EQ(name, "TEST.TDR");
    ASSERT_EQ(tdr.size(), kTdrTraceBytes);
    EXPECT_EQ(tdr[512 + 8], 35);  // the hardware byte as sent: long range, pulse on

    // Odd digit: file transfer off, nothing is offered.
    d.ask("\r\n\r\ng15, 3,0,0,3,034,10,10,0");
    d.run(500);
    EXPECT_EQ(d.ask("C", 1000), "");

    // After an even digit the program may not want the trace: "e" withdraws the offer and arms
    // the unit ("y1" does too: ManualTriggerTest).
    d.ask("\r\n\r\ng15, 3,0,0,2,034,10,10,0");
    EXPECT_EQ(d.ask("e"), "\r\nFinished e\r\n");
    EXPECT_TRUE(d.unit.armed());

    // An M-S32 runs its test, in the mode it holds (3, TDR), after the trigger settings too.
    UnitDriver s(disarmed(Model::MS32));
    s.ask("h15");
    const Bytes trace = offerAfter(s, "d 3").second;
    ASSERT_EQ(trace.size(), kTdrTraceBytes);
    EXPECT_EQ(trace[512 + 18], 225); // M-S32, version 1
}
