// The waveform picture, on one window: what is drawn (read back from the display list), the
// meters on the Metering tab, and the markers picked with the mouse and the keys.
#include "ViewerFixture.h"

#include "events/WaveformDisplay.h"
#include "tdr/TdrViewer.h"

#include <gtest/gtest.h>

using namespace mr3x;
using mr3x::test::EventFile;
using mr3x::test::ViewerFixture;
using mr3x::test::runsIn;

namespace {

const QColor kChannelColours[4] = {QColor(255, 0, 0), QColor(255, 255, 0), QColor(0, 0, 255), QColor(128, 128, 128)};

} // namespace

TEST(Waveform, ChannelsAreDrawnOverTheUnitsGridTheMetersReadAtTheMeasuringPointAndTheMouseAndKeysPickPulses)
{
    ViewerFixture f;
    EventFile event;
    for (int g = 0; g < 800; ++g)
        event.sample(g, 0, g % 256).sample(g, 2, 200);
    f.writeEvent("26-12-01 10-00-00.trg", event);
    f.writeEvent("26-12-03 12-00-00.trg", EventFile().trailer(18, 225));              // an M-S32
    f.writeEvent("26-12-04 13-00-00.trg", EventFile().trailer(10, 1).injection(300)); // TRS
    EventFile metered;
    metered.head(7, 3).channel(0, 160).channel(3, 140); // "2000A"
    for (int g = 500; g < 800; ++g)
        metered.sample(g, 2, 139); // channel 2 steps up 10 levels at group 500
    f.writeEvent("26-12-05 14-00-00.trg", metered);
    f.writeEvent("26-12-01 10-00-00.trg", EventFile(), "MR-0102");
    f.writeEvent("26-12-01 10-00-05.trg", EventFile(), "MR-0102");
    frmMaster& w = f.open();
    f.chooseSlaveUnit();
    f.choose(0, 0);
    const EventSlotView& v = w.eventSlot[0];
    const PlotSurface* picture = v.picvolts;

    // Version 2: the grid of 64 lines over the picture's height from 1236.
    const auto grid = runsIn(picture, Qt::white);
    ASSERT_EQ(grid.size(), 64u);
    EXPECT_EQ(grid.front().points, std::vector<QPointF>({{1236, 266}, {1236, -10}}));
    // Each channel one line from x 0 through its 800 samples, each at n x 10 / 4 for its byte n.
    // Over each phase voltage, a thin line of its half-cycle rms: nineteen values, each at the
    // middle of its cycle.
    for (int c = 0; c < 4; ++c) {
        const auto runs = runsIn(picture, kChannelColours[c]);
        ASSERT_EQ(runs.size(), c < 3 ? 2u : 1u) << c;
        if (c < 3) {
            ASSERT_EQ(runs[1].points.size(), 19u) << c;
            EXPECT_EQ(runs[1].points[0].x(), (4 * 40 + c + 1) * 2.5) << c;
        }
        ASSERT_EQ(runs[0].points.size(), 801u) << c;
        EXPECT_EQ(runs[0].points[0].x(), 0) << c;
        EXPECT_EQ(runs[0].points[1].x(), 2.5 * (c + 1)) << c;
        EXPECT_EQ(runs[0].points[800].x(), 7990 + 2.5 * (c + 1)) << c;
    }
    EXPECT_EQ(runsIn(picture, kChannelColours[0])[0].points[301].y(), 300 % 256);
    EXPECT_EQ(runsIn(picture, kChannelColours[2])[0].points[5].y(), 200);
    // A constant 200 on Vb is 71 levels from its zero: an rms of 71 levels all along.
    EXPECT_NEAR(runsIn(picture, kChannelColours[2])[1].points[7].y(), 129 + 71, 1e-9);
    // Raw data reads levels, not volts: the rms goes.
    v.chkRaw->setChecked(true);
    EXPECT_EQ(runsIn(picture, kChannelColours[2]).size(), 1u);
    v.chkRaw->setChecked(false);
    EXPECT_EQ(runsIn(picture, kChannelColours[2]).size(), 2u);

    // A channel switched off is not drawn; back on, it is.
    v.chkAC[1]->setChecked(false);
    EXPECT_TRUE(runsIn(picture, kChannelColours[1]).empty());
    EXPECT_EQ(runsIn(picture, Qt::white).size(), 64u);
    v.chkAC[1]->setChecked(true);
    EXPECT_EQ(runsIn(picture, kChannelColours[1]).size(), 2u);

    // An M-S32 and a TRS event have no grid.
    f.choose(0, 1);
    EXPECT_TRUE(runsIn(picture, Qt::white).empty());
    EXPECT_EQ(runsIn(picture, kChannelColours[3]).size(), 1u);
    f.choose(0, 2);
    EXPECT_TRUE(w.optDisplayMode[1]->isChecked());
    EXPECT_TRUE(runsIn(picture, Qt::white).empty());
    EXPECT_FALSE(v.Marker->isVisible());

    // The meters read volts and amps at the measuring point, and raw levels against 80 groups
    // earlier.
    f.choose(0, 3);

    v.tbsEvents->setCurrentIndex(2);
    EXPECT_TRUE(v.Measure->isVisible() && v.Meter->isVisible());
    EXPECT_FALSE(v.Marker->isVisible());
    EXPECT_TRUE(v.ACFrame->styleSheet().contains("#c04000")) << v.ACFrame->styleSheet().toStdString();
    EXPECT_EQ(v.lblSampleValue->text(), QString("160"));
    EXPECT_EQ(v.lblMeter[3]->text(), QString("250 amps (250 amps rms)"));

    // A click is held inside the recording: the rms window never leaves it.
    w.waveforms->picvolts_MouseDown(0, Qt::LeftButton, 100);
    EXPECT_EQ(w.waveforms->measuringPoint(), 40);
    EXPECT_EQ(v.Meter->Left(), 0);
    // A drag measures as it goes: 46 of the window's 80 groups lie after the step.
    w.waveforms->picvolts_MouseMove(0, Qt::LeftButton, 5055);
    EXPECT_EQ(v.lblSampleValue->text(), QString("506"));
    EXPECT_EQ(v.lblMeter[2]->text(), QString("30 volts (23 volts rms)"));

    // Raw: the level now against the same channel 80 groups earlier.
    v.chkRaw->setChecked(true);
    EXPECT_FALSE(v.Meter->isVisible());
    EXPECT_TRUE(v.MeasureRef->isVisible());
    EXPECT_EQ(v.lblMeter[2]->text(), QString("10 levels (30 volts)"));
    w.waveforms->picvolts_MouseDown(0, Qt::LeftButton, 500);
    EXPECT_EQ(v.MeasureRef->X1(), 0);

    // Leaving the tab unticks raw data and hides the meter lines.
    v.tbsEvents->setCurrentIndex(0);
    EXPECT_FALSE(v.chkRaw->isChecked());
    EXPECT_FALSE(v.Meter->isVisible() || v.Measure->isVisible());
    EXPECT_TRUE(v.Marker->isVisible());
    EXPECT_TRUE(v.ACFrame->styleSheet().contains("#ff8000")) << v.ACFrame->styleSheet().toStdString();

    // The mouse and the keys pick each event's pulse on the grid.
    f.choose(1, 1);
    const int origin = w.waveforms->markerOrigin(0);

    // The left button picks this event's pulse; off the grid the marker stays.
    w.waveforms->picvolts_MouseDown(0, Qt::LeftButton, origin + 20);
    EXPECT_EQ(w.program.CurrentPulse[0], 1);
    EXPECT_NEAR(v.Marker->X1(), origin + 20.2, 1e-9);
    w.waveforms->picvolts_MouseDown(0, Qt::LeftButton, origin - 20);
    EXPECT_EQ(w.program.CurrentPulse[0], 1);

    // The right button picks the other event's pulse; with other lines chosen in the two lists
    // both reference lines show, on the picture clicked and on the other.
    w.waveforms->picvolts_MouseDown(0, Qt::RightButton, origin + 3 * 20.2);
    EXPECT_EQ(w.program.CurrentPulse[1], 3);
    EXPECT_EQ(w.program.CurrentPulse[0], 1);
    EXPECT_NEAR(v.RefMarker->X1(), origin + 3 * 20.2, 1e-9);
    EXPECT_NEAR(w.eventSlot[1].Marker->X1(), origin + 3 * 20.2, 1e-9);

    // Right moves the marker a grid step and picks there; Shift acts on slot 1.
    w.waveforms->picvolts_KeyDown(0, Qt::Key_Right, Qt::NoModifier);
    EXPECT_EQ(w.program.CurrentPulse[0], 2);
    w.waveforms->picvolts_KeyDown(0, Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(w.program.CurrentPulse[1], 2);
    EXPECT_EQ(w.program.CurrentPulse[0], 2);
    // Up and Down move the trace's alignment bar as the TDR plot's keys do, within its ends.
    w.waveforms->picvolts_KeyDown(0, Qt::Key_Up, Qt::NoModifier);
    EXPECT_EQ(w.tdrView.scrAlign[0]->value(), 1);
    w.tdrView.scrAlign[1]->setValue(-100);
    w.waveforms->picvolts_KeyDown(0, Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(w.tdrView.scrAlign[1]->value(), -100);
    // Every pick redraws the TDR viewer, which names the pulses from 1.
    EXPECT_EQ(w.tdrView.chkTrace[0]->text(), QString("Pulse 3"));
    EXPECT_EQ(w.tdrView.chkTrace[1]->text(), QString("Pulse 3"));

    // Scrolling the zoomed picture keeps the lines on their grid positions.
    v.scrZoom->setValue(v.scrZoom->value() + 100);
    EXPECT_EQ(v.picvolts->ScaleLeft(), 1180);
    EXPECT_EQ(v.Marker->X1(), std::round(origin + 2 * 20.2));
    EXPECT_EQ(v.RefMarker->X1(), std::round(origin + 3 * 20.2));
}
