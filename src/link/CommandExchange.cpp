#include "link/CommandExchange.h"

#include "common/Files.h"
#include "ui/frmMaster.h"

namespace mr3x {

namespace {

constexpr int receivePauseMs = 500;
constexpr int receivePollMs = 10;
constexpr int replyCaptureOn = 300;
// The receive buffer is drained pass by pass; a unit that never stops talking must not hold
// the program here.
constexpr int maxDrainPasses = 100;

QString qt(const std::string& text)
{
    return qtext(text);
}

} // namespace

QString qtext(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

CommandExchange::Routine::Routine(CommandExchange& exchange)
    : exchange_(exchange)
{
    if (exchange_.routines_++ == 0)
        exchange_.routineEventDepth_ = exchange_.w.clock.eventDepth();
}

CommandExchange::Routine::~Routine()
{
    --exchange_.routines_;
}

bool CommandExchange::routineInterrupted() const
{
    return routines_ > 0 && w.clock.eventDepth() > routineEventDepth_;
}

bool CommandExchange::linkBusy(const QString& title)
{
    if (w.Comm->TransferState() != 4 && !routineInterrupted())
        return false;
    w.dialogs.message(qt(std::string(commands::busyText)), MsgButtons::Ok, MsgIcon::None, title);
    return true;
}

bool CommandExchange::refusesCommand(const QString& noConnection, const QString& title)
{
    if (linkBusy(title))
        return true;
    if (w.Comm->PortStatus() == portstatus::Connected)
        return false;
    w.dialogs.message(noConnection, MsgButtons::Ok, MsgIcon::None, title);
    return true;
}

bool CommandExchange::SEND_COMMAND(const commands::Exchange& command, const SendOptions& options)
{
    SerialControl& comm = *w.Comm;
    setStatus(command.progress);
    prepare(command, options);
    wakeUp(command);
    if (options.clearPendingBefore)
        comm.setPendingText(QString());
    comm.Send(qt(command.text));
    if (!command.followUp.empty()) {
        comm.setPause(command.followUpPauseMs);
        comm.Send(qt(command.followUp));
    }
    if (options.clearPendingAfter)
        comm.setPendingText(QString());
    const bool answered = !command.waits() || comm.TimedOut() == 0;
    if (command.waits())
        setStatus(answered ? command.success : command.timeout);
    if (!options.captureFile.isEmpty())
        comm.setCaptureFile(QString());
    if (options.endWait)
        comm.setWaitTimeout(0);
    return answered;
}

void CommandExchange::prepare(const commands::Exchange& command, const SendOptions& options)
{
    SerialControl& comm = *w.Comm;
    if (options.drainFirst) {
        drainReceiveBuffer();
        comm.setPatternSeparator(QStringLiteral("|"));
    }
    if (options.clearScreen)
        comm.setScreenText(QString());
    if (options.releaseTerminal)
        comm.setTerminalActive(false);
    if (options.echo)
        comm.setEcho(*options.echo);
    comm.setTransferMode(0);
    comm.setWaitTimeout(command.timeoutMs);
    comm.setReplyCapture(options.keepReplyText ? replyCaptureOn : 0);
    if (!options.captureFile.isEmpty())
        comm.setCaptureFile(options.captureFile);
    comm.setReplyPatterns(qt(command.replyPatterns));
}

void CommandExchange::wakeUp(const commands::Exchange& command)
{
    if (command.wakeUp == commands::WakeUp::None)
        return;
    SerialControl& comm = *w.Comm;
    if (command.wakeUpPauseMs > 0)
        comm.setPause(command.wakeUpPauseMs);
    const QString wake = command.wakeUp == commands::WakeUp::LineEnds ? QStringLiteral("\r\n") : QString();
    comm.Send(wake);
    comm.Send(wake);
}

void CommandExchange::drainReceiveBuffer()
{
    for (int pass = 0; pass < maxDrainPasses && w.Comm->InCount() >= 2; ++pass)
        w.Comm->Input();
}

void CommandExchange::sendOnly(commands::Command command)
{
    w.Comm->Send(qt(commands::exchangeFor(command).text));
}

bool CommandExchange::RECEIVE_FILE(const QString& folder, const QString& name, const ReceiveOptions& options)
{
    SerialControl& comm = *w.Comm;
    if (options.pauseFirst)
        comm.setPause(receivePauseMs);
    const QString target = joinPath(folder, name);
    if (options.existing != ExistingFile::Keep && pathExists(target)) {
        if (options.existing == ExistingFile::Delete)
            removeFile(target);
        else
            makeWritable(target);
    }
    comm.setReceiveFolder(folder);
    if (options.transferProtocol)
        comm.setTransferProtocol(*options.transferProtocol);
    if (options.transferMode)
        comm.setTransferMode(*options.transferMode);
    comm.Input();
    comm.setReceiveFile(name);
    while (comm.TransferState() != 0) {
        if (comm.TransferState() == -1) {
            setStatus(std::string(commands::transferFailedText));
            if (options.deleteOnFailure && pathExists(target))
                removeFile(target);
            return false;
        }
        w.clock.idle(receivePollMs);
    }
    return true;
}

void CommandExchange::setStatus(const std::string& text)
{
    if (!text.empty())
        w.lblStatus->setText(qt(text));
}

} // namespace mr3x
