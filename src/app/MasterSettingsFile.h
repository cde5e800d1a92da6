#pragma once
// The master settings file "M-R3X Master.ini": the user's last choices, one "key = value" line
// each. It is written whole in a fixed order; it is read free in form, since engineers edit it
// by hand: any order, unknown lines ignored, keys found anywhere in a line without regard to case.
#include <string>
#include <string_view>
#include <vector>

namespace mr3x {

struct MasterSettings {
    std::string SystemFolder;    // a path, as the user's platform writes it
    std::string CommPort;
    std::string Modem;
    std::string DialPrefix;      // read and never used
    std::string LastSystem;
    std::string LastJob;
    std::string LastMaster;
    std::string LastSlave;
    std::string LastConnection;
    std::string LastMode;        // "TDR", "TRS" or empty (no display mode)
};

/// The settings a new file is created with; `systemsFolder` is the program folder's "Systems".
MasterSettings defaultMasterSettings(std::string_view systemsFolder);

/// The file's lines in their fixed order: ten, or nine when no display mode is set.
std::vector<std::string> masterSettingsLines(const MasterSettings& settings);

/// The value of a settings line: the text after its first "=", trimmed; a line without "="
/// gives the whole line, trimmed.
std::string settingValue(std::string_view line);

/// What one line of the file changed: a line may name several keys at once.
struct LineEffect {
    bool systemFolder = false;   // the line named the system folder (whose folder must exist)
};

/// Applies one line of the file to the settings.
LineEffect readMasterSettingsLine(std::string_view line, MasterSettings& settings);

/// Reads a whole file's lines into empty settings.
MasterSettings readMasterSettings(const std::vector<std::string>& lines);

} // namespace mr3x
