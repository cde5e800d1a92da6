#include "unitsettings/SettingCommands.h"

#include "common/Files.h"
#include "unit/UnitSession.h"
#include "ui/frmMaster.h"
#include "unitsettings/ControlText.h"
#include "unitsettings/PanelChoices.h"
#include "unitsettings/SetupArguments.h"

#include <QFileInfo>

#include <algorithm>
#include <array>

namespace mr3x {

namespace {

using commands::Command;
using namespace unitsettings;

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

void SettingCommands::SET_TIME()
{
    const QDateTime now = w.clock.currentDateTime();
    const commands::ClockFields fields = commands::clockFields(now.date().year(), now.date().month(), now.date().day(),
                                                               now.time().hour(), now.time().minute(), now.time().second());
    w.program.ClockFields.clear();
    for (const std::string& field : fields)
        w.program.ClockFields << fromLatin1(field);
    w.unit->sendCommand(commands::setTimeRequest(fields), drainedFirst());
}

void SettingCommands::SET_THRESHOLD()
{
    w.unit->sendCommand(commands::setThresholdRequest(latin1(w.cboThreshold->currentText())));
}

void SettingCommands::SET_DURATION()
{
    w.unit->sendCommand(commands::setDurationRequest(latin1(w.cboDuration->currentText())));
}

void SettingCommands::SET_ID()
{
    if (w.unit->refusesCommand(NoConnection))
        return;
    const UnitSession::Routine routine(*w.unit);
    const std::string record = commands::idRecord(latin1(locationDate()), latin1(w.cboJobs[0]->currentText()),
                                                  latin1(w.cboLocations[0]->currentText()));
    w.unit->sendCommand(commands::setIdRequest(record), drainedFirst());
}

QString SettingCommands::locationDate() const
{
    const QString folder = joinPath(w.DirLocations[0]->Path(), w.cboLocations[0]->currentText());
    QDate date = QFileInfo(folder).lastModified().date();
    // A location folder that cannot be read would leave the record without its date, and the
    // unit refuses such a record: the PC's date stands in for it.
    if (!date.isValid())
        date = w.clock.currentDateTime().date();
    // Written day/month/year whatever the PC's date format, so the unit always gets yymmdd.
    return fromLatin1(idDate(latin1(date.toString(QStringLiteral("dd/MM/yyyy")))));
}

void SettingCommands::SET_HARDWARE()
{
    HardwareChoice choice;
    choice.thresholdText = latin1(w.cboThreshold->currentText());
    choice.durationText = latin1(w.cboDuration->currentText());
    choice.fsdTag = latin1(w.lblFSDTag->text());
    choice.phaseIndex = latin1(w.lblPhaseIndex->text());
    choice.triggerTag = labelNumber(w.lblTriggerTag);
    choice.fileTransfer = w.chkFileTransfer->isChecked();
    choice.hardwareByte = hardwareByte({w.lblRangeIndex->text() == QStringLiteral("1") ? 1 : 0, w.chkPulseOn->isChecked(),
                                        w.sldPulse->value(), std::max(w.cboPre_Post->currentIndex(), 0)});
    choice.gain = w.sldGain->value();
    choice.balance = w.sldBalance->value();
    choice.referenceTag = labelNumber(w.lblBalanceTag);
    choice.filterOn = w.chkFilter->isChecked();
    w.lblWork->setText(QString::number(choice.hardwareByte));

    // The unit is woken with two line ends before the settings for the exchange are made.
    commands::Exchange request = commands::setHardwareRequest(hardwareFields(choice));
    w.lblStatus->setText(qtext(request.progress));
    w.Comm->Send(QStringLiteral("\r\n"));
    w.Comm->Send(QStringLiteral("\r\n"));
    request.wakeUp = commands::WakeUp::None;
    SendOptions options;
    options.clearScreen = false;
    options.releaseTerminal = false;
    options.echo = std::nullopt;
    w.unit->sendCommand(request, options);
}

void SettingCommands::SEND_TRIGGER_SETTINGS()
{
    static constexpr std::array<BatchStep, 3> steps{{
        {&SettingCommands::SET_TIME, Command::SetTime, "Problem setting time"},
        {&SettingCommands::SET_THRESHOLD, Command::SetThreshold, "Problem setting trigger threshold"},
        {&SettingCommands::SET_DURATION, Command::SetDuration, "Problem setting trigger duration"},
    }};
    runBatch(steps);
}

void SettingCommands::SEND_UNIT_SETUP()
{
    static constexpr std::array<BatchStep, 3> steps{{
        {&SettingCommands::SET_TIME, Command::SetTime, "Problem setting time"},
        {&SettingCommands::SET_ID, Command::SetId, "Problem setting ID information"},
        {&SettingCommands::SET_HARDWARE, Command::SetHardware, "Problem setting TDR hardware"},
    }};
    runBatch(steps);
}

void SettingCommands::runBatch(std::span<const BatchStep> steps)
{
    for (const BatchStep& step : steps) {
        (this->*step.routine)();
        if (w.lblStatus->text() == qtext(commands::rowOf(step.command).success))
            continue;
        const MsgAnswer answer = w.dialogs.message(QString::fromLatin1(step.problem) + ContinueQuestion, MsgButtons::YesNo,
                                                   MsgIcon::Exclamation);
        if (answer == MsgAnswer::No)
            return;
    }
    w.Comm->setWaitTimeout(0);
}

void SettingCommands::SEND_SETTINGS_FOR_MODEL()
{
    if (w.lblHardware->text() == fromLatin1(msModel))
        SEND_TRIGGER_SETTINGS();
    else
        SEND_UNIT_SETUP();
}

void SettingCommands::cmdSetID_Click()
{
    SET_ID();
}

} // namespace mr3x
