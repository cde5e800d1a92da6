// Events and traces as CSV files: read back here and turned into the bytes and distances they
// came from.
#include "export/EventCsv.h"
#include "export/ExportedText.h"
#include "export/TraceCsv.h"
#include "tdr/Distance.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace mr3x;
using namespace mr3x::exports;
using namespace mr3x::exports::test;

namespace {

std::vector<std::string> lines(const std::string& text)
{
    const std::optional<std::vector<std::string>> out = crlfLines(text);
    EXPECT_TRUE(out) << "a line not ended by CR LF";
    return out.value_or(std::vector<std::string>{});
}

double number(const std::string& text)
{
    return plainNumber(text).value_or(NAN);
}

/// Every byte value on every channel somewhere, the full scale "4000A", pre/post "5/3".
events::EventRecord richEvent()
{
    events::EventRecord r = datedRecord(1, 2);
    for (int g = 0; g < 800; ++g)
        for (int c = 0; c < 4; ++c)
            events::test::setSample(r, g, c, std::uint8_t((g * 3 + c * 71) % 256));
    return r;
}

} // namespace

TEST(EventCsv, EveryValueReadsBackAsTheByteItCameFromAtItsTime)
{
    const events::EventRecord r = richEvent();
    const std::vector<std::string> rows = lines(eventCsv(r, {}));
    ASSERT_EQ(rows.size(), 801u);
    EXPECT_EQ(rows[0], "time (ms),Vr (V),Vy (V),Vb (V),I (A)");
    const double voltsPerLevel = 388.0 / 128, ampsPerLevel = 4000.0 / 128;
    for (int g = 0; g < 800; ++g) {
        const std::vector<std::string> row = cells(rows[std::size_t(g) + 1]);
        ASSERT_EQ(row.size(), 5u) << rows[std::size_t(g) + 1];
        EXPECT_EQ(number(row[0]), g * 0.25);
        for (int c = 0; c < 4; ++c) {
            const double level = c == 3 ? number(row[4]) / ampsPerLevel + 124 : number(row[std::size_t(c) + 1]) / voltsPerLevel + 129;
            EXPECT_EQ(level, r.sample(g, c)) << "group " << g << " channel " << c << ": " << row[std::size_t(c) + 1];
        }
    }
    // Plain decimals a spreadsheet takes: no exponent, no "-0".
    EXPECT_EQ(rows[1], "0,-391.03125,-175.8125,39.40625,2781.25");
}

TEST(EventCsv, TheParameterBlockComesOnlyWhenAskedForAndTimesFollowTheLineFrequency)
{
    const events::EventRecord r = richEvent();
    const std::vector<std::string> plain = lines(eventCsv(r, {60, false}));
    ASSERT_EQ(plain.size(), 801u);
    EXPECT_EQ(cells(plain[2])[0], "0.2083");   // 1 / 4800 s
    EXPECT_EQ(cells(plain[25])[0], "5");       // 24 groups

    const std::vector<std::string> withBlock = lines(eventCsv(r, {50, true}));
    const auto header = std::find(withBlock.begin(), withBlock.end(), plain[0]);
    ASSERT_EQ(withBlock.end() - header, 801);
    const std::vector<std::string> block(withBlock.begin(), header);
    for (const std::string& line : block)
        EXPECT_EQ(line.rfind("# ", 0), 0u) << line;
    for (const char* expected : {"# Unit: M-R32", "# FSD: 4000A", "# Trigger: Ch0(I)", "# Pre/Post: 5/3",
                                 "# Triggered: 2026-12-06 12:00:00", "# Trigger at: 125 ms", "# Line frequency: 50 Hz"})
        EXPECT_NE(std::find(block.begin(), block.end(), expected), block.end()) << expected;
    // Its dips close the block, from the reference they are read against.
    EXPECT_TRUE(block[block.size() - 2].starts_with("# Reference ")) << block[block.size() - 2];
    EXPECT_TRUE(block.back().starts_with("# V") || block.back() == "# No dip, swell or interruption") << block.back();
}

TEST(TraceCsv, PointsAreTheViewersAndDistancesAgreeWithTheReadOut)
{
    tdr::TdrTrace trace;
    for (std::size_t n = 0; n < 512; ++n)
        trace.samples[n] = std::uint8_t(n / 128 * 10 + n % 128 % 7);   // block b's samples are 10b + a little
    const std::vector<TracePoint> points = manualTracePoints(trace);
    ASSERT_EQ(points.size(), 512u);
    EXPECT_EQ(points[0], (TracePoint{1, 30}));   // block 3 first
    EXPECT_EQ(points[3], (TracePoint{4, 0}));    // block 0 fourth
    EXPECT_EQ(points[4], (TracePoint{5, 31}));

    const std::vector<std::string> rows = lines(traceCsv(points, {1, 540, true, 25}));
    ASSERT_EQ(rows.size(), 513u);
    EXPECT_EQ(rows[0], "point,distance (m at 54.0%),level");
    EXPECT_EQ(rows[1], "1,-19.44,30");
    EXPECT_EQ(rows[25], "25,0.00,36");
    EXPECT_EQ(cells(rows[125])[1], "81.00");   // 100 units: the viewer's "81 m"
    // Scale 2 doubles it; TRS mode is four times TDR's.
    EXPECT_EQ(pointDistance(125, {2, 540, true, 25}), 162);
    EXPECT_EQ(pointDistance(101, {1, 540, false, 1}), 324);
    for (int speed : {300, 543, 999, 1000})
        for (double d : {1.0, 37.0, 487.0})
            EXPECT_EQ(tdr::distanceText(pointDistance(25 + d, {1, speed, true, 25})),
                      tdr::distanceText(tdr::distanceMetres(1, d, tdr::percentFromCaption(tdr::dielectricCaption(speed)), true)));
}

TEST(TraceCsv, AnEventsLastPulsesHaveOnlyTheSweepsTheRecordHoldsAndATrsTraceAllItsSamples)
{
    std::array<std::uint8_t, 8192> area{};
    for (std::size_t n = 0; n < area.size(); ++n)
        area[n] = std::uint8_t(n / 128);          // each block holds its own number
    EXPECT_EQ(eventTdrPoints(area, 0, 4).size(), 512u);
    const std::vector<TracePoint> last = eventTdrPoints(area, 62, 4);
    ASSERT_EQ(last.size(), 256u);                 // blocks 62 and 63 only
    for (const TracePoint& p : last)
        EXPECT_TRUE(p.level == 62 || p.level == 63) << p.x;
    EXPECT_TRUE(eventTdrPoints(area, 64, 4).empty());
    const std::vector<TracePoint> trs = trsTracePoints(area);
    ASSERT_EQ(trs.size(), 8192u);
    EXPECT_EQ(trs[8191], (TracePoint{8192, 63}));
}
