#include "unitsettings/ControlPanel.h"

#include "ui/frmMaster.h"

namespace mr3x {

void ControlPanel::UPDATE_TAGS() {}
void ControlPanel::RELABEL_REFERENCES() {}
void ControlPanel::cboTriggerMode_Click() {}
void ControlPanel::optPhase_MouseDown(int, Qt::MouseButton) {}
void ControlPanel::optTDRMode_MouseDown(int, Qt::MouseButton) {}
void ControlPanel::optReference_MouseDown(int, Qt::MouseButton) {}
void ControlPanel::optRange_MouseDown(int, Qt::MouseButton) {}
void ControlPanel::optFSD_Click(int) {}
void ControlPanel::sldGain_Change() {}
void ControlPanel::sldBalance_Change() {}
void ControlPanel::sldPulse_Change() {}
void ControlPanel::lblTDRGain_Change() {}
void ControlPanel::lblBalance_Change() {}
void ControlPanel::lblPulse_Change() {}
void ControlPanel::cmdArm_MouseDown(Qt::MouseButton) {}

} // namespace mr3x
