#pragma once
// TDR traces of cables the simulated unit's cable model describes, drawn at random more widely
// than the simulated unit ever draws them: the cable's length, the fault's distance and kind,
// joints, the line's loss and smear, the pulse's rise, width and decay, a front end that rounds
// every edge, the gain, the noise, and the small differences between two shots of one unit.
#include "sim/Cable.h"
#include "sim/SimRandom.h"
#include "tdr/TraceLevels.h"

namespace mr3x::bench {

/// One cable and how the unit sees it.
struct SyntheticCable {
    sim::Cable cable;
    bool longRange = false;
    int gain = 10;
    int pulseWidth = 1;        // the width setting, 1 to 8
    double riseFactor = 1;     // the pulse's rise, top and decay against the simulated unit's
    double topFactor = 1;
    double fallFactor = 1;
    double frontEndNs = 0;     // time constant of the front end's rounding of every edge
    double noise = 0.6;        // levels
    double sweepSpread = 0;    // levels: how far each of the four sweeps sits off the others
    double trueEdgeX = 0;      // where the fault's echo leaves the line, in plot units
    bool faultInView = false;  // the fault lies past the dead zone and inside the plot
    double farEndX = 0;        // where the far end's echo leaves the line
    bool farEndInView = false;  // inside the plot, and its echo twelve times the noise high
    bool hasJoints = false;
};

/// A cable drawn from `random`: the fault always lies past the launch's dead zone, inside the
/// plot, and stands at least twelve times the noise high (so an engineer would see it).
SyntheticCable drawCable(sim::SimRandom& random, bool longRange, bool withJoints);

/// A shot of the unit on the cable, with or without the fault: the 512 interleaved points, with
/// the shot's own noise, and (`drift`) a gain a little off, a small time shift and a level offset,
/// as a second shot taken later differs from the first.
tdr::TraceLevels shoot(const SyntheticCable& cable, bool faulted, bool drift, sim::SimRandom& random);

} // namespace mr3x::bench
