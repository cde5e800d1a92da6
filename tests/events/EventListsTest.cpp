// The slots' event lists: the collector's new events marked, deletion with its questions, the item
// data that leads from a line to its file, slot 0's filter leading slot 1, and the lists after a
// download.
#include "ViewerFixture.h"

#include "retrieval/EventDownload.h"
#include "retrieval/RetrievalFixture.h"
#include "unit/CollectedEvents.h"

#include <QFileInfo>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::EventFile;
using mr3x::test::ViewerFixture;

TEST(EventLists, CollectedEventsStayMarkedUntilOpenedDeletingAsksTwiceAndEveryLineLeadsToItsFileUnderEitherFilter)
{
    ViewerFixture f;
    f.writeEvent("26-12-01 10-00-00.vlt", EventFile(false));
    f.writeEvent("26-12-02 11-00-00.trg", EventFile(true).trailer(16, 4));
    f.writeEvent("26-12-03 12-00-00.trg", EventFile(false).trailer(16, 9));
    f.writeEvent("26-12-04 13-00-00.vlt", EventFile(true));
    f.writeFile("26-12-05 14-00-00.trg", QByteArray(5000, '\x01'));  // listed, so it can be dealt with
    // Two fetched overnight by the collector, before the window started.
    const QDateTime night(QDate(2026, 12, 6), QTime(2, 0));
    ASSERT_TRUE(noteCollected(f.unitFolder(), "26-12-02 11-00-00.trg", night));
    ASSERT_TRUE(noteCollected(f.unitFolder(), "26-12-03 12-00-00.trg", night));
    {
        QFile note(collectedNoteOf(f.unitFolder())); // and lines a hand or another program left
        ASSERT_TRUE(note.open(QIODevice::Append));
        note.write("not a line\r\n2026-12-06T02:00:00\t26-12-01 10-00-00.vlt\tsomething\r\n");
    }
    frmMaster& w = f.open();
    EXPECT_EQ(f.lines(0), QStringList({"26-12-01 10-00-00 (AC)", "26-12-02 11-00-00 (05)", "26-12-03 12-00-00 (10)",
                                       "26-12-04 13-00-00 (MT)", "26-12-05 14-00-00 (--)"}));

    // The collector's events stay marked until opened, even across restarts, and a re-fetch is new
    // again.
    const auto marked = [&](int row) { return EventLists::isMarkedNew(w.eventSlot[0].lstTrig->item(row)); };
    EXPECT_FALSE(marked(0));
    EXPECT_TRUE(marked(1));
    EXPECT_TRUE(marked(2));
    EXPECT_EQ(w.eventSlot[0].lstTrig->item(1)->toolTip(), QString("New: fetched by mr3x-collect"));

    // Opened in slot 0: plain there at once, and still plain when the lists fill again.
    f.choose(0, 1);
    w.eventLists->lstTrig_Click(0);
    EXPECT_FALSE(marked(1));
    w.eventLists->FILL_EVENT_LIST(0);
    EXPECT_FALSE(marked(1));
    EXPECT_TRUE(marked(2));
    EXPECT_EQ(collectedUnopened(f.unitFolder()), QStringList{"26-12-03 12-00-00.trg"}) << "what the next start reads";

    // Fetched again after it was opened (deleted and collected anew): new again.
    ASSERT_TRUE(noteCollected(f.unitFolder(), "26-12-02 11-00-00.trg", night.addDays(1)));
    w.eventLists->FILL_EVENT_LIST(0);
    EXPECT_TRUE(marked(1));

    // Deleting asks twice. Nothing chosen: the right button asks nothing. Then No to the first
    // question, Yes and No, and the left button: the file stays.
    const QString doomed = f.unitFolder() + "/26-12-02 11-00-00.trg";
    w.eventSlot[0].lstTrig->setCurrentRow(-1);
    w.eventLists->lstTrig_MouseDown(0, Qt::RightButton);
    EXPECT_TRUE(f.dialogs.shown().empty());
    f.choose(0, 1);
    f.dialogs.clear();
    for (const MsgAnswer answer : {MsgAnswer::No, MsgAnswer::Yes, MsgAnswer::No})
        f.dialogs.answer(answer);
    w.eventLists->lstTrig_MouseDown(0, Qt::RightButton);
    w.eventLists->lstTrig_MouseDown(0, Qt::RightButton);
    w.eventLists->lstTrig_MouseDown(0, Qt::LeftButton);
    EXPECT_TRUE(QFileInfo::exists(doomed));
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
    EXPECT_EQ(f.lines(0), QStringList({"26-12-01 10-00-00 (AC)", "26-12-03 12-00-00 (10)", "26-12-04 13-00-00 (MT)",
                                       "26-12-05 14-00-00 (--)"}));
    EXPECT_EQ(f.lines(1), f.lines(0));
    EXPECT_TRUE(w.eventSlot[0].lblEventFile->text().isEmpty());
    EXPECT_TRUE(w.eventSlot[0].picvolts->Runs().empty());

    // Slot 0's filter is copied to slot 1 and hides a file: the item data still name the files'
    // places in the file list. Slot 1's filter is its own.
    w.eventSlot[0].optTrg->setChecked(true);
    EXPECT_TRUE(w.eventSlot[1].optTrg->isChecked());
    EXPECT_EQ(f.lines(1), QStringList({"26-12-03 12-00-00 (10)", "26-12-05 14-00-00 (--)"}));
    EXPECT_EQ(w.eventSlot[0].lstTrig->item(1)->data(Qt::UserRole).toInt(), 3);
    f.choose(0, 0);
    EXPECT_EQ(w.eventSlot[0].lblEventFile->text(), QDir::toNativeSeparators("Feeder 7 Fault/North Yard/MR-0101/26-12-03 12-00-00.trg"));
    EXPECT_EQ(w.eventViewer->filePath(0), f.unitFolder() + "/26-12-03 12-00-00.trg");
    w.eventSlot[1].optVlt->setChecked(true);
    EXPECT_EQ(f.lines(1), QStringList({"26-12-01 10-00-00 (AC)", "26-12-04 13-00-00 (MT)"}));
    EXPECT_TRUE(w.eventSlot[0].optTrg->isChecked());
}

