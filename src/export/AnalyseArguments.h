#pragma once
// The command line of mr3x-analyse:
//   mr3x-analyse [--speed PERCENT] [--reference TRACE] [--nominal VOLTS] [--frequency 50|60] FILE...
#include "export/CommandLine.h"

#include <optional>
#include <string>
#include <vector>

namespace mr3x::exports {

inline constexpr double kLeastNominal = 1, kMostNominal = 1000000;

struct AnalyseArguments {
    CommonArguments common;           // --help, --frequency, --speed and the files
    std::string reference;            // a trace every trace is read against; empty: none
    std::optional<double> nominal;    // volts a dip is read against; none: the first cycle
};

struct ParsedAnalyseArguments {
    std::optional<AnalyseArguments> arguments;
    std::string problem;  // why the command line cannot be used
};
ParsedAnalyseArguments parseAnalyseArguments(const std::vector<std::string>& args);

/// What --help prints.
std::string analyseHelp();

} // namespace mr3x::exports
