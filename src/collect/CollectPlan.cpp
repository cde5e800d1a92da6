#include "collect/CollectPlan.h"

#include "common/Text.h"

#include <algorithm>
#include <charconv>

namespace mr3x::collect {

namespace {

std::optional<int> wholeNumber(const std::string& text, int least, int most)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < least || value > most)
        return std::nullopt;
    return value;
}

struct NumberOption {
    const char* flag;
    int CollectOptions::*field;
    int least;
    int most;
};

constexpr NumberOption numberOptions[] = {
    {"--every", &CollectOptions::everyMinutes, 1, 7 * 24 * 60},
    {"--parallel", &CollectOptions::parallel, 1, 64},
    {"--unit-limit", &CollectOptions::unitLimitMinutes, 1, 24 * 60},
};

CommandLine wrong(std::string error)
{
    CommandLine line;
    line.error = std::move(error);
    return line;
}

std::string plural(std::size_t n, const char* one, const char* many)
{
    return std::to_string(n) + " " + (n == 1 ? one : many);
}

} // namespace

CommandLine parseCommandLine(const std::vector<std::string>& args)
{
    CollectOptions options;
    bool once = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool hasValue = i + 1 < args.size();
        if (arg == "--help" || arg == "-h") {
            CommandLine line;
            line.help = true;
            return line;
        }
        if (arg == "--once") {
            once = true;
            continue;
        }
        if (arg == "--worker") {
            options.worker = true;
            continue;
        }
        if (arg == "--folder" || arg == "--system" || arg == "--report") {
            if (!hasValue || args[i + 1].empty())
                return wrong(arg + " needs a value");
            std::string& field = arg == "--folder" ? options.folder : arg == "--system" ? options.system : options.reportFile;
            field = args[++i];
            continue;
        }
        const auto number = std::find_if(std::begin(numberOptions), std::end(numberOptions),
                                         [&](const NumberOption& o) { return arg == o.flag; });
        if (number != std::end(numberOptions)) {
            const std::optional<int> value = hasValue ? wholeNumber(args[i + 1], number->least, number->most) : std::nullopt;
            if (!value)
                return wrong(arg + " needs a whole number from " + std::to_string(number->least) + " to " +
                             std::to_string(number->most));
            options.*(number->field) = *value;
            ++i;
            continue;
        }
        if (arg.starts_with("-"))
            return wrong("unknown option " + arg);
        options.units.push_back(arg);
    }
    if (options.folder.empty())
        return wrong("--folder PROGRAM_FOLDER is missing");
    if (options.system.empty())
        return wrong("--system NAME is missing");
    if (once && options.everyMinutes > 0)
        return wrong("--once and --every exclude each other");
    if (options.worker && options.units.size() != 1)
        return wrong("--worker works one unit");
    CommandLine line;
    line.options = std::move(options);
    return line;
}

std::string usageText()
{
    return "Usage: mr3x-collect --folder PROGRAM_FOLDER --system NAME [--once | --every MINUTES]\n"
           "                    [--parallel N] [--report FILE.json] [--unit-limit MINUTES] [UNIT...]\n"
           "\n"
           "Fetches the new events of a system's units: for each unit (or each UNIT named) it opens the\n"
           "port \"Unit Addresses.txt\" gives it, logs on, captures the settings, fetches the index,\n"
           "downloads every event not yet stored, leaves the unit recording and closes.\n"
           "\n"
           "  --once               one round, then end (the default)\n"
           "  --every MINUTES      one round each period until stopped; a round never overlaps the last\n"
           "  --parallel N         units worked at once, never two on one port (default 8)\n"
           "  --report FILE.json   write the round's outcome for each unit\n"
           "  --unit-limit MINUTES stop a unit's work that has not ended by then (default 60)\n"
           "  -h, --help           this text\n"
           "\n"
           "Exit status: 0 every unit collected, 1 a unit failed, 2 a wrong command line.\n";
}

