#pragma once
// The control panel's reactions and arming. Every option group is mirrored into an index label
// and a tag label, which the setting commands read; UPDATE_TAGS keeps the mirrors current.
#include <Qt>

#include <functional>
#include <span>

class QSlider;

namespace mr3x {

class frmMaster;
class OptionButton;

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
    /// The reactions to a new choice, however it was made (mouse, keyboard or program): the
    /// mirrors, the references' captions, then the automatic test.
    void optPhase_Click(int index);
    void optTDRMode_Click(int index);
    void optReference_Click(int index);
    void optRange_Click(int index);
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
    /// A mouse press on an option button: selects it, which runs the group's reaction, or runs
    /// the reaction again when it is chosen already. A disabled button takes no choice.
    void choose(std::span<OptionButton* const> group, int index, void (ControlPanel::*reaction)(int));
    /// Runs `mirror`, then the automatic test; a change made inside a running reaction starts none.
    void react(const std::function<void()>& mirror);
    /// With "TEST" enabled: the automatic test when "Autotest" is ticked, and the focus to "TEST".
    void automaticTest();
    /// A slider label changed or was clicked: the slider rests while the automatic test runs.
    void sliderLabelChanged(QSlider* slider);
    void arm();

    frmMaster& w;
    bool reacting_ = false;
};

} // namespace mr3x
