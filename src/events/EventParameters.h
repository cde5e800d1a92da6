#pragma once
// What a slot's parameter labels show for a loaded event: the head's trigger source and
// full-scale code, and the trailer's model, test, gain, flags, trigger settings, injection and
// names, each through its table.
//
// Texts here are one byte a character, as the trailer holds them (Latin-1 on screen).
#include "events/EventRecord.h"

#include <optional>
#include <string>
#include <string_view>

namespace mr3x::events {

/// The captions the slot's labels get from a record. A field left empty (nullopt) keeps the
/// mark the reset put there: byte values outside a table are never an error.
struct EventParameters {
    std::optional<std::string> unit, version;  // lblUnit, lblVersion (always set; "" for a "Type" unit)
    std::optional<std::string> fsd;            // lblFSD (and lblMeterFSD): only for "M-R32"/"M-S32"
    std::optional<std::string> trigChannel;    // lblTrigChannel
    std::optional<std::string> phase;          // lblPhase, the test pair and reference
    std::optional<std::string> internal;       // lblInternal: balance when phase holds "Internal", else "--"
    std::optional<std::string> gain, longShort, onOff, pulseWidth, preTrigger, threshold, duration;
    std::optional<std::string> injection;      // only below 32768
    std::optional<std::string> trailerJob, trailerLocation;
    std::optional<std::string> mode;           // lblTDR_TRS: "TDR" or "TRS"
    enum class DisplayMode { Unchanged, Tdr, Trs } displayMode = DisplayMode::Unchanged;
    bool triggeredByTrs = false;               // trigger source 5: the locator resets
};

EventParameters describeEvent(const EventRecord& record);

// Each table on its own, for the callers and the tests ---------------------------------------

struct ModelVersion {
    std::string unit;
    std::string version;
};

/// 34, 43 and 209..223 are "M-R32", 225..239 "M-S32", each with the low four bits as the
/// version; any other byte is "Type" and the byte in decimal, with an empty version.
ModelVersion modelOfByte(int modelByte);
/// A unit the program knows ("M-R32" or "M-S32"): only those get a full-scale text.
bool isKnownModel(std::string_view unit);

/// 0 "8000A", 1 "4000A", 3 "2000A", 7 "1000A"; nothing for any other code.
std::optional<std::string> fullScaleText(int fsdCode);
/// 0 "Manual", 1 "Ch1(Vr)", 2 "Ch2(Vy)", 3 "Ch3(Vb)", 4 "Ch0(I)", 5 "TRS"; nothing otherwise.
std::optional<std::string> triggerSourceText(int source);
/// The test of a conductor pair (0..5) against a reference (0..9), as "R-N=Internal", "R-N=Y-N"
/// or "R-NxY-N". References r and r + 5 name the same test. Nothing outside those ranges.
std::optional<std::string> testText(int pair, int reference);
/// The pre/post split of the flags' top three bits: "7/1", "6/2" .. "0/8".
std::string prePostText(int flags);
/// The injection sample in decimal while it is below 32768; nothing from 32768 on.
std::optional<std::string> injectionText(int injection);
/// "TDR" or "TRS" and the display mode it selects: model byte 26 is always TDR, otherwise the
/// mode byte decides (0 and 1 TRS, 2 and 3 TDR); nothing for any other mode byte.
std::optional<std::string> modeText(int modelByte, int modeByte);

} // namespace mr3x::events
