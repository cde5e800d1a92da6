#pragma once
// The unit settings file: downloading, listing and applying the unit's settings.
namespace mr3x {

class frmMaster;

class UnitSettings {
public:
    explicit UnitSettings(frmMaster& window) : w(window) {}

    void GET_SETTINGS();
    void PARSE_SETTINGS();
    void mnuSettings_Click();
    void lblHide_Settings_Click();

private:
    frmMaster& w;
};

} // namespace mr3x
