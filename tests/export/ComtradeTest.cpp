// An event as a COMTRADE record. The configuration file is read back here by a parser written
// from IEEE C37.111-1999 itself (its field order, line ends and number forms), not from the
// exporter, so a field in the wrong place, a missing CR or a number a viewer cannot read fails.
#include "events/EventBytes.h"
#include "export/Comtrade.h"
#include "export/EventOrigin.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <sstream>

using namespace mr3x;
using namespace mr3x::exports;
using events::test::constantRecord;
using events::test::setSample;

namespace {

// --- A configuration file reader, from the standard ----------------------------------------------

std::vector<std::string> fields(const std::string& line)
{
    std::vector<std::string> out;
    std::string field;
    std::istringstream in(line);
    while (std::getline(in, field, ','))
        out.push_back(field);
    if (!line.empty() && line.back() == ',')
        out.emplace_back();
    return out;
}

/// A real number as the standard allows it: digits, an optional sign, point and exponent.
double real(const std::string& text)
{
    EXPECT_FALSE(text.empty());
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    EXPECT_EQ(*end, '\0') << "not a number: " << text;
    return value;
}

long integer(const std::string& text)
{
    EXPECT_FALSE(text.empty());
    EXPECT_EQ(text.find_first_not_of("-0123456789"), std::string::npos) << "not an integer: " << text;
    return std::strtol(text.c_str(), nullptr, 10);
}

struct AnalogChannel {
    long index = 0;
    std::string id, phase, component, unit;
    double a = 0, b = 0, skew = 0;
    long min = 0, max = 0;
    double primary = 0, secondary = 0;
    std::string ps;
};

struct Configuration {
    std::string station, device, revisionYear;
    long total = 0, analogs = 0, digitals = 0;
    std::vector<AnalogChannel> analog;
    double lineFrequency = 0;
    long rates = 0;
    std::vector<std::pair<double, long>> samplingRates;
    std::string firstDate, firstTime, triggerDate, triggerTime;
    std::string fileType;
    double timeMultiplier = 0;
};

/// Lines ended by CR LF, every one of them: a bare LF or CR is a fault.
std::vector<std::string> crlfLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "the last line has no CR LF";
        if (end == std::string::npos)
            break;
        const std::string line = text.substr(start, end - start);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "a stray line end in: " << line;
        lines.push_back(line);
        start = end + 2;
    }
    return lines;
}

Configuration parseConfiguration(const std::string& text)
{
    Configuration c;
    const std::vector<std::string> lines = crlfLines(text);
    std::size_t n = 0;
    const auto next = [&](std::size_t expectedFields) {
        EXPECT_LT(n, lines.size()) << "the file ends early";
        const std::vector<std::string> f = n < lines.size() ? fields(lines[n++]) : std::vector<std::string>(expectedFields);
        EXPECT_EQ(f.size(), expectedFields) << "line " << n << ": " << (n <= lines.size() ? lines[n - 1] : "");
        return f.size() == expectedFields ? f : std::vector<std::string>(expectedFields);
    };
    // station_name,rec_dev_id,rev_year
    auto f = next(3);
    c.station = f[0];
    c.device = f[1];
    c.revisionYear = f[2];
    // TT,##A,##D
    f = next(3);
    c.total = integer(f[0]);
    EXPECT_EQ(f[1].back(), 'A');
    EXPECT_EQ(f[2].back(), 'D');
    c.analogs = integer(f[1].substr(0, f[1].size() - 1));
    c.digitals = integer(f[2].substr(0, f[2].size() - 1));
    EXPECT_EQ(c.total, c.analogs + c.digitals);
    // An,ch_id,ph,ccbm,uu,a,b,skew,min,max,primary,secondary,PS
    for (long k = 0; k < c.analogs; ++k) {
        f = next(13);
        AnalogChannel ch{integer(f[0]), f[1], f[2], f[3], f[4], real(f[5]), real(f[6]), real(f[7]), integer(f[8]),
                         integer(f[9]), real(f[10]), real(f[11]), f[12]};
        c.analog.push_back(ch);
    }
    // Dn,ch_id,ph,ccbm,y
    for (long k = 0; k < c.digitals; ++k)
        next(5);
    c.lineFrequency = real(next(1)[0]);
    c.rates = integer(next(1)[0]);
    for (long k = 0; k < std::max(1L, c.rates); ++k) {
        f = next(2);
        c.samplingRates.emplace_back(real(f[0]), integer(f[1]));
    }
    f = next(2);
    c.firstDate = f[0];
    c.firstTime = f[1];
    f = next(2);
    c.triggerDate = f[0];
    c.triggerTime = f[1];
    c.fileType = next(1)[0];
    c.timeMultiplier = real(next(1)[0]);
    EXPECT_EQ(n, lines.size()) << "lines after timemult";
    return c;
}

