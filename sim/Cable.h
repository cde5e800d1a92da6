#pragma once
// The cable the simulated unit is connected to: its length, what its far end does, where the
// fault is, the joints along it and how the line weakens and smears a pulse. It answers one
// question: when a pulse is launched, what comes back to the end that listens, from how far
// away, how strong and how smeared.
//
// Distances are metres at the design propagation speed (54.0 %), the way the viewer reads them:
// an echo from a fault d metres away is read as d, although the pulse travelled 2d.
#include <vector>

namespace mr3x::sim {

enum class FarEnd { Open, Short };

/// A unit alone (TDR), or one end of a TRS pair: the Master at the fault distance's zero end,
/// the Slave at the other end.
enum class TrsRole { None, Master, Slave };

/// The low-resistance fault's reflection coefficient: it sends back half the pulse, inverted.
inline constexpr double kFaultReflection = -0.5;

/// A joint between two lengths of cable: a small change of impedance that sends a little of the
/// pulse back (negative: inverted).
struct Joint {
    double distanceM = 0;  // from the Master's end
    double reflection = 0;
};

struct Cable {
    double lengthM = 320.0;
    /// The end opposite a unit that tests alone. A TRS pair has a unit (high impedance, so open)
    /// at each end, whatever this says.
    FarEnd farEnd = FarEnd::Open;
    /// From the Master's end (the end a unit without a TRS role stands at). A fault at or beyond
    /// the far end is not on the cable and sends nothing back.
    double faultDistanceM = 150.0;
    /// What kind of fault: the share of the pulse it sends back, negative for a low-resistance
    /// fault (inverted), positive for a high-resistance one or a broken conductor.
    double faultReflection = kFaultReflection;
    /// The joints a unit alone sees; a TRS pair's traces leave them out.
    std::vector<Joint> joints;
    /// A pulse's height falls by e over this much travel.
    double lossLengthM = 3000.0;
    /// Nanoseconds its rise grows by a metre travelled (its decay by one and a half times that).
    double smearNsPerM = 0.1;
};

/// Something that reaches the listening end: where the viewer reads it, its height as a fraction
/// of the launched pulse (negative: inverted), and how much the line has smeared it.
struct Arrival {
    double distanceM = 0;
    double amplitude = 0;
    double smearNs = 0;  // added to the pulse's rise time, and one and a half times it to its fall
};

/// The fault's distance from the end `role` stands at.
double faultFromEnd(const Cable& cable, TrsRole role);

/// What a unit that launches its own pulse sees, in time order: the launch itself (distance 0,
/// height 1), the echoes of the joints and, when `faulted`, of the fault, then the far end's (up
/// when open, down when short). Whatever passes a joint or the fault loses its share there, each
/// way. A unit with a TRS role sees the cable from its own end, with the other unit's open end
/// beyond.
std::vector<Arrival> ownShot(const Cable& cable, TrsRole role, bool faulted);

/// What the Slave of a TRS pair sees of the Master's shot: the pulse arriving through the fault
/// (distance 0), then its echo from the fault, L - d, and from the Master's end, L.
std::vector<Arrival> slaveView(const Cable& cable);

} // namespace mr3x::sim
