// Events as COMTRADE records, and events and traces as CSV files, read back here and turned into
// the bytes, volts and distances they came from. The configuration file is read by a parser
// written from IEEE C37.111-1999 itself (its field order, line ends and number forms), not from
// the exporter, so a field in the wrong place, a missing CR or a number a viewer cannot read fails.
#include "events/EventBytes.h"
#include "export/Comtrade.h"
#include "export/EventCsv.h"
#include "export/EventOrigin.h"
#include "export/ExportedText.h"
#include "export/TraceCsv.h"
#include "tdr/Distance.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

using namespace mr3x;
using namespace mr3x::exports;
using namespace mr3x::exports::test;
using events::test::setSample;

namespace {

// --- A configuration file reader, from the standard ----------------------------------------------

std::vector<std::string> lines(const std::string& text)
{
    const std::optional<std::vector<std::string>> out = crlfLines(text);
    EXPECT_TRUE(out) << "a line not ended by CR LF";
    return out.value_or(std::vector<std::string>{});
}

/// A real number as the standard allows it: digits, an optional sign, point and exponent.
double real(const std::string& text)
{
    EXPECT_TRUE(plainNumber(text)) << "not a number: " << text;
    return plainNumber(text).value_or(0);
}

long integer(const std::string& text)
{
    EXPECT_TRUE(!text.empty() && text.find_first_not_of("-0123456789") == std::string::npos) << "not an integer: " << text;
    return std::strtol(text.c_str(), nullptr, 10);
}

/// The configuration file's fields under the standard's names, those of channel k as "Ak.name".
using Configuration = std::map<std::string, std::string>;

Configuration parseConfiguration(const std::string& text)
{
    Configuration c;
    const std::vector<std::string> all = lines(text);
    std::size_t n = 0;
    // The next line, its fields named in the standard's order; a name ending in "#" is an
    // integer's, in "." a real's, and its text must read as one.
    const auto take = [&](std::vector<std::string> names, const std::string& prefix = "") {
        const std::vector<std::string> f = n < all.size() ? cells(all[n++]) : std::vector<std::string>();
        EXPECT_EQ(f.size(), names.size()) << "line " << n << " of " << all.size();
        for (std::size_t k = 0; k < std::min(f.size(), names.size()); ++k) {
            std::string& name = names[k];
            if (name.back() == '#')
                integer(f[k]);
            else if (name.back() == '.')
                real(f[k]);
            if (name.back() == '#' || name.back() == '.')
                name.pop_back();
            c[prefix + name] = f[k];
        }
    };
    const auto count = [&](const std::string& field, char kind) {
        EXPECT_TRUE(c[field].ends_with(kind)) << field << ": " << c[field];
        return integer(c[field].substr(0, c[field].size() - 1));
    };
    take({"station_name", "rec_dev_id", "rev_year"});
    take({"TT#", "##A", "##D"});
    const long analogs = count("##A", 'A'), digitals = count("##D", 'D');
    EXPECT_EQ(integer(c["TT"]), analogs + digitals);
    for (long k = 1; k <= analogs; ++k)
        take({"An#", "ch_id", "ph", "ccbm", "uu", "a.", "b.", "skew.", "min#", "max#", "primary.", "secondary.", "PS"},
             "A" + std::to_string(k) + ".");
    for (long k = 1; k <= digitals; ++k)
        take({"Dn#", "ch_id", "ph", "ccbm", "y#"}, "D" + std::to_string(k) + ".");
    take({"lf."});
    take({"nrates#"});
    for (long k = 1; k <= std::max(1L, integer(c["nrates"])); ++k)
        take({"samp.", "endsamp#"}, "rate" + std::to_string(k) + ".");
    take({"first_date", "first_time"});
    take({"trigger_date", "trigger_time"});
    take({"ft"});
    take({"timemult."});
    EXPECT_EQ(n, all.size()) << "lines after timemult";
    return c;
}

/// The fields named, joined by commas.
std::string fields(const Configuration& c, std::initializer_list<std::string> names, const std::string& prefix = "")
{
    std::string out;
    for (const std::string& name : names)
        out += (out.empty() ? "" : ",") + (c.contains(prefix + name) ? c.at(prefix + name) : "?");
    return out;
}

// --- Events --------------------------------------------------------------------------------------

/// An M-R32 (version 2) TDR-mode event triggered by the current at 12:00:00 on 6 December 2026
/// (unless told otherwise), the full scale 2000A (code 3), the pre/post code given, and a few known
/// bytes among the zero-level samples.
events::EventRecord event(int prePostCode = 0, std::array<std::uint8_t, 6> when = {26, 12, 6, 12, 0, 0})
{
    events::EventRecord r = events::test::constantRecord({129, 129, 129, 124});
    std::copy(when.begin(), when.end(), r.head.begin());
    r.head[6] = 4;
    r.head[7] = 3;
    r.trailer.bytes[8] = std::uint8_t(prePostCode << 5);
    r.trailer.bytes[10] = 3;
    r.trailer.bytes[18] = 210;
    setSample(r, 0, 0, 255);
    setSample(r, 1, 0, 0);
    setSample(r, 2, 1, 160);
    setSample(r, 3, 3, 140);
    setSample(r, 799, 2, 1);
    return r;
}

ComtradeFiles files(const events::EventRecord& r, DataFileType type = DataFileType::Ascii, int hz = 50)
{
    const std::optional<ComtradeFiles> f = comtradeFiles(r, {"North Yard", "MR-0101 M-R32", hz, type});
    EXPECT_TRUE(f.has_value());
    return f.value_or(ComtradeFiles{});
}

std::vector<std::vector<std::string>> asciiRows(const std::vector<std::uint8_t>& dat)
{
    std::vector<std::vector<std::string>> rows;
    for (const std::string& line : lines(std::string(dat.begin(), dat.end())))
        rows.push_back(cells(line));
    return rows;
}

unsigned long littleEndian(const std::vector<std::uint8_t>& bytes, std::size_t at, int width)
{
    unsigned long value = 0;
    for (int k = width - 1; k >= 0; --k)
        value = value * 256 + bytes[at + std::size_t(k)];
    return value;
}

/// Every byte value on every channel somewhere, the full scale "4000A", pre/post "5/3".
events::EventRecord richEvent()
{
    events::EventRecord r = event(2);
    r.head[7] = 1;
    for (int g = 0; g < 800; ++g)
        for (int c = 0; c < 4; ++c)
            setSample(r, g, c, std::uint8_t((g * 3 + c * 71) % 256));
    return r;
}

} // namespace