// --- Events --------------------------------------------------------------------------------------

/// A healthy M-R32 event: 6 December 2026 at 12:00:00, the full scale 2000A (code 3), the
/// pre/post code given, and a few known bytes among level samples.
events::EventRecord event(int prePostCode = 0, std::array<std::uint8_t, 6> when = {26, 12, 6, 12, 0, 0})
{
    events::EventRecord r = constantRecord({129, 129, 129, 124});
    std::copy(when.begin(), when.end(), r.head.begin());
    r.head[6] = 4;   // triggered by the current
    r.head[7] = 3;   // 2000A
    r.trailer.bytes[8] = static_cast<std::uint8_t>(prePostCode << 5);
    r.trailer.bytes[10] = 3;
    r.trailer.bytes[18] = 210; // M-R32, version 2
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
    for (const std::string& line : crlfLines(std::string(dat.begin(), dat.end())))
        rows.push_back(fields(line));
    return rows;
}

unsigned long littleEndian(const std::vector<std::uint8_t>& bytes, std::size_t at, int width)
{
    unsigned long value = 0;
    for (int k = width - 1; k >= 0; --k)
        value = value * 256 + bytes[at + std::size_t(k)];
    return value;
}

} // namespace

TEST(Comtrade, TheConfigurationReadsBackFieldByFieldInTheStandardsOrder)
{
    const Configuration c = parseConfiguration(files(event(1)).cfg);
    EXPECT_EQ(c.station, "North Yard");
    EXPECT_EQ(c.device, "MR-0101 M-R32");
    EXPECT_EQ(c.revisionYear, "1999");
    EXPECT_EQ(c.total, 4);
    EXPECT_EQ(c.analogs, 4);
    EXPECT_EQ(c.digitals, 0);
    const char* const ids[] = {"Vr", "Vy", "Vb", "I"};
    const char* const phases[] = {"R", "Y", "B", ""};
    const char* const units[] = {"V", "V", "V", "A"};
    ASSERT_EQ(c.analog.size(), 4u);
    for (std::size_t k = 0; k < 4; ++k) {
        const AnalogChannel& ch = c.analog[k];
        EXPECT_EQ(ch.index, long(k) + 1);
        EXPECT_EQ(ch.id, ids[k]);
        EXPECT_EQ(ch.phase, phases[k]);
        EXPECT_EQ(ch.unit, units[k]);
        EXPECT_EQ(ch.skew, 0);
        EXPECT_EQ(ch.min, 0);
        EXPECT_EQ(ch.max, 255);
        EXPECT_EQ(ch.primary, 1);
        EXPECT_EQ(ch.secondary, 1);
        EXPECT_EQ(ch.ps, "P");
    }
    EXPECT_EQ(c.lineFrequency, 50);
    EXPECT_EQ(c.rates, 1);
    ASSERT_EQ(c.samplingRates.size(), 1u);
    EXPECT_EQ(c.samplingRates[0], std::make_pair(4000.0, 800L));
    // Pre/post code 1 ("6/2"): 600 groups, 150 ms, before the trigger.
    EXPECT_EQ(c.firstDate, "06/12/2026");
    EXPECT_EQ(c.firstTime, "11:59:59.850000");
    EXPECT_EQ(c.triggerDate, "06/12/2026");
    EXPECT_EQ(c.triggerTime, "12:00:00.000000");
    EXPECT_EQ(c.fileType, "ASCII");
    EXPECT_EQ(c.timeMultiplier, 1);

    EXPECT_EQ(parseConfiguration(files(event(), DataFileType::Binary).cfg).fileType, "BINARY");
}

