#pragma once
// The cable types the propagation speed can be chosen from: a text file in the program folder
// that the user may edit, one type a line, its name, a comma and its speed in percent of the
// speed of light ("XLPE,63.2"). Lines that start with "#" are notes; blank lines are skipped.
// The name runs to the last comma, so it may hold commas itself.
//
// A hand-edited file may hold a line of no such form. It is reported by number and text and left
// in the file as it is: rewriting the table (saving a new type) keeps every line it did not
// change.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mr3x::tdr {

inline constexpr const char* kCableTableName = "Cable Types.txt";
inline constexpr std::size_t kCableNameMax = 60;

struct CableType {
    std::string name;
    int speed = 0;  // tenths of a percent, as the speed bar holds it (300 to 1000)
    friend bool operator==(const CableType&, const CableType&) = default;
};

struct BrokenCableLine {
    int number = 0;      // from 1
    std::string text;
    std::string reason;
    friend bool operator==(const BrokenCableLine&, const BrokenCableLine&) = default;
};

struct CableTable {
    std::vector<CableType> types;         // in file order
    std::vector<BrokenCableLine> broken;  // lines that name no type, with why
};

CableTable readCableTable(const std::vector<std::string>& lines);

/// The table the program writes when the program folder holds none: a few common power-cable
/// insulations (the README gives the source of each figure).
std::vector<std::string> shippedCableTable();

/// The table's lines with `type` in it: the line of a type of that name (in any case) replaced,
/// or a new line at the end. Every other line stays as it was.
std::vector<std::string> withCableType(const std::vector<std::string>& lines, const CableType& type);

/// A speed from its percentage text ("63.2", "63", "63.2%"): tenths of a percent, rounded half
/// away from zero; nothing for a text that is no number or lies outside 30.0 to 100.0.
std::optional<int> speedOfPercentText(std::string_view text);
/// "63.2" for 632.
std::string percentText(int speed);
/// The line that stores a type: "XLPE,63.2".
std::string cableTypeLine(const CableType& type);

/// Why a name cannot be a cable type's; nothing when it can. A name is not empty, at most 60
/// characters, holds no control character, and does not start with "#" (a note).
std::optional<std::string> cableNameProblem(std::string_view name);

} // namespace mr3x::tdr
