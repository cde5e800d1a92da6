#pragma once
// The event stem: the 17-character date-and-time text that names a stored event file and begins
// its index line, e.g. "05-12-26 14-03-22". It is built from six bytes in the order the unit
// stores them (three date fields, then three time fields), each written with the two-digit rule.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace mr3x::retrieval {

inline constexpr std::size_t stemLength = 17;
inline constexpr std::size_t dateTextLength = 8;

/// Three bytes joined by "-", each as two digits: 5, 12, 26 give "05-12-26".
std::string fieldText(std::span<const std::uint8_t, 3> fields);

/// Date text, one blank, time text.
std::string eventStem(std::span<const std::uint8_t, 6> dateAndTime);

/// The date text of an index slot that holds no event.
inline constexpr std::string_view emptyDateText = "00-00-00";

} // namespace mr3x::retrieval
