// The files the unit sends: index, event records, manual recordings and test traces, their
// layouts and their agreement with the settings; and transfers under faults.
#include "UnitDriver.h"

#include "sim/Records.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace mr3x::sim;
using namespace mr3x::sim::test;
using mr3x::ymodem::Outcome;

namespace {

Reception fetch(UnitDriver& d, const std::string& command)
{
    EXPECT_NE(d.ask(command, 100).find("Finished"), std::string::npos) << command;
    d.run(500);  // the program pauses before it starts the reception
    return receiveFile(d);
}

// An event record's trailer comes before its three spare bytes.
int trailerByte(const Bytes& record, std::size_t offset)
{
    return record[record.size() - kSpareBytes - kTrailerBytes + offset];
}

std::string trailerText(const Bytes& record, std::size_t offset)
{
    const auto at = static_cast<std::ptrdiff_t>(record.size() - kSpareBytes - kTrailerBytes + offset);
    return std::string(record.begin() + at, record.begin() + at + 24);
}

} // namespace

TEST(SimUnitFiles, IndexListsTheStoredEventsOldestFirstAndEmptySlotsAsZeros)
{
    UnitDriver d(disarmed());
    const Reception index = fetch(d, "p");
    ASSERT_EQ(index.outcome, Outcome::Complete);
    ASSERT_EQ(index.data.size(), 20u * kIndexRecordBytes);
    EXPECT_EQ(index.data, d.unit.indexFile());

    const std::int64_t clock = DateTime{}.toSeconds();
    std::int64_t previous = 0;
    for (int slot = 0; slot < 20; ++slot) {
        const auto* r = &index.data[static_cast<std::size_t>(slot) * kIndexRecordBytes];
        if (slot >= 12) {
            EXPECT_TRUE(std::all_of(r, r + kIndexRecordBytes, [](std::uint8_t b) { return b == 0; })) << slot;
            continue;
        }
        EXPECT_EQ(r[0], slot);
        const DateTime when{2000 + r[2], r[3], r[4], r[5], r[6], r[7]};
        ASSERT_TRUE(when.isValid()) << slot;
        // Within the week before the unit's clock, in order of time.
        EXPECT_LT(when.toSeconds(), clock);
        EXPECT_GT(when.toSeconds(), clock - 8 * 86400);
        EXPECT_GE(when.toSeconds(), previous);
        previous = when.toSeconds();
        // The event record of the slot carries the same date and time in its head.
        EXPECT_TRUE(std::equal(r + 2, r + 8, d.unit.eventRecord(slot).begin())) << slot;
    }
    // An M-S32 has 40 slots; another seed records other events.
    EXPECT_EQ(SimUnit(disarmed(Model::MS32)).indexFile().size(), 40u * kIndexRecordBytes);
    SimOptions other = disarmed();
    other.seed = 2;
    EXPECT_NE(SimUnit(other).indexFile(), index.data);
}

TEST(SimUnitFiles, EventRecordsHaveTheirLengthHeadTrailerAndSignals)
{
    UnitDriver d(disarmed());
    const Reception record = fetch(d, "f04");
    ASSERT_EQ(record.outcome, Outcome::Complete);
    EXPECT_EQ(record.name, "EVENT_05.EVT");
    ASSERT_EQ(record.data.size(), kLongRecordBytes);
    EXPECT_EQ(record.data, d.unit.eventRecord(4));
    // The program confirms the record with ACK.
    d.send("\x06");
    EXPECT_EQ(d.unit.confirmedRecords(), std::set<int>{4});

    const Bytes& r = record.data;
    EXPECT_GE(r[6], 1);  // trigger source
    EXPECT_LE(r[6], 4);
    // The trailer repeats the head's date and time, and holds the slot and the M-R32 model byte.
    EXPECT_TRUE(std::equal(r.begin(), r.begin() + 6, r.begin() + 11400));
    EXPECT_EQ(trailerByte(r, 16), 4);
    EXPECT_EQ(trailerByte(r, 18), 210);

    // Mains before the dip: three phases of about 230 V rms around level 129.
    for (int c = 0; c < 3; ++c) {
        double squares = 0;
        for (int g = 0; g < 80; ++g)
            squares += std::pow(r[kHeadBytes + static_cast<std::size_t>(4 * g + c)] - 129.0, 2);
        EXPECT_NEAR(std::sqrt(squares / 80) * 388 / 128, 230, 6) << "channel " << c;
    }

    // Every fourth slot holds a short record. An ACK that comes after another command confirms nothing.
    const Reception shortRecord = fetch(d, "f03");
    EXPECT_EQ(shortRecord.data.size(), kShortRecordBytes);
    d.ask("R");
    d.send("\x06");
    EXPECT_EQ(d.unit.confirmedRecords(), std::set<int>{4});
}

