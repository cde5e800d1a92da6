// The slots' event lists: lines under each filter, the item data that leads from a line to its
// file, slot 0 leading slot 1, deletion with its questions, and the lists after a download.
#include "ViewerFixture.h"

#include "retrieval/EventDownload.h"
#include "retrieval/RetrievalFixture.h"

#include <QFileInfo>
#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::EventFile;
using mr3x::test::ViewerFixture;

namespace {

/// Four files in name order: a short manual recording, a long event (record 4), a short event
/// (record 9) and a long manual recording.
void writeFourEvents(const ViewerFixture& f)
{
    f.writeEvent("26-12-01 10-00-00.vlt", EventFile(false));
    f.writeEvent("26-12-02 11-00-00.trg", EventFile(true).trailer(16, 4));
    f.writeEvent("26-12-03 12-00-00.trg", EventFile(false).trailer(16, 9));
    f.writeEvent("26-12-04 13-00-00.vlt", EventFile(true));
}

} // namespace

TEST(EventLists, EachFilterShowsItsLinesAndEveryLineLeadsToItsOwnFile)
{
    ViewerFixture f;
    writeFourEvents(f);
    frmMaster& w = f.open();
    EXPECT_EQ(f.lines(0), QStringList({"26-12-01 10-00-00 (AC)", "26-12-02 11-00-00 (05)", "26-12-03 12-00-00 (10)",
                                       "26-12-04 13-00-00 (MT)"}));

    // Slot 0's filter is copied to slot 1, and the filter hides files: the lines' item data
    // still name their files' places in the file list.
    w.eventSlot[0].optTrg->setChecked(true);
    EXPECT_EQ(f.lines(0), QStringList({"26-12-02 11-00-00 (05)", "26-12-03 12-00-00 (10)"}));
    EXPECT_TRUE(w.eventSlot[1].optTrg->isChecked());
    EXPECT_EQ(f.lines(1), f.lines(0));
    EXPECT_EQ(w.eventSlot[0].lstTrig->item(0)->data(Qt::UserRole).toInt(), 1);
    EXPECT_EQ(w.eventSlot[0].lstTrig->item(1)->data(Qt::UserRole).toInt(), 2);
    f.choose(0, 0);
    EXPECT_EQ(w.eventSlot[0].lblEventFile->text(), QDir::toNativeSeparators("Feeder 7 Fault/North Yard/MR-0101/26-12-02 11-00-00.trg"));
    EXPECT_EQ(w.eventViewer->filePath(0), f.unitFolder() + "/26-12-02 11-00-00.trg");

    // Slot 1's filter is its own.
    w.eventSlot[1].optVlt->setChecked(true);
    EXPECT_EQ(f.lines(1), QStringList({"26-12-01 10-00-00 (AC)", "26-12-04 13-00-00 (MT)"}));
    EXPECT_EQ(f.lines(0).size(), 2);
    EXPECT_TRUE(w.eventSlot[0].optTrg->isChecked());

    // A ".trg" file of neither length is still listed, so it can be chosen and dealt with.
    f.writeFile("26-12-05 14-00-00.trg", QByteArray(5000, '\x01'));
    f.relist(0);
    EXPECT_EQ(f.lines(0).last(), QString("26-12-05 14-00-00 (--)"));
}

