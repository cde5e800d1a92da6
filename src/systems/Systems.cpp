#include "systems/Systems.h"

#include "ui/frmMaster.h"

namespace mr3x {

void Systems::DirSystems_Change() {}
void Systems::lstSystems_Click() {}
void Systems::DirJobs_Change(int) {}
void Systems::DirLocations_Change(int) {}
void Systems::DirUnits_Change(int) {}
void Systems::cboJobs_Click(int) {}
void Systems::cboLocations_Click(int) {}
void Systems::cboUnits_Click(int) {}
void Systems::chkLocalJobs_Click() {}
void Systems::mnuConfig_Click() {}

} // namespace mr3x
