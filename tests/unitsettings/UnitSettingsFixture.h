#pragma once
// The main window on the simulated unit, with helpers to store a settings file of chosen fields
// and to read the panel's choices back.
#include "common/Files.h"
#include "support/LinkFixture.h"
#include "unitsettings/ControlPanel.h"
#include "unitsettings/UnitSettings.h"

#include <QStringList>

namespace mr3x::test {

/// The fields of an "M-R32" in its start state, as it reports them, with some replaced:
/// {{1, "36"}, {10, "6"}}.
inline QStringList fieldsWith(std::initializer_list<std::pair<int, QString>> changes = {})
{
    QStringList fields = {"115200", "15", "3", "12", "0", "0", "3", "34", "10", "10", "0", "R2", "06/12/26",
                          "Feeder 7 Fault", "North Yard", "", "", "SIM 4401"};
    for (const auto& [index, text] : changes)
        fields[index] = text;
    return fields;
}

/// Stores the settings file as the unit's answer to "X" would leave it.
inline void storeSettings(LinkFixture& f, const QStringList& fields)
{
    writeTextFile(f.unitFolder() + "/MR-0101 Settings.txt",
                  {"M-R3X Local Unit M-R32", "Parameters:" + fields.join(','), "Finished X"});
}

/// The window started on the simulated unit at 09:05:03 on 7 March 2031, logged on unless told
/// otherwise, with the wire and the status lines so far put aside.
struct Unit : LinkFixture {
    enum class LogOn { Yes, No };
    explicit Unit(LogOn logOnFirst = LogOn::Yes, sim::SimOptions options = defaultOptions())
        : LinkFixture(std::move(options))
        , w(start())
    {
        if (logOnFirst == LogOn::Yes)
            logOn();
        clock.setDateTime(QDateTime(QDate(2031, 3, 7), QTime(9, 5, 3)));
        fresh();
    }
    /// Clears the wire and starts a new run of status lines.
    void fresh()
    {
        clearWire();
        statusMark = statusHistory.size();
    }
    QString statuses() const { return statusHistory.mid(statusMark).join(" | "); }
    /// Stores a settings file of these fields and applies it to the panel.
    void apply(const QStringList& fields)
    {
        storeSettings(*this, fields);
        w.unitSettings->PARSE_SETTINGS();
    }

    frmMaster& w;
    qsizetype statusMark = 0;
};

/// A press of the mouse on a button of the panel, as its own event brings it.
inline void press(auto* button, Qt::MouseButton mouse = Qt::LeftButton)
{
    emit button->MouseDown(mouse);
}

/// Every choice the control panel offers: the lists by their entry number, the buttons by their
/// number in their group.
struct Choices {
    const char* trigger;
    int threshold, duration, fsd, phase, mode, reference, range, pulse, prePost, gain, balance;
    bool pulseOn, filterOn;
};

inline void choose(frmMaster& w, const Choices& c)
{
    ControlPanel& panel = *w.controlPanel;
    w.cboTriggerMode->setCurrentText(c.trigger);
    w.cboThreshold->setCurrentIndex(c.threshold);
    w.cboDuration->setCurrentIndex(c.duration);
    panel.optFSD_MouseDown(c.fsd, Qt::LeftButton);
    panel.optPhase_MouseDown(c.phase, Qt::LeftButton);
    w.sldBalance->setValue(c.balance); // while Echo still lets it move
    panel.optTDRMode_MouseDown(c.mode, Qt::LeftButton);
    panel.optReference_MouseDown(c.reference, Qt::LeftButton);
    panel.optRange_MouseDown(c.range, Qt::LeftButton);
    w.sldPulse->setValue(c.pulse);
    w.cboPre_Post->setCurrentIndex(c.prePost);
    w.sldGain->setValue(c.gain);
    w.chkPulseOn->setChecked(c.pulseOn);
    w.chkFilter->setChecked(c.filterOn);
}

/// Everything the control panel shows, as one text, to compare two states of it.
inline QString panelState(const frmMaster& w)
{
    const auto selected = [](const auto& group) {
        for (std::size_t i = 0; i < group.size(); ++i)
            if (group[i]->isChecked())
                return QString::number(i);
        return QString("none");
    };
    // Without the pulse the unit holds no width, so none can come back.
    const int pulse = w.chkPulseOn->isChecked() ? w.sldPulse->value() : 0;
    return QStringList{w.cboTriggerMode->currentText(), "threshold " + w.cboThreshold->currentText(),
                       "duration" + w.cboDuration->currentText(), "pre/post " + w.cboPre_Post->currentText(),
                       "fsd " + selected(w.optFSD), "phase " + selected(w.optPhase), "mode " + selected(w.optTDRMode),
                       "reference " + selected(w.optReference), "range " + selected(w.optRange),
                       QString("pulse %1 filter %2").arg(pulse).arg(w.chkFilter->isChecked()),
                       QString("gain %1 balance %2").arg(w.sldGain->value()).arg(w.sldBalance->value()),
                       "references " + w.optReference[1]->text() + "/" + w.optReference[2]->text()}
        .join(" | ");
}

} // namespace mr3x::test
