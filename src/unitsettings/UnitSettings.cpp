#include "unitsettings/UnitSettings.h"

#include "common/Files.h"
#include "common/Text.h"
#include "unit/UnitSession.h"
#include "link/ConnectionLifecycle.h"
#include "retrieval/EventIndex.h"
#include "ui/frmMaster.h"
#include "unitsettings/ControlText.h"
#include "unitsettings/ControlPanel.h"
#include "unitsettings/PanelChoices.h"
#include "unitsettings/SettingsText.h"

#include <QSignalBlocker>

namespace mr3x {

namespace {

using commands::Command;
using namespace unitsettings;

const QString NoConnection = QStringLiteral("No connection to Local Unit");
const QString NoUnit = QStringLiteral("No unit selected");
constexpr int pauseAfterSettingsMs = 1000;

/// Selects an entry of a list, when the list has it.
void selectEntry(QComboBox* box, int entry)
{
    if (entry >= 0 && entry < box->count())
        box->setCurrentIndex(entry);
}

/// Sets a slider and shows its value in its label.
void showSlider(QSlider* slider, EventLabel* label, int value)
{
    slider->setValue(value);
    label->setText(QString::number(slider->value()));
}

} // namespace

bool UnitSettings::unitChosen() const
{
    return !w.filTST->Path().isEmpty() && isSafeName(latin1(w.cboUnits[0]->currentText()));
}

QString UnitSettings::settingsFilePath() const
{
    return settingsFileOf(w.filTST->Path(), w.cboUnits[0]->currentText());
}

QString UnitSettings::chosenUnitsFile() const
{
    return unitChosen() ? settingsFilePath() : QString();
}

QString UnitSettings::settingsFileOf(const QString& folder, const QString& unit)
{
    return UnitSession::settingsFile(folder, unit);
}

void UnitSettings::GET_SETTINGS()
{
    SerialControl& comm = *w.Comm;
    if (w.unit->refusesCommand(NoConnection))
        return;
    // The terminal can ask with only a port open: without a unit folder the capture would land
    // wherever the program happens to run.
    if (!unitChosen()) {
        w.dialogs.message(NoUnit, MsgButtons::Ok, MsgIcon::Exclamation);
        return;
    }
    const UnitSession::Routine routine(*w.unit);
    // The user may choose another unit while the waits let window events run: the settings and
    // the index still belong to the unit they were asked of, and go to its folder.
    const QString folder = w.filTST->Path();
    const QString unit = w.cboUnits[0]->currentText();
    w.Watchdog->stop();
    if (w.unit->captureSettings(folder, unit)) {
        w.lblStatus->Refresh();
        parseSettings(settingsFileOf(folder, unit));
    }
    comm.setPause(pauseAfterSettingsMs);
    w.connection->ENABLE_CONTROLS();
    w.clock.DoEvents();
    downloadIndex(folder, unit);
}

void UnitSettings::downloadIndex(const QString& folder, const QString& unit)
{
    const std::optional<QString> index = w.unit->fetchIndex(folder, unit, UnitSession::IndexRequest::AfterSettings);
    if (!index)
        return;
    w.eventIndex->fillIndexList(*index);
    w.clock.DoEvents();
    w.Watchdog->start();
}

void UnitSettings::PARSE_SETTINGS()
{
    parseSettings(chosenUnitsFile());
}

void UnitSettings::parseSettings(const QString& file)
{
    w.program.ParameterLabels[TriggerMode] = fromLatin1(triggerModeLabel);
    w.program.ParameterLabels[RangePulse] = fromLatin1(rangePulseLabel);
    w.lstUnitSettings->clear();
    std::optional<CheckedSettings> read = w.unit->readSettings(file);
    if (!read)
        return;
    std::vector<std::string> fields = read->fields;
    if (fields.size() > SimNumber)
        offerSimNumber(fields[SimNumber]);
    markGprs(fields);
    // The model is this unit's own: a unit without the "M-S32" marker is not taken for one
    // because an earlier unit of the run was.
    if (fields.size() > Version)
        w.lblHardware->setText(read->msUnit ? fromLatin1(msModel) : QString());
    keepParameters(fields);
    listFields(fields);
    applyChecks(*read);
    w.controlPanel->UPDATE_TAGS();
    w.connection->ENABLE_CONTROLS();
}

void UnitSettings::mnuSettings_Click()
{
    w.fraSettingsViewer->show();
    w.lstUnitSettings->clear();
    std::optional<std::vector<std::string>> fields = readFields(chosenUnitsFile());
    if (!fields)
        return;
    if (fields->size() > Version)
        w.lblPar11->setText(fromLatin1((*fields)[Version]));
    markGprs(*fields);
    keepParameters(*fields);
    listFields(*fields);
}

void UnitSettings::lblHide_Settings_Click()
{
    w.fraSettingsViewer->hide();
}

std::optional<std::vector<std::string>> UnitSettings::readFields(const QString& file)
{
    const std::optional<std::vector<std::string>> text = readLatin1Lines(file);
    if (!text)
        return std::nullopt;
    return splitParameters(*text);
}

void UnitSettings::keepParameters(const std::vector<std::string>& fields)
{
    w.program.UnitParameters.clear();
    for (const std::string& field : fields)
        w.program.UnitParameters << fromLatin1(field);
}

void UnitSettings::markGprs(std::vector<std::string>& fields)
{
    if (fields.size() <= Version)
        return; // a short file says nothing about the variant
    const bool gprs = fields[Version] == gprsMarker;
    w.chkGPRS->setChecked(gprs);
    if (gprs)
        fields[BaudRate] = hiddenBaudRate;
}

void UnitSettings::listFields(const std::vector<std::string>& fields)
{
    std::array<std::string, 21> labels;
    for (std::size_t i = 0; i < labels.size(); ++i)
        labels[i] = latin1(w.program.ParameterLabels[i]);
    for (const std::string& line : listLines(fields, labels))
        w.lstUnitSettings->addItem(fromLatin1(line));
}

void UnitSettings::offerSimNumber(const std::string& simNumber)
{
    QComboBox* slaveUnits = w.cboUnits[1];
    const QString entry = fromLatin1(simNumber);
    // Each log-on reads the number again: one entry is enough.
    if (entry.isEmpty() || slaveUnits->findText(entry) >= 0)
        return;
    const int selected = slaveUnits->currentIndex();
    const QSignalBlocker quiet(slaveUnits);
    slaveUnits->addItem(entry);
    slaveUnits->setCurrentIndex(selected);
}

void UnitSettings::applyChecks(const CheckedSettings& read)
{
    const auto checked = [&read](Field field) { return read.checks[static_cast<std::size_t>(field)]; };

    if (const auto check = checked(Threshold))
        selectEntry(w.cboThreshold, thresholdEntry(*check));
    if (const auto check = checked(Duration))
        selectEntry(w.cboDuration, durationEntry(*check));
    if (const auto check = checked(CurrentFsd))
        if (const std::optional<int> button = fsdButton(*check))
            w.optFSD[static_cast<std::size_t>(*button)]->setChecked(true);
    if (const auto check = checked(Phase))
        w.controlPanel->showPhase(phaseButton(*check));
    std::optional<bool> tdr;
    if (const auto check = checked(TriggerMode))
        tdr = tdrMode(*check);
    if (const auto check = checked(RangePulse))
        showRangeAndPulse(rangeAndPulse(*check));
    if (const auto check = checked(Gain))
        showSlider(w.sldGain, w.lblTDRGain, gainValue(*check));
    if (const auto check = checked(Balance))
        showSlider(w.sldBalance, w.lblBalance, balanceValue(*check));
    if (const auto check = checked(BalanceMode))
        showBalanceChoice(balanceChoice(*check));
    if (tdr)
        chooseTriggerMode(*tdr);
}

void UnitSettings::showRangeAndPulse(const RangeAndPulse& parts)
{
    OptionButton* range = w.optRange[static_cast<std::size_t>(parts.range)];
    range->setChecked(true);
    w.lblRangeIndex->setText(QString::number(parts.range));
    w.lblRangeTag->setText(QString::number(range->Tag()));
    selectEntry(w.cboPre_Post, parts.prePostEntry);
    w.chkPulseOn->setChecked(parts.pulseOn);
    if (parts.pulseOn)
        showSlider(w.sldPulse, w.lblPulse, parts.pulseWidth);
}

void UnitSettings::showBalanceChoice(const BalanceChoice& choice)
{
    if (choice.mode)
        w.controlPanel->showTdrMode(static_cast<int>(*choice.mode));
    if (choice.reference)
        w.optReference[static_cast<std::size_t>(*choice.reference)]->setChecked(true);
    if (choice.mode)
        w.controlPanel->RELABEL_REFERENCES(); // the references' tags follow the mode
    if (choice.filterOn)
        w.chkFilter->setChecked(*choice.filterOn);
}

void UnitSettings::chooseTriggerMode(bool tdr)
{
    const bool pulseOn = w.chkPulseOn->isChecked();
    const bool filterOn = w.chkFilter->isChecked();
    w.cboTriggerMode->setCurrentIndex(triggerModeFor(tdr, pulseOn, filterOn));
    // Choosing TDR ticks "Pulse On" and "Filter On"; the panel shows what the unit holds.
    w.chkPulseOn->setChecked(pulseOn);
    w.chkFilter->setChecked(filterOn);
}

} // namespace mr3x
