#pragma once
// Events of known dips drawn from the simulated unit's mains model, and how well the dip
// measurement reads them back.
#include "sim/SimRandom.h"

namespace mr3x::bench {

/// Measures `events` synthetic events (a dip of known depth and length on one, two or three
/// phases, some running past the end of the recording, some down to an interruption) and prints
/// the shares read within 2 points of residual voltage and within one cycle of duration.
void printDipFigures(int events, sim::SimRandom& random);

} // namespace mr3x::bench
