// Trace files as the unit leaves them, and the records read from them.
#include "tdr/TraceRecord.h"

#include <gtest/gtest.h>

#include <vector>

using namespace mr3x::tdr;

namespace {

/// A file of `samples` sample bytes (counting up from `first`) and a trailer whose byte i is
/// 200 + i, then `extra` bytes of 0xEE.
std::vector<std::uint8_t> traceFile(std::size_t samples, std::size_t extra = 0, std::uint8_t first = 1)
{
    std::vector<std::uint8_t> file;
    for (std::size_t i = 0; i < samples; ++i)
        file.push_back(static_cast<std::uint8_t>(first + i));
    for (std::size_t i = 0; i < mr3x::events::kTrailerBytes; ++i)
        file.push_back(static_cast<std::uint8_t>(200 + i));
    file.insert(file.end(), extra, 0xEE);
    return file;
}

} // namespace

TEST(TraceRecord, AWholeRecordIsReadFromTheFileStartAndAShortFileIsRefused)
{
    const std::vector<std::uint8_t> tdr = traceFile(kTdrSamples, 10);
    const std::optional<TdrTrace> trace = readTdrTrace(tdr);
    ASSERT_TRUE(trace);
    EXPECT_EQ(trace->samples.front(), 1);
    EXPECT_EQ(trace->samples[511], static_cast<std::uint8_t>(1 + 511));
    EXPECT_EQ(trace->trailer[0], 200);
    EXPECT_EQ(trace->trailer.gain(), 207);
    EXPECT_EQ(trace->trailer[116], static_cast<std::uint8_t>(200 + 116));  // the bytes after it are not read

    const std::vector<std::uint8_t> trs = traceFile(kTrsSamples);
    ASSERT_EQ(trs.size(), kTrsTraceBytes);
    const std::optional<TrsTrace> trsTrace = readTrsTrace(trs);
    ASSERT_TRUE(trsTrace);
    EXPECT_EQ(trsTrace->samples[8191], static_cast<std::uint8_t>(1 + 8191));
    EXPECT_EQ(trsTrace->trailer.mode(), 210);

    // One byte missing, an empty file, or a TDR-sized file taken for a TRS trace (a "TRS" in a
    // folder name) never fill a slot.
    EXPECT_FALSE(readTdrTrace(std::span(tdr).first(kTdrTraceBytes - 1)));
    EXPECT_FALSE(readTdrTrace({}));
    EXPECT_FALSE(readTrsTrace(std::span(trs).first(kTrsTraceBytes - 1)));
    EXPECT_FALSE(readTrsTrace(tdr));
}

TEST(TraceRecord, TheKindComesFromACapitalTrsAnywhereInThePath)
{
    for (const char* trs : {"/m/S/U/26-12-05 14-03-09 (B-N=TRS).TDR", "C:\\M-R3X Master\\Systems\\TRS site\\x (R-N=Y-N).TDR"})
        EXPECT_EQ(traceKindOfPath(trs), TraceKind::Trs) << trs;
    for (const char* tdr : {"/m/S/U/26-12-05 14-03-09 (R-N=Y-N).TDR", "/m/trs/26-12-05 (B-N=trs).TDR"})
        EXPECT_EQ(traceKindOfPath(tdr), TraceKind::Tdr) << tdr;
}

TEST(TraceRecord, ALegacyFileKeepsItsTrailerAfterTheSamplesItsNameAnnounces)
{
    const std::vector<std::uint8_t> tdr = traceFile(kTdrSamples, 0, 7);
    const std::vector<std::uint8_t> trs = traceFile(kTrsSamples, 0, 7);

    // A capital "TRS" before the first dot announces 8192 samples; a TRS name on a file too short
    // for one gives no trailer.
    for (const auto& [name, trsName] : {std::pair{"abc.tst", false}, {"ref1.ref", false}, {"noextension", false},
                                        {"abc.TRS.tst", false}, {"abctrs.tst", false}, {"TRS1.tst", true}, {"xTRSy.ref.old", true}}) {
        const auto trailer = legacyTrailer(name, trsName ? trs : tdr);
        ASSERT_TRUE(trailer) << name;
        EXPECT_EQ((*trailer)[5], 205) << name;
        EXPECT_EQ(legacyTrailer(name, tdr).has_value(), !trsName) << name;
    }
    EXPECT_FALSE(legacyTrailer("abc.tst", std::span(tdr).first(kTdrTraceBytes - 1)));
    EXPECT_EQ(legacyBaseName("abc.def.tst"), "abc");
    EXPECT_EQ(legacyBaseName(".tst"), "");
}
