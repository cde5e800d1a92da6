// The index file's records and the lines the program lists them by.
#include "retrieval/IndexLines.h"

#include <gtest/gtest.h>

using namespace mr3x::retrieval;

namespace {

IndexRecord record(std::uint8_t slot, std::array<std::uint8_t, 6> dateAndTime)
{
    IndexRecord r;
    r.bytes[0] = slot;
    r.bytes[1] = 99; // not used by the program
    std::copy(dateAndTime.begin(), dateAndTime.end(), r.bytes.begin() + 2);
    r.bytes[17] = 42;
    return r;
}

} // namespace

TEST(IndexLines, ARecordBecomesItsIndexLineAndLastIndexLine)
{
    const IndexRecord r = record(6, {5, 12, 26, 14, 3, 22});
    EXPECT_EQ(eventName(r), "05-12-26 14-03-22");
    EXPECT_EQ(slotText(r), "07");
    EXPECT_EQ(indexLine(r, false), "05-12-26 14-03-22 (07)-");
    EXPECT_EQ(indexLine(r, true), "05-12-26 14-03-22 (07)+");
    EXPECT_EQ(indexLine(r, false).size(), indexLineLength);
    EXPECT_EQ(lastIndexLine(r, false), "05-12-26 14-03-22   07 -");
    EXPECT_EQ(lastIndexLine(r, true).size(), lastIndexLineLength);
}

TEST(IndexLines, EveryByteKeepsItsLastTwoDigits)
{
    EXPECT_EQ(slotText(record(255, {1, 1, 1, 0, 0, 0})), "56");
    EXPECT_EQ(slotText(record(99, {1, 1, 1, 0, 0, 0})), "00");
    EXPECT_EQ(indexLine(record(0, {123, 7, 255, 9, 200, 0}), false), "23-07-55 09-00-00 (01)-");
}

TEST(IndexLines, AnEmptySlotShowsZerosWhateverItsSlotByte)
{
    const IndexRecord empty = record(5, {0, 0, 0, 10, 11, 12});
    EXPECT_TRUE(isEmptySlot(empty));
    EXPECT_EQ(indexLine(empty, false), "00-00-00 10-11-12 (00)-");
    EXPECT_EQ(indexLine(IndexRecord{}, false), "00-00-00 00-00-00 (00)-");
    // A date whose bytes only print as zeros is empty too: the lines are all the list knows.
    EXPECT_TRUE(isEmptySlot(record(5, {100, 200, 0, 1, 2, 3})));
    EXPECT_FALSE(isEmptySlot(record(5, {0, 0, 1, 0, 0, 0})));
}

TEST(IndexLines, OnlyAnExactMS32ReadsFortyRecords)
{
    EXPECT_EQ(indexRecordCount("M-S32"), 40);
    EXPECT_EQ(indexRecordCount("M-R32"), 20);
    EXPECT_EQ(indexRecordCount(""), 20);
    EXPECT_EQ(indexRecordCount("m-s32"), 20);
    EXPECT_EQ(indexRecordCount("M-S32 "), 20);
}

TEST(IndexLines, AShortOrEmptyFileReadsAsEmptySlots)
{
    std::vector<std::uint8_t> file(18 + 5, 0);
    file[0] = 3;
    file[2] = 26;
    file[3] = 12;
    file[4] = 6;
    file[18] = 4;      // a second record cut off after its date's first two bytes
    file[20] = 26;
    file[21] = 11;
    file[22] = 30;     // the last byte present
    const std::vector<IndexRecord> records = indexRecords(file, 20);
    ASSERT_EQ(records.size(), 20u);
    EXPECT_EQ(indexLine(records[0], false), "26-12-06 00-00-00 (04)-");
    EXPECT_EQ(indexLine(records[1], false), "26-11-30 00-00-00 (05)-");
    for (std::size_t i = 2; i < records.size(); ++i)
        EXPECT_TRUE(isEmptySlot(records[i])) << i;

    EXPECT_EQ(indexRecords({}, 40).size(), 40u);
    EXPECT_TRUE(isEmptySlot(indexRecords({}, 40).back()));

    // Records past the count are not read, however long the file.
    std::vector<std::uint8_t> longFile(18 * 50, 1);
    EXPECT_EQ(indexRecords(longFile, 20).size(), 20u);
}

TEST(IndexLines, ALineIsReadBackByItsPositions)
{
    const std::string line = "05-12-26 14-03-22 (07)-";
    EXPECT_EQ(lineEventName(line), "05-12-26 14-03-22");
    EXPECT_EQ(lineSlotText(line), "07");
    EXPECT_FALSE(lineIsEmptySlot(line));
    EXPECT_FALSE(lineIsStored(line));
    EXPECT_TRUE(lineIsWanted(line));
    EXPECT_EQ(remarkedLine(line, true), "05-12-26 14-03-22 (07)+");
    EXPECT_EQ(remarkedLine(remarkedLine(line, true), false), line);

    EXPECT_TRUE(lineIsStored("05-12-26 14-03-22 (07)+"));
    EXPECT_FALSE(lineIsWanted("05-12-26 14-03-22 (07)+"));
    EXPECT_TRUE(lineIsEmptySlot("00-00-00 00-00-00 (00)-"));
    EXPECT_FALSE(lineIsWanted("00-00-00 00-00-00 (00)-"));
    // A line of no known form is never taken for download.
    EXPECT_FALSE(lineIsWanted(""));
    EXPECT_EQ(lineSlotText("short"), "");
}