TEST(SimUnitFiles, ManualRecordingUsesTheClockAndTheLatestSettings)
{
    UnitDriver d(disarmed());
    d.ask("T270307090503");
    d.ask("N270301,Cable 9                 ,Depot                   ,                ,");
    d.ask("\r\n\r\ng20, 4,3,2,3,042,12,30,1");
    d.run(2000);
    const Reception manual = fetch(d, "y1");
    ASSERT_EQ(manual.outcome, Outcome::Complete);
    EXPECT_EQ(manual.name, "MANUAL.ACT");
    ASSERT_EQ(manual.data.size(), kLongRecordBytes);
    const Bytes& r = manual.data;
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
        EXPECT_EQ(trailerByte(r, offset), value) << "trailer byte " << offset;
    EXPECT_EQ(trailerText(r, 26), "Cable 9                 ");
    EXPECT_EQ(trailerText(r, 51), "Depot                   ");
}

TEST(SimUnitFiles, TheTestTraceIsOfferedAfterAnEvenModeDigitOrAnMS32sTriggerSettingsAndWithdrawnByAnotherCommand)
{
    UnitDriver d(disarmed());
    // TDR with file transfer on: 512 samples and the trailer.
    const Reception tdr = fetch(d, "\r\n\r\ng15, 3,0,4,2,035,10,10,0");
    ASSERT_EQ(tdr.data.size(), kTdrTraceBytes);
    EXPECT_EQ(tdr.data, d.unit.lastOfferBytes());
    EXPECT_EQ(tdr.name, "TEST.TDR");
    EXPECT_EQ(tdr.data[512 + 8], 35);  // the hardware byte as sent: long range, pulse on

    // In TRS mode the trace is of 8192 samples, its mode byte below 2 (the pictures: TrsPairTest).
    const Reception trs = fetch(d, "\r\n\r\ng15, 3,0,0,0,034,10,10,0");
    ASSERT_EQ(trs.data.size(), kTrsTraceBytes);
    EXPECT_EQ(trs.data[8192 + 10], 0);

    // Odd digit: file transfer off, nothing is offered.
    d.ask("\r\n\r\ng15, 3,0,0,3,034,10,10,0");
    d.run(500);
    EXPECT_EQ(d.ask("C", 1000), "");

    // After an even digit the program may not want the trace: "y1" withdraws the offer and runs.
    d.ask("\r\n\r\ng15, 3,0,0,2,034,10,10,0");
    EXPECT_EQ(fetch(d, "y1").name, "MANUAL.ACT");
    // "e" withdraws it too, and arms the unit.
    d.ask("\r\n\r\ng15, 3,0,0,2,034,10,10,0");
    EXPECT_EQ(d.ask("e"), "\r\nFinished e\r\n");
    EXPECT_TRUE(d.unit.armed());

    // An M-S32 runs its test, in the mode it holds (3, TDR), after the trigger settings too.
    UnitDriver s(disarmed(Model::MS32));
    s.ask("h15");
    const Reception trace = fetch(s, "d 3");
    ASSERT_EQ(trace.data.size(), kTdrTraceBytes);
    EXPECT_EQ(trace.data[512 + 18], 225); // M-S32, version 1
}
