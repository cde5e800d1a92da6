#pragma once
// A TRS pair read for the engineer: the Master's launch and the Slave's arrival, which LOCK lays
// on each other, and each unit's echo from the fault, read from its own launch or arrival. From
// the Master's end the fault lies d away, from the Slave's d'; on a cable of known length L the
// two readings agree when d + d' comes to L.
#include "tdr/FaultFinder.h"

#include <optional>
#include <string>
#include <vector>

namespace mr3x::tdr {

struct TrsPairFinding {
    TraceFinding master;  // zeroPoint: the Master's launch; fault: its echo from the fault
    TraceFinding slave;   // zeroPoint: the Slave's arrival; fault: its echo from the fault
    bool lockable = false;          // both the launch and the arrival were found
    long long lockDifference = 0;   // arrival less launch: what LOCK adds to the Slave's shift
    std::optional<long long> sumM;  // d + d', when both echoes were found
};

TrsPairFinding findTrsPair(const TraceLevels& master, std::optional<int> masterInjection, const TraceLevels& slave,
                           std::optional<int> slaveInjection, int scale, int speed);

/// The lines that say it: the launch and the arrival, the fault from each end, and how well the
/// two agree against the cable's length when it is known.
std::vector<std::string> trsPairLines(const TrsPairFinding& pair, std::optional<double> cableLengthM);

} // namespace mr3x::tdr
