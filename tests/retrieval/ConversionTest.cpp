// What a received file is stored as: the rules on their own, then the conversion in the unit
// folder.
#include "RetrievalFixture.h"

#include "retrieval/EventDownload.h"
#include "retrieval/MoveWithoutReplacing.h"
#include "retrieval/ReceivedFileRules.h"

#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::RetrievalFixture;

namespace {

QByteArray recording(std::initializer_list<unsigned char> head)
{
    QByteArray bytes(3328, '\0');
    for (int j = 8; j < bytes.size(); ++j)
        bytes[j] = static_cast<char>(j * 7);
    std::copy(head.begin(), head.end(), bytes.begin());
    return bytes;
}

} // namespace

TEST(ReceivedFileRules, TheNameSaysTheKindAndTheFirstSixBytesTheStoredName)
{
    using namespace retrieval;
    EXPECT_EQ(receivedKind("Event_05.EVT"), ReceivedKind::EventRecord);
    EXPECT_EQ(receivedKind("Manual Trigger.ACT"), ReceivedKind::ManualRecording);
    EXPECT_EQ(receivedKind("MR-0101.IDX"), std::nullopt);
    EXPECT_EQ(receivedKind("event_05.evt"), std::nullopt);
    EXPECT_EQ(storedName(std::vector<std::uint8_t>{123, 1, 2, 3, 4, 205, 9, 9}, ReceivedKind::EventRecord),
              "23-01-02 03-04-05.trg");
    // A year of 100 prints as "00": no event (a year byte of 0 is checked in the folder below).
    EXPECT_EQ(storedName(std::vector<std::uint8_t>{100, 3, 9, 20, 37, 55, 2, 1}, ReceivedKind::EventRecord), std::nullopt);
}

TEST(Conversion, AManualRecordingIsStoredWithItsTimeAndSourceZeroedAndAFileWithoutAYearIsDeleted)
{
    RetrievalFixture f;
    frmMaster& w = f.open();
    const QByteArray received = recording({0x17, 0x03, 0x09, 0x14, 0x25, 0x37, 0x02, 0x01});
    f.writeUnitFile("Manual Trigger.ACT", received);
    w.eventDownload->CONVERT_EVENT_FILE("Manual Trigger.ACT");

    EXPECT_EQ(f.storedFiles(), QStringList({"23-03-09 20-37-55.vlt"}));
    QByteArray expected = received;
    expected[5] = expected[6] = 0;
    EXPECT_EQ(f.readUnitFile("23-03-09 20-37-55.vlt"), expected);
    EXPECT_EQ(f.otherFiles(), QStringList());
    EXPECT_EQ(w.filTrig[0]->Files(), QStringList({"23-03-09 20-37-55.vlt"}));

    // The same recording again leaves the one stored first as it was.
    f.writeUnitFile("Manual Trigger.ACT", recording({23, 3, 9, 20, 37, 55, 0, 0}));
    w.eventDownload->CONVERT_EVENT_FILE("Manual Trigger.ACT");
    EXPECT_EQ(f.readUnitFile("23-03-09 20-37-55.vlt"), expected);
    EXPECT_EQ(f.otherFiles(), QStringList());

    // A file without a year is deleted; nothing is made from a file never received.
    f.writeUnitFile("Event_02.EVT", recording({0, 3, 9, 20, 37, 55, 1, 0}));
    w.eventDownload->CONVERT_EVENT_FILE("Event_02.EVT");
    f.writeUnitFile("Event_03.EVT", "12345"); // too short to hold a head
    w.eventDownload->CONVERT_EVENT_FILE("Event_03.EVT");
    // A name that was never received converts nothing and makes nothing.
    w.eventDownload->CONVERT_EVENT_FILE("Event_09.EVT");
    EXPECT_EQ(f.storedFiles(), QStringList({"23-03-09 20-37-55.vlt"}));
    EXPECT_EQ(f.otherFiles(), QStringList());
    EXPECT_TRUE(f.dialogs.shown().empty());
    // A move that cannot be made says so.
    EXPECT_EQ(moveWithoutReplacing(f.unitFolder() + "/Event_09.EVT", f.unitFolder() + "/other.trg"), MoveResult::Failed);
}

