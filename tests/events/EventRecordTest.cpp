// The two forms of a stored event file and where each field of the record comes from.
#include "EventBytes.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace mr3x::events;
using namespace mr3x::events::test;

namespace {

bool sameBytes(std::span<const std::uint8_t> a, std::span<const std::uint8_t> b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

} // namespace

TEST(EventRecord, OnlyTheTwoExactLengthsAreEventFiles)
{
    EXPECT_EQ(eventFormOfLength(3328), EventForm::Short);
    EXPECT_EQ(eventFormOfLength(11520), EventForm::Long);
    EXPECT_EQ(trailerOffsetForLength(3328), 3208u);
    EXPECT_EQ(trailerOffsetForLength(11520), 11400u);
    for (const std::uintmax_t odd : {0ull, 117ull, 3208ull, 3327ull, 3329ull, 11519ull, 11521ull, 1ull << 40}) {
        EXPECT_FALSE(eventFormOfLength(odd)) << odd;
        EXPECT_FALSE(trailerOffsetForLength(odd)) << odd;
        EXPECT_FALSE(readEventRecord(patternedFile(std::size_t(std::min<std::uintmax_t>(odd, 20000))))) << odd;
    }
}

TEST(EventRecord, AShortFileHasHeadSamplesAndTrailerAndLeavesTheTraceAreaAtZeros)
{
    const std::vector<std::uint8_t> file = patternedFile(3328);
    const std::optional<EventRecord> record = readEventRecord(file);
    ASSERT_TRUE(record);
    const std::span<const std::uint8_t> bytes(file);
    EXPECT_TRUE(sameBytes(record->head, bytes.subspan(0, 8)));
    EXPECT_TRUE(sameBytes(record->samples, bytes.subspan(8, 3200)));
    EXPECT_TRUE(sameBytes(record->trailer.bytes, bytes.subspan(3208, 117)));
    EXPECT_TRUE(std::all_of(record->traceArea.begin(), record->traceArea.end(), [](std::uint8_t b) { return b == 0; }));
    EXPECT_EQ(record->triggerSource(), file[6]);
    EXPECT_EQ(record->fsdCode(), file[7]);
}

TEST(EventRecord, ALongFileCarriesItsTraceAreaBeforeTheTrailer)
{
    const std::vector<std::uint8_t> file = patternedFile(11520);
    const std::optional<EventRecord> record = readEventRecord(file);
    ASSERT_TRUE(record);
    const std::span<const std::uint8_t> bytes(file);
    EXPECT_TRUE(sameBytes(record->samples, bytes.subspan(8, 3200)));
    EXPECT_TRUE(sameBytes(record->traceArea, bytes.subspan(3208, 8192)));
    EXPECT_TRUE(sameBytes(record->trailer.bytes, bytes.subspan(11400, 117)));
}

TEST(EventRecord, SamplesAreGroupsOfFourChannelsAndNeverReadPastTheirEnds)
{
    const std::vector<std::uint8_t> file = patternedFile(11520);
    const std::optional<EventRecord> record = readEventRecord(file);
    ASSERT_TRUE(record);
    EXPECT_EQ(record->sample(0, 0), file[8]);
    EXPECT_EQ(record->sample(0, 3), file[11]);
    EXPECT_EQ(record->sample(123, 2), file[8 + 4 * 123 + 2]);
    EXPECT_EQ(record->sample(799, 3), file[3207]);
    // Outside the recording the nearest sample answers, not the trace area or the head.
    EXPECT_EQ(record->sample(800, 3), record->sample(799, 3));
    EXPECT_EQ(record->sample(5, 4), record->sample(5, 3));
    EXPECT_EQ(record->sample(-1, -1), record->sample(0, 0));
}

TEST(EventRecord, TheViewerLoadsOnlyTriggeredEventsAndManualRecordings)
{
    for (const char* path : {"a/05-12-26 14-03-22.trg", "B.TRG", "x.Vlt", "c:\\units\\u\\x.VLT"})
        EXPECT_TRUE(isEventFilePath(path)) << path;
    for (const char* path : {"", "trg", "x.tdr", "x.trx", "x_vlt"})
        EXPECT_FALSE(isEventFilePath(path)) << path;
}
