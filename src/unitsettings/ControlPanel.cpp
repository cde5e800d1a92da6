#include "unitsettings/ControlPanel.h"

#include "unit/UnitSession.h"
#include "link/ConnectionLifecycle.h"
#include "tdr/TdrTests.h"
#include "ui/frmMaster.h"
#include "unitsettings/ControlText.h"
#include "unitsettings/PanelChoices.h"
#include "unitsettings/SettingCommands.h"
#include "unitsettings/UnitSettings.h"

#include <QScopedValueRollback>

namespace mr3x {

namespace {

using namespace unitsettings;

const QString ArmQuestion = QStringLiteral("Local Unit will ARM using the current settings and then disconnect\n"
                                           "                  Are the settings correct?");
const QString ArmDeclined = QStringLiteral("Select required TDR Settings\n     and then click ARM");

int selectedIndex(std::span<OptionButton* const> group)
{
    for (std::size_t i = 0; i < group.size(); ++i)
        if (group[i]->isChecked())
            return static_cast<int>(i);
    return -1;
}

/// Writes the selected button's index and tag into the group's mirror labels.
void mirror(std::span<OptionButton* const> group, QLabel* indexLabel, QLabel* tagLabel)
{
    const int index = selectedIndex(group);
    if (index < 0)
        return;
    indexLabel->setText(QString::number(index));
    tagLabel->setText(QString::number(group[static_cast<std::size_t>(index)]->Tag()));
}

void relabel(OptionButton* button, std::string_view caption, int tag)
{
    button->setText(fromLatin1(caption));
    button->setTag(tag);
    button->setBackColor(referenceColour(caption));
}

} // namespace

void ControlPanel::UPDATE_TAGS()
{
    mirror(w.optPhase, w.lblPhaseIndex, w.lblPhaseTag);
    mirror(w.optTDRMode, w.lblModeIndex, w.lblModeTag);
    mirror(w.optRange, w.lblRangeIndex, w.lblRangeTag);
    mirror(w.optReference, w.lblBalanceIndex, w.lblBalanceTag);
    w.sldBalance->setEnabled(w.optReference[0]->isChecked());
}

void ControlPanel::RELABEL_REFERENCES()
{
    const ReferenceCaptions captions = referenceCaptions(labelNumber(w.lblPhaseIndex));
    const int modeTag = labelNumber(w.lblModeTag);
    relabel(w.optReference[1], captions.first, firstReferenceTag(modeTag));
    relabel(w.optReference[2], captions.second, secondReferenceTag(modeTag));
}

void ControlPanel::cboTriggerMode_Click()
{
    const int entry = w.cboTriggerMode->currentIndex();
    if (entry < 0)
        return;
    const TriggerModeEntry mode = triggerModeEntry(entry);
    w.chkFilter->setChecked(mode.filterOn);
    w.chkPulseOn->setChecked(mode.pulseOn);
    w.lblTriggerIndex->setText(QString::number(mode.triggerIndex));
    w.lblTriggerTag->setText(QString::number(mode.triggerTag));
    w.fraTDRPulse->setEnabled(mode.pulseFrameEnabled);
}

// --- Option buttons ----------------------------------------------------------------------------
// A choice reacts however it changes: a mouse press, the keyboard (Space, or the arrow keys that
// move the choice inside a group) or the program. The mouse selects the button, and the change
// runs the group's reaction; a press on the button already chosen runs it again.

void ControlPanel::optPhase_MouseDown(int index, Qt::MouseButton)
{
    choose(w.optPhase, index, &ControlPanel::optPhase_Click);
}

void ControlPanel::optTDRMode_MouseDown(int index, Qt::MouseButton)
{
    choose(w.optTDRMode, index, &ControlPanel::optTDRMode_Click);
}

void ControlPanel::optReference_MouseDown(int index, Qt::MouseButton)
{
    choose(w.optReference, index, &ControlPanel::optReference_Click);
}

void ControlPanel::optRange_MouseDown(int index, Qt::MouseButton)
{
    choose(w.optRange, index, &ControlPanel::optRange_Click);
}

void ControlPanel::optFSD_MouseDown(int index, Qt::MouseButton)
{
    // Selecting the button is its click (optFSD_Click runs on the new selection).
    w.optFSD[static_cast<std::size_t>(index)]->setChecked(true);
}

void ControlPanel::choose(std::span<OptionButton* const> group, int index, void (ControlPanel::*reaction)(int))
{
    OptionButton* button = group[static_cast<std::size_t>(index)];
    if (!button->isEnabled())
        return; // "Internal" takes no choice in Cross mode
    if (button->isChecked())
        (this->*reaction)(index);
    else
        button->setChecked(true); // the change runs the reaction
}

void ControlPanel::optPhase_Click(int index)
{
    react([this, index] {
        w.lblPhaseIndex->setText(QString::number(index));
        RELABEL_REFERENCES();
        UPDATE_TAGS();
    });
}

void ControlPanel::optTDRMode_Click(int index)
{
    react([this, index] {
        showTdrMode(index);
        RELABEL_REFERENCES();
        UPDATE_TAGS();
    });
}

void ControlPanel::optReference_Click(int)
{
    react([this] { UPDATE_TAGS(); });
}

void ControlPanel::optRange_Click(int)
{
    react([this] { UPDATE_TAGS(); });
}

void ControlPanel::react(const std::function<void()>& mirror)
{
    // A reaction's own changes (Cross moving the choice off "Internal") are part of it: they
    // start no second reaction, and so no second automatic test.
    if (reacting_)
        return;
    {
        const QScopedValueRollback<bool> guard(reacting_, true);
        mirror();
    }
    automaticTest();
}

void ControlPanel::optFSD_Click(int index)
{
    w.lblFSDIndex->setText(QString::number(index));
    w.lblFSDTag->setText(QString::number(w.optFSD[static_cast<std::size_t>(index)]->Tag()));
    if (w.cmdTrigger->isEnabled())
        w.cmdTrigger->setFocus();
}

void ControlPanel::showPhase(int index)
{
    w.optPhase[static_cast<std::size_t>(index)]->setChecked(true);
    w.lblPhaseIndex->setText(QString::number(index));
    w.lblPhaseTag->setText(QString::number(w.optPhase[static_cast<std::size_t>(index)]->Tag()));
    RELABEL_REFERENCES();
}

void ControlPanel::showTdrMode(int index)
{
    OptionButton* mode = w.optTDRMode[static_cast<std::size_t>(index)];
    mode->setChecked(true);
    w.lblModeIndex->setText(QString::number(index));
    w.lblModeTag->setText(QString::number(mode->Tag()));

    const bool echo = index == static_cast<int>(TdrModeButton::Echo);
    w.optReference[0]->setEnabled(echo);
    w.sldBalance->setEnabled(echo);
    w.lblBalance->setEnabled(echo);
    if (echo && !w.optReference[1]->isChecked() && !w.optReference[2]->isChecked())
        w.optReference[0]->setChecked(true);
    if (!echo && w.optReference[0]->isChecked())
        w.optReference[1]->setChecked(true);
}

// --- Sliders and their labels ---------------------------------------------------------------------

void ControlPanel::sldGain_Change()
{
    w.lblTDRGain->setText(QString::number(w.sldGain->value()));
}

void ControlPanel::sldBalance_Change()
{
    w.lblBalance->setText(QString::number(w.sldBalance->value()));
}

void ControlPanel::sldPulse_Change()
{
    w.lblPulse->setText(QString::number(w.sldPulse->value()));
}

void ControlPanel::sldPulse_Released()
{
    if (w.cmdTest->isEnabled())
        w.cmdTest->setFocus();
}

void ControlPanel::lblTDRGain_Change()
{
    sliderLabelChanged(w.sldGain);
}

void ControlPanel::lblBalance_Change()
{
    sliderLabelChanged(w.sldBalance);
}

void ControlPanel::lblPulse_Change()
{
    sliderLabelChanged(w.sldPulse);
}

void ControlPanel::sliderLabelChanged(QSlider* slider)
{
    // The slider rests while the test runs, so a move cannot start a second test meanwhile. It
    // comes back as it was: the balance slider stays disabled where the mode or the reference
    // disables it.
    const bool wasEnabled = slider->isEnabled();
    slider->setEnabled(false);
    automaticTest();
    w.clock.DoEvents();
    slider->setEnabled(wasEnabled);
}

void ControlPanel::automaticTest()
{
    if (!w.cmdTest->isEnabled())
        return;
    if (w.chkAutotest->isChecked())
        w.tdrTests->cmdTest_Click();
    w.cmdTest->setFocus();
}

// --- Arming -----------------------------------------------------------------------------------

void ControlPanel::cmdArm_MouseDown(Qt::MouseButton button)
{
    if (button == Qt::RightButton) {
        // A right click reads the unit's settings again, without arming.
        w.connection->ENABLE_CONTROLS();
        w.clock.DoEvents();
        w.unitSettings->GET_SETTINGS();
        return;
    }
    arm();
}

void ControlPanel::arm()
{
    if (w.unit->linkBusy())
        return;
    const UnitSession::Routine routine(*w.unit);
    w.Watchdog->stop();
    if (w.dialogs.message(ArmQuestion, MsgButtons::YesNo, MsgIcon::Critical) != MsgAnswer::Yes) {
        w.dialogs.message(ArmDeclined, MsgButtons::Ok, MsgIcon::Information);
        return;
    }
    // Without file transfer the unit arms without sending a trace first.
    w.chkFileTransfer->setChecked(false);
    w.settingCommands->SEND_SETTINGS_FOR_MODEL();
    w.clock.DoEvents();
    // The unit arms itself with what it holds, also when the user stopped the batch.
    w.connection->ARM_AND_DISCONNECT();
}

} // namespace mr3x
