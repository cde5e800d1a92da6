#include "events/WaveformDisplay.h"

#include "events/EventViewer.h"
#include "events/Dips.h"
#include "events/Meters.h"
#include "events/WaveformGeometry.h"
#include "tdr/TdrViewer.h"
#include "ui/frmMaster.h"

#include <QSignalBlocker>

#include <cmath>

namespace mr3x {

namespace {

constexpr int kMeteringTab = 2;

QColor colourOfBgr(std::uint32_t bgr)
{
    return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF), static_cast<int>((bgr >> 16) & 0xFF));
}

std::string latin1(const QString& text)
{
    return text.toLatin1().toStdString();
}

} // namespace

// --- Drawing -------------------------------------------------------------------------------------

void WaveformDisplay::DRAW_EVENT_TRACES(int i)
{
    const EventSlotView& v = w.eventSlot[i];
    v.picvolts->Cls();
    // A slot without an event shows nothing, rather than a picture of zeros.
    if (!w.eventViewer->holdsEvent(i))
        return;
    markerOrigin_[i] = events::markerOrigin(latin1(v.lblVersion->text()));
    DRAW_EVENT_GRID(i);
    w.clock.DoEvents();

    const events::EventRecord& record = w.eventViewer->record(i);
    for (int c = 0; c < events::kChannels; ++c) {
        if (!v.chkAC[c]->isChecked())
            continue;
        std::vector<QPointF> points;
        for (const events::WavePoint& p : events::channelTrace(record, c))
            points.emplace_back(p.x, p.y);
        v.picvolts->setForeColor(colourOfBgr(events::channelColourBgr(c)));
        v.picvolts->drawPolyline(points);
    }
    if (!v.chkRaw->isChecked())
        drawHalfCycleRms(i);
}

void WaveformDisplay::drawHalfCycleRms(int i)
{
    // Thin, over each phase voltage shown: where a dip begins and how deep it goes.
    const EventSlotView& v = w.eventSlot[i];
    v.picvolts->setDrawWidth(0);
    for (int c = 0; c < events::kVoltageChannels; ++c) {
        if (!v.chkAC[c]->isChecked())
            continue;
        std::vector<QPointF> points;
        for (const events::WavePoint& p : events::halfCycleRmsLine(w.eventViewer->record(i), c))
            points.emplace_back(p.x, p.y);
        v.picvolts->setForeColor(colourOfBgr(events::channelColourBgr(c)));
        v.picvolts->drawPolyline(points);
    }
    v.picvolts->setDrawWidth(1.0);
}

void WaveformDisplay::DRAW_EVENT_GRID(int i)
{
    const bool trsMode = w.optDisplayMode[1]->isChecked();
    for (const EventSlotView& slot : w.eventSlot) {
        // A tab that hides the markers keeps them hidden.
        const bool markersShown = slot.tbsEvents->currentIndex() < kMeteringTab;
        slot.Marker->setVisible(!trsMode && markersShown);
    }
    const EventSlotView& v = w.eventSlot[i];
    if (trsMode || v.lblUnit->text() == QStringLiteral("M-S32"))
        return;
    v.picvolts->setForeColor(Qt::white);
    v.picvolts->setDrawWidth(0);
    for (int j = 0; j < events::kGridPositions; ++j) {
        const double x = gridX(i, j);
        v.picvolts->Line(x, 266, x, -10);
    }
    v.picvolts->setDrawWidth(1.0);
}

double WaveformDisplay::gridX(int i, int position) const
{
    return events::gridX(position, markerOrigin_[i]);
}

// --- Meters --------------------------------------------------------------------------------------

