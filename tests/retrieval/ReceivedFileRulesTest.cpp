// What a received file is stored as.
#include "retrieval/ReceivedFileRules.h"

#include <gtest/gtest.h>

#include <vector>

using namespace mr3x::retrieval;

TEST(ReceivedFileRules, TheNameTellsAnEventRecordFromAManualRecording)
{
    EXPECT_EQ(receivedKind("Event_05.EVT"), ReceivedKind::EventRecord);
    EXPECT_EQ(receivedKind("Manual Trigger.ACT"), ReceivedKind::ManualRecording);
    EXPECT_EQ(receivedKind("MR-0101.IDX"), std::nullopt);
    EXPECT_EQ(receivedKind("event_05.evt"), std::nullopt);
}

TEST(ReceivedFileRules, TheStoredNameComesFromTheFirstSixBytes)
{
    const std::vector<std::uint8_t> manual = {0x17, 0x03, 0x09, 0x14, 0x25, 0x37, 0x02, 0x01};
    EXPECT_EQ(storedName(manual, ReceivedKind::ManualRecording), "23-03-09 20-37-55.vlt");
    EXPECT_EQ(storedName(manual, ReceivedKind::EventRecord), "23-03-09 20-37-55.trg");
    const std::vector<std::uint8_t> wide = {123, 1, 2, 3, 4, 205, 9, 9};
    EXPECT_EQ(storedName(wide, ReceivedKind::EventRecord), "23-01-02 03-04-05.trg");
}

TEST(ReceivedFileRules, AFileWithoutAYearOrAHeadHoldsNoEvent)
{
    EXPECT_EQ(storedName(std::vector<std::uint8_t>{0, 3, 9, 20, 37, 55, 2, 1}, ReceivedKind::EventRecord), std::nullopt);
    // 100 prints as "00" as well.
    EXPECT_EQ(storedName(std::vector<std::uint8_t>{100, 3, 9, 20, 37, 55, 2, 1}, ReceivedKind::EventRecord), std::nullopt);
    EXPECT_EQ(storedName(std::vector<std::uint8_t>{23, 3, 9, 20, 37}, ReceivedKind::EventRecord), std::nullopt);
    EXPECT_EQ(storedName({}, ReceivedKind::ManualRecording), std::nullopt);
}