TEST(EventLists, DownloadedEventsAppearInBothListsWithTheirDipsAndStayWhileAFileIsReceived)
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
    EXPECT_TRUE(first.startsWith(f.storedNameOfSlot(0).left(17)) && first.endsWith("(01)")) << first.toStdString();
    w.eventSlot[0].lstTrig->setCurrentRow(0);
    EXPECT_EQ(w.eventSlot[0].lblTrailerJob->text().trimmed(), QString("Feeder 7 Fault"));
    // The simulated unit's events dip on one phase: one line on the Details tab, read against
    // the recording's first cycle.
    const QString dips = w.eventSlot[0].lblDips->text();
    EXPECT_TRUE(QRegularExpression("^V[ryb]: (dip|interruption) to \\d+ V \\(\\d+\\.\\d %\\) from ").match(dips).hasMatch())
        << dips.toStdString();
    EXPECT_FALSE(dips.contains('\n'));
    EXPECT_TRUE(w.eventSlot[0].lblDips->toolTip().endsWith(" V (first cycle)"));

    // A reception waiting for its sender holds the link: no file is deleted meanwhile.
    f.dialogs.clear();
    w.Comm->setReceiveFolder(f.unitFolder());
    w.Comm->setReceiveFile("Event_01.EVT");
    ASSERT_EQ(w.Comm->TransferState(), 4);
    w.eventLists->lstTrig_MouseDown(0, Qt::RightButton);
    ASSERT_EQ(f.dialogs.shown().size(), 1u);
    EXPECT_EQ(f.dialogs.last()->text, QString("Files cannot be deleted during file transfers"));
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Information);
    EXPECT_EQ(w.eventSlot[0].lstTrig->count(), 12);
}
