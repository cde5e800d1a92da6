#pragma once
// Where an event file comes from, read from where it lies: the program keeps every unit's files
// in "<Systems>/<system>/Jobs/<job>/<location>/<unit>/", so a file there names its system, job,
// location and unit (its serial number). A file elsewhere (a copy on a memory stick) names none,
// and the exports fall back on what its own trailer holds.
#include "events/EventRecord.h"

#include <string>
#include <string_view>

namespace mr3x::exports {

struct EventOrigin {
    std::string system, job, location, unit;  // empty when the path does not tell
    friend bool operator==(const EventOrigin&, const EventOrigin&) = default;
};

/// The folders above a file, when the file lies in a unit folder of the program's tree ("/" or
/// "\" separate the folders).
EventOrigin originOfPath(std::string_view path);

/// What a stored file is, by its extension in any case: an event (".trg", ".vlt"), a trace
/// (".TDR", and the older ".tst" and ".ref"), or neither.
enum class StoredKind { Event, Trace, Other };
StoredKind storedKindOfPath(std::string_view path);

/// The file's name without its folder and its last extension: "05-12-26 14-03-22".
std::string fileStem(std::string_view path);

/// Where the unit stood: the location folder, or else the location name in the event's trailer.
std::string stationName(const EventOrigin& origin, const events::EventRecord& record);
/// The recording unit: its serial number (the unit folder) and the model its trailer names,
/// "MR-0101 M-R32"; the model alone when the folder does not tell.
std::string recordingDevice(const EventOrigin& origin, const events::EventRecord& record);

} // namespace mr3x::exports