void WaveformDisplay::UPDATE_METERS(int i)
{
    const EventSlotView& v = w.eventSlot[i];
    const int m = measuringPoint_;
    if (m == 0 || m > events::kSampleGroups)
        return;
    v.lblSampleValue->setText(QString::number(m));
    if (w.eventSlot[0].lstTrig->count() == 0) {
        for (QLabel* meter : w.eventSlot[0].lblMeter)
            meter->clear();
        return;
    }
    if (w.eventSlot[1].lstTrig->count() == 0)
        return;
    if (!w.eventViewer->holdsEvent(i)) {
        for (QLabel* meter : v.lblMeter)
            meter->clear();
        return;
    }
    const bool raw = v.chkRaw->isChecked();
    const events::MeterReadings readings =
        events::readMeters(w.eventViewer->record(i), m, raw, events::ampsPerLevel(latin1(v.lblMeterFSD->text())));
    measuringPoint_ = readings.measuringPoint;
    for (int c = 0; c < events::kChannels; ++c)
        v.lblMeter[c]->setText(QString::fromStdString(events::meterCaption(c, readings.channel[c], raw)));
}

void WaveformDisplay::resetMeasuringPoint(int i)
{
    measuringPoint_ = 160;
    placeMeasuringLines(i);
}

void WaveformDisplay::placeMeasuringLines(int i)
{
    const EventSlotView& v = w.eventSlot[i];
    const double x = 10.0 * measuringPoint_;
    v.Measure->setX(x);
    v.MeasureRef->setX(x - 800);
    v.Meter->setBox(x - 400, 800);
}

void WaveformDisplay::putMarkersAtOrigin(int i)
{
    const EventSlotView& v = w.eventSlot[i];
    v.Marker->setX(markerOrigin_[i]);
    v.RefMarker->setX(markerOrigin_[i]);
}

// --- The mouse routine ---------------------------------------------------------------------------

void WaveformDisplay::picvolts_MouseDown(int i, Qt::MouseButton button, double x)
{
    pick(i, button, x);
}

void WaveformDisplay::picvolts_MouseMove(int i, Qt::MouseButtons buttons, double x)
{
    // A drag with one button held moves what a press of that button places.
    if (buttons == Qt::LeftButton)
        pick(i, Qt::LeftButton, x);
    else if (buttons == Qt::RightButton)
        pick(i, Qt::RightButton, x);
}

void WaveformDisplay::pick(int i, Qt::MouseButton button, double x)
{
    if (button != Qt::LeftButton && button != Qt::RightButton)
        return;
    if (w.eventSlot[i].tbsEvents->currentIndex() == kMeteringTab && button == Qt::LeftButton) {
        measureAt(i, x);
        return;
    }
    pickPulse(i, button, x);
}

void WaveformDisplay::measureAt(int i, double x)
{
    const EventSlotView& v = w.eventSlot[i];
    const bool raw = v.chkRaw->isChecked();
    measuringPoint_ = events::measuringPointAt(x, raw);
    if (!raw) {
        v.Meter->show();
        v.MeasureRef->hide();
    }
    v.Measure->show();
    placeMeasuringLines(i);
    w.eventSlot[0].RefMarker->hide();
    w.eventSlot[1].RefMarker->hide();
    UPDATE_METERS(i);
}

void WaveformDisplay::pickPulse(int i, Qt::MouseButton button, double x)
{
    const EventSlotView& v = w.eventSlot[i];
    const EventSlotView& other = w.eventSlot[(i + 1) % 2];
    v.Meter->hide();
    v.MeasureRef->hide();
    if (const std::optional<int> k = events::gridPositionAt(x, markerOrigin_[i])) {
        const double at = gridX(i, *k);
        const bool sameLine = listsShowSameLine();
        if (button == Qt::LeftButton) {
            v.Marker->setX(at);
            w.program.CurrentPulse[i] = *k;
        } else {
            v.RefMarker->setX(at);
            // Kept, so that scrolling the zoomed picture puts the line back where it was picked.
            w.eventViewer->setReferencePosition(i, *k);
            w.program.CurrentPulse[(i + 1) % 2] = *k;
        }
        if (sameLine) {
            w.eventSlot[0].RefMarker->hide();
            w.eventSlot[1].RefMarker->hide();
        } else {
            w.eventSlot[0].RefMarker->show();
            w.eventSlot[1].RefMarker->show();
            (button == Qt::LeftButton ? other.RefMarker : other.Marker)->setX(at);
        }
    }
    if (w.optDisplayMode[0]->isChecked())
        w.tdrViewer->DRAW_TDR_VIEW();
}

