// TRS traces: a Master and a Slave at the two ends of one cable record the same fault event; the
// Master reads the fault's distance d from its launch, the Slave L - d from the pulse's arrival,
// each from the launch just after the injection sample it reports, in both shots.
#include "TraceReading.h"

#include "sim/Recorder.h"
#include "sim/SimUnit.h"
#include "sim/TracePictures.h"

#include <gtest/gtest.h>

#include <string>

using namespace mr3x::sim;
using namespace mr3x::sim::test;

namespace {

constexpr int kTrsSource = 5;
constexpr int kSecondShot = 4096;
// The locator's "Locate #2" finds the second shot only when the first lies at most here.
constexpr int kLastLocatable = 3968;

struct Pair {
    std::uint64_t seed;
    double faultM;
    double lengthM;
    int hardware;  // range bit and pulse bit as armed
    double metresPerSample;
    int gain = 10;  // turned up on a longer cable, whose echoes come back faint
};

SimOptions pairEnd(const Pair& pair, TrsRole role)
{
    SimOptions options;
    options.armed = false;
    options.seed = pair.seed;
    options.faultDistanceM = pair.faultM;
    options.cableLengthM = pair.lengthM;
    options.trsRole = role;
    options.settings.hardware = pair.hardware;
    options.settings.gain = pair.gain;
    return options;
}

const Bytes& newestEvent(const SimUnit& unit)
{
    return unit.eventRecord(unit.storedEvents() - 1);
}

std::size_t trailerAt(const Bytes& record)
{
    return record.size() - kSpareBytes - kTrailerBytes;
}

/// The pulse's leading edge found in the quiet stretch after `from`.
double edgeAfter(const Plot& plot, double from, int polarity)
{
    const auto edge = leadingEdge(plot, static_cast<int>(from), polarity);
    EXPECT_TRUE(edge) << "nothing after " << from;
    return edge ? edge->at : -1;
}

/// The two shots of a trace: the first pulse at `first` and the echo `echoSamples` after it, of
/// the given polarity, and the same 4096 samples later.
/// The shots the unit fires after the injection it reports: the launch (or the arrival), then
/// the echo `echoSamples` later, in both halves of the trace.
void expectShots(const Plot& plot, int injection, double echoSamples, int echoPolarity)
{
    const int first = injection + kLaunchAfterInjection;
    for (const int shot : {first, first + kSecondShot}) {
        SCOPED_TRACE("shot at " + std::to_string(shot));
        EXPECT_NEAR(edgeAfter(plot, shot - 20, +1), shot, 1.0);
        EXPECT_NEAR(edgeAfter(plot, shot + echoSamples / 2, echoPolarity), shot + echoSamples, 1.0);
    }
}

Bytes trsTestTrace(const SimOptions& options, int hardware)
{
    SimUnit unit(options);
    unit.receive("g15, 3,0,0,0,0" + std::to_string(hardware) + ",10,10,0", 0);
    EXPECT_EQ(unit.lastOfferName(), "TEST_TRS.TDR");
    return unit.lastOfferBytes();
}

} // namespace

TEST(TrsPair, BothEndsHoldTheSameEventAndReadDAndLMinusDFromTheInjectionsTheyReport)
{
    const std::vector<Pair> pairs{{1, 150, 320, 34, 3.24}, {7, 420, 600, 35, 6.48, 20}, {3, 500, 900, 34, 3.24, 20}};
    for (const Pair& pair : pairs) {
        SCOPED_TRACE("seed " + std::to_string(pair.seed) + ", fault at " + std::to_string(pair.faultM));
        const SimUnit master(pairEnd(pair, TrsRole::Master));
        const SimUnit slave(pairEnd(pair, TrsRole::Slave));
        const Bytes& m = newestEvent(master);
        const Bytes& s = newestEvent(slave);
        ASSERT_EQ(m.size(), kLongRecordBytes);
        ASSERT_EQ(s.size(), kLongRecordBytes);

        // One event: the same date and time in the head and the trailer, triggered by TRS, in a
        // TRS mode.
        EXPECT_TRUE(std::equal(m.begin(), m.begin() + 6, s.begin()));
        EXPECT_TRUE(std::equal(m.begin() + 11400, m.begin() + 11406, s.begin() + 11400));
        for (const Bytes* record : {&m, &s}) {
            EXPECT_EQ((*record)[6], kTrsSource);
            EXPECT_LT((*record)[trailerAt(*record) + 10], 2);
        }

        // Each end's own trigger, early enough for the locator to find the second shot too.
        const int masterInjection = reportedInjection(m);
        const int slaveInjection = reportedInjection(s);
        for (const int injection : {masterInjection, slaveInjection}) {
            EXPECT_GE(injection, 1);
            EXPECT_LE(injection, kLastLocatable);
        }

        // The Master launches just after its injection and its pulse comes back, inverted, from the
        // fault d away; the Slave sees it arrive at its injection and, L - d on, the echo that
        // its own end sent back to the fault.
        {
            SCOPED_TRACE("Master");
            expectShots(trsArea(m), masterInjection, pair.faultM / pair.metresPerSample, -1);
        }
        {
            SCOPED_TRACE("Slave");
            expectShots(trsArea(s), slaveInjection, (pair.lengthM - pair.faultM) / pair.metresPerSample, -1);
        }
    }
}

