// The files the unit sends: index, event records, manual recordings and test traces, their
// layouts and their agreement with the settings; and transfers under faults.
#include "UnitDriver.h"

#include "sim/Records.h"

#include <gtest/gtest.h>

#include <cmath>
#include <numeric>

using namespace mr3x::sim;
using namespace mr3x::sim::test;

namespace {

SimOptions disarmed(Model model = Model::MR32)
{
    SimOptions options;
    options.armed = false;
    options.model = model;
    options.clock = DateTime{2026, 12, 6, 12, 0, 0};
    return options;
}

ReceivedFile fetch(UnitDriver& d, const std::string& command, const ReceiverOptions& options = {})
{
    const std::string answer = d.ask(command, 100);
    EXPECT_NE(answer.find("Finished"), std::string::npos) << command;
    d.run(500);  // the program pauses before it starts the reception
    return receiveFile(d, options);
}

std::size_t trailerAt(const Bytes& record)
{
    return record.size() - kTrailerBytes - (record.size() == kTdrTraceBytes || record.size() == kTrsTraceBytes ? 0 : 3);
}

std::string trailerText(const Bytes& record, std::size_t offset, std::size_t width)
{
    const std::size_t at = trailerAt(record) + offset;
    return std::string(record.begin() + static_cast<std::ptrdiff_t>(at),
                       record.begin() + static_cast<std::ptrdiff_t>(at + width));
}

int trailerByte(const Bytes& record, std::size_t offset)
{
    return record[trailerAt(record) + offset];
}

// The 512-point interleave the TDR viewer builds from four pulse blocks of an event; `skew`
// puts the blocks in the wrong places, as a viewer with a wrong injection phase would.
std::vector<int> interleave(const Bytes& record, int firstBlock, int injection, int skew = 0)
{
    const int r = static_cast<int>(std::lround((injection + 1) / 128.0));
    const int phase = 4 - r % 4 + skew;
    std::vector<int> points(512);
    for (int k = firstBlock; k < firstBlock + 4; ++k)
        for (int j = 1; j <= 128; ++j)
            points[static_cast<std::size_t>(4 * j - (phase + k) % 4 - 1)] =
                record[kHeadBytes + kSampleBytes + static_cast<std::size_t>(128 * k + j - 1)];
    return points;
}

// How much a trace zig-zags over the launch pulse, where a wrong interleave shows most.
int roughness(const std::vector<int>& points)
{
    int sum = 0;
    for (std::size_t i = 16; i < 64; ++i)
        sum += std::abs(points[i] - points[i - 1]);
    return sum;
}

} // namespace

TEST(SimUnitFiles, IndexListsTheStoredEventsOldestFirstAndEmptySlotsAsZeros)
{
    UnitDriver d(disarmed());
    const ReceivedFile index = fetch(d, "p");
    ASSERT_TRUE(index.complete);
    ASSERT_EQ(index.data.size(), 20u * kIndexRecordBytes);
    EXPECT_EQ(index.data, d.unit.indexFile());

    const std::int64_t clock = DateTime{2026, 12, 6, 12, 0, 0}.toSeconds();
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
        const Bytes& record = d.unit.eventRecord(slot);
        EXPECT_TRUE(std::equal(r + 2, r + 8, record.begin())) << slot;
    }

    // An M-S32 has 40 slots.
    UnitDriver s(disarmed(Model::MS32));
    const ReceivedFile big = fetch(s, "p");
    ASSERT_TRUE(big.complete);
    EXPECT_EQ(big.data.size(), 40u * kIndexRecordBytes);
}

