#pragma once
// The settings a unit holds, and the settings text it sends for "X".
#include "sim/UnitModel.h"

#include <string>

namespace mr3x::sim {

struct UnitSettings {
    int baud = 115200;
    int threshold = 15;    // 12..35
    int duration = 3;      // 2..10
    int fsdCode = 0;       // current full scale code: 0, 1, 3 or 7
    int phase = 0;         // 0..5
    int mode = 3;          // 0, 1 TRS; 2, 3 TDR; odd = file transfer off (as left by arming)
    int hardware = 34;     // bit 0 range, bit 1 pulse on, bits 2-4 width - 1, bits 5-6 pre/post
    int gain = 10;         // 0..20
    int balance = 10;      // 0..60
    int balanceMode = 0;   // echo/cross, reference and filter: 0..9
    std::string idDate = "261206";  // yymmdd, as the identity command carries it
    std::string job = "Feeder 7 Fault";
    std::string location = "North Yard";
    std::string spare;
    std::string simNumber = "SIM 4401";

    bool tdrMode() const { return mode >= 2; }
    bool longRange() const { return (hardware & 1) != 0; }
    bool pulseOn() const { return (hardware & 2) != 0; }
    int pulseWidth() const { return ((hardware >> 2) & 7) + 1; }
};

/// The answer to "X" up to its last field (the "Finished" line follows it): a title line, then
/// "Parameters:" and the eighteen fields, comma-separated, field 17 last on its line. Field 3 is
/// the number of stored events.
std::string settingsText(Model model, const UnitSettings& settings, int storedEvents);

/// The identity date yymmdd shown as "dd/mm/yy".
std::string idDateText(const std::string& yymmdd);

} // namespace mr3x::sim
