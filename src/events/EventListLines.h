#pragma once
// The lines of a slot's event list. Each stored event file gets one line under the slot's
// filter: its stem (the first 17 characters of its name, the event's date and time) and, in
// brackets, the record number for a triggered event or the kind of a manual recording.
//
// A triggered event (".trg") shows its record number on the unit, counted from 01, as two
// digits: "05-12-26 14-03-22 (05)". A manual recording (".vlt") shows "MT" when it is a long file
// and "AC" otherwise. Names are one byte a character.
#include "events/RecordTrailer.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace mr3x::events {

enum class EventFilter { All, Vlt, Trg };

inline constexpr std::size_t kListStemLength = 17;

/// What a ".trg" line shows in place of a record number when the file has no trailer to read
/// it from (a length of neither form).
inline constexpr std::string_view kNoRecordNumber = "--";

/// The line of an event file in a slot's list under the filter, or nothing when the filter
/// hides it. `trailer` is the file's trailer when its length is one of the two forms, else null.
/// ".trg" lines: stem & " (" & two-digit record number + 1 & ")"; ".vlt": stem & " (MT)" for a
/// long file, " (AC)" for any other length. The stem is the name's first 17 characters.
///
/// The "All" filter shows a name holding ".TRG" (any case) as a triggered event and every other
/// name as a manual recording; ".TRG" and ".VLT" show only names holding that extension.
std::optional<std::string> eventListLine(std::string_view fileName, std::uintmax_t fileLength,
                                         const RecordTrailer* trailer, EventFilter filter);

} // namespace mr3x::events
