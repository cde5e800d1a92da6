#include "sim/SimArguments.h"

#include <charconv>
#include <cmath>
#include <functional>

namespace mr3x::sim {

namespace {

template <typename Number>
std::optional<Number> number(const std::string& text)
{
    Number value{};
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

// Metres: a finite number from `least` to `most`.
std::optional<double> metres(const std::string& text, double least, double most)
{
    const auto value = number<double>(text);
    if (!value || !std::isfinite(*value) || *value < least || *value > most)
        return std::nullopt;
    return value;
}

// "TIMES" or "TIMES@BLOCK".
bool timesAtBlock(const std::string& text, int& times, int& block)
{
    const auto at = text.find('@');
    const auto t = number<int>(text.substr(0, at));
    if (!t || *t < 0)
        return false;
    times = *t;
    if (at == std::string::npos)
        return true;
    const auto b = number<int>(text.substr(at + 1));
    if (!b || *b < 0)
        return false;
    block = *b;
    return true;
}

// "BYTES:MS" or "BYTES:forever".
bool readStall(const std::string& text, TransferFaults& faults)
{
    const auto colon = text.find(':');
    if (colon == std::string::npos)
        return false;
    const auto bytes = number<std::int64_t>(text.substr(0, colon));
    const std::string duration = text.substr(colon + 1);
    const auto ms = duration == "forever" ? std::optional<std::int64_t>(-1) : number<std::int64_t>(duration);
    if (!bytes || *bytes < 0 || !ms)
        return false;
    faults.stallAfterBytes = *bytes;
    faults.stallMs = *ms;
    return true;
}

// "LETTER" or "LETTER:N"; the stop pair is "=".
bool readSilent(const std::string& text, std::vector<SilentCommand>& silent)
{
    if (text.empty())
        return false;
    SilentCommand command{text[0], 0};
    if (text.size() > 1) {
        const auto n = text[1] == ':' ? number<int>(text.substr(2)) : std::nullopt;
        if (!n || *n < 1)
            return false;
        command.occurrence = *n;
    }
    silent.push_back(command);
    return true;
}

// "HOST:PORT", HOST a name, an IPv4 address or an IPv6 address in brackets; PORT 0 to 65535.
bool readListen(const std::string& text, ServerArguments& parsed)
{
    const auto colon = text.rfind(':');
    if (colon == std::string::npos || colon == 0)
        return false;
    std::string host = text.substr(0, colon);
    if (host.front() == '[') {
        if (host.size() < 3 || host.back() != ']')
            return false;
        host = host.substr(1, host.size() - 2);
    } else if (host.find(':') != std::string::npos) {
        return false;
    }
    const auto port = number<int>(text.substr(colon + 1));
    if (!port || *port < 0 || *port > 65535)
        return false;
    parsed.listenHost = host;
    parsed.listenPort = *port;
    return true;
}

std::string wholeMetres(double value)
{
    return std::to_string(std::lround(value));
}

constexpr double kShortestCable = 10;
constexpr double kLongestCable = 10000;

/// One command-line option: how --help shows it and how it is read. A flag without a value
/// hint takes no value.
struct Option {
    const char* flag;
    const char* value;        // e.g. "N"; empty for a flag alone
    const char* what;
    std::string defaultText;  // empty: shown without a default
    std::function<bool(const std::string&)> read;
};

struct OptionGroup {
    const char* title;
    std::vector<Option> options;
};

/// Every option, read into `parsed`. The one list both the parser and --help go by.
std::vector<OptionGroup> optionTable(ServerArguments& parsed)
{
    SimOptions& o = parsed.options;
    TransferFaults& t = o.faults.transfer;
    const SimOptions d;
    const auto set = [](bool& flag) { return [&flag](const std::string&) { flag = true; return true; }; };
    return {
        {"The unit:",
         {
             {"--device", "PATH", "serve this serial device", "a new pty, its path printed first",
              [&](const std::string& v) { parsed.device = v; return !v.empty(); }},
             {"--listen", "HOST:PORT", "listen on the network instead (raw TCP; port 0: any free port), printing the "
              "port's name (\"socket://HOST:PORT\") first", "",
              [&](const std::string& v) { return readListen(v, parsed); }},
             {"--rfc2217", "", "on the network, speak telnet with the COM-PORT-OPTION as a serial device server "
              "does (\"rfc2217://HOST:PORT\")", "raw TCP", set(parsed.rfc2217)},
             {"--baud", "9600|115200", "line speed (set on a real device; used for pacing)", std::to_string(d.baud),
              [&](const std::string& v) {
                  const auto baud = number<int>(v);
                  o.baud = baud.value_or(0);
                  return baud == 9600 || baud == 115200;
              }},
             {"--pace", "", "send at the line rate, 10 bits a byte", "off", set(o.paced)},
             {"--model", "M-R32|M-S32", "unit model", modelInfo(d.model).name,
              [&](const std::string& v) {
                  const auto model = modelFromName(v);
                  o.model = model.value_or(Model::MR32);
                  return model.has_value();
              }},
             {"--serial", "TEXT", "serial number the version command reports",
              std::string(modelInfo(Model::MR32).serialNumber) + " (M-R32), " + modelInfo(Model::MS32).serialNumber
                  + " (M-S32)",
              [&](const std::string& v) { o.serialNumber = v; return !v.empty(); }},
             {"--seed", "N", "seed of the recordings", std::to_string(d.seed),
              [&](const std::string& v) {
                  const auto seed = number<std::uint64_t>(v);
                  o.seed = seed.value_or(0);
                  return seed.has_value();
              }},
             {"--events", "N", "events held, at most the index size", std::to_string(d.events),
              [&](const std::string& v) {
                  const auto events = number<int>(v);
                  o.events = events.value_or(0);
                  return events && *events >= 0 && *events <= 40;
              }},
             {"--clock", "\"YYYY-MM-DD hh:mm:ss\"", "the unit's clock at start", "the PC's local time",
              [&](const std::string& v) {
                  const auto clock = DateTime::parse(v);
                  o.clock = clock.value_or(DateTime{});
                  parsed.clockGiven = true;
                  return clock.has_value();
              }},
             {"--disarmed", "", "start under serial control instead of recording", "armed",
              [&](const std::string&) { o.armed = false; return true; }},
             {"--upper-case", "", "answer \"Finished P\" rather than \"Finished p\"", "as sent",
              set(o.upperCaseFinished)},
             {"--log", "", "log the line traffic to standard error", "off", set(parsed.log)},
             {"--help", "", "this text", "", set(parsed.help)},
         }},
        {"The cable (metres at 54.0 %):",
         {
             {"--fault-distance", "M", "the fault's distance from the unit (from the Master in a TRS pair)", wholeMetres(d.faultDistanceM),
              [&](const std::string& v) {
                  const auto m = metres(v, 0, kLongestCable);
                  o.faultDistanceM = m.value_or(0);
                  return m.has_value();
              }},
             {"--cable-length", "M", "the cable's length, 10 to 10000", wholeMetres(d.cableLengthM),
              [&](const std::string& v) {
                  const auto m = metres(v, kShortestCable, kLongestCable);
                  o.cableLengthM = m.value_or(0);
                  return m.has_value();
              }},
             {"--far-end", "open|short", "the far end of a unit testing alone", "open",
              [&](const std::string& v) {
                  o.farEnd = v == "short" ? FarEnd::Short : FarEnd::Open;
                  return v == "open" || v == "short";
              }},
             {"--trs", "master|slave", "armed as this end of a TRS pair, holding the pair's event",
              "none, a unit alone",
              [&](const std::string& v) {
                  o.trsRole = v == "master" ? TrsRole::Master : v == "slave" ? TrsRole::Slave : TrsRole::None;
                  return o.trsRole != TrsRole::None;
              }},
         }},
        {"Faults:",
         {
             {"--silent", "L[:N]", "do not answer command L (its Nth time only); '=' is the stop pair", "none",
              [&](const std::string& v) { return readSilent(v, o.faults.silent); }},
             {"--fault-transfer", "N", "the transfer faults hit the Nth file offered; 0: every one",
              std::to_string(d.faults.faultyTransfer),
              [&](const std::string& v) {
                  const auto n = number<int>(v);
                  o.faults.faultyTransfer = n.value_or(0);
                  return n && *n >= 0;
              }},
             {"--corrupt", "T[@B]", "the first T block sends from block B (default 1) carry a bad byte", "none",
              [&](const std::string& v) { return timesAtBlock(v, t.corruptTimes, t.corruptFromBlock); }},
             {"--drop", "T[@B]", "the first T block sends from block B (default 1) lose 16 bytes", "none",
              [&](const std::string& v) { return timesAtBlock(v, t.dropTimes, t.dropFromBlock); }},
             {"--stall", "BYTES:MS", "stop for MS milliseconds after BYTES of a transfer (MS may be 'forever')",
              "none", [&](const std::string& v) { return readStall(v, t); }},
             {"--abort", "B", "send CAN CAN instead of block B", "none",
              [&](const std::string& v) {
                  const auto block = number<int>(v);
                  t.abortAtBlock = block.value_or(-1);
                  return block && *block >= 0;
              }},
             {"--disconnect", "BYTES", "the line goes away after BYTES of a transfer", "none",
              [&](const std::string& v) {
                  const auto bytes = number<std::int64_t>(v);
                  t.disconnectAfterBytes = bytes.value_or(-1);
                  return bytes && *bytes >= 0;
              }},
         }},
    };
}

const Option* findOption(const std::vector<OptionGroup>& table, const std::string& flag)
{
    for (const OptionGroup& group : table)
        for (const Option& option : group.options)
            if (flag == option.flag)
                return &option;
    return nullptr;
}

// Options that only make sense together.
bool consistent(const SimOptions& o, std::string& error)
{
    if (o.faultDistanceM >= o.cableLengthM) {
        error = "the fault (--fault-distance " + wholeMetres(o.faultDistanceM) + ") must lie on the cable (--cable-length "
            + wholeMetres(o.cableLengthM) + ")";
        return false;
    }
    return true;
}

} // namespace

std::string serverUsage()
{
    ServerArguments unused;
    std::string text = "Usage: mr3x-unit-sim [options]\n"
                       "Serves a simulated M-R3X Local Unit. Without --device or --listen it creates a pty\n"
                       "and prints its path as the first line of output (with --listen, the network port's\n"
                       "name), then serves until interrupted.\n";
    for (const OptionGroup& group : optionTable(unused)) {
        text += group.title;
        text += '\n';
        for (const Option& option : group.options) {
            std::string head = std::string("  ") + option.flag;
            if (*option.value != '\0')
                head += std::string(" ") + option.value;
            head.resize(std::max<std::size_t>(head.size() + 1, 34), ' ');
            text += head + option.what;
            if (!option.defaultText.empty())
                text += " (default: " + option.defaultText + ")";
            text += '\n';
        }
    }
    return text;
}

std::optional<ServerArguments> parseServerArguments(const std::vector<std::string>& args, std::string& error)
{
    ServerArguments parsed;
    const std::vector<OptionGroup> table = optionTable(parsed);
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& flag = args[i];
        const Option* option = flag == "-h" ? findOption(table, "--help") : findOption(table, flag);
        if (option == nullptr) {
            error = "unknown argument: " + flag;
            return std::nullopt;
        }
        std::string value;
        if (*option->value != '\0') {
            if (i + 1 >= args.size()) {
                error = flag + " needs a value";
                return std::nullopt;
            }
            value = args[++i];
        }
        if (!option->read(value)) {
            error = "bad value for " + flag + ": " + value;
            return std::nullopt;
        }
    }
    if (!consistent(parsed.options, error))
        return std::nullopt;
    if (parsed.rfc2217 && parsed.listenPort < 0) {
        error = "--rfc2217 needs --listen HOST:PORT";
        return std::nullopt;
    }
    if (parsed.listenPort >= 0 && !parsed.device.empty()) {
        error = "--listen and --device name two lines: give one";
        return std::nullopt;
    }
    return parsed;
}

} // namespace mr3x::sim
