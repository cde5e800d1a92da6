#pragma once
// The setting commands and their two batches.
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
    frmMaster& w;
};

} // namespace mr3x
