// Downloading the selected events from the simulated unit: what goes on the wire, what is stored,
// and what a failure part-way leaves behind.
#include "RetrievalFixture.h"

#include "retrieval/EventDownload.h"
#include "retrieval/EventIndex.h"

#include <QSignalBlocker>
#include <gtest/gtest.h>

#include <algorithm>

using namespace mr3x;
using mr3x::test::RetrievalFixture;

namespace {

/// The stored names of the unit's slots, in name order.
QStringList storedNames(RetrievalFixture& f, std::initializer_list<int> slotNumbers)
{
    QStringList names;
    for (int slot : slotNumbers)
        names << f.storedNameOfSlot(slot);
    names.sort();
    return names;
}

/// What the program sent after each event request, up to the next one.
QList<QByteArray> afterEachRequest(const QByteArray& sent)
{
    QList<QByteArray> parts;
    qsizetype at = sent.indexOf('f');
    while (at >= 0) {
        const qsizetype next = sent.indexOf('f', at + 3);
        parts << sent.mid(at + 3, next < 0 ? -1 : next - at - 3);
        at = next;
    }
    return parts;
}

} // namespace

TEST(EventDownload, SelectAllThenGetDataStoresEveryMissingEventAndConfirmsEach)
{
    RetrievalFixture f;
    frmMaster& w = f.open();
    f.listUnitIndex();
    w.eventIndex->cmdSelectAll_Click();
    w.eventDownload->cmdGetData_Click();

    // Newest first, each asked for by its slot counted from 0.
    EXPECT_EQ(f.requests(), QStringList({"f11", "f10", "f09", "f08", "f07", "f06", "f05", "f04", "f03", "f02", "f01", "f00"}));
    EXPECT_EQ(f.storedFiles(), storedNames(f, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    for (int slot = 0; slot < 12; ++slot)
        EXPECT_EQ(f.readUnitFile(f.storedNameOfSlot(slot)), RetrievalFixture::bytes(f.unit().eventRecord(slot))) << slot;
    EXPECT_EQ(f.otherFiles(), QStringList());

    // The ACK follows each reception: the receiver's last ACK closes the batch, the next one is
    // the program's, and the unit counts the record as confirmed.
    for (const QByteArray& part : afterEachRequest(f.sent))
        EXPECT_TRUE(part.endsWith("C\x06\x06")) << part.right(8).toHex().toStdString();
    EXPECT_EQ(f.unit().confirmedRecords().size(), 12u);

    for (const QString& line : f.indexLines())
        EXPECT_TRUE(line.startsWith("00-00-00") || line.endsWith("+")) << line.toStdString();
    EXPECT_TRUE(f.selectedLines().isEmpty());
    EXPECT_TRUE(w.Watchdog->isActive());
    EXPECT_EQ(w.filTrig[0]->ListCount(), 12);

    const int at = f.statusHistory.indexOf("Requesting event record 12");
    ASSERT_GE(at, 0);
    EXPECT_EQ(f.statusHistory.at(at + 1), QString("Request for Event 12 acknowledged"));
    EXPECT_TRUE(f.statusHistory.at(at + 2).endsWith(" bytes transferred"));
    EXPECT_TRUE(f.statusHistory.contains("Event 12 received"));
    EXPECT_EQ(w.lblStatus->text(), QString("Event 01 received"));
}

TEST(EventDownload, OnlySelectedMissingEventsAreAskedForByTheirShownNumberLessOne)
{
    RetrievalFixture f;
    frmMaster& w = f.open();
    f.listUnitIndex();
    // Stored since the list was made: its line still reads "-".
    f.writeUnitFile(f.storedNameOfSlot(4), "stored before");
    {
        // Selected behind the selection rule's back.
        const QSignalBlocker quiet(w.lstIndex);
        QListWidgetItem* marked = w.lstIndex->item(f.rowOfSlot(6));
        marked->setText(marked->text().left(22) + "+");
        w.lstIndex->item(19)->setSelected(true);
        w.lstIndex->item(f.rowOfSlot(6))->setSelected(true);
        w.lstIndex->item(f.rowOfSlot(4))->setSelected(true);
    }
    w.eventDownload->cmdGetData_Click();
    EXPECT_EQ(f.requests(), QStringList());
    EXPECT_EQ(f.readUnitFile(f.storedNameOfSlot(4)), QByteArray("stored before"));
    EXPECT_TRUE(w.Watchdog->isActive());

    // Records 01 and 10, newest first; a double click on the list runs the same download.
    f.select(f.rowOfSlot(0));
    f.select(f.rowOfSlot(9));
    w.eventIndex->lstIndex_DblClick();
    EXPECT_EQ(f.requests(), QStringList({"f09", "f00"}));
    EXPECT_EQ(f.storedFiles(), storedNames(f, {0, 4, 9}));
}

TEST(EventDownload, AFailurePartWayKeepsTheEventsStoredBeforeItAndNothingHalfMade)
{
    struct Case {
        const char* name;
        sim::SimFaults faults;
        QString lastStatus;
    };
    std::vector<Case> cases;
    {
        sim::SimFaults silent;
        silent.silent.push_back({'f', 3});
        cases.push_back({"no answer to the third request", silent, "Timeout acknowledging request for Event 10"});
        sim::SimFaults corrupt;
        corrupt.faultyTransfer = 3;
        corrupt.transfer.corruptFromBlock = 5;
        corrupt.transfer.corruptTimes = 12;
        cases.push_back({"a corrupted transfer", corrupt, "File transfer failed"});
        sim::SimFaults stall;
        stall.faultyTransfer = 3;
        stall.transfer.stallAfterBytes = 4000;
        stall.transfer.stallMs = -1;
        cases.push_back({"a stalled transfer", stall, "File transfer failed"});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        sim::SimOptions options = RetrievalFixture::defaultOptions();
        options.faults = c.faults;
        RetrievalFixture f(options);
        frmMaster& w = f.open();
        f.listUnitIndex();
        w.eventIndex->cmdSelectAll_Click();
        w.eventDownload->cmdGetData_Click();

        EXPECT_EQ(w.lblStatus->text(), c.lastStatus);
        EXPECT_EQ(f.requests(), QStringList({"f11", "f10", "f09"})); // nothing after the failure
        EXPECT_EQ(f.storedFiles(), storedNames(f, {11, 10}));
        EXPECT_EQ(f.otherFiles(), QStringList()); // no Event_10.EVT, no temporary file
        EXPECT_TRUE(f.indexLines().at(f.rowOfSlot(9)).endsWith("-"));
        EXPECT_EQ(f.unit().confirmedRecords(), (std::set<int>{11, 10})); // no ACK for the failed one
        EXPECT_FALSE(w.Watchdog->isActive());
        EXPECT_FALSE(f.statusHistory.contains("Event 10 received"));
    }
}

TEST(EventDownload, AReceivedEventAlreadyStoredLeavesTheStoredFileAsItWas)
{
    RetrievalFixture f;
    frmMaster& w = f.open();
    f.listUnitIndex();
    f.select(f.rowOfSlot(5));
    w.eventDownload->cmdGetData_Click();
    const QString stored = f.storedNameOfSlot(5);
    const QByteArray first = f.readUnitFile(stored);
    ASSERT_EQ(first, RetrievalFixture::bytes(f.unit().eventRecord(5)));

    // The same event arrives again, with different samples.
    QByteArray again = first;
    again[100] = static_cast<char>(again[100] ^ 0x55);
    f.writeUnitFile("Event_06.EVT", again);
    w.eventDownload->CONVERT_EVENT_FILE("Event_06.EVT");
    EXPECT_EQ(f.readUnitFile(stored), first);
    EXPECT_EQ(f.otherFiles(), QStringList());
    EXPECT_EQ(f.storedFiles(), QStringList({stored}));
}

TEST(EventDownload, GetDataIsRefusedWhileTheLinkIsBusyOrClosed)
{
    RetrievalFixture f;
    frmMaster& w = f.open();
    f.listUnitIndex();
    w.eventIndex->cmdSelectAll_Click();

    // A second Get Data while the first one waits between its exchanges.
    int refusals = 0;
    QObject::connect(w.lblStatus, &EventLabel::Change, w.lblStatus, [&] {
        if (w.lblStatus->text() == "Request for Event 12 acknowledged") {
            w.eventDownload->cmdGetData_Click();
            w.eventDownload->cmdTrigger_Click();
            ++refusals;
        }
    });
    w.eventDownload->cmdGetData_Click();
    ASSERT_EQ(refusals, 1);
    ASSERT_EQ(f.dialogs.shown().size(), 2u);
    EXPECT_EQ(f.dialogs.shown()[0].text, QString("Communications in progress"));
    EXPECT_EQ(f.dialogs.shown()[0].buttons, MsgButtons::Ok);
    EXPECT_EQ(f.dialogs.shown()[1].title, QString("AC Check"));
    EXPECT_EQ(f.requests().size(), 12);
    EXPECT_EQ(f.storedFiles().size(), 12);

    // While a reception runs.
    f.dialogs.clear();
    f.clearWire();
    w.Comm->setReceiveFolder(f.unitFolder());
    w.Comm->setReceiveFile("Other.bin");
    ASSERT_EQ(w.Comm->TransferState(), 4);
    w.eventDownload->cmdGetData_Click();
    ASSERT_EQ(f.dialogs.shown().size(), 1u);
    EXPECT_EQ(f.dialogs.last()->text, QString("Communications in progress"));
    EXPECT_EQ(f.dialogs.last()->title, QString());
    EXPECT_EQ(f.requests(), QStringList());

    // With the port closed.
    w.Comm->setPortOpen(false);
    f.dialogs.clear();
    w.eventDownload->cmdGetData_Click();
    ASSERT_EQ(f.dialogs.shown().size(), 1u);
    EXPECT_EQ(f.dialogs.last()->text, QString("No connection to unit "));
    EXPECT_EQ(f.dialogs.last()->buttons, MsgButtons::Ok);
    EXPECT_EQ(f.requests(), QStringList());
}
