#pragma once
// Calibrating the propagation speed on a reflection of known distance: with the cursors on both
// ends of a known length, the speed is the one that makes the distance read-out equal it. The
// read-out is S x D x P x 1.5 / 100 metres in TDR mode (6.0 in TRS mode), so
// P = L x 100 / (S x |D| x 1.5).
#include <optional>

namespace mr3x::tdr {

struct Calibration {
    int speed = 0;       // tenths of a percent for the speed bar, held to 300..1000
    double percent = 0;  // the percentage the length asks for, before it was held
    bool held = false;   // the length asked for a speed beyond the bar
};

/// The speed for `lengthMetres` between cursors `difference` units apart at `scale`; nothing
/// when the cursors stand at the same point, or the length, the scale or the difference is no
/// usable number. The sign of the difference does not matter: a length has none.
std::optional<Calibration> calibrateSpeed(double lengthMetres, double difference, double scale, bool tdrMode);

} // namespace mr3x::tdr
