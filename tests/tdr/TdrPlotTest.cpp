// The order the sweeps are interleaved in, and the points each trace is drawn through.
#include "tdr/TdrPlot.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <vector>

using namespace mr3x::tdr;

namespace {

constexpr std::uint8_t pastTheArea = 0xEE;

/// An event's trace area followed by bytes that must never be read: each sample holds its pulse
/// block's number, or with `sampleNumbers` its place within the block.
struct EventArea {
    std::vector<std::uint8_t> bytes = std::vector<std::uint8_t>(8192 + 1024, pastTheArea);

    explicit EventArea(bool sampleNumbers = false)
    {
        for (std::size_t i = 0; i < 8192; ++i)
            bytes[i] = static_cast<std::uint8_t>(sampleNumbers ? i % 128 : i / 128);
    }
    std::span<const std::uint8_t, 8192> area() const { return std::span(bytes).first<8192>(); }
};

std::size_t presentCount(const Interleaved& points)
{
    return static_cast<std::size_t>(std::count(points.present.begin(), points.present.end(), true));
}

} // namespace

TEST(TdrPlot, AManualTestsLastBlockComesFirstInEachGroupOfFour)
{
    std::array<std::uint8_t, 512> samples{};
    for (std::size_t i = 0; i < 512; ++i)
        samples[i] = static_cast<std::uint8_t>((i / 128) * 60 + i % 128);  // block 3 starts at 180
    const std::array<std::uint8_t, 512> points = interleaveManual(samples);

    // Block 3 gives points 0, 4, 8, ...; block 0 gives points 3, 7, 11, ...
    for (const auto& [point, sample] : {std::pair{0, 180}, {4, 181}, {8, 182}, {1, 120}, {2, 60}, {3, 0}, {7, 1}, {511, 127},
                                        {508, (180 + 127) % 256}})
        EXPECT_EQ(points[std::size_t(point)], sample) << point;

    // Nothing lost, nothing doubled.
    std::array<std::uint8_t, 512> sortedIn = samples, sortedOut = points;
    std::sort(sortedIn.begin(), sortedIn.end());
    std::sort(sortedOut.begin(), sortedOut.end());
    EXPECT_EQ(sortedIn, sortedOut);
}

TEST(TdrPlot, TheInjectionPhaseFollowsTheInjectionsBlockRoundedHalfToEven)
{
    // R = (injection + 1) / 128: 1.5 gives 2 and 2.5 gives 2, not 3. Below zero the phase of the
    // same sweep, still 1..4.
    for (const auto& [injection, phase] : {std::pair{0, 4}, {127, 3}, {255, 2}, {383, 1}, {511, 4}, {191, 2}, {319, 2},
                                           {32767, 4}, {-129, 1}})
        EXPECT_EQ(injectionPhase(injection), phase) << injection;
}

TEST(TdrPlot, EachInjectionPhaseSendsTheFourPulseBlocksToTheirOwnPointsAndBlocksPastTheLastAreAbsentAndNeverRead)
{
    const EventArea blocks;
    // Points 0..3 of the first group, for pulse 10: which block each comes from. A block's
    // place follows its own number (phase + k, k = 10..13), not its place among the four, so a
    // pulse that is no multiple of four lands where the unit sampled it.
    const std::array<std::array<int, 4>, 5> expected{{
        {},                  // (phase 0 unused)
        {10, 13, 12, 11},    // phase 1
        {13, 12, 11, 10},    // phase 2
        {12, 11, 10, 13},    // phase 3
        {11, 10, 13, 12},    // phase 4
    }};
    for (int phase = 1; phase <= 4; ++phase) {
        const Interleaved points = interleaveEvent(blocks.area(), 10, phase);
        EXPECT_EQ(presentCount(points), 512u) << phase;
        for (std::size_t i = 0; i < 4; ++i) {
            EXPECT_EQ(points.level[i], expected[phase][i]) << phase << " " << i;
            EXPECT_EQ(points.level[508 + i], expected[phase][i]) << phase << " " << i;  // the last group alike
        }
    }

    // Within a block the samples keep their order: group j holds sample j of every block.
    const EventArea samples(true);
    const Interleaved ordered = interleaveEvent(samples.area(), 0, 2);
    for (std::size_t group = 0; group < 128; group += 31)
        for (std::size_t i = 0; i < 4; ++i)
            EXPECT_EQ(ordered.level[4 * group + i], group);

    // Pulse blocks past the last are absent and never read.
    for (const int pulse : {61, 62, 63}) {
        const Interleaved points = interleaveEvent(blocks.area(), pulse, 4);
        EXPECT_EQ(presentCount(points), static_cast<std::size_t>(128 * (64 - pulse))) << pulse;
        for (std::size_t i = 0; i < 512; ++i) {
            const int level = points.level[i];
            EXPECT_TRUE(points.present[i] ? level >= pulse && level <= 63 : level == 0) << pulse << " " << i << ": " << level;
        }
    }
    // At pulse 63 only block 63 is there, at phase 4 on points 0, 4, 8, ...
    const Interleaved last = interleaveEvent(blocks.area(), 63, 4);
    EXPECT_TRUE(last.present[0]);
    EXPECT_FALSE(last.present[1] || last.present[2] || last.present[3]);
    EXPECT_EQ(presentCount(interleaveEvent(blocks.area(), 64, 1)), 0u);
    EXPECT_EQ(presentCount(interleaveEvent(blocks.area(), -2, 1)), 256u);  // blocks -2..1: only 0 and 1
}

