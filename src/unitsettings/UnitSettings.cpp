#include "unitsettings/UnitSettings.h"

#include "ui/frmMaster.h"

namespace mr3x {

void UnitSettings::GET_SETTINGS() {}
void UnitSettings::PARSE_SETTINGS() {}
void UnitSettings::mnuSettings_Click() {}
void UnitSettings::lblHide_Settings_Click() {}

} // namespace mr3x
