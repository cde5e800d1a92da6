#pragma once
// The configuration editor's grid as the rules see it: one row of six cells per unit, in the
// column order of the system configuration file, and the checks the editor makes on what the
// user types before a row is added or changed.
//
// Cells loaded from the file carry one leading blank; cells the editor writes do not. The checks
// compare against the cells as they stand, so that blank takes part in them (a SIM number equal
// to a loaded cell's text is not "in use", one equal to a row added in the editor is).
#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace mr3x {

enum class GridColumn : std::size_t { SerialNo = 0, BtId, Version, Job, Location, SimNo };

using GridRow = std::array<std::string, 6>;
using UnitGrid = std::vector<GridRow>;

inline const std::string& cell(const GridRow& row, GridColumn column)
{
    return row[static_cast<std::size_t>(column)];
}

/// The nine characters that cannot appear in file and folder names, in the order they are listed.
inline constexpr std::string_view kInvalidNameCharacters = "\\/:*?\"<>|";

/// The characters as the editor lists them: each preceded by one blank.
std::string invalidCharactersCaption();

/// A name that holds one of the nine characters.
bool isInvalidName(std::string_view name);

/// The configuration file separates its fields with commas and knows no quoting: a comma in a
/// cell would shift every field after it.
bool breaksTheLine(std::string_view text);

/// A unit, job or location name as the unit will be known once the table is read back: the file's
/// reader trims every field, so blanks around the name are dropped here already.
std::string folderNameAnswer(std::string_view answer);

/// "Not set" anywhere in the answer (as typed, case and all) takes it without further checks.
bool isNotSet(std::string_view answer);

/// A unit name in use: it occurs, without regard to case, anywhere within the serial number cell
/// of some row, so "Unit" is in use while "Unit 1" exists.
bool unitNameInUse(const UnitGrid& grid, std::string_view name);

/// A B/T ID in use: it occurs, without regard to case, within the B/T ID cell of some row. An empty
/// answer occurs in every cell.
bool btIdInUse(const UnitGrid& grid, std::string_view answer);

/// The rows whose cell in `column` equals the answer exactly.
std::size_t rowsEqualTo(const UnitGrid& grid, GridColumn column, std::string_view answer);

/// A SIM number in use: some row's SIM cell equals it exactly.
bool simNoInUse(const UnitGrid& grid, std::string_view answer);

/// Replacements for empty answers.
inline constexpr std::string_view kUnknownVersion = "M-R3*";
inline constexpr std::string_view kJobNameMissing = "Job name missing";
inline constexpr std::string_view kLocationNameMissing = "Location name missing";
inline constexpr std::string_view kMovedJob = "New Job";
inline constexpr std::string_view kMovedLocation = "New Location";

/// The lines of the configuration file: every row's six cells, as they stand, joined by commas.
std::vector<std::string> configFileLines(const UnitGrid& grid);

} // namespace mr3x
