#pragma once
// From a cursor difference to metres. The propagation speed bar `scrVF` holds the speed in
// tenths of a percent of the speed of light (540 = 54.0%); half the speed, what a reflection
// travels per unit of time out and back, is that share of 150 m/us. One TDR plot unit is 10 ns
// at scale 1 (20 ns at scale 2), one TRS sample four times that.
//
// The distance is worked out from the captions the user sees, so the read-out always agrees with
// them: the percentage from the caption's first four characters, the scale and the difference
// from their labels.
#include <string>
#include <string_view>

namespace mr3x::tdr {

inline constexpr int kSpeedMin = 300, kSpeedMax = 1000, kSpeedDesign = 540;
inline constexpr double kCursorMin = 1, kCursorMax = 8191;

/// lblDielectric for scrVF value V: "54.0% (v/2=81.0m/us)" at 540, "100.0% (v/2=150.0m/us)" at
/// 1000. Both numbers have one decimal, rounded half away from zero ("45.2" at 301).
std::string dielectricCaption(int speedValue);

/// P: the number in the caption's first four characters (54.0; 100 from "100.").
double percentFromCaption(std::string_view caption);

/// Metres for a cursor difference: S x D x P x 1.5 / 100 in TDR mode, x 6.0 in TRS mode and VGS.
double distanceMetres(double scale, double difference, double percent, bool tdrMode);

/// lblResult: "##0 m", whole metres rounded half away from zero (81 m; -81 m; a distance that
/// rounds to nothing reads "0 m" whichever side it lies).
std::string distanceText(double metres);
/// The whole metres that text shows.
long long wholeMetres(double metres);

/// The whole metres the Result frame reads for a cursor difference at speed bar value `speed`,
/// the percentage taken from the caption the bar shows, as the read-out takes it.
long long readoutMetres(double scale, double difference, int speed, bool tdrMode);

/// A cursor's position as its label shows it: Int(x + 0.5). Not held to the plot: RESET puts
/// the cursors at 0 and Locate may place them anywhere.
long long cursorPosition(double x);
/// The label text: the number with a leading blank when not negative (" 25", "-3").
std::string cursorText(long long position);

/// A cursor's x held to 1..8191 (a drag past either edge of the plot stops there).
double clampCursorX(double x);

} // namespace mr3x::tdr
