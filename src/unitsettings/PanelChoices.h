#pragma once
// What the unit's settings mean on the control panel, and the panel's own tables: the trigger
// modes, the reference buttons relabelled by phase, and the balance codes.
//
// The balance code is the tag of the chosen reference button, plus 5 when the filter is off.
// "Internal" has tag 0; reference button 1 has the mode tag + 2 and button 2 the mode tag + 1,
// so in Echo (mode tag 0) the buttons are 2 and 1 and in Cross (mode tag 2) they are 4 and 3.
// Stored events decode the same codes the same way, and the settings download reads them back
// by the same tags, with or without the filter, so what the program sends comes back as the
// same choice.
#include "unitsettings/SettingsText.h"

#include <optional>
#include <string_view>

namespace mr3x::unitsettings {

// --- Fields read from the unit, as panel choices (out of range: the field's default) -----------

/// The threshold list's entry: value - 12; default 3 ("15").
int thresholdEntry(const FieldCheck& check);
/// The duration list's entry: value - 2; default 1 (" 3").
int durationEntry(const FieldCheck& check);
/// The FSD button for a current full scale code: 0, 1, 3, 7 are buttons 0 to 3; the other codes
/// in range choose nothing; default button 0 ("8kA").
std::optional<int> fsdButton(const FieldCheck& check);
/// The phase button; default 0 ("R-N").
int phaseButton(const FieldCheck& check);
/// True for TDR (modes 2 and 3), false for TRS (0 and 1); default TDR.
bool tdrMode(const FieldCheck& check);

struct RangeAndPulse {
    int range = 0;         // 0 "400m", 1 "800m"
    bool pulseOn = true;
    int pulseWidth = 2;    // 1 to 8
    int prePostEntry = 0;  // "7/1", "6/2", "5/3"
};
/// The hardware byte's parts: bit 0 range, bit 1 pulse on, bits 2 to 4 pulse width - 1, bits 5
/// and 6 the pre/post entry. Default: short range, pulse on at width 2, "7/1".
RangeAndPulse rangeAndPulse(const FieldCheck& check);
/// The packing of the same parts into the hardware byte.
int hardwareByte(const RangeAndPulse& parts);

/// The gain slider's value; default 10.
int gainValue(const FieldCheck& check);
/// The balance slider's value; default 10.
int balanceValue(const FieldCheck& check);

enum class TdrModeButton { Echo = 0, Cross = 1 };

/// What a balance code chooses; a part left empty is left as it is.
struct BalanceChoice {
    std::optional<TdrModeButton> mode;
    std::optional<int> reference; // 0 "Internal", 1 or 2 the relabelled references
    std::optional<bool> filterOn;
};
/// 0 to 4: mode and reference by the tag the program sends, filter on; 5 to 9: filter off, mode
/// and reference left as they are; out of range: Echo and "Internal", the filter left as it is.
BalanceChoice balanceChoice(const FieldCheck& check);

// --- The panel's tables --------------------------------------------------------------------------

/// What choosing an entry of the trigger-mode list sets.
struct TriggerModeEntry {
    bool filterOn;
    bool pulseOn;
    int triggerIndex;      // lblTriggerIndex: 0 TDR, 1 TRS
    int triggerTag;        // lblTriggerTag: 2 TDR, 0 TRS
    bool pulseFrameEnabled;
};
inline constexpr int triggerModeCount = 5;
/// The entries: 0 TDR, 1 TRS master filter on, 2 TRS master filter off, 3 TRS slave filter on,
/// 4 TRS slave filter off.
TriggerModeEntry triggerModeEntry(int entry);
/// The entry for a unit's mode: TDR is 0; a TRS master sends pulses, a slave does not.
int triggerModeFor(bool tdr, bool pulseOn, bool filterOn);

struct ReferenceCaptions {
    std::string_view first;  // reference button 1
    std::string_view second; // reference button 2
};
/// The two references offered against a phase (0 "R-N" to 5 "B-R").
ReferenceCaptions referenceCaptions(int phase);
/// A reference's back colour as a Windows colour value (0xBBGGRR); -1 for an unknown caption.
long referenceColour(std::string_view caption);
/// The tags of reference buttons 1 and 2 under a mode tag (0 Echo, 2 Cross).
inline int firstReferenceTag(int modeTag) { return modeTag + 2; }
inline int secondReferenceTag(int modeTag) { return modeTag + 1; }

/// The balance code sent to the unit: the reference's tag, plus 5 with the filter off.
int balanceCode(int referenceTag, bool filterOn);

} // namespace mr3x::unitsettings
