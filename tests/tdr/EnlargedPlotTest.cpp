// A plot's panel enlarged into the window's centre or a window of its own, still answering the
// mouse there, and back in its place by Escape, the button or closing the window.
#include "events/ViewerFixture.h"

#include "ui/controls/PlotEnlarger.h"

#include <QLayout>
#include <QSplitter>
#include <QStackedWidget>
#include <QTest>

#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::EventFile;
using mr3x::test::ViewerFixture;

namespace {

/// A pixel of the plot for a point of its user scale.
QPoint at(const PlotSurface* plot, double x, double y)
{
    return plot->toPixel(QPointF(x, y)).toPoint();
}

} // namespace

TEST(EnlargedPlot, TheTdrViewerGoesToTheCentreAndAnEventPictureToAWindowOfItsOwnAnsweringTheMouseThereAndBothComeBack)
{
    ViewerFixture f;
    EventFile event;
    for (int n = 1; n <= 8192; ++n)
        event.trace(n, 100);
    f.writeEvent("26-12-01 10-00-00.trg", event);
    frmMaster& w = f.open();
    w.show();
    f.choose(0, 0);
    const TdrViewerView& v = w.tdrView;
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
    EXPECT_EQ(v.lblDifference->text().trimmed().toInt(), static_cast<int>(v.MovingCursor->X1()) - 25);

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
