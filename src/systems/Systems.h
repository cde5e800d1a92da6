#pragma once
// Systems, jobs, locations and units: opening a system, its folder tree, and the two selector
// chains (0 master, 1 slave) that choose the current job, location and unit.
#include <QString>

#include <string>

class QComboBox;

namespace mr3x {

class frmMaster;
class FolderList;
struct UnitEntry;

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
    QString currentSystem() const;
    bool openSystem(const QString& name);
    bool createUnitFolders(const QString& name);
    void failOpening(const QString& name);
    void fillFolderChoice(QComboBox* list, const FolderList& folders, std::string UnitEntry::*field,
                          const QString& remembered);
    void showMasterUnitIdentity(const QString& unit);

    frmMaster& w;
};

} // namespace mr3x
