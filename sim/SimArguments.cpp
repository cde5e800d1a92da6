#include "sim/SimArguments.h"

#include <charconv>
#include <functional>
#include <map>

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

} // namespace

std::string serverUsage()
{
    return "Usage: mr3x-unit-sim [options]\n"
           "Serves a simulated M-R3X Local Unit. Without --device it creates a pty and prints\n"
           "its path as the first line of output, then serves until interrupted.\n"
           "  --device PATH          serve this serial device instead of a new pty\n"
           "  --baud 9600|115200     line speed (set on a real device; used for pacing)\n"
           "  --pace                 send at the line rate, 10 bits a byte\n"
           "  --model M-R32|M-S32    unit model (default M-R32)\n"
           "  --seed N               seed of the recordings (default 1)\n"
           "  --events N             events held (default 12, at most the index size)\n"
           "  --fault-distance M     distance of the fault the TDR sees, metres (default 150)\n"
           "  --clock \"YYYY-MM-DD hh:mm:ss\"  the unit's clock at start (default: now)\n"
           "  --disarmed             start under serial control instead of recording\n"
           "  --upper-case           answer \"Finished P\" rather than \"Finished p\"\n"
           "  --log                  log the line traffic to standard error\n"
           "Faults:\n"
           "  --silent L[:N]         do not answer command L (its Nth time only); '=' is the stop pair\n"
           "  --fault-transfer N     the transfer faults hit the Nth file offered (default 0: every one)\n"
           "  --corrupt T[@B]        the first T block sends from block B (default 1) carry a bad byte\n"
           "  --drop T[@B]           the first T block sends from block B lose 16 bytes\n"
           "  --stall BYTES:MS       stop for MS milliseconds after BYTES of a transfer (MS may be 'forever')\n"
           "  --abort B              send CAN CAN instead of block B\n"
           "  --disconnect BYTES     the line goes away after BYTES of a transfer\n"
           "  --help                 this text\n";
}

std::optional<ServerArguments> parseServerArguments(const std::vector<std::string>& args, std::string& error)
{
    ServerArguments parsed;
    SimOptions& o = parsed.options;
    TransferFaults& t = o.faults.transfer;

    using Handler = std::function<bool(const std::string&)>;
    const std::map<std::string, Handler> withValue{
        {"--device", [&](const std::string& v) { parsed.device = v; return !v.empty(); }},
        {"--baud", [&](const std::string& v) {
             const auto baud = number<int>(v);
             o.baud = baud.value_or(0);
             return baud == 9600 || baud == 115200;
         }},
        {"--model", [&](const std::string& v) {
             const auto model = modelFromName(v);
             o.model = model.value_or(Model::MR32);
             return model.has_value();
         }},
        {"--seed", [&](const std::string& v) {
             const auto seed = number<std::uint64_t>(v);
             o.seed = seed.value_or(0);
             return seed.has_value();
         }},
        {"--events", [&](const std::string& v) {
             const auto events = number<int>(v);
             o.events = events.value_or(0);
             return events && *events >= 0 && *events <= 40;
         }},
        {"--fault-distance", [&](const std::string& v) {
             const auto metres = number<int>(v);
             o.faultDistanceM = metres.value_or(0);
             return metres && *metres >= 0;
         }},
        {"--clock", [&](const std::string& v) {
             const auto clock = DateTime::parse(v);
             o.clock = clock.value_or(DateTime{});
             parsed.clockGiven = true;
             return clock.has_value();
         }},
        {"--silent", [&](const std::string& v) { return readSilent(v, o.faults.silent); }},
        {"--fault-transfer", [&](const std::string& v) {
             const auto n = number<int>(v);
             o.faults.faultyTransfer = n.value_or(0);
             return n && *n >= 0;
         }},
        {"--corrupt", [&](const std::string& v) { return timesAtBlock(v, t.corruptTimes, t.corruptFromBlock); }},
        {"--drop", [&](const std::string& v) { return timesAtBlock(v, t.dropTimes, t.dropFromBlock); }},
        {"--stall", [&](const std::string& v) { return readStall(v, t); }},
        {"--abort", [&](const std::string& v) {
             const auto block = number<int>(v);
             t.abortAtBlock = block.value_or(-1);
             return block && *block >= 0;
         }},
        {"--disconnect", [&](const std::string& v) {
             const auto bytes = number<std::int64_t>(v);
             t.disconnectAfterBytes = bytes.value_or(-1);
             return bytes && *bytes >= 0;
         }},
    };

    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& flag = args[i];
        if (flag == "--pace") {
            o.paced = true;
        } else if (flag == "--disarmed") {
            o.armed = false;
        } else if (flag == "--upper-case") {
            o.upperCaseFinished = true;
        } else if (flag == "--log") {
            parsed.log = true;
        } else if (flag == "--help" || flag == "-h") {
            parsed.help = true;
        } else if (const auto handler = withValue.find(flag); handler != withValue.end()) {
            if (i + 1 >= args.size()) {
                error = flag + " needs a value";
                return std::nullopt;
            }
            const std::string& value = args[++i];
            if (!handler->second(value)) {
                error = "bad value for " + flag + ": " + value;
                return std::nullopt;
            }
        } else {
            error = "unknown argument: " + flag;
            return std::nullopt;
        }
    }
    return parsed;
}

} // namespace mr3x::sim
