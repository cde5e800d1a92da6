#include "link/ConnectionLifecycle.h"

#include "ui/frmMaster.h"

namespace mr3x {

void ConnectionLifecycle::cboCommports_Click() {}
void ConnectionLifecycle::cmdConnect_Click() {}
void ConnectionLifecycle::CONNECT_UNIT() {}
void ConnectionLifecycle::ARM_AND_DISCONNECT() {}
void ConnectionLifecycle::DISCONNECT() {}
void ConnectionLifecycle::ENABLE_CONTROLS() {}
void ConnectionLifecycle::DISABLE_CONTROLS() {}
void ConnectionLifecycle::lblStatus_Change() {}
void ConnectionLifecycle::Watchdog_Timer() {}
void ConnectionLifecycle::Comm_Progress() {}
void ConnectionLifecycle::Comm_Abort() {}

} // namespace mr3x
