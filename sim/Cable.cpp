#include "sim/Cable.h"

#include <algorithm>
#include <cmath>

namespace mr3x::sim {

namespace {

// A pulse loses height and sharpness with every metre it travels: on the usual cable a fault
// echo from 150 m comes back at 90 % of its height, one from a 320 m far end at 81 %, and each
// is a little wider.
double loss(const Cable& cable, double pathM)
{
    return std::exp(-pathM / cable.lossLengthM);
}

double smear(const Cable& cable, double pathM)
{
    return cable.smearNsPerM * pathM;
}

bool onCable(const Cable& cable, double distanceM)
{
    return distanceM >= 0 && distanceM < cable.lengthM;
}

Arrival echo(const Cable& cable, double distanceM, double height, double pathM)
{
    return {distanceM, height * loss(cable, pathM), smear(cable, pathM)};
}

/// What passes a point that sends back `reflection`, there and back again.
double passedBothWays(double reflection)
{
    return std::pow(1 - std::abs(reflection), 2);
}

} // namespace

double faultFromEnd(const Cable& cable, TrsRole role)
{
    return role == TrsRole::Slave ? cable.lengthM - cable.faultDistanceM : cable.faultDistanceM;
}

std::vector<Arrival> ownShot(const Cable& cable, TrsRole role, bool faulted)
{
    // Each point that sends something back, from this unit's end.
    std::vector<Joint> points;
    if (role == TrsRole::None)
        for (const Joint& joint : cable.joints)
            if (onCable(cable, joint.distanceM))
                points.push_back(joint);
    const double fault = faultFromEnd(cable, role);
    if (faulted && onCable(cable, fault))
        points.push_back({fault, cable.faultReflection});
    std::stable_sort(points.begin(), points.end(), [](const Joint& a, const Joint& b) { return a.distanceM < b.distanceM; });

    std::vector<Arrival> arrivals{{0.0, 1.0, 0.0}};
    // What gets past the points met so far, there and back again.
    double through = 1.0;
    for (const Joint& point : points) {
        arrivals.push_back(echo(cable, point.distanceM, point.reflection * through, 2 * point.distanceM));
        through *= passedBothWays(point.reflection);
    }
    const bool open = role != TrsRole::None || cable.farEnd == FarEnd::Open;
    arrivals.push_back(echo(cable, cable.lengthM, (open ? 1.0 : -1.0) * through, 2 * cable.lengthM));
    return arrivals;
}

std::vector<Arrival> slaveView(const Cable& cable)
{
    const double length = cable.lengthM;
    const double fault = length - cable.faultDistanceM;  // from the Slave's end
    const bool faulted = onCable(cable, cable.faultDistanceM);
    const double reflection = cable.faultReflection;
    const double through = faulted ? 1 - std::abs(reflection) : 1.0;

    // The Master's pulse arrives having passed the fault once; the Slave's open end sends it back,
    // and the fault and then the Master's open end return it.
    const Arrival arrival = echo(cable, 0.0, through, length);
    std::vector<Arrival> arrivals{arrival};
    if (faulted)
        arrivals.push_back({fault, arrival.amplitude * reflection * loss(cable, 2 * fault),
                            smear(cable, length + 2 * fault)});
    arrivals.push_back({length, arrival.amplitude * through * through * loss(cable, 2 * length), smear(cable, 3 * length)});
    return arrivals;
}

} // namespace mr3x::sim
