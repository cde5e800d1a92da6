#include "export/AnalyseArguments.h"

#include <charconv>
#include <cmath>

namespace mr3x::exports {

namespace {

ParsedAnalyseArguments refused(std::string problem)
{
    return {std::nullopt, std::move(problem)};
}

std::optional<double> voltsOfText(const std::string& text)
{
    double volts = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), volts, std::chars_format::fixed);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || !std::isfinite(volts) || volts < kLeastNominal
        || volts > kMostNominal)
        return std::nullopt;
    return volts;
}

} // namespace

ParsedAnalyseArguments parseAnalyseArguments(const std::vector<std::string>& args)
{
    AnalyseArguments a;
    ArgumentCursor cursor(args);
    while (!cursor.done()) {
        const std::string arg = cursor.next();
        std::string problem;
        if (takeCommonArgument(cursor, arg, a.common, problem)) {
            if (!problem.empty())
                return refused(problem);
        } else if (ArgumentCursor::isOption(arg, "--reference")) {
            const auto value = cursor.valueOf("--reference", arg);
            if (!value || value->empty())
                return refused("--reference takes a trace file (.TDR, .tst, .ref)");
            a.reference = *value;
        } else if (ArgumentCursor::isOption(arg, "--nominal")) {
            const auto value = cursor.valueOf("--nominal", arg);
            const auto volts = value ? voltsOfText(*value) : std::nullopt;
            if (!volts)
                return refused("--nominal takes the nominal phase voltage in volts, such as 230");
            a.nominal = *volts;
        } else {
            return refused("unknown option " + arg + " (--help lists them)");
        }
    }
    if (!a.common.help && a.common.files.empty())
        return refused("name at least one event or trace file");
    return {a, ""};
}

std::string analyseHelp()
{
    return R"(Usage: mr3x-analyse [options] FILE...

Reads M-R3X files as the program reads them for the engineer and prints one JSON
object a line for each FILE. Needs no window and no display.

A TDR or TRS trace (.TDR, and the older .tst and .ref): the fault found on it
(the first reflection past the launch that stands clear of the trace's noise, at
its leading edge) and the far end where one is seen:
  {"file": ..., "kind": "tdr"|"trs", "fault": {"point": P, "distance_m": M} or null,
   "far_end": {"point": P, "distance_m": M} or null, "noise": LEVELS}
"point" is the plot unit the cursors stand on; "distance_m" what the Result frame
reads with the zero cursor at its start (a TRS trace: on the launch it found).

An event (.trg, .vlt): its dips, swells and interruptions per phase, from the rms
over one cycle refreshed every half cycle:
  {"file": ..., "kind": "event", "reference_v": V, "dips": [{"channel": "Vr"|"Vy"|"Vb",
   "residual_v": V, "residual_percent": P, "start_ms": T, "duration_ms": T,
   "past_end": true|false, "class": "dip 70-40%, 10-200ms"}, ...]}

Options:
  --speed PERCENT        propagation speed for distances, 30.0 to 100.0 (default 54.0)
  --reference TRACE      read every trace against this one (the same cable before the
                         fault, or a healthy phase), taken on the same range
  --nominal VOLTS        read dips against this phase voltage (default: the rms of the
                         recording's first cycle)
  --frequency 50|60      line frequency in Hz, for times; the unit samples 80 times a
                         cycle (default 50)
  -h, --help             this text

A file that cannot be read is named on stderr and the others are still read.
Exit status: 0 all read, 1 some input was not, 2 the command line was wrong.
)";
}

} // namespace mr3x::exports