bool WaveformDisplay::listsShowSameLine() const
{
    return w.eventSlot[0].lstTrig->currentRow() == w.eventSlot[1].lstTrig->currentRow();
}

// --- Keys and focus ------------------------------------------------------------------------------

void WaveformDisplay::picvolts_KeyDown(int, int key, Qt::KeyboardModifiers modifiers)
{
    // The keys act on slot 0's marker, or with Shift on slot 1's while it shows an event.
    const int target = modifiers.testFlag(Qt::ShiftModifier) ? 1 : 0;
    const EventSlotView& v = w.eventSlot[target];
    if (target == 1 && v.lstTrig->currentRow() < 0)
        return;
    if (key == Qt::Key_Up || key == Qt::Key_Down) {
        w.tdrViewer->nudgeAlignment(key, modifiers);
        return;
    }
    if (key != Qt::Key_Left && key != Qt::Key_Right && key != Qt::Key_Space)
        return;
    // On the Metering tab the keys move the measuring point a sample group at a time.
    const bool metering = v.tbsEvents->currentIndex() == kMeteringTab;
    const double step = metering ? 10.0 : events::kGridStep;
    const double from = metering ? v.Measure->X1() : v.Marker->X1();
    const double delta = key == Qt::Key_Right ? step : key == Qt::Key_Left ? -step : 0.0;
    pick(target, Qt::LeftButton, from + delta);
}

void WaveformDisplay::picvolts_GotFocus(int i)
{
    w.eventSlot[i].setOutlineColour(i == 0 ? 0x0040C0 : 0x808000);
}

void WaveformDisplay::picvolts_LostFocus(int i)
{
    w.eventSlot[i].setOutlineColour(i == 0 ? 0x0080FF : 0xFFFF00);
}

// --- Switches and zoom ---------------------------------------------------------------------------

void WaveformDisplay::chkAC_Click(int i)
{
    DRAW_EVENT_TRACES(i);
}

void WaveformDisplay::chkRaw_Click(int i)
{
    const EventSlotView& v = w.eventSlot[i];
    const bool raw = v.chkRaw->isChecked();
    v.Meter->setVisible(!raw);
    v.MeasureRef->setVisible(raw);
    // The half-cycle rms is drawn only with the meters in volts.
    DRAW_EVENT_TRACES(i);
    UPDATE_METERS(i);
}

void WaveformDisplay::cmdZoom_Click(int i)
{
    const EventSlotView& v = w.eventSlot[i];
    if (v.cmdZoom->text() == QStringLiteral("+")) {
        v.cmdZoom->setText(QStringLiteral("-"));
        const double a = events::zoomStart(latin1(v.lblVersion->text()));
        v.picvolts->Scale(a, 266, a + events::kZoomWidth, -10);
        v.scrZoom->setEnabled(true);
        v.scrZoom->setMaximum(static_cast<int>(events::kFullWidth - events::kZoomWidth));
        if (v.scrZoom->value() == static_cast<int>(a))
            scrZoom_Change(i);
        else
            v.scrZoom->setValue(static_cast<int>(a));
    } else {
        v.cmdZoom->setText(QStringLiteral("+"));
        v.picvolts->Scale(0, 266, events::kFullWidth, -10);
        // The full view has nothing to scroll.
        const QSignalBlocker quiet(v.scrZoom);
        v.scrZoom->setValue(0);
        v.scrZoom->setMaximum(1);
        v.scrZoom->setEnabled(false);
    }
    if (w.optDisplayMode[0]->isChecked())
        w.tdrViewer->DRAW_TDR_VIEW();
    w.clock.DoEvents();
}

void WaveformDisplay::scrZoom_Change(int i)
{
    const EventSlotView& v = w.eventSlot[i];
    if (v.cmdZoom->text() != QStringLiteral("-"))
        return;
    v.picvolts->setScaleLeft(v.scrZoom->value());
    DRAW_EVENT_TRACES(i);
    placeMeasuringLines(i);
    v.Marker->setX(std::round(gridX(i, w.program.CurrentPulse[i])));
    v.RefMarker->setX(std::round(gridX(i, w.eventViewer->referencePosition(i))));
}

} // namespace mr3x