TEST(TrsPair, ARoleArmsTheUnitForItsEndAndLeavesItsEarlierEventsItsOwn)
{
    const Pair pair{5, 150, 320, 34, 3.24};
    const SimUnit master(pairEnd(pair, TrsRole::Master));
    const SimUnit slave(pairEnd(pair, TrsRole::Slave));
    // Armed for TRS (the file transfer bit kept from TDR mode 3), the pulse on at the Master only.
    EXPECT_EQ(master.settings().mode, 1);
    EXPECT_EQ(slave.settings().mode, 1);
    EXPECT_TRUE(master.settings().pulseOn());
    EXPECT_FALSE(slave.settings().pulseOn());

    for (const SimUnit* unit : {&master, &slave}) {
        // The pair's event is the newest; the earlier ones were taken in TDR mode, on the unit's
        // own triggers.
        const Bytes index = unit->indexFile();
        const int newest = unit->storedEvents() - 1;
        auto stamp = [&index](int slot) {
            const auto* r = &index[static_cast<std::size_t>(slot) * kIndexRecordBytes + 2];
            return DateTime{2000 + r[0], r[1], r[2], r[3], r[4], r[5]}.toSeconds();
        };
        for (int slot = 0; slot < newest; ++slot) {
            EXPECT_LT(stamp(slot), stamp(newest)) << slot;
            const Bytes& record = unit->eventRecord(slot);
            EXPECT_NE(record[6], kTrsSource) << slot;
            EXPECT_EQ(record[trailerAt(record) + 10], 3) << slot;
        }
    }
    EXPECT_NE(master.eventRecord(0), slave.eventRecord(0));

    // The same seed and role give the same event; a unit alone holds no TRS event.
    EXPECT_EQ(newestEvent(SimUnit(pairEnd(pair, TrsRole::Master))), newestEvent(master));
    const SimUnit alone(pairEnd(pair, TrsRole::None));
    for (int slot = 0; slot < alone.storedEvents(); ++slot)
        EXPECT_NE(alone.eventRecord(slot)[6], kTrsSource) << slot;
}

TEST(TrsPair, ATestInTrsModeShowsTheSameCableFromTheUnitsOwnEnd)
{
    const Pair pair{1, 150, 320, 34, 3.24};
    auto injectionOf = [](const Bytes& trace) { return trace[8192 + 12] * 256 + trace[8192 + 13]; };
    auto samplesOf = [](const Bytes& trace) { return Plot(trace.begin(), trace.begin() + 8192); };

    // The Master's pulse comes back from the fault d away.
    const Bytes fromMaster = trsTestTrace(pairEnd(pair, TrsRole::Master), 34);
    ASSERT_EQ(fromMaster.size(), kTrsTraceBytes);
    {
        SCOPED_TRACE("Master");
        expectShots(samplesOf(fromMaster), injectionOf(fromMaster), pair.faultM / pair.metresPerSample, -1);
    }

    // The Slave with its pulse off launches nothing: a quiet line. With its pulse on it sees the
    // fault L - d away.
    const Bytes quiet = trsTestTrace(pairEnd(pair, TrsRole::Slave), 32);
    EXPECT_TRUE(std::all_of(quiet.begin(), quiet.begin() + 8192, [](std::uint8_t v) { return std::abs(v - 128) <= 6; }));
    const Bytes fromSlave = trsTestTrace(pairEnd(pair, TrsRole::Slave), 34);
    {
        SCOPED_TRACE("Slave");
        expectShots(samplesOf(fromSlave), injectionOf(fromSlave), (pair.lengthM - pair.faultM) / pair.metresPerSample,
                    -1);
    }
}