TEST(SimUnitFiles, EventRecordsHaveTheirLengthHeadTrailerAndSignals)
{
    SimOptions options = disarmed();
    options.faultDistanceM = 162;  // 200 plot units on the short range
    UnitDriver d(options);
    const ReceivedFile record = fetch(d, "f04");
    ASSERT_TRUE(record.complete);
    EXPECT_EQ(record.name, "EVENT_05.EVT");
    ASSERT_EQ(record.data.size(), kLongRecordBytes);
    EXPECT_EQ(record.data, d.unit.eventRecord(4));
    // The program confirms the record with ACK.
    d.sendByte(0x06);
    EXPECT_EQ(d.unit.confirmedRecords(), std::set<int>{4});

    const Bytes& r = record.data;
    EXPECT_GE(r[6], 1);  // trigger source
    EXPECT_LE(r[6], 4);
    EXPECT_EQ(r[7], 0);  // FSD code
    // Trailer: settings at the time, the slot as record number, the M-R32 model byte, the names.
    EXPECT_EQ(trailerAt(r), 11400u);
    EXPECT_TRUE(std::equal(r.begin(), r.begin() + 6, r.begin() + 11400));
    EXPECT_EQ(trailerByte(r, 6), 0);    // phase
    EXPECT_EQ(trailerByte(r, 7), 10);   // gain
    EXPECT_EQ(trailerByte(r, 8), 34);   // range, pulse, width, pre/post
    EXPECT_EQ(trailerByte(r, 9), 10);   // balance
    EXPECT_EQ(trailerByte(r, 10), 3);   // TDR
    EXPECT_EQ(trailerByte(r, 14), 15);  // threshold
    EXPECT_EQ(trailerByte(r, 15), 3);   // duration
    EXPECT_EQ(trailerByte(r, 16), 4);   // record number
    EXPECT_EQ(trailerByte(r, 18), 210); // M-R32, version 2
    EXPECT_EQ(trailerText(r, 26, 24), "Feeder 7 Fault          ");
    EXPECT_EQ(trailerText(r, 51, 24), "North Yard              ");

    // Mains: three phases about 230 V rms around level 129 before the dip; current around 124.
    for (int c = 0; c < 3; ++c) {
        double sum = 0;
        double squares = 0;
        for (int g = 0; g < 80; ++g) {
            const double v = r[kHeadBytes + static_cast<std::size_t>(4 * g + c)] - 129.0;
            sum += v;
            squares += v * v;
        }
        EXPECT_NEAR(std::sqrt(squares / 80) * 388 / 128, 230, 6) << "channel " << c;
        EXPECT_NEAR(sum / 80, 0, 1.5) << "channel " << c;
    }
    double current = 0;
    for (int g = 0; g < 800; ++g)
        current += r[kHeadBytes + static_cast<std::size_t>(4 * g + 3)];
    EXPECT_NEAR(current / 800, 124, 2);

    // The TDR area, interleaved as the viewer does it, shows the launch at 25 and the fault's
    // reflection 200 units on; the right interleave is smooth, a wrong one is not.
    const int injection = trailerByte(r, 12) * 256 + trailerByte(r, 13);
    const std::vector<int> points = interleave(r, 8, injection);
    const auto peak = std::max_element(points.begin(), points.begin() + 100) - points.begin();
    EXPECT_NEAR(peak, 30, 8);
    const auto dip = std::min_element(points.begin() + 100, points.end()) - points.begin();
    EXPECT_NEAR(dip, 225 + 4, 8);
    for (int skew = 1; skew < 4; ++skew)
        EXPECT_LT(roughness(points) * 3, roughness(interleave(r, 8, injection, skew)) * 2) << skew;

    // Every fourth slot holds a short record.
    const ReceivedFile shortRecord = fetch(d, "f03");
    ASSERT_TRUE(shortRecord.complete);
    EXPECT_EQ(shortRecord.data.size(), kShortRecordBytes);
    EXPECT_EQ(trailerByte(shortRecord.data, 16), 3);
    // An ACK that comes after another command confirms nothing.
    d.ask("R");
    d.sendByte(0x06);
    EXPECT_EQ(d.unit.confirmedRecords(), std::set<int>{4});
}

TEST(SimUnitFiles, RecordingsAreReproducibleFromTheSeed)
{
    SimOptions a = disarmed();
    a.seed = 42;
    SimOptions b = a;
    b.seed = 43;
    const SimUnit first(a);
    const SimUnit again(a);
    const SimUnit other(b);
    for (int slot = 0; slot < first.storedEvents(); ++slot)
        EXPECT_EQ(first.eventRecord(slot), again.eventRecord(slot)) << slot;
    EXPECT_EQ(first.indexFile(), again.indexFile());
    EXPECT_NE(first.eventRecord(0), other.eventRecord(0));
    EXPECT_NE(first.indexFile(), other.indexFile());
}

TEST(SimUnitFiles, ManualRecordingUsesTheClockAndTheLatestSettings)
{
    UnitDriver d(disarmed());
    d.ask("T270307090503");
    d.ask("N270301,Cable 9                 ,Depot                   ,                ,");
    d.ask("\r\n\r\ng20, 4,3,2,3,042,12,30,1");
    d.run(2000);
    const ReceivedFile manual = fetch(d, "y1");
    ASSERT_TRUE(manual.complete);
    ASSERT_EQ(manual.data.size(), kLongRecordBytes);
    const Bytes& r = manual.data;
    // Taken two seconds and a little after the clock was set.
    EXPECT_EQ(std::vector<int>(r.begin(), r.begin() + 5), (std::vector<int>{27, 3, 7, 9, 5}));
    EXPECT_GE(r[5], 5);
    EXPECT_LE(r[5], 6);
    EXPECT_EQ(r[6], 0);  // manual trigger
    EXPECT_EQ(r[7], 3);  // FSD code from "g"
    EXPECT_EQ(trailerByte(r, 6), 2);
    EXPECT_EQ(trailerByte(r, 7), 12);
    EXPECT_EQ(trailerByte(r, 8), 42);
    EXPECT_EQ(trailerByte(r, 9), 30);
    EXPECT_EQ(trailerByte(r, 10), 3);
    EXPECT_EQ(trailerByte(r, 11), 1);
    EXPECT_EQ(trailerByte(r, 14), 20);
    EXPECT_EQ(trailerByte(r, 15), 4);
    EXPECT_EQ(trailerText(r, 26, 24), "Cable 9                 ");
    EXPECT_EQ(trailerText(r, 51, 24), "Depot                   ");
}

