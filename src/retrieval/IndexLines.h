#pragma once
// The unit's index file and the lines the program lists it by.
//
// The file is a run of 18-byte records with no header: byte 1 the slot (counted from 0), bytes 3
// to 5 the date and 6 to 8 the time of the event the slot holds, in the order the unit stores
// them. The program reads 40 records from an "M-S32" and 20 from every other model.
//
// An index line is the event name, " (", the slot text, ")" and the stored mark, 23 characters:
// "05-12-26 14-03-22 (07)-". The download reads it back by position: characters 1 to 8 the date,
// 1 to 17 the event name, 20 and 21 the slot text, the last one the mark. A last-index line is
// the event name, three blanks, the slot text, one blank and the mark, 24 characters.
#include "retrieval/EventStem.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace mr3x::retrieval {

inline constexpr std::size_t indexRecordSize = 18;
inline constexpr std::size_t indexLineLength = 23;
inline constexpr std::size_t lastIndexLineLength = 24;
inline constexpr char storedMark = '+';
inline constexpr char missingMark = '-';

struct IndexRecord {
    std::array<std::uint8_t, indexRecordSize> bytes{};

    /// The slot in the unit, counted from 0.
    std::uint8_t slot() const { return bytes[0]; }
    std::span<const std::uint8_t, 6> dateAndTime() const { return std::span<const std::uint8_t, 6>(bytes.data() + 2, 6); }
};

/// 40 records for a model text of exactly "M-S32", 20 for any other.
int indexRecordCount(std::string_view model);

/// The first `count` records of an index file. What the file does not hold (a missing, short or
/// empty file) reads as zeros, so those records are empty slots.
std::vector<IndexRecord> indexRecords(std::span<const std::uint8_t> file, int count);

/// The date and time of the slot's event: the stem its stored file is named by.
std::string eventName(const IndexRecord& record);
/// A slot whose date text reads "00-00-00" holds no event.
bool isEmptySlot(const IndexRecord& record);
/// The slot as the user counts it, from 01, with the two-digit rule (slot 255 shows "56");
/// "00" for an empty slot.
std::string slotText(const IndexRecord& record);

char markFor(bool stored);
std::string indexLine(const IndexRecord& record, bool stored);
std::string lastIndexLine(const IndexRecord& record, bool stored);

// --- Reading an index line back -----------------------------------------------------------

/// Characters 1 to 17.
std::string_view lineEventName(std::string_view line);
/// Characters 20 and 21.
std::string_view lineSlotText(std::string_view line);
/// The first 8 characters read "00-00-00".
bool lineIsEmptySlot(std::string_view line);
/// The last character is "+".
bool lineIsStored(std::string_view line);
/// A line whose event exists on the unit and is missing on the PC: it may be downloaded.
bool lineIsWanted(std::string_view line);
/// The line rebuilt from its event name and slot text with a new mark.
std::string remarkedLine(std::string_view line, bool stored);

} // namespace mr3x::retrieval