TEST(Comtrade, TheConfigurationReadsBackInTheStandardsOrderWithTheFirstSampleBeforeTheTriggerAcrossDaysAndYears)
{
    const Configuration c = parseConfiguration(files(event(1)).cfg);
    EXPECT_EQ(fields(c, {"station_name", "rec_dev_id", "rev_year", "TT", "##A", "##D"}), "North Yard,MR-0101 M-R32,1999,4,4A,0D");
    const char* const channels[] = {"1,Vr,R,V,0,0,255,1,1,P", "2,Vy,Y,V,0,0,255,1,1,P", "3,Vb,B,V,0,0,255,1,1,P",
                                    "4,I,,A,0,0,255,1,1,P"};
    for (int k = 1; k <= 4; ++k)
        EXPECT_EQ(fields(c, {"An", "ch_id", "ph", "uu", "skew", "min", "max", "primary", "secondary", "PS"}, "A" + std::to_string(k) + "."),
                  channels[k - 1]);
    EXPECT_EQ(fields(c, {"lf", "nrates", "rate1.samp", "rate1.endsamp", "ft", "timemult"}), "50,1,4000,800,ASCII,1");
    EXPECT_EQ(parseConfiguration(files(event(), DataFileType::Binary).cfg)["ft"], "BINARY");
    // Pre/post code 1 ("6/2"): 600 groups, 150 ms, before the trigger.
    EXPECT_EQ(fields(c, {"first_date", "first_time", "trigger_date", "trigger_time"}),
              "06/12/2026,11:59:59.850000,06/12/2026,12:00:00.000000");

    const auto times = [](int prePostCode, std::array<std::uint8_t, 6> when, int hz = 50) {
        const Configuration at = parseConfiguration(files(event(prePostCode, when), DataFileType::Ascii, hz).cfg);
        return fields(at, {"first_date", "first_time", "trigger_date"});
    };
    // Seven eighths before a trigger at midnight on New Year's day.
    EXPECT_EQ(times(0, {27, 1, 1, 0, 0, 0}), "31/12/2026,23:59:59.825000,01/01/2027");
    // 1 March of a leap year goes back to 29 February; "0/8" starts at the trigger.
    EXPECT_EQ(times(0, {28, 3, 1, 0, 0, 0}), "29/02/2028,23:59:59.825000,01/03/2028");
    EXPECT_EQ(times(7, {28, 3, 1, 0, 0, 0}), "01/03/2028,00:00:00.000000,01/03/2028");
    // At 60 Hz "7/1" is 700 groups of 1/4800 s: 145833 us before the trigger.
    EXPECT_EQ(times(0, {26, 12, 31, 23, 59, 59}, 60), "31/12/2026,23:59:58.854167,31/12/2026");

    using Head = std::array<std::uint8_t, 6>;
    for (const Head bad : {Head{26, 13, 1, 0, 0, 0}, Head{27, 2, 29, 0, 0, 0}, Head{100, 1, 1, 0, 0, 0},
                           Head{26, 1, 0, 0, 0, 0}, Head{26, 1, 1, 24, 0, 0}, Head{26, 1, 1, 0, 60, 0}})
        EXPECT_FALSE(comtradeFiles(event(0, bad), {}).has_value()) << int(bad[0]) << "-" << int(bad[1]) << "-" << int(bad[2]);
}

