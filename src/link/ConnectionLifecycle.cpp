#include "link/ConnectionLifecycle.h"

#include "common/Files.h"
#include "unit/UnitSession.h"
#include "link/CommandTable.h"
#include "link/LinkLog.h"
#include "systems/UnitAddresses.h"
#include "ui/frmMaster.h"
#include "ui/frmTimeOut.h"
#include "unitsettings/UnitSettings.h"

#include <QRegularExpression>

namespace mr3x {

namespace {

const QString ConnectCaption = QStringLiteral("Connect to Local Unit");
const QString DisconnectCaption = QStringLiteral("Disconnect from Local Unit");

/// The port a list entry names: a bare number n is "COMn", a device name is used as it is.
QString portNameForEntry(const QString& entry)
{
    static const QRegularExpression number(QStringLiteral("^\\d+$"));
    return number.match(entry).hasMatch() ? QStringLiteral("COM") + entry : entry;
}

/// The status line for a port that is not usable: its name and its status in brackets, and,
/// when the port says why (a network port), the reason after the status.
QString portFailureText(const SerialControl& comm)
{
    const QString reason = comm.PortFailure();
    return comm.PortName() + QStringLiteral(" (") + comm.PortStatus() +
           (reason.isEmpty() ? QString() : QStringLiteral(": ") + reason) + QStringLiteral(")");
}

} // namespace

QString ConnectionLifecycle::logOnFilePath() const
{
    return joinPath(w.filTST->Path(), w.cboUnits[0]->currentText() + QStringLiteral(" Log_On.txt"));
}

void ConnectionLifecycle::cboCommports_Click()
{
    SerialControl& comm = *w.Comm;
    if (comm.PortStatus() == portstatus::Connected) {
        comm.setPortOpen(false);
        w.unit->linkLog().close();
        forgetUnitModel();
    }
    locks_.release();
    if (w.optBaud[0]->isChecked())
        comm.setSettings(QStringLiteral("9600,n,8,1"));
    if (w.optBaud[1]->isChecked())
        comm.setSettings(QStringLiteral("115200,n,8,1"));
    comm.setPortName(portNameForEntry(w.cboCommports->currentText()));
    // A collector working a unit on this port holds it: the port stays closed, and says why.
    if (const std::optional<QString> refusal = locks_.takePort(comm.PortName())) {
        w.lblStatus->setText(comm.PortName() + QStringLiteral(" (In use by mr3x-collect)"));
        w.lblStatus->setToolTip(*refusal);
        return;
    }
    w.lblStatus->setToolTip(QString());
    // An address's own allowance stands for the link it names; without one a network port
    // measures its own at opening.
    comm.setLinkAllowance(w.unitAddresses->linkAllowanceForPort(comm.PortName()));
    comm.setPortOpen(true);

    w.lblStatus->setText(comm.PortStatus() == portstatus::Connected ? comm.PortName() + QStringLiteral(" (Ready)")
                                                                    : portFailureText(comm));
    comm.setScreenText(QString());
    comm.setTickInterval(50);
    comm.setEcho(w.chkEcho->isChecked());
    comm.setTerminalActive(true);
    comm.setInCount(0);
    comm.setReplyCapture(0);
    comm.setTransferMode(0);
}

void ConnectionLifecycle::cmdConnect_Click()
{
    w.lstIndex->clear();
    w.lstBuffer->clear();
    // "Disconnect from Local Unit" holds "connect" in lower case only: this tells the two apart.
    if (w.cmdConnect->text().contains(QStringLiteral("Connect"))) {
        if (w.cboUnits[0]->currentText().isEmpty()) {
            w.dialogs.message(QStringLiteral("No unit selected"), MsgButtons::Ok, MsgIcon::Exclamation);
            return;
        }
        CONNECT_UNIT();
        return;
    }

    SerialControl& comm = *w.Comm;
    if (comm.PortStatus() == portstatus::Connected && w.lblStatus->text() != unitstatus::LocalUnitArmed) {
        const QString question = QStringLiteral("The Local Unit has not completed the arming process\n\n"
                                                "Select OK to continue\n\n"
                                                "Select Cancel then click ARM and wait for status message: \n"
                                                "Local Unit armed");
        const MsgAnswer answer = w.dialogs.message(question, MsgButtons::OkCancel, MsgIcon::Exclamation);
        comm.setWaitTimeout(0);
        if (answer == MsgAnswer::Cancel)
            return;
        ARM_AND_DISCONNECT();
    }
    w.clock.DoEvents();
    DISCONNECT();
}

void ConnectionLifecycle::CONNECT_UNIT()
{
    const UnitSession::Routine routine(*w.unit);
    SerialControl& comm = *w.Comm;
    w.chkAutotest->setChecked(false);
    if (comm.PortStatus() == portstatus::Unavailable)
        return;

    // A log-on file left from an earlier log-on must not be taken for this one's.
    const QString logOnFile = logOnFilePath();
    if (pathExists(logOnFile) && !removeFile(logOnFile)) {
        DISCONNECT();
        return;
    }
    const QString unit = w.cboUnits[0]->currentText();
    // The unit's folder is locked by whoever works the unit: a collector on another port may
    // hold it as well as one on this port.
    std::optional<QString> refusal = locks_.takePort(comm.PortName());
    if (!refusal)
        refusal = locks_.takeUnit(unit, w.filTST->Path());
    if (refusal) {
        w.dialogs.message(*refusal, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    w.cmdConnect->setText(DisconnectCaption);
    switch (w.unit->logOn(w.filTST->Path(), unit)) {
    case UnitSession::LogOn::PortFailed:
        // The port went away between choosing it and logging on.
        DISCONNECT();
        w.lblStatus->setText(portFailureText(comm));
        return;
    case UnitSession::LogOn::NoAnswer:
        return; // the port stays open and the button offers the log-off, which asks the arming question
    case UnitSession::LogOn::Stopped:
        break;
    }
    w.lblStatus->Refresh();
    w.clock.DoEvents();
    ENABLE_CONTROLS();
    w.clock.DoEvents();
    w.unitSettings->GET_SETTINGS();
}

void ConnectionLifecycle::ARM_AND_DISCONNECT()
{
    w.unit->armAndRelease();
    DISCONNECT();
}

void ConnectionLifecycle::DISCONNECT()
{
    w.Watchdog->stop();
    forgetUnitModel();
    w.unit->close();
    // The port is closed: a collector may work it and the unit now.
    locks_.release();
    w.cmdConnect->setText(ConnectCaption);
    w.fraControls->hide();
    w.fraSaxComm->hide();
    DISABLE_CONTROLS();
}

void ConnectionLifecycle::forgetUnitModel()
{
    // The next unit on this link may be another model: only its own settings say which.
    w.lblHardware->clear();
}

void ConnectionLifecycle::ENABLE_CONTROLS()
{
    for (QWidget* control : {static_cast<QWidget*>(w.cmdTest), static_cast<QWidget*>(w.cmdArm),
                             static_cast<QWidget*>(w.cmdTrigger), static_cast<QWidget*>(w.cmdGetData),
                             static_cast<QWidget*>(w.cmdSetID), static_cast<QWidget*>(w.cboThreshold)})
        control->setEnabled(true);
    w.Watchdog->start();
}

void ConnectionLifecycle::DISABLE_CONTROLS()
{
    for (QPushButton* button : std::initializer_list<QPushButton*>{w.cmdTest, w.cmdArm, w.cmdTrigger, w.cmdGetData, w.cmdSetID})
        button->setEnabled(false);
    w.Watchdog->stop();
}

void ConnectionLifecycle::lblStatus_Change()
{
    const QString text = w.lblStatus->text();
    w.unit->linkLog().status(text);
    if (text == portstatus::Connected) {
        w.fraControls->show();
        w.fraSaxComm->hide();
    } else if (text == unitstatus::Disconnected) {
        w.Watchdog->stop();
    } else {
        w.program.IdleTicks = 0;
    }
}

void ConnectionLifecycle::Watchdog_Timer()
{
    SerialControl& comm = *w.Comm;
    // Nothing counts while a reply wait or a reception is under way. A reception that failed
    // (-1) is over: the watchdog keeps watching the link then.
    const int state = comm.TransferState();
    if (state != 0 && state != -1)
        return;
    if (comm.PortStatus() == portstatus::Canceled) {
        DISCONNECT();
        w.lblStatus->setText(QStringLiteral("Cancelled"));
        return;
    }
    if (w.program.IdleTicks < INT16_MAX)
        ++w.program.IdleTicks;
    if (w.program.IdleTicks > IdleTicksBeforeWarning && !w.timeOut().isVisible())
        w.timeOut().Form_Load();
    if (comm.PortStatus() == portstatus::Connected)
        w.lblStatus->setText(portstatus::Connected);
}

} // namespace mr3x