TEST(SimUnitFiles, EvenModeDigitOffersATraceThatAnotherCommandWithdraws)
{
    UnitDriver d(disarmed());
    // TDR with file transfer on: 512 samples and the trailer.
    ReceivedFile tdr = fetch(d, "\r\n\r\ng15, 3,0,4,2,035,10,10,0");
    ASSERT_TRUE(tdr.complete);
    ASSERT_EQ(tdr.data.size(), kTdrTraceBytes);
    EXPECT_EQ(tdr.data[512 + 8], 35);
    EXPECT_EQ(tdr.data[512 + 10], 2);
    EXPECT_EQ(tdr.data[512 + 6], 4);
    EXPECT_EQ(tdr.data[512 + 18], 210);
    // The launch pulse and the reflection at 150 m, long range: 1.62 m a unit from 21.
    std::vector<int> points(512);
    for (int i = 0; i < 4; ++i)
        for (int j = 1; j <= 128; ++j)
            points[static_cast<std::size_t>(4 * j - i - 1)] = tdr.data[static_cast<std::size_t>(128 * i + j - 1)];
    EXPECT_NEAR(std::min_element(points.begin() + 60, points.end()) - points.begin(), 21 + 150 / 1.62 + 4, 8);

    // TRS with file transfer on: 8192 samples, a step at the injection sample.
    ReceivedFile trs = fetch(d, "\r\n\r\ng15, 3,0,0,0,034,10,10,0");
    ASSERT_TRUE(trs.complete);
    ASSERT_EQ(trs.data.size(), kTrsTraceBytes);
    EXPECT_EQ(trs.data[8192 + 10], 0);
    const int injection = trs.data[8192 + 12] * 256 + trs.data[8192 + 13];
    ASSERT_GT(injection, 100);
    ASSERT_LT(injection, 8100);
    auto mean = [&](int from, int count) {
        double sum = 0;
        for (int n = from; n < from + count; ++n)
            sum += trs.data[static_cast<std::size_t>(n - 1)];
        return sum / count;
    };
    EXPECT_GT(mean(injection, 20) - mean(injection - 60, 50), 25);

    // Odd digit: file transfer off, nothing is offered.
    d.ask("\r\n\r\ng15, 3,0,0,3,034,10,10,0");
    d.run(500);
    EXPECT_EQ(d.ask("C", 1000), "");

    // After an even digit the program may not want the trace: "y1" withdraws the offer and runs.
    d.ask("\r\n\r\ng15, 3,0,0,2,034,10,10,0");
    EXPECT_EQ(d.unit.transferState(), YmodemSender::State::Offering);
    const ReceivedFile manual = fetch(d, "y1");
    ASSERT_TRUE(manual.complete);
    EXPECT_EQ(manual.name, "MANUAL.ACT");
    // "e" withdraws it too, and arms the unit.
    d.ask("\r\n\r\ng15, 3,0,0,2,034,10,10,0");
    EXPECT_EQ(d.ask("e"), "\r\nFinished e\r\n");
    EXPECT_TRUE(d.unit.armed());
}

TEST(SimUnitFiles, AReceiverThatLeavesWithoutClosingTheBatchLeavesTheUnitListening)
{
    UnitDriver d(disarmed());
    ReceiverOptions leaves;
    leaves.closeBatch = false;
    const ReceivedFile record = fetch(d, "f00", leaves);
    ASSERT_TRUE(record.complete);
    // At once, not after the closing block's time-outs, the next command is heard.
    EXPECT_EQ(d.ask("R"), "\r\nFinished R\r\n");
}

TEST(SimUnitFiles, AnMS32RunsItsTestAfterTheTriggerSettings)
{
    UnitDriver d(disarmed(Model::MS32));
    d.ask("T261206120000");
    d.ask("h15");
    const ReceivedFile trace = fetch(d, "d 3");
    ASSERT_TRUE(trace.complete);
    EXPECT_EQ(trace.data.size(), kTdrTraceBytes);  // in the mode it holds: 3, TDR
    EXPECT_EQ(trace.data[512 + 18], 225);          // M-S32, version 1
    // Before arming the program sends "e": the offer is withdrawn and the unit arms.
    d.ask("d 3");
    EXPECT_EQ(d.ask("e"), "\r\nFinished e\r\n");
    EXPECT_TRUE(d.unit.armed());
}

