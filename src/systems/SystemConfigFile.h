#pragma once
// The system configuration file ("<system>.cfg"): one unit per line, six comma-separated fields
// (serial number, B/T ID, version, job, location, SIM number), no quoting. The serial number,
// job and location become folder names under the program folder, so a line whose names would
// lead elsewhere is refused like a line with too few fields.
#include "systems/UnitTable.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mr3x {

/// The one unit line of a configuration file made for a system that has none.
inline constexpr std::string_view kNewSystemUnitLine = "New Unit,1234567,M-R32,New Job,New Location,New Sim";

/// A unit line: at least five fields, every field trimmed. The SIM number is taken only from a
/// line of exactly six fields. Nothing when the line is malformed or names an unsafe folder.
std::optional<UnitEntry> parseUnitLine(std::string_view line);

/// Why a file was refused: the first line (numbered from 1) that is not a unit line.
struct ConfigError {
    std::size_t lineNumber = 0;
};

/// The unit table of a file's lines, in file order; blank lines are skipped.
struct ConfigReadResult {
    UnitTable units;
    std::optional<ConfigError> error;
};
ConfigReadResult parseSystemConfig(const std::vector<std::string>& lines);

/// One column of the unit table view: its title and its width in twips.
struct UnitTableColumn {
    std::string_view title;
    int widthTwips;
};
inline constexpr std::array<UnitTableColumn, 6> kUnitTableColumns{{
    {"Serial No", 1000},
    {"B/T ID", 1000},
    {"Version", 800},
    {"Current Job", 2500},
    {"Current Location", 2500},
    {"Sim No", 2500},
}};

/// The unit's six fields in column order.
std::array<std::string, 6> unitFields(const UnitEntry& unit);

} // namespace mr3x
