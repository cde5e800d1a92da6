#pragma once
// Reads the arguments of the setting and request commands. Each reader refuses (nothing) an
// argument with non-digits where digits belong, a value out of its range or a wrong field count;
// the unit then leaves the command unanswered.
#include "sim/UnitClock.h"

#include <optional>
#include <string>
#include <string_view>

namespace mr3x::sim {

/// A number of exactly text.size() characters: digits, optionally after leading blanks when
/// `blankLead` allows it (" 3"). Nothing for an empty or all-blank text.
std::optional<int> readNumber(std::string_view text, bool blankLead);

/// "f" argument: the slot number, two digits (range checked by the unit, which knows its slots).
std::optional<int> decodeSlot(std::string_view argument);
/// "T" argument: yymmddhhnnss, a real calendar date and time, year 2000 + yy.
std::optional<DateTime> decodeTime(std::string_view argument);
/// "h" argument: two characters, 12 to 35.
std::optional<int> decodeThreshold(std::string_view argument);
/// "d" argument: two characters (" 3" or "10"), 2 to 10.
std::optional<int> decodeDuration(std::string_view argument);

struct Identity {
    std::string idDate;  // yymmdd
    std::string job;      // trailing blanks removed
    std::string location;
    std::string spare;
};
/// "N" argument: yymmdd "," job(24) "," location(24) "," 16 blanks ",".
std::optional<Identity> decodeIdentity(std::string_view argument);

struct Hardware {
    int threshold = 0;
    int duration = 0;
    int fsdCode = 0;
    int phase = 0;
    int mode = 0;
    int hardware = 0;
    int gain = 0;
    int balance = 0;
    int balanceMode = 0;
};
/// "g" argument: nine comma-separated fields of fixed widths 2, 2, 1, 1, 1, 3, 2, 2, 1.
std::optional<Hardware> decodeHardware(std::string_view argument);

} // namespace mr3x::sim
