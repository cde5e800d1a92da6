// The setting commands and their two batches. Each command reports its progress and its result;
// a batch compares the last status with each step's success text and asks whether to go on when
// a step did not succeed.
#include "unit/UnitSession.h"

#include <array>

namespace mr3x {

namespace {

using commands::Command;

const QString NoConnection = QStringLiteral("No connection to unit ");
const QString ContinueQuestion = QStringLiteral("\nDo you wish to continue?");

/// The identity and clock commands start on an empty receive buffer and leave the screen and
/// the echo as they are.
SendOptions drainedFirst()
{
    SendOptions options;
    options.drainFirst = true;
    options.clearScreen = false;
    options.echo = std::nullopt;
    return options;
}

} // namespace

commands::ClockFields UnitSession::setTime()
{
    const QDateTime now = clock_.currentDateTime();
    const commands::ClockFields fields = commands::clockFields(now.date().year(), now.date().month(), now.date().day(),
                                                               now.time().hour(), now.time().minute(), now.time().second());
    sendCommand(commands::setTimeRequest(fields), drainedFirst());
    return fields;
}

void UnitSession::setThreshold(const std::string& thresholdText)
{
    sendCommand(commands::setThresholdRequest(thresholdText));
}

void UnitSession::setDuration(const std::string& durationText)
{
    sendCommand(commands::setDurationRequest(durationText));
}

void UnitSession::setId(const std::string& record)
{
    if (refusesCommand(NoConnection))
        return;
    const Routine routine(*this);
    sendCommand(commands::setIdRequest(record), drainedFirst());
}

void UnitSession::setHardware(const unitsettings::HardwareChoice& choice)
{
    // The unit is woken with two line ends before the settings for the exchange are made.
    commands::Exchange request = commands::setHardwareRequest(unitsettings::hardwareFields(choice));
    link_.Send(QStringLiteral("\r\n"));
    link_.Send(QStringLiteral("\r\n"));
    request.wakeUp = commands::WakeUp::None;
    SendOptions options;
    options.clearScreen = false;
    options.releaseTerminal = false;
    options.echo = std::nullopt;
    sendCommand(request, options);
}

void UnitSession::sendTriggerSettings(const UnitSetup& setup)
{
    static constexpr std::array<BatchStep, 3> steps{{
        {[](UnitSession& s, const UnitSetup&) { s.setTime(); }, Command::SetTime, "Problem setting time"},
        {[](UnitSession& s, const UnitSetup& u) { s.setThreshold(u.thresholdText); }, Command::SetThreshold,
         "Problem setting trigger threshold"},
        {[](UnitSession& s, const UnitSetup& u) { s.setDuration(u.durationText); }, Command::SetDuration,
         "Problem setting trigger duration"},
    }};
    runBatch(steps, setup);
}

void UnitSession::sendUnitSetup(const UnitSetup& setup)
{
    static constexpr std::array<BatchStep, 3> steps{{
        {[](UnitSession& s, const UnitSetup&) { s.setTime(); }, Command::SetTime, "Problem setting time"},
        {[](UnitSession& s, const UnitSetup& u) { s.setId(u.idRecord); }, Command::SetId, "Problem setting ID information"},
        {[](UnitSession& s, const UnitSetup& u) { s.setHardware(u.hardware); }, Command::SetHardware,
         "Problem setting TDR hardware"},
    }};
    runBatch(steps, setup);
}

void UnitSession::runBatch(std::span<const BatchStep> steps, const UnitSetup& setup)
{
    for (const BatchStep& step : steps) {
        step.run(*this, setup);
        if (lastStatus_ == qtext(commands::rowOf(step.command).success))
            continue;
        const MsgAnswer answer =
            observer_.ask(QString::fromLatin1(step.problem) + ContinueQuestion, MsgButtons::YesNo, MsgIcon::Exclamation);
        if (answer == MsgAnswer::No)
            return;
    }
    link_.setWaitTimeout(0);
}

void UnitSession::sendSettings(const UnitSetup& setup)
{
    if (setup.msUnit)
        sendTriggerSettings(setup);
    else
        sendUnitSetup(setup);
}

} // namespace mr3x
