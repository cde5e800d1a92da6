#include "sim/Cable.h"

#include <cmath>

namespace mr3x::sim {

namespace {

// A pulse loses height and sharpness with every metre it travels: a fault echo from 150 m comes
// back at 90 % of its height, one from a 320 m far end at 81 %, and each is a little wider.
double loss(double pathM)
{
    return std::exp(-pathM / 3000.0);
}

double smear(double pathM)
{
    return 0.1 * pathM;
}

bool onCable(const Cable& cable, double distanceM)
{
    return distanceM >= 0 && distanceM < cable.lengthM;
}

Arrival echo(double distanceM, double height, double pathM)
{
    return {distanceM, height * loss(pathM), smear(pathM)};
}

} // namespace

double faultFromEnd(const Cable& cable, TrsRole role)
{
    return role == TrsRole::Slave ? cable.lengthM - cable.faultDistanceM : cable.faultDistanceM;
}

std::vector<Arrival> ownShot(const Cable& cable, TrsRole role, bool faulted)
{
    std::vector<Arrival> arrivals{{0.0, 1.0, 0.0}};
    const double fault = faultFromEnd(cable, role);
    // What gets past the fault, there and back again.
    double through = 1.0;
    if (faulted && onCable(cable, fault)) {
        arrivals.push_back(echo(fault, kFaultReflection, 2 * fault));
        through = std::pow(1 + kFaultReflection, 2);
    }
    const bool open = role != TrsRole::None || cable.farEnd == FarEnd::Open;
    arrivals.push_back(echo(cable.lengthM, (open ? 1.0 : -1.0) * through, 2 * cable.lengthM));
    return arrivals;
}

std::vector<Arrival> slaveView(const Cable& cable)
{
    const double length = cable.lengthM;
    const double fault = length - cable.faultDistanceM;  // from the Slave's end
    const bool faulted = onCable(cable, cable.faultDistanceM);
    const double through = faulted ? 1 + kFaultReflection : 1.0;

    // The Master's pulse arrives having passed the fault once; the Slave's open end sends it back,
    // and the fault and then the Master's open end return it.
    const Arrival arrival = echo(0.0, through, length);
    std::vector<Arrival> arrivals{arrival};
    if (faulted)
        arrivals.push_back({fault, arrival.amplitude * kFaultReflection * loss(2 * fault),
                            smear(length + 2 * fault)});
    arrivals.push_back({length, arrival.amplitude * through * through * loss(2 * length), smear(3 * length)});
    return arrivals;
}

} // namespace mr3x::sim
