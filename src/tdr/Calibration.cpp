#include "tdr/Calibration.h"

#include "common/Rounding.h"
#include "tdr/Distance.h"

#include <algorithm>
#include <cmath>

namespace mr3x::tdr {

std::optional<Calibration> calibrateSpeed(double lengthMetres, double difference, double scale, bool tdrMode)
{
    if (!std::isfinite(lengthMetres) || !std::isfinite(difference) || !std::isfinite(scale))
        return std::nullopt;
    if (lengthMetres <= 0 || difference == 0 || scale <= 0)
        return std::nullopt;
    // Metres at 100% for this difference: the read-out's own arithmetic.
    const double metresAtFullSpeed = distanceMetres(scale, std::abs(difference), 100, tdrMode);
    Calibration c;
    c.percent = lengthMetres * 100 / metresAtFullSpeed;
    const double tenths = std::min(c.percent * 10, double(kSpeedMax) + 1);  // keeps the rounding in range
    c.speed = int(std::clamp<long long>(roundHalfAway(tenths), kSpeedMin, kSpeedMax));
    c.held = c.percent * 10 < kSpeedMin - 0.5 || c.percent * 10 >= kSpeedMax + 0.5;
    return c;
}

} // namespace mr3x::tdr
