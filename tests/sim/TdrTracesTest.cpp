// TDR traces as the viewer shows them: the test trace and the pulse blocks of an event,
// interleaved by the viewer's rules, put the launch, the fault and the cable's far end where the
// viewer's cursors read the distances the unit was given.
#include "TraceReading.h"

#include "sim/SimUnit.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>

using namespace mr3x::sim;
using namespace mr3x::sim::test;

namespace {

struct Range {
    const char* name;
    int hardware;  // range bit and pulse on, width 1
    double zero;   // the plot's zero point
    double metresPerUnit;
};
const Range kShort{"400 m", 34, 25, 0.81};
const Range kLong{"800 m", 35, 21, 1.62};
// How closely the edge of the far end's echo through a fault can be read: a quarter of the pulse
// comes back, faint and smeared, and a ruler laid along a few noisy points may tilt.
constexpr double kFaintEdgeUnits = 4.0;

SimOptions onCable(double faultM, double lengthM)
{
    SimOptions options;
    options.armed = false;
    options.faultDistanceM = faultM;
    options.cableLengthM = lengthM;
    return options;
}

/// The trace the unit offers after a hardware command in TDR mode with file transfer on.
Bytes testTrace(const SimOptions& options, int hardware, int gain = 10)
{
    SimUnit unit(options);
    unit.receive("g15, 3,0,0,2,0" + std::to_string(hardware) + (gain < 10 ? ",0" : ",") + std::to_string(gain) + ",10,0", 0);
    EXPECT_EQ(unit.lastOfferName(), "TEST.TDR");
    return unit.lastOfferBytes();
}

double unitsTo(const Range& range, double metres)
{
    return range.zero + metres / range.metresPerUnit;
}

/// How much a plot zig-zags over the launch, where blocks put in the wrong places show most.
double roughness(const Plot& points)
{
    double sum = 0;
    for (std::size_t i = 16; i < 64; ++i)
        sum += std::abs(points[i] - points[i - 1]);
    return sum;
}

} // namespace

TEST(TdrTraces, TheFaultIsReadWithinAPlotUnitOnBothRangesOnTheTestTraceAndOnAnEventsBlocks)
{
    // The test trace: launch, fault and far end where the viewer's cursors read them.
    struct Case {
        Range range;
        double faultM;
        double lengthM;
    };
    for (const Case& c : {Case{kShort, 150, 320}, Case{kShort, 37, 360}, Case{kLong, 300, 700}}) {
        SCOPED_TRACE(std::string(c.range.name) + ", fault at " + std::to_string(c.faultM));
        const Bytes trace = testTrace(onCable(c.faultM, c.lengthM), c.range.hardware);
        ASSERT_EQ(trace.size(), kTdrTraceBytes);
        const Plot plot = interleaveTest(trace);
        const auto launch = leadingEdge(plot, 12, +1);
        ASSERT_TRUE(launch);
        EXPECT_NEAR(launch->at, c.range.zero, 1.0);
        // The fault: a low-resistance fault sends the pulse back inverted.
        const double faultAt = unitsTo(c.range, c.faultM);
        const auto fault = leadingEdge(plot, static_cast<int>((launch->at + faultAt) / 2), -1);
        ASSERT_TRUE(fault);
        EXPECT_NEAR(fault->at, faultAt, 1.0);
        // The open far end sends back, upright, what got past the fault.
        const double farAt = unitsTo(c.range, c.lengthM);
        const auto farEnd = leadingEdge(plot, static_cast<int>((fault->at + farAt) / 2), +1);
        ASSERT_TRUE(farEnd);
        EXPECT_NEAR(farEnd->at, farAt, kFaintEdgeUnits);
        EXPECT_LT(farEnd->height, fault->height);
    }

    // An event on a cable with the fault 200 plot units out and the far end 420: the blocks from
    // the injection's block R (the injection is 128 R - 1, four blocks before it and after) show
    // the fault; the four before it the whole cable, nothing back until the far end.
    for (const Range& range : {kShort, kLong}) {
        SimOptions options = onCable(range.metresPerUnit * 200, range.metresPerUnit * 420);
        options.settings.hardware = range.hardware;
        const auto at = [&range](double units) { return static_cast<int>(range.zero + units); };
        int checked = 0;
        for (const std::uint64_t seed : {1, 2, 3}) {
            options.seed = seed;
            const SimUnit unit(options);
            for (int slot = 0; slot < unit.storedEvents(); ++slot) {
                const Bytes& record = unit.eventRecord(slot);
                if (record.size() != kLongRecordBytes)
                    continue;
                SCOPED_TRACE(std::string(range.name) + ", seed " + std::to_string(seed) + ", slot " + std::to_string(slot));
                ++checked;
                const int injection = reportedInjection(record);
                ASSERT_EQ((injection + 1) % 128, 0);
                const int arcBlock = (injection + 1) / 128;
                ASSERT_TRUE(arcBlock >= 4 && arcBlock <= 60) << arcBlock;
                const Plot faulted = interleaveEvent(record, arcBlock);
                const auto fault = leadingEdge(faulted, at(100), -1);
                const auto farThroughFault = leadingEdge(faulted, at(310), +1);
                ASSERT_TRUE(fault && farThroughFault);
                EXPECT_NEAR(fault->at, range.zero + 200, 1.0);
                const Plot healthy = interleaveEvent(record, arcBlock - 4);
                EXPECT_FALSE(leadingEdge(healthy, at(40), -1, at(410)));
                const auto farEnd = leadingEdge(healthy, at(310), +1);
                ASSERT_TRUE(farEnd);
                EXPECT_NEAR(farEnd->at, range.zero + 420, 1.0);
                EXPECT_GT(farEnd->height, 2 * farThroughFault->height);
                // The blocks fit together only in the places the injection gives them.
                Bytes misplaced = record;
                const std::size_t trailer = trailerAt(record);
                misplaced[trailer + 12] = static_cast<std::uint8_t>((injection + 128) >> 8);
                misplaced[trailer + 13] = static_cast<std::uint8_t>(injection + 128);
                EXPECT_LT(roughness(faulted) * 1.5, roughness(interleaveEvent(misplaced, arcBlock)));
            }
        }
        EXPECT_EQ(checked, 3 * 9);  // of each unit's twelve events, every fourth is short
    }
}

TEST(TdrTraces, EchoesWeakenWithTheDistanceAndFollowTheGain)
{
    // The further the fault, the weaker and the more smeared its echo.
    const auto near = leadingEdge(interleaveTest(testTrace(onCable(80, 390), kShort.hardware)), 60, -1);
    const auto far = leadingEdge(interleaveTest(testTrace(onCable(300, 390), kShort.hardware)), 200, -1);
    ASSERT_TRUE(near && far);
    EXPECT_LT(far->height, near->height * 0.9);
    EXPECT_GT(far->rise, near->rise * 1.5);

    // Half the gain, half the echo.
    const auto halfGain = leadingEdge(interleaveTest(testTrace(onCable(80, 390), kShort.hardware, 5)), 60, -1);
    ASSERT_TRUE(halfGain);
    EXPECT_NEAR(halfGain->height / near->height, 0.5, 0.1);
}