TEST(Comtrade, TheDataHoldsEachSampleWithItsNumberAndMicrosecondsAsTextOrBytesAndAAndBTurnItIntoVoltsAndAmps)
{
    const ComtradeFiles f = files(event());
    const auto rows = asciiRows(f.dat);
    ASSERT_EQ(rows.size(), 800u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"1", "0", "255", "129", "129", "124"}));
    EXPECT_EQ(rows[3], (std::vector<std::string>{"4", "750", "129", "129", "129", "140"}));
    EXPECT_EQ(rows[799][0] + "," + rows[799][1], "800,199750");
    // At 60 Hz: 4800 groups a second, timestamps rounded to whole microseconds.
    const auto rows60 = asciiRows(files(event(), DataFileType::Ascii, 60).dat);
    ASSERT_EQ(rows60.size(), 800u);
    EXPECT_EQ(rows60[1][1] + "," + rows60[3][1], "208,625");

    // BINARY: sixteen little-endian bytes a sample, its number and microseconds in four each, then
    // the values, two bytes each, in channel order.
    const std::vector<std::uint8_t> dat = files(event(), DataFileType::Binary).dat;
    ASSERT_EQ(dat.size(), 800u * 16);
    for (std::size_t k : {std::size_t(0), std::size_t(3), std::size_t(799)}) {
        EXPECT_EQ(littleEndian(dat, k * 16, 4), k + 1);
        EXPECT_EQ(littleEndian(dat, k * 16 + 4, 4), k * 250);
    }
    EXPECT_EQ(std::vector<std::uint8_t>(dat.begin() + 8, dat.begin() + 16),
              (std::vector<std::uint8_t>{255, 0, 129, 0, 129, 0, 124, 0}));
    EXPECT_EQ(littleEndian(dat, 3 * 16 + 14, 2), 140u);
    EXPECT_EQ(littleEndian(dat, 799 * 16 + 12, 2), 1u);

    // Known raw bytes through a and b give the meters' volts and amps.
    const Configuration c = parseConfiguration(f.cfg);
    const auto value = [&](std::size_t group, std::size_t channel) {
        const std::string a = "A" + std::to_string(channel + 1) + ".";
        return real(c.at(a + "a")) * double(integer(rows[group][2 + channel])) + real(c.at(a + "b"));
    };
    EXPECT_DOUBLE_EQ(value(0, 0), 126 * 388.0 / 128);  // 381.9375 V, the meter's 382
    EXPECT_DOUBLE_EQ(value(1, 0), -129 * 388.0 / 128);
    EXPECT_DOUBLE_EQ(value(5, 0), 0);                  // level 129 is 0 V
    EXPECT_DOUBLE_EQ(value(2, 1), 31 * 388.0 / 128);   // 93.97 V: the meter's 94
    EXPECT_DOUBLE_EQ(value(3, 3), 250);                // 16 levels of 2000/128 A
    EXPECT_DOUBLE_EQ(value(4, 3), 0);                  // level 124 is 0 A
    EXPECT_DOUBLE_EQ(value(799, 2), -128 * 388.0 / 128);

    // Full scale 8000A (code 0): 62.5 A a level.
    events::EventRecord big = event();
    big.head[7] = 0;
    EXPECT_DOUBLE_EQ(real(parseConfiguration(files(big).cfg)["A4.a"]), 62.5);
    // A current with no known full scale (code 2, or a unit of an unknown type) keeps its levels
    // rather than reading as 0 amps.
    for (const auto& [code, model] : {std::pair{2, 210}, std::pair{7, 208}}) {
        events::EventRecord unknown = event();
        unknown.head[7] = std::uint8_t(code);
        unknown.trailer.bytes[18] = std::uint8_t(model);
        Configuration current = parseConfiguration(files(unknown).cfg);
        EXPECT_EQ(current["A4.uu"], "levels");
        EXPECT_EQ(real(current["A4.a"]) * 140 + real(current["A4.b"]), 16);
    }
}