RoundPlan planRound(const UnitTable& units, const UnitAddressTable& addresses, const std::vector<std::string>& chosen,
                    const std::string& system)
{
    RoundPlan plan;
    const auto isChosen = [&](const UnitEntry& unit) {
        return chosen.empty() || std::any_of(chosen.begin(), chosen.end(),
                                             [&](const std::string& name) { return equalsNoCase(trim(name), unit.SerialNo); });
    };
    for (const UnitEntry& unit : units) {
        if (!isChosen(unit))
            continue;
        const UnitAddress* address = addresses.forUnit(unit.SerialNo);
        if (address == nullptr) {
            plan.notWorked.push_back(outcomeOf(unit.SerialNo, unit.Location, {}, Result::Skipped,
                                               std::string("no address in \"") + kUnitAddressFileName + "\""));
            continue;
        }
        plan.jobs.push_back({unit.SerialNo, unit.Version, unit.Job, unit.Location, address->port, address->baud,
                             address->linkAllowanceMs});
    }
    for (const std::string& name : chosen) {
        const bool listed = std::any_of(units.begin(), units.end(), [&](const UnitEntry& u) { return equalsNoCase(trim(name), u.SerialNo); });
        if (!listed)
            plan.notWorked.push_back(outcomeOf(name, {}, {}, Result::Failed, "not a unit of " + system));
    }
    return plan;
}

UnitOutcome outcomeOf(const std::string& unit, const std::string& location, const std::string& port, Result result,
                      std::string message)
{
    UnitOutcome outcome;
    outcome.unit = unit;
    outcome.location = location;
    outcome.port = port;
    outcome.result = result;
    outcome.message = std::move(message);
    return outcome;
}

std::vector<std::size_t> startable(const std::vector<UnitJob>& waiting, const std::vector<std::string>& busyPorts, int free)
{
    std::vector<std::string> taken;
    for (const std::string& port : busyPorts)
        taken.push_back(portKey(port));
    std::vector<std::size_t> chosen;
    for (std::size_t i = 0; i < waiting.size() && static_cast<int>(chosen.size()) < free; ++i) {
        const std::string key = portKey(waiting[i].port);
        if (std::find(taken.begin(), taken.end(), key) != taken.end())
            continue;
        taken.push_back(key);
        chosen.push_back(i);
    }
    return chosen;
}

std::string resultText(Result result)
{
    switch (result) {
    case Result::Collected: return "collected";
    case Result::Failed: return "failed";
    case Result::Skipped: return "skipped";
    }
    return "failed";
}

std::optional<Result> resultOfText(const std::string& text)
{
    for (Result r : {Result::Collected, Result::Failed, Result::Skipped})
        if (resultText(r) == text)
            return r;
    return std::nullopt;
}

std::string outcomeLine(const UnitOutcome& outcome)
{
    std::string line = outcome.unit;
    if (!outcome.location.empty())
        line += " " + outcome.location;
    line += ": ";
    const std::string rearm = outcome.rearmed ? "re-armed" : "not re-armed";
    switch (outcome.result) {
    case Result::Collected:
        line += outcome.newEvents.empty() ? std::string("no new events") : plural(outcome.newEvents.size(), "new event", "new events");
        line += ", " + rearm;
        break;
    case Result::Failed:
        line += "failed: " + outcome.message;
        if (!outcome.newEvents.empty())
            line += ", " + plural(outcome.newEvents.size(), "new event", "new events") + " stored";
        line += ", " + rearm;
        break;
    case Result::Skipped:
        return line + "skipped: " + outcome.message;
    }
    return line + " (" + std::to_string(outcome.seconds) + " s)";
}

int exitStatus(const std::vector<UnitOutcome>& outcomes)
{
    return std::any_of(outcomes.begin(), outcomes.end(), [](const UnitOutcome& o) { return o.result == Result::Failed; }) ? 1 : 0;
}

} // namespace mr3x::collect
