#pragma once
// The connection lifecycle: opening the port, logging on and off, the watchdog.
#include <QString>

namespace mr3x {

class frmMaster;

class ConnectionLifecycle {
public:
    explicit ConnectionLifecycle(frmMaster& window) : w(window) {}

    void cboCommports_Click();
    void cmdConnect_Click();
    void CONNECT_UNIT();
    void ARM_AND_DISCONNECT();
    void DISCONNECT();
    void ENABLE_CONTROLS();
    void DISABLE_CONTROLS();
    void lblStatus_Change();
    void Watchdog_Timer();
    /// The serial control's progress and abort events.
    void Comm_Progress();
    void Comm_Abort();

private:
    frmMaster& w;
};

} // namespace mr3x