TEST(SimUnitFiles, TransferFaultsDamageTheTransferTheWayTheyAreMeantTo)
{
    auto withFaults = [](const TransferFaults& faults, int transfer = 0) {
        SimOptions options = disarmed();
        options.faults.transfer = faults;
        options.faults.faultyTransfer = transfer;
        return options;
    };
    {
        // One corrupted block: NAK, resend, the file arrives whole.
        UnitDriver d(withFaults({.corruptFromBlock = 3, .corruptTimes = 1}));
        const ReceivedFile f = fetch(d, "f00");
        EXPECT_TRUE(f.complete);
        EXPECT_EQ(f.crcErrors, 1);
        EXPECT_EQ(f.data, d.unit.eventRecord(0));
        EXPECT_EQ(d.unit.transferResends(), 1);
    }
    {
        // Corrupted every time: the receiver gives up after ten errors and cancels.
        UnitDriver d(withFaults({.corruptFromBlock = 1, .corruptTimes = 50}));
        const ReceivedFile f = fetch(d, "f00");
        EXPECT_FALSE(f.complete);
        EXPECT_TRUE(f.gaveUp);
        d.run(100);
        EXPECT_EQ(d.unit.transferState(), YmodemSender::State::Failed);
        EXPECT_EQ(d.ask("R"), "\r\nFinished R\r\n");  // back to commands
    }
    {
        // Dropped bytes: the block stops short, the receiver's character time-out NAKs it.
        UnitDriver d(withFaults({.dropFromBlock = 2, .dropTimes = 1}));
        const ReceivedFile f = fetch(d, "f00");
        EXPECT_TRUE(f.complete);
        EXPECT_EQ(f.data, d.unit.eventRecord(0));
    }
    {
        // A short stall mid-block is ridden out; the faults hit only the chosen transfer.
        UnitDriver d(withFaults({.stallAfterBytes = 2000, .stallMs = 600}, 2));
        const ReceivedFile first = fetch(d, "f01");
        EXPECT_TRUE(first.complete);
        EXPECT_LT(first.endedMs - first.startedMs, 500);
        const ReceivedFile second = fetch(d, "f01");
        EXPECT_TRUE(second.complete);
        EXPECT_GE(second.endedMs - second.startedMs, 600);
    }
    {
        // A stall for good: the receiver runs out of patience; a sender that never starts, too.
        UnitDriver d(withFaults({.stallAfterBytes = 3000, .stallMs = -1}));
        EXPECT_FALSE(fetch(d, "f00", {.limitMs = 30'000}).complete);
        UnitDriver n(withFaults({.stallAfterBytes = 0, .stallMs = -1}));
        const ReceivedFile never = fetch(n, "f00", {.limitMs = 30'000});
        EXPECT_FALSE(never.complete);
        EXPECT_TRUE(never.name.empty());
    }
    {
        // An abort: CAN CAN instead of block 3.
        UnitDriver d(withFaults({.abortAtBlock = 3}));
        const ReceivedFile f = fetch(d, "f00");
        EXPECT_TRUE(f.canceled);
        EXPECT_EQ(f.data.size(), 2u * 1024);
    }
    {
        // A disconnect: the line goes away after 5000 bytes and nothing more arrives.
        UnitDriver d(withFaults({.disconnectAfterBytes = 5000}));
        const ReceivedFile f = fetch(d, "f00", {.limitMs = 15'000});
        EXPECT_FALSE(f.complete);
        EXPECT_TRUE(d.unit.lineLost(d.now));
        EXPECT_EQ(d.ask("R"), "");
        d.unit.reconnect();
        EXPECT_EQ(d.ask("R"), "\r\nFinished R\r\n");
    }
}

TEST(SimUnitFiles, PacedOutputLeavesAtTheLineRate)
{
    SimOptions options = disarmed();
    options.paced = true;
    options.baud = 115200;
    UnitDriver d(options);
    const ReceivedFile f = fetch(d, "f00");
    ASSERT_TRUE(f.complete);
    // 11520 bytes in 1024- and 128-byte blocks, plus headers, at 10 bits a byte: just over a second.
    const std::int64_t took = f.endedMs - f.startedMs;
    EXPECT_GE(took, 1000);
    EXPECT_LE(took, 1100);

    d.unit.setLineSpeed(9600);
    d.take();
    d.send("V");
    d.run(40);  // the 55 characters of the answer take 57 ms at 9600 baud
    const std::size_t early = d.take().size();
    EXPECT_GE(early, 37u);
    EXPECT_LE(early, 39u);
    d.run(30);
    EXPECT_EQ(early + d.take().size(), 55u);
}
