// The TDR viewer in the window: the manual tests listed, described and coloured, legacy traces
// copied, traces that do not go together refused, the event traces interleaved, the cursors read
// in metres, and the plots enlarged into the window's centre or a window of their own, still
// answering the mouse there, and back in their place by Escape, the button or closing the window.
#include "events/ViewerFixture.h"

#include "tdr/TdrTests.h"
#include "tdr/TdrViewer.h"
#include "ui/controls/PlotEnlarger.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QLayout>
#include <QSplitter>
#include <QStackedWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::EventFile;
using mr3x::test::runsIn;
using mr3x::test::ViewerFixture;

namespace {

/// A TDR trace file: 512 samples and a trailer with the date and time given, the flags, gain
/// and balance; or a TRS trace of 8192 samples.
QByteArray traceFile(bool trs, std::array<int, 6> when, int flags, int gain = 10, int balance = 10)
{
    const int samples = trs ? 8192 : 512;
    QByteArray bytes(samples + 117, char(100));
    const int trailer[11] = {when[0], when[1], when[2], when[3], when[4], when[5], 0, gain, flags, balance, trs ? 0 : 3};
    for (int k = 0; k < 117; ++k)
        bytes[samples + k] = static_cast<char>(k < 11 ? trailer[k] : 0);
    return bytes;
}

QString backColour(const QLabel* label)
{
    return label->styleSheet().section(':', 1).trimmed();
}

/// A pixel of the plot for a point of its user scale.
QPoint at(const PlotSurface* plot, double x, double y)
{
    return plot->toPixel(QPointF(x, y)).toPoint();
}

} // namespace

TEST(TdrViewer, LegacyTracesAreCopiedOnceAndTheListsShowTheNewestTestsFirst)
{
    ViewerFixture f;
    const QByteArray legacy = traceFile(false, {26, 12, 5, 14, 3, 9}, 0);
    f.writeFile("abc.def.tst", legacy);
    f.writeFile("xTRSy.ref", traceFile(true, {26, 11, 30, 8, 0, 0}, 0));
    f.writeFile("26-11-30 08-00-00 (xTRSy).TDR", "kept as it was");
    f.writeFile("26-12-01 10-00-00 (R-N=Internal).TDR", traceFile(false, {}, 0x0B, 12, 7));
    f.writeFile("26-12-02 10-00-00 (Y-NxB-N).TDR", traceFile(false, {}, 0));
    frmMaster& w = f.open();
    const TdrViewerView& v = w.tdrView;

    EXPECT_EQ(f.root.read(f.unitPath() + "/26-12-05 14-03-09 (abc).TDR"), legacy);
    EXPECT_EQ(f.root.read(f.unitPath() + "/26-11-30 08-00-00 (xTRSy).TDR"), QByteArray("kept as it was"));
    EXPECT_TRUE(QFileInfo::exists(f.unitFolder() + "/abc.def.tst"));

    const QStringList newestFirst = {"26-12-05 14-03-09 (abc)", "26-12-02 10-00-00 (Y-NxB-N)", "26-12-01 10-00-00 (R-N=Internal)",
                                     "26-11-30 08-00-00 (xTRSy)"};
    const auto* manualTests = w.findChild<QGroupBox*>("fraManualTests");
    ASSERT_NE(manualTests, nullptr);
    EXPECT_EQ(manualTests->title(), QString("Manual Tests"));
    for (int s = 2; s <= 4; ++s) {
        EXPECT_TRUE(manualTests->isAncestorOf(v.cboTest[s])) << s;
        QStringList items;
        for (int k = 0; k < v.cboTest[s]->count(); ++k)
            items << v.cboTest[s]->itemText(k);
        EXPECT_EQ(items, newestFirst) << s;
        EXPECT_EQ(v.cboTest[s]->currentIndex(), s - 2);
    }
    // A cross test takes its phase's colour from the list.
    EXPECT_EQ(backColour(v.lblTest[3]), QString("rgb(255,255,128);"));
    EXPECT_EQ(v.lblTest[3]->text(), QString("Gain:10 Internal:10\r\nPulse:Off Range:400m"));

    // Two tests only, one named in lower case: the third slot's list is filled, with nothing
    // chosen; the lower-case one opens under the name it is listed by.
    for (const char* gone : {"26-12-05 14-03-09 (abc).TDR", "26-11-30 08-00-00 (xTRSy).TDR"})
        QFile::remove(f.unitFolder() + "/" + QString::fromLatin1(gone));
    const QString internal = f.unitFolder() + "/26-12-01 10-00-00 (R-N=Internal)";
    ASSERT_TRUE(QFile::rename(internal + ".TDR", internal + ".tdr"));
    w.filTDR->Refresh();
    w.tdrTests->filTDR_PathChange();
    EXPECT_EQ(v.cboTest[3]->currentText(), QString("26-12-01 10-00-00 (R-N=Internal)"));
    EXPECT_EQ(v.lblTest[3]->text(), QString("Gain:12 Internal:7\r\nPulse:3 Range:800m"));
    EXPECT_EQ(v.cboTest[4]->count(), 2);
    EXPECT_EQ(v.cboTest[4]->currentIndex(), -1);
    EXPECT_TRUE(v.lblTest[4]->text().isEmpty());
}

