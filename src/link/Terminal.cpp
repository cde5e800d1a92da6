#include "link/Terminal.h"

#include "link/ConnectionLifecycle.h"
#include "retrieval/EventIndex.h"
#include "ui/frmMaster.h"
#include "unitsettings/SettingCommands.h"
#include "unitsettings/UnitSettings.h"

namespace mr3x {

namespace {

constexpr char CtrlB = 2;
constexpr char CtrlC = 3;

} // namespace

void Terminal::chkEcho_Click()
{
    w.Comm->setEcho(w.chkEcho->isChecked());
}

void Terminal::cmdMonitor_Click()
{
    w.Comm->setScreenText(QString());
}

void Terminal::chkAutoreport_Click()
{
    w.Comm->Send(w.chkAutoreport->isChecked() ? QByteArrayLiteral("A1") : QByteArrayLiteral("A0"));
}

void Terminal::chkMSmode_Click()
{
    w.Comm->Send(w.chkMSmode->isChecked() ? QByteArrayLiteral("A2") : QByteArrayLiteral("A0"));
}

void Terminal::cmdCallDataDesk_Click()
{
    w.Comm->Send(QByteArrayLiteral("W"));
}

void Terminal::cmdCTRLB_Click()
{
    w.Comm->Send(QByteArray(1, CtrlB));
}

void Terminal::cmdCTRLC_Click()
{
    w.Comm->Send(QByteArray(1, CtrlC));
}

void Terminal::cmdSendArm_Click()
{
    w.Comm->Send(QByteArrayLiteral("e"));
}

void Terminal::cmdSendDisarm_Click()
{
    SerialControl& comm = *w.Comm;
    comm.setEcho(false);
    comm.setTransferMode(0);
    comm.setTerminalActive(false);
    comm.setCaptureFile(QString());
    comm.setReplyPatterns(QStringLiteral("stopped by serial comm!"));
    comm.setReplyCapture(0);
    comm.setInCount(0);
    comm.setWaitTimeout(5000);
    comm.Send(QByteArrayLiteral("="));
    comm.setPause(100);
    comm.Send(QByteArrayLiteral("-"));
    // The line starts with 0 when the unit answered, with a non-zero number when it did not.
    w.lblStatus->setText(QString::number(comm.TimedOut()) + QStringLiteral("  Local unit is disarmed"));
}

void Terminal::cmdVersion_Click()
{
    w.Comm->Send(QByteArrayLiteral("V"));
}

void Terminal::cmdSettings_Click()
{
    w.unitSettings->GET_SETTINGS();
}

void Terminal::cmdSendID_Click()
{
    w.settingCommands->SET_ID();
}

void Terminal::cmdGetIndex_Click()
{
    w.eventIndex->cmdGetIndex_Click();
}

void Terminal::cmdEnableControls_Click()
{
    w.fraControls->show();
    w.connection->ENABLE_CONTROLS();
}

void Terminal::lblHideComms_Monitor_Click()
{
    w.fraSaxComm->hide();
    w.Comm->setTerminalActive(false);
}

void Terminal::txtTerminal_Typed(const QString& text)
{
    // Typing on the screen means the user works the terminal, unless the program is in the
    // middle of an exchange: then the keys wait in PendingText, which the exchange discards.
    if (w.Comm->TransferState() != 4)
        w.Comm->setTerminalActive(true);
    w.Comm->typeText(text);
}

} // namespace mr3x