TEST(Comtrade, TheHeaderSaysWhereWhenWhatAndTheDipsInPlainAsciiAndNamesComeFromTheFolderTreeOrTheTrailer)
{
    events::EventRecord r = event();
    // Mains on the three phases, Vb down to 30 % for three cycles from group 300.
    for (int g = 0; g < events::kSampleGroups; ++g)
        for (int c = 0; c < 3; ++c) {
            const double share = c == 2 && g >= 300 && g < 540 ? 0.3 : 1.0;
            setSample(r, g, c, std::uint8_t(std::lround(129 + 107 * share * std::sin(2 * 3.14159265 * (g / 80.0 - c / 3.0)))));
        }
    const std::vector<std::string> hdr = lines(files(r).hdr);
    ASSERT_GE(hdr.size(), 5u);
    EXPECT_EQ(hdr[0], "M-R3X event recorded by MR-0101 M-R32 at North Yard");
    EXPECT_EQ(hdr[1], "Triggered: 2026-12-06 12:00:00");
    EXPECT_EQ(hdr[2], "Line frequency: 50 Hz");
    EXPECT_NE(std::find(hdr.begin(), hdr.end(), "FSD: 2000A"), hdr.end());
    const auto dip = std::find_if(hdr.begin(), hdr.end(), [](const std::string& l) { return l.starts_with("Vb: dip to "); });
    ASSERT_NE(dip, hdr.end());
    EXPECT_TRUE(dip->ends_with(", dip 40-5%, 10-200ms")) << *dip;
    // The other two phases held their voltage.
    EXPECT_EQ(std::count_if(hdr.begin(), hdr.end(), [](const std::string& l) { return l.starts_with("Vr: ") || l.starts_with("Vy: "); }), 0);
    for (const std::string& line : hdr)
        EXPECT_TRUE(std::all_of(line.begin(), line.end(), [](char ch) { return ch >= 0x20 && ch < 0x7F; })) << line;

    // Names become fields a viewer can split, and come from the folder tree or the trailer.
    EXPECT_EQ(comtradeField("  North, Yard  "), "North_ Yard");
    EXPECT_EQ(comtradeField("Z\xC3\xBCrich"), "Z_rich");         // UTF-8: one character, one "_"
    EXPECT_EQ(comtradeField("Z\xFCrich"), "Z_rich");             // Latin-1 from a trailer
    EXPECT_EQ(comtradeField("tab\there"), "tab_here");
    EXPECT_EQ(comtradeField(std::string(70, 'x')).size(), 64u);

    const std::string trailerLocation = "Substation B";
    std::copy(trailerLocation.begin(), trailerLocation.end(), r.trailer.bytes.begin() + 51);
    const EventOrigin inTree = originOfPath("/home/e/M-R3X Master/Systems/Grid/Jobs/Feeder 7/North Yard/MR-0101/x.trg");
    EXPECT_EQ(inTree, (EventOrigin{"Grid", "Feeder 7", "North Yard", "MR-0101"}));
    EXPECT_EQ(stationName(inTree, r), "North Yard");
    EXPECT_EQ(recordingDevice(inTree, r), "MR-0101 M-R32");
    // A copy outside the tree: the trailer's location, and the model alone.
    const EventOrigin copy = originOfPath("C:\\stick\\x.trg");
    EXPECT_EQ(copy, EventOrigin{});
    EXPECT_EQ(stationName(copy, r), "Substation B");
    EXPECT_EQ(recordingDevice(copy, r), "M-R32");
    EXPECT_EQ(fileStem("a/b/26-12-06 12-00-00.trg"), "26-12-06 12-00-00");
}

