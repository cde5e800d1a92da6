#pragma once
// The colours that tell a test's phase at a glance: the back colour of a manual-test slot's
// label, and the colour its trace is drawn in. Both are read from the test's name, which holds
// the phase pair and the mode ("R-N=Y-N" echo, "R-NxY-N" cross, "B-N=TRS" a TRS test). Names
// from older tools may lack the dash ("RN=Y-N"), so both forms are looked for.
#include <string_view>

namespace mr3x::tdr {

struct Rgb {
    int red = 0, green = 0, blue = 0;
    friend bool operator==(const Rgb&, const Rgb&) = default;
};

inline constexpr Rgb kWhite{255, 255, 255}, kBlack{0, 0, 0};

/// lblTest's back colour. The phases are tried in the order R-N, Y-N, B-N, R-Y, Y-B, B-R, then
/// "=TRS" (grey), and the last match wins. The "=" forms and "=TRS" are looked for in the file
/// path, the "x" forms in the list text; dashless forms too. White when nothing matches.
Rgb testLabelColour(std::string_view filePath, std::string_view listText);

/// A manual test's trace colour in the TDR view, from its name (list text), tried in the same
/// order, last match wins; black for "=TRS" and when nothing matches. Event traces have fixed
/// colours: Master (192,64,0) in both modes, Slave (0,192,192) in TDR mode and (0,255,255) in
/// TRS mode; manual TRS tests are black.
Rgb manualTraceColour(std::string_view testName);

inline constexpr Rgb kMasterTdrColour{192, 64, 0}, kSlaveTdrColour{0, 192, 192}, kSlaveTrsColour{0, 255, 255};
inline constexpr Rgb kMasterTrsColour = kMasterTdrColour, kManualTrsColour = kBlack;

} // namespace mr3x::tdr
