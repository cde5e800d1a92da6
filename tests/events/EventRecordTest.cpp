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

TEST(EventRecord, EachFormReadsItsFieldsFromTheirPlacesAndAShortOneHasNoTraceArea)
{
    for (const std::size_t length : {std::size_t(3328), std::size_t(11520)}) {
        const std::vector<std::uint8_t> file = patternedFile(length);
        const std::optional<EventRecord> record = readEventRecord(file);
        ASSERT_TRUE(record) << length;
        const std::span<const std::uint8_t> bytes(file);
        EXPECT_TRUE(sameBytes(record->head, bytes.first(8))) << length;
        EXPECT_TRUE(sameBytes(record->samples, bytes.subspan(8, 3200))) << length;
        EXPECT_TRUE(sameBytes(record->trailer.bytes, bytes.subspan(length - 120, 117))) << length;
        if (length == 11520)
            EXPECT_TRUE(sameBytes(record->traceArea, bytes.subspan(3208, 8192)));
        else
            EXPECT_TRUE(std::all_of(record->traceArea.begin(), record->traceArea.end(), [](std::uint8_t b) { return b == 0; }));
        EXPECT_EQ(record->triggerSource(), file[6]) << length;
        EXPECT_EQ(record->fsdCode(), file[7]) << length;

        // Samples are groups of four channels; outside the recording the nearest sample answers,
        // never the trace area or the head.
        EXPECT_EQ(record->sample(0, 3), file[11]) << length;
        EXPECT_EQ(record->sample(123, 2), file[8 + 4 * 123 + 2]) << length;
        EXPECT_EQ(record->sample(799, 3), file[3207]) << length;
        EXPECT_EQ(record->sample(800, 3), file[3207]) << length;
        EXPECT_EQ(record->sample(5, 4), record->sample(5, 3)) << length;
        EXPECT_EQ(record->sample(-1, -1), file[8]) << length;
    }
}

TEST(EventRecord, TheViewerLoadsOnlyTriggeredEventsAndManualRecordings)
{
    for (const char* path : {"a/05-12-26 14-03-22.trg", "B.TRG", "x.Vlt", "c:\\units\\u\\x.VLT"})
        EXPECT_TRUE(isEventFilePath(path)) << path;
    for (const char* path : {"", "trg", "x.tdr", "x.trx", "x_vlt"})
        EXPECT_FALSE(isEventFilePath(path)) << path;
}
