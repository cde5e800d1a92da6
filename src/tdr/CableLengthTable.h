#pragma once
// The lengths of the cables between the two units of a TRS pair, kept so that the engineer gives
// a pair's length once: a text file in the program folder, one pair a line, the two units' names
// and the length in metres, comma-separated ("MR-0101,MR-0102,320"). Either unit may come first.
// Lines that start with "#" are notes; a line of no such form is left in the file as it is and
// names no length.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mr3x::tdr {

inline constexpr const char* kCableLengthsName = "Cable Lengths.txt";
inline constexpr double kShortestCableM = 1, kLongestCableM = 100000;

/// The length the table gives the pair, whichever unit it names first.
std::optional<double> cableLengthOf(const std::vector<std::string>& lines, std::string_view unit, std::string_view otherUnit);

/// The table with the pair's length set (a line of its own replaced, or one added at the end),
/// or taken out when `metres` is none. Every other line stays as it was. A new table starts with
/// a note that says what its lines hold.
std::vector<std::string> withCableLength(std::vector<std::string> lines, std::string_view unit, std::string_view otherUnit,
                                         std::optional<double> metres);

/// A length typed by the engineer: "320", "320.5", "320,5", "320 m"; nothing for anything else
/// or a length outside 1 to 100,000 m.
std::optional<double> cableLengthOfText(std::string_view text);
/// "320" for 320, "320.5" for 320.5 (to a tenth of a metre).
std::string cableLengthText(double metres);

} // namespace mr3x::tdr
