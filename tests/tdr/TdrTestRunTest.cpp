// "TEST" against the simulated unit: the setting batch, the trace stored whole under its name and
// shown at once, the fault's distance read off the drawn trace with the cursors and by Find, a
// failed reception leaving the earlier file, and the names tests are stored under.
#include "retrieval/RetrievalFixture.h"
#include "sim/TraceReading.h"
#include "support/PlotReading.h"

#include "tdr/Distance.h"
#include "tdr/TdrTests.h"
#include "tdr/TdrViewer.h"
#include "unitsettings/ControlPanel.h"

#include <QDir>
#include <QRegularExpression>
#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::RetrievalFixture;
using mr3x::test::runsIn;

TEST(TdrTestRun, TestStoresTheTraceWholeTheCursorsAndFindReadItsFaultAndAFailedTestLeavesTheEarlierFile)
{
    RetrievalFixture f;
    frmMaster& w = f.open();
    const TdrViewerView& v = w.tdrView;
    w.controlPanel->optPhase_MouseDown(0, Qt::LeftButton);
    const QDateTime start(QDate(2026, 12, 5), QTime(14, 3, 9));
    f.clock.setDateTime(start);
    f.clearWire();
    w.tdrTests->cmdTest_Click();

    // The setting batch for an M-R32 (time, identity, hardware with the trace asked for: the panel
    // as it starts, pre/post 7/1 and pulse width 2), then the reception's first 'C'.
    const QByteArray batch = "T261205140309"
                             "N" + f.sent.mid(14, 6) + ",Feeder 7 Fault          ,North Yard              ,                ,"
                             "\r\n\r\ng15, 3,0,0,2,006,10,10,0";
    EXPECT_EQ(f.sent.left(batch.size() + 1).toStdString(), (batch + "C").toStdString());
    const QStringList stored = QDir(f.unitFolder()).entryList({"*.TDR"}, QDir::Files, QDir::Name);
    ASSERT_EQ(stored.size(), 1) << f.statusHistory.join(" | ").toStdString();
    const QString name = stored.front();
    EXPECT_TRUE(name.contains(" (R-N=")) << name.toStdString();
    const QByteArray first = f.readUnitFile(name);
    EXPECT_EQ(first, test::bytesOf(f.unit().lastOfferBytes()));
    EXPECT_TRUE(f.statusHistory.contains(name + " test in progress "));
    EXPECT_EQ(w.lblStatus->text(), name + " test completed ");
    EXPECT_TRUE(w.Watchdog->isActive());
    EXPECT_TRUE(w.chkFileTransfer->isChecked());

    // The newest test is slot 2's, ticked and drawn in its phase's colour.
    EXPECT_EQ(v.cboTest[2]->currentText() + ".TDR", name);
    EXPECT_TRUE(v.chkTrace[2]->isChecked());
    EXPECT_TRUE(w.optDisplayMode[0]->isChecked());
    const auto runs = runsIn(v.picTDR, QColor(255, 0, 0));
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].points[3].x(), 29);  // without interlace every fourth point
    EXPECT_EQ(v.lblFinding->text(), QString());
    EXPECT_FALSE(v.FoundEdge->isVisible());

    // Interlaced, the plot from Plotstart is the stored trace as the viewer interleaves it (the
    // fault on it where the unit put it, 150 m out on a 320 m cable: TdrTraces.TheFaultIsRead...).
    w.chkInterlace->setChecked(true);
    const sim::test::Plot drawn = test::traceIn(v.picTDR, QColor(255, 0, 0), 512);
    const sim::test::Plot interleaved = sim::test::interleaveTest(f.unit().lastOfferBytes());
    EXPECT_EQ(sim::test::Plot(drawn.begin() + 24, drawn.end()), sim::test::Plot(interleaved.begin() + 24, interleaved.end()));
    ASSERT_EQ(v.lblDielectric->text(), QString("54.0% (v/2=81.0m/us)"));

    // Find puts the moving cursor on the fault; the result reads as a click there reads, and the
    // line under it says the same.
    w.tdrViewer->picTDR_MouseDown(Qt::LeftButton, 300);
    v.cmdFind->click();
    EXPECT_EQ(v.ZeroCursor->X1(), 25);
    EXPECT_NEAR(v.MovingCursor->X1(), 25 + 150 / 0.81, 1.0);
    const double foundMetres = tdr::distanceMetres(1, v.MovingCursor->X1() - 25, 54.0, true);
    EXPECT_EQ(v.lblResult->text(), QString::fromStdString(tdr::distanceText(foundMetres)));
    const QRegularExpressionMatch found =
        QRegularExpression("^Reflection found at (\\d+) m, far end at (\\d+) m$").match(v.lblFinding->text());
    ASSERT_TRUE(found.hasMatch()) << v.lblFinding->text().toStdString();
    EXPECT_EQ(found.captured(1) + " m", v.lblResult->text());
    EXPECT_NEAR(found.captured(2).toInt(), 320, 4);
    EXPECT_TRUE(v.FoundEdge->isVisible());
    EXPECT_EQ(v.FoundEdge->X1(), v.MovingCursor->X1());
    EXPECT_TRUE(v.FoundFarEnd->isVisible());
    // Redrawn as it was, the marks stay.
    w.chkInterlace->setChecked(false);
    EXPECT_TRUE(v.FoundEdge->isVisible());

    // The same moment again, and the unit gives up part-way through the trace: the earlier file
    // of that name is left as it was, and nothing else is left beside it.
    f.clock.setDateTime(start);
    f.unit().faults().transfer.abortAtBlock = 1;
    w.tdrTests->cmdTest_Click();
    EXPECT_EQ(f.otherFiles().filter(".TDR"), stored);
    EXPECT_EQ(f.readUnitFile(name), first);
    EXPECT_EQ(w.lblStatus->text(), QString("File transfer failed"));
    EXPECT_TRUE(w.Watchdog->isActive());

    // A second test of the same cable is the test trace now, the first the reference: the two
    // are one cable, nothing has changed, and the cursor stays where it is.
    f.unit().faults().transfer.abortAtBlock = -1;
    f.clock.advance(2000);
    w.tdrTests->cmdTest_Click();
    ASSERT_EQ(v.cboTest[3]->count(), 2);
    v.chkTrace[3]->setChecked(true);
    w.tdrViewer->picTDR_MouseDown(Qt::LeftButton, 300);
    v.cmdFind->click();
    EXPECT_EQ(v.MovingCursor->X1(), 300);
    EXPECT_TRUE(v.lblFinding->text().startsWith("No clear reflection found (against reference " + v.cboTest[3]->currentText() + ")"))
        << v.lblFinding->text().toStdString();
    EXPECT_FALSE(v.FoundEdge->isVisible());

    // Nothing ticked: nothing to read, and a trace shown anew is not the one read.
    v.chkTrace[2]->setChecked(false);
    EXPECT_EQ(v.lblFinding->text(), QString());
    v.chkTrace[3]->setChecked(false);
    v.cmdFind->click();
    EXPECT_EQ(v.lblFinding->text(), QString("Tick a trace to find the fault on"));

    // A test is named from the panel and the PC clock, in year-month-day order. No entry chosen
    // in the trigger-mode list counts as TDR mode; a TRS entry names a TRS test.
    f.clock.setDateTime(start);
    w.controlPanel->optTDRMode_MouseDown(0, Qt::LeftButton);
    w.controlPanel->optReference_MouseDown(1, Qt::LeftButton);
    ASSERT_EQ(w.optReference[1]->text(), QString("Y-N"));
    EXPECT_EQ(w.tdrTests->newTestName(), QString("26-12-05 14-03-09 (R-N=Y-N)"));
    w.controlPanel->optPhase_MouseDown(2, Qt::LeftButton);
    w.controlPanel->optTDRMode_MouseDown(1, Qt::LeftButton);
    w.cboTriggerMode->setCurrentIndex(-1);
    EXPECT_EQ(w.tdrTests->newTestName(), QString("26-12-05 14-03-09 (B-Nx%1)").arg(w.optReference[1]->text()));
    w.cboTriggerMode->setCurrentIndex(1);
    EXPECT_EQ(w.tdrTests->newTestName(), QString("26-12-05 14-03-09 (B-N=TRS)"));
}
