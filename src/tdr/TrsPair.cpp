#include "tdr/TrsPair.h"

#include "common/Text.h"

#include <cmath>

namespace mr3x::tdr {

namespace {

std::string metres(long long m)
{
    return std::to_string(m) + " m";
}

} // namespace

TrsPairFinding findTrsPair(const TraceLevels& master, std::optional<int> masterInjection, const TraceLevels& slave,
                           std::optional<int> slaveInjection, int scale, int speed)
{
    TrsPairFinding pair;
    pair.master = findFault(master, FinderSetup{false, scale, speed, trsWindowStart(masterInjection)});
    pair.slave = findFault(slave, FinderSetup{false, scale, speed, trsWindowStart(slaveInjection)});
    pair.lockable = pair.master.launchFound && pair.slave.launchFound;
    if (pair.lockable)
        pair.lockDifference = pair.slave.zeroPoint - pair.master.zeroPoint;
    if (pair.master.fault && pair.slave.fault)
        pair.sumM = pair.master.fault->distanceM + pair.slave.fault->distanceM;
    return pair;
}

std::vector<std::string> trsPairLines(const TrsPairFinding& pair, std::optional<double> cableLengthM)
{
    std::vector<std::string> lines;
    if (pair.lockable)
        lines.push_back("Master's launch at " + std::to_string(pair.master.zeroPoint) + ", Slave's arrival at "
                        + std::to_string(pair.slave.zeroPoint) + ": LOCK lays them together");
    else
        lines.push_back(pair.master.launchFound ? "No arrival found on the Slave's trace" : "No launch found on the Master's trace");
    const auto reading = [](const TraceFinding& f, const char* end) {
        return f.fault ? metres(f.fault->distanceM) + " from the " + end : "no echo from the " + std::string(end);
    };
    lines.push_back("Fault " + reading(pair.master, "Master") + ", " + reading(pair.slave, "Slave"));
    if (!pair.sumM)
        return lines;
    std::string sum = metres(pair.master.fault->distanceM) + " + " + metres(pair.slave.fault->distanceM) + " = " + metres(*pair.sumM);
    if (cableLengthM && *cableLengthM > 0) {
        const double apart = static_cast<double>(*pair.sumM) - *cableLengthM;
        sum += " against the cable's " + metres(std::llround(*cableLengthM)) + ": " + metres(std::llround(std::abs(apart)))
               + (apart < 0 ? " short" : apart > 0 ? " over" : "") + " (" + fixedDecimals(100 * std::abs(apart) / *cableLengthM, 1)
               + " %)";
    } else {
        sum += "; give the cable's length to compare";
    }
    lines.push_back(sum);
    return lines;
}

} // namespace mr3x::tdr
