#pragma once
// The main window on the simulated unit, with helpers to store a settings file of chosen fields
// and to read the panel's choices back.
#include "common/Files.h"
#include "support/LinkFixture.h"
#include "unitsettings/UnitSettings.h"

#include <QStringList>

#include <ostream>

namespace mr3x::test {

/// The fields of an "M-R32" in its start state, as it reports them.
inline QStringList unitFields()
{
    return {"115200", "15", "3", "12", "0", "0", "3", "34", "10", "10", "0", "R2", "06/12/26",
            "Feeder 7 Fault", "North Yard", "", "", "SIM 4401"};
}

/// Stores the settings file as the unit's answer to "X" would leave it.
inline void storeSettings(LinkFixture& f, const QStringList& fields)
{
    writeTextFile(f.unitFolder() + "/MR-0101 Settings.txt",
                  {"M-R3X Local Unit M-R32", "Parameters:" + fields.join(','), "Finished X"});
}

/// The fields with some replaced: {{1, "36"}, {10, "6"}}.
inline QStringList fieldsWith(std::initializer_list<std::pair<int, QString>> changes)
{
    QStringList fields = unitFields();
    for (const auto& [index, text] : changes)
        fields[index] = text;
    return fields;
}

/// Everything the control panel shows, to compare two states of it.
struct PanelState {
    QString trigger, threshold, duration, prePost;
    int fsd = -1, phase = -1, mode = -1, reference = -1, range = -1;
    bool pulseOn = false, filterOn = false;
    int pulse = 0, gain = 0, balance = 0;
    QString referenceCaptions;

    bool operator==(const PanelState&) const = default;
};

template <typename Group>
int selected(const Group& group)
{
    for (std::size_t i = 0; i < group.size(); ++i)
        if (group[i]->isChecked())
            return static_cast<int>(i);
    return -1;
}

inline PanelState panelState(const frmMaster& w)
{
    PanelState s;
    s.trigger = w.cboTriggerMode->currentText();
    s.threshold = w.cboThreshold->currentText();
    s.duration = w.cboDuration->currentText();
    s.prePost = w.cboPre_Post->currentText();
    s.fsd = selected(w.optFSD);
    s.phase = selected(w.optPhase);
    s.mode = selected(w.optTDRMode);
    s.reference = selected(w.optReference);
    s.range = selected(w.optRange);
    s.pulseOn = w.chkPulseOn->isChecked();
    s.filterOn = w.chkFilter->isChecked();
    // Without the pulse the unit holds no width, so none can come back.
    s.pulse = s.pulseOn ? w.sldPulse->value() : 0;
    s.gain = w.sldGain->value();
    s.balance = w.sldBalance->value();
    s.referenceCaptions = w.optReference[1]->text() + "/" + w.optReference[2]->text();
    return s;
}

inline std::ostream& operator<<(std::ostream& out, const PanelState& s)
{
    return out << s.trigger.toStdString() << " threshold " << s.threshold.toStdString() << " duration '"
               << s.duration.toStdString() << "' pre/post " << s.prePost.toStdString() << " fsd " << s.fsd
               << " phase " << s.phase << " mode " << s.mode << " reference " << s.reference << " range "
               << s.range << " pulse " << s.pulseOn << "/" << s.pulse << " filter " << s.filterOn << " gain "
               << s.gain << " balance " << s.balance << " references " << s.referenceCaptions.toStdString();
}

} // namespace mr3x::test
