#pragma once
// The waveform picture of each slot: the four channels drawn at their sample levels, the grid of
// the 64 TDR pulse positions, the zoom, the measuring point with its meters (instantaneous and
// rms, volts and amps, or raw levels), and the two markers the user moves with the mouse or the
// keys to pick the pulse the TDR viewer shows for each event.
#include <Qt>

#include <array>

namespace mr3x {

class frmMaster;

class WaveformDisplay {
public:
    explicit WaveformDisplay(frmMaster& window) : w(window) {}

    void DRAW_EVENT_TRACES(int i);
    void DRAW_EVENT_GRID(int i);
    /// Each phase voltage's half-cycle rms as a thin line, while "Raw Data" is off.
    void drawHalfCycleRms(int i);
    void UPDATE_METERS(int i);

    void picvolts_MouseDown(int i, Qt::MouseButton button, double x);
    void picvolts_MouseMove(int i, Qt::MouseButtons buttons, double x);
    void picvolts_KeyDown(int i, int key, Qt::KeyboardModifiers modifiers);
    void picvolts_GotFocus(int i);
    void picvolts_LostFocus(int i);
    void chkAC_Click(int i);
    void chkRaw_Click(int i);
    void cmdZoom_Click(int i);
    void scrZoom_Change(int i);

    /// A new event's start: the measuring point at sample group 160, its line and rms box there.
    void resetMeasuringPoint(int i);
    /// Marker(i) and RefMarker(i) at grid position 0.
    void putMarkersAtOrigin(int i);

    /// The sample group measured (shared by both slots), 0 to 800.
    int measuringPoint() const { return measuringPoint_; }
    /// x of grid position 0 on slot i's picture, from the version of the unit that recorded it.
    int markerOrigin(int i) const { return markerOrigin_[i]; }

private:
    /// The mouse routine, for a press or a drag with one button.
    void pick(int i, Qt::MouseButton button, double x);
    void measureAt(int i, double x);
    void pickPulse(int i, Qt::MouseButton button, double x);
    void placeMeasuringLines(int i);
    double gridX(int i, int position) const;
    bool listsShowSameLine() const;

    frmMaster& w;
    int measuringPoint_ = 160;
    std::array<int, 2> markerOrigin_{913, 913};
};

} // namespace mr3x
