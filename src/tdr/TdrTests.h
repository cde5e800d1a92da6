#pragma once
// TDR test runs and the manual-test slots. The test run itself comes with the TDR tests; what
// other subsystems call already exists here.
namespace mr3x {

class frmMaster;

class TdrTests {
public:
    explicit TdrTests(frmMaster& window) : w(window) {}

    /// "TEST": runs a TDR test. Sends nothing yet.
    void cmdTest_Click();
    /// Unticks the three manual-test traces and empties their lists and labels.
    void CLEAR_MANUAL_TESTS();
    void filTDR_PathChange();
    void filTST_PathChange();

private:
    frmMaster& w;
};

/// The TDR viewer's start state (the drawing comes with the TDR viewer).
class TdrViewer {
public:
    explicit TdrViewer(frmMaster& window) : w(window) {}

    /// TDR mode as the viewer expects it at start-up: scale 1..512 by 256..-1, pan bar and
    /// interlace at their start state, frame captioned "TDR Viewer".
    void setTdrModeStartState();

private:
    frmMaster& w;
};

} // namespace mr3x
