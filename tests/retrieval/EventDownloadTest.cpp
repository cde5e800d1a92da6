// Downloading the selected events from the simulated unit: what goes on the wire, what is stored,
// and what a failure part-way leaves behind.
#include "RetrievalFixture.h"

#include "retrieval/EventDownload.h"
#include "unitsettings/SettingCommands.h"
#include "unitsettings/UnitSettings.h"

#include <QDir>
#include <QSignalBlocker>
#include <QTimer>
#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::bytesOf;
using mr3x::test::RetrievalFixture;

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
