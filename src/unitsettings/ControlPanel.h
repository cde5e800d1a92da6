#pragma once
// The control panel's reactions and arming. Every option group is mirrored into an index label
// and a tag label, which the setting commands read; UPDATE_TAGS keeps the mirrors current.
#include <Qt>

class QSlider;

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
    void optFSD_MouseDown(int index, Qt::MouseButton button);
    void optFSD_Click(int index);
    void sldGain_Change();
    void sldBalance_Change();
    void sldPulse_Change();
    /// The end of a user's move of the pulse slider.
    void sldPulse_Released();
    void lblTDRGain_Change();
    void lblBalance_Change();
    void lblPulse_Change();
    void cmdArm_MouseDown(Qt::MouseButton button);

    // What the settings download sets, with the same effects as the user's choices.
    /// Selects the phase button, writes its index and tag, and relabels the references.
    void showPhase(int index);
    /// Selects Echo (0) or Cross (1), writes its mirrors, and enables "Internal" and the
    /// balance control in Echo only; a selection of "Internal" moves to reference 1 in Cross, and
    /// Echo without a reference selected selects "Internal".
    void showTdrMode(int index);

private:
    /// With "TEST" enabled: the automatic test when "Autotest" is ticked, and the focus to "TEST".
    void automaticTest();
    /// A slider label changed or was clicked: the slider rests while the automatic test runs.
    void sliderLabelChanged(QSlider* slider);
    void arm();

    frmMaster& w;
};

} // namespace mr3x
