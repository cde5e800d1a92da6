// The two forms of a stored event file, where each field of the record comes from, and the line
// each file gets in a slot's event list.
#include "EventBytes.h"
#include "events/EventListLines.h"

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

TEST(EventRecord, OnlyTheTwoExactLengthsAreEventFilesAndEachReadsItsFieldsFromTheirPlaces)
{
    for (const std::uintmax_t odd : {0ull, 117ull, 3208ull, 3327ull, 3329ull, 11519ull, 11521ull, 1ull << 40}) {
        EXPECT_FALSE(eventFormOfLength(odd)) << odd;
        EXPECT_FALSE(trailerOffsetForLength(odd)) << odd;
        EXPECT_FALSE(readEventRecord(patternedFile(std::size_t(std::min<std::uintmax_t>(odd, 20000))))) << odd;
    }
    for (const std::size_t length : {std::size_t(3328), std::size_t(11520)}) {
        EXPECT_EQ(eventFormOfLength(length), length == 3328 ? EventForm::Short : EventForm::Long);
        EXPECT_EQ(trailerOffsetForLength(length), length - 120);
        const std::vector<std::uint8_t> file = patternedFile(length);
        const std::optional<EventRecord> record = readEventRecord(file);
        ASSERT_TRUE(record) << length;
        const std::span<const std::uint8_t> bytes(file);
        EXPECT_TRUE(sameBytes(record->head, bytes.first(8))) << length;
        EXPECT_TRUE(sameBytes(record->samples, bytes.subspan(8, 3200))) << length;
        EXPECT_TRUE(sameBytes(record->trailer.bytes, bytes.subspan(length - 120, 117))) << length;
        // A short file has no trace area.
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

TEST(EventListLines, EachFileShowsItsRecordNumberOrItsKindUnderTheFiltersThatKeepItAndOnlyEventsAndRecordingsLoad)
{
    for (const char* path : {"a/05-12-26 14-03-22.trg", "B.TRG", "x.Vlt", "c:\\units\\u\\x.VLT"})
        EXPECT_TRUE(isEventFilePath(path)) << path;
    for (const char* path : {"", "trg", "x.tdr", "x.trx", "x_vlt"})
        EXPECT_FALSE(isEventFilePath(path)) << path;

    // `record` is the trailer's record byte, -1 for no trailer; `shown` is the bracket, null for
    // no line at all.
    struct Case { const char* extension; std::uintmax_t length; int record; EventFilter filter; const char* shown; };
    for (const Case& c : {Case{".trg", 3328, 4, EventFilter::All, "05"}, Case{".TRG", 11520, 4, EventFilter::Trg, "05"},
                          Case{".trg", 3328, 9, EventFilter::Trg, "10"}, Case{".trg", 3328, 255, EventFilter::Trg, "56"},
                          Case{".vlt", 11520, 7, EventFilter::Vlt, "MT"}, Case{".VLT", 3328, 7, EventFilter::All, "AC"},
                          Case{".vlt", 12, -1, EventFilter::Vlt, "AC"},
                          // Under "All" a name that is not a triggered event is listed as a recording.
                          Case{".xyz", 11520, 7, EventFilter::All, "MT"}, Case{".xyz", 11520, 7, EventFilter::Vlt, nullptr},
                          Case{".vlt", 3328, 7, EventFilter::Trg, nullptr}, Case{".trg", 3328, 1, EventFilter::Vlt, nullptr},
                          // A length of neither form has no number, whatever trailer a caller still
                          // holds from another file.
                          Case{".trg", 3000, 4, EventFilter::Trg, "--"}, Case{".trg", 0, -1, EventFilter::All, "--"},
                          Case{".trg", 3328, -1, EventFilter::All, "--"}}) {
        const RecordTrailer trailer = trailerWith({{16, std::uint8_t(c.record)}});
        const std::string name = std::string("05-12-26 14-03-22") + c.extension;
        const std::optional<std::string> line = eventListLine(name, c.length, c.record < 0 ? nullptr : &trailer, c.filter);
        if (c.shown)
            EXPECT_EQ(line, "05-12-26 14-03-22 (" + std::string(c.shown) + ")") << name << " " << c.length;
        else
            EXPECT_FALSE(line) << name << " " << c.length;
    }
}