TEST(EventCsv, EveryValueReadsBackAsTheByteItCameFromAtItsTimeAndTheParameterBlockComesOnlyWhenAskedFor)
{
    const events::EventRecord r = richEvent();
    const std::vector<std::string> rows = lines(eventCsv(r, {}));
    ASSERT_EQ(rows.size(), 801u);
    EXPECT_EQ(rows[0], "time (ms),Vr (V),Vy (V),Vb (V),I (A)");
    const double voltsPerLevel = 388.0 / 128, ampsPerLevel = 4000.0 / 128;
    for (int g = 0; g < 800; ++g) {
        const std::vector<std::string> row = cells(rows[std::size_t(g) + 1]);
        ASSERT_EQ(row.size(), 5u) << rows[std::size_t(g) + 1];
        EXPECT_EQ(real(row[0]), g * 0.25);
        for (int c = 0; c < 4; ++c) {
            const double level = c == 3 ? real(row[4]) / ampsPerLevel + 124 : real(row[std::size_t(c) + 1]) / voltsPerLevel + 129;
            EXPECT_EQ(level, r.sample(g, c)) << "group " << g << " channel " << c << ": " << row[std::size_t(c) + 1];
        }
    }
    // Plain decimals a spreadsheet takes: no exponent, no "-0".
    EXPECT_EQ(rows[1], "0,-391.03125,-175.8125,39.40625,2781.25");

    // Times follow the line frequency.
    const std::vector<std::string> plain = lines(eventCsv(r, {60, false}));
    ASSERT_EQ(plain.size(), 801u);
    EXPECT_EQ(cells(plain[2])[0], "0.2083");   // 1 / 4800 s
    EXPECT_EQ(cells(plain[25])[0], "5");       // 24 groups

    const std::vector<std::string> withBlock = lines(eventCsv(r, {50, true}));
    const auto header = std::find(withBlock.begin(), withBlock.end(), rows[0]);
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

TEST(TraceCsv, PointsAreTheViewersDistancesAgreeWithTheReadOutAndAnEventGivesOnlyTheSweepsItHolds)
{
    tdr::TdrTrace trace;
    for (std::size_t n = 0; n < 512; ++n)
        trace.samples[n] = std::uint8_t(n / 128 * 10 + n % 128 % 7);   // block b's samples are 10b + a little
    const std::vector<TracePoint> points = manualTracePoints(trace);
    ASSERT_EQ(points.size(), 512u);
    EXPECT_EQ(points[3], (TracePoint{4, 0}));    // block 0 fourth
    EXPECT_EQ(points[4], (TracePoint{5, 31}));

    const std::vector<std::string> rows = lines(traceCsv(points, {1, 540, true, 25}));
    ASSERT_EQ(rows.size(), 513u);
    EXPECT_EQ(rows[0], "point,distance (m at 54.0%),level");
    EXPECT_EQ(rows[1], "1,-19.44,30");         // block 3 first
    EXPECT_EQ(rows[25], "25,0.00,36");
    EXPECT_EQ(cells(rows[125])[1], "81.00");   // 100 units: the viewer's "81 m"
    // Scale 2 doubles it; TRS mode is four times TDR's.
    EXPECT_EQ(pointDistance(125, {2, 540, true, 25}), 162);
    EXPECT_EQ(pointDistance(101, {1, 540, false, 1}), 324);
    for (int speed : {300, 543, 999, 1000})
        for (double d : {1.0, 37.0, 487.0})
            EXPECT_EQ(tdr::distanceText(pointDistance(25 + d, {1, speed, true, 25})),
                      tdr::distanceText(tdr::distanceMetres(1, d, tdr::percentFromCaption(tdr::dielectricCaption(speed)), true)));

    // An event's last pulses have only the sweeps the record holds; a TRS trace all its samples.
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
