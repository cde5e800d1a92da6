#include "link/Terminal.h"

#include "unit/UnitSession.h"
#include "link/CommandTable.h"
#include "link/ConnectionLifecycle.h"
#include "retrieval/EventIndex.h"
#include "ui/frmMaster.h"
#include "unitsettings/SettingCommands.h"
#include "unitsettings/UnitSettings.h"

namespace mr3x {

using commands::Command;

void Terminal::chkEcho_Click()
{
    w.Comm->setEcho(w.chkEcho->isChecked());
}

void Terminal::cmdMonitor_Click()
{
    traffic_.clear();
    w.Comm->setScreenText(QString());
    showScreen();
}

void Terminal::chkAutoreport_Click()
{
    w.unit->sendOnly(w.chkAutoreport->isChecked() ? Command::AutoReportOn : Command::ReportingOff);
}

void Terminal::chkMSmode_Click()
{
    w.unit->sendOnly(w.chkMSmode->isChecked() ? Command::MsModeOn : Command::ReportingOff);
}

void Terminal::cmdCallDataDesk_Click()
{
    w.unit->sendOnly(Command::ReportToDataDesk);
}

void Terminal::cmdCTRLB_Click()
{
    w.unit->sendOnly(Command::CtrlB);
}

void Terminal::cmdCTRLC_Click()
{
    w.unit->sendOnly(Command::CtrlC);
}

void Terminal::cmdSendArm_Click()
{
    w.unit->sendOnly(Command::Arm);
}

void Terminal::cmdSendDisarm_Click()
{
    SerialControl& comm = *w.Comm;
    const commands::Exchange stop = commands::exchangeFor(Command::StopFromTerminal);
    comm.setEcho(false);
    comm.setTransferMode(0);
    comm.setTerminalActive(false);
    comm.setCaptureFile(QString());
    comm.setReplyPatterns(qtext(stop.replyPatterns));
    comm.setReplyCapture(0);
    comm.setInCount(0);
    comm.setWaitTimeout(stop.timeoutMs);
    comm.Send(qtext(stop.text));
    comm.setPause(stop.followUpPauseMs);
    comm.Send(qtext(stop.followUp));
    // The line starts with 0 when the unit answered, with 1 when it did not. WaitTimeout stays:
    // the next command sets its own.
    w.lblStatus->setText(qtext(comm.TimedOut() == 0 ? stop.success : stop.timeout));
}

void Terminal::cmdVersion_Click()
{
    w.unit->sendOnly(Command::Version);
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

void Terminal::chkHex_Click()
{
    showScreen();
}

void Terminal::chkTimestamps_Click()
{
    showScreen();
}

void Terminal::Comm_ScreenChanged()
{
    // The exchanges empty the screen before each command, so that it shows that command's answer:
    // the other views follow it.
    if (w.Comm->ScreenText().isEmpty())
        traffic_.clear();
    showScreen();
}

void Terminal::linkSent(const QByteArray& bytes)
{
    keep(traffic::Direction::ToUnit, bytes);
}

void Terminal::linkReceived(const QByteArray& bytes)
{
    keep(traffic::Direction::FromUnit, bytes);
}

void Terminal::keep(traffic::Direction direction, const QByteArray& bytes)
{
    const QString stamp = w.clock.currentDateTime().toString(QStringLiteral("HH:mm:ss.zzz"));
    traffic_.add(w.clock.nowMs(), stamp.toStdString(), direction, bytes.toStdString());
    if (showsTraffic())
        showScreen();
}

bool Terminal::showsTraffic() const
{
    return w.terminalView.chkHex->isChecked() || w.terminalView.chkTimestamps->isChecked();
}

void Terminal::showScreen()
{
    if (!showsTraffic()) {
        w.txtTerminal->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        w.txtTerminal->showText(w.Comm->ScreenText());
        return;
    }
    // Hex rows are read down their columns: they are not wrapped, the screen scrolls sideways.
    const bool hex = w.terminalView.chkHex->isChecked();
    w.txtTerminal->setLineWrapMode(hex ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
    w.txtTerminal->showText(QString::fromStdString(traffic_.text(hex, w.terminalView.chkTimestamps->isChecked())));
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
