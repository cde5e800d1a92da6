#pragma once
// The setting commands and their two batches. Each command writes its progress and its result
// on the status line; a batch compares the line with each step's success text and asks the user
// whether to go on when a step did not succeed.
#include "link/CommandTable.h"

#include <QString>

#include <span>

namespace mr3x {

class frmMaster;

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

private:
    struct BatchStep {
        void (SettingCommands::*routine)();
        commands::Command command; // whose success text the status line must show afterwards
        const char* problem; // the question's first line when the step did not succeed
    };

    void runBatch(std::span<const BatchStep> steps);
    /// The master chain's location date as yymmdd.
    QString locationDate() const;

    frmMaster& w;
};

} // namespace mr3x
