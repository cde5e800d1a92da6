// The lines of a slot's event list under each filter.
#include "EventBytes.h"
#include "events/EventListLines.h"

#include <gtest/gtest.h>

using namespace mr3x::events;
using namespace mr3x::events::test;

namespace {

struct StoredFile {
    std::string name;
    std::uintmax_t length;
    RecordTrailer trailer;
};

/// The lines of a folder's files under a filter, each with the file's index: what the slot's
/// list holds and its item data.
std::vector<std::pair<std::string, int>> listOf(const std::vector<StoredFile>& folder, EventFilter filter)
{
    std::vector<std::pair<std::string, int>> lines;
    for (std::size_t k = 0; k < folder.size(); ++k) {
        const StoredFile& f = folder[k];
        const RecordTrailer* trailer = eventFormOfLength(f.length) ? &f.trailer : nullptr;
        if (const std::optional<std::string> line = eventListLine(f.name, f.length, trailer, filter))
            lines.emplace_back(*line, int(k));
    }
    return lines;
}

using Lines = std::vector<std::pair<std::string, int>>;

} // namespace

TEST(EventListLines, EachFilterShowsItsFilesWithTheirIndexInTheFolder)
{
    const std::vector<StoredFile> folder{{"a.vlt", 3328, {}},
                                         {"b.trg", 3328, trailerWith({{16, 1}})},
                                         {"c.trg", 11520, trailerWith({{16, 2}})}};
    EXPECT_EQ(listOf(folder, EventFilter::Trg), (Lines{{"b.trg (02)", 1}, {"c.trg (03)", 2}}));
    EXPECT_EQ(listOf(folder, EventFilter::Vlt), (Lines{{"a.vlt (AC)", 0}}));
    EXPECT_EQ(listOf(folder, EventFilter::All), (Lines{{"a.vlt (AC)", 0}, {"b.trg (02)", 1}, {"c.trg (03)", 2}}));
}

TEST(EventListLines, TriggeredEventsShowTheirRecordNumberFromOneInTwoDigits)
{
    const RecordTrailer fifth = trailerWith({{16, 4}});
    EXPECT_EQ(eventListLine("05-12-26 14-03-22.trg", 3328, &fifth, EventFilter::All), "05-12-26 14-03-22 (05)");
    EXPECT_EQ(eventListLine("05-12-26 14-03-22.TRG", 11520, &fifth, EventFilter::Trg), "05-12-26 14-03-22 (05)");
    const RecordTrailer last = trailerWith({{16, 255}});
    EXPECT_EQ(eventListLine("05-12-26 14-03-22.trg", 3328, &last, EventFilter::Trg), "05-12-26 14-03-22 (56)");
    const RecordTrailer tenth = trailerWith({{16, 9}});
    EXPECT_EQ(eventListLine("05-12-26 14-03-22.trg", 3328, &tenth, EventFilter::Trg), "05-12-26 14-03-22 (10)");
}

TEST(EventListLines, ManualRecordingsShowMTForALongFileAndACOtherwise)
{
    const RecordTrailer trailer = trailerWith({{16, 7}});
    EXPECT_EQ(eventListLine("23-03-09 20-37-55.vlt", 11520, &trailer, EventFilter::Vlt), "23-03-09 20-37-55 (MT)");
    EXPECT_EQ(eventListLine("23-03-09 20-37-55.VLT", 3328, &trailer, EventFilter::All), "23-03-09 20-37-55 (AC)");
    EXPECT_EQ(eventListLine("23-03-09 20-37-55.vlt", 12, nullptr, EventFilter::Vlt), "23-03-09 20-37-55 (AC)");
    // Under "All" a name that is not a triggered event is listed as a recording.
    EXPECT_EQ(eventListLine("23-03-09 20-37-55.xyz", 11520, &trailer, EventFilter::All), "23-03-09 20-37-55 (MT)");
    EXPECT_FALSE(eventListLine("23-03-09 20-37-55.xyz", 11520, &trailer, EventFilter::Vlt));
}

TEST(EventListLines, ATriggeredEventOfNeitherLengthIsListedWithoutANumber)
{
    // Whatever trailer a caller still holds from another file is not this file's.
    const RecordTrailer stale = trailerWith({{16, 4}});
    EXPECT_EQ(eventListLine("05-12-26 14-03-22.trg", 3000, &stale, EventFilter::Trg), "05-12-26 14-03-22 (--)");
    EXPECT_EQ(eventListLine("05-12-26 14-03-22.trg", 0, nullptr, EventFilter::All), "05-12-26 14-03-22 (--)");
    EXPECT_EQ(eventListLine("05-12-26 14-03-22.trg", 3328, nullptr, EventFilter::All), "05-12-26 14-03-22 (--)");
}
