#pragma once
// Systems, jobs, locations and units: opening a system and the two selector chains.
namespace mr3x {

class frmMaster;

class Systems {
public:
    explicit Systems(frmMaster& window) : w(window) {}

    void DirSystems_Change();
    void lstSystems_Click();
    void DirJobs_Change(int i);
    void DirLocations_Change(int i);
    void DirUnits_Change(int i);
    void cboJobs_Click(int i);
    void cboLocations_Click(int i);
    void cboUnits_Click(int i);
    void chkLocalJobs_Click();
    void mnuConfig_Click();

private:
    frmMaster& w;
};

} // namespace mr3x