TEST(TdrPlot, AnEventSweepDrawsOneBlockAtEveryFourthPointAfterItsLeadInAndInterlacedJoinsThePointsThatArePresent)
{
    const EventArea samples(true);
    const Polyline line = eventSweep(samples.area(), 2, 25, 3);
    ASSERT_EQ(line.size(), 2u + 1u + (128u - 6u + 1u));
    // The lead-in, then the first plotted sample (j = 25 \ 4 = 6) at Plotstart and at 4j.
    EXPECT_EQ(Polyline(line.begin(), line.begin() + 5), (Polyline{{0, 131}, {25, 131}, {25, 5 + 3}, {24, 5 + 3}, {28, 6 + 3}}));
    EXPECT_EQ(line.back(), (PlotPoint{512, 127 + 3}));

    const EventArea blocks;
    EXPECT_EQ(eventSweep(blocks.area(), 63, 21, 0).back(), (PlotPoint{512, 63}));
    EXPECT_TRUE(eventSweep(blocks.area(), 64, 25, 0).empty());
    EXPECT_TRUE(eventSweep(blocks.area(), -1, 25, 0).empty());
    EXPECT_EQ(eventSweep(blocks.area(), 0, 0, 0)[3], (PlotPoint{4, 0}));  // j starts at 1, never at 0

    // Interlaced, the points that are present are joined.
    const Polyline full = eventInterlaced(interleaveEvent(blocks.area(), 0, 4), 25, -2);
    ASSERT_EQ(full.size(), 2u + (512u - 25u + 1u));
    // Point 24 opens its group: block 3 at phase 4.
    EXPECT_EQ(Polyline(full.begin(), full.begin() + 3), (Polyline{{0, 126}, {25, 126}, {25, 3 - 2}}));
    EXPECT_EQ(full.back(), (PlotPoint{512, 0 - 2}));

    const Polyline oneSweep = eventInterlaced(interleaveEvent(blocks.area(), 63, 4), 21, 0);
    ASSERT_EQ(oneSweep.size(), 2u + 123u);  // x = 21, 25, ..., 509
    EXPECT_EQ(oneSweep[2], (PlotPoint{21, 63}));
    EXPECT_EQ(oneSweep.back(), (PlotPoint{509, 63}));

    EXPECT_TRUE(eventInterlaced(interleaveEvent(blocks.area(), 64, 4), 25, 0).empty());
}

TEST(TdrPlot, AManualTraceStartsAtMidHeightAndSkipsThreeInFourWithoutInterlace)
{
    std::array<std::uint8_t, 512> points{};
    std::iota(points.begin(), points.end(), std::uint8_t{0});  // point i holds i mod 256

    // The 400 m range starts at 25, the 800 m one at 21 (its scale of 2: EventLoadTest).
    const Polyline stepped = manualTrace(points, rangeStart(false).plotStart, 10, false);
    ASSERT_EQ(stepped.size(), 2u + 122u);  // x = 25, 29, ..., 509
    // The lead-in ignores the alignment.
    EXPECT_EQ(Polyline(stepped.begin(), stepped.begin() + 4), (Polyline{{0, 128}, {25, 128}, {25, 24 + 10}, {29, 28 + 10}}));
    EXPECT_EQ(stepped.back(), (PlotPoint{509, (508 % 256) + 10}));

    const Polyline full = manualTrace(points, rangeStart(true).plotStart, -5, true);
    ASSERT_EQ(full.size(), 2u + 492u);
    EXPECT_EQ(full[2], (PlotPoint{21, 20 - 5}));
    EXPECT_EQ(full.back(), (PlotPoint{512, 255 - 5}));

    // A start left of the plot begins on the first step inside it.
    EXPECT_EQ(manualTrace(points, -6, 0, false)[2], (PlotPoint{2, 1}));
}

TEST(TdrPlot, TrsLinesStayInsideTheTraceWhateverTheShift)
{
    std::vector<std::uint8_t> bytes(8192 + 64, pastTheArea);
    for (std::size_t i = 0; i < 8192; ++i)
        bytes[i] = static_cast<std::uint8_t>(i % 200);
    const std::span<const std::uint8_t, 8192> samples = std::span(bytes).first<8192>();

    // Locked: the window 872..1128, the Slave shifted by 10.
    const Polyline slave = trsSlaveLine(samples, 872, 256, 10, 2);
    ASSERT_EQ(slave.size(), 257u);
    EXPECT_EQ(slave.front(), (PlotPoint{872, (881 % 200) + 2}));  // sample 882
    EXPECT_EQ(slave.back(), (PlotPoint{1128, (1137 % 200) + 2}));

    // Shifted past either end, those points are left out.
    const Polyline late = trsSlaveLine(samples, 8000, 256, 100, 0);
    EXPECT_EQ(late.back().x, 8091);
    EXPECT_EQ(late.back().y, 8190 % 200);
    const Polyline early = trsSlaveLine(samples, 1, 256, -10, 0);
    EXPECT_EQ(early.front(), (PlotPoint{11, 0}));
    EXPECT_TRUE(trsSlaveLine(samples, 1, 8192, 9000, 0).empty());

    const Polyline master = trsMasterLine(samples, 8000, 256, -1);
    EXPECT_EQ(master.front(), (PlotPoint{8000, (7999 % 200) - 1}));
    EXPECT_EQ(master.back().x, 8191);
    EXPECT_EQ(trsMasterLine(samples, 1, 8192, 0).size(), 8191u);

    const Polyline test = trsTestLine(samples, 4);
    ASSERT_EQ(test.size(), 8191u);
    EXPECT_EQ(test.front(), (PlotPoint{1, 4}));
    EXPECT_EQ(test.back(), (PlotPoint{8191, (8190 % 200) + 4}));
    for (const Polyline* line : {&slave, &late, &early, &master, &test})
        for (const PlotPoint& p : *line)
            EXPECT_LT(p.y, 200 + 4);  // never a byte from past the trace
}
