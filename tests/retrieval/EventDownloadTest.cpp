// Listing the unit's index, its stored marks, the last-index lists and the selection rules; then
// downloading the selected events from the simulated unit: what goes on the wire, what is stored,
// and what a failure part-way leaves behind.
#include "RetrievalFixture.h"

#include "retrieval/EventDownload.h"
#include "unitsettings/SettingCommands.h"
#include "unitsettings/UnitSettings.h"

#include <QDir>
#include <QFile>
#include <QSignalBlocker>
#include <QTimer>
#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::bytesOf;
using mr3x::test::RetrievalFixture;

namespace {

/// An index file of 18-byte records: slot, 0, date (3), time (3), ten zeros.
QByteArray indexFile(const std::vector<std::array<char, 7>>& records)
{
    QByteArray file;
    for (const auto& r : records)
        file += QByteArray(1, r[0]) + '\0' + QByteArray(r.data() + 1, 6) + QByteArray(10, '\0');
    return file;
}

const QString EmptySlot = "00-00-00 00-00-00 (00)-";

} // namespace

TEST(EventIndex, TheListShowsTheIndexWithStoredMarksOnlyMissingEventsStaySelectedAndGetIndexKeepsTheLastUnanswered)
{
    // The unit does not answer the first request for its index (Get Index, at the end).
    sim::SimOptions options = RetrievalFixture::defaultOptions();
    options.faults.silent.push_back({'p', 1});
    RetrievalFixture f(options);
    frmMaster& w = f.open();
    // Without an index file every slot is empty, and reading does not make the file.
    w.eventIndex->FILL_INDEX_LIST();
    EXPECT_EQ(f.indexLines(), QStringList(20, EmptySlot));
    EXPECT_FALSE(QFile::exists(f.unitFolder() + "/MR-0101.IDX"));

    f.writeUnitFile("MR-0101.IDX", indexFile({{6, 5, 12, 26, 14, 3, 22}, {0, 0, 0, 0, 0, 0, 0},
                                              {7, 26, 11, 30, 9, 15, 0}, {1, 26, 12, 1, 23, 59, 59}}));
    f.writeUnitFile("26-11-30 09-15-00.trg", "stored");
    f.writeUnitFile("26-12-01 23-59-59.vlt", "a manual recording does not count");
    w.eventIndex->FILL_INDEX_LIST();
    const QStringList lines = f.indexLines();
    ASSERT_EQ(lines.size(), 20);
    EXPECT_EQ(lines.mid(0, 4), QStringList({"26-12-01 23-59-59 (02)-", "26-11-30 09-15-00 (08)+",
                                             "05-12-26 14-03-22 (07)-", EmptySlot}));
    EXPECT_EQ(lines.count(EmptySlot), 17);
    EXPECT_FALSE(w.fraIndex->isHidden());
    EXPECT_TRUE(f.selectedLines().isEmpty());

    // The last-index lists read the model of their own viewer slot, not the connected unit's,
    // in their own line form, and leave the event index alone.
    w.eventSlot[1].lblUnit->setText("M-S32");
    w.eventIndex->FILL_LAST_INDEX(1);
    ASSERT_EQ(w.eventSlot[1].lstLastIndex->count(), 40);
    EXPECT_EQ(w.eventSlot[1].lstLastIndex->item(1)->text(), QString("26-11-30 09-15-00   08 +"));
    w.eventIndex->FILL_LAST_INDEX(0);
    EXPECT_EQ(w.eventSlot[0].lstLastIndex->count(), 20);
    EXPECT_EQ(f.indexLines().size(), 20);

    // Only events missing on the PC stay selected.
    // Three stored events are the newest, so the first line that may be selected is the fourth.
    std::vector<std::array<char, 7>> records;
    for (char day = 1; day <= 8; ++day)
        records.push_back({static_cast<char>(day - 1), 26, 10, day, 12, 0, 0});
    f.writeUnitFile("MR-0101.IDX", indexFile(records));
    for (const char* name : {"26-10-08 12-00-00.trg", "26-10-07 12-00-00.trg", "26-10-06 12-00-00.trg"})
        f.writeUnitFile(name, "stored");
    w.eventIndex->FILL_INDEX_LIST();
    w.lstIndex->setFixedSize(200, 4 * w.lstIndex->sizeHintForRow(0) + 2 * w.lstIndex->frameWidth());
    w.lstIndex->show();

    // A click on a stored line or an empty slot leaves it unselected; others stay.
    for (int row : {0, 19, 3})
        f.select(row);
    EXPECT_EQ(f.selectedLines(), QStringList({"26-10-05 12-00-00 (05)-"}));

    w.eventIndex->cmdSelectAll_Click();
    EXPECT_EQ(f.selectedLines().size(), 5);
    EXPECT_EQ(f.selectedLines().last(), QString("26-10-01 12-00-00 (01)-"));
    EXPECT_EQ(w.lstIndex->indexAt(QPoint(2, 2)).row(), 3); // the first selected line is at the top

    // An event stored since is marked and leaves the selection.
    f.writeUnitFile("26-10-05 12-00-00.trg", "stored");
    w.eventIndex->REMARK_INDEX();
    EXPECT_EQ(f.indexLines().at(3), QString("26-10-05 12-00-00 (05)+"));
    EXPECT_EQ(f.selectedLines().size(), 4);

    w.eventIndex->cmdClearAll_Click();
    EXPECT_TRUE(f.selectedLines().isEmpty());

    // Get Index keeps the last index when the unit does not answer, and otherwise fetches and
    // lists the unit's.
    const QByteArray older = indexFile({{6, 5, 12, 26, 14, 3, 22}});
    f.writeUnitFile("MR-0101.IDX", older);

    w.eventIndex->cmdGetIndex_Click();
    EXPECT_TRUE(f.statusHistory.contains("Timeout acknowledging request for index file"));
    EXPECT_EQ(w.lblStatus->text(), QString("File transfer failed"));
    EXPECT_EQ(f.readUnitFile("MR-0101.IDX"), older);
    EXPECT_EQ(f.otherFiles(), QStringList());
    EXPECT_EQ(f.indexLines().value(0), QString("05-12-26 14-03-22 (07)-"));
    EXPECT_EQ(w.Comm->WaitTimeout(), 0);

    f.clearWire();
    w.eventIndex->cmdGetIndex_Click();
    EXPECT_EQ(f.sent.left(1), QByteArray("p"));
    EXPECT_EQ(f.readUnitFile("MR-0101.IDX"), mr3x::test::bytesOf(f.unit().indexFile()));
    EXPECT_EQ(f.indexLines().count(EmptySlot), 8);
    EXPECT_EQ(f.indexLines().value(0).mid(18), QString("(12)-")); // the unit's newest event is in its last slot
    EXPECT_TRUE(w.cmdGetData->isEnabled());
}

