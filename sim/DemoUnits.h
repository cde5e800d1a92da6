#pragma once
// The simulated units the demo lists beside the real ports.
#include "common/Clock.h"
#include "link/Transport.h"
#include "sim/SimUnit.h"

#include <memory>
#include <vector>

namespace mr3x::sim {

struct SimulatedPort {
    QString name;
    std::shared_ptr<SimUnit> unit;
};

/// The demo's cable: the fault 150 m from the Master's end of a 320 m cable.
inline constexpr double kDemoFaultDistanceM = 150.0;
inline constexpr double kDemoCableLengthM = 320.0;

/// For an M-R32, the TRS pair at the two ends of the demo's cable, as the demo system lists them:
/// "Simulated unit (M-R32)", the Master MR-0101 at North Yard, and "Simulated unit (M-R32 slave)",
/// the Slave MR-0102 at South Yard. For an M-S32, the one unit "Simulated unit (M-S32)". All
/// answer at the line rate and start armed, their clocks reading `clock`.
std::vector<SimulatedPort> demoUnits(Model model, const DateTime& clock);

/// An opener that gives each simulated port its unit and leaves every other name to `realPorts`.
/// The clock must outlive the opener.
TransportOpener openerWithSimulatedPorts(Clock& clock, const std::vector<SimulatedPort>& ports,
                                         TransportOpener realPorts);

} // namespace mr3x::sim
