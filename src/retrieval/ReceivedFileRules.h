#pragma once
// What a file received from the unit is stored as. An event record arrives as "Event_nn.EVT" and
// is stored as "<stem>.trg"; a manual recording arrives as "Manual Trigger.ACT" and is stored as
// "<stem>.vlt". The stem comes from the file's own first six bytes (its date and time), so the
// same event always gets the same name. A stem beginning "00" (no year) holds no event.
//
// A manual recording has its bytes 5 and 6 (the last time byte and the trigger source) set to 0
// before it is stored, so it reads as a manual trigger; its name keeps the time byte as received.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace mr3x::retrieval {

enum class ReceivedKind { EventRecord, ManualRecording };

/// How many bytes of a received file are read to name it.
inline constexpr std::size_t receivedHeadLength = 8;
/// Where the two zero bytes of a manual recording go.
inline constexpr std::size_t manualZeroOffset = 5;
inline constexpr std::size_t manualZeroLength = 2;

/// A name holding "EVT" is an event record, one holding "ACT" a manual recording.
std::optional<ReceivedKind> receivedKind(std::string_view name);

/// ".trg" for an event record, ".vlt" for a manual recording.
std::string_view storedExtension(ReceivedKind kind);

/// The name the file is stored under, from its first bytes as received; nothing when the file
/// holds no event (a stem beginning "00", or too few bytes to read a head from).
std::optional<std::string> storedName(std::span<const std::uint8_t> head, ReceivedKind kind);

} // namespace mr3x::retrieval