TEST(EventLists, DeletingAsksTwiceAndListsWhatIsLeftInBothSlots)
{
    ViewerFixture f;
    writeFourEvents(f);
    frmMaster& w = f.open();
    const QString doomed = f.unitFolder() + "/26-12-02 11-00-00.trg";

    // Nothing chosen: the right button does nothing.
    w.eventSlot[0].lstTrig->setCurrentRow(-1);
    w.eventLists->lstTrig_MouseDown(0, Qt::RightButton);
    EXPECT_TRUE(f.dialogs.shown().empty());

    f.choose(0, 1);
    f.dialogs.clear();
    f.dialogs.answer(MsgAnswer::No);
    w.eventLists->lstTrig_MouseDown(0, Qt::RightButton);
    f.dialogs.answer(MsgAnswer::Yes);
    f.dialogs.answer(MsgAnswer::No);
    w.eventLists->lstTrig_MouseDown(0, Qt::RightButton);
    EXPECT_TRUE(QFileInfo::exists(doomed));
    // The left button never deletes.
    w.eventLists->lstTrig_MouseDown(0, Qt::LeftButton);
    ASSERT_EQ(f.dialogs.shown().size(), 3u);
    EXPECT_EQ(f.dialogs.shown()[0].text, QString("Do you wish to delete 26-12-02 11-00-00.trg ?"));
    EXPECT_EQ(f.dialogs.shown()[0].icon, MsgIcon::Question);
    EXPECT_EQ(f.dialogs.shown()[2].text, QString("Are you sure you wish to delete 26-12-02 11-00-00.trg ?"));
    EXPECT_EQ(f.dialogs.shown()[2].icon, MsgIcon::Critical);
    EXPECT_EQ(f.dialogs.shown()[2].buttons, MsgButtons::YesNo);

    f.dialogs.answer(MsgAnswer::Yes);
    f.dialogs.answer(MsgAnswer::Yes);
    w.eventLists->lstTrig_MouseDown(0, Qt::RightButton);
    EXPECT_FALSE(QFileInfo::exists(doomed));
    EXPECT_EQ(f.lines(0), QStringList({"26-12-01 10-00-00 (AC)", "26-12-03 12-00-00 (10)", "26-12-04 13-00-00 (MT)"}));
    EXPECT_EQ(f.lines(1), f.lines(0));
    EXPECT_TRUE(w.eventSlot[0].lblEventFile->text().isEmpty());
    EXPECT_TRUE(w.eventSlot[0].picvolts->Runs().empty());
}

TEST(EventLists, AFileCannotBeDeletedWhileAFileIsBeingReceived)
{
    test::RetrievalFixture f;
    frmMaster& w = f.open();
    f.writeUnitFile("26-12-02 11-00-00.trg", EventFile(true).bytes());
    w.filTrig[0]->Refresh();
    w.eventLists->FILL_EVENT_LIST(0);
    w.eventSlot[0].lstTrig->setCurrentRow(0);
    f.dialogs.clear();

    // A reception waiting for its sender holds the link.
    w.Comm->setReceiveFolder(f.unitFolder());
    w.Comm->setReceiveFile("Event_01.EVT");
    ASSERT_EQ(w.Comm->TransferState(), 4);
    w.eventLists->lstTrig_MouseDown(0, Qt::RightButton);
    ASSERT_EQ(f.dialogs.shown().size(), 1u);
    EXPECT_EQ(f.dialogs.last()->text, QString("Files cannot be deleted during file transfers"));
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Information);
    EXPECT_TRUE(QFileInfo::exists(f.unitFolder() + "/26-12-02 11-00-00.trg"));
}

TEST(EventLists, DownloadedEventsAppearInBothListsAndShowHealthyPhasesAtMainsVoltage)
{
    test::RetrievalFixture f;
    frmMaster& w = f.open();
    f.listUnitIndex();
    w.eventIndex->cmdSelectAll_Click();
    w.eventDownload->cmdGetData_Click();

    // Both chains show the one unit: both lists fill after the conversions.
    ASSERT_EQ(w.eventSlot[0].lstTrig->count(), 12);
    EXPECT_EQ(w.eventSlot[1].lstTrig->count(), 12);
    const QString first = w.eventSlot[0].lstTrig->item(0)->text();
    EXPECT_TRUE(first.startsWith(f.storedNameOfSlot(0).left(17))) << first.toStdString();
    EXPECT_TRUE(first.endsWith("(01)")) << first.toStdString();

    w.eventSlot[0].lstTrig->setCurrentRow(0);
    EXPECT_EQ(w.eventSlot[0].lblUnit->text(), QString("M-R32"));
    EXPECT_EQ(w.eventSlot[0].lblTrailerJob->text().trimmed(), QString("Feeder 7 Fault"));
    EXPECT_EQ(w.eventSlot[0].picvolts->Runs().size(), 64u + 4u);

    // Late in the recording, two of the three phases are healthy whatever phase dipped.
    w.eventSlot[0].tbsEvents->setCurrentIndex(2);
    w.waveforms->picvolts_MouseDown(0, Qt::LeftButton, 7590);
    int healthy = 0;
    for (int c = 0; c < 3; ++c) {
        const QString meter = w.eventSlot[0].lblMeter[c]->text();
        const int rms = meter.section('(', 1).section(' ', 0, 0).toInt();
        healthy += rms >= 222 && rms <= 238 ? 1 : 0;
    }
    EXPECT_GE(healthy, 2) << w.eventSlot[0].lblMeter[0]->text().toStdString();
    EXPECT_TRUE(w.eventSlot[0].lblMeter[3]->text().endsWith("amps rms)"));
}
