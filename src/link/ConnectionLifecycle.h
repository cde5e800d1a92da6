#pragma once
// The connection lifecycle: opening the port, logging on to the unit (which stops its recording)
// and off (leaving it disarmed or letting it arm itself), and the watchdog that ends an idle link.
#include "common/WorkLocks.h"

#include <QString>

namespace mr3x {

class frmMaster;

class ConnectionLifecycle {
public:
    explicit ConnectionLifecycle(frmMaster& window) : w(window) {}

    /// Watchdog ticks without a new status text after which the time-out warning is shown.
    static constexpr int IdleTicksBeforeWarning = 120;

    /// Opens the port chosen in the port list with the chosen line speed.
    void cboCommports_Click();
    /// Logs on or off, by the button's caption.
    void cmdConnect_Click();
    /// The log-on: wakes the unit, stops its recording, then reads its settings.
    void CONNECT_UNIT();
    /// Lets the unit arm itself with its present settings, then closes the link.
    void ARM_AND_DISCONNECT();
    /// Closes the link and the port.
    void DISCONNECT();
    void ENABLE_CONTROLS();
    void DISABLE_CONTROLS();
    void lblStatus_Change();
    void Watchdog_Timer();

    /// The log-on file of the master unit: unit folder + unit name + " Log_On.txt".
    QString logOnFilePath() const;

private:
    /// The link closed: the model of the unit it led to no longer holds.
    void forgetUnitModel();

    frmMaster& w;
    /// The port open here and the unit logged on to, kept from a collector working them too.
    UnitWorkLocks locks_;
};

} // namespace mr3x
