#include "tdr/TrsLocator.h"

#include "common/Text.h"
#include "events/EventViewer.h"
#include "tdr/FaultFinding.h"
#include "tdr/Locator.h"
#include "tdr/TraceOnPlot.h"
#include "tdr/TdrPlot.h"
#include "tdr/TdrTests.h"
#include "tdr/TraceColours.h"
#include "ui/frmMaster.h"

namespace mr3x {

namespace {


std::string latin1(const QString& text)
{
    return text.toLatin1().toStdString();
}

} // namespace

// --- Drawing -------------------------------------------------------------------------------------

void TrsLocator::DRAW_TRS_VIEW()
{
    const TdrViewerView& v = w.tdrView;
    const Program& p = w.program;
    const int pan = v.scrPan->value();
    v.picTDR->Cls();
    v.picTDR->Scale(pan, kTdrPlotTop, pan + p.ViewWidth, kTdrPlotBottom);
    // The cursors keep their sample positions when the window moves.
    placeCursor(v.MovingCursor, leadingNumber(latin1(v.lblMoving->text())));
    placeCursor(v.ZeroCursor, leadingNumber(latin1(v.lblZero->text())));
    drawEventTrace(1, pan);
    drawEventTrace(0, pan);
    DRAW_TRS_TESTS();
    w.faultFinding->refreshMarks();
}

void TrsLocator::drawEventTrace(int e, int pan)
{
    const TdrViewerView& v = w.tdrView;
    if (!v.chkTrace[e]->isChecked() || !w.eventViewer->holdsEvent(e))
        return;
    const events::EventRecord& record = w.eventViewer->record(e);
    if (!record.trailer.isTrs())
        return; // a TDR-mode event has no TRS trace
    const Program& p = w.program;
    const tdr::Polyline line = e == 1 ? tdr::trsSlaveLine(record.traceArea, pan, p.ViewWidth, p.SlaveOffset, v.scrAlign[1]->value())
                                      : tdr::trsMasterLine(record.traceArea, pan, p.ViewWidth, v.scrAlign[0]->value());
    const tdr::Rgb colour = e == 1 ? tdr::kSlaveTrsColour : tdr::kMasterTdrColour;
    v.picTDR->setForeColor(QColor(colour.red, colour.green, colour.blue));
    v.picTDR->drawPolyline(pointsOf(line));
}

void TrsLocator::DRAW_TRS_TESTS()
{
    const TdrViewerView& v = w.tdrView;
    v.fraTransientViewer->setTitle(QStringLiteral("TRS Viewer"));
    for (int s = 2; s <= 4; ++s) {
        if (!v.cboTest[s]->currentText().contains(QStringLiteral("TRS")) && v.chkTrace[s]->isChecked()) {
            w.dialogs.message(QStringLiteral("TDR traces cannot be displayed in the TRS Viewer"), MsgButtons::Ok, MsgIcon::Exclamation);
            v.chkTrace[s]->setChecked(false);
        }
        if (!v.chkTrace[s]->isChecked() || !w.tdrTests->holdsTrace(s))
            continue;
        const tdr::TrsTrace& trace = w.tdrTests->trsTrace(s);
        if (!trace.trailer.isTrs())
            continue;
        // The zero cursor stays where the engineer put it: the TRS picture is read from it.
        const tdr::RangeStart start = tdr::rangeStart(trace.trailer.longRange());
        v.Plotstart->setText(QString::number(start.plotStart));
        v.lblScale->setText(QString::number(start.scale));
        v.picTDR->setForeColor(Qt::black);
        v.picTDR->drawPolyline(pointsOf(tdr::trsTestLine(trace.samples, v.scrAlign[s]->value())));
    }
}

// --- The locator ---------------------------------------------------------------------------------

void TrsLocator::scrPan_Change()
{
    // The pan bar only moves the TRS picture; its range changes in TDR mode draw nothing.
    if (w.optDisplayMode[1]->isChecked())
        DRAW_TRS_VIEW();
}

void TrsLocator::cmdLock_Click()
{
    if (w.optDisplayMode[0]->isChecked())
        return;
    const TdrViewerView& v = w.tdrView;
    Program& p = w.program;
    p.ViewWidth = tdr::kLockedWidth;
    v.picTDR->Scale(1, kTdrPlotTop, tdr::kLockedWidth, kTdrPlotBottom);
    v.scrPan->setMaximum(tdr::kPanMax);
    v.scrPan->setSingleStep(tdr::kPanStep);
    v.scrPan->setPageStep(tdr::kPanStep);
    v.scrPan->setValue(tdr::kPanStep);
    const tdr::LockResult lock = tdr::lockTraces(p.SlaveOffset, leadingNumber(latin1(v.lblDifference->text())), v.ZeroCursor->X1());
    p.SlaveOffset = lock.slaveOffset;
    v.scrPan->setValue(lock.panPosition);
    p.TracesLocked = true;
    v.chkTrace[0]->setChecked(true);
    v.chkTrace[1]->setChecked(true);
    DRAW_TRS_VIEW();
}

void TrsLocator::cmdReset_Click()
{
    const TdrViewerView& v = w.tdrView;
    Program& p = w.program;
    v.scrPan->setValue(1);
    v.scrPan->setMaximum(1);
    p.SlaveOffset = 0;
    v.scrAlign[0]->setValue(0);
    v.scrAlign[1]->setValue(0);
    p.ViewWidth = 8192;
    placeCursor(v.MovingCursor, 0);
    placeCursor(v.ZeroCursor, v.MovingCursor->X1());
    p.TracesLocked = false;
    DRAW_TRS_VIEW();
}

void TrsLocator::cmdLocation_Click(int index)
{
    const TdrViewerView& v = w.tdrView;
    Program& p = w.program;
    if (!p.TracesLocked) {
        w.dialogs.message(QStringLiteral("The traces have not been locked"), MsgButtons::Ok, MsgIcon::Critical);
        return;
    }
    const QString injection = w.eventSlot[index % 2].lblInjection->text();
    if (injection.isEmpty())
        return;
    const tdr::LocateResult window = tdr::locateWindow(index, leadingNumber(latin1(injection)), p.SlaveOffset);
    if (window.inRange)
        v.scrPan->setValue(static_cast<int>(window.windowStart));
    p.ViewWidth = tdr::kLockedWidth;
    const double zero = v.scrPan->value() + 6;
    placeCursor(v.ZeroCursor, zero);
    placeCursor(v.MovingCursor, zero + leadingNumber(latin1(v.lblDifference->text())));
    if (!window.inRange)
        w.dialogs.message(QStringLiteral("No result available for Location #%1\r\nSelect an alternative").arg(index), MsgButtons::Ok,
                          MsgIcon::Information);
}

} // namespace mr3x
