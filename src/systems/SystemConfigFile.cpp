#include "systems/SystemConfigFile.h"

#include "common/Text.h"

namespace mr3x {

std::optional<UnitEntry> parseUnitLine(std::string_view line)
{
    const std::vector<std::string> f = splitTrimmedFields(line);
    if (f.size() < 5)
        return std::nullopt;
    UnitEntry unit{f[0], f[1], f[2], f[3], f[4], f.size() == 6 ? f[5] : std::string()};
    // These three become folders: Jobs/<job>/<location>/<serial number>.
    if (!isSafeName(unit.SerialNo) || !isSafeName(unit.Job) || !isSafeName(unit.Location))
        return std::nullopt;
    return unit;
}

ConfigReadResult parseSystemConfig(const std::vector<std::string>& lines)
{
    ConfigReadResult result;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (trim(lines[i]).empty())
            continue;
        std::optional<UnitEntry> unit = parseUnitLine(lines[i]);
        if (!unit) {
            result.error = ConfigError{i + 1};
            return result;
        }
        result.units.push_back(std::move(*unit));
    }
    return result;
}

std::array<std::string, 6> unitFields(const UnitEntry& u)
{
    return {u.SerialNo, u.BtId, u.Version, u.Job, u.Location, u.SimNo};
}

} // namespace mr3x
