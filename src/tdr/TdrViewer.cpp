#include "tdr/TdrViewer.h"

#include "common/Text.h"
#include "events/EventViewer.h"
#include "events/WaveformDisplay.h"
#include "tdr/Distance.h"
#include "tdr/FaultFinding.h"
#include "tdr/TraceOnPlot.h"
#include "tdr/TdrPlot.h"
#include "tdr/TdrTests.h"
#include "tdr/TraceColours.h"
#include "tdr/TrsLocator.h"
#include "ui/frmMaster.h"

#include <cmath>

namespace mr3x {

namespace {

constexpr double kTdrWidth = 512;

std::string latin1(const QString& text)
{
    return text.toLatin1().toStdString();
}

QColor colourOf(const tdr::Rgb& rgb)
{
    return QColor(rgb.red, rgb.green, rgb.blue);
}

} // namespace

void TdrViewer::setTdrModeStartState()
{
    const TdrViewerView& v = w.tdrView;
    v.picTDR->Scale(1, kTdrPlotTop, kTdrWidth, kTdrPlotBottom);
    v.scrPan->setMinimum(1);
    v.scrPan->setMaximum(1);
    v.scrPan->setValue(1);
    w.chkInterlace->setChecked(false);
    v.fraTransientViewer->setTitle(QStringLiteral("TDR Viewer"));
    v.lblDielectric->setText(QString::fromStdString(tdr::dielectricCaption(v.scrVF->value())));
    showCursorLabels();
    SHOW_DISTANCE();
}

// --- Drawing -------------------------------------------------------------------------------------

void TdrViewer::REDRAW_VIEWER()
{
    if (w.optDisplayMode[0]->isChecked())
        DRAW_TDR_VIEW();
    else if (w.optDisplayMode[1]->isChecked())
        w.trsLocator->DRAW_TRS_VIEW();
    else {
        w.tdrView.picTDR->Cls(); // "VGS" shows no trace
        w.faultFinding->refreshMarks();
    }
}

void TdrViewer::setRangeStart(bool longRange)
{
    const tdr::RangeStart start = tdr::rangeStart(longRange);
    const TdrViewerView& v = w.tdrView;
    v.Plotstart->setText(QString::number(start.plotStart));
    placeCursor(v.ZeroCursor, start.plotStart);
    v.lblScale->setText(QString::number(start.scale));
}

void TdrViewer::DRAW_TDR_VIEW()
{
    const TdrViewerView& v = w.tdrView;
    setRangeStart(w.eventViewer->record(0).trailer.longRange());
    for (int e = 0; e < 2; ++e)
        v.chkTrace[e]->setText(QStringLiteral("Pulse %1").arg(w.program.CurrentPulse[e] + 1));
    v.picTDR->Cls();
    v.picTDR->Scale(1, kTdrPlotTop, kTdrWidth, kTdrPlotBottom);
    for (int e = 0; e < 2; ++e)
        injectionPhase_[e] = tdr::injectionPhase(leadingNumber(latin1(w.eventSlot[e].lblInjection->text())));
    // The Slave first, so that the Master lies on top.
    drawEventTrace(1);
    drawEventTrace(0);
    DRAW_MANUAL_TRACES();
    w.faultFinding->refreshMarks();
}

void TdrViewer::drawEventTrace(int e)
{
    const TdrViewerView& v = w.tdrView;
    if (!v.chkTrace[e]->isChecked() || !w.eventViewer->holdsEvent(e))
        return;
    const int pulse = w.program.CurrentPulse[e];
    const int align = v.scrAlign[e]->value();
    const int plotStart = static_cast<int>(leadingInteger(latin1(v.Plotstart->text())));
    const auto& area = w.eventViewer->record(e).traceArea;
    tdr::Polyline line;
    if (w.chkInterlace->isChecked())
        line = tdr::eventInterlaced(tdr::interleaveEvent(area, pulse, injectionPhase_[e]), plotStart, align);
    else if (pulse >= 0 && pulse < w.program.PulseCount)
        line = tdr::eventSweep(area, pulse, plotStart, align);
    else
        return;
    v.picTDR->setForeColor(colourOf(e == 0 ? tdr::kMasterTdrColour : tdr::kSlaveTdrColour));
    v.picTDR->drawPolyline(pointsOf(line));
}

void TdrViewer::DRAW_MANUAL_TRACES()
{
    const TdrViewerView& v = w.tdrView;
    v.fraTransientViewer->setTitle(QStringLiteral("TDR Viewer"));
    for (int s = 2; s <= 4; ++s) {
        const QString name = v.cboTest[s]->currentText();
        if (name.contains(QStringLiteral("TRS")) && v.chkTrace[s]->isChecked()) {
            w.dialogs.message(QStringLiteral("TRS traces cannot be displayed in the TDR Viewer"), MsgButtons::Ok, MsgIcon::Exclamation);
            v.chkTrace[s]->setChecked(false);
        }
        if (!v.chkTrace[s]->isChecked() || !w.tdrTests->holdsTrace(s))
            continue;
        v.picTDR->setForeColor(colourOf(tdr::manualTraceColour(latin1(name))));
        if (!manualRangeAgrees(s))
            return;
        const tdr::TdrTrace& trace = w.tdrTests->tdrTrace(s);
        setRangeStart(trace.trailer.longRange());
        const int plotStart = tdr::rangeStart(trace.trailer.longRange()).plotStart;
        const tdr::Polyline line = tdr::manualTrace(tdr::interleaveManual(trace.samples), plotStart, v.scrAlign[s]->value(),
                                                    w.chkInterlace->isChecked());
        v.picTDR->drawPolyline(pointsOf(line));
    }
}

bool TdrViewer::manualRangeAgrees(int s)
{
    const TdrViewerView& v = w.tdrView;
    const bool range = w.tdrTests->tdrTrace(s).trailer.longRange();
    QString problem;
    if ((v.chkTrace[0]->isChecked() || v.chkTrace[1]->isChecked()) && range != w.eventViewer->record(0).trailer.longRange())
        problem = s == 2 ? QStringLiteral("Test and Event traces have different range settings")
                         : QStringLiteral("Reference(%1) and Event traces have different range settings").arg(s - 2);
    else if (v.chkTrace[2]->isChecked() && w.tdrTests->holdsTrace(2) && range != w.tdrTests->tdrTrace(2).trailer.longRange())
        problem = QStringLiteral("Reference(%1) & Test Traces have different range settings").arg(s - 2);
    if (problem.isEmpty())
        return true;
    w.dialogs.message(problem, MsgButtons::Ok, MsgIcon::Exclamation);
    v.chkTrace[s]->setChecked(false);
    return false;
}

// --- Distance ------------------------------------------------------------------------------------

void TdrViewer::SHOW_DISTANCE()
{
    const TdrViewerView& v = w.tdrView;
    const double percent = tdr::percentFromCaption(latin1(v.lblDielectric->text()));
    const double scale = leadingNumber(latin1(v.lblScale->text()));
    const double difference = leadingNumber(latin1(v.lblDifference->text()));
    const bool tdrMode = w.optDisplayMode[0]->isChecked();
    v.lblResult->setText(QString::fromStdString(tdr::distanceText(tdr::distanceMetres(scale, difference, percent, tdrMode))));
}

void TdrViewer::scrVF_Change()
{
    w.tdrView.lblDielectric->setText(QString::fromStdString(tdr::dielectricCaption(w.tdrView.scrVF->value())));
    SHOW_DISTANCE();
}

void TdrViewer::showCursorLabels()
{
    const TdrViewerView& v = w.tdrView;
    const long long zero = tdr::cursorPosition(v.ZeroCursor->X1());
    const long long moving = tdr::cursorPosition(v.MovingCursor->X1());
    v.lblZero->setText(QString::fromStdString(tdr::cursorText(zero)));
    v.lblMoving->setText(QString::fromStdString(tdr::cursorText(moving)));
    v.lblDifference->setText(QString::fromStdString(tdr::cursorText(moving - zero)));
}

// --- Handlers ------------------------------------------------------------------------------------

void TdrViewer::scrAlign_Change(int index)
{
    if (w.tdrView.chkTrace[index]->isChecked())
        REDRAW_VIEWER();
}

void TdrViewer::chkInterlace_Click()
{
    // Interlace concerns the TDR drawing; in TRS mode the TRS picture stays.
    REDRAW_VIEWER();
}

void TdrViewer::optDisplayMode_Click(int index)
{
    const TdrViewerView& v = w.tdrView;
    v.scrPan->setMaximum(1);
    if (index == 0) {
        v.picTDR->Scale(1, kTdrPlotTop, kTdrWidth, kTdrPlotBottom);
        placeCursor(v.ZeroCursor, 27);
        placeCursor(v.MovingCursor, 27);
        v.fraTransientViewer->setTitle(QStringLiteral("TDR Viewer"));
    } else {
        v.picTDR->Scale(1, kTdrPlotTop, 8192, kTdrPlotBottom);
        v.fraTransientViewer->setTitle(QStringLiteral("TRS Viewer"));
        v.chkTrace[0]->setText(QStringLiteral("Master"));
        v.chkTrace[1]->setText(QStringLiteral("Slave"));
    }
    // The picture drawn for the other mode would read wrongly on the new scale.
    REDRAW_VIEWER();
}

void TdrViewer::picTDR_MouseDown(Qt::MouseButton button, double x)
{
    const TdrViewerView& v = w.tdrView;
    if (button == Qt::RightButton)
        placeCursor(v.ZeroCursor, v.MovingCursor->X1());
    picTDR_MouseMove(button, x);
    SHOW_DISTANCE();
}

void TdrViewer::picTDR_MouseMove(Qt::MouseButtons buttons, double x)
{
    const TdrViewerView& v = w.tdrView;
    if (buttons == Qt::NoButton)
        return;
    const bool tracesShown = v.chkTrace[0]->isChecked() || v.chkTrace[1]->isChecked() || v.chkTrace[2]->isChecked();
    if (!tracesShown && w.eventSlot[0].lstTrig->selectedItems().isEmpty())
        return;
    const double held = tdr::clampCursorX(x);
    const bool left = buttons == Qt::LeftButton;
    if (left)
        placeCursor(v.MovingCursor, std::floor(held));
    showCursorLabels();
    if (w.optDisplayMode[0]->isChecked() && left) {
        v.picTDR->Scale(1, kTdrPlotTop, kTdrWidth, kTdrPlotBottom);
        v.scrPan->setMaximum(1);
    }
    SHOW_DISTANCE();
}

void TdrViewer::picTDR_KeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    if (w.optDisplayMode[1]->isChecked())
        return;
    const TdrViewerView& v = w.tdrView;
    v.chkTrace[0]->setChecked(true);
    v.chkTrace[1]->setChecked(true);
    // The marker keys go to the event pictures; the alignment keys are handled here, once.
    if (key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Space)
        w.waveforms->picvolts_KeyDown(0, key, modifiers);
    w.clock.DoEvents();
    nudgeAlignment(key, modifiers);
}

void TdrViewer::nudgeAlignment(int key, Qt::KeyboardModifiers modifiers)
{
    // The arrow keys may come flagged as keypad keys.
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeyboardModifiers(Qt::KeypadModifier);
    if ((key != Qt::Key_Up && key != Qt::Key_Down) || (held != Qt::NoModifier && held != Qt::ShiftModifier))
        return;
    QScrollBar* align = w.tdrView.scrAlign[held == Qt::ShiftModifier ? 1 : 0];
    align->setValue(std::clamp(align->value() + (key == Qt::Key_Up ? 1 : -1), -100, 100));
}

} // namespace mr3x
