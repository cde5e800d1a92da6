#include "unitsettings/SettingCommands.h"

#include "common/Files.h"
#include "ui/frmMaster.h"
#include "unit/UnitSession.h"
#include "unitsettings/ControlText.h"
#include "unitsettings/PanelChoices.h"
#include "unitsettings/SetupArguments.h"

#include <QFileInfo>

#include <algorithm>

namespace mr3x {

namespace {

using namespace unitsettings;

} // namespace

UnitSetup SettingCommands::currentSetup() const
{
    UnitSetup setup;
    setup.msUnit = w.lblHardware->text() == fromLatin1(msModel);
    setup.thresholdText = latin1(w.cboThreshold->currentText());
    setup.durationText = latin1(w.cboDuration->currentText());
    setup.idRecord = idRecord();
    setup.hardware = hardwareChoice();
    return setup;
}

std::string SettingCommands::idRecord() const
{
    return commands::idRecord(latin1(locationDate()), latin1(w.cboJobs[0]->currentText()),
                              latin1(w.cboLocations[0]->currentText()));
}

HardwareChoice SettingCommands::hardwareChoice() const
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
    return choice;
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

void SettingCommands::SET_TIME()
{
    w.program.ClockFields.clear();
    for (const std::string& field : w.unit->setTime())
        w.program.ClockFields << fromLatin1(field);
}

void SettingCommands::SET_THRESHOLD()
{
    w.unit->setThreshold(latin1(w.cboThreshold->currentText()));
}

void SettingCommands::SET_DURATION()
{
    w.unit->setDuration(latin1(w.cboDuration->currentText()));
}

void SettingCommands::SET_ID()
{
    w.unit->setId(idRecord());
}

void SettingCommands::SET_HARDWARE()
{
    w.unit->setHardware(hardwareChoice());
}

void SettingCommands::SEND_TRIGGER_SETTINGS()
{
    w.unit->sendTriggerSettings(currentSetup());
}

void SettingCommands::SEND_UNIT_SETUP()
{
    w.unit->sendUnitSetup(currentSetup());
}

void SettingCommands::SEND_SETTINGS_FOR_MODEL()
{
    w.unit->sendSettings(currentSetup());
}

void SettingCommands::cmdSetID_Click()
{
    SET_ID();
}

} // namespace mr3x
