#include "link/Terminal.h"

#include "ui/frmMaster.h"

namespace mr3x {

void Terminal::chkEcho_Click() {}
void Terminal::cmdMonitor_Click() {}
void Terminal::chkAutoreport_Click() {}
void Terminal::chkMSmode_Click() {}
void Terminal::cmdCallDataDesk_Click() {}
void Terminal::cmdCTRLB_Click() {}
void Terminal::cmdCTRLC_Click() {}
void Terminal::cmdSendArm_Click() {}
void Terminal::cmdSendDisarm_Click() {}
void Terminal::cmdVersion_Click() {}
void Terminal::cmdSettings_Click() {}
void Terminal::cmdSendID_Click() {}
void Terminal::cmdGetIndex_Click() {}
void Terminal::cmdEnableControls_Click() {}
void Terminal::lblHideComms_Monitor_Click() {}

} // namespace mr3x
