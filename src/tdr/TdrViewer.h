#pragma once
// The TDR viewer: up to five reflectometry traces on one plot (the TDR part of the Master and
// Slave events, and the three manual tests), the zero and moving cursors, and the distance
// between them in metres at the propagation speed the user sets. In TRS mode the drawing is the
// TRS locator's.
#include <Qt>

#include <array>

namespace mr3x {

class frmMaster;

class TdrViewer {
public:
    explicit TdrViewer(frmMaster& window) : w(window) {}

    /// TDR mode as the viewer opens: scale 1..512 by 256..-1, pan bar and interlace at their
    /// start, frame captioned "TDR Viewer", the speed's caption and the read-outs filled.
    void setTdrModeStartState();

    /// The drawing of the mode chosen: TDR, TRS, or nothing in "VGS".
    void REDRAW_VIEWER();
    void DRAW_TDR_VIEW();
    void DRAW_MANUAL_TRACES();
    /// lblResult from the cursor difference, the scale and the speed.
    void SHOW_DISTANCE();

    void scrVF_Change();
    void scrAlign_Change(int index);
    void chkInterlace_Click();
    void optDisplayMode_Click(int index);
    void picTDR_MouseDown(Qt::MouseButton button, double x);
    void picTDR_MouseMove(Qt::MouseButtons buttons, double x);
    void picTDR_KeyDown(int key, Qt::KeyboardModifiers modifiers);
    /// Up and Down move trace 0's alignment bar a step, with Shift alone trace 1's; held with
    /// Ctrl or Alt they move nothing (they are not the viewer's keys). The TDR plot and the event
    /// pictures both take the keys so.
    void nudgeAlignment(int key, Qt::KeyboardModifiers modifiers);

    /// Each event's injection phase (1 to 4) as the last TDR-mode drawing worked it out.
    int injectionPhase(int event) const { return injectionPhase_[event]; }

private:
    void setRangeStart(bool longRange);
    void drawEventTrace(int e);
    /// False (after its message, with the slot unticked) when slot s cannot be drawn with the
    /// traces already shown.
    bool manualRangeAgrees(int s);
    void showCursorLabels();

    frmMaster& w;
    std::array<int, 2> injectionPhase_{4, 4};
};

} // namespace mr3x