TEST(Comtrade, KnownRawBytesThroughAAndBGiveTheMetersVoltsAndAmps)
{
    const ComtradeFiles f = files(event());
    const Configuration c = parseConfiguration(f.cfg);
    const auto rows = asciiRows(f.dat);
    ASSERT_EQ(rows.size(), 800u);
    const auto value = [&](std::size_t group, std::size_t channel) {
        const AnalogChannel& ch = c.analog[channel];
        return ch.a * double(integer(rows[group][2 + channel])) + ch.b;
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
    EXPECT_DOUBLE_EQ(parseConfiguration(files(big).cfg).analog[3].a, 62.5);
    // A current with no known full scale (code 2, or a unit of an unknown type) keeps its levels
    // rather than reading as 0 amps.
    for (const auto& [code, model] : {std::pair{2, 210}, std::pair{7, 208}}) {
        events::EventRecord unknown = event();
        unknown.head[7] = std::uint8_t(code);
        unknown.trailer.bytes[18] = std::uint8_t(model);
        const AnalogChannel current = parseConfiguration(files(unknown).cfg).analog[3];
        EXPECT_EQ(current.unit, "levels");
        EXPECT_EQ(current.a * 140 + current.b, 16);
    }
}

TEST(Comtrade, TheAsciiDataHasOneLineASampleWithItsNumberAndMicroseconds)
{
    const auto rows = asciiRows(files(event()).dat);
    ASSERT_EQ(rows.size(), 800u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"1", "0", "255", "129", "129", "124"}));
    EXPECT_EQ(rows[3], (std::vector<std::string>{"4", "750", "129", "129", "129", "140"}));
    EXPECT_EQ(rows[799][0], "800");
    EXPECT_EQ(rows[799][1], "199750");

    // At 60 Hz: 4800 groups a second, timestamps rounded to whole microseconds.
    const ComtradeFiles sixty = files(event(0, {26, 12, 31, 23, 59, 59}), DataFileType::Ascii, 60);
    const auto rows60 = asciiRows(sixty.dat);
    EXPECT_EQ(rows60[1][1], "208");
    EXPECT_EQ(rows60[3][1], "625");
    const Configuration c = parseConfiguration(sixty.cfg);
    EXPECT_EQ(c.lineFrequency, 60);
    EXPECT_EQ(c.samplingRates[0], std::make_pair(4800.0, 800L));
    // "7/1": 700 groups, 145833 us before the trigger.
    EXPECT_EQ(c.firstTime, "23:59:58.854167");
}

TEST(Comtrade, TheBinaryDataIsSixteenLittleEndianBytesASample)
{
    const std::vector<std::uint8_t> dat = files(event(), DataFileType::Binary).dat;
    ASSERT_EQ(dat.size(), 800u * 16);
    for (std::size_t k : {std::size_t(0), std::size_t(3), std::size_t(799)}) {
        const std::size_t at = k * 16;
        EXPECT_EQ(littleEndian(dat, at, 4), k + 1);
        EXPECT_EQ(littleEndian(dat, at + 4, 4), k * 250);
    }
    // The values, 2 bytes each, in channel order.
    EXPECT_EQ(std::vector<std::uint8_t>(dat.begin() + 8, dat.begin() + 16),
              (std::vector<std::uint8_t>{255, 0, 129, 0, 129, 0, 124, 0}));
    EXPECT_EQ(littleEndian(dat, 3 * 16 + 14, 2), 140u);
    EXPECT_EQ(littleEndian(dat, 799 * 16 + 12, 2), 1u);
}

TEST(Comtrade, TheFirstSampleLiesBeforeTheTriggerAcrossDaysAndYearsAndABadDateIsRefused)
{
    // Seven eighths before a trigger at midnight on New Year's day.
    Configuration c = parseConfiguration(files(event(0, {27, 1, 1, 0, 0, 0})).cfg);
    EXPECT_EQ(c.firstDate, "31/12/2026");
    EXPECT_EQ(c.firstTime, "23:59:59.825000");
    EXPECT_EQ(c.triggerDate, "01/01/2027");
    // 1 March of a leap year goes back to 29 February; "0/8" starts at the trigger.
    c = parseConfiguration(files(event(0, {28, 3, 1, 0, 0, 0})).cfg);
    EXPECT_EQ(c.firstDate, "29/02/2028");
    c = parseConfiguration(files(event(7, {28, 3, 1, 0, 0, 0})).cfg);
    EXPECT_EQ(c.firstDate + "," + c.firstTime, c.triggerDate + "," + c.triggerTime);

    for (const std::array<std::uint8_t, 6> bad : {std::array<std::uint8_t, 6>{26, 13, 1, 0, 0, 0},
                                                  {27, 2, 29, 0, 0, 0},
                                                  {100, 1, 1, 0, 0, 0},
                                                  {26, 1, 0, 0, 0, 0},
                                                  {26, 1, 1, 24, 0, 0},
                                                  {26, 1, 1, 0, 60, 0}})
        EXPECT_FALSE(comtradeFiles(event(0, bad), {}).has_value()) << int(bad[0]) << "-" << int(bad[1]) << "-" << int(bad[2]);
}

TEST(Comtrade, NamesBecomeFieldsAViewerCanSplitAndComeFromTheFolderTreeOrTheTrailer)
{
    EXPECT_EQ(comtradeField("  North, Yard  "), "North_ Yard");
    EXPECT_EQ(comtradeField("Z\xC3\xBCrich"), "Z_rich");         // UTF-8: one character, one "_"
    EXPECT_EQ(comtradeField("Z\xFCrich"), "Z_rich");             // Latin-1 from a trailer
    EXPECT_EQ(comtradeField("tab\there"), "tab_here");
    EXPECT_EQ(comtradeField(std::string(70, 'x')).size(), 64u);

    events::EventRecord r = event();
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
