#pragma once
// The terminal panel's handlers: talking to the unit by hand. The buttons that only send a
// text wait for nothing; whatever the unit answers shows on the terminal screen.
#include "link/LinkTap.h"
#include "link/TerminalTraffic.h"

#include <QString>

namespace mr3x {

class frmMaster;

class Terminal final : public LinkTap {
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
    /// The screen shows the traffic as hex rows, or as text again.
    void chkHex_Click();
    /// Each line of the screen shows its time and direction, or not.
    void chkTimestamps_Click();
    /// The serial control's screen text changed; emptied, it empties the other views too.
    void Comm_ScreenChanged();

    // What passes the link, for the views that mark its direction.
    void linkSent(const QByteArray& bytes) override;
    void linkReceived(const QByteArray& bytes) override;
    void linkTransfer(const ymodem::TransferEvent&) override {}

private:
    /// Hex or timestamps: the screen shows the traffic kept here rather than the screen text.
    bool showsTraffic() const;
    void showScreen();
    void keep(traffic::Direction direction, const QByteArray& bytes);

    frmMaster& w;
    traffic::TerminalTraffic traffic_;
};

} // namespace mr3x
