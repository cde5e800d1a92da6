#pragma once
// The setting commands and their two batches, from the control panel's choices. The unit
// session runs them (src/unit/SettingBatches.cpp); these routines read the panel.
#include "unitsettings/SetupArguments.h"

#include <QString>

#include <string>

namespace mr3x {

class frmMaster;
struct UnitSetup;

class SettingCommands {
public:
    explicit SettingCommands(frmMaster& window) : w(window) {}

    void SET_TIME();
    void SET_THRESHOLD();
    void SET_DURATION();
    void SET_ID();
    void SET_HARDWARE();
    void SEND_TRIGGER_SETTINGS();
    void SEND_UNIT_SETUP();
    /// The batch that suits the model in lblHardware.
    void SEND_SETTINGS_FOR_MODEL();
    void cmdSetID_Click();

    /// What the batches send, as the control panel stands now (lblWork takes the hardware byte).
    UnitSetup currentSetup() const;

private:
    /// The identity record: the master chain's location date, job and location.
    std::string idRecord() const;
    unitsettings::HardwareChoice hardwareChoice() const;
    /// The master chain's location date as yymmdd.
    QString locationDate() const;

    frmMaster& w;
};

} // namespace mr3x
