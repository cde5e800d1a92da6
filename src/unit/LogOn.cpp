// Logging on to the unit and letting it go again.
#include "unit/UnitSession.h"

#include <QRegularExpression>

namespace mr3x {

namespace {

constexpr int pauseAfterArmMs = 500;     // "e" first: a unit still offering a file gives it up
constexpr int pauseAfterStopMs = 1000;

} // namespace

QString UnitSession::portNumberText(const QString& portName)
{
    static const QRegularExpression comPort(QStringLiteral("^COM(\\d+)$"), QRegularExpression::CaseInsensitiveOption);
    const auto match = comPort.match(portName);
    return match.hasMatch() ? match.captured(1) : QStringLiteral(" ") + portName;
}

UnitSession::LogOn UnitSession::logOn(const QString& folder, const QString& unit)
{
    linkLog_.open(folder, unit, link_.PortName(), link_.Settings());
    const commands::Exchange stop = commands::stopAtLogOn(portNumberText(link_.PortName()).toStdString());
    report(stop.progress);
    link_.setPortOpen(true);
    if (!link_.PortOpen())
        return LogOn::PortFailed;
    // Support reading the log of a remote link needs to know how long each wait was allowed.
    if (link_.LinkAllowance() > 0)
        linkLog_.note(QStringLiteral("Link allowance %1 ms on every wait (%2)")
                          .arg(link_.LinkAllowance())
                          .arg(link_.LinkAllowanceIsSet() ? QStringLiteral("the address's own")
                                                          : QStringLiteral("measured at opening")));

    sendOnly(commands::Command::Arm);
    link_.setPause(pauseAfterArmMs);
    link_.setScreenText(QString());
    link_.setTickInterval(10);
    link_.setTickInterval(50);
    link_.setTerminalActive(false);
    link_.setInCount(0);
    link_.setReplyCapture(0);
    link_.setEcho(true);
    link_.setTransferMode(0);
    link_.setWaitTimeout(stop.timeoutMs);
    link_.setCaptureFile(QString());
    link_.setReplyPatterns(qtext(stop.replyPatterns));

    link_.Send(qtext(stop.text));
    link_.setPause(stop.followUpPauseMs);
    link_.Send(qtext(stop.followUp));
    link_.setPendingText(QString());
    if (link_.TimedOut() != 0) {
        report(stop.timeout);
        return LogOn::NoAnswer;
    }
    report(stop.success);
    link_.setWaitTimeout(0);
    link_.setPause(pauseAfterStopMs);
    return LogOn::Stopped;
}

void UnitSession::armAndRelease()
{
    sendOnly(commands::Command::Arm);
    link_.setPendingText(QString());
    report(unitstatus::LocalUnitArmed);
}

void UnitSession::close()
{
    link_.setPortOpen(false);
    link_.setCaptureFile(QString());
    report(unitstatus::Disconnected);
    linkLog_.close();
}

} // namespace mr3x
