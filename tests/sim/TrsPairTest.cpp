// TRS traces: a Master and a Slave at the two ends of one cable record the same fault event; the
// Master reads the fault's distance d from its launch, the Slave L - d from the pulse's arrival,
// each from the launch just after the injection sample it reports, in both shots. A TEST in TRS
// mode shows the same cable from the unit's own end.
#include "TraceReading.h"

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

/// The trace a TEST in TRS mode offers, with the pulse as `hardware` says.
Bytes trsTestTrace(const Pair& pair, TrsRole role, int hardware)
{
    SimUnit unit(pairEnd(pair, role));
    unit.receive("g15, 3,0,0,0,0" + std::to_string(hardware) + "," + std::to_string(pair.gain) + ",10,0", 0);
    EXPECT_EQ(unit.lastOfferName(), "TEST_TRS.TDR");
    EXPECT_EQ(unit.lastOfferBytes().size(), kTrsTraceBytes);
    Bytes trace = unit.lastOfferBytes();
    trace.resize(kTrsTraceBytes, 128); // read safely even when it came short
    return trace;
}

/// What one end shows: its 8192 samples, the injection it reports, and how many samples after its
/// launch (or the arrival) the fault's echo comes back, inverted.
struct View {
    const char* what;
    Plot plot;
    int injection;
    double echoSamples;
};

/// An event's view: its TRS trace area, sample n (from 1) at index n - 1.
View eventView(const char* what, const Bytes& record, double echoSamples)
{
    const auto area = record.begin() + kHeadBytes + kSampleBytes;
    return {what, Plot(area, area + kTraceAreaBytes), reportedInjection(record), echoSamples};
}

View testView(const char* what, const Bytes& trace, double echoSamples)
{
    return {what, Plot(trace.begin(), trace.begin() + 8192), trace[8192 + 12] * 256 + trace[8192 + 13], echoSamples};
}

/// The injection early enough for the locator to find the second shot too; in both shots the
/// launch (or the arrival) just after the injection, and the echo where the distance puts it.
void expectShots(const View& view)
{
    SCOPED_TRACE(view.what);
    EXPECT_GE(view.injection, 1);
    EXPECT_LE(view.injection, kLastLocatable);
    const int first = view.injection + kLaunchAfterInjection;
    for (const int shot : {first, first + kSecondShot}) {
        SCOPED_TRACE("shot at " + std::to_string(shot));
        const auto launch = leadingEdge(view.plot, shot - 20, +1);
        const auto echo = leadingEdge(view.plot, static_cast<int>(shot + view.echoSamples / 2), -1);
        ASSERT_TRUE(launch && echo);
        EXPECT_NEAR(launch->at, shot, 1.0);
        EXPECT_NEAR(echo->at, shot + view.echoSamples, 1.0);
    }
}

} // namespace

TEST(TrsPair, BothEndsArmForTheirRoleHoldTheSameEventAndReadDAndLMinusDFromTheInjectionsTheyReportAndAUnitAloneHoldsNone)
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

        // Each role arms the unit for TRS (the file transfer bit kept from TDR mode 3), the pulse
        // on at the Master only.
        EXPECT_EQ(std::tuple(master.settings().mode, slave.settings().mode), std::tuple(1, 1));
        EXPECT_TRUE(master.settings().pulseOn());
        EXPECT_FALSE(slave.settings().pulseOn());

        // One event: the same date and time in the head and the trailer, triggered by TRS, in a
        // TRS mode.
        EXPECT_TRUE(std::equal(m.begin(), m.begin() + 6, s.begin()));
        EXPECT_TRUE(std::equal(m.begin() + 11400, m.begin() + 11406, s.begin() + 11400));
        for (const Bytes* record : {&m, &s}) {
            EXPECT_EQ((*record)[6], kTrsSource);
            EXPECT_LT((*record)[trailerAt(*record) + 10], 2);
        }

        // The Master launches just after its injection and its pulse comes back from the fault d
        // away; the Slave sees it arrive at its injection and, L - d on, the echo that its own end
        // sent back to the fault. A TEST shows the same from each end (the Slave's with its pulse
        // on), each on its own trigger.
        const double d = pair.faultM / pair.metresPerSample;
        const double lMinusD = (pair.lengthM - pair.faultM) / pair.metresPerSample;
        const int pulseOn = pair.hardware;
        for (const View& view : {eventView("Master's event", m, d), eventView("Slave's event", s, lMinusD),
                                 testView("Master's test", trsTestTrace(pair, TrsRole::Master, pulseOn), d),
                                 testView("Slave's test", trsTestTrace(pair, TrsRole::Slave, pulseOn), lMinusD)})
            expectShots(view);

        // The Slave with its pulse off launches nothing: a quiet line.
        const Bytes quiet = trsTestTrace(pair, TrsRole::Slave, pulseOn & ~2);
        EXPECT_TRUE(std::all_of(quiet.begin(), quiet.begin() + 8192, [](std::uint8_t v) { return std::abs(v - 128) <= 6; }));
    }

    // A unit alone holds no TRS event.
    const SimUnit alone(pairEnd(pairs.front(), TrsRole::None));
    for (int slot = 0; slot < alone.storedEvents(); ++slot)
        EXPECT_NE(alone.eventRecord(slot)[6], kTrsSource) << slot;
}