TEST(TdrViewer, TracesThatCannotBeShownTogetherAreUntickedWithTheirReason)
{
    ViewerFixture f;
    f.writeFile("26-12-01 10-00-00 (R-N=Internal).TDR", traceFile(false, {}, 0x01)); // 800 m
    f.writeFile("26-12-02 10-00-00 (B-R=Internal).TDR", traceFile(false, {}, 0x00)); // 400 m
    f.writeFile("26-12-03 10-00-00 (R-N=TRS).TDR", traceFile(true, {}, 0x00));
    f.writeEvent("26-12-04 10-00-00.trg", EventFile().trailer(8, 0));
    frmMaster& w = f.open();
    const TdrViewerView& v = w.tdrView;
    // Newest first: slot 2 the TRS test (grey, with no description), 3 the 400 m test, 4 the 800 m test.
    EXPECT_EQ(backColour(v.lblTest[2]), QString("rgb(192,192,192);"));
    EXPECT_TRUE(v.lblTest[2]->text().isEmpty());
    v.chkTrace[3]->setChecked(true);
    v.chkTrace[4]->setChecked(true);
    EXPECT_EQ(runsIn(v.picTDR, QColor(192, 0, 192)).size(), 1u);
    EXPECT_EQ(runsIn(v.picTDR, QColor(255, 0, 0)).size(), 1u);
    EXPECT_TRUE(f.dialogs.shown().empty());

    // The TRS test ticked first: the viewer turns to TRS mode and the TDR tests go.
    v.chkTrace[2]->setChecked(true);
    EXPECT_TRUE(w.optDisplayMode[1]->isChecked());
    EXPECT_EQ(f.dialogs.messageTexts(), QStringList({"TDR traces cannot be displayed in the TRS Viewer",
                                                     "TDR traces cannot be displayed in the TRS Viewer"}));
    EXPECT_FALSE(v.chkTrace[3]->isChecked() || v.chkTrace[4]->isChecked());
    EXPECT_EQ(runsIn(v.picTDR, Qt::black).size(), 1u);

    // A reference of another range than the test.
    f.dialogs.clear();
    v.cboTest[2]->setCurrentIndex(1); // the 400 m test
    v.chkTrace[3]->setChecked(true);
    v.chkTrace[4]->setChecked(true);
    EXPECT_TRUE(w.optDisplayMode[0]->isChecked());
    EXPECT_EQ(f.dialogs.messageTexts(), QStringList({"Reference(2) & Test Traces have different range settings"}));
    EXPECT_EQ(f.dialogs.last()->icon, MsgIcon::Exclamation);
    EXPECT_FALSE(v.chkTrace[4]->isChecked());

    // A TRS test in a reference slot, in TDR mode.
    f.dialogs.clear();
    v.cboTest[3]->setCurrentIndex(0);
    w.tdrViewer->REDRAW_VIEWER();
    EXPECT_EQ(f.dialogs.messageTexts(), QStringList({"TRS traces cannot be displayed in the TDR Viewer"}));
    EXPECT_FALSE(v.chkTrace[3]->isChecked());

    // An event of 400 m beside a test of 800 m.
    f.dialogs.clear();
    f.choose(0, 0);
    v.cboTest[2]->setCurrentIndex(2);
    v.chkTrace[2]->setChecked(false);
    v.chkTrace[2]->setChecked(true);
    EXPECT_EQ(f.dialogs.messageTexts(), QStringList({"Test and Event traces have different range settings"}));
    EXPECT_FALSE(v.chkTrace[2]->isChecked());
}