TEST(EventDownload, SelectAllThenGetDataStoresEveryMissingEventConfirmsEachAndRefusesEveryOtherUnitCommand)
{
    RetrievalFixture f;
    frmMaster& w = f.open();
    f.listUnitIndex();
    w.eventIndex->cmdSelectAll_Click();
    const auto pressAll = [&] {
        w.eventDownload->cmdGetData_Click();
        w.eventDownload->cmdTrigger_Click(); // under its own title
        w.settingCommands->cmdSetID_Click();
        w.unitSettings->GET_SETTINGS();
        w.eventIndex->cmdGetIndex_Click();
        emit w.cmdArm->MouseDown(Qt::LeftButton);
    };
    // Clicks that reach the window while a Get Data pauses between its exchanges, and again
    // while its first reception runs: each request would land in the middle of the download.
    f.whenStatus("Request for Event 12 acknowledged", pressAll);
    bool pressed = false;
    QObject::connect(w.Comm, &SerialControl::Progress, w.lblStatus, [&] {
        if (!std::exchange(pressed, true))
            QTimer::singleShot(0, w.lblStatus, pressAll);
    });
    w.eventDownload->cmdGetData_Click();

    // Newest first, each asked for by its slot counted from 0.
    EXPECT_EQ(f.requests(), QStringList({"f11", "f10", "f09", "f08", "f07", "f06", "f05", "f04", "f03", "f02", "f01", "f00"}));
    EXPECT_EQ(f.storedFiles(), f.storedNames({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    for (int slot = 0; slot < 12; ++slot)
        EXPECT_EQ(f.readUnitFile(f.storedNameOfSlot(slot)), bytesOf(f.unit().eventRecord(slot))) << slot;
    EXPECT_EQ(f.otherFiles(), QStringList());

    // The ACK follows each reception: the receiver's last ACK closes the batch, the next one is
    // the program's, before the next request.
    const QList<QByteArray> batches = f.sent.split('f');
    for (qsizetype i = 1; i < batches.size(); ++i)
        EXPECT_TRUE(batches[i].endsWith("C\x06\x06")) << batches[i].right(8).toHex().toStdString();
    EXPECT_EQ(f.unit().confirmedRecords().size(), 12u);

    for (const QString& line : f.indexLines())
        EXPECT_TRUE(line.startsWith("00-00-00") || line.endsWith("+")) << line.toStdString();
    EXPECT_TRUE(f.selectedLines().isEmpty());
    EXPECT_TRUE(w.Watchdog->isActive());
    EXPECT_EQ(w.filTrig[0]->ListCount(), 12);
    EXPECT_EQ(w.lblStatus->text(), QString("Event 01 received"));

    // Each click was refused and sent nothing.
    EXPECT_TRUE(pressed);
    EXPECT_EQ(f.dialogs.messageTexts(), QStringList(12, "Communications in progress"));
    EXPECT_EQ(f.dialogs.shown()[1].title, QString("AC Check"));
    EXPECT_FALSE(f.sent.contains('p') || f.sent.contains('X') || f.sent.contains('N') || f.sent.contains("y1"));
    EXPECT_FALSE(f.unit().armed());

    // While a reception runs outside any download, and with the port closed.
    w.Comm->setReceiveFolder(f.unitFolder());
    w.Comm->setReceiveFile("Other.bin");
    ASSERT_EQ(w.Comm->TransferState(), 4);
    f.clearWire();
    f.dialogs.clear();
    pressAll();
    EXPECT_EQ(f.dialogs.messageTexts(), QStringList(6, "Communications in progress"));
    w.Comm->setPortOpen(false);
    f.dialogs.clear();
    w.eventDownload->cmdGetData_Click();
    w.eventDownload->cmdTrigger_Click();
    EXPECT_EQ(f.dialogs.messageTexts(), (QStringList{"No connection to unit ", "No connection to "}));
    EXPECT_EQ(f.dialogs.last()->title, QString("AC Check"));
    EXPECT_EQ(f.requests(), QStringList());
    EXPECT_FALSE(f.sent.contains("y1"));
    EXPECT_FALSE(w.chkFileTransfer->isChecked()); // a refused trigger changes nothing
}

TEST(EventDownload, OnlySelectedMissingEventsAreAskedForAndStoredWithTheUnitTheyCameFromWhateverUnitIsChosenSince)
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
        for (int row : {19, f.rowOfSlot(6), f.rowOfSlot(4)})
            w.lstIndex->item(row)->setSelected(true);
    }
    w.eventDownload->cmdGetData_Click();
    EXPECT_EQ(f.requests(), QStringList());
    EXPECT_EQ(f.readUnitFile(f.storedNameOfSlot(4)), QByteArray("stored before"));

    // Records 01 and 10, newest first; a double click on the list runs the same download.
    f.select(f.rowOfSlot(0));
    f.select(f.rowOfSlot(9));
    w.eventIndex->lstIndex_DblClick();
    EXPECT_EQ(f.requests(), QStringList({"f09", "f00"}));
    EXPECT_EQ(f.storedFiles(), f.storedNames({0, 4, 9}));
    EXPECT_EQ(f.otherFiles(), QStringList());

    // The rest, while the user chooses another unit: the selector chain stays live while a
    // reception lets window events run, and each event is stored with the unit it came from.
    const QString other = f.addSecondUnit();
    w.eventIndex->cmdSelectAll_Click();
    f.whenStatus("Request for Event 12 acknowledged", [&] { w.cboUnits[0]->setCurrentText("MR-0102"); });
    w.eventDownload->cmdGetData_Click();
    EXPECT_EQ(w.filTrig[0]->Path(), other);
    EXPECT_EQ(f.storedFiles(), f.storedNames({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
    EXPECT_EQ(f.otherFiles(), QStringList());
    EXPECT_EQ(QDir(other).entryList(QDir::Files), QStringList());
    EXPECT_EQ(f.unit().confirmedRecords().size(), 11u); // all but the one stored before
}

TEST(EventDownload, AFailurePartWayKeepsTheEventsStoredBeforeItAndNothingHalfMade)
{
    // How a reception fails is the reception's business (CommandExchangeTest); one failed
    // reception and one unanswered request stand for them here.
    sim::SimFaults silentThird, corrupt;
    silentThird.silent.push_back({'f', 3});
    corrupt.faultyTransfer = 3;
    corrupt.transfer.corruptFromBlock = 5;
    corrupt.transfer.corruptTimes = 12;
    const std::tuple<const char*, sim::SimFaults, QString> cases[] = {
        {"no answer to the third request", silentThird, "Timeout acknowledging request for Event 10"},
        {"a corrupted transfer", corrupt, "File transfer failed"}};
    for (const auto& [name, faults, lastStatus] : cases) {
        SCOPED_TRACE(name);
        sim::SimOptions options = RetrievalFixture::defaultOptions();
        options.faults = faults;
        RetrievalFixture f(options);
        frmMaster& w = f.open();
        f.listUnitIndex();
        w.eventIndex->cmdSelectAll_Click();
        w.eventDownload->cmdGetData_Click();

        EXPECT_EQ(w.lblStatus->text(), lastStatus);
        EXPECT_EQ(f.requests(), QStringList({"f11", "f10", "f09"})); // nothing after the failure
        EXPECT_EQ(f.storedFiles(), f.storedNames({11, 10}));
        EXPECT_EQ(f.otherFiles(), QStringList()); // no Event_10.EVT, no temporary file
        EXPECT_TRUE(f.indexLines().at(f.rowOfSlot(9)).endsWith("-"));
        EXPECT_EQ(f.unit().confirmedRecords(), (std::set<int>{11, 10})); // no ACK for the failed one
        EXPECT_FALSE(w.Watchdog->isActive());
    }
}
