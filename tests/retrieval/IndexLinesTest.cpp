// The index file's records and the lines the program lists them by.
#include "retrieval/IndexLines.h"

#include <gtest/gtest.h>

using namespace mr3x::retrieval;

namespace {

IndexRecord record(std::uint8_t slot, std::array<std::uint8_t, 6> dateAndTime)
{
    IndexRecord r;
    r.bytes = {slot, 99, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 42}; // 99 and 42: bytes not used
    std::copy(dateAndTime.begin(), dateAndTime.end(), r.bytes.begin() + 2);
    return r;
}

} // namespace

// The line forms themselves are checked through the window (EventIndexTest); these are the edges.
TEST(IndexLines, EachByteShowsItsLastTwoDigitsAndAZeroDateIsAnEmptySlot)
{
    EXPECT_EQ(indexLine(record(6, {5, 12, 26, 14, 3, 22}), false), "05-12-26 14-03-22 (07)-");
    EXPECT_EQ(slotText(record(255, {1, 1, 1, 0, 0, 0})), "56");
    EXPECT_EQ(indexLine(record(0, {123, 7, 255, 9, 200, 0}), false), "23-07-55 09-00-00 (01)-");
    // An empty slot shows zeros whatever its slot byte; so does a date that only prints as zeros.
    EXPECT_EQ(indexLine(record(5, {0, 0, 0, 10, 11, 12}), false), "00-00-00 10-11-12 (00)-");
    EXPECT_TRUE(isEmptySlot(record(5, {100, 200, 0, 1, 2, 3})));
    EXPECT_FALSE(isEmptySlot(record(5, {0, 0, 1, 0, 0, 0})));
    // A line of no known form is never taken for download.
    EXPECT_FALSE(lineIsWanted(""));
    EXPECT_EQ(lineSlotText("short"), "");
}

TEST(IndexLines, OnlyAnExactMS32ReadsFortyRecordsAndAShortFileReadsAsEmptySlots)
{
    EXPECT_EQ(indexRecordCount("M-S32"), 40);
    for (const char* model : {"M-R32", "", "m-s32"})
        EXPECT_EQ(indexRecordCount(model), 20) << model;

    // A second record cut off after its date's first two bytes.
    const std::vector<std::uint8_t> file{3, 0, 26, 12, 6, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 26, 11, 30};
    const std::vector<IndexRecord> records = indexRecords(file, 20);
    ASSERT_EQ(records.size(), 20u);
    EXPECT_EQ(indexLine(records[0], false), "26-12-06 00-00-00 (04)-");
    EXPECT_EQ(indexLine(records[1], false), "26-11-30 00-00-00 (05)-");
    EXPECT_TRUE(isEmptySlot(records[2]));
    EXPECT_TRUE(isEmptySlot(records[19]));
    EXPECT_EQ(indexRecords(std::vector<std::uint8_t>(18 * 50, 1), 40).size(), 40u);
}
