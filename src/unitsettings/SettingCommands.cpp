#include "unitsettings/SettingCommands.h"

#include "ui/frmMaster.h"

namespace mr3x {

void SettingCommands::SET_TIME() {}
void SettingCommands::SET_THRESHOLD() {}
void SettingCommands::SET_DURATION() {}
void SettingCommands::SET_ID() {}
void SettingCommands::SET_HARDWARE() {}
void SettingCommands::SEND_TRIGGER_SETTINGS() {}
void SettingCommands::SEND_UNIT_SETUP() {}
void SettingCommands::SEND_SETTINGS_FOR_MODEL() {}
void SettingCommands::cmdSetID_Click() {}

} // namespace mr3x