TEST(TdrViewer, AnEventTraceIsInterleavedByItsInjectionPhaseTheCursorsReadMetresAtTheSpeedSetAndThePlotsAnswerThemEnlarged)
{
    ViewerFixture f;
    EventFile event;
    for (int n = 1; n <= 8192; ++n)
        event.trace(n, 10 + (n - 1) / 128); // block k holds 10 + k
    event.injection(127);                   // block 1: injection phase 3
    f.writeEvent("26-12-01 10-00-00.trg", event);
    frmMaster& w = f.open();
    const TdrViewerView& v = w.tdrView;
    // Nothing to measure yet: the cursors stay.
    w.tdrViewer->picTDR_MouseDown(Qt::LeftButton, 300);
    EXPECT_EQ(v.MovingCursor->X1(), 25);
    f.choose(0, 0);

    // One sweep of pulse 1 at every fourth unit, after the lead-in at 128.
    const QColor master(192, 64, 0);
    const auto runs = runsIn(v.picTDR, master);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].points.front(), QPointF(0, 128));
    EXPECT_EQ(runs[0].points.back(), QPointF(512, 10));
    // Interlaced: block k's samples go to points 4j - ((3 + k) Mod 4) - 1, so after the lead-in
    // from (0, 128) to (25, 128) the blocks run 0, 3, 2, 1.
    w.chkInterlace->setChecked(true);
    const std::vector<double> interlaced = test::traceIn(v.picTDR, master, 32);
    EXPECT_EQ(std::vector<double>(interlaced.begin() + 24, interlaced.end()), std::vector<double>({10, 13, 12, 11, 10, 13, 12, 11}));

    w.tdrViewer->picTDR_MouseDown(Qt::LeftButton, 125.4);
    EXPECT_EQ(v.lblZero->text() + v.lblMoving->text() + v.lblDifference->text(), QString(" 25 125 100"));
    EXPECT_EQ(v.lblResult->text(), QString("81 m"));
    // The zero cursor to the moving one with the right button (read on the enlarged plot); a drag
    // is held to the trace, and left of the zero cursor the distance is negative.
    w.tdrViewer->picTDR_MouseDown(Qt::LeftButton, 300);
    w.tdrViewer->picTDR_MouseDown(Qt::RightButton, 10);
    w.tdrViewer->picTDR_MouseMove(Qt::LeftButton, -5);
    EXPECT_EQ(v.MovingCursor->X1(), 1);
    EXPECT_EQ(v.lblDifference->text(), QString("-299"));

    // The scale, the speed and the mode each count: 100 units at scale 2 and 100.0% in TRS mode,
    // where one sample is four plot units, are 1200 m.
    w.tdrViewer->picTDR_MouseDown(Qt::LeftButton, 400);
    v.scrVF->setValue(1000);
    w.optDisplayMode[1]->setChecked(true);
    v.lblScale->setText("2");
    w.tdrViewer->SHOW_DISTANCE();
    EXPECT_EQ(v.lblResult->text(), QString("1200 m"));
    // Back to TDR mode: both cursors at 27 until a drawing puts the zero cursor on Plotstart.
    w.optDisplayMode[0]->setChecked(true);
    EXPECT_EQ(v.MovingCursor->X1(), 27);
    // The alignment keys move trace 0's bar once a press, with Shift trace 1's; with Ctrl or Alt
    // held they move nothing.
    w.tdrViewer->picTDR_KeyDown(Qt::Key_Up, Qt::NoModifier);
    w.tdrViewer->picTDR_KeyDown(Qt::Key_Down, Qt::ShiftModifier | Qt::KeypadModifier);
    w.tdrViewer->picTDR_KeyDown(Qt::Key_Up, Qt::ControlModifier);
    w.tdrViewer->picTDR_KeyDown(Qt::Key_Down, Qt::AltModifier | Qt::ShiftModifier);
    EXPECT_EQ(v.scrAlign[0]->value(), 1);
    EXPECT_EQ(v.scrAlign[1]->value(), -1);

    // Enlarged into the window's centre, the viewer answers the mouse with the same cursors and
    // read-outs, and Escape puts it back in its place.
    w.show();
    w.clock.DoEvents();
    auto* centre = qobject_cast<QStackedWidget*>(w.centralWidget());
    ASSERT_NE(centre, nullptr);
    auto* splitter = w.findChild<QSplitter*>(QStringLiteral("splViewers"));
    ASSERT_EQ(splitter->indexOf(v.fraTransientViewer), 1);
    const QSize inPlace = v.picTDR->size();

    QTest::mouseDClick(v.picTDR, Qt::LeftButton, Qt::NoModifier, at(v.picTDR, 100, 128));
    EXPECT_EQ(w.plotEnlarger->enlarged(), v.fraTransientViewer);
    EXPECT_EQ(centre->currentWidget(), w.plotEnlarger->host());
    EXPECT_TRUE(w.plotEnlarger->host()->isAncestorOf(v.picTDR));
    EXPECT_EQ(splitter->count(), 2) << "a stand-in keeps the viewer's place";
    EXPECT_EQ(v.cmdEnlargeTdr->text(), QString("Back"));
    EXPECT_GT(v.picTDR->width() * v.picTDR->height(), inPlace.width() * inPlace.height());
    // The same cursors and read-outs, at the new size.
    QTest::mouseClick(v.picTDR, Qt::LeftButton, Qt::NoModifier, at(v.picTDR, 225, 128));
    EXPECT_NEAR(v.MovingCursor->X1(), 225, 2);
    EXPECT_EQ(v.lblDifference->text().trimmed().toInt(), static_cast<int>(v.MovingCursor->X1() - v.ZeroCursor->X1()));

    QTest::keyClick(v.picTDR, Qt::Key_Escape);
    EXPECT_EQ(w.plotEnlarger->enlarged(), nullptr);
    EXPECT_EQ(centre->currentIndex(), 0);
    EXPECT_EQ(splitter->indexOf(v.fraTransientViewer), 1);
    EXPECT_EQ(splitter->count(), 2);
    EXPECT_EQ(v.cmdEnlargeTdr->text(), QString("Enlarge"));
    w.clock.DoEvents();
    QTest::mouseClick(v.picTDR, Qt::RightButton, Qt::NoModifier, at(v.picTDR, 300, 128));
    EXPECT_EQ(v.ZeroCursor->X1(), v.MovingCursor->X1());
    EXPECT_EQ(v.lblResult->text(), QString("0 m"));

    // An event picture goes to a window of its own, and closing that puts it back.
    f.choose(1, 0);
    const EventSlotView& e = w.eventSlot[1];
    QWidget* slot = e.fraEventSlot;
    QWidget* row = slot->parentWidget();
    const int place = row->layout()->indexOf(slot);
    e.cmdEnlarge->click();
    ASSERT_EQ(w.plotEnlarger->enlarged(), slot);
    // A second panel enlarged puts the first back.
    w.eventSlot[0].cmdEnlarge->click();
    EXPECT_EQ(row->layout()->indexOf(slot), place);
    e.cmdEnlarge->click();
    w.plotEnlarger->host()->findChild<QPushButton*>(QStringLiteral("cmdOwnWindow"))->click();
    ASSERT_TRUE(w.plotEnlarger->inOwnWindow());
    EXPECT_TRUE(w.plotEnlarger->host()->isAncestorOf(e.picvolts));
    EXPECT_EQ(centre->currentIndex(), 0);
    // The measuring point follows a click there, on the Metering tab.
    e.tbsEvents->setCurrentIndex(2);
    QTest::mouseClick(e.picvolts, Qt::LeftButton, Qt::NoModifier, at(e.picvolts, 4000, 0));
    EXPECT_TRUE(e.Measure->isVisible());
    EXPECT_NEAR(e.Measure->X1(), 4000, 40);

    w.plotEnlarger->host()->close();
    EXPECT_EQ(w.plotEnlarger->enlarged(), nullptr);
    EXPECT_FALSE(w.plotEnlarger->inOwnWindow());
    EXPECT_EQ(slot->parentWidget(), row);
    EXPECT_EQ(row->layout()->indexOf(slot), place);
    EXPECT_TRUE(slot->isVisible());
}
