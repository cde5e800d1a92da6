// What a received file is stored as: the rules on their own, the conversion in the unit folder,
// and the manual trigger's recording from the request to the stored ".vlt".
#include "RetrievalFixture.h"

#include "link/ConnectionLifecycle.h"
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

TEST(ManualTrigger, ARecordingIsStoredAsAVltUnderItsTimeWithItsSourceZeroedAFileWithoutAYearIsDeletedAndAFailedTriggerLeavesNothing)
{
    sim::SimOptions options = RetrievalFixture::defaultOptions();
    options.clock = {2026, 12, 6, 12, 34, 56}; // no time field of the unit's recording is 0
    RetrievalFixture f(options);
    frmMaster& w = f.open();
    // First the conversion on its own, of files put in the unit folder.
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

    // Then the trigger, as the user presses it.
    w.connection->ENABLE_CONTROLS(); // as at the end of a log-on
    w.cmdTrigger->click(); // as the user presses it: one manual recording, not two

    // The settings for the model go first, the hardware asking for the trace (mode digit 2).
    EXPECT_TRUE(f.sent.contains("\r\n\r\ng15, 3,0,0,2,006,10,10,0y1")) << f.sent.toHex(' ').toStdString();
    EXPECT_EQ(f.sent.count("y1"), 1);
    QByteArray offered = mr3x::test::bytesOf(f.unit().lastOfferBytes());
    ASSERT_EQ(offered.size(), 11520);
    // Named by the bytes as received.
    const QString name = QString::fromStdString(
        *retrieval::storedName(f.unit().lastOfferBytes(), retrieval::ReceivedKind::ManualRecording));
    offered[5] = offered[6] = 0;
    EXPECT_EQ(f.storedFiles(), QStringList({"23-03-09 20-37-55.vlt", name}));
    EXPECT_EQ(f.readUnitFile(name), offered);
    EXPECT_EQ(f.otherFiles(), QStringList());

    // No ACK: the reception's own last ACK is the last byte sent.
    EXPECT_TRUE(f.sent.endsWith("C\x06"));
    EXPECT_FALSE(f.sent.endsWith("\x06\x06"));
    EXPECT_TRUE(f.unit().confirmedRecords().empty());
    EXPECT_EQ(w.lblStatus->text(), QString("Manual Trigger downloaded"));
    EXPECT_TRUE(w.Watchdog->isActive());
    EXPECT_EQ(w.Comm->WaitTimeout(), 0);

    // A trigger the unit does not hear, then one whose reception fails: nothing more is stored
    // and the watchdog is left off.
    const QStringList stored = f.storedFiles();
    f.unit().faults().silent.push_back({'y', 2});
    for (const QString status : {"Timeout in request for Manual Trigger", "File transfer failed"}) {
        SCOPED_TRACE(status.toStdString());
        w.Watchdog->start();
        f.clearWire();
        const std::int64_t start = f.clock.nowMs();
        w.eventDownload->cmdTrigger_Click();
        EXPECT_EQ(w.lblStatus->text(), status);
        EXPECT_EQ(f.storedFiles(), stored);
        EXPECT_EQ(f.otherFiles(), QStringList());
        EXPECT_FALSE(w.Watchdog->isActive());
        if (status.startsWith("Timeout")) {
            EXPECT_GE(f.clock.nowMs() - start, 15000);
            EXPECT_TRUE(f.sent.endsWith("y1")); // no reception was started
        }
        f.unit().faults().transfer.corruptTimes = 12; // every block of the next reception spoiled
    }
}
