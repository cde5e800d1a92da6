#pragma once
// The TRS viewer and locator: the Master's and the Slave's 8192-sample traces laid over each
// other, LOCK shifting the Slave by the cursor difference and zooming to a 256-sample window,
// Locate jumping to the injection sample each unit reported, RESET back to the whole trace.
namespace mr3x {

class frmMaster;

class TrsLocator {
public:
    explicit TrsLocator(frmMaster& window) : w(window) {}

    void DRAW_TRS_VIEW();
    void DRAW_TRS_TESTS();
    void scrPan_Change();
    void cmdLock_Click();
    void cmdReset_Click();
    void cmdLocation_Click(int index);

private:
    void drawEventTrace(int e, int pan);

    frmMaster& w;
};

} // namespace mr3x
