#pragma once
// The control panel's reactions and arming.
#include <Qt>

namespace mr3x {

class frmMaster;

class ControlPanel {
public:
    explicit ControlPanel(frmMaster& window) : w(window) {}

    void UPDATE_TAGS();
    void RELABEL_REFERENCES();
    void cboTriggerMode_Click();
    void optPhase_MouseDown(int index, Qt::MouseButton button);
    void optTDRMode_MouseDown(int index, Qt::MouseButton button);
    void optReference_MouseDown(int index, Qt::MouseButton button);
    void optRange_MouseDown(int index, Qt::MouseButton button);
    void optFSD_Click(int index);
    void sldGain_Change();
    void sldBalance_Change();
    void sldPulse_Change();
    void lblTDRGain_Change();
    void lblBalance_Change();
    void lblPulse_Change();
    void cmdArm_MouseDown(Qt::MouseButton button);

private:
    frmMaster& w;
};

} // namespace mr3x
