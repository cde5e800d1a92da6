#pragma once
// The terminal panel's handlers: talking to the unit by hand. The buttons that only send a
// text wait for nothing; whatever the unit answers shows on the terminal screen.
#include <QString>
namespace mr3x {

class frmMaster;

class Terminal {
public:
    explicit Terminal(frmMaster& window) : w(window) {}

    void chkEcho_Click();
    void cmdMonitor_Click();
    void chkAutoreport_Click();
    void chkMSmode_Click();
    void cmdCallDataDesk_Click();
    void cmdCTRLB_Click();
    void cmdCTRLC_Click();
    void cmdSendArm_Click();
    void cmdSendDisarm_Click();
    void cmdVersion_Click();
    void cmdSettings_Click();
    void cmdSendID_Click();
    void cmdGetIndex_Click();
    void cmdEnableControls_Click();
    void cmdSendGMT_Click() {}
    void cmdEditID_Click() {}
    void lblHideComms_Monitor_Click();
    /// The user typed on the terminal screen.
    void txtTerminal_Typed(const QString& text);

private:
    frmMaster& w;
};

} // namespace mr3x
