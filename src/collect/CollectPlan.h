#pragma once
// What mr3x-collect is asked to do and what it says of each unit: its command line, the round's
// plan from the system's unit table and "Unit Addresses.txt", the line a unit gets on standard
// output as it finishes, and the exit status. Standard library only.
#include "systems/UnitAddressTable.h"
#include "systems/UnitTable.h"

#include <optional>
#include <string>
#include <vector>

namespace mr3x::collect {

struct CollectOptions {
    std::string folder;              // the program folder
    std::string system;              // "<system>.cfg" in it lists the units
    int everyMinutes = 0;            // 0: one round (--once)
    int parallel = 8;                // units worked at once, on different ports
    int unitLimitMinutes = 60;       // a unit's worker that has not finished by then is stopped
    std::string reportFile;          // the JSON report; empty: none
    std::vector<std::string> units;  // empty: every unit of the system
    bool worker = false;             // work the one unit named and print its outcome (the collector runs
                                     // each unit so, in a process of its own)
};

struct CommandLine {
    std::optional<CollectOptions> options; // nothing when the line is wrong or help was asked
    bool help = false;
    std::string error;                     // what is wrong with the line
};

/// Reads the arguments after the program's name.
CommandLine parseCommandLine(const std::vector<std::string>& args);
std::string usageText();

/// One unit to work this round.
struct UnitJob {
    std::string unit;      // the serial number: also its folder's name
    std::string model;     // the unit table's version ("M-R32")
    std::string job;
    std::string location;
    std::string port;
    int baud = 9600;
    std::optional<int> linkAllowanceMs;
};

enum class Result { Collected, Failed, Skipped };

struct UnitOutcome {
    std::string unit;
    std::string location;
    std::string port;
    Result result = Result::Failed;
    std::string message;                 // what failed, in the status line's words; or a note
    std::vector<std::string> newEvents;  // the file names stored this round
    bool rearmed = false;                // "e" went to the unit after the log-on
    int seconds = 0;
};

/// An outcome with nothing done yet: the unit's names and how it ended.
UnitOutcome outcomeOf(const std::string& unit, const std::string& location, const std::string& port, Result result,
                      std::string message = {});
inline UnitOutcome outcomeOf(const UnitJob& job, Result result, std::string message = {})
{
    return outcomeOf(job.unit, job.location, job.port, result, std::move(message));
}

struct RoundPlan {
    std::vector<UnitJob> jobs;           // in the unit table's order
    std::vector<UnitOutcome> notWorked;  // units without an address, names not in the system
};

/// The units to work: every unit of the table, or those named (in any case, as the unit table
/// tells serial numbers apart). A unit without an address is skipped; a name the system does not
/// list fails, since the user asked for it.
RoundPlan planRound(const UnitTable& units, const UnitAddressTable& addresses, const std::vector<std::string>& chosen,
                    const std::string& system);

/// Which jobs may start now: in order, up to `free` of them, none on a port that is busy or
/// taken by a job chosen before it. Returns indices into `waiting`.
std::vector<std::size_t> startable(const std::vector<UnitJob>& waiting, const std::vector<std::string>& busyPorts, int free);

std::string resultText(Result result);
std::optional<Result> resultOfText(const std::string& text);
/// "MR-0101 North Yard: 3 new events, re-armed (41 s)".
std::string outcomeLine(const UnitOutcome& outcome);
/// 1 when any unit failed, else 0.
int exitStatus(const std::vector<UnitOutcome>& outcomes);

inline constexpr int kWrongCommandLine = 2;

} // namespace mr3x::collect
