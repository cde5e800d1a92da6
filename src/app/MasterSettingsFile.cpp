#include "app/MasterSettingsFile.h"

#include "common/Text.h"

namespace mr3x {

MasterSettings defaultMasterSettings(std::string_view systemsFolder)
{
    MasterSettings s;
    s.SystemFolder = systemsFolder;
    s.CommPort = "COM1";
    s.LastSystem = "New System";
    s.LastJob = "New Job";
    s.LastMaster = "New Master";
    s.LastSlave = "New Slave";
    s.LastMode = "TDR";
    return s;
}

std::vector<std::string> masterSettingsLines(const MasterSettings& s)
{
    std::vector<std::string> lines{
        "System Folder = " + s.SystemFolder,
        "Comm port = " + s.CommPort,
        "Modem = " + s.Modem,
        "Dial prefix = " + s.DialPrefix,
        "Last system = " + s.LastSystem,
        "Last Job = " + s.LastJob,
        "Last Master = " + s.LastMaster,
        "Last Slave = " + s.LastSlave,
        "Last Connection = " + s.LastConnection,
    };
    if (!s.LastMode.empty())
        lines.push_back("Last Mode = " + s.LastMode);
    return lines;
}

std::string settingValue(std::string_view line)
{
    const auto equals = line.find('=');
    return trim(equals == std::string_view::npos ? line : line.substr(equals + 1));
}

LineEffect readMasterSettingsLine(std::string_view line, MasterSettings& s)
{
    const std::string upper = toUpper(line);
    const auto has = [&upper](std::string_view key) { return upper.find(key) != std::string::npos; };
    LineEffect effect;

    // Every key is tried on every line, so a line that names two keys sets both.
    struct Key {
        std::string_view name;
        std::string MasterSettings::*field;
    };
    static constexpr Key keys[] = {
        {"SYSTEM FOLDER", &MasterSettings::SystemFolder},
        {"COMM PORT", &MasterSettings::CommPort},
        {"MODEM", &MasterSettings::Modem},
        {"DIAL PREFIX", &MasterSettings::DialPrefix},
        {"LAST SYSTEM", &MasterSettings::LastSystem},
        {"LAST JOB", &MasterSettings::LastJob},
        {"LAST MASTER", &MasterSettings::LastMaster},
        {"LAST SLAVE", &MasterSettings::LastSlave},
        {"LAST CONNECTION", &MasterSettings::LastConnection},
    };
    for (const Key& key : keys) {
        if (!has(key.name))
            continue;
        s.*key.field = settingValue(line);
        if (key.field == &MasterSettings::SystemFolder)
            effect.systemFolder = true;
    }

    // The display mode is read from the whole line, and "TRS" wins when both words occur.
    if (has("LAST MODE")) {
        if (has("TDR"))
            s.LastMode = "TDR";
        if (has("TRS"))
            s.LastMode = "TRS";
    }
    return effect;
}

MasterSettings readMasterSettings(const std::vector<std::string>& lines)
{
    MasterSettings s;
    for (const std::string& line : lines)
        readMasterSettingsLine(line, s);
    return s;
}

} // namespace mr3x
