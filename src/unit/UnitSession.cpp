#include "unit/UnitSession.h"

#include "common/Files.h"

namespace mr3x {

namespace {

constexpr int receivePauseMs = 500;
constexpr int receivePollMs = 10;
constexpr int replyCaptureOn = 300;
// The receive buffer is drained pass by pass; a unit that never stops talking must not hold
// the program here.
constexpr int maxDrainPasses = 100;

} // namespace

QString qtext(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

UnitSession::UnitSession(SerialControl& link, Clock& clock, UnitObserver& observer, QObject* parent)
    : QObject(parent)
    , link_(link)
    , clock_(clock)
    , observer_(observer)
    , linkLog_(clock)
{
    link_.addTap(&linkLog_);
    connect(&link_, &SerialControl::Progress, this, &UnitSession::Comm_Progress);
    connect(&link_, &SerialControl::Abort, this, &UnitSession::Comm_Abort);
}

UnitSession::~UnitSession()
{
    link_.removeTap(&linkLog_);
}

// --- The routine guard ---------------------------------------------------------------------------

UnitSession::Routine::Routine(UnitSession& session)
    : session_(session)
{
    if (session_.routines_++ == 0)
        session_.routineEventDepth_ = session_.clock_.eventDepth();
}

UnitSession::Routine::~Routine()
{
    --session_.routines_;
}

bool UnitSession::routineInterrupted() const
{
    return routines_ > 0 && clock_.eventDepth() > routineEventDepth_;
}

bool UnitSession::busy() const
{
    return link_.TransferState() == 4 || routineInterrupted();
}

bool UnitSession::linkBusy(const QString& title)
{
    if (!busy())
        return false;
    observer_.ask(qtext(commands::busyText), MsgButtons::Ok, MsgIcon::None, title);
    return true;
}

bool UnitSession::refusesCommand(const QString& noConnection, const QString& title)
{
    if (linkBusy(title))
        return true;
    if (link_.PortStatus() == portstatus::Connected)
        return false;
    observer_.ask(noConnection, MsgButtons::Ok, MsgIcon::None, title);
    return true;
}

// --- Exchanges -----------------------------------------------------------------------------------

bool UnitSession::sendCommand(const commands::Exchange& command, const SendOptions& options)
{
    report(command.progress);
    prepare(command, options);
    wakeUp(command);
    if (options.clearPendingBefore)
        link_.setPendingText(QString());
    link_.Send(qtext(command.text));
    if (!command.followUp.empty()) {
        link_.setPause(command.followUpPauseMs);
        link_.Send(qtext(command.followUp));
    }
    if (options.clearPendingAfter)
        link_.setPendingText(QString());
    const bool answered = !command.waits() || link_.TimedOut() == 0;
    if (command.waits())
        report(answered ? command.success : command.timeout);
    if (!options.captureFile.isEmpty())
        link_.setCaptureFile(QString());
    if (options.endWait)
        link_.setWaitTimeout(0);
    return answered;
}

void UnitSession::prepare(const commands::Exchange& command, const SendOptions& options)
{
    if (options.drainFirst) {
        drainReceiveBuffer();
        link_.setPatternSeparator(QStringLiteral("|"));
    }
    if (options.clearScreen)
        link_.setScreenText(QString());
    if (options.releaseTerminal)
        link_.setTerminalActive(false);
    if (options.echo)
        link_.setEcho(*options.echo);
    link_.setTransferMode(0);
    link_.setWaitTimeout(command.timeoutMs);
    link_.setReplyCapture(options.keepReplyText ? replyCaptureOn : 0);
    if (!options.captureFile.isEmpty())
        link_.setCaptureFile(options.captureFile);
    link_.setReplyPatterns(qtext(command.replyPatterns));
}

void UnitSession::wakeUp(const commands::Exchange& command)
{
    if (command.wakeUp == commands::WakeUp::None)
        return;
    if (command.wakeUpPauseMs > 0)
        link_.setPause(command.wakeUpPauseMs);
    const QString wake = command.wakeUp == commands::WakeUp::LineEnds ? QStringLiteral("\r\n") : QString();
    link_.Send(wake);
    link_.Send(wake);
}

void UnitSession::drainReceiveBuffer()
{
    for (int pass = 0; pass < maxDrainPasses && link_.InCount() >= 2; ++pass)
        link_.Input();
}

void UnitSession::sendOnly(commands::Command command)
{
    link_.Send(qtext(commands::exchangeFor(command).text));
}

bool UnitSession::receiveFile(const QString& folder, const QString& name, const ReceiveOptions& options)
{
    if (options.pauseFirst)
        link_.setPause(receivePauseMs);
    const QString target = joinPath(folder, name);
    if (options.existing != ExistingFile::Keep && pathExists(target)) {
        if (options.existing == ExistingFile::Delete)
            removeFile(target);
        else
            makeWritable(target);
    }
    link_.setReceiveFolder(folder);
    if (options.transferProtocol)
        link_.setTransferProtocol(*options.transferProtocol);
    if (options.transferMode)
        link_.setTransferMode(*options.transferMode);
    link_.Input();
    link_.setReceiveFile(name);
    while (link_.TransferState() != 0) {
        if (link_.TransferState() == -1) {
            report(commands::transferFailedText);
            if (options.deleteOnFailure && pathExists(target))
                removeFile(target);
            return false;
        }
        clock_.idle(receivePollMs);
    }
    return true;
}

// --- What the session reports --------------------------------------------------------------------

void UnitSession::report(const QString& text)
{
    if (text.isEmpty())
        return;
    lastStatus_ = text;
    observer_.status(text);
}

void UnitSession::Comm_Progress()
{
    report(QString::number(link_.BytesTransferred()) + qtext(commands::bytesTransferredText));
}

void UnitSession::Comm_Abort()
{
    report(commands::transferAbortedText);
    link_.setWaitTimeout(0);
    observer_.transferAborted();
}

} // namespace mr3x
